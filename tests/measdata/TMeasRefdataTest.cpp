// Every measured file collected in ../shared/refdata/measured/ (see SOURCES.md there)
// reads as loaded, with levels and impedances where the drivers have them.
#include "MeasTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace meastest;

namespace {

struct RefFile {
    const char* name;
    TMeasKind kind;
    double low, high;       // range of the curve on the grid, dB or ohm
    int commentLines;       // header lines the file carries
};

const RefFile kFiles[] = {
    {"AN25F-4@0.frd", TMeasKind::Spl, 10.0, 130.0, 0},
    {"DCS255-4@0.frd", TMeasKind::Spl, 10.0, 130.0, 0},
    {"ND25FA-4@0.frd", TMeasKind::Spl, 10.0, 130.0, 0},
    {"TCP115-8@0.frd", TMeasKind::Spl, 10.0, 130.0, 0},
    {"sample.frd", TMeasKind::Spl, 10.0, 130.0, 5},
    // ARTA writes a relative magnitude, so its level lies below 0 dB.
    {"frs1ArtaMag.csv", TMeasKind::Spl, -40.0, 0.0, 1},
    {"DCS255-4.zma", TMeasKind::Impedance, 1.0, 200.0, 0},
    {"ND25FA-4.zma", TMeasKind::Impedance, 1.0, 200.0, 0},
    {"L16RNX_0g_242_27mV.zma", TMeasKind::Impedance, 1.0, 200.0, 5},
    {"L16RNX_8_017g_242_27mV.zma", TMeasKind::Impedance, 1.0, 200.0, 5},
    {"L16RNX_16_048g_242_27mV.zma", TMeasKind::Impedance, 1.0, 200.0, 1},
    {"sample.zma", TMeasKind::Impedance, 1.0, 200.0, 5},
};

std::string PathOf(const RefFile& f) { return std::string(TONVEK_REFDATA) + "/measured/" + f.name; }

double Value(TMeasKind kind, std::complex<double> z) { return kind == TMeasKind::Spl ? Db(z) : std::abs(z); }

class RefMeasFile : public ::testing::TestWithParam<RefFile> {};

TEST_P(RefMeasFile, ReadsWithSaneValuesOnBothGrids)
{
    const RefFile& f = GetParam();
    TMeasReadReport report;
    Curve c{};
    ASSERT_EQ(ReadMeasCurveFile(PathOf(f), OnFilterGrid(), f.kind, c.data(), &report), TMeasReadResult::Loaded)
        << f.name;
    EXPECT_EQ(report.commentLines, f.commentLines);
    EXPECT_EQ(report.textLines + report.binaryLines + report.longLines, 0);
    for (int i = 0; i < TFilterGrid::kPoints; ++i) {
        const double v = Value(f.kind, c[static_cast<std::size_t>(i)]);
        ASSERT_GE(v, f.low) << f.name << " at " << FilterGrid().Frequency(i) << " Hz";
        ASSERT_LE(v, f.high) << f.name << " at " << FilterGrid().Frequency(i) << " Hz";
    }

    // The default box grid, 50 points from 20 Hz to 2 kHz, through the same reader.
    double box[50];
    for (int i = 0; i < 50; ++i)
        box[i] = std::pow(10.0, i * std::log10(100.0) / 49.0) * 20.0;
    Curve b{};
    ASSERT_EQ(ReadMeasCurveFile(PathOf(f), {box, nullptr, 50}, f.kind, b.data()), TMeasReadResult::Loaded);
    for (int i = 0; i < 50; ++i) {
        const double v = Value(f.kind, b[static_cast<std::size_t>(i)]);
        ASSERT_GE(v, f.low);
        ASSERT_LE(v, f.high);
    }
}

INSTANTIATE_TEST_SUITE_P(Measured, RefMeasFile, ::testing::ValuesIn(kFiles),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             std::replace_if(n.begin(), n.end(), [](char c) { return !std::isalnum(c); }, '_');
                             return n;
                         });

// Published or cross-checked figures (SOURCES.md): the woofer's impedance peak near
// 37 Hz at about 54 ohm, the tweeter's resonance near 1.5 kHz at about 5 ohm.
TEST(RefMeasFile, ImpedancePeaksWhereTheDriversResonate)
{
    struct Peak {
        const char* name;
        double from, to;   // search band, Hz
        double fPeak, zPeak;
    };
    for (const Peak& p : {Peak{"DCS255-4.zma", 20.0, 100.0, 37.0, 54.06}, Peak{"ND25FA-4.zma", 800.0, 3000.0, 1491.0, 4.955},
                          Peak{"L16RNX_0g_242_27mV.zma", 20.0, 100.0, 45.0, 29.02}}) {
        Curve c{};
        ASSERT_EQ(ReadMeasCurveFile(std::string(TONVEK_REFDATA) + "/measured/" + p.name, OnFilterGrid(),
                                    TMeasKind::Impedance, c.data()),
                  TMeasReadResult::Loaded);
        double best = 0.0, at = 0.0;
        for (int i = 0; i < TFilterGrid::kPoints; ++i) {
            const double f = FilterGrid().Frequency(i);
            if (f >= p.from && f <= p.to && std::abs(c[static_cast<std::size_t>(i)]) > best) {
                best = std::abs(c[static_cast<std::size_t>(i)]);
                at = f;
            }
        }
        EXPECT_NEAR(at, p.fPeak, p.fPeak * 0.03) << p.name;
        EXPECT_NEAR(best, p.zPeak, p.zPeak * 0.03) << p.name;
    }
}

TEST(RefMeasFile, FormatQuirksAreReported)
{
    const std::string dir = std::string(TONVEK_REFDATA) + "/measured/";
    Curve c{};
    TMeasReadReport report;
    ASSERT_EQ(ReadMeasCurveFile(dir + "sample.frd", OnFilterGrid(), TMeasKind::Spl, c.data(), &report),
              TMeasReadResult::Loaded);
    EXPECT_TRUE(report.mentionsGroupDelay);
    ASSERT_EQ(ReadMeasCurveFile(dir + "frs1ArtaMag.csv", OnFilterGrid(), TMeasKind::Spl, c.data(), &report),
              TMeasReadResult::Loaded);
    EXPECT_GT(report.commaLines, 700);
    EXPECT_EQ(report.missingPhaseLines, report.dataLines);
    ASSERT_EQ(ReadMeasCurveFile(dir + "DCS255-4@0.frd", OnFilterGrid(), TMeasKind::Spl, c.data(), &report),
              TMeasReadResult::Loaded);
    EXPECT_GT(report.crLfLines, 400);
    EXPECT_EQ(report.pointsBelowData, 83); // grid points below the first line at 19.87 Hz
}

} // namespace
