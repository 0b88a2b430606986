// Passive radiator element: free-air and in-box resonances, impedances, flow,
// excursion and its limit, the 85-byte record, report lines and editing rules.

#include "box/elements/TAbrObject.h"
#include "box/elements/TAbrObjectFields.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TElementGrid.h"
#include "core/TBinaryStream.h"
#include "settings/TFreqGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr double kPi = 3.14159265359;

double DoubleAt(const std::vector<std::uint8_t>& b, std::size_t at)
{
    std::uint64_t bits = 0;
    for (int k = 7; k >= 0; --k)
        bits = (bits << 8) | b[at + static_cast<std::size_t>(k)];
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
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

// Textbook resonance of a mass on the spring of an air volume v over area sd.
double SpringResonance(double mass, double v, double sd)
{
    return 1.0 / (2.0 * kPi) * std::sqrt(142000.0 * sd * sd / (v * mass));
}

class AbrTest : public ::testing::Test {
protected:
    TBoxObject box{"Box", true};
    TAbrObject abr{box};
};

TEST_F(AbrTest, ResetRadiatorHasTheKnownMassAndResonance)
{
    EXPECT_NEAR(abr.a, 0.0977205, 5e-8);
    EXPECT_NEAR(abr.Mms, 0.012939, 5e-7);
    EXPECT_NEAR(abr.fp, 50.02, 0.005);
    EXPECT_NEAR(abr.Cap, 0.1 / 142000.0, 1e-18);
    EXPECT_NEAR(abr.Cmp, 0.1 / 142000.0 / 0.0009, 1e-15);
    EXPECT_EQ(abr.Qmp, 7.0);
    EXPECT_EQ(abr.n, 1);
    EXPECT_EQ(abr.Xmax, 0.01);
    EXPECT_FALSE(abr.nonLinearity);
    EXPECT_TRUE(abr.dirty);
}

struct ResonanceRow {
    double sd, mmp, vap, vb;
    int count, fill;
};

const ResonanceRow kRows[] = {
    {0.03, 0.010, 0.100, 0.050, 1, 0},   {0.05, 0.080, 0.030, 0.040, 1, 0},
    {0.0133, 0.025, 0.012, 0.020, 2, 0}, {0.03, 0.040, 0.060, 0.100, 3, 50},
    {0.08, 0.200, 0.300, 0.500, 1, 100},
};

TEST_F(AbrTest, FreeAirResonanceIsTheMassOnItsSuspension)
{
    for (const auto& r : kRows) {
        abr.SetSd(r.sd);
        abr.SetMmp(r.mmp);
        abr.Vap = r.vap;
        abr.UpdateFreeAirResonance();
        const double radius = std::sqrt(r.sd / kPi);
        const double mms = r.mmp + 3.15 * radius * radius * radius;
        EXPECT_NEAR(abr.Mms, mms, 1e-12);
        const double expected = SpringResonance(mms, r.vap, r.sd);
        EXPECT_NEAR(abr.fp, expected, 1e-9 * expected) << r.sd;
    }
}

TEST_F(AbrTest, BoxResonanceAddsEachUnitsShareOfTheBoxAsASpring)
{
    for (const auto& r : kRows) {
        box.Vb = r.vb;
        box.fill = r.fill;
        abr.SetSd(r.sd);
        abr.SetMmp(r.mmp);
        abr.Vap = r.vap;
        abr.n = r.count;
        abr.UpdateFreeAirResonance();
        abr.UpdateBoxResonance();
        // fb = fp · sqrt(1 + Vap / Vshare), each of n units seeing Vb·(1 + 0.002·fill) / n.
        const double share = r.vb * (1.0 + 0.002 * r.fill) / r.count;
        const double expected = abr.fp * std::sqrt(1.0 + r.vap / share);
        EXPECT_NEAR(abr.fb, expected, 1e-9 * expected) << r.sd << " n " << r.count;
    }
}

TEST_F(AbrTest, SetFpAndSetFbGiveTheEnteredResonanceBack)
{
    const double targets[] = {18.0, 32.5, 50.0, 120.0};
    const int fills[] = {0, 60};
    for (int fill : fills) {
        for (double f : targets) {
            box.Vb = 0.05;
            box.fill = fill;
            ASSERT_TRUE(abr.SetFp(f));
            abr.UpdateFreeAirResonance();
            EXPECT_NEAR(abr.fp, f, 1e-9 * f);
            EXPECT_NEAR(abr.Mmp, abr.Mms - 3.15 * std::pow(abr.a, 3), 1e-15);

            ASSERT_TRUE(abr.SetFb(f));
            EXPECT_EQ(abr.fb, f);
            // The next calculation recomputes fb: with a filled box too it stays put.
            abr.UpdateBoxResonance();
            EXPECT_NEAR(abr.fb, f, 1e-9 * f) << "fill " << fill;
            EXPECT_LT(abr.fp, f);
        }
    }
}

TEST_F(AbrTest, ResonancesThatAreNotPositiveNumbersAreRefused)
{
    const double bad[] = {0.0, -10.0, std::nan(""), INFINITY};
    for (double f : bad) {
        const double mass = abr.Mms, free = abr.fp, inBox = abr.fb;
        EXPECT_FALSE(abr.SetFp(f));
        EXPECT_FALSE(abr.SetFb(f));
        EXPECT_EQ(abr.Mms, mass);
        EXPECT_EQ(abr.fp, free);
        EXPECT_EQ(abr.fb, inBox);
    }
}

TEST_F(AbrTest, ImpedancesResonateAtFpWithTheFixedQ)
{
    // A grid point exactly at the free-air resonance, one an octave below, one above.
    const double f0 = abr.fp;
    std::vector<double> f = {f0 / 2.0, f0, 2.0 * f0};
    std::vector<double> w;
    for (double x : f)
        w.push_back(x * 6.28318530718);
    abr.UpdateImpedances(TElementGrid{f.data(), w.data(), 3});
    const double sd2 = abr.Sd * abr.Sd;
    // At resonance only the loss remains: Rms = ω0 · Mms / Qmp.
    EXPECT_NEAR(abr.mechanicalImpedance[1].imag(), 0.0, 1e-9 * abr.mechanicalImpedance[0].imag() * -1.0);
    EXPECT_NEAR(abr.mechanicalImpedance[1].real(), w[1] * abr.Mms / 7.0 / sd2, 1e-9);
    EXPECT_LT(abr.mechanicalImpedance[0].imag(), 0.0); // spring below
    EXPECT_GT(abr.mechanicalImpedance[2].imag(), 0.0); // mass above
    // The inner air is a mass: its reactance per ω is constant.
    EXPECT_NEAR(abr.innerMassImpedance[0].imag() / w[0], 0.826 / (kPi * abr.a), 1e-9);
    EXPECT_NEAR(abr.innerMassImpedance[2].imag() / w[2], 0.826 / (kPi * abr.a), 1e-9);
    EXPECT_EQ(abr.innerMassImpedance[1].real(), 0.0);
    // Radiation at small ka: resistance ∝ f², reactance ∝ f.
    EXPECT_NEAR(abr.radiationImpedance[1].real() / abr.radiationImpedance[0].real(), 4.0, 0.05);
    EXPECT_NEAR(abr.radiationImpedance[1].imag() / abr.radiationImpedance[0].imag(), 2.0, 0.02);
    const TComplex unit = abr.UnitImpedance(1);
    EXPECT_EQ(unit, abr.mechanicalImpedance[1] + abr.radiationImpedance[1] + abr.innerMassImpedance[1]);
}

TEST_F(AbrTest, UnitFlowGivesVolumeVelocityExcursionAndPressureOfAllUnits)
{
    abr.n = 3;
    const TComplex u1(2e-4, -1e-4);
    const double w = 6.28318530718 * 40.0;
    abr.SetUnitFlow(5, u1, w);
    EXPECT_NEAR(std::abs(abr.volumeVelocity[5] - 3.0 * u1), 0.0, 1e-18);
    // Peak to peak in mm of one unit: |U1| / (Sd · ω) · 1000 · 2.828.
    EXPECT_NEAR(abr.excursion[5], std::abs(u1) / (0.03 * w) * 2828.0, 1e-12);
    const TComplex k(0.0, 58999.99999999999);
    const TComplex p = abr.Radiate(5, k, 40.0);
    EXPECT_NEAR(std::abs(p - k * 40.0 * 3.0 * u1), 0.0, 1e-9);
}

struct LimitRow {
    bool on;
    double xmax;      // m
    double excursion; // mm before
    double expected;  // mm after
};

TEST_F(AbrTest, ExcursionLimitOnlyWithTheSwitchAndALimit)
{
    const LimitRow rows[] = {
        {true, 0.005, 20.0, 10.0}, {true, 0.005, 5.0, 5.0},  {true, 0.005, 4.0, 4.0},
        {false, 0.005, 20.0, 20.0}, {true, 0.0, 20.0, 20.0}, {true, 0.002, 8.0, 4.0},
    };
    const double w = 6.28318530718 * 30.0;
    for (const auto& r : rows) {
        abr.nonLinearity = r.on;
        abr.Xmax = r.xmax;
        // The unit flow that gives the wanted excursion.
        const TComplex u1 = std::polar(r.excursion / 2828.0 * abr.Sd * w, 0.3);
        abr.SetUnitFlow(0, u1, w);
        abr.LimitExcursion(1);
        EXPECT_NEAR(abr.excursion[0], r.expected, 1e-9) << r.on << " " << r.xmax << " " << r.excursion;
        EXPECT_NEAR(std::abs(abr.volumeVelocity[0]), std::abs(u1) * r.expected / r.excursion, 1e-15);
        EXPECT_NEAR(std::arg(abr.volumeVelocity[0]), 0.3, 1e-12);
    }
}

TEST_F(AbrTest, RecordHasTheFieldsAtTheirOffsetsAndRoundTrips)
{
    abr.SetSd(0.02);
    abr.SetMmp(0.045);
    abr.Vap = 0.033;
    abr.n = 2;
    abr.Xmax = 0.012;
    abr.nonLinearity = true;
    abr.UpdateFreeAirResonance();
    abr.UpdateBoxResonance();
    abr.Qmp = 3.0; // not stored
    TBinaryWriter out;
    abr.WriteRecord(out);
    const auto& b = out.Bytes();
    ASSERT_EQ(b.size(), TAbrObject::kRecordSize);
    ASSERT_EQ(b.size(), 85u);
    EXPECT_EQ(DoubleAt(b, 0), 0.02);
    EXPECT_EQ(DoubleAt(b, 8), abr.a);
    EXPECT_EQ(DoubleAt(b, 16), 0.045);
    EXPECT_EQ(DoubleAt(b, 24), abr.Mms);
    EXPECT_EQ(DoubleAt(b, 32), 0.033);
    EXPECT_EQ(b[40], 2);
    EXPECT_EQ(b[41] | b[42] | b[43], 0);
    EXPECT_EQ(DoubleAt(b, 44), 0.012);
    EXPECT_EQ(DoubleAt(b, 52), abr.Cap);
    EXPECT_EQ(DoubleAt(b, 60), abr.Cmp);
    EXPECT_EQ(DoubleAt(b, 68), abr.fb);
    EXPECT_EQ(DoubleAt(b, 76), abr.fp);
    EXPECT_EQ(b[84], 1);

    TAbrObject copy(box);
    copy.dirty = false;
    TBinaryReader in(b);
    ASSERT_TRUE(copy.ReadRecord(in));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(copy.Sd, abr.Sd);
    EXPECT_EQ(copy.a, abr.a);
    EXPECT_EQ(copy.Mmp, abr.Mmp);
    EXPECT_EQ(copy.Mms, abr.Mms);
    EXPECT_EQ(copy.Vap, abr.Vap);
    EXPECT_EQ(copy.n, 2);
    EXPECT_EQ(copy.Xmax, abr.Xmax);
    EXPECT_EQ(copy.Cap, abr.Cap);
    EXPECT_EQ(copy.Cmp, abr.Cmp);
    EXPECT_EQ(copy.fb, abr.fb);
    EXPECT_EQ(copy.fp, abr.fp);
    EXPECT_TRUE(copy.nonLinearity);
    EXPECT_EQ(copy.Qmp, 7.0);
    EXPECT_TRUE(copy.dirty);
}

TEST_F(AbrTest, TruncatedRecordsFailAndChangeNothing)
{
    abr.SetSd(0.02);
    TBinaryWriter out;
    abr.WriteRecord(out);
    for (std::size_t size = 0; size < 85; ++size) {
        TAbrObject reader(box);
        std::vector<std::uint8_t> cut(out.Bytes().begin(), out.Bytes().begin() + static_cast<long>(size));
        TBinaryReader in(cut);
        EXPECT_FALSE(reader.ReadRecord(in)) << size;
        EXPECT_EQ(reader.Sd, 0.03);
        EXPECT_FALSE(reader.nonLinearity);
    }
}

TEST_F(AbrTest, DamagedRecordsAreRefused)
{
    TBinaryWriter out;
    abr.WriteRecord(out);
    const struct {
        std::size_t at;
        double value;
    } damages[] = {{0, 0.0}, {8, -0.1}, {16, std::nan("")}, {24, 0.0}, {32, 0.0}, {44, -0.001},
                   {52, 0.0}, {60, INFINITY}, {68, std::nan("")}, {76, -INFINITY}};
    for (const auto& d : damages) {
        std::vector<std::uint8_t> bytes = out.Bytes();
        PutDouble(bytes, d.at, d.value);
        TAbrObject reader(box);
        reader.Vap = 0.5;
        TBinaryReader in(bytes);
        EXPECT_FALSE(reader.ReadRecord(in)) << d.at;
        EXPECT_EQ(reader.Vap, 0.5);
    }
    const std::int32_t counts[] = {0, 10, -1};
    for (std::int32_t count : counts) {
        std::vector<std::uint8_t> bytes = out.Bytes();
        PutInt32(bytes, 40, count);
        TAbrObject reader(box);
        TBinaryReader in(bytes);
        EXPECT_FALSE(reader.ReadRecord(in)) << count;
    }
}

// Values each finite and positive, but what the radiator recomputes from them is not:
// taken, they would be saved as infinities that the next open refuses.
TEST_F(AbrTest, RecordsWhoseRecomputedValuesOverflowAreRefused)
{
    TBinaryWriter out;
    abr.WriteRecord(out);
    const struct {
        const char* what;
        std::size_t at;
        double value;
    } damages[] = {
        {"Sd whose square underflows", 0, 5.5e-163},
        {"Mms whose product with the compliance underflows", 24, 5e-324},
        {"Mmp below minus the air load", 16, -1.0},
    };
    for (const auto& d : damages) {
        SCOPED_TRACE(d.what);
        std::vector<std::uint8_t> bytes = out.Bytes();
        PutDouble(bytes, d.at, d.value);
        TAbrObject reader(box);
        reader.Vap = 0.5;
        TBinaryReader in(bytes);
        EXPECT_FALSE(reader.ReadRecord(in));
        EXPECT_EQ(reader.Vap, 0.5);
    }
    // A negative Mmp is what a high Fp entry leaves; with the air load the mass is positive.
    std::vector<std::uint8_t> bytes = out.Bytes();
    PutDouble(bytes, 16, -0.001);
    TAbrObject reader(box);
    TBinaryReader in(bytes);
    EXPECT_TRUE(reader.ReadRecord(in));
}

// Found by fuzzing: an area of 5.5e-163 m² was taken; the compliance computed from it
// was infinite, so the record written after a calculation could not be read again.
TEST_F(AbrTest, FuzzFoundRecordWithUnderflowingAreaIsRefused)
{
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(TONVEK_SOURCE_DIR "/tests/data/fuzz/radiator-record-underflowing-area.bin", bytes));
    ASSERT_EQ(bytes.size(), TAbrObject::kRecordSize);
    TAbrObject reader(box);
    TBinaryReader in(bytes);
    EXPECT_FALSE(reader.ReadRecord(in));
    EXPECT_EQ(reader.Sd, 0.03);
    TFreqGrid grid;
    ASSERT_TRUE(grid.Layout(20, 2000, 50));
    reader.UpdateFreeAirResonance();
    reader.UpdateBoxResonance();
    reader.UpdateImpedances(TElementGrid::Of(grid));
    TBinaryWriter written;
    reader.WriteRecord(written);
    TAbrObject again(box);
    TBinaryReader back(written.Bytes());
    EXPECT_TRUE(again.ReadRecord(back));
}

TEST_F(AbrTest, ReportLines)
{
    box.Vb = 0.05;
    abr.UpdateBoxResonance();
    std::vector<std::string> lines;
    abr.Report(lines);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "Abr unit");
    EXPECT_EQ(lines[1], " Vap\t\t100.00 l");
    EXPECT_EQ(lines[2], " Sd\t\t300.00 sq.cm");
    EXPECT_EQ(lines[3], " Mmp\t\t10.00 g");
    EXPECT_EQ(lines[4], " # units\t1");
    EXPECT_EQ(lines[5], " Res freq.\t50.02 Hz (free air)");
    EXPECT_EQ(lines[6], " Res freq.\t86.63 Hz (in box)"); // 50.018 · sqrt(1 + 100 / 50)

    abr.nonLinearity = true;
    lines.clear();
    abr.Report(lines);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[5], " Simulation of abr unit non linearity ON");
}

struct AbrRangeRow {
    TAbrField field;
    double shown;
    bool accepted;
};

TEST_F(AbrTest, FieldsAcceptTheirRangeOnly)
{
    const AbrRangeRow rows[] = {
        {TAbrField::Vap, 0.00005, false}, {TAbrField::Vap, 0.0001, true},  {TAbrField::Vap, 100001.0, false},
        {TAbrField::Sd, 0.0, false},      {TAbrField::Sd, 0.000001, true}, {TAbrField::Mmp, 0.0005, false},
        {TAbrField::Mmp, 1000.0, true},   {TAbrField::Fp, 0.05, false},    {TAbrField::Fp, 100000.0, true},
        {TAbrField::Fb, 0.1, true},       {TAbrField::Fb, 100001.0, false}, {TAbrField::Xmax, -1.0, false},
        {TAbrField::Xmax, 0.0, true},     {TAbrField::Xmax, 1001.0, false}, {TAbrField::Count, 0.0, false},
        {TAbrField::Count, 9.0, true},    {TAbrField::Count, 10.0, false},  {TAbrField::Fb, std::nan(""), false},
    };
    for (const auto& r : rows) {
        abr.Reset();
        abr.dirty = false;
        const auto result = CommitAbrField(abr, r.field, r.shown);
        EXPECT_EQ(result.accepted, r.accepted) << static_cast<int>(r.field) << " " << r.shown;
        EXPECT_EQ(abr.dirty, r.accepted);
        for (double v : {abr.fp, abr.fb, abr.Mms})
            EXPECT_TRUE(std::isfinite(v));
    }
}

TEST_F(AbrTest, EditsUpdateTheDependentResonances)
{
    box.Vb = 0.05;
    RefreshAbrResonances(abr);
    const double fb = abr.fb, fp = abr.fp;

    auto result = CommitAbrField(abr, TAbrField::Mmp, 20.0);
    ASSERT_TRUE(result.accepted);
    EXPECT_DOUBLE_EQ(abr.Mmp, 0.02);
    EXPECT_LT(abr.fp, fp);
    EXPECT_LT(abr.fb, fb);
    EXPECT_TRUE(result.Redraws(static_cast<int>(TAbrField::Fp)));
    EXPECT_TRUE(result.Redraws(static_cast<int>(TAbrField::Fb)));

    result = CommitAbrField(abr, TAbrField::Fp, 25.0);
    ASSERT_TRUE(result.accepted);
    EXPECT_EQ(abr.fp, 25.0);
    EXPECT_TRUE(result.Redraws(static_cast<int>(TAbrField::Mmp)));
    EXPECT_NEAR(abr.fb, 25.0 * std::sqrt(1.0 + 0.1 / 0.05), 1e-9);

    result = CommitAbrField(abr, TAbrField::Fb, 40.0);
    ASSERT_TRUE(result.accepted);
    EXPECT_EQ(AbrFieldText(abr, TAbrField::Fb), "40.0");
    EXPECT_NEAR(abr.fp, 40.0 / std::sqrt(3.0), 1e-9);

    // Sd keeps the mass without air load and changes the air load.
    const double mmp = abr.Mmp;
    ASSERT_TRUE(CommitAbrField(abr, TAbrField::Sd, 500.0).accepted);
    EXPECT_EQ(abr.Mmp, mmp);
    EXPECT_NEAR(abr.a, std::sqrt(0.05 / kPi), 1e-12);
    EXPECT_NEAR(abr.Mms, mmp + 3.15 * std::pow(abr.a, 3), 1e-15);

    // Two units share the box: each sees half of it.
    ASSERT_TRUE(CommitAbrField(abr, TAbrField::Count, 2.0).accepted);
    EXPECT_NEAR(abr.fb, abr.fp * std::sqrt(1.0 + 0.1 / 0.025), 1e-9);
    EXPECT_EQ(AbrFieldText(abr, TAbrField::Vap), "100.0");
    EXPECT_EQ(AbrFieldText(abr, TAbrField::Count), "2");
}

TEST_F(AbrTest, ZeroXmaxDisablesTheCheckBoxButKeepsTheSetting)
{
    ASSERT_TRUE(CommitAbrField(abr, TAbrField::NonLinearity, 1.0).accepted);
    EXPECT_TRUE(AbrNonLinearityChecked(abr));
    ASSERT_TRUE(CommitAbrField(abr, TAbrField::Xmax, 0.0).accepted);
    EXPECT_FALSE(AbrNonLinearityEnabled(abr));
    EXPECT_FALSE(AbrNonLinearityChecked(abr));
    EXPECT_TRUE(abr.nonLinearity);
    // A disabled check box takes no clicks.
    EXPECT_FALSE(CommitAbrField(abr, TAbrField::NonLinearity, 0.0).accepted);
    EXPECT_TRUE(abr.nonLinearity);
    // Nothing is limited without a limit.
    abr.SetUnitFlow(0, TComplex(1.0, 0.0), 100.0);
    const double x = abr.excursion[0];
    abr.LimitExcursion(1);
    EXPECT_EQ(abr.excursion[0], x);
    // With a limit the box is usable again and shows the kept setting.
    auto result = CommitAbrField(abr, TAbrField::Xmax, 8.0);
    ASSERT_TRUE(result.accepted);
    EXPECT_TRUE(result.Redraws(static_cast<int>(TAbrField::NonLinearity)));
    EXPECT_DOUBLE_EQ(abr.Xmax, 0.008);
    EXPECT_TRUE(AbrNonLinearityEnabled(abr));
    EXPECT_TRUE(AbrNonLinearityChecked(abr));
    TAbrField field;
    ASSERT_TRUE(FindAbrField("# abr units", field));
    EXPECT_EQ(field, TAbrField::Count);
}

} // namespace

// Found by fuzzing: a record whose stored moving mass is 5e-123 kg. The free-air
// resonance recomputed from it is huge; once a bound on stored resonances refused
// that, the record a calculation left behind could not be read again. What the
// radiator computes from a record it took must stay readable and finite.
TEST_F(AbrTest, FuzzFoundRecordWithTinyStoredMassReadsBackAfterACalculation)
{
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(TONVEK_SOURCE_DIR "/tests/data/fuzz/radiator-record-tiny-stored-mass.bin", bytes));
    ASSERT_EQ(bytes.size(), TAbrObject::kRecordSize);
    TAbrObject reader(box);
    TBinaryReader in(bytes);
    ASSERT_TRUE(reader.ReadRecord(in));
    reader.UpdateFreeAirResonance();
    EXPECT_GT(reader.fp, 1e12);
    reader.UpdateBoxResonance();
    TFreqGrid grid;
    ASSERT_TRUE(grid.Layout(20, 2000, 50));
    reader.UpdateImpedances(TElementGrid::Of(grid));
    for (int i = 0; i < grid.Count(); ++i) {
        const TComplex z = reader.UnitImpedance(i);
        ASSERT_TRUE(std::isfinite(z.real()) && std::isfinite(z.imag())) << i;
    }
    TBinaryWriter written;
    reader.WriteRecord(written);
    TAbrObject again(box);
    TBinaryReader back(written.Bytes());
    EXPECT_TRUE(again.ReadRecord(back));
}
