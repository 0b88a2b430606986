// tonvek-cli measdata: shows how a measurement file is understood on a frequency grid.
#include "TCliCommand.h"

#include "measdata/TCurveExport.h"
#include "measdata/TMeasCurveReader.h"
#include "settings/TProgramContext.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* kUsage =
    "measdata read FILE [--grid filter|box] [--kind spl|impedance]\n"
    "                       reads a measurement file (FRD, ZMA, GDT, CLIO, MLLSA, CSV) onto\n"
    "                       the filter grid (500 points, 5 Hz to 20 kHz) or the default box\n"
    "                       grid (50 points, 20 Hz to 2 kHz) and prints the curve as read, in\n"
    "                       the FRD/ZMA layout (Hz, dB or ohm, degrees); what was skipped or\n"
    "                       assumed goes to stderr. The kind defaults to impedance for .zma\n"
    "                       files, SPL otherwise.";

// The box grid of the factory measurement setup: 50 points from 20 Hz to 2 kHz. Built
// here so the tool does not need a setup file.
constexpr int kBoxStart = 20;
constexpr int kBoxStop = 2000;
constexpr int kBoxPoints = 50;

std::vector<double> DefaultBoxGrid()
{
    std::vector<double> f(kBoxPoints);
    const double step = std::log10(static_cast<double>(kBoxStop) / static_cast<double>(kBoxStart)) / (kBoxPoints - 1);
    for (int i = 0; i < kBoxPoints; ++i)
        f[static_cast<std::size_t>(i)] = std::pow(10.0, i * step) * kBoxStart;
    return f;
}

bool EndsWithZma(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".zma";
}

void Note(const std::string& text) { std::fprintf(stderr, "measdata: %s\n", text.c_str()); }

int RunRead(const TProgramContext& context, const TCliArgs& args)
{
    std::string file;
    std::string grid = "filter";
    std::string kindName;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--grid" || a == "--kind") {
            if (i + 1 >= args.size())
                return CliFail("measdata read: " + a + " needs a value");
            (a == "--grid" ? grid : kindName) = args[++i];
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            return CliFail("measdata read: unknown option \"" + a + "\"");
        } else if (file.empty()) {
            file = a;
        } else {
            return CliFail("measdata read: one file only");
        }
    }
    if (file.empty())
        return CliFail("measdata read: no file given");
    if (grid != "filter" && grid != "box")
        return CliFail("measdata read: --grid must be filter or box");
    if (!kindName.empty() && kindName != "spl" && kindName != "impedance")
        return CliFail("measdata read: --kind must be spl or impedance");
    if (kindName.empty()) {
        kindName = EndsWithZma(file) ? "impedance" : "spl";
        Note("read as " + kindName + " (from the file name; --kind chooses)");
    }
    const TMeasKind kind = kindName == "spl" ? TMeasKind::Spl : TMeasKind::Impedance;

    const TFilterGrid& filterGrid = context.General().FilterGrid();
    const std::vector<double> boxGrid = DefaultBoxGrid();
    const TMeasGrid onto = grid == "filter"
                               ? TMeasGrid{filterGrid.Frequencies().data(), filterGrid.Logarithms().data(),
                                           filterGrid.Count()}
                               : TMeasGrid{boxGrid.data(), nullptr, static_cast<int>(boxGrid.size())};

    std::array<std::complex<double>, TMeasGrid::kMaxPoints> response{};
    TMeasReadReport report;
    const TMeasReadResult result = ReadMeasCurveFile(file, onto, kind, response.data(), &report);
    if (result == TMeasReadResult::NotOpened)
        return CliFail("Could not open file : " + file);
    for (const std::string& note : MeasReadNotes(report))
        Note(note);
    if (result != TMeasReadResult::Loaded)
        return CliFail("measdata read: " + file + " holds no curve on the " + grid + " grid");

    std::vector<double> y(static_cast<std::size_t>(onto.count));
    std::vector<double> phase(static_cast<std::size_t>(onto.count));
    if (kind == TMeasKind::Spl)
        LevelAndPhase(response.data(), onto.count, y.data(), phase.data());
    else
        MagnitudeAndPhase(response.data(), onto.count, y.data(), phase.data());
    TExportCurve curve;
    curve.kind = kind == TMeasKind::Spl ? TCurveKind::Spl : TCurveKind::Impedance;
    curve.count = onto.count;
    curve.x = onto.frequencies;
    curve.y = y.data();
    curve.phase = phase.data();
    const std::string text =
        CurveFileText(kind == TMeasKind::Spl ? TExportFormat::Frd : TExportFormat::Zma, curve, std::string());
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : CliFail("measdata read: could not write the output");
}

int RunMeasData(TProgramContext& context, const TCliArgs& args)
{
    if (args.empty() || args[0] != "read")
        return CliFail("measdata: expected \"read FILE\" (see tonvek-cli --help)");
    return RunRead(context, TCliArgs(args.begin() + 1, args.end()));
}

const TCliRegistration kRegistration{"measdata", kUsage, RunMeasData};

} // namespace
