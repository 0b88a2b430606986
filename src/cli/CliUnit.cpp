// tonvek-cli unit: shows and writes speaker unit files.
#include "TCliCommand.h"

#include "driver/TSpkCalcMissing.h"
#include "driver/TSpkCrossCalc.h"
#include "driver/TSpkData.h"
#include "driver/TSpkEfficiency.h"
#include "driver/TSpkFields.h"
#include "driver/TSpkMessages.h"
#include "driver/TSpkUnitText.h"
#include "ui/THeadlessHost.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

const char* kUsage =
    "unit show [--text] FILE.unt\n"
    "                       every parameter in the editor's units, type, texts, efficiency\n"
    "                       (--text: the unit text the editor prints and copies)\n"
    "  unit new [--set NAME=VALUE ...] [--calc-missing] [--manufacturer T] [--model T]\n"
    "           [--note T] [--type T] [--crosscalc] [--double-voice-coil] -o FILE.unt\n"
    "                       writes a unit file; values in the editor's units (Sd cm^2, Vas l,\n"
    "                       Mms g, Le mH, Xmax mm p-p, h and l mm, Cms m/N ...)";

// A message box text on one line.
std::string OneLine(std::string text)
{
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    std::string out;
    for (char c : text) {
        if (!(c == ' ' && !out.empty() && out.back() == ' '))
            out += c;
    }
    return out;
}

// The command line names files relative to the working folder, not the program folder.
std::string AbsolutePath(const std::string& path)
{
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

const char* LoadErrorText(TSpkLoadError error)
{
    switch (error) {
    case TSpkLoadError::None: return "";
    case TSpkLoadError::CannotOpen: return "cannot be read";
    case TSpkLoadError::WrongVersion: return "not a unit file (version is not 100)";
    case TSpkLoadError::BadNoteLength: return "corrupt (user note longer than 600 bytes)";
    case TSpkLoadError::Truncated: return "file ends too early";
    case TSpkLoadError::WrongEndMark: return "corrupt (end mark 12345 missing)";
    case TSpkLoadError::BadValue: return "corrupt (a parameter is not a number)";
    }
    return "";
}

bool ParseNumber(const std::string& text, double& value)
{
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front())))
        return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end && *end == '\0' && errno != ERANGE && std::isfinite(value);
}

// The editor labels, with short names for the two heights.
const TSpkField* FieldByName(const std::string& name)
{
    if (name == "h")
        return &SpkField(TSpkParam::h);
    if (name == "l")
        return &SpkField(TSpkParam::l);
    return FindSpkField(name);
}

std::string FieldNames()
{
    std::string names;
    for (const TSpkField& f : SpkFields())
        names += std::string(names.empty() ? "" : ", ") + "\"" + f.label + "\"";
    return names + " (h and l for the two heights)";
}

bool ParseSpeakerType(const std::string& text, int& type)
{
    double number = 0;
    if (ParseNumber(text, number)) {
        type = static_cast<int>(number);
        return number == type && type >= 0 && type < kSpeakerTypeCount;
    }
    for (int t = 0; t < kSpeakerTypeCount; ++t) {
        for (std::string name : {std::string(SpeakerTypeName(t)), std::string(SpeakerTypeChoice(t))}) {
            if (name.size() != text.size())
                continue;
            bool same = true;
            for (std::size_t i = 0; i < name.size(); ++i)
                same = same && std::tolower(static_cast<unsigned char>(name[i])) ==
                                   std::tolower(static_cast<unsigned char>(text[i]));
            if (same) {
                type = t;
                return true;
            }
        }
    }
    return false;
}

int Show(const TCliArgs& args)
{
    bool asText = false;
    std::string file;
    for (const std::string& arg : args) {
        if (arg == "--text")
            asText = true;
        else if (!arg.empty() && arg[0] == '-')
            return CliFail("unit show: unknown option \"" + arg + "\"");
        else if (!file.empty())
            return CliFail("unit show: one unit file only");
        else
            file = arg;
    }
    if (file.empty())
        return CliFail("unit show: no unit file given");

    TSpkData unit;
    if (!unit.Load(AbsolutePath(file)))
        return CliFail(file + ": " + OneLine(TSpkMessages::kEditorLoadFailed) + " (" +
                       LoadErrorText(unit.LastLoadError()) + ")");

    if (asText) {
        std::string text = SpkUnitText(unit);
        std::string plain;
        for (char c : text) {
            if (c != '\r')
                plain += c;
        }
        std::printf("%s\n", plain.c_str());
        return 0;
    }

    std::printf("%-20s%s\n", "Manufacturer", unit.manufacturer);
    std::printf("%-20s%s\n", "Model", unit.model);
    std::printf("%-20s%s\n", "Filename", unit.fileName);
    const char* type = SpeakerTypeName(unit.speakerType);
    if (*type)
        std::printf("%-20s%s\n", "Speaker type", type);
    else
        std::printf("%-20sunknown (%d)\n", "Speaker type", unit.speakerType);
    std::printf("%-20s%s\n", "Crosscalc", unit.crossCalc ? "on" : "off");
    std::printf("%-20s%s\n", "Double voice coil", unit.doubleVoiceCoil ? "yes" : "no");
    std::printf("\n");
    for (const TSpkField& f : SpkFields()) {
        double v = unit.Param(f.param);
        std::string shown = FormatSpkField(f, v);
        if (TSpkData::IsDefined(v) && *f.unit)
            shown += std::string(" ") + f.unit;
        std::printf("%-20s%s\n", f.label, shown.c_str());
    }
    std::printf("\n%-20s%s %%\n", "Efficiency", EfficiencyText(unit).c_str());
    std::printf("%-20s%s dB/1W/1m\n", "Sensitivity", SensitivityText(unit).c_str());
    std::printf("%-20s%s\n", "Complete", unit.IsComplete() ? "yes" : "no (too few parameters to simulate)");
    if (unit.userNote[0])
        std::printf("\nUser note:\n%s\n", unit.userNote);
    return 0;
}

int New(const TCliArgs& args)
{
    TSpkData unit;
    THeadlessHost host;
    std::string out;
    bool calcMissing = false;
    bool crossCalc = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size())
                return false;
            into = args[++i];
            return true;
        };
        std::string text;
        std::string assignment;
        if (arg == "--set" || (arg.find('=') != std::string::npos && arg[0] != '-')) {
            if (arg == "--set" && !value(assignment))
                return CliFail("unit new: --set needs NAME=VALUE");
            if (arg != "--set")
                assignment = arg;
            std::size_t eq = assignment.find('=');
            if (eq == std::string::npos)
                return CliFail("unit new: \"" + assignment + "\" is not NAME=VALUE");
            std::string name = assignment.substr(0, eq);
            const TSpkField* field = FieldByName(name);
            if (!field)
                return CliFail("unit new: unknown parameter \"" + name + "\"; known: " + FieldNames());
            double shown = 0;
            if (!ParseNumber(assignment.substr(eq + 1), shown))
                return CliFail("unit new: " + name + ": \"" + assignment.substr(eq + 1) + "\" is not a number");
            std::string range = SpkFieldRangeError(*field, shown);
            if (!range.empty())
                return CliFail("unit new: " + range);
            (void)EnterParameter(unit, field->param, shown * field->factor, host);
        } else if (arg == "--calc-missing") {
            calcMissing = true;
        } else if (arg == "--crosscalc") {
            crossCalc = true;
        } else if (arg == "--double-voice-coil") {
            unit.doubleVoiceCoil = 1;
        } else if (arg == "--manufacturer" || arg == "--model") {
            if (!value(text))
                return CliFail("unit new: " + arg + " needs a text");
            if (text.size() > TSpkData::kTextSize - 1)
                return CliFail("unit new: " + arg + " takes at most 99 characters");
            arg == "--model" ? unit.SetModel(text) : unit.SetManufacturer(text);
        } else if (arg == "--note") {
            if (!value(text))
                return CliFail("unit new: --note needs a text");
            if (text.size() > TSpkData::kNoteSize - 1)
                return CliFail("unit new: --note takes at most 599 characters");
            unit.SetUserNote(text);
        } else if (arg == "--type") {
            int type = 0;
            if (!value(text) || !ParseSpeakerType(text, type))
                return CliFail("unit new: --type takes 0 to 5 or a type name such as \"Bass/Midrange\"");
            unit.speakerType = static_cast<std::int16_t>(type);
        } else if (arg == "-o" || arg == "--output") {
            if (!value(out))
                return CliFail("unit new: -o needs a file name");
        } else {
            return CliFail("unit new: unknown argument \"" + arg + "\"");
        }
    }
    if (out.empty())
        return CliFail("unit new: no output file given (-o FILE.unt)");
    if (calcMissing)
        CalcMissingFields(unit);
    unit.crossCalc = crossCalc ? 1 : 0;
    unit.UpdateSquares();
    std::string path = AbsolutePath(out);
    if (!unit.Save(path))
        return CliFail(out + ": " + OneLine(TSpkMessages::kSaveFailed));
    std::printf("Wrote %s\n", out.c_str());
    return 0;
}

int RunUnit(TProgramContext&, const TCliArgs& args)
{
    if (args.empty())
        return CliFail("unit: show or new expected (see tonvek-cli --help)");
    TCliArgs rest(args.begin() + 1, args.end());
    if (args[0] == "show")
        return Show(rest);
    if (args[0] == "new")
        return New(rest);
    return CliFail("unit: unknown subcommand \"" + args[0] + "\" (show or new)");
}

TCliRegistration registration{"unit", kUsage, RunUnit};

} // namespace
