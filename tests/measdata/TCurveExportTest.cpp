// Curve export: the layout chosen by the extension, the five layouts line by line,
// reading an export back, and the export commands of the curve owners.
#include "MeasTestSupport.h"

#include "measdata/TCurveExporters.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <clocale>
#include <sstream>

using namespace meastest;

namespace {

const double kX[] = {100.0, 1000.5, 20000.0};
const double kY[] = {80.0, -3.25, 1234.5678915};
const double kPhase[] = {10.0, -179.9999994, 0.0000004};

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

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

TEST(ExportFormat, ChosenByTheUpperCasedExtension)
{
    struct Case {
        const char* name;
        std::optional<TExportFormat> format;
    };
    const Case cases[] = {
        {"a.frd", TExportFormat::Frd},  {"/x/A.FRD", TExportFormat::Frd}, {"b.zma", TExportFormat::Zma},
        {"c.Gdt", TExportFormat::Gdt},  {"d.fmp", TExportFormat::Fmp},    {"e.fM", TExportFormat::Fm},
        {"/tmp/.frd", TExportFormat::Frd},
        {"noext", std::nullopt},        {"x.txt", std::nullopt},          {"x.frd.bak", std::nullopt},
        {"dir.frd/x", std::nullopt},    {"x.", std::nullopt},             {"x.fmx", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExportFormatOf(c.name), c.format) << c.name;
}

TEST(CurveFileText, PlainLayoutsHaveOneHeaderLine)
{
    const std::string frd = CurveFileText(TExportFormat::Frd, Curve3(TCurveKind::Spl), "");
    EXPECT_EQ(frd, "   Hz\t\tdB\t\tdeg\n"
                   " 100.000000\t80.000000\t10.000000\n"
                   " 1000.500000\t-3.250000\t-179.999999\n"
                   " 20000.000000\t1234.567892\t0.000000\n");
    const std::string zma = CurveFileText(TExportFormat::Zma, Curve3(TCurveKind::Impedance), "");
    EXPECT_EQ(Lines(zma)[0], "   Hz\t\tohm\t\tdeg");
    EXPECT_EQ(Lines(zma).size(), 4u);
}

TEST(CurveFileText, TitleAndHeaderByKind)
{
    struct Case {
        TCurveKind kind;
        const char* title;
        const char* header3;
        const char* header2;
    };
    const Case cases[] = {
        {TCurveKind::Spl, "Acoustic on Axis Free Air Response", "   Hz\t\tdB\t\tdeg", "   Hz\t\tdB"},
        {TCurveKind::SplRoomCabinet, "Acoustic on Axis Response in Room/Cabinet", "   Hz\t\tdB\t\tdeg", "   Hz\t\tdB"},
        {TCurveKind::SplStandingWaves, "Acoustic Response with Standing wave Modes", "   Hz\t\tdB\t\tdeg",
         "   Hz\t\tdB"},
        {TCurveKind::FilterGain, "Filter gain", "   Hz\t\tdB\t\tdeg", "   Hz\t\tdB"},
        {TCurveKind::Impedance, "Impedance: ohm, phase", "   Hz\t\tohm\t\tdeg", "   Hz\t\tohm"},
        {TCurveKind::GroupDelay, "Group delay", "   Hz\t\tms", "   Hz\t\tms"},
        {TCurveKind::TimeResponse, "Step response", "   ms", "   ms"},
    };
    for (const Case& c : cases) {
        TExportCurve curve = Curve3(c.kind);
        curve.caption = "Step response";
        const auto fmp = Lines(CurveFileText(TExportFormat::Fmp, curve, ""));
        EXPECT_EQ(fmp[0], c.title);
        EXPECT_EQ(fmp[1], c.header3);
        EXPECT_EQ(fmp.size(), 5u);
        const auto fm = Lines(CurveFileText(TExportFormat::Fm, curve, ""));
        EXPECT_EQ(fm[0], c.title);
        EXPECT_EQ(fm[1], c.header2);
        EXPECT_EQ(fm[2], " 100.000000\t80.000000");
    }
}

TEST(CurveFileText, GroupDelayAndTimeResponsesHaveAZeroThirdColumn)
{
    for (TCurveKind kind : {TCurveKind::GroupDelay, TCurveKind::TimeResponse}) {
        const auto frd = Lines(CurveFileText(TExportFormat::Frd, Curve3(kind), ""));
        EXPECT_EQ(frd[1], " 100.000000\t80.000000\t0.000000");
        const auto fm = Lines(CurveFileText(TExportFormat::Fm, Curve3(kind), ""));
        EXPECT_EQ(fm[2], " 100.000000\t80.000000");
    }
    TExportCurve noPhase = Curve3(TCurveKind::Spl);
    noPhase.phase = nullptr;
    EXPECT_EQ(Lines(CurveFileText(TExportFormat::Frd, noPhase, ""))[1], " 100.000000\t80.000000\t0.000000");
}

TEST(CurveFileText, GdtStatesItsPointCount)
{
    std::vector<double> x(200), y(200, 1.0);
    for (int i = 0; i < 200; ++i)
        x[static_cast<std::size_t>(i)] = 20.0 + i;
    TExportCurve c;
    c.kind = TCurveKind::Spl;
    c.count = 200;
    c.x = x.data();
    c.y = y.data();
    const auto lines = Lines(CurveFileText(TExportFormat::Gdt, c, "Wed Dec  9 15:28:20 2026"));
    ASSERT_EQ(lines.size(), 7u + 200u + 1u);
    EXPECT_EQ(lines[0], "* LEAP Version 4.00, Export Graph Data table (GDT) Format");
    EXPECT_EQ(lines[1], "* Wed Dec  9 15:28:20 2026");
    EXPECT_EQ(lines[2], "* DGL Library Name : Tonvek");
    EXPECT_EQ(lines[3], "* DGL Entry Number : 1, Name : ---");
    EXPECT_EQ(lines[4], "* Number of Points : 200");
    EXPECT_EQ(lines[5], "*  Graph 1 > Acoustic on Axis Free Air Response");
    EXPECT_EQ(lines[6], "*    Hz\t\tdB\t\tdeg");
    EXPECT_EQ(lines[7], " 20.000000\t1.000000\t0.000000");
    EXPECT_EQ(lines[206], " 219.000000\t1.000000\t0.000000");
    EXPECT_EQ(lines[207], "* End of LEAP GDT File.");
}

TEST(CurveFileText, DateIsTheTwentyFourCharacterForm)
{
    const std::string when = ExportDateTime(0);
    EXPECT_EQ(when.size(), 24u);
    EXPECT_EQ(when[3], ' ');
    EXPECT_EQ(when[13], ':');
}

TEST(CurveFileText, DecimalPointWhateverTheLocale)
{
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    const std::string text = CurveFileText(TExportFormat::Frd, Curve3(TCurveKind::Spl), "");
    Curve c{};
    const TMeasReadResult read = ReadMeasCurveText(text, OnFilterGrid(), TMeasKind::Spl, c.data());
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(Lines(text)[1], " 100.000000\t80.000000\t10.000000");
    EXPECT_EQ(read, TMeasReadResult::Loaded);
}

TEST(CurveFileText, ZeroLevelIsFinite)
{
    const std::complex<double> z[] = {{0.0, 0.0}, {1.0, 0.0}, {0.0, -2.0}};
    double db[3], deg[3];
    LevelAndPhase(z, 3, db, deg);
    EXPECT_EQ(db[0], -400.0);
    EXPECT_EQ(db[1], 0.0);
    EXPECT_NEAR(deg[2], -90.0, 1e-12);
    double mag[3];
    MagnitudeAndPhase(z, 3, mag, deg);
    EXPECT_EQ(mag[2], 2.0);
}

// An export read back onto the grid it was written from gives the same curve within
// the six printed decimals, in every three-column layout.
TEST(CurveExportRoundTrip, ThreeColumnLayoutsReadBack)
{
    const TFilterGrid& grid = FilterGrid();
    for (const auto& [file, kind] : {std::pair{"DCS255-4@0.frd", TMeasKind::Spl},
                                     std::pair{"ND25FA-4@0.frd", TMeasKind::Spl},
                                     std::pair{"sample.frd", TMeasKind::Spl},
                                     std::pair{"L16RNX_0g_242_27mV.zma", TMeasKind::Impedance},
                                     std::pair{"DCS255-4.zma", TMeasKind::Impedance}}) {
        Curve original{};
        ASSERT_EQ(ReadMeasCurveFile(std::string(TONVEK_REFDATA) + "/measured/" + file, OnFilterGrid(), kind,
                                    original.data()),
                  TMeasReadResult::Loaded);
        std::vector<double> y(500), phase(500);
        if (kind == TMeasKind::Spl)
            LevelAndPhase(original.data(), 500, y.data(), phase.data());
        else
            MagnitudeAndPhase(original.data(), 500, y.data(), phase.data());
        TExportCurve curve;
        curve.kind = kind == TMeasKind::Spl ? TCurveKind::Spl : TCurveKind::Impedance;
        curve.count = 500;
        curve.x = grid.Frequencies().data();
        curve.y = y.data();
        curve.phase = phase.data();
        TempDir dir;
        for (const char* name : {"out.frd", "out.zma", "out.gdt", "out.fmp"}) {
            const std::string path = dir.File(name);
            ASSERT_TRUE(WriteCurveFile(path, *ExportFormatOf(path), curve));
            Curve back{};
            ASSERT_EQ(ReadMeasCurveFile(path, OnFilterGrid(), kind, back.data()), TMeasReadResult::Loaded) << name;
            for (int i = 0; i < 500; ++i) {
                const auto k = static_cast<std::size_t>(i);
                EXPECT_LT(std::abs(back[k] - original[k]), 2e-5 * std::abs(original[k]))
                    << file << " " << name << " at " << grid.Frequency(i) << " Hz";
            }
        }
        // Two columns: the levels come back, the phase is 0.
        const std::string fm = dir.File("out.fm");
        ASSERT_TRUE(WriteCurveFile(fm, TExportFormat::Fm, curve));
        Curve back{};
        ASSERT_EQ(ReadMeasCurveFile(fm, OnFilterGrid(), kind, back.data()), TMeasReadResult::Loaded);
        for (std::size_t k = 0; k < 500; ++k) {
            EXPECT_NEAR(std::abs(back[k]), std::abs(original[k]), 2e-5 * std::abs(original[k]));
            EXPECT_EQ(back[k].imag(), 0.0);
        }
    }
}

class ExportCommand : public ::testing::Test {
protected:
    TExportCurveSource Source()
    {
        return [this]() -> std::optional<TExportCurve> {
            ++asked;
            return Curve3(TCurveKind::Spl);
        };
    }
    THeadlessHost host;
    TExportDialogs dialogs;
    TempDir dir;
    int asked = 0;
};

TEST_F(ExportCommand, RefusesUnknownExtensionsWithTheOwnersIcon)
{
    const std::string path = dir.File("curve.txt");
    host.QueueFileName(path);
    EXPECT_EQ(ExportBoxCurve(host, dialogs, TBoxExport::Spl, Source()), TExportOutcome::Refused);
    host.QueueFileName(path);
    EXPECT_EQ(ExportFilterTotal(host, dialogs, TFilterTotalExport::GroupDelayTotal, Source()), TExportOutcome::Refused);
    host.QueueFileName(dir.File("curve"));
    EXPECT_EQ(ExportSectionCurve(host, dialogs, TSectionExport::FilterGain, Source()), TExportOutcome::Refused);
    ASSERT_EQ(host.Messages().size(), 3u);
    for (const auto& m : host.Messages()) {
        EXPECT_EQ(m.text, "No valid export format selected");
        EXPECT_EQ(m.title, "Export error");
    }
    EXPECT_EQ(host.Messages()[0].icon, TMsgIcon::Warning);
    EXPECT_EQ(host.Messages()[1].icon, TMsgIcon::Warning);
    EXPECT_EQ(host.Messages()[2].icon, TMsgIcon::None);
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ExportCommand, ImpedancesUseTheImpedanceDialog)
{
    host.QueueFileName(dir.File("z.zma"));
    host.QueueFileName(dir.File("gd.frd"));
    ASSERT_EQ(ExportBoxCurve(host, dialogs, TBoxExport::InputImpedance, Source()), TExportOutcome::Written);
    ASSERT_EQ(ExportBoxCurve(host, dialogs, TBoxExport::GroupDelay, Source()), TExportOutcome::Written);
    ASSERT_EQ(host.FileRequests().size(), 2u);
    EXPECT_EQ(host.FileRequests()[0].filter,
              "LAUD impedance (*.zma)|*.zma|LEAP (*.gdt)|*.gdt|MLLSA (*.fmp)|*.fmp|MLLSA standard(*.fm)|*.fm"
              "|CSV files (*.csv)|*.csv|");
    EXPECT_EQ(host.FileRequests()[0].defaultExtension, "zma");
    EXPECT_EQ(host.FileRequests()[1].filter,
              "LAUD frequency resp (*.frd)|*.frd|LEAP (*.gdt)|*.gdt|MLLSA (*.fmp)|*.fmp|MLLSA standard(*.fm)|*.fm"
              "|CSV files (*.csv)|*.csv|");
    EXPECT_EQ(host.FileRequests()[1].defaultExtension, "frd");
    // The kind comes from the command: the impedance header and a zero delay phase column.
    EXPECT_EQ(Lines(ReadText(dir.File("z.zma")))[0], "   Hz\t\tohm\t\tdeg");
    EXPECT_EQ(Lines(ReadText(dir.File("gd.frd")))[1], " 100.000000\t80.000000\t0.000000");
}

TEST_F(ExportCommand, CancellingKeepsAnOldFile)
{
    const std::string path = dir.Write("old.frd", "old content\n");
    host.QueueFileName(std::nullopt);
    EXPECT_EQ(ExportFilterTotal(host, dialogs, TFilterTotalExport::SplTotal, Source()), TExportOutcome::Cancelled);
    // The ray choice of the SPL total is cancelled after the name was chosen.
    host.QueueFileName(path);
    EXPECT_EQ(ExportFilterTotal(host, dialogs, TFilterTotalExport::SplTotal,
                                [] { return std::optional<TExportCurve>(); }),
              TExportOutcome::Cancelled);
    EXPECT_EQ(ReadText(path), "old content\n");
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(ExportCommand, WritesOverAnOldFileAndReportsFailure)
{
    const std::string path = dir.Write("old.fm", "old content\n");
    host.QueueFileName(path);
    EXPECT_EQ(ExportSectionCurve(host, dialogs, TSectionExport::Spl, Source()), TExportOutcome::Written);
    EXPECT_EQ(Lines(ReadText(path))[0], "Acoustic on Axis Free Air Response");
    EXPECT_EQ(dialogs.level.initialName, path);

    const std::string nowhere = dir.File("no/such/folder/x.frd");
    host.QueueFileName(nowhere);
    EXPECT_EQ(ExportBoxCurve(host, dialogs, TBoxExport::Spl, Source()), TExportOutcome::Failed);
    ASSERT_NE(host.LastMessage(), nullptr);
    EXPECT_EQ(host.LastMessage()->text, "Could not save to file '" + nowhere + "'");
    EXPECT_EQ(host.LastMessage()->title, "Export error");
}

} // namespace
