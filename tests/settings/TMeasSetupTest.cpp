#include "settings/TMeasSetup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {
constexpr double kPi = 3.14159265358979323846;
double Db(double magnitude) { return 20.0 * std::log10(magnitude); }
double Degrees(std::complex<double> z) { return std::atan2(z.imag(), z.real()) * 180.0 / kPi; }
} // namespace

TEST(TMeasSetup, FactoryValues)
{
    const TMeasSetup s;
    EXPECT_EQ(s.startFrequency, 20);
    EXPECT_EQ(s.stopFrequency, 2000);
    EXPECT_EQ(s.pointCount, 50);
    EXPECT_EQ(s.sourceLevel, 2.83);
    EXPECT_EQ(s.sourcePower, 1.0);
    EXPECT_EQ(s.sourceResistance, 0.0);
    EXPECT_EQ(s.sourceInductance, 0.0);
    EXPECT_EQ(s.highPassCutoff, 0);
    EXPECT_EQ(s.highPassQ, 0.7);
    EXPECT_TRUE(s.calculateImmediately);
    EXPECT_FALSE(s.autorange);
    EXPECT_EQ(s.splRange, 30);
    EXPECT_FALSE(s.hidePhase);
    EXPECT_TRUE(s.setupChanged);
    EXPECT_EQ(s.fileVersion, 410);
    // A fresh setup is usable at once: its grid is laid out.
    ASSERT_EQ(s.grid.Count(), 50);
    EXPECT_NEAR(s.grid.Frequency(1), 20.0 * std::pow(10.0, 2.0 / 49.0), 1e-12);
    EXPECT_NEAR(s.grid.Frequency(1), 21.97, 0.005);
    EXPECT_NEAR(s.grid.Frequency(49), 2000.0, 1e-9);
}

TEST(TFreqGrid, LogSpacedFromStartToStop)
{
    struct Row {
        std::int32_t start, stop, count;
    };
    const Row rows[] = {{20, 2000, 50}, {20, 30, 10}, {1, 20000, 500}, {1, 11, 10}, {100, 110, 2}, {5, 20000, 137}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.start) + ".." + std::to_string(r.stop) + " x" + std::to_string(r.count));
        TFreqGrid g;
        ASSERT_TRUE(g.Layout(r.start, r.stop, r.count));
        ASSERT_EQ(g.Count(), r.count);
        EXPECT_DOUBLE_EQ(g.Frequency(0), r.start);
        EXPECT_NEAR(g.Frequency(r.count - 1), r.stop, r.stop * 1e-12);
        const double ratio = std::pow(double(r.stop) / r.start, 1.0 / (r.count - 1));
        for (int i = 0; i < r.count; ++i) {
            EXPECT_NEAR(g.Omega(i), g.Frequency(i) * 6.28318530718, 1e-9 * g.Omega(i));
            if (i > 0) {
                EXPECT_NEAR(g.Frequency(i) / g.Frequency(i - 1), ratio, 1e-12);
            }
        }
    }
}

TEST(TFreqGrid, ImpossibleLayoutKeepsTheOldGrid)
{
    TFreqGrid g;
    ASSERT_TRUE(g.Layout(20, 2000, 50));
    const double f10 = g.Frequency(10);
    struct Row {
        std::int32_t start, stop, count;
    };
    const Row rows[] = {{20, 2000, 501}, {20, 2000, 1}, {20, 2000, 0}, {20, 2000, -3}, {0, 2000, 50},
                        {-5, 2000, 50}, {2000, 2000, 50}, {3000, 2000, 50}};
    for (const Row& r : rows) {
        EXPECT_FALSE(g.Layout(r.start, r.stop, r.count));
        EXPECT_EQ(g.Count(), 50);
        EXPECT_EQ(g.Frequency(10), f10);
    }
}

TEST(TMeasSetup, SourceLevelAndPowerFollowEachOther)
{
    TMeasSetup s;
    s.SetSourceLevel(2.83);
    EXPECT_NEAR(s.sourcePower, 1.0011, 1e-4);
    s.SetSourcePower(1.0);
    EXPECT_NEAR(s.sourceLevel, 2.828427, 1e-6);
    s.SetSourceLevel(1000.0);
    EXPECT_DOUBLE_EQ(s.sourcePower, 125000.0);
    s.SetSourcePower(1.25e-7);
    EXPECT_NEAR(s.sourceLevel, 0.001, 1e-12);
}

TEST(TMeasSetup, AutorangeSwitchesTheRange)
{
    TMeasSetup s;
    s.splRange = 55;
    s.SetAutorange(true);
    EXPECT_TRUE(s.autorange);
    EXPECT_EQ(s.splRange, 0);
    s.SetAutorange(false);
    EXPECT_FALSE(s.autorange);
    EXPECT_EQ(s.splRange, 30);
}

TEST(TMeasSetup, WithoutHighPassTheGeneratorIsFlat)
{
    TMeasSetup s;
    s.sourceLevel = 2.83;
    s.highPassQ = 3.0; // ignored while the cutoff is 0
    for (int i = 0; i < s.grid.Count(); ++i) {
        const std::complex<double> u = s.SourceVoltage(s.grid.Omega(i));
        EXPECT_EQ(u.real(), 2.83);
        EXPECT_EQ(u.imag(), 0.0);
    }
}

TEST(TMeasSetup, HighPassResponse)
{
    struct Row {
        double q;
        double g; // frequency / cutoff
        double expectDb;
        double expectDeg;
        double tolDb;
    };
    const Row rows[] = {
        {0.707, 1.0, -3.01, 90.0, 0.01},    // Butterworth: -3 dB at the cutoff
        {0.5, 1.0, Db(0.5), 90.0, 1e-9},    // at g = 1 the voltage is j·Q·Ug
        {2.0, 1.0, Db(2.0), 90.0, 1e-9},
        {0.707, 0.1, -40.0, 171.87, 0.02},  // 12 dB per octave far below the cutoff
        {0.707, 100.0, 0.0, 0.81, 0.001},   // flat far above it
    };
    for (const Row& r : rows) {
        SCOPED_TRACE("Q " + std::to_string(r.q) + ", f/fc " + std::to_string(r.g));
        TMeasSetup s;
        s.sourceLevel = 2.0;
        s.highPassCutoff = 80;
        s.highPassQ = r.q;
        const std::complex<double> u = s.SourceVoltage(r.g * 80.0 * 6.28318530718);
        EXPECT_NEAR(Db(std::abs(u) / 2.0), r.expectDb, r.tolDb);
        EXPECT_NEAR(Degrees(u), r.expectDeg, 0.01);
    }
}

TEST(TMeasSetup, SourceImpedanceScalesWithTheWiring)
{
    TMeasSetup s;
    s.sourceResistance = -1.5;
    s.sourceInductance = 0.002;
    const double w = 1000.0;
    const std::complex<double> one = s.SourceImpedance(w);
    EXPECT_DOUBLE_EQ(one.real(), -1.5);
    EXPECT_DOUBLE_EQ(one.imag(), 2.0);
    const std::complex<double> half = s.SourceImpedance(w, 0.5);
    EXPECT_DOUBLE_EQ(half.real(), -0.75);
    EXPECT_DOUBLE_EQ(half.imag(), 1.0);
}

TEST(TMeasSetup, ReportLines)
{
    TMeasSetup s;
    const std::vector<std::string> plain = s.ReportLines();
    const std::vector<std::string> expected = {
        "Setup", " Start freq.\t20 Hz", " Stop freq.\t2000 Hz", " # plot points\t50",
        " Ug\t\t2.83 V", " Rg\t\t0.00 Ohm", " Lg\t\t0.00 mH", " Pg\t\t1.000 W",
    };
    EXPECT_EQ(plain, expected);

    s.highPassCutoff = 35;
    s.highPassQ = 0.7;
    s.sourceInductance = 0.0012;
    const std::vector<std::string> filtered = s.ReportLines();
    ASSERT_EQ(filtered.size(), 10u);
    EXPECT_EQ(filtered[6], " Lg\t\t1.20 mH");
    EXPECT_EQ(filtered[8], " Hp filter.\t35 Hz");
    EXPECT_EQ(filtered[9], "         Q.\t0.7");
}

TEST(TMeasSetup, FieldFormatsFollowTheValue)
{
    struct Row {
        const char* (*format)(double);
        double value;
        const char* shown;
    };
    const Row rows[] = {
        {TMeasSetup::LevelFormat, 2.83, "2.83"},     {TMeasSetup::LevelFormat, 10.0, "10.0"},
        {TMeasSetup::LevelFormat, 1000.0, "1000.0"}, {TMeasSetup::LevelFormat, 9.999, "10.00"},
        {TMeasSetup::LevelFormat, 0.1, "0.10"},      {TMeasSetup::LevelFormat, 0.0999, "9.99e-02"},
        {TMeasSetup::LevelFormat, 1.25e-7, "1.25e-07"},
        {TMeasSetup::ResistanceFormat, 0.0, "0.00"}, {TMeasSetup::ResistanceFormat, -9.5, "-9.50"},
        {TMeasSetup::ResistanceFormat, -10.0, "-10.0"}, {TMeasSetup::ResistanceFormat, 4700.0, "4700.0"},
    };
    for (const Row& r : rows) {
        char text[64];
        std::snprintf(text, sizeof text, r.format(r.value), r.value);
        EXPECT_STREQ(text, r.shown) << r.value;
    }
}
