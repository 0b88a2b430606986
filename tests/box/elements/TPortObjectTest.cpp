// Port (vent) element: Helmholtz tuning, length and area solving, flow, air speed and
// compression, standing waves, the port record and the port's editing rules.

#include "box/elements/TPortObject.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TBoxObjectFields.h"
#include "box/elements/TPortObjectFields.h"
#include "box/elements/TPortStandingWaves.h"
#include "core/TBinaryStream.h"
#include "settings/TFreqGrid.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr double kPi = 3.14159265359;
// The elements take ρ = 1.18 kg/m³ and ρc² = 142000 Pa, which puts the speed of sound
// of the lumped port model at sqrt(142000 / 1.18) = 346.9 m/s.
const double kPortSoundSpeed = std::sqrt(142000.0 / 1.18);

double DoubleAt(const std::vector<std::uint8_t>& b, std::size_t at)
{
    std::uint64_t bits = 0;
    for (int k = 7; k >= 0; --k)
        bits = (bits << 8) | b[at + static_cast<std::size_t>(k)];
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

std::int32_t Int32At(const std::vector<std::uint8_t>& b, std::size_t at)
{
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k)
        v = (v << 8) | b[at + static_cast<std::size_t>(k)];
    return static_cast<std::int32_t>(v);
}

void PutDouble(std::vector<std::uint8_t>& b, std::size_t at, double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int k = 0; k < 8; ++k)
        b[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(bits >> (8 * k));
}

void PutInt32(std::vector<std::uint8_t>& b, std::size_t at, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (int k = 0; k < 4; ++k)
        b[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(bits >> (8 * k));
}

// Textbook Helmholtz resonance of n ports of effective area seff in parallel,
// each with effective length leff, against volume v.
double Helmholtz(double seff, double leff, double v, int n)
{
    return kPortSoundSpeed / (2.0 * kPi) * std::sqrt(n * seff / (v * leff));
}

class PortTest : public ::testing::Test {
protected:
    TPortNonLinearity shared;
    TPortObject port{"Port", shared};
};

TEST_F(PortTest, ResetPortHasTheKnownAreaAndTuning)
{
    EXPECT_NEAR(port.Seff, 0.0016909308298681705, 1e-15);
    EXPECT_NEAR(port.fp, 19.91, 0.005);
    EXPECT_DOUBLE_EQ(port.V, 0.1);
    EXPECT_EQ(port.n, 1);
    EXPECT_EQ(port.c, 0.0);
    EXPECT_TRUE(port.dirty);
}

struct HelmholtzRow {
    double diameter, length, volume;
    int count;
    double flare;
};

TEST_F(PortTest, TuningIsTheHelmholtzResonanceWithTheEndCorrection)
{
    const HelmholtzRow rows[] = {
        {0.05, 0.10, 0.100, 1, 0.0}, {0.10, 0.25, 0.050, 1, 0.0}, {0.03, 0.05, 0.010, 1, 0.0},
        {0.05, 0.10, 0.100, 2, 0.0}, {0.07, 0.30, 0.200, 4, 0.0}, {0.05, 0.12, 0.040, 1, 0.5},
        {0.08, 0.40, 0.150, 9, 1.0},
    };
    for (const auto& r : rows) {
        port.D = r.diameter;
        port.S = kPi * r.diameter * r.diameter / 4.0;
        port.L = r.length;
        port.V = r.volume;
        port.n = r.count;
        port.c = r.flare;
        port.UpdateTuning();
        // One port: 0.6·D for both ends together; two or more: 1.7·D each.
        const double leff = r.length + (r.count == 1 ? 0.6 : 1.7) * r.diameter;
        const double rEff = r.diameter / 2.0 - 0.0018;
        const double seff = kPi * rEff * rEff * (1.0 + 0.576 * r.flare);
        const double expected = Helmholtz(seff, leff, r.volume, r.count);
        EXPECT_NEAR(port.fp, expected, 0.005 * expected) << "D " << r.diameter << " n " << r.count;
    }
}

TEST_F(PortTest, TwoPortsDoNotSimplyHalveTheMass)
{
    port.UpdateEffectiveArea();
    const double single = port.AcousticMass();
    port.n = 2;
    const double twin = port.AcousticMass();
    EXPECT_GT(twin, single / 2.0 * 1.05);
    EXPECT_NEAR(twin / single, (0.1 + 1.7 * 0.05) / (0.1 + 0.6 * 0.05) / 2.0, 1e-12);
}

// The vented "B4" case of refdata/alignments.md section 3 (Hornresp export): 10.10 l,
// 63.47 cm² port, 29.48 cm long, impedance minimum at 68.9 Hz. Hornresp uses its own end
// corrections, so only the neighbourhood is checked.
TEST_F(PortTest, TuningLandsNearThePublishedVentedBoxMinimum)
{
    port.S = 63.47e-4;
    port.D = 2.0 * std::sqrt(port.S / kPi);
    port.L = 0.2948;
    port.V = 0.0101;
    port.UpdateTuning();
    EXPECT_NEAR(port.fp, 68.9, 0.05 * 68.9);
}

struct TuningRow {
    double target;
    int count;
    double flare;
};

TEST_F(PortTest, LengthFromTuningGivesTheTargetBack)
{
    const TuningRow rows[] = {{20.0, 1, 0.0}, {35.0, 1, 0.0}, {50.0, 3, 0.0}, {28.0, 2, 0.7}, {42.0, 1, 1.0}};
    for (const auto& r : rows) {
        port.Reset();
        port.S = 0.01;
        port.D = 2.0 * std::sqrt(port.S / kPi);
        port.V = 0.08;
        port.n = r.count;
        port.c = r.flare;
        ASSERT_TRUE(port.SetLengthFromTuning(r.target)) << r.target;
        EXPECT_DOUBLE_EQ(port.fp, r.target);
        EXPECT_GT(port.L, 0.0);
        port.UpdateTuning();
        EXPECT_NEAR(port.fp, r.target, 1e-9 * r.target) << r.target << " n " << r.count;
    }
}

TEST_F(PortTest, ImpossibleTuningsFailAndChangeNothing)
{
    const double tunings[] = {500.0, 0.0, -20.0, std::nan("")};
    for (double f : tunings) {
        port.Reset();
        const double length = port.L;
        const double tuning = port.fp;
        EXPECT_FALSE(port.SetLengthFromTuning(f)) << f;
        EXPECT_EQ(port.L, length);
        EXPECT_EQ(port.fp, tuning);
    }
}

TEST_F(PortTest, NewAreaKeepsTheTuning)
{
    const double flares[] = {0.0, 0.4, 1.0};
    const double areas[] = {0.0008, 0.004, 0.02};
    for (double flare : flares) {
        for (double area : areas) {
            port.Reset();
            port.c = flare;
            port.V = 0.06;
            ASSERT_TRUE(port.SetLengthFromTuning(30.0));
            ASSERT_TRUE(port.SetAreaKeepingTuning(area)) << area;
            EXPECT_DOUBLE_EQ(port.S, area);
            EXPECT_NEAR(port.D, 2.0 * std::sqrt(area / kPi), 1e-12);
            port.UpdateEffectiveArea();
            port.UpdateTuning();
            EXPECT_NEAR(port.fp, 30.0, 1e-9) << "flare " << flare << " area " << area;
        }
    }
}

TEST_F(PortTest, AreaThatNeedsANegativeLengthFails)
{
    port.V = 0.02;
    ASSERT_TRUE(port.SetLengthFromTuning(80.0));
    const double length = port.L, area = port.S, diameter = port.D;
    EXPECT_FALSE(port.SetAreaKeepingTuning(0.0001));
    EXPECT_FALSE(port.SetAreaKeepingTuning(0.0));
    EXPECT_FALSE(port.SetAreaKeepingTuning(-1.0));
    EXPECT_EQ(port.L, length);
    EXPECT_EQ(port.S, area);
    EXPECT_EQ(port.D, diameter);
}

struct SizingRow {
    double area, volume, tuning;
    int count;
};

TEST_F(PortTest, SizingDoublesTheAreaUntilThePortIsAtLeastTenCentimetres)
{
    const SizingRow rows[] = {
        {0.0001, 0.05, 40.0, 1}, // too short at first: the area has to grow
        {0.0004, 0.02, 90.0, 2}, // fails at first: the length would be negative
        {0.004, 0.10, 25.0, 1},  // long enough as it is
    };
    for (const auto& r : rows) {
        port.Reset();
        port.S = r.area;
        port.D = 2.0 * std::sqrt(r.area / kPi);
        port.V = r.volume;
        port.n = r.count;
        port.UpdateEffectiveArea();
        ASSERT_TRUE(port.SizeForTuning(r.tuning)) << r.area;
        EXPECT_GE(port.L, 0.1);
        EXPECT_EQ(port.fp, r.tuning);
        const double doublings = std::log2(port.S / r.area);
        EXPECT_NEAR(doublings, std::round(doublings), 1e-9);
        EXPECT_NEAR(port.D, 2.0 * std::sqrt(port.S / kPi), 1e-12);
        // One doubling less would have been too short (or impossible).
        if (doublings > 0.5) {
            TPortObject smaller("Smaller");
            smaller.S = port.S / 2.0;
            smaller.D = port.D / std::sqrt(2.0);
            smaller.V = r.volume;
            smaller.n = r.count;
            smaller.UpdateEffectiveArea();
            EXPECT_TRUE(!smaller.SetLengthFromTuning(r.tuning) || smaller.L < 0.1);
        }
        port.UpdateTuning();
        EXPECT_NEAR(port.fp, r.tuning, 1e-9 * r.tuning);
    }
}

TEST_F(PortTest, SizingAnUnreachableTuningEndsAndChangesNothing)
{
    const double l = port.L, s = port.S, d = port.D, f = port.fp;
    EXPECT_FALSE(port.SizeForTuning(0.0));
    port.V = 0.0;
    EXPECT_FALSE(port.SizeForTuning(30.0));
    // Starting from another cross-section changes nothing either when it fails.
    EXPECT_FALSE(port.SizeForTuningFromArea(0.01, 30.0));
    EXPECT_FALSE(port.SizeForTuningFromArea(std::nan(""), 30.0));
    EXPECT_EQ(port.L, l);
    EXPECT_EQ(port.S, s);
    EXPECT_EQ(port.D, d);
    EXPECT_EQ(port.fp, f);
}

TEST_F(PortTest, ImpedanceIsTheMassWithAViscousLossGrowingWithRootFrequency)
{
    TFreqGrid grid;
    ASSERT_TRUE(grid.Layout(10, 1000, 101));
    port.UpdateImpedance(TElementGrid::Of(grid));
    const double mass = port.AcousticMass();
    for (int i = 0; i < grid.Count(); ++i) {
        EXPECT_NEAR(port.impedance[static_cast<std::size_t>(i)].imag(), mass * grid.Omega(i), 1e-9 * mass * grid.Omega(i));
    }
    // 10 Hz to 1000 Hz is a factor 100 in ω: the loss grows tenfold.
    EXPECT_NEAR(port.impedance[100].real() / port.impedance[0].real(), 10.0, 1e-6);
    EXPECT_GT(port.impedance[0].real(), 0.0);
}

TEST_F(PortTest, AirSpeedIsTheFlowOverTheNarrowestArea)
{
    port.S = 0.002;
    port.n = 2;
    EXPECT_EQ(port.SetFlow(3, TComplex(0.006, -0.008)), 1.0);
    EXPECT_NEAR(port.AirSpeed(3), 0.01 / 0.004, 1e-12);
    // Switched off, however fast the air moves, nothing is compressed.
    EXPECT_EQ(port.SetFlow(4, TComplex(0.0, 4.0)), 1.0);
    EXPECT_NEAR(port.AirSpeed(4), 1000.0, 1e-9);
}

struct CompressionRow {
    double flare;
    double speed;   // uncompressed, m/s
    double limit;   // 0: the port's own limit
    double expected;
};

TEST_F(PortTest, CompressionAboveTheLimitFollowsTheFlare)
{
    const CompressionRow rows[] = {
        {0.0, 20.0, 0.0, 20.0},
        {0.0, 20.3, 0.0, 20.3},
        {0.0, 25.0, 0.0, std::sqrt(20.3 * 25.0)},
        {0.2, 25.0, 0.0, std::sqrt(20.3 * 25.0)},
        {1.0, 25.0, 0.0, 25.0},
        {1.0, 30.0, 0.0, 30.0},
        {1.0, 40.0, 0.0, std::sqrt(30.3 * 40.0)},
        {0.5, 40.0, 0.0, std::sqrt(22.8 * 40.0)},
        {0.0, 16.0, TPortObject::kFixedSpeedLimit, std::sqrt(15.3 * 16.0)},
    };
    port.SetNonLinearity(true);
    for (const auto& r : rows) {
        port.c = r.flare;
        const double area = port.S * port.n;
        const TComplex flow = std::polar(r.speed * area, 0.7);
        const double g = r.limit > 0.0 ? port.SetFlow(0, flow, r.limit) : port.SetFlow(0, flow);
        EXPECT_NEAR(port.AirSpeed(0), r.expected, 1e-9) << "c " << r.flare << " v " << r.speed;
        EXPECT_NEAR(g, r.expected / r.speed, 1e-12);
        EXPECT_NEAR(std::arg(port.volumeVelocity[0]), 0.7, 1e-12); // the phase is kept
    }
}

TEST_F(PortTest, RadiatedPressureIsTheConstantTimesFrequencyTimesFlow)
{
    const TComplex k(0.0, 58999.99999999999);
    (void)port.SetFlow(2, TComplex(1e-3, 2e-3));
    const TComplex p = port.Radiate(2, k, 50.0);
    EXPECT_NEAR(std::abs(p - k * 50.0 * TComplex(1e-3, 2e-3)), 0.0, 1e-9);
    EXPECT_EQ(port.pressure[2], p);
}

TEST_F(PortTest, RecordHasTheFieldsAtTheirOffsets)
{
    port.L = 0.1234;
    port.S = 0.0031;
    port.D = 0.0628;
    port.V = 0.0456;
    port.n = 3;
    port.fp = 41.5;
    port.c = 0.25;
    port.SetNonLinearity(true);
    TBinaryWriter out;
    port.WriteRecord(out);
    const auto& b = out.Bytes();
    ASSERT_EQ(b.size(), TPortObject::kRecordSize);
    ASSERT_EQ(b.size(), 53u);
    EXPECT_EQ(DoubleAt(b, 0), 0.1234);
    EXPECT_EQ(DoubleAt(b, 8), 0.0031);
    EXPECT_EQ(DoubleAt(b, 16), 0.0628);
    EXPECT_EQ(DoubleAt(b, 24), 0.0456);
    EXPECT_EQ(Int32At(b, 32), 3);
    EXPECT_EQ(DoubleAt(b, 36), 41.5);
    EXPECT_EQ(b[44], 1);
    EXPECT_EQ(DoubleAt(b, 45), 0.25);

    TPortNonLinearity otherSwitch;
    TPortObject copy("Copy", otherSwitch);
    TBinaryReader in(b);
    ASSERT_TRUE(copy.ReadRecord(in, 410));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(copy.L, 0.1234);
    EXPECT_EQ(copy.S, 0.0031);
    EXPECT_EQ(copy.D, 0.0628);
    EXPECT_EQ(copy.V, 0.0456);
    EXPECT_EQ(copy.n, 3);
    EXPECT_EQ(copy.fp, 41.5);
    EXPECT_EQ(copy.c, 0.25);
    EXPECT_TRUE(otherSwitch.on);
    // The effective area follows the record, flare included.
    const double r = std::sqrt(0.0031 / kPi) - 0.0018;
    EXPECT_NEAR(copy.Seff, kPi * r * r * 1.144, 1e-12);
}

TEST_F(PortTest, OldRecordHasNoFlareAndKeepsTheFlareRatio)
{
    TBinaryWriter out;
    port.L = 0.2;
    port.WriteRecord(out);
    std::vector<std::uint8_t> old(out.Bytes().begin(), out.Bytes().begin() + 45);

    TPortObject reader("Old", shared);
    reader.c = 0.3;
    TBinaryReader in(old);
    ASSERT_TRUE(reader.ReadRecord(in, 300));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(reader.L, 0.2);
    EXPECT_EQ(reader.c, 0.3);

    // After a reset the port stays straight.
    reader.Reset();
    TBinaryReader again(old);
    ASSERT_TRUE(reader.ReadRecord(again, 399));
    EXPECT_EQ(reader.c, 0.0);

    // A current file needs the flare ratio.
    TBinaryReader current(old);
    EXPECT_FALSE(reader.ReadRecord(current, 400));
}

TEST_F(PortTest, TruncatedRecordsFailAndChangeNothing)
{
    port.L = 0.3;
    port.n = 4;
    TBinaryWriter out;
    port.WriteRecord(out);
    const int versions[] = {410, 300};
    for (int version : versions) {
        const std::size_t full = version >= 400 ? 53 : 45;
        for (std::size_t size = 0; size < full; ++size) {
            TPortObject reader("Cut", shared);
            reader.c = 0.1;
            std::vector<std::uint8_t> cut(out.Bytes().begin(), out.Bytes().begin() + static_cast<long>(size));
            TBinaryReader in(cut);
            EXPECT_FALSE(reader.ReadRecord(in, version)) << size;
            EXPECT_EQ(reader.L, 0.1);
            EXPECT_EQ(reader.n, 1);
            EXPECT_EQ(reader.c, 0.1);
        }
    }
}

TEST_F(PortTest, DamagedRecordsAreRefused)
{
    TBinaryWriter out;
    port.WriteRecord(out);
    struct Damage {
        std::size_t at;
        bool isInt;
        double value;
    } damages[] = {
        {32, true, 0}, {32, true, 10}, {32, true, -3}, {8, false, 0.0}, {8, false, std::nan("")},
        {16, false, 0.0}, {24, false, -0.1}, {0, false, -0.01}, {45, false, 1.5}, {36, false, INFINITY},
    };
    for (const auto& d : damages) {
        std::vector<std::uint8_t> bytes = out.Bytes();
        if (d.isInt)
            PutInt32(bytes, d.at, static_cast<std::int32_t>(d.value));
        else
            PutDouble(bytes, d.at, d.value);
        TPortObject reader("Damaged", shared);
        reader.L = 0.42;
        TBinaryReader in(bytes);
        EXPECT_FALSE(reader.ReadRecord(in, 410)) << "offset " << d.at;
        EXPECT_EQ(reader.L, 0.42);
    }
}

// Each value is plausible, but a length of 0 with a diameter and a volume near zero
// tune the port to infinity, which a save would write and the next open refuse.
TEST_F(PortTest, RecordThatTunesToInfinityIsRefused)
{
    TBinaryWriter out;
    port.WriteRecord(out);
    std::vector<std::uint8_t> bytes = out.Bytes();
    PutDouble(bytes, 0, 0.0);     // L
    PutDouble(bytes, 16, 1e-300); // D
    PutDouble(bytes, 24, 1e-300); // V
    TPortObject reader("Damaged", shared);
    reader.L = 0.42;
    TBinaryReader in(bytes);
    EXPECT_FALSE(reader.ReadRecord(in, 410));
    EXPECT_EQ(reader.L, 0.42);
    // With an ordinary volume the same port tunes to a number and is taken.
    PutDouble(bytes, 24, 0.05);
    TBinaryReader again(bytes);
    EXPECT_TRUE(reader.ReadRecord(again, 410));
    reader.UpdateTuning();
    EXPECT_TRUE(std::isfinite(reader.fp));
}

TEST_F(PortTest, TheSwitchIsSharedClearedByAnyResetAndCarriedByEveryRecord)
{
    TPortObject second("Front port", shared);
    port.SetNonLinearity(true);
    EXPECT_TRUE(second.NonLinearity());
    second.Reset();
    EXPECT_FALSE(port.NonLinearity());

    // The last record read decides.
    port.SetNonLinearity(true);
    TBinaryWriter on;
    port.WriteRecord(on);
    port.SetNonLinearity(false);
    TBinaryWriter off;
    port.WriteRecord(off);
    TBinaryReader first(on.Bytes()), last(off.Bytes());
    ASSERT_TRUE(port.ReadRecord(first, 410));
    EXPECT_TRUE(second.NonLinearity());
    ASSERT_TRUE(second.ReadRecord(last, 410));
    EXPECT_FALSE(port.NonLinearity());
}

TEST_F(PortTest, ReportLinesOfAStraightPort)
{
    std::vector<std::string> lines;
    port.Report(lines);
    const std::vector<std::string> expected = {
        "Port", " Length\t\t10.00 cm", " Area\t\t19.63 sq.cm", " Dia\t\t5.00 cm", " Flange radius\tinf.",
        " Max dia\t\t5.00 cm", " # ports\t1", " Res freq.\t19.91 Hz"};
    EXPECT_EQ(lines, expected);
}

TEST_F(PortTest, ReportLinesOfAFlaredPortWithTheSwitchOn)
{
    port.c = 1.0; // flare radius L / 2: the mouth is L + D wide
    port.n = 2;
    port.SetNonLinearity(true);
    std::vector<std::string> lines;
    port.Report(lines);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[4], " Flange radius\t5.00 cm");
    EXPECT_EQ(lines[5], " Max dia\t\t15.00 cm");
    EXPECT_EQ(lines[6], " # ports\t2");
    EXPECT_EQ(lines[7], " Simulation of port non linearity ON");
    EXPECT_NEAR(port.MaxDiameter(), port.L + port.D, 1e-15);
}

TEST_F(PortTest, FlareRadiusShorterThanHalfThePortIsRefused)
{
    THeadlessHost host;
    port.L = 0.2;
    port.UpdateTuning();
    auto result = CommitPortField(port, TPortField::FlareRadius, 9.9, host);
    EXPECT_FALSE(result.accepted);
    EXPECT_TRUE(result.Redraws(static_cast<int>(TPortField::FlareRadius)));
    EXPECT_EQ(port.c, 0.0);
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "Flare radius must be greater than half the port length");
    EXPECT_EQ(host.Messages()[0].title, "");
    EXPECT_EQ(host.Messages()[0].icon, TMsgIcon::Warning);
    EXPECT_EQ(PortFieldText(port, TPortField::FlareRadius), "inf.");

    // Exactly half the length is the widest flare.
    const double straightTuning = port.fp;
    result = CommitPortField(port, TPortField::FlareRadius, 10.0, host);
    EXPECT_TRUE(result.accepted);
    EXPECT_EQ(port.c, 1.0);
    EXPECT_GT(port.fp, straightTuning); // the flare adds area
    EXPECT_EQ(PortFieldText(port, TPortField::MaxDiameter), "25.0");
    EXPECT_EQ(PortFieldText(port, TPortField::FlareRadius), "10.0");

    // 0 makes the port straight again.
    result = CommitPortField(port, TPortField::FlareRadius, 0.0, host);
    EXPECT_TRUE(result.accepted);
    EXPECT_EQ(port.c, 0.0);
    EXPECT_EQ(host.Messages().size(), 1u);
}

TEST_F(PortTest, DiameterAndAreaEditsKeepTheTuning)
{
    THeadlessHost host;
    port.V = 0.05;
    ASSERT_TRUE(port.SetLengthFromTuning(35.0));
    auto result = CommitPortField(port, TPortField::Diameter, 7.0, host);
    ASSERT_TRUE(result.accepted);
    EXPECT_EQ(port.D, 0.07);
    EXPECT_NEAR(port.S, kPi * 0.07 * 0.07 / 4.0, 1e-15);
    EXPECT_TRUE(result.Redraws(static_cast<int>(TPortField::Length)));
    EXPECT_TRUE(result.Redraws(static_cast<int>(TPortField::Area)));
    port.UpdateTuning();
    EXPECT_NEAR(port.fp, 35.0, 1e-9);

    result = CommitPortField(port, TPortField::Area, 20.0, host);
    ASSERT_TRUE(result.accepted);
    EXPECT_EQ(port.S, 0.002);
    EXPECT_NEAR(port.D, 2.0 * std::sqrt(0.002 / kPi), 1e-15);
    EXPECT_TRUE(result.Redraws(static_cast<int>(TPortField::Diameter)));
    port.UpdateTuning();
    EXPECT_NEAR(port.fp, 35.0, 1e-9);
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(PortTest, EditsNeedingANegativeLengthShowTheirMessages)
{
    THeadlessHost host;
    port.V = 0.02;
    ASSERT_TRUE(port.SetLengthFromTuning(80.0));
    const double length = port.L, diameter = port.D, tuning = port.fp;

    auto result = CommitPortField(port, TPortField::Diameter, 1.0, host);
    EXPECT_FALSE(result.accepted);
    EXPECT_EQ(PortFieldText(port, TPortField::Diameter), "5.0");
    result = CommitPortField(port, TPortField::Area, 1.0, host);
    EXPECT_FALSE(result.accepted);
    result = CommitPortField(port, TPortField::ResFreq, 900.0, host);
    EXPECT_FALSE(result.accepted);
    EXPECT_TRUE(result.Redraws(static_cast<int>(TPortField::ResFreq)));

    ASSERT_EQ(host.Messages().size(), 3u);
    EXPECT_EQ(host.Messages()[0].text, "Portlength < 0");
    EXPECT_EQ(host.Messages()[1].text, "Portlength < 0");
    EXPECT_EQ(host.Messages()[2].text, "Port length < 0");
    for (const auto& m : host.Messages()) {
        EXPECT_EQ(m.title, "");
        EXPECT_EQ(m.icon, TMsgIcon::Warning);
        EXPECT_EQ(m.buttons, TMsgButtons::Ok);
    }
    EXPECT_EQ(port.L, length);
    EXPECT_EQ(port.D, diameter);
    EXPECT_EQ(port.fp, tuning);
}

struct RangeRow {
    TPortField field;
    double shown;
    bool accepted;
};

TEST_F(PortTest, FieldsAcceptTheirRangeOnly)
{
    THeadlessHost host;
    const RangeRow rows[] = {
        {TPortField::Length, -0.1, false},       {TPortField::Length, 0.0, true},
        {TPortField::Length, 1000.0, true},      {TPortField::Length, 1000.1, false},
        {TPortField::Diameter, 0.9, false},      {TPortField::Diameter, 100.1, false},
        {TPortField::Area, 0.78, false},         {TPortField::Area, 7854.0, false},
        {TPortField::FlareRadius, -1.0, false},  {TPortField::FlareRadius, 20000.1, false},
        {TPortField::ResFreq, 0.5, false},       {TPortField::ResFreq, 1000.5, false},
        {TPortField::Count, 0.0, false},         {TPortField::Count, 9.0, true},
        {TPortField::Count, 10.0, false},        {TPortField::MaxDiameter, 5.0, false},
        {TPortField::Length, std::nan(""), false},
    };
    for (const auto& r : rows) {
        port.Reset();
        port.dirty = false;
        const auto result = CommitPortField(port, r.field, r.shown, host);
        EXPECT_EQ(result.accepted, r.accepted) << static_cast<int>(r.field) << " " << r.shown;
        EXPECT_EQ(port.dirty, r.accepted);
    }
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(PortTest, LengthCountAndSwitchEditsRetune)
{
    THeadlessHost host;
    auto result = CommitPortField(port, TPortField::Length, 20.0, host);
    ASSERT_TRUE(result.accepted);
    EXPECT_DOUBLE_EQ(port.L, 0.2);
    EXPECT_LT(port.fp, 19.91);
    EXPECT_TRUE(result.Redraws(static_cast<int>(TPortField::ResFreq)));
    const double single = port.fp;
    result = CommitPortField(port, TPortField::Count, 2.0, host);
    ASSERT_TRUE(result.accepted);
    EXPECT_GT(port.fp, single);
    result = CommitPortField(port, TPortField::NonLinearity, 1.0, host);
    EXPECT_TRUE(result.accepted);
    EXPECT_TRUE(shared.on);
    TPortField field;
    ASSERT_TRUE(FindPortField("diameter", field));
    EXPECT_EQ(field, TPortField::Diameter);
    ASSERT_TRUE(FindPortField("Area", field));
    EXPECT_EQ(field, TPortField::Area);
    EXPECT_FALSE(FindPortField("Radius", field));
}

TEST_F(PortTest, FullFillTunesThePortAgainstTwentyPercentMore)
{
    TBoxObject box("Box", true);
    TPortObject* ports[] = {&port};
    ASSERT_TRUE(CommitBoxField(box, TBoxField::Volume, 50.0, ports).accepted);
    EXPECT_DOUBLE_EQ(port.V, 0.05);
    const double unfilled = port.fp;
    ASSERT_TRUE(CommitBoxField(box, TBoxField::Fill, 100.0, ports).accepted);
    EXPECT_DOUBLE_EQ(port.V, 0.05 * 1.2);
    EXPECT_NEAR(port.fp, unfilled / std::sqrt(1.2), 1e-9);
}

// ---- standing waves -------------------------------------------------------------

class StandingWaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(grid.Layout(20, 2000, 500));
        spl.assign(500, 90.0);
        modes.assign(500, 0.0);
    }
    TFreqGrid grid;
    std::vector<double> spl, modes;
};

TEST_F(StandingWaveTest, NoUpperCutoffLeavesACopy)
{
    PortStandingWaves(TElementGrid::Of(grid), spl.data(), 0.0, 0.3, modes.data());
    EXPECT_EQ(modes, spl);
}

TEST_F(StandingWaveTest, PeaksSitAtMultiplesOfTheHalfWaveResonanceAboveTheCutoff)
{
    const double fu = 100.0, length = 0.5; // f1 = 344.7 Hz
    const auto g = TElementGrid::Of(grid);
    PortStandingWaves(g, spl.data(), fu, length, modes.data());
    for (int i = 0; i < grid.Count(); ++i) {
        if (grid.Frequency(i) < fu)
            EXPECT_EQ(modes[static_cast<std::size_t>(i)], 90.0) << grid.Frequency(i);
        else
            EXPECT_GE(modes[static_cast<std::size_t>(i)], 90.0);
    }
    // The added level has its local maxima next to k · f1.
    const double f1 = 344.7 / (2.0 * length);
    int maxima = 0;
    for (int i = 1; i + 1 < grid.Count(); ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (modes[k] > modes[k - 1] && modes[k] >= modes[k + 1]) {
            const double multiple = grid.Frequency(i) / f1;
            EXPECT_NEAR(multiple, std::round(multiple), 0.02) << grid.Frequency(i);
            ++maxima;
        }
    }
    EXPECT_EQ(maxima, 5); // 344.7, 689.4, 1034.1, 1378.8, 1723.5 Hz
    // Between the peaks the curve falls back; higher peaks rise with (f / fu)².
    const double firstPeak = *std::max_element(modes.begin() + 300, modes.begin() + 330);
    EXPECT_GT(firstPeak, 110.0);
}

TEST_F(StandingWaveTest, CutoffAboveTheGridAddsNothing)
{
    PortStandingWaves(TElementGrid::Of(grid), spl.data(), 5000.0, 0.3, modes.data());
    EXPECT_EQ(modes, spl);
}

TEST_F(StandingWaveTest, ZeroLengthPortStaysFinite)
{
    PortStandingWaves(TElementGrid::Of(grid), spl.data(), 100.0, 0.0, spl.data());
    for (double v : spl)
        EXPECT_TRUE(std::isfinite(v));
}

} // namespace
