// tonvek-cli for filter projects: the same commands as for box projects, through the
// networks' own dialogs and the general settings dialog.

#include "CliFilter.h"
#include "CliSnapshot.h"

#include "CliFields.h"
#include "CliText.h"
#include "TCliHost.h"

#include "core/TBinaryStream.h"
#include "filter/TDriverDialog.h"
#include "filter/TDriverADialog.h"
#include "filter/TNetADialog.h"
#include "filter/TNetAOptDialog.h"
#include "filter/TNetDialog.h"
#include "filter/TXover.h"
#include "measdata/TCurveExport.h"
#include "settings/TGeneralDialog.h"
#include "settings/TProgramContext.h"
#include "timedomain/TSimDialog.h"
#include "ui/TDialogModel.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

namespace {

std::string FromWorkingFolder(const std::string& path)
{
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

struct TFilterSession {
    explicit TFilterSession(TProgramContext& c) : context(c) {}
    ~TFilterSession()
    {
        // The dialog is registered with the settings; it goes before the project does.
        general.reset();
        project.reset();
    }
    TProgramContext& context;
    TCliHost host;
    std::unique_ptr<TXover> project;
    std::unique_ptr<TGeneralDialog> general;
};

bool ReadTypeCode(const std::string& path, std::int32_t& code)
{
    TBinaryReader reader;
    return reader.Open(path, sizeof(std::int32_t)) && reader.ReadInt32(code);
}

bool OpenFilter(TFilterSession& s, const std::string& name)
{
    const std::string path = FromWorkingFolder(name);
    std::int32_t code = -1;
    if (!ReadTypeCode(path, code)) {
        CliFail("cannot open project " + path);
        return false;
    }
    const int kind = TXover::KindOfTypeCode(code);
    if (kind < 0) {
        CliFail(path + " is not a filter project (type code " + std::to_string(code) + ")");
        return false;
    }
    s.project = std::make_unique<TXover>(s.host, s.context, kind);
    if (!s.project->Load(path)) {
        CliFail("Error while reading filter data. The project file is corrupt: " + path);
        return false;
    }
    return true;
}

// What a user does first: open the dialogs of every network and the general settings.
std::vector<TDialogModel*> OpenDialogs(TFilterSession& s)
{
    std::vector<TDialogModel*> dialogs;
    for (int i = 0; i < static_cast<int>(s.project->AdvancedNets().size()); ++i) {
        TNetADialogs& netDialogs = s.project->NetADialogs(i);
        netDialogs.OpenNetDialog();
        netDialogs.OpenDriverDialog();
        dialogs.push_back(&netDialogs.NetDialog());
        dialogs.push_back(&netDialogs.DriverDialog());
    }
    for (TNet* net : s.project->Networks()) {
        net->OpenNetDialog();
        net->OpenDriverDialog();
        dialogs.push_back(&net->NetDialog());
        dialogs.push_back(&net->DriverDialog());
    }
    // Filter music, unless "Disable IFFT" keeps it shut (its settings live with the run).
    if (!s.context.General().DisableIfft())
        if (TSimDialog* music = s.project->OpenMusicDialog(); music && music->IsOpen())
            dialogs.push_back(music);
    if (!s.general)
        s.general = std::make_unique<TGeneralDialog>(s.host, s.context.General());
    s.general->Show();
    dialogs.push_back(s.general.get());
    return dialogs;
}

std::string Plain(const std::string& caption)
{
    std::string out;
    for (char c : caption)
        if (c != '&')
            out += c;
    while (!out.empty() && (out.back() == ':' || out.back() == ' '))
        out.pop_back();
    return out;
}

// "Treble network:Zobel:Calc": the button's text, with its group where the dialog has
// the text twice.
std::string ButtonName(const TDialogModel& dialog, const TField& button)
{
    int same = 0;
    for (const TField& f : dialog.Fields())
        if (f.kind == TFieldKind::Button && f.visible && f.text == button.text)
            ++same;
    std::string name = Plain(dialog.title) + ":";
    if (same > 1 && !button.group.empty())
        name += Plain(button.group) + ":";
    return name + Plain(button.text);
}

// The dialog a prefixed name belongs to, and the rest of the name.
TDialogModel* DialogOf(const std::vector<TDialogModel*>& dialogs, const std::string& name, std::string& rest)
{
    const std::string key = CanonicalFieldName(name);
    for (TDialogModel* d : dialogs) {
        const std::string title = CanonicalFieldName(Plain(d->title));
        if (key.size() > title.size() && key.compare(0, title.size(), title) == 0 && key[title.size()] == ':') {
            const std::size_t colon = name.find(':', 0);
            // The caption may itself hold no colon; the first colon after it ends it.
            std::size_t at = colon;
            while (at != std::string::npos && CanonicalFieldName(name.substr(0, at)) != title)
                at = name.find(':', at + 1);
            if (at == std::string::npos)
                continue;
            rest = name.substr(at + 1);
            return d;
        }
    }
    return nullptr;
}

std::string DialogNames(const std::vector<TDialogModel*>& dialogs)
{
    std::string names;
    for (TDialogModel* d : dialogs)
        names += (names.empty() ? "" : ", ") + Plain(d->title);
    return names;
}

// The optimiser dialog of advanced net `index`, opened as its network dialog's
// "Optimize" button opens it, added to the dialogs (once).
void OpenOptimiser(TFilterSession& s, std::vector<TDialogModel*>& dialogs, int index)
{
    TNetADialog& netDialog = s.project->NetADialogs(index).NetDialog();
    if (netDialog.OptimiserDialog())
        return;
    netDialog.Open();
    if (TNetAOptDialog* d = netDialog.OpenOptimiser())
        dialogs.push_back(d);
}

// "Net 1, optimize:...": that network's optimiser dialog is opened; other names change
// nothing.
void OpenOptimiserNamed(TFilterSession& s, std::vector<TDialogModel*>& dialogs, const std::string& name)
{
    const std::string key = CanonicalFieldName(name);
    for (int i = 0; i < static_cast<int>(s.project->AdvancedNets().size()); ++i) {
        const std::string title = CanonicalFieldName(s.project->NetA(i).Name() + ", optimize");
        if (key.size() > title.size() && key.compare(0, title.size(), title) == 0 && key[title.size()] == ':')
            OpenOptimiser(s, dialogs, i);
    }
}

bool ApplyAll(TFilterSession& s, const std::vector<std::string>& assignments, const std::string& project)
{
    if (assignments.empty())
        return true;
    for (const std::string& a : assignments) {
        // The dialogs a press opened (a network's wizard) take values too.
        std::vector<TDialogModel*> dialogs = WithOpenChildren(OpenDialogs(s));
        std::string rest;
        OpenOptimiserNamed(s, dialogs, a);
        TDialogModel* dialog = DialogOf(dialogs, a, rest);
        if (!dialog) {
            CliFail("\"" + a + "\": a name starts with its dialog (" + DialogNames(dialogs) + "), e.g. \"" +
                    Plain(dialogs[0]->title) + ":Disconnect=on\"; tonvek-cli fields " + project + " lists them");
            return false;
        }
        const std::size_t messages = s.host.Messages().size();
        std::string error = AssignField({dialog}, s.host, rest, project);
        if (error.empty())
            for (std::size_t m = messages; m < s.host.Messages().size(); ++m)
                if (s.host.Messages()[m].icon == TMsgIcon::Warning || s.host.Messages()[m].icon == TMsgIcon::Error)
                    error = "\"" + a + "\" was refused: " + s.host.Messages()[m].text;
        if (!error.empty()) {
            CliFail(Plain(dialog->title) + ": " + error);
            return false;
        }
    }
    return true;
}

// Presses a button named "CAPTION:BUTTON" as a user would; an error text, or empty.
std::string PressNamed(const std::vector<TDialogModel*>& dialogs, const std::string& name, const std::string& project)
{
    const std::string key = CanonicalFieldName(name);
    for (TDialogModel* dialog : dialogs) {
        for (const TField& f : dialog->Fields()) {
            if (f.kind != TFieldKind::Button || !f.visible || f.id == 1 ||
                CanonicalFieldName(ButtonName(*dialog, f)) != key)
                continue;
            if (!f.enabled)
                return "\"" + name + "\" is disabled now";
            dialog->Press(f.id);
            return {};
        }
    }
    // Radio choices and dialog menu commands go by the names every dialog gives them.
    TNamedPress item;
    if (FindPressable(PressableItems(dialogs), name, false, item) && item.kind != TNamedPress::TKind::Button)
        return PressItem(item);
    return "no button \"" + name + "\" (tonvek-cli fields " + project +
           " lists them; a dialog a button opens, such as \"Net 1:Wizard\", follows that button)";
}

// Whether a name with "=" in it is itself something to press (a radio choice "N=2").
bool PressableName(const std::vector<TDialogModel*>& dialogs, const std::string& name)
{
    TNamedPress item;
    return FindPressable(PressableItems(dialogs), name, false, item);
}

bool SaveFilter(TFilterSession& s, const std::string& path)
{
    if (!s.project->SaveTo(FromWorkingFolder(path))) {
        CliFail("could not write " + path);
        return false;
    }
    std::printf("saved %s\n", path.c_str());
    return true;
}

void PrintRow(const char* name, const TNetBase::TRealRow& row, const double* f, int i)
{
    std::printf("  %-28s %10.3f\n", name, row[static_cast<std::size_t>(i)]);
    (void)f;
}

int NearestPoint(const double* f, double hz)
{
    int best = 0;
    for (int i = 1; i < TXover::kPoints; ++i)
        if (std::fabs(std::log(f[i] / hz)) < std::fabs(std::log(f[best] / hz)))
            best = i;
    return best;
}

const char* ConnectionText(TConnection c)
{
    switch (c) {
    case TConnection::Parallel: return "parallel";
    case TConnection::Pairs: return "two pairs in series";
    default: return "series";
    }
}

void ReportNetA(const TNetA& net)
{
    std::printf("\n%s, %s%s%s\n", net.Name().c_str(), net.Active() ? "active" : "passive",
                net.disconnect ? " (disconnected)" : "", net.noComponents ? " (no components)" : "");
    if (net.Active())
        std::printf("  gain %.2f dB\n", net.GainDb());
    std::array<int, TNetA::kPositions> positions{};
    const int listed = net.ListedPositions(positions);
    for (int k = 0; k < listed; ++k) {
        const TBranchA* branch = net.Branch(positions[static_cast<std::size_t>(k)]);
        if (!branch || !branch->InUse())
            continue;
        std::array<const TCompA*, TBranchA::kMaxListed> comps{};
        const int n = branch->ListedComponents(comps);
        std::string parts;
        for (int c = 0; c < n; ++c) {
            const TCompA& comp = *comps[static_cast<std::size_t>(c)];
            parts += (parts.empty() ? "" : ", ") + comp.Name() + " " + comp.DisplayText() + " " + comp.Unit();
        }
        std::printf("  %s%s: %s\n", branch->Heading().c_str(), branch->TypeLine().c_str(), parts.c_str());
    }
    const TDriverGroup& d = net.Drivers();
    std::printf("  %d driver%s in %s%s, Re %g ohm, Rex %g ohm\n", d.Count(), d.Count() == 1 ? "" : "s",
                ConnectionText(d.Connection()), d.invert ? ", inverted" : "", d.re, d.rex);
    for (int i = 0; i < d.Count(); ++i) {
        const TDriverA& driver = d.Driver(i);
        std::printf("  driver %d at x %g y %g z %g m, radius %g m, SPL %s, impedance %s\n", i + 1, driver.x, driver.y,
                    driver.z, driver.radius,
                    d.FileName(i, TMeasKind::Spl).empty() ? "-" : d.FileName(i, TMeasKind::Spl).c_str(),
                    d.FileName(i, TMeasKind::Impedance).empty() ? "-" : d.FileName(i, TMeasKind::Impedance).c_str());
    }
}

// One network's columns of `curves`: its name, gain, on-axis or ray level and impedance.
struct TNetColumns {
    std::string name;
    const TNetBase::TRealRow* gain;
    const TNetBase* net;
};

std::vector<TNetColumns> NetColumns(const TXover& p)
{
    std::vector<TNetColumns> columns;
    static constexpr const char* kShort[3] = {"bass", "mid", "treble"};
    for (const TNet* net : p.Networks())
        columns.push_back({kShort[net->Index()], &net->FilterGain(), net});
    // An advanced net's gain is its first driver's, as its gain plot shows it.
    for (const TNetA* net : p.AdvancedNets())
        columns.push_back({"net" + std::to_string(net->Index() + 1), &net->DriverGain(0), net});
    return columns;
}

// "Network:Store as:2=Name", "Driver:Recall:3": a store slot command of an advanced
// project, as its menu offers it. False when the text names none.
bool SlotCommand(TFilterSession& s, const std::string& text, std::string& error)
{
    const std::string key = CanonicalFieldName(text);
    struct TSlotRun {
        const char* name;
        bool store, drivers;
    };
    static constexpr TSlotRun kRuns[] = {{"network:store as:", true, false},
                                         {"network:recall:", false, false},
                                         {"driver:store as:", true, true},
                                         {"driver:recall:", false, true}};
    for (const TSlotRun& run : kRuns) {
        const std::string prefix = CanonicalFieldName(run.name);
        if (key.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string rest = text.substr(std::min(text.size(), text.find(':', text.find(':') + 1) + 1));
        std::string nickname;
        if (const std::size_t eq = rest.find('='); eq != std::string::npos) {
            nickname = rest.substr(eq + 1);
            rest = rest.substr(0, eq);
        }
        while (!rest.empty() && rest.front() == ' ')
            rest.erase(0, 1);
        if (rest.size() != 1 || rest[0] < '1' || rest[0] > '4') {
            error = "\"" + text + "\": the slot is 1 .. 4";
            return true;
        }
        const int slot = rest[0] - '1';
        if (!s.project->Advanced()) {
            error = "store slots belong to advanced filters";
            return true;
        }
        if (!run.store && nickname.size()) {
            error = "\"" + text + "\": a recall takes no nickname";
            return true;
        }
        if (run.store) {
            s.host.QueueInput(nickname);
            if (run.drivers)
                s.project->StoreDriverSet(slot);
            else
                s.project->StoreNetSet(slot);
        } else if (run.drivers) {
            if (!s.project->NetA(0).DriverSetStored(slot)) {
                error = "driver set " + rest + " was never stored";
                return true;
            }
            s.project->RecallDriverSet(slot);
        } else {
            s.project->RecallNetSet(slot);
        }
        return true;
    }
    return false;
}

} // namespace

int CliFilterKindOf(const std::string& typeName)
{
    if (typeName == "simple2")
        return 0;
    if (typeName == "simple3")
        return 1;
    // advanced1 .. advanced4 and active1 .. active4: one to four ways.
    for (const auto& [prefix, first] : {std::pair<const char*, int>{"advanced", 3}, {"active", 8}}) {
        const std::string p = prefix;
        if (typeName.size() == p.size() + 1 && typeName.compare(0, p.size(), p) == 0 && typeName.back() >= '1' &&
            typeName.back() <= '4')
            return first + (typeName.back() - '1');
    }
    return -1;
}

bool CliIsFilterFile(const std::string& name)
{
    std::int32_t code = -1;
    if (!ReadTypeCode(FromWorkingFolder(name), code))
        return false;
    return code == 15 || code == 16 || (code >= 20 && code <= 23) || (code >= 25 && code <= 28);
}

int RunFilterNew(TProgramContext& context, int kind, const TCliArgs& args)
{
    TFilterSession s{context};
    context.General().Reset();
    s.project = std::make_unique<TXover>(s.host, context, kind);
    std::string out;
    std::vector<std::pair<bool, std::string>> steps; // (press, text)
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == "--set" && i + 1 < args.size())
            steps.push_back({false, args[++i]});
        else if (args[i] == "--do" && i + 1 < args.size())
            steps.push_back({true, args[++i]});
        else
            return CliFail("new: unexpected argument \"" + args[i] + "\"");
    }
    if (out.empty())
        return CliFail("new: -o PROJECT.flt is required");
    // In the order given, as a user fills in a value and then presses "Calc".
    for (const auto& [press, text] : steps) {
        if (!press) {
            if (!ApplyAll(s, {text}, "PROJECT.flt"))
                return 1;
        } else if (std::string error = PressNamed(WithOpenChildren(OpenDialogs(s)), text, "PROJECT.flt");
                   !error.empty())
            return CliFail("new: " + error);
    }
    return SaveFilter(s, out) ? 0 : 1;
}

int RunFilterSet(TProgramContext& context, const TCliArgs& args)
{
    TFilterSession s{context};
    if (!OpenFilter(s, args[0]))
        return 1;
    if (!ApplyAll(s, std::vector<std::string>(args.begin() + 1, args.end()), args[0]))
        return 1;
    return SaveFilter(s, args[0]) ? 0 : 1;
}

int RunFilterFields(TProgramContext& context, const TCliArgs& args)
{
    TFilterSession s{context};
    if (!OpenFilter(s, args[0]))
        return 1;
    // Each network's optimiser is listed; it stays open as a child of its network dialog.
    std::vector<TDialogModel*> opened;
    for (int i = 0; i < static_cast<int>(s.project->AdvancedNets().size()); ++i)
        OpenOptimiser(s, opened, i);
    // Presses after the project open dialogs whose fields are listed too ("Net 1:Wizard").
    for (std::size_t i = 1; i < args.size(); ++i)
        if (std::string error = PressNamed(WithOpenChildren(OpenDialogs(s)), args[i], args[0]); !error.empty())
            return CliFail("fields: " + error);
    for (TDialogModel* dialog : WithOpenChildren(OpenDialogs(s))) {
        const std::string prefix = Plain(dialog->title) + ":";
        for (const TNamedField& f : SettableFields({dialog}))
            std::printf("%s%s\n", prefix.c_str(), FieldLine(f).c_str());
        for (const TField& f : dialog->Fields())
            if (f.kind == TFieldKind::Button && f.visible && f.enabled && f.id != 1)
                std::printf("%s\t(button)\n", ButtonName(*dialog, f).c_str());
    }
    return 0;
}

int RunFilterDo(TProgramContext& context, const TCliArgs& args)
{
    if (args.size() < 2)
        return CliFail("do: tonvek-cli do PROJECT.flt \"CAPTION:BUTTON\" ... (buttons: tonvek-cli fields PROJECT.flt)");
    TFilterSession s{context};
    if (!OpenFilter(s, args[0]))
        return 1;
    for (std::size_t i = 1; i < args.size(); ++i) {
        // Each press sees what the presses before it opened ("Net 1:Wizard" opens the
        // wizard whose values and "Calc" come next).
        std::vector<TDialogModel*> dialogs = WithOpenChildren(OpenDialogs(s));
        std::string error;
        OpenOptimiserNamed(s, dialogs, args[i]);
        if (SlotCommand(s, args[i], error)) {
        } else if (args[i].find('=') != std::string::npos && !PressableName(dialogs, args[i])) {
            // Not a press but "NAME=VALUE": a value typed into an open dialog, as set does.
            if (!ApplyAll(s, {args[i]}, args[0]))
                return 1;
        } else {
            error = PressNamed(dialogs, args[i], args[0]);
        }
        if (!error.empty())
            return CliFail("do: " + error);
    }
    return SaveFilter(s, args[0]) ? 0 : 1;
}

int RunFilterReport(TProgramContext& context, const TCliArgs& args)
{
    TFilterSession s{context};
    if (!OpenFilter(s, args[0]))
        return 1;
    const TXover& p = *s.project;
    const double* f = p.Frequencies();
    std::printf("%s\n", p.Title().c_str());
    for (const TNetA* net : p.AdvancedNets())
        ReportNetA(*net);
    for (const TNet* net : p.Networks()) {
        std::printf("\n%s%s%s\n", net->Name(), net->disconnect ? " (disconnected)" : "",
                    net->invertPolarity ? " (inverted)" : "");
        std::printf("  low-pass order %d at %g Hz, high-pass order %d at %g Hz, pad %g dB\n", net->lowPassOrder,
                    net->lowPassCutoff, net->highPassOrder, net->highPassCutoff, net->attenuation);
        for (int b = 0; b < TNet::kBranches; ++b) {
            const TBranch& branch = net->Branch(b);
            std::string parts;
            for (const TComp* c : {&branch.R(), &branch.L(), &branch.C()}) {
                if (!c->inUse)
                    continue;
                char text[96];
                if (c->Kind() == TCompKind::Inductor)
                    std::snprintf(text, sizeof text, "%s %.4g %s (%.3g ohm)", c->Name().c_str(),
                                  c->value * c->DisplayFactor(), c->Unit(), c->seriesResistance);
                else
                    std::snprintf(text, sizeof text, "%s %.4g %s", c->Name().c_str(), c->value * c->DisplayFactor(),
                                  c->Unit());
                parts += (parts.empty() ? "" : ", ") + std::string(text);
            }
            if (!parts.empty())
                std::printf("  %-7s %s\n", BranchTypeText(branch.Type()), parts.c_str());
        }
        std::printf("  driver: Re %g ohm, Le %g mH, Rex %g ohm, %d unit%s\n", net->re, net->le * 1e3, net->rex,
                    net->driverCount, net->driverCount == 1 ? "" : "s");
    }
    const auto& z = p.TotalImpedanceMagnitude();
    int zmin = 0;
    for (int i = 1; i < TXover::kPoints; ++i)
        if (z[static_cast<std::size_t>(i)] < z[static_cast<std::size_t>(zmin)])
            zmin = i;
    const int onAxis = s.context.General().OnAxisIndex();
    std::printf("\nTotals\n");
    std::printf("  minimum input impedance      %10.3f ohm at %.1f Hz\n", z[static_cast<std::size_t>(zmin)], f[zmin]);
    for (double hz : {100.0, 1000.0, 3000.0, 10000.0}) {
        const int i = NearestPoint(f, hz);
        char label[64];
        std::snprintf(label, sizeof label, "summed level at %.0f Hz", f[i]);
        PrintRow(label, p.SummedLevel(onAxis), f, i);
    }
    return 0;
}

// What the impulse response window plots: time and the normalised response per shown point.
int PrintImpulse(const TImpResponse& w)
{
    if (!w.HasData())
        return CliFail("curves: the impulse response is not calculated (\"Disable IFFT\" is on)");
    std::printf("# %s\n# t/ms\t%s\n", w.Caption().c_str(), w.Curve(0).label.c_str());
    for (int i = 0; i < w.PointCount(); ++i)
        std::printf("%.17g\t%.17g\n", w.Times()[i], w.Samples()[i]);
    return 0;
}

int RunFilterCurves(TProgramContext& context, const TCliArgs& args)
{
    std::string project;
    std::optional<int> angle;
    bool impulse = false;
    bool snapshot = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--snapshot") {
            snapshot = true;
        } else if (args[i] == "--ray" && i + 1 < args.size()) {
            try {
                angle = std::stoi(args[++i]);
            } catch (...) {
                return CliFail("curves: --ray takes an angle in degrees");
            }
        } else if (args[i] == "--impulse")
            impulse = true;
        else if (project.empty())
            project = args[i];
        else
            return CliFail("curves: unexpected argument \"" + args[i] + "\"");
    }
    if (project.empty())
        return CliFail("curves: tonvek-cli curves PROJECT.flt [--ray ANGLE | --impulse | --snapshot]");
    if (impulse && angle)
        return CliFail("curves: --impulse shows the on-axis sum only; leave out --ray");
    TFilterSession s{context};
    if (!OpenFilter(s, project))
        return 1;
    if (impulse)
        return PrintImpulse(s.project->Impulse());
    if (snapshot)
        return PrintSnapshot(s.project->SnapshotWindow());
    const TGeneral& g = s.context.General();
    int ray = g.OnAxisIndex();
    if (angle) {
        ray = -1;
        for (int r = 0; r < g.SurfaceRayCount(); ++r)
            if (g.SurfaceRay(r) == *angle) {
                ray = r;
                break;
            }
        if (ray < 0)
            return CliFail("curves: the project has no ray at " + std::to_string(*angle) + " degrees");
        if (g.Inhibit() && ray != g.OnAxisIndex())
            return CliFail("curves: \"Inhibit\" is on, so only the on-axis ray is computed");
    }
    const TXover& p = *s.project;
    TNetBase::TRealRow phase{};
    for (int i = 0; i < TXover::kPoints; ++i)
        phase[static_cast<std::size_t>(i)] = PhaseOf(p.Summed(ray)[static_cast<std::size_t>(i)]) * 57.29577951308232;
    const std::vector<TNetColumns> columns = NetColumns(p);
    std::printf("# f/Hz\tsum/dB\tsum phase/deg\tgroup delay/ms\t|Z|/ohm\tZ phase/deg");
    for (const TNetColumns& c : columns) {
        const char* n = c.name.c_str();
        std::printf("\t%s gain/dB\t%s level/dB\t%s |Z|/ohm", n, n, n);
    }
    std::printf("\n");
    const double* f = p.Frequencies();
    for (int i = 0; i < TXover::kPoints; ++i) {
        const auto j = static_cast<std::size_t>(i);
        std::printf("%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g", f[i], p.SummedLevel(ray)[j], phase[j],
                    p.GroupDelay()[j], p.TotalImpedanceMagnitude()[j], p.TotalImpedancePhase()[j]);
        for (const TNetColumns& c : columns)
            std::printf("\t%.17g\t%.17g\t%.17g", (*c.gain)[j], c.net->Level(ray)[j], c.net->ImpedanceMagnitude()[j]);
        std::printf("\n");
    }
    return 0;
}

int RunFilterExport(TProgramContext& context, const TCliArgs& args)
{
    std::string project, kind, out;
    std::optional<int> angle;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--kind" && i + 1 < args.size())
            kind = args[++i];
        else if (args[i] == "--ray" && i + 1 < args.size()) {
            try {
                angle = std::stoi(args[++i]);
            } catch (...) {
                return CliFail("export: --ray takes an angle in degrees");
            }
        } else if (args[i] == "-o" && i + 1 < args.size())
            out = args[++i];
        else if (project.empty())
            project = args[i];
        else
            return CliFail("export: unexpected argument \"" + args[i] + "\"");
    }
    const char* usage = "export: tonvek-cli export PROJECT.flt --kind spl [--ray ANGLE]|impedance|groupdelay|impulse|"
                        "NET-spl|NET-gain|NET-impedance|NET-groupdelay -o FILE (NET: bass, mid, treble, net1 .. net4)";
    if (project.empty() || out.empty() || kind.empty())
        return CliFail(usage);
    TFilterSession s{context};
    if (!OpenFilter(s, project))
        return 1;
    const std::string path = FromWorkingFolder(out);
    if (kind == "spl") {
        // As "Export SPL Total" offers them: the rays of the surface plot, on axis first chosen.
        const TGeneral& g = s.context.General();
        int ray = g.OnAxisIndex();
        if (angle) {
            ray = -1;
            for (int r = 0; r < g.SurfaceRayCount() && ray < 0; ++r)
                if (g.SurfaceRay(r) == *angle)
                    ray = r;
            if (ray < 0)
                return CliFail("export: the project has no ray at " + std::to_string(*angle) + " degrees");
        }
        return s.project->ExportTotalTo(TXoverExport::Spl, path, ray) ? 0 : 1;
    }
    if (angle)
        return CliFail("export: --ray goes with --kind spl only");
    if (kind == "impedance")
        return s.project->ExportTotalTo(TXoverExport::Impedance, path) ? 0 : 1;
    if (kind == "groupdelay")
        return s.project->ExportTotalTo(TXoverExport::GroupDelay, path) ? 0 : 1;
    if (kind == "impulse")
        return s.project->ExportTotalTo(TXoverExport::Impulse, path) ? 0 : 1;
    const std::size_t dash = kind.find('-');
    if (dash == std::string::npos)
        return CliFail(usage);
    const std::string netName = kind.substr(0, dash), curveName = kind.substr(dash + 1);
    int net = -1;
    if (s.project->Advanced()) {
        if (netName.size() == 4 && netName.compare(0, 3, "net") == 0 && netName[3] >= '1' &&
            netName[3] < '1' + s.project->Ways())
            net = netName[3] - '1';
    } else {
        net = netName == "bass" ? 0 : netName == "mid" ? 1 : netName == "treble" ? 2 : -1;
        if (net == 1 && !s.project->ThreeWay())
            net = -1;
    }
    if (net < 0)
        return CliFail("export: the project has no " + netName + " network");
    const std::optional<TSectionCurve> curve = curveName == "spl"          ? std::optional(TSectionCurve::Spl)
                                               : curveName == "gain"       ? std::optional(TSectionCurve::Gain)
                                               : curveName == "impedance"  ? std::optional(TSectionCurve::Impedance)
                                               : curveName == "groupdelay" ? std::optional(TSectionCurve::GroupDelay)
                                                                           : std::nullopt;
    if (!curve)
        return CliFail(usage);
    return s.project->ExportSectionTo(net, *curve, path) ? 0 : 1;
}

namespace {

constexpr int kDefaultSweeps = 100;
// --until-stable: no gain of more than kStableGain dB over kStableSweeps sweeps; a search
// that keeps creeping still ends after kMaxSweeps.
constexpr double kStableGain = 0.001;
constexpr int kStableSweeps = 20;
constexpr int kMaxSweeps = 100000;

bool ParseCount(const std::string& text, long long minimum, long long maximum, long long& value)
{
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && p == end && value >= minimum && value <= maximum;
}

// "12\t0.0831 dB\t87.42 dB\tL1071 0.8492 mH\t...": the sweep, its error, the target
// level and every component of the optimisation list.
void PrintSweep(const TNetAOptDialog& d, const TNetA& net)
{
    std::string line = std::to_string(d.Optimiser().Sweeps());
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "\t%.4f dB\t%.2f dB", d.Optimiser().Error(), net.optimiser.targetLevel);
    line += numbers;
    for (const TCompA* comp : d.Entries())
        line += "\t" + comp->Name() + " " + CliTrim(comp->DisplayText()) + " " + comp->Unit();
    std::printf("%s\n", line.c_str());
}

} // namespace

int RunFilterOptimize(TProgramContext& context, const TCliArgs& args)
{
    const char* usage = "optimize: tonvek-cli optimize PROJECT.flt --net N [--steps N | --until-stable] [--seed S]";
    std::string project;
    long long net = 0, steps = kDefaultSweeps, seed = 1;
    bool untilStable = false, stepsGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--net" && hasValue) {
            if (!ParseCount(args[++i], 1, 4, net))
                return CliFail("optimize: --net takes 1 .. 4");
        } else if (a == "--steps" && hasValue) {
            if (!ParseCount(args[++i], 1, kMaxSweeps, steps))
                return CliFail("optimize: --steps takes a whole number from 1 to " + std::to_string(kMaxSweeps));
            stepsGiven = true;
        } else if (a == "--seed" && hasValue) {
            if (!ParseCount(args[++i], 0, 4294967295LL, seed))
                return CliFail("optimize: --seed takes a whole number from 0 to 4294967295");
        } else if (a == "--until-stable") {
            untilStable = true;
        } else if (project.empty() && !a.starts_with("--")) {
            project = a;
        } else {
            return CliFail("optimize: unexpected argument \"" + a + "\"\n" + usage);
        }
    }
    if (project.empty() || net == 0)
        return CliFail(usage);
    if (stepsGiven && untilStable)
        return CliFail("optimize: --steps and --until-stable exclude each other");

    TFilterSession s{context};
    if (!OpenFilter(s, project))
        return 1;
    const int count = static_cast<int>(s.project->AdvancedNets().size());
    if (count == 0)
        return CliFail("optimize: a simple filter has no network optimiser (advanced filters have one per net)");
    if (net > count)
        return CliFail("optimize: " + project + " has " + std::to_string(count) + " net" + (count == 1 ? "" : "s"));
    const int index = static_cast<int>(net) - 1;
    TNetA& network = s.project->NetA(index);
    // As a user does: the network dialog, its "Optimize" button, "Start".
    TNetADialog& netDialog = s.project->NetADialogs(index).NetDialog();
    netDialog.Open();
    netDialog.Press(TNetADialog::kOptimize);
    TNetAOptDialog* d = netDialog.OptimiserDialog();
    if (!d)
        return CliFail("optimize: the optimiser of " + network.Name() + " did not open");
    if (d->Entries().empty())
        return CliFail("optimize: no component of " + network.Name() + " is on its optimisation list (e.g. \"" +
                       network.Name() + ":R" + std::to_string(index + 1) + "011 optimise=on\"; tonvek-cli fields " +
                       project + " lists them)");
    d->SetRandom(TNetAOptimiser::SeededRandom(static_cast<std::uint32_t>(seed)));
    double best = 0;
    int bestSweep = 0;
    bool stable = false;
    d->onSweep = [&](const TNetAOptDialog& dialog) {
        PrintSweep(dialog, network);
        const double error = dialog.Optimiser().Error();
        const int n = dialog.Optimiser().Sweeps();
        if (n == 1 || error < best - kStableGain) {
            best = error;
            bestSweep = n;
        }
        stable = n - bestSweep >= kStableSweeps;
    };
    d->Press(TNetAOptDialog::kStart);
    const int limit = untilStable ? kMaxSweeps : static_cast<int>(steps);
    while (d->Optimiser().Sweeps() < limit && !(untilStable && stable) && s.host.RunDeferred(1) == 1) {
    }
    // "Stop" is seen by the sweep still queued; closing computes every ray again.
    d->Press(TNetAOptDialog::kStop);
    s.host.RunDeferred();
    d->Close();
    return SaveFilter(s, project) ? 0 : 1;
}
