// tonvek-cli for box projects: new, set, fields, report, curves, export.
// Values are set through the project's own dialogs, by their labels and in their
// display units, so the command line follows exactly the rules of the desktop.

#include "CliBoxSession.h"
#include "CliFields.h"
#include "CliFilter.h"
#include "CliSnapshot.h"
#include "TCliCommand.h"
#include "TCliHost.h"

#include "box/TBoxEmbryo.h"
#include "box/TBoxReport.h"
#include "box/TBoxType.h"
#include "core/TBinaryStream.h"
#include "driver/TSpeakerConfigDialog.h"
#include "measdata/TCurveExport.h"
#include "room/TRoomCabinet.h"
#include "settings/TMeasSetupDialog.h"
#include "settings/TProgramContext.h"
#include "ui/TCommandIds.h"
#include "ui/TDialogModel.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace {

std::unique_ptr<TBoxEmbryo> MakeBox(const std::string& type, TBoxSession& s)
{
    const TBoxType* t = TBoxTypes::ByCliName(type);
    return t ? t->make(s.host, s.context) : nullptr;
}

std::string BoxTypeNames()
{
    std::string names;
    for (const TBoxType* t : TBoxTypes::All())
        names += (names.empty() ? "" : ", ") + t->cliName;
    return names;
}

// project names the file in the hint for an unknown name.
bool ApplyAll(TBoxSession& s, const std::vector<std::string>& assignments, const std::string& project)
{
    if (assignments.empty())
        return true;
    const std::vector<TDialogModel*> dialogs = OpenDialogs(s);
    for (const auto& a : assignments) {
        const std::size_t messages = s.host.Messages().size();
        std::string error = AssignField(dialogs, s.host, a, project);
        // Some rules refuse with a warning instead of a beep ("Portlength < 0"): the
        // field keeps its value, and the command must not report success.
        if (error.empty()) {
            for (std::size_t m = messages; m < s.host.Messages().size(); ++m)
                if (s.host.Messages()[m].icon == TMsgIcon::Warning)
                    error = "\"" + a + "\" was refused: " + s.host.Messages()[m].text;
        }
        if (!error.empty()) {
            CliFail(error);
            return false;
        }
    }
    return true;
}

int RunNew(TProgramContext& context, const TCliArgs& args)
{
    if (args.empty())
        return CliFail("new: which box type? (tonvek-cli new closed --unit FILE.unt -o PROJECT.box)");
    if (const int kind = CliFilterKindOf(args[0]); kind >= 0)
        return RunFilterNew(context, kind, args);
    TBoxSession s{context};
    s.project = MakeBox(args[0], s);
    if (!s.project)
        return CliFail("new: unknown or not yet available box type \"" + args[0] + "\" (available: " + BoxTypeNames() + ")");
    std::string unit, rearUnit, out;
    std::vector<std::string> sets;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--unit" && i + 1 < args.size())
            unit = args[++i];
        else if (args[i] == "--rear-unit" && i + 1 < args.size() && s.project->Type().frontAndRear)
            rearUnit = args[++i];
        else if (args[i] == "-o" && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == "--set" && i + 1 < args.size())
            sets.push_back(args[++i]);
        else
            return CliFail("new: unexpected argument \"" + args[i] + "\"");
    }
    if (unit.empty() || out.empty())
        return CliFail("new: --unit FILE.unt and -o PROJECT.box are required");
    s.project->RestoreStartWindows();
    if (!s.project->LoadFrontUnitFrom(FromWorkingFolder(unit)) || !s.project->FrontDriver().complete)
        return CliFail("new: the unit " + unit + " cannot be used");
    // Two driver groups: the rear one takes the front unit unless it has its own.
    if (s.project->Type().frontAndRear) {
        const std::string& rear = rearUnit.empty() ? unit : rearUnit;
        if (!s.project->LoadRearUnitFrom(FromWorkingFolder(rear)) || !s.project->RearDriver().complete)
            return CliFail("new: the rear unit " + rear + " cannot be used");
    }
    if (!ApplyAll(s, sets, "PROJECT.box"))
        return 1;
    s.project->Calculate(0);
    return SaveProject(s, out) ? 0 : 1;
}

int RunSet(TProgramContext& context, const TCliArgs& args)
{
    if (args.size() < 2)
        return CliFail("set: tonvek-cli set PROJECT.box NAME=VALUE ... (names: tonvek-cli fields PROJECT.box)");
    if (CliIsFilterFile(args[0]))
        return RunFilterSet(context, args);
    TBoxSession s{context};
    if (!OpenProject(s, args[0]))
        return 1;
    std::vector<std::string> sets(args.begin() + 1, args.end());
    if (!ApplyAll(s, sets, args[0]))
        return 1;
    s.project->Calculate(0);
    return SaveProject(s, args[0]) ? 0 : 1;
}

int RunFields(TProgramContext& context, const TCliArgs& args)
{
    if (!args.empty() && CliIsFilterFile(args[0]))
        return RunFilterFields(context, args);
    if (args.size() != 1)
        return CliFail("fields: tonvek-cli fields PROJECT.box");
    TBoxSession s{context};
    if (!OpenProject(s, args[0]))
        return 1;
    const std::vector<TDialogModel*> dialogs = OpenDialogs(s);
    for (const TNamedField& f : SettableFields(dialogs))
        std::printf("%s\n", FieldLine(f).c_str());
    // Then what tonvek-cli do presses now.
    for (const TNamedPress& p : PressableItems(WithOpenChildren(dialogs)))
        if (p.enabled)
            std::printf("%s\n", PressLine(p).c_str());
    return 0;
}

int RunReport(TProgramContext& context, const TCliArgs& args)
{
    if (args.size() != 1)
        return CliFail("report: tonvek-cli report PROJECT.box");
    if (CliIsFilterFile(args[0]))
        return RunFilterReport(context, args);
    TBoxSession s{context};
    if (!OpenProject(s, args[0]))
        return 1;
    const TBoxReport& r = s.project->Report();
    if (!s.project->FrontDriver().complete)
        return CliFail("report: the project has no results (is its unit file there and complete?)");
    std::fputs(r.PlainText().c_str(), stdout);
    if (!r.Note().empty())
        std::printf("User notes :\n%s\n", r.Note().c_str());
    return 0;
}

// The room window's curves; in impact mode the level is the room's effect and the
// free-air column is left at 0, as the window shows no free-air curve then.
int PrintRoomCurves(const TBoxEmbryo& p)
{
    TRoomCabinet& room = p.RoomModel();
    const bool impact = room.Settings().showMode == 0;
    std::printf("# f/Hz\t%s\tfree air/dB\troom phase/deg\n", impact ? "room impact/dB" : "room/dB");
    for (int i = 0; i < p.PointCount(); ++i)
        std::printf("%.17g\t%.17g\t%.17g\t%.17g\n", p.Grid().Frequency(i), room.Level()[i],
                    impact ? 0.0 : room.FreeAir()[i], room.Phase()[i]);
    return 0;
}

// What the transient window plots: time, then each shown curve, for each shown point.
int PrintTransient(TStepResponse& w)
{
    w.BringUpToDate();
    if (!w.HasData())
        return CliFail("curves: the transient response is not calculated (\"Enable calculation\" is off)");
    std::printf("# %s\n# t/ms", w.Caption().c_str());
    for (int c = 0; c < w.CurveCount(); ++c)
        std::printf("\t%s", w.Curve(c).label.c_str());
    std::printf("\n");
    for (int i = 0; i < w.PointCount(); ++i) {
        std::printf("%.17g", w.Times()[static_cast<std::size_t>(i)]);
        for (int c = 0; c < w.CurveCount(); ++c)
            std::printf("\t%.17g", w.Curve(c).y[i]);
        std::printf("\n");
    }
    return 0;
}

int RunCurves(TProgramContext& context, const TCliArgs& args)
{
    if (!args.empty() && CliIsFilterFile(args[0]))
        return RunFilterCurves(context, args);
    const bool room = args.size() == 2 && args[1] == "--room";
    const bool transient = args.size() == 2 && args[1] == "--transient";
    const bool snapshot = args.size() == 2 && args[1] == "--snapshot";
    if (args.size() != 1 && !room && !transient && !snapshot)
        return CliFail("curves: tonvek-cli curves PROJECT.box [--room | --transient | --snapshot]");
    TBoxSession s{context};
    if (!OpenProject(s, args[0]))
        return 1;
    const TBoxEmbryo& p = *s.project;
    if (snapshot)
        return PrintSnapshot(p.SnapshotWindow());
    if (!p.FrontDriver().complete)
        return CliFail("curves: the project has no results (is its unit file there and complete?)");
    if (room)
        return PrintRoomCurves(p);
    if (transient)
        return PrintTransient(p.TransientWindow());
    const std::vector<TCurveColumn> own = p.OwnCurves();
    std::printf("# f/Hz\tSPL/dB\tphase/deg\tgroup delay/ms\texcursion/mm p-p\t|Z|/ohm\tZ phase/deg");
    for (const TCurveColumn& c : own)
        std::printf("\t%s", c.header.c_str());
    std::printf("\n");
    for (int i = 0; i < p.PointCount(); ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        std::printf("%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g", p.Grid().Frequency(i), p.splTotal[j],
                    p.splPhase[j], p.groupDelay[j], p.FrontDriver().excursion[j],
                    p.FrontDriver().impedanceMagnitude[j], p.impedancePhase[j]);
        for (const TCurveColumn& c : own)
            std::printf("\t%.17g", c.values[j]);
        std::printf("\n");
    }
    return 0;
}

// The project picks the layout from the file name, as the desktop does; a layout named
// with --format that the name does not carry is written under a name that does, beside
// the target, and then moved into place.
bool ExportAs(TBoxEmbryo& project, TBoxExport kind, const std::string& out, const std::string& format)
{
    const std::string path = FromWorkingFolder(out);
    if (format.empty() || ExportFormatOf(path) == ExportFormatOf("x." + format))
        return project.ExportTo(kind, path);
    const std::string staged = path + ".part." + format;
    if (!project.ExportTo(kind, staged))
        return false;
    std::error_code ec;
    std::filesystem::rename(staged, path, ec);
    if (ec) {
        std::filesystem::remove(staged, ec);
        CliFail("could not write " + out);
        return false;
    }
    return true;
}

const char* kExportUsage = "export PROJECT.box --kind spl|room|modes|impedance|groupdelay|transient [--format F] -o FILE";

int RunExport(TProgramContext& context, const TCliArgs& args)
{
    if (!args.empty() && CliIsFilterFile(args[0]))
        return RunFilterExport(context, args);
    std::string project, kind, out, format;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--kind" && i + 1 < args.size())
            kind = args[++i];
        else if (args[i] == "-o" && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == "--format" && i + 1 < args.size())
            format = args[++i];
        else if (project.empty())
            project = args[i];
        else
            return CliFail("export: unexpected argument \"" + args[i] + "\"");
    }
    const std::optional<TBoxExport> exportKind = kind == "spl"          ? std::optional(TBoxExport::Spl)
                                                 : kind == "room"       ? std::optional(TBoxExport::RoomSpl)
                                                 : kind == "modes"      ? std::optional(TBoxExport::ModesSpl)
                                                 : kind == "impedance"  ? std::optional(TBoxExport::Impedance)
                                                 : kind == "groupdelay" ? std::optional(TBoxExport::GroupDelay)
                                                 : kind == "transient"  ? std::optional(TBoxExport::Transient)
                                                                        : std::nullopt;
    if (project.empty() || out.empty() || !exportKind)
        return CliFail(std::string("export: tonvek-cli ") + kExportUsage);
    for (char& c : format)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!format.empty() && !ExportFormatOf("x." + format))
        return CliFail("export: unknown format \"" + format + "\" (frd, zma, gdt, fmp, fm or csv)");
    TBoxSession s{context};
    if (!OpenProject(s, project))
        return 1;
    if (*exportKind == TBoxExport::ModesSpl && !s.project->HandlesCommand(TCmd::ExportModesSpl))
        return CliFail("export: a " + s.project->Type().title + " has no standing-wave modes");
    if (!s.project->FrontDriver().complete)
        return CliFail("export: the project has no results (is its unit file there and complete?)");
    return ExportAs(*s.project, *exportKind, out, format) ? 0 : 1;
}

TCliRegistration newCommand{
    "new", "new TYPE --unit FILE.unt [--rear-unit REAR.unt] [--set NAME=VALUE ...] -o PROJECT.box\n"
           "                       a new box project; prints \"saved PROJECT.box\". TYPE is one of\n"
           "                       " + BoxTypeNames() + ". --rear-unit: the rear driver group\n"
           "                       of rbp (the --unit file when not given). NAME is a dialog label,\n"
           "                       VALUE in the dialog's units (\"Box volume=20\", QB=10,\n"
           "                       \"Number of drivers=2\", \"Source level=4\", \"Res. freq.=40\")\n"
           "       new FILTER [--set \"CAPTION:NAME=VALUE\"] [--do \"CAPTION:BUTTON\"] ... -o P.flt\n"
           "                       a new filter project. FILTER is simple2 or simple3 (two- or\n"
           "                       three-way simple), advanced1 .. advanced4 (one- to four-way\n"
           "                       advanced, passive networks) or active1 .. active4 (the same with\n"
           "                       every network active); --set and --do run in the order given\n"
           "                       (\"Bass network:Cutoff=3000\", \"Bass network:Low-pass:Calc\").\n"
           "                       set, fields, do, report, curves [--ray ANGLE | --impulse], export\n"
           "                       and render take .flt files too (curves --impulse: time in ms and\n"
           "                       the normalised impulse response); filter export kinds: spl\n"
           "                       [--ray ANGLE], impedance, groupdelay, impulse and NET-spl|NET-gain|\n"
           "                       NET-impedance|NET-groupdelay (NET: bass, mid, treble, or\n"
           "                       net1 .. net4).\n"
           "                       do on an advanced filter also takes the store slots of the menus:\n"
           "                       \"Network:Store as:N=NICKNAME\", \"Network:Recall:N\",\n"
           "                       \"Driver:Store as:N=NICKNAME\", \"Driver:Recall:N\" (N 1 .. 4)",
    RunNew};
TCliRegistration setCommand{
    "set", "set PROJECT.box NAME=VALUE ...\n"
           "                       changes a saved box project and prints \"saved PROJECT.box\";\n"
           "                       a value out of range is refused with the field's range, an\n"
           "                       unknown name with the close matches",
    RunSet};
TCliRegistration fieldsCommand{
    "fields", "fields PROJECT.box    every NAME that set takes now, one a line:\n"
              "                       NAME<TAB>VALUE<TAB>UNIT<TAB>MIN .. MAX (check boxes on|off,\n"
              "                       choices A|B|C); values as the dialogs show them; then every\n"
              "                       DIALOG:BUTTON that do presses now, as NAME<TAB><TAB><TAB>press\n"
              "       fields PROJECT.flt \"DIALOG:BUTTON\" ...\n"
              "                       presses those first and lists the dialogs they open as well\n"
              "                       (\"Net 1:Wizard\": the network's wizard)",
    RunFields};
TCliRegistration reportCommand{"report", "report PROJECT.box    the information window text", RunReport};
TCliRegistration curvesCommand{
    "curves", "curves PROJECT.box    f, SPL, phase, group delay, excursion, |Z|, Z phase per grid point,\n"
              "                       then the box type's own curves (driver and port SPL, air speed, ...),\n"
              "                       under a header line naming the columns\n"
              "       curves PROJECT.box --room\n"
              "                       f, room level, free-air level at the listening distance and room\n"
              "                       phase per grid point (the \"SPL in Room & Cabinet\" window)\n"
              "       curves PROJECT.box --transient\n"
              "                       the transient window: time in ms and the plotted curves (Output,\n"
              "                       Input) per shown point, under its caption\n"
              "       curves PROJECT.box|PROJECT.flt --snapshot\n"
              "                       the snapshot window: its range, then each filled slot's number,\n"
              "                       label, offset, visibility and points",
    RunCurves};
TCliRegistration exportCommand{
    "export", std::string(kExportUsage) +
                  "\n                       the layout follows FILE's extension (.frd .zma .gdt .fmp .fm,\n"
                  "                       .csv for spreadsheets) or --format frd|zma|gdt|fmp|fm|csv",
    RunExport};

} // namespace
