// tonvek-cli setup: shows and edits the measurement setup preferences "msetup.prf".
#include "TCliCommand.h"
#include "ui/TSwitchText.h"
#include "CliText.h"

#include "settings/TMeasSetup.h"
#include "settings/TMeasSetupFields.h"
#include "settings/TProgramContext.h"
#include "ui/TNumberText.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

namespace L = TMeasSetupLimits;

const char* kUsage =
    "setup [--program-folder DIR] show [--grid] | default | set NAME=VALUE ...\n"
    "                       the measurement setup preferences msetup.prf in the program\n"
    "                       folder: show them (factory values when the file is missing or\n"
    "                       damaged; --grid adds the frequency grid), write the factory\n"
    "                       values, or change fields named by their dialog labels, e.g.\n"
    "                       \"Start frequency=30\" \"Source level=2\" Cutoff=25 Q=0.5 Autorange=on";

// The editable fields of the setup dialog, as TMeasSetupFields describes them, with
// the short names the command line takes too. Start and stop are checked against each
// other once every assignment has been applied, so their order on the line is free.
struct TSetupEntry {
    TSetupField field;
    const char* alias; // short name also accepted, or ""

    const TFieldInfo& Info() const { return SetupFieldInfo(field); }
};

const TSetupEntry kFields[] = {
    {TSetupField::Start, ""},          {TSetupField::Stop, ""},      {TSetupField::Points, ""},
    {TSetupField::Level, "Ug"},        {TSetupField::Power, "Pg"},   {TSetupField::Resistance, "Rg"},
    {TSetupField::Cutoff, ""},         {TSetupField::Q, ""},         {TSetupField::Range, ""},
    {TSetupField::Autorange, ""},      {TSetupField::HidePhase, ""}, {TSetupField::CalcImmediately, ""},
};

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Case and runs of blanks do not matter in a label.
std::string Canonical(const std::string& text)
{
    std::string out;
    for (char c : Lower(text)) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += c;
        }
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

const TSetupEntry* FindField(const std::string& name)
{
    const std::string key = Canonical(name);
    for (const TSetupEntry& f : kFields) {
        if (key == Canonical(f.Info().label) || (*f.alias && key == Canonical(f.alias)))
            return &f;
    }
    return nullptr;
}

bool ParseInteger(const std::string& text, double& value)
{
    if (text.empty() || text.find_first_not_of("0123456789+-") != std::string::npos)
        return false;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size())
        return false;
    value = static_cast<double>(v);
    return true;
}

// Like the dialog's value fields: digits, sign, exponent and "," or "." as the point.
bool ParseReal(std::string text, double& value)
{
    if (text.empty() || text.find_first_not_of("0123456789+-Ee.,") != std::string::npos)
        return false;
    for (char& c : text) {
        if (c == ',')
            c = '.';
    }
    double v = 0.0;
    if (TNumberText::ReadDouble(text, v) != text.size() || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

std::string Number(double v)
{
    return TNumberText::FormatDouble("%g", v);
}

std::string RangeText(const TFieldInfo& f)
{
    std::string text = Number(f.minimum) + " .. " + Number(f.maximum);
    if (*f.unit)
        text += std::string(" ") + f.unit;
    return text;
}

// One NAME=VALUE onto the setup; an error text, or empty on success.
std::string Assign(TMeasSetup& setup, const std::string& assignment)
{
    const std::size_t eq = assignment.find('=');
    const std::string name = CliTrim(assignment.substr(0, eq));
    const std::string text = CliTrim(assignment.substr(eq + 1));
    const TSetupEntry* entry = FindField(name);
    if (!entry)
        return "unknown setup field \"" + name + "\" (see tonvek-cli setup show for the names)";
    const TFieldInfo& field = entry->Info();
    double value = 0;
    bool ok = false;
    switch (field.kind) {
    case TValueKind::Whole: ok = ParseInteger(text, value); break;
    case TValueKind::Real: ok = ParseReal(text, value); break;
    case TValueKind::Switch: {
        bool on = false;
        ok = ParseSwitchText(text, on);
        if (ok)
            value = on ? 1 : 0;
        break;
    }
    }
    if (!ok) {
        const char* expected = field.kind == TValueKind::Whole  ? "a whole number"
                               : field.kind == TValueKind::Real ? "a number"
                                                                : "on or off";
        return std::string(field.label) + ": \"" + text + "\" is not " + expected;
    }
    if (!field.InRange(value))
        return std::string(field.label) + " " + text + " is out of range (" + RangeText(field) + ")";
    if (entry->field == TSetupField::Range && setup.autorange)
        return "Range cannot be set while Autorange is on";
    if (!BindSetupField(setup, entry->field).write(value))
        return std::string(field.label) + " " + text + " was refused";
    return {};
}

// The checks that involve two fields, made after all assignments.
std::string CheckLinks(const TMeasSetup& s)
{
    if (s.startFrequency > s.stopFrequency - L::kMinSpan) {
        return "Start frequency " + std::to_string(s.startFrequency) + " Hz must be at least " +
               std::to_string(L::kMinSpan) + " Hz below Stop frequency " + std::to_string(s.stopFrequency) + " Hz";
    }
    return {};
}

std::string Printed(const char* format, double v)
{
    return TNumberText::FormatDouble(format, v);
}

void PrintLine(const char* label, const std::string& value, const char* unit = "")
{
    std::printf("%-23s%s%s%s\n", label, value.c_str(), *unit ? " " : "", unit);
}

void Show(const TMeasSetup& s, bool fromFile, const std::string& path, bool withGrid)
{
    std::string origin = path;
    if (!fromFile) {
        std::error_code ec;
        origin += std::filesystem::exists(path, ec) ? " (unreadable or damaged: factory values)"
                                                    : " (not found: factory values)";
    }
    PrintLine("File", origin);
    PrintLine("Start frequency", std::to_string(s.startFrequency), "Hz");
    PrintLine("Stop frequency", std::to_string(s.stopFrequency), "Hz");
    PrintLine("Number of points", std::to_string(s.pointCount));
    PrintLine("Source level", Printed(TMeasSetup::LevelFormat(s.sourceLevel), s.sourceLevel), "V");
    PrintLine("Watts into 8 ohm", Printed(TMeasSetup::LevelFormat(s.sourcePower), s.sourcePower), "W");
    PrintLine("Source resistance", Printed(TMeasSetup::ResistanceFormat(s.sourceResistance), s.sourceResistance),
              "ohm");
    PrintLine("Source inductance", Printed("%3.2f", s.sourceInductance * 1000.0), "mH");
    PrintLine("Cutoff", s.highPassCutoff ? std::to_string(s.highPassCutoff) : "0 (no high-pass)",
              s.highPassCutoff ? "Hz" : "");
    PrintLine("Q", Printed(TMeasSetup::QFormat(), s.highPassQ));
    PrintLine("Calculate immediately", s.calculateImmediately ? "on" : "off");
    PrintLine("Autorange", s.autorange ? "on" : "off");
    PrintLine("Range", std::to_string(s.splRange), "dB");
    PrintLine("Hide phase", s.hidePhase ? "on" : "off");
    if (withGrid) {
        std::printf("\nGrid\n");
        for (int i = 0; i < s.grid.Count(); ++i)
            std::printf("%4d  %12.4f Hz\n", i, s.grid.Frequency(i));
    }
}

// Tokens without "=" belong to the next one's name, so unquoted labels work too:
// set Start frequency=30  ->  "Start frequency=30".
bool JoinAssignments(const TCliArgs& words, std::vector<std::string>& out, std::string& error)
{
    std::string pending;
    for (const std::string& w : words) {
        pending += pending.empty() ? w : " " + w;
        if (w.find('=') != std::string::npos) {
            out.push_back(pending);
            pending.clear();
        }
    }
    if (!pending.empty()) {
        error = "\"" + pending + "\" has no value (write NAME=VALUE)";
        return false;
    }
    return true;
}

int RunSetup(TProgramContext& context, const TCliArgs& all)
{
    TCliArgs args;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i] == "--program-folder" || all[i] == "--folder") {
            if (i + 1 >= all.size())
                return CliFail(all[i] + " needs a folder");
            std::error_code ec;
            const std::filesystem::path dir = std::filesystem::absolute(all[++i], ec);
            if (ec || !std::filesystem::is_directory(dir, ec))
                return CliFail("program folder \"" + all[i] + "\" is not a folder");
            context.SetFolder(dir.string());
        } else {
            args.push_back(all[i]);
        }
    }
    if (args.empty())
        return CliFail("setup needs show, default or set (see tonvek-cli --help)");

    const std::string path = TMeasSetup::PreferencesPath(context.Folder());
    const std::string& verb = args[0];
    const TCliArgs rest(args.begin() + 1, args.end());
    TMeasSetup& setup = context.MeasSetup();

    if (verb == "show") {
        bool withGrid = false;
        for (const std::string& a : rest) {
            if (a != "--grid")
                return CliFail("setup show: unexpected \"" + a + "\"");
            withGrid = true;
        }
        const bool fromFile = setup.LoadPreferences(context.Folder(), false);
        Show(setup, fromFile, path, withGrid);
        return 0;
    }
    if (verb == "default") {
        if (!rest.empty())
            return CliFail("setup default takes no arguments");
        setup.LoadPreferences(context.Folder(), true);
    } else if (verb == "set") {
        std::vector<std::string> assignments;
        std::string error;
        if (!JoinAssignments(rest, assignments, error))
            return CliFail(error);
        if (assignments.empty())
            return CliFail("setup set needs NAME=VALUE");
        setup.LoadPreferences(context.Folder(), false);
        for (const std::string& a : assignments) {
            error = Assign(setup, a);
            if (!error.empty())
                return CliFail(error);
        }
        error = CheckLinks(setup);
        if (!error.empty())
            return CliFail(error);
        setup.LayoutGrid();
    } else {
        return CliFail("setup: unknown action \"" + verb + "\" (show, default or set)");
    }
    if (!setup.SaveFile(path))
        return CliFail("Could not save to file 'msetup.prf' (" + path + ")");
    return 0;
}

TCliRegistration registration{"setup", kUsage, RunSetup};

} // namespace
