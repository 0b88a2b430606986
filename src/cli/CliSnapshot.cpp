// tonvek-cli snapshot: fills a slot of a project's snapshot window from the project as it
// is now and saves the snapshot file (and the project, which keeps the file's name).
// curves --snapshot prints the slots.

#include "CliSnapshot.h"
#include "CliBoxSession.h"
#include "TCliCommand.h"

// Before any Qt header: the networks' store slots are members named like a Qt keyword.
#include "filter/TXover.h"

#include "core/TBinaryStream.h"
#include "plot/TSnapshot.h"
#include "plot/TSnapshotDialog.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

struct TArgs {
    std::string project, label, source = "spl";
    int slot = 0;
    bool hasLabel = false;
};

const char* kUsage =
    "snapshot: tonvek-cli snapshot PROJECT.box|PROJECT.flt --slot N [--label TEXT] [--source spl|room]";

bool Parse(const TCliArgs& args, TArgs& a)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--slot" && i + 1 < args.size()) {
            const std::string& n = args[++i];
            if (n.size() != 1 || n[0] < '1' || n[0] > '5') {
                CliFail("snapshot: --slot takes 1 .. 5");
                return false;
            }
            a.slot = n[0] - '0';
        } else if (args[i] == "--label" && i + 1 < args.size()) {
            a.label = args[++i];
            a.hasLabel = true;
        } else if (args[i] == "--source" && i + 1 < args.size()) {
            a.source = args[++i];
        } else if (a.project.empty()) {
            a.project = args[i];
        } else {
            CliFail("snapshot: unexpected argument \"" + args[i] + "\"");
            return false;
        }
    }
    if (a.project.empty() || a.slot == 0 || (a.source != "spl" && a.source != "room")) {
        CliFail(kUsage);
        return false;
    }
    return true;
}

// The project's snapshot file, or one named after the project beside it.
std::string SnapshotName(const std::string& stored, const std::string& projectPath)
{
    if (!stored.empty())
        return stored;
    return std::filesystem::path(projectPath).replace_extension(".snp").string();
}

bool FillAndSave(TSnapshotDialog& dialog, TSnapshot& window, const TArgs& a, int command, const std::string& name)
{
    window.selected = a.slot - 1;
    if (!dialog.CopyFrom(command)) {
        CliFail("snapshot: the project has no curve to copy (is it calculated?)");
        return false;
    }
    if (a.hasLabel)
        window.slotData[static_cast<std::size_t>(a.slot - 1)].label = TSnapshot::CutText(a.label);
    if (!dialog.SaveTo(name, "File save")) {
        CliFail("could not write " + name);
        return false;
    }
    std::printf("saved %s\n", name.c_str());
    return true;
}

int RunBox(TProgramContext& context, const TArgs& a)
{
    TBoxSession s{context};
    if (!OpenProject(s, a.project))
        return 1;
    TBoxEmbryo& p = *s.project;
    if (!p.FrontDriver().complete)
        return CliFail("snapshot: the project has no results (is its unit file there and complete?)");
    const std::string path = FromWorkingFolder(a.project);
    const int command = a.source == "room" ? TSnapshotDialog::kRoomSpl : TSnapshotDialog::kFreeAirSpl;
    if (!FillAndSave(p.SnapshotDialog(), p.SnapshotWindow(), a, command, SnapshotName(p.SnapshotPath(), path)))
        return 1;
    return SaveProject(s, a.project) ? 0 : 1;
}

int RunFilter(TProgramContext& context, const TArgs& a)
{
    if (a.source == "room")
        return CliFail("snapshot: a filter project has no room response (--source spl)");
    const std::string path = FromWorkingFolder(a.project);
    TBinaryReader reader;
    std::int32_t code = -1;
    if (!reader.Open(path, 4) || !reader.ReadInt32(code))
        return CliFail("cannot open project " + path);
    TCliHost host;
    TXover project(host, context, TXover::KindOfTypeCode(code));
    if (!project.Load(path))
        return CliFail("Error while reading filter data. The project file is corrupt: " + path);
    if (!FillAndSave(project.SnapshotDialog(), project.SnapshotWindow(), a, TSnapshotDialog::kSummedResponse,
                     SnapshotName(project.SnapshotPath(), path)))
        return 1;
    if (!project.SaveTo(path))
        return CliFail("could not write " + a.project);
    std::printf("saved %s\n", a.project.c_str());
    return 0;
}

int RunSnapshot(TProgramContext& context, const TCliArgs& args)
{
    TArgs a;
    if (!Parse(args, a))
        return 1;
    const std::string path = FromWorkingFolder(a.project);
    TBinaryReader reader;
    std::int32_t code = -1;
    if (!reader.Open(path, 4) || !reader.ReadInt32(code))
        return CliFail("cannot open project " + path);
    return TXover::KindOfTypeCode(code) >= 0 ? RunFilter(context, a) : RunBox(context, a);
}

TCliRegistration snapshotCommand{
    "snapshot",
    "snapshot PROJECT.box|PROJECT.flt --slot N [--label TEXT] [--source spl|room]\n"
    "                       copies the project's free-air SPL (box, --source spl), its SPL in\n"
    "                       room and cabinet (box, --source room) or its summed response\n"
    "                       (filter) into snapshot slot N (1 .. 5), saves the snapshot file\n"
    "                       (the project's, or PROJECT.snp beside it) and the project",
    RunSnapshot};

} // namespace

int PrintSnapshot(const TSnapshot& w)
{
    std::printf("# %s: %d .. %d Hz, range %d dB%s\n", w.SnapshotCaption().c_str(), w.start, w.stop, w.range,
                w.hideNumbers ? ", numbers hidden" : "");
    for (int k = 0; k < TSnapshot::kSlots; ++k) {
        const TSnapshot::TSlot& s = w.slotData[static_cast<std::size_t>(k)];
        if (!s.hasData)
            continue;
        std::printf("# slot %d\t%s\toffset %d dB\t%s\t%d points\n", k + 1, s.label.c_str(), int(s.offset),
                    s.visible ? "shown" : "hidden", int(s.count));
        std::printf("# f/Hz\tlevel/dB\n");
        for (int i = 0; i < s.count; ++i)
            std::printf("%.17g\t%.17g\n", s.frequency[static_cast<std::size_t>(i)],
                        s.level[static_cast<std::size_t>(i)]);
    }
    return 0;
}
