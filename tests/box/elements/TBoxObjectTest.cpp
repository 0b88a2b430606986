// Air volume element: compliance and losses, fill, the 28-byte record, report lines
// and the volume editing rules.

#include "box/elements/TBoxObject.h"
#include "box/elements/TAbrObject.h"
#include "box/elements/TBoxObjectFields.h"
#include "box/elements/TPortObject.h"
#include "core/TBinaryStream.h"
#include "settings/TFreqGrid.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

double DoubleAt(const std::vector<std::uint8_t>& b, std::size_t at)
{
    std::uint64_t bits = 0;
    for (int k = 7; k >= 0; --k)
        bits = (bits << 8) | b[at + static_cast<std::size_t>(k)];
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

std::vector<std::uint8_t> RecordOf(double vb, double qb, double ql, std::int32_t fill)
{
    TBinaryWriter out;
    out.WriteDouble(vb);
    out.WriteDouble(qb);
    out.WriteDouble(ql);
    out.WriteInt32(fill);
    return out.Bytes();
}

class BoxTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(grid.Layout(20, 2000, 50)); }
    TFreqGrid grid;
    TBoxObject box{"Box", true};
};

TEST_F(BoxTest, ComplianceIsTheVolumeOverRhoCSquared)
{
    const double volumes[] = {0.0001, 0.01, 0.0456, 10.0};
    for (double v : volumes) {
        box.Vb = v;
        EXPECT_NEAR(box.Compliance(), v / 142000.0, 1e-12 * v / 142000.0) << v;
    }
}

TEST_F(BoxTest, FullFillRaisesTheComplianceByExactlyTwentyPercent)
{
    box.Vb = 0.05;
    const double empty = box.Compliance();
    box.fill = 100;
    EXPECT_DOUBLE_EQ(box.Compliance(), empty * 1.2);
    EXPECT_DOUBLE_EQ(box.ComplianceFactor(), 1.2);
    EXPECT_DOUBLE_EQ(box.TuningVolume(), 0.05 * 1.2);
    box.fill = 50;
    EXPECT_DOUBLE_EQ(box.ComplianceFactor(), 1.1);
}

TEST_F(BoxTest, LosslessVolumeIsAPureCompliance)
{
    box.Vb = 0.02;
    box.Qb = 1e300;
    box.Ql = 1e300;
    box.UpdateImpedance(TElementGrid::Of(grid));
    const double cab = 0.02 / 142000.0;
    for (int i = 0; i < grid.Count(); ++i) {
        const TComplex z = box.impedance[static_cast<std::size_t>(i)];
        const double expected = -1.0 / (grid.Omega(i) * cab);
        EXPECT_NEAR(z.imag(), expected, 1e-9 * std::abs(expected));
        EXPECT_NEAR(z.real(), 0.0, 1e-9 * std::abs(expected));
    }
}

TEST_F(BoxTest, AbsorptionIsASeriesResistanceOfReactanceOverQb)
{
    box.Vb = 0.03;
    box.Qb = 5.0;
    box.Ql = 1e300;
    box.UpdateImpedance(TElementGrid::Of(grid));
    for (int i = 0; i < grid.Count(); ++i) {
        const TComplex z = box.impedance[static_cast<std::size_t>(i)];
        EXPECT_NEAR(z.real() / -z.imag(), 1.0 / 5.0, 1e-9);
    }
}

TEST_F(BoxTest, LeakageIsAParallelConductanceOfOmegaCabOverQl)
{
    box.Vb = 0.03;
    box.Qb = 1e300;
    box.Ql = 7.0;
    box.UpdateImpedance(TElementGrid::Of(grid));
    const double cab = 0.03 / 142000.0;
    for (int i = 0; i < grid.Count(); ++i) {
        const TComplex y = 1.0 / box.impedance[static_cast<std::size_t>(i)];
        const double wc = grid.Omega(i) * cab;
        EXPECT_NEAR(y.real(), wc / 7.0, 1e-9 * wc);
        EXPECT_NEAR(y.imag(), wc, 1e-9 * wc);
    }
}

// Both losses at once, against the network itself: the series resistance -x/Qb with the
// reactance x = -1/(ω·Cab), in parallel with the leakage conductance ω·Cab/Ql.
TEST_F(BoxTest, AbsorptionAndLeakageTogetherMatchTheNetwork)
{
    struct TCase {
        double qb, ql;
        int fill;
    };
    for (const TCase c : {TCase{5.0, 7.0, 0}, TCase{0.5, 2.0, 40}, TCase{100.0, 1.2, 100}, TCase{1.0, 1.0, 10}}) {
        box.Vb = 0.04;
        box.Qb = c.qb;
        box.Ql = c.ql;
        box.fill = c.fill;
        box.UpdateImpedance(TElementGrid::Of(grid));
        for (int i = 0; i < grid.Count(); ++i) {
            const double x = -1.0 / (box.Compliance() * grid.Omega(i));
            const std::complex<double> series(-x / c.qb, x);
            const std::complex<double> expected = 1.0 / (1.0 / series + std::complex<double>(-1.0 / (c.ql * x)));
            const TComplex z = box.impedance[static_cast<std::size_t>(i)];
            EXPECT_NEAR(std::abs(z - expected), 0.0, 1e-12 * std::abs(expected)) << c.qb << " " << c.ql << " " << i;
        }
    }
}

TEST_F(BoxTest, HiddenLeakageStillEntersTheImpedance)
{
    TBoxObject shown("Box", true), hidden("Front box", false);
    shown.Ql = hidden.Ql = 4.0;
    shown.UpdateImpedance(TElementGrid::Of(grid));
    hidden.UpdateImpedance(TElementGrid::Of(grid));
    EXPECT_EQ(shown.impedance[7], hidden.impedance[7]);
}

TEST_F(BoxTest, UpdateTouchesOnlyTheGridPoints)
{
    box.impedance.fill(TComplex(-1.0, -1.0));
    TElementGrid g = TElementGrid::Of(grid);
    box.UpdateImpedance(g);
    EXPECT_NE(box.impedance[49], TComplex(-1.0, -1.0));
    EXPECT_EQ(box.impedance[50], TComplex(-1.0, -1.0));
    // A missing grid does nothing; a count beyond the block stops at its end.
    box.UpdateImpedance(TElementGrid{});
    EXPECT_EQ(box.impedance[499], TComplex(-1.0, -1.0));
    std::vector<double> f(500, 100.0), w(500, 628.318530718);
    box.UpdateImpedance(TElementGrid{f.data(), w.data(), 100000});
    EXPECT_EQ(box.impedance[499], box.impedance[0]);
}

TEST_F(BoxTest, RecordHasTheFieldsAtTheirOffsetsAndRoundTrips)
{
    box.Vb = 0.0234;
    box.Qb = 7.5;
    box.Ql = 12.25;
    box.fill = 37;
    TBinaryWriter out;
    box.WriteRecord(out);
    const auto& b = out.Bytes();
    ASSERT_EQ(b.size(), TBoxObject::kRecordSize);
    ASSERT_EQ(b.size(), 28u);
    EXPECT_EQ(DoubleAt(b, 0), 0.0234);
    EXPECT_EQ(DoubleAt(b, 8), 7.5);
    EXPECT_EQ(DoubleAt(b, 16), 12.25);
    EXPECT_EQ(b[24], 37);
    EXPECT_EQ(b[25], 0);
    EXPECT_EQ(b[26], 0);
    EXPECT_EQ(b[27], 0);

    TBoxObject copy("Copy", false);
    copy.dirty = false;
    TBinaryReader in(b);
    ASSERT_TRUE(copy.ReadRecord(in));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(copy.Vb, 0.0234);
    EXPECT_EQ(copy.Qb, 7.5);
    EXPECT_EQ(copy.Ql, 12.25);
    EXPECT_EQ(copy.fill, 37);
    EXPECT_TRUE(copy.dirty);
}

TEST_F(BoxTest, TruncatedRecordsFailAndChangeNothing)
{
    const auto full = RecordOf(0.05, 9.0, 8.0, 20);
    for (std::size_t size = 0; size < full.size(); ++size) {
        TBoxObject reader("Box", true);
        TBinaryReader in(std::vector<std::uint8_t>(full.begin(), full.begin() + static_cast<long>(size)));
        EXPECT_FALSE(reader.ReadRecord(in)) << size;
        EXPECT_EQ(reader.Vb, 0.01);
        EXPECT_EQ(reader.Qb, 15.0);
        EXPECT_EQ(reader.fill, 0);
    }
}

struct DamagedRow {
    double vb, qb, ql;
    std::int32_t fill;
};

TEST_F(BoxTest, DamagedRecordsAreRefused)
{
    const DamagedRow rows[] = {
        {0.0, 15, 15, 0},  {-0.01, 15, 15, 0}, {std::nan(""), 15, 15, 0}, {INFINITY, 15, 15, 0},
        {0.01, 0, 15, 0},  {0.01, 15, -2, 0},  {0.01, 15, std::nan(""), 0}, {0.01, 15, 15, 101},
        {0.01, 15, 15, -1},
    };
    for (const auto& r : rows) {
        TBoxObject reader("Box", true);
        TBinaryReader in(RecordOf(r.vb, r.qb, r.ql, r.fill));
        EXPECT_FALSE(reader.ReadRecord(in)) << r.vb << " " << r.qb << " " << r.ql << " " << r.fill;
        EXPECT_EQ(reader.Vb, 0.01);
        EXPECT_EQ(reader.Ql, 15.0);
        EXPECT_EQ(reader.fill, 0);
    }
}

TEST_F(BoxTest, ReportLinesWithAndWithoutLeakage)
{
    box.Vb = 0.0234;
    box.Qb = 7.5;
    box.Ql = 12.25;
    box.fill = 37;
    std::vector<std::string> lines;
    box.Report(lines);
    const std::vector<std::string> expected = {"Box", " Vol\t\t23.40 l", " Qb\t\t7.5", " Ql\t\t12.2",
                                               " Fill\t\t37 %"};
    EXPECT_EQ(lines, expected);

    TBoxObject front("Front box", false);
    std::vector<std::string> more = {"before"};
    front.Report(more);
    const std::vector<std::string> expectedFront = {"before", "Front box", " Vol\t\t10.00 l", " Qb\t\t15.0",
                                                    " Fill\t\t0 %"};
    EXPECT_EQ(more, expectedFront);
}

TEST_F(BoxTest, ReportUsesADecimalPointInAnyLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    std::vector<std::string> lines;
    box.Report(lines);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(lines[1], " Vol\t\t10.00 l");
}

struct FieldRow {
    TBoxField field;
    double shown;
    bool accepted;
};

TEST_F(BoxTest, FieldsAcceptTheirRangeOnly)
{
    const FieldRow rows[] = {
        {TBoxField::Volume, 0.09, false}, {TBoxField::Volume, 0.1, true},   {TBoxField::Volume, 10000.0, true},
        {TBoxField::Volume, 10001.0, false}, {TBoxField::Qb, 2.9, false},   {TBoxField::Qb, 3.0, true},
        {TBoxField::Qb, 15.1, false},     {TBoxField::Ql, 15.0, true},      {TBoxField::Ql, 16.0, false},
        {TBoxField::Fill, -1.0, false},   {TBoxField::Fill, 100.0, true},   {TBoxField::Fill, 101.0, false},
        {TBoxField::Volume, std::nan(""), false},
    };
    for (const auto& r : rows) {
        box.Reset();
        box.dirty = false;
        const auto result = CommitBoxField(box, r.field, r.shown);
        EXPECT_EQ(result.accepted, r.accepted) << static_cast<int>(r.field) << " " << r.shown;
        EXPECT_EQ(box.dirty, r.accepted);
        EXPECT_TRUE(result.Redraws(static_cast<int>(r.field)));
    }
}

TEST_F(BoxTest, FieldsStoreInSiUnitsAndShowInTheirFormats)
{
    ASSERT_TRUE(CommitBoxField(box, TBoxField::Volume, 45.5).accepted);
    EXPECT_DOUBLE_EQ(box.Vb, 0.0455);
    EXPECT_EQ(BoxFieldText(box, TBoxField::Volume), "45.5");
    ASSERT_TRUE(CommitBoxField(box, TBoxField::Fill, 30.0).accepted);
    EXPECT_EQ(BoxFieldText(box, TBoxField::Fill), "30");
    TBoxField field;
    ASSERT_TRUE(FindBoxField("Box Q-value", field));
    EXPECT_EQ(field, TBoxField::Qb);
    ASSERT_TRUE(FindBoxField("box volume", field));
    EXPECT_EQ(field, TBoxField::Volume);
    EXPECT_FALSE(FindBoxField("Volume", field));
}

TEST_F(BoxTest, VolumeAndFillRetuneThePortsAndTheRadiatorInTheBox)
{
    TPortNonLinearity shared;
    TPortObject port("Port", shared), other("Rear port", shared);
    TAbrObject radiator(box);
    TPortObject* ports[] = {&port, &other};
    const double radiatorBefore = radiator.fb;

    ASSERT_TRUE(CommitBoxField(box, TBoxField::Volume, 40.0, ports, &radiator).accepted);
    EXPECT_DOUBLE_EQ(port.V, 0.04);
    EXPECT_DOUBLE_EQ(other.V, 0.04);
    EXPECT_LT(radiator.fb, radiatorBefore); // a larger box is a softer spring
    const double tuned = port.fp;
    const double radiatorTuned = radiator.fb;

    ASSERT_TRUE(CommitBoxField(box, TBoxField::Fill, 50.0, ports, &radiator).accepted);
    EXPECT_DOUBLE_EQ(port.V, 0.04 * 1.1);
    EXPECT_NEAR(port.fp, tuned / std::sqrt(1.1), 1e-9);
    EXPECT_LT(radiator.fb, radiatorTuned);

    // The Q fields leave the tunings alone.
    port.dirty = false;
    ASSERT_TRUE(CommitBoxField(box, TBoxField::Qb, 5.0, ports, &radiator).accepted);
    EXPECT_FALSE(port.dirty);
}

} // namespace
