// Curve export as CSV for spreadsheets: picked by the extension, a header that names
// each column, exact values with a "." whatever the locale, and the export command.
#include "MeasTestSupport.h"

#include "measdata/TCurveExporters.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <sstream>

using namespace meastest;

namespace {

const double kX[] = {20.0, 1000.5, 19999.999999999996};
const double kY[] = {80.123456789012345, -3.25e-9, 1234.5678915};
const double kPhase[] = {-179.99999999999997, 0.0, 1e-300};

TExportCurve Curve3(TCurveKind kind)
{
    TExportCurve c;
    c.kind = kind;
    c.count = 3;
    c.x = kX;
    c.y = kY;
    c.phase = kPhase;
    return c;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> out;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        out.push_back(part);
    if (!text.empty() && text.back() == separator)
        out.emplace_back();
    return out;
}

// A cell as a spreadsheet in the C locale reads it; nothing may be left over.
bool Cell(const std::string& text, double& value)
{
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// Checks the header and that every row gives back the exact values of the curve.
void ExpectCsv(const std::string& text, const std::string& header, bool phase)
{
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    const std::vector<std::string> lines = Split(text.substr(0, text.size() - 1), '\n');
    ASSERT_EQ(lines.size(), 4u) << text;
    EXPECT_EQ(lines[0], header);
    for (std::size_t i = 0; i < 3; ++i) {
        const std::vector<std::string> cells = Split(lines[i + 1], ',');
        ASSERT_EQ(cells.size(), phase ? 3u : 2u) << lines[i + 1];
        double x = 0, y = 0, p = 0;
        ASSERT_TRUE(Cell(cells[0], x) && Cell(cells[1], y)) << lines[i + 1];
        EXPECT_EQ(x, kX[i]);
        EXPECT_EQ(y, kY[i]);
        if (phase) {
            ASSERT_TRUE(Cell(cells[2], p)) << lines[i + 1];
            EXPECT_EQ(p, kPhase[i]);
        }
    }
}

struct CsvCase {
    TCurveKind kind;
    const char* header;
    bool phase;
};

const CsvCase kCases[] = {
    {TCurveKind::Spl, "Frequency (Hz),SPL (dB),Phase (deg)", true},
    {TCurveKind::SplRoomCabinet, "Frequency (Hz),SPL (dB),Phase (deg)", true},
    {TCurveKind::SplStandingWaves, "Frequency (Hz),SPL (dB),Phase (deg)", true},
    {TCurveKind::FilterGain, "Frequency (Hz),Gain (dB),Phase (deg)", true},
    {TCurveKind::Impedance, "Frequency (Hz),Impedance (ohm),Phase (deg)", true},
    {TCurveKind::GroupDelay, "Frequency (Hz),Group delay (ms)", false},
    {TCurveKind::TimeResponse, "Time (ms),Amplitude", false},
};

TEST(CsvExport, ChosenByTheExtensionInAnyCase)
{
    for (const char* name : {"a.csv", "/x/B.CSV", "c.Csv", "/tmp/.csv"})
        EXPECT_EQ(ExportFormatOf(name), TExportFormat::Csv) << name;
    for (const char* name : {"a.csv.bak", "csv", "dir.csv/x", "a.tsv"})
        EXPECT_EQ(ExportFormatOf(name), std::nullopt) << name;
}

TEST(CsvExport, HeaderAndExactColumnsPerKind)
{
    for (const CsvCase& c : kCases) {
        SCOPED_TRACE(c.header);
        EXPECT_EQ(CurveColumnHeader(c.kind, TExportFormat::Csv), c.header);
        ExpectCsv(CurveFileText(TExportFormat::Csv, Curve3(c.kind), "Thu Jan  1 00:00:00 1970"), c.header, c.phase);
    }
}

TEST(CsvExport, MissingPhaseIsZeroAndEmptyCurveIsHeaderOnly)
{
    TExportCurve c = Curve3(TCurveKind::Spl);
    c.phase = nullptr;
    const std::vector<std::string> lines = Split(CurveFileText(TExportFormat::Csv, c, ""), '\n');
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "20,80.12345678901235,0");
    c.count = 0;
    EXPECT_EQ(CurveFileText(TExportFormat::Csv, c, ""), "Frequency (Hz),SPL (dB),Phase (deg)\n");
}

// The desktop program runs in the user's locale; a decimal comma there must not end
// up in the file, where it would split every number into two cells.
TEST(CsvExport, DecimalPointWithACommaLocale)
{
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    bool comma = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8", "de_DE"}) {
        if (std::setlocale(LC_ALL, name) && *std::localeconv()->decimal_point == ',') {
            comma = true;
            break;
        }
    }
    if (!comma) {
        std::setlocale(LC_ALL, saved.c_str());
        GTEST_SKIP() << "no locale with a decimal comma installed";
    }
    TempDir dir;
    const bool written = WriteCurveFile(dir.File("spl.csv"), TExportFormat::Csv, Curve3(TCurveKind::Impedance));
    const std::string text = ReadText(dir.File("spl.csv"));
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_TRUE(written);
    ExpectCsv(text, "Frequency (Hz),Impedance (ohm),Phase (deg)", true);
}

// The chooser's filter does not decide the layout: a name ending in .csv is written as
// CSV whichever type the user had picked, from both save dialogs.
TEST(CsvExport, ExportCommandsWriteCsvByTheName)
{
    THeadlessHost host;
    TExportDialogs dialogs;
    TempDir dir;
    auto source = [] { return std::optional<TExportCurve>(Curve3(TCurveKind::Spl)); };
    for (const TFileRequest* request : {&dialogs.level, &dialogs.impedance})
        EXPECT_NE(request->filter.find("|CSV files (*.csv)|*.csv|"), std::string::npos) << request->filter;
    host.QueueFileName(dir.File("z.CSV"));
    host.QueueFileName(dir.File("gain.csv"));
    ASSERT_EQ(ExportBoxCurve(host, dialogs, TBoxExport::InputImpedance, source), TExportOutcome::Written);
    ASSERT_EQ(ExportSectionCurve(host, dialogs, TSectionExport::FilterGain, source), TExportOutcome::Written);
    EXPECT_TRUE(host.Messages().empty());
    ExpectCsv(ReadText(dir.File("z.CSV")), "Frequency (Hz),Impedance (ohm),Phase (deg)", true);
    ExpectCsv(ReadText(dir.File("gain.csv")), "Frequency (Hz),Gain (dB),Phase (deg)", true);
}

} // namespace
