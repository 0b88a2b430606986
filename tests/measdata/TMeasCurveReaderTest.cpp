// The reader's walk over the grid: extension below the data, interpolation in the
// logarithm of frequency, the phase rule, completion, and the forms real files take.
#include "MeasTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace meastest;

namespace {

constexpr double kHalfway = 141.4213562373095; // sqrt(100 * 200)

Curve ReadOnto(const std::string& text, const std::vector<double>& grid, TMeasKind kind,
               TMeasReadResult expect = TMeasReadResult::Loaded, TMeasReadReport* report = nullptr)
{
    Curve out{};
    const TMeasGrid onto{grid.data(), nullptr, static_cast<int>(grid.size())};
    EXPECT_EQ(ReadMeasCurveText(text, onto, kind, out.data(), report), expect) << text;
    return out;
}

Curve ReadFilter(const std::string& text, TMeasKind kind = TMeasKind::Spl,
                 TMeasReadResult expect = TMeasReadResult::Loaded, TMeasReadReport* report = nullptr)
{
    Curve out{};
    EXPECT_EQ(ReadMeasCurveText(text, OnFilterGrid(), kind, out.data(), report), expect);
    return out;
}

void ExpectSameCurve(const Curve& a, const Curve& b, int count = TFilterGrid::kPoints)
{
    for (int i = 0; i < count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        ASSERT_EQ(a[k], b[k]) << "grid point " << i;
    }
}

TEST(MeasCurveReader, HalfwayOnTheLogScaleIsHalfTheDecibels)
{
    const Curve c = ReadOnto("100 0 0\n200 6.0206 0\n", {kHalfway}, TMeasKind::Spl);
    EXPECT_NEAR(Db(c[0]), 3.0103, 1e-4);
    EXPECT_NEAR(std::abs(c[0]), 1.41421, 1e-5);
    EXPECT_NEAR(c[0].imag(), 0.0, 1e-12);
}

TEST(MeasCurveReader, ImpedanceInterpolatesInOhms)
{
    const Curve c = ReadOnto("100 6 0\n200 8 0\n", {kHalfway}, TMeasKind::Impedance);
    EXPECT_NEAR(std::abs(c[0]), 7.0, 1e-12); // dB interpolation would give 6.928
}

TEST(MeasCurveReader, PhaseIsNotAveragedAcrossTheWrap)
{
    // t = 0.263 at 120 Hz and 0.848 at 180 Hz
    const Curve c = ReadOnto("100 0 170\n200 0 -170\n", {120.0, 180.0}, TMeasKind::Spl);
    EXPECT_NEAR(Degrees(c[0]), 170.0, 1e-6);
    EXPECT_NEAR(Degrees(c[1]), -170.0, 1e-6);
    // Same sign: linear in the phase.
    const Curve d = ReadOnto("100 0 10\n200 0 30\n", {kHalfway}, TMeasKind::Spl);
    EXPECT_NEAR(Degrees(d[0]), 20.0, 1e-6);
    // With a sign change the nearer line on the logarithmic scale gives the phase.
    const Curve e = ReadOnto("100 0 -10\n200 0 30\n", {141.3, 141.5}, TMeasKind::Spl);
    EXPECT_NEAR(Degrees(e[0]), -10.0, 1e-6);
    EXPECT_NEAR(Degrees(e[1]), 30.0, 1e-6);
}

TEST(MeasCurveReader, PhaseDegreesConvertedWithTheStoredPi)
{
    const Curve c = ReadOnto("100 1 90\n", {50.0}, TMeasKind::Impedance);
    const double radians = 90.0 * (1.0 / 180.0) * 3.14159265359;
    EXPECT_DOUBLE_EQ(c[0].real(), std::cos(radians));
    EXPECT_DOUBLE_EQ(c[0].imag(), std::sin(radians));
}

TEST(MeasCurveReader, TwentyHertzToTwentyKilohertzOnTheFilterGrid)
{
    std::string text;
    double lastLine = 0.0;
    for (double f = 20.0; f <= 15000.0; f *= 1.05) {
        text += std::to_string(f) + " " + std::to_string(80.0 + 10.0 * std::sin(f / 1000.0)) + " " +
                std::to_string(30.0 * std::cos(f / 300.0)) + "\n";
        lastLine = std::stod(std::to_string(f));
    }
    TMeasReadReport report;
    const Curve c = ReadFilter(text, TMeasKind::Spl, TMeasReadResult::Loaded, &report);
    const TFilterGrid& g = FilterGrid();
    int below = 0;
    while (g.Frequency(below) < 20.0)
        ++below;
    EXPECT_EQ(report.pointsBelowData, below);
    for (int i = 0; i < below; ++i)
        EXPECT_EQ(c[static_cast<std::size_t>(i)], c[static_cast<std::size_t>(below - 1)]);
    EXPECT_NEAR(Db(c[0]), 80.0 + 10.0 * std::sin(0.02), 1e-5);

    int lastInterpolated = 0;
    while (g.Frequency(lastInterpolated + 1) < lastLine)
        ++lastInterpolated;
    EXPECT_EQ(report.pointsAboveData, 499 - lastInterpolated);
    for (int i = lastInterpolated + 1; i < 500; ++i)
        EXPECT_EQ(c[static_cast<std::size_t>(i)], c[static_cast<std::size_t>(lastInterpolated)]);
    EXPECT_NE(c[static_cast<std::size_t>(lastInterpolated)], c[static_cast<std::size_t>(lastInterpolated - 1)]);
}

TEST(MeasCurveReader, HeaderLinesReadTheSameAsNoHeader)
{
    const std::string data = "100 80 10\n1000 90 -20\n5000 85 40\n";
    const Curve plain = ReadFilter(data);
    for (const std::string header :
         {"* a header\n", "**********\n* FILE:C:\\a b\\x.frd\n**********\n", "\"Freq\",\"dB\",\"Phase\"\n",
          "# REW export\n", "! comment\n; comment\n", "Frequency  Level  Phase\n", "\n\n   \n",
          "Freq dB deg\n0 0 0\n-5 1 1\n512\n512 points\n"}) {
        ExpectSameCurve(ReadFilter(header + data), plain);
    }
}

TEST(MeasCurveReader, LineFormsOfOtherProgramsReadAlike)
{
    const Curve plain = ReadFilter("100\t80\t10\n1000\t90\t-20\n5000\t85\t40\n");
    for (const std::string form :
         {"100,80,10\n1000,90,-20\n5000,85,40\n", "100, 80, 10\n1000, 90, -20\n5000, 85, 40\n",
          "100;80;10\n1000;90;-20\n5000;85;40\n", "100;80,0;10,0\n1000;90,0;-20,0\n5000;85,0;40,0\n",
          "100 80,0 10,0\n1000 90,0 -20,0\n5000 85,0 40,0\n", "100 80 10\r\n1000 90 -20\r\n5000 85 40\r\n",
          "100 80 10\r1000 90 -20\r5000 85 40\r", "\xEF\xBB\xBF" "100 80 10\n1000 90 -20\n5000 85 40\n",
          "100 80 10\n\n1000 90 -20\n  \n5000 85 40", "+100 +80 +10\n1.0e3 9.0e1 -2.0e1\n5000 85 40\n",
          "100 80 10 0.1\n1000 90 -20 0.2\n5000 85 40 0.3\n"}) {
        ExpectSameCurve(ReadFilter(form), plain);
    }
}

TEST(MeasCurveReader, TwoColumnFilesHavePhaseZero)
{
    TMeasReadReport report;
    const Curve c = ReadFilter("Frequency(Hz), Magnitude(dB)\n100, 80\n1000, 90\n", TMeasKind::Spl,
                               TMeasReadResult::Loaded, &report);
    for (const auto& z : c)
        EXPECT_EQ(z.imag(), 0.0);
    EXPECT_EQ(report.missingPhaseLines, 2);
    EXPECT_EQ(report.commaLines, 2);
}

TEST(MeasCurveReader, MissingFieldsInsideTheDataKeepTheLineBefore)
{
    const Curve carried = ReadOnto("100 6 30\n200\n", {kHalfway}, TMeasKind::Impedance);
    const Curve full = ReadOnto("100 6 30\n200 6 30\n", {kHalfway}, TMeasKind::Impedance);
    ExpectSameCurve(carried, full, 1);
}

TEST(MeasCurveReader, DenseDataUsesTheNeighbouringLines)
{
    // At 150 Hz the neighbours are 120 Hz and 200 Hz; 100 and 110 Hz play no part.
    const Curve c = ReadOnto("100 0 0\n110 10 0\n120 20 0\n200 0 0\n", {150.0}, TMeasKind::Spl);
    const double t = std::log(150.0 / 120.0) / std::log(200.0 / 120.0);
    EXPECT_NEAR(Db(c[0]), 20.0 * (1.0 - t), 1e-9);
    // Data sparser than the grid: every grid point between two lines uses those two.
    const Curve s = ReadOnto("100 0 0\n200 6 0\n", {110.0, 120.0, 150.0, 190.0}, TMeasKind::Spl);
    for (int i = 0; i < 4; ++i) {
        const double f = std::vector<double>{110.0, 120.0, 150.0, 190.0}[static_cast<std::size_t>(i)];
        EXPECT_NEAR(Db(s[static_cast<std::size_t>(i)]), 6.0 * std::log(f / 100.0) / std::log(2.0), 1e-9);
    }
}

TEST(MeasCurveReader, LastLineOnTheLastGridPointIsUsed)
{
    // 20000.000000 as printed, a hair off the grid's own 20 kHz
    const Curve c = ReadFilter("10000 80 0\n19000 80 0\n20000.000000 90 0\n");
    EXPECT_NEAR(Db(c[499]), 90.0, 1e-9);
    // A last line well below the next grid point leaves that point to be held.
    const Curve d = ReadOnto("100 0 0\n200 6 0\n", {150.0, 199.0, 201.0}, TMeasKind::Spl);
    EXPECT_EQ(d[2], d[1]);
}

TEST(MeasCurveReader, Completion)
{
    struct Case {
        const char* text;
        TMeasReadResult result;
    };
    const Case cases[] = {
        {"", TMeasReadResult::NotLoaded},
        {"* header only\nFreq dB deg\n", TMeasReadResult::NotLoaded},
        {"1 80 0\n2 81 0\n5 82 0\n", TMeasReadResult::NotLoaded},   // at or below 5 Hz, nothing after
        {"1 80 0\n2 81 0\n5.1 82 0\n", TMeasReadResult::Loaded},    // one line above the lowest point
        {"30000 80 0\n", TMeasReadResult::Loaded},                   // all points below the first line
        {"100 80 0\n", TMeasReadResult::Loaded},                     // below extended, above held
        {"100\n200\n", TMeasReadResult::NotLoaded},                  // no level anywhere
    };
    for (const Case& c : cases) {
        Curve out;
        out.fill({7.0, 7.0});
        EXPECT_EQ(ReadMeasCurveText(c.text, OnFilterGrid(), TMeasKind::Spl, out.data()), c.result) << c.text;
        if (c.result == TMeasReadResult::NotLoaded) {
            for (const auto& z : out)
                ASSERT_EQ(z, std::complex<double>(7.0, 7.0)) << "response changed by " << c.text;
        }
    }
    const Curve flat = ReadFilter("100 20 0\n");
    for (const auto& z : flat)
        EXPECT_NEAR(std::abs(z), 10.0, 1e-12);
}

TEST(MeasCurveReader, DescendingFilesAreSorted)
{
    const Curve up = ReadFilter("100 80 10\n1000 90 -20\n5000 85 40\n");
    TMeasReadReport report;
    const Curve down =
        ReadFilter("5000 85 40\n1000 90 -20\n100 80 10\n", TMeasKind::Spl, TMeasReadResult::Loaded, &report);
    ExpectSameCurve(down, up);
    EXPECT_TRUE(report.sorted);
    EXPECT_EQ(report.dataLines, 3);
    // A rising file passes over a stray line below the one before.
    TMeasReadReport strayReport;
    const Curve stray = ReadFilter("100 80 10\n1000 90 -20\n2 0 0\n1 sample averaged\n5000 85 40\n1 70\n", TMeasKind::Spl,
                                   TMeasReadResult::Loaded, &strayReport);
    ExpectSameCurve(stray, up);
    EXPECT_FALSE(strayReport.sorted);
    EXPECT_EQ(strayReport.descendingLines, 2);
    EXPECT_EQ(strayReport.textLines, 1);
}

TEST(MeasCurveReader, RepeatedFrequenciesStayFinite)
{
    TMeasReadReport report;
    const Curve c = ReadOnto("100 0 0\n100 6 0\n100 12 0\n200 6 0\n200 0 0\n", {80.0, 100.0, kHalfway, 300.0},
                             TMeasKind::Spl, TMeasReadResult::Loaded, &report);
    for (const auto& z : c) {
        ASSERT_TRUE(std::isfinite(z.real()));
        ASSERT_TRUE(std::isfinite(z.imag()));
    }
    EXPECT_NEAR(Db(c[0]), 0.0, 1e-12);  // below the data: the first line
    EXPECT_NEAR(Db(c[1]), 12.0, 1e-9);  // at 100 Hz: the last 100 Hz line
    EXPECT_NEAR(Db(c[2]), 9.0, 1e-9);   // between the last 100 Hz line and the first 200 Hz line
    EXPECT_NEAR(Db(c[3]), 9.0, 1e-9);   // above the data: held
    EXPECT_EQ(report.repeatedFrequencyLines, 3);
}

TEST(MeasCurveReader, BoxGridComputesItsOwnLogarithms)
{
    // The default box grid: 50 points from 20 to 2000 Hz.
    std::vector<double> grid;
    const double step = std::log10(2000.0 / 20.0) / 49.0;
    for (int i = 0; i < 50; ++i)
        grid.push_back(std::pow(10.0, i * step) * 20.0);
    const std::string text = "10 70 45\n100 80 90\n1000 90 135\n10000 100 180\n";
    const Curve c = ReadOnto(text, grid, TMeasKind::Spl);
    for (int i = 0; i < 50; ++i) {
        const double f = grid[static_cast<std::size_t>(i)];
        EXPECT_NEAR(Db(c[static_cast<std::size_t>(i)]), 60.0 + 10.0 * std::log10(f), 1e-9) << f;
        EXPECT_NEAR(Degrees(c[static_cast<std::size_t>(i)]), 45.0 * std::log10(f), 1e-6) << f;
    }
}

TEST(MeasCurveReader, ReportsWhatItMet)
{
    TMeasReadReport report;
    const std::string text = "\xEF\xBB\xBF* Data: db(Response), Group Delay (sec)\r\n\r\n100 80 0.1\r\n1000 90\r\n";
    (void)ReadFilter(text, TMeasKind::Spl, TMeasReadResult::Loaded, &report);
    EXPECT_TRUE(report.byteOrderMark);
    EXPECT_TRUE(report.mentionsGroupDelay);
    EXPECT_EQ(report.crLfLines, 4);
    EXPECT_EQ(report.commentLines, 1);
    EXPECT_EQ(report.blankLines, 1);
    EXPECT_EQ(report.dataLines, 2);
    EXPECT_EQ(report.missingPhaseLines, 1);
    EXPECT_DOUBLE_EQ(report.lowestFrequency, 100.0);
    EXPECT_DOUBLE_EQ(report.highestFrequency, 1000.0);
    EXPECT_FALSE(MeasReadNotes(report).empty());
}

TEST(MeasCurveReader, StopsReadingOnceTheGridIsComplete)
{
    std::string text = "10 80 0\n30000 80 0\n";
    for (int i = 0; i < 1000; ++i)
        text += "garbage line\n";
    TMeasReadReport report;
    (void)ReadFilter(text, TMeasKind::Spl, TMeasReadResult::Loaded, &report);
    EXPECT_TRUE(report.restUnread);
    EXPECT_EQ(report.lines, 2);
}

} // namespace
