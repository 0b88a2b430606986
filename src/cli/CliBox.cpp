// tonvek-cli for box projects: new, set, report, curves, export.
// Values are set through the project's own dialogs, by their labels and in their
// display units, so the command line follows exactly the rules of the desktop.

#include "TCliCommand.h"
#include "TCliHost.h"

#include "box/TBoxReport.h"
#include "box/TClosedBox.h"
#include "driver/TSpeakerConfigDialog.h"
#include "settings/TMeasSetupDialog.h"
#include "ui/TDialogModel.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string Canonical(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '&')
            continue;
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
            continue;
        }
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == ':'))
        out.pop_back();
    return out;
}

// A name on the command line means a file in the working folder; the engine would take
// a bare name as one in the program folder.
std::string FromWorkingFolder(const std::string& path)
{
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

bool ParseSwitch(std::string text, bool& on)
{
    text = Canonical(text);
    if (text == "on" || text == "1" || text == "yes" || text == "true") {
        on = true;
        return true;
    }
    if (text == "off" || text == "0" || text == "no" || text == "false") {
        on = false;
        return true;
    }
    return false;
}

// Applies NAME=VALUE through the first dialog with a field of that label; an error
// text, or empty on success.
std::string Assign(const std::vector<TDialogModel*>& dialogs, THeadlessHost& host, const std::string& assignment)
{
    const std::size_t eq = assignment.find('=');
    if (eq == std::string::npos)
        return "\"" + assignment + "\" is not NAME=VALUE";
    const std::string name = assignment.substr(0, eq);
    const std::string value = assignment.substr(eq + 1);
    const std::string key = Canonical(name);
    for (TDialogModel* dialog : dialogs) {
        for (const TField& field : dialog->Fields()) {
            std::string label = Canonical(field.label.empty() ? field.text : field.label);
            if (label != key || !field.visible)
                continue;
            if (!field.enabled)
                return name + " cannot be changed now (the dialog has it disabled)";
            const int id = field.id;
            const int beeps = host.Beeps();
            switch (field.kind) {
            case TFieldKind::Double:
            case TFieldKind::Long:
            case TFieldKind::String:
            case TFieldKind::Note:
                dialog->Type(id, value);
                dialog->FocusLeft(id);
                if (host.Beeps() != beeps)
                    return name + ": \"" + value + "\" was refused (" + dialog->Field(id).EditText() + " kept)";
                return {};
            case TFieldKind::Check: {
                bool on = false;
                if (!ParseSwitch(value, on))
                    return name + ": \"" + value + "\" is not on or off";
                if (field.checked != on)
                    dialog->Toggle(id, on);
                return {};
            }
            case TFieldKind::Radio:
            case TFieldKind::Combo:
            case TFieldKind::List: {
                for (std::size_t i = 0; i < field.items.size(); ++i) {
                    if (Canonical(field.items[i]) == Canonical(value)) {
                        dialog->Select(id, static_cast<int>(i));
                        return {};
                    }
                }
                std::string choices;
                for (const auto& item : field.items)
                    choices += (choices.empty() ? "" : ", ") + item;
                return name + ": \"" + value + "\" is not one of " + choices;
            }
            default: return name + " is not a value field";
            }
        }
    }
    return "unknown field \"" + name + "\"";
}

struct TBoxSession {
    TCliHost host;
    std::unique_ptr<TBoxEmbryo> project;
};

std::unique_ptr<TBoxEmbryo> MakeBox(const std::string& type, THost& host)
{
    if (type == "closed")
        return std::make_unique<TClosedBox>(host);
    return nullptr;
}

bool OpenProject(TBoxSession& s, const std::string& name)
{
    const std::string path = FromWorkingFolder(name);
    std::vector<std::uint8_t> head;
    TBinaryReader reader;
    if (!reader.Open(path)) {
        CliFail("cannot open project " + path);
        return false;
    }
    std::int32_t code = -1;
    if (!reader.ReadInt32(code) || code != TClosedBox::kTypeCode) {
        CliFail(path + " is not a box project this version can open (type code " + std::to_string(code) + ")");
        return false;
    }
    s.project = std::make_unique<TClosedBox>(s.host);
    if (!s.project->Load(path)) {
        CliFail("Error while reading box data. The project file is corrupt: " + path);
        return false;
    }
    return true;
}

bool ApplyAll(TBoxSession& s, const std::vector<std::string>& assignments)
{
    if (assignments.empty())
        return true;
    // What a user does: open the dialogs, type, move on.
    s.project->OpenBoxDialog();
    s.project->OpenSetupDialog();
    s.project->OpenDriverConfig();
    std::vector<TDialogModel*> dialogs = s.project->ParameterDialogs();
    for (const auto& a : assignments) {
        std::string error = Assign(dialogs, s.host, a);
        if (!error.empty()) {
            CliFail(error);
            return false;
        }
    }
    return true;
}

bool SaveProject(TBoxSession& s, const std::string& path)
{
    if (!s.project->SaveTo(FromWorkingFolder(path))) {
        CliFail("could not write " + path);
        return false;
    }
    return true;
}

int RunNew(const TCliArgs& args)
{
    if (args.empty())
        return CliFail("new: which box type? (tonvek-cli new closed --unit FILE.unt -o PROJECT.box)");
    TBoxSession s;
    s.project = MakeBox(args[0], s.host);
    if (!s.project)
        return CliFail("new: unknown or not yet available box type \"" + args[0] + "\" (available: closed)");
    std::string unit, out;
    std::vector<std::string> sets;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--unit" && i + 1 < args.size())
            unit = args[++i];
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
    if (!ApplyAll(s, sets))
        return 1;
    s.project->Calculate(0);
    return SaveProject(s, out) ? 0 : 1;
}

int RunSet(const TCliArgs& args)
{
    if (args.size() < 2)
        return CliFail("set: tonvek-cli set PROJECT.box NAME=VALUE ...");
    TBoxSession s;
    if (!OpenProject(s, args[0]))
        return 1;
    std::vector<std::string> sets(args.begin() + 1, args.end());
    if (!ApplyAll(s, sets))
        return 1;
    s.project->Calculate(0);
    return SaveProject(s, args[0]) ? 0 : 1;
}

int RunReport(const TCliArgs& args)
{
    if (args.size() != 1)
        return CliFail("report: tonvek-cli report PROJECT.box");
    TBoxSession s;
    if (!OpenProject(s, args[0]))
        return 1;
    const TBoxReport& r = s.project->Report();
    if (r.Lines().empty())
        return CliFail("report: the project has no results (is its unit file there and complete?)");
    std::fputs(r.PlainText().c_str(), stdout);
    if (!r.Note().empty())
        std::printf("User notes :\n%s\n", r.Note().c_str());
    return 0;
}

int RunCurves(const TCliArgs& args)
{
    if (args.size() != 1)
        return CliFail("curves: tonvek-cli curves PROJECT.box");
    TBoxSession s;
    if (!OpenProject(s, args[0]))
        return 1;
    const TBoxEmbryo& p = *s.project;
    if (p.Report().Lines().empty())
        return CliFail("curves: the project has no results (is its unit file there and complete?)");
    std::printf("# f/Hz\tSPL/dB\tphase/deg\tgroup delay/ms\texcursion/mm p-p\t|Z|/ohm\tZ phase/deg\n");
    for (int i = 0; i < p.PointCount(); ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        std::printf("%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\n", p.Grid().Frequency(i), p.splTotal[j],
                    p.splPhase[j], p.groupDelay[j], p.FrontDriver().excursion[j],
                    p.FrontDriver().impedanceMagnitude[j], p.impedancePhase[j]);
    }
    return 0;
}

int RunExport(const TCliArgs& args)
{
    std::string project, kind, out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--kind" && i + 1 < args.size())
            kind = args[++i];
        else if (args[i] == "-o" && i + 1 < args.size())
            out = args[++i];
        else if (project.empty())
            project = args[i];
        else
            return CliFail("export: unexpected argument \"" + args[i] + "\"");
    }
    int k = kind == "spl" ? 0 : kind == "modes" ? 2 : kind == "impedance" ? 4 : kind == "groupdelay" ? 5 : -1;
    if (project.empty() || out.empty() || k < 0)
        return CliFail("export: tonvek-cli export PROJECT.box --kind spl|modes|impedance|groupdelay -o FILE");
    TBoxSession s;
    if (!OpenProject(s, project))
        return 1;
    if (k == 2)
        return CliFail("export: a closed box has no standing-wave modes");
    if (s.project->Report().Lines().empty())
        return CliFail("export: the project has no results (is its unit file there and complete?)");
    return s.project->ExportTo(k, FromWorkingFolder(out)) ? 0 : 1;
}

TCliRegistration newCommand{"new", "new closed --unit FILE.unt [--set NAME=VALUE ...] -o PROJECT.box\n"
                                   "                       a new box project; NAME is a dialog label in display units\n"
                                   "                       (\"Box volume=20\", QB=10, \"Number of drivers=2\", \"Source level=4\")",
                            RunNew};
TCliRegistration setCommand{"set", "set PROJECT.box NAME=VALUE ...   changes a saved box project", RunSet};
TCliRegistration reportCommand{"report", "report PROJECT.box    the information window text", RunReport};
TCliRegistration curvesCommand{
    "curves", "curves PROJECT.box    f, SPL, phase, group delay, excursion, |Z|, Z phase per grid point", RunCurves};
TCliRegistration exportCommand{
    "export", "export PROJECT.box --kind spl|modes|impedance|groupdelay -o FILE   (.frd .zma .gdt .fmp .fm)",
    RunExport};

} // namespace
