// The bandpass boxes, all four types: the pair of -3 dB points, the slopes of the pass
// band against the networks, the ports' tunings, the equal-volume rules, quick box and
// table lookup, report, windows, file layout and damaged input. What every box type
// shares is in BoxFrameTest.

#include "box/TBP5Box.h"
#include "box/TBP6Box.h"
#include "box/TBP7Box.h"
#include "box/TBP8Box.h"
#include "box/TBandpassDialog.h"
#include "box/TBoxReport.h"
#include "box/TMinus3dBPair.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TElementConstants.h"
#include "box/elements/TPortObject.h"
#include "core/TBinaryStream.h"
#include "support/BoxTestBench.h"
#include "ui/TCommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

namespace C = TElementConstants;

// ---------------------------------------------------------------- -3 dB pair

TEST(TMinus3dBPairTest, ReferenceIsTheTopOfOneHumpOrTheLastDipBetweenTwo)
{
    const double f[] = {10, 20, 30, 40, 50, 60, 70, 80};
    struct Row {
        const char* name;
        double s[8];
        double reference, lower, upper;
    };
    const Row rows[] = {
        // One hump: the top of all points but the last; crossings interpolated.
        {"single hump", {-20, -8, -1, 0, -1, -4, -10, -30}, 0.0, 20.0 + 50.0 / 7.0, 50.0 + 20.0 / 3.0},
        // Two humps: the dip between them is the reference, so the edges lie outside
        // the humps, where the level is 3 dB under the dip.
        {"two humps", {-20, -2, 0, -4, 1, -2, -9, -30}, -4.0, 10.0 + 130.0 / 18.0, 60.0 + 50.0 / 7.0},
        // Two dips: the last one wins.
        {"two dips", {-20, 0, -5, 0, -2, 0, -10, -30}, -2.0, 17.5, 65.0},
        // Still within 3 dB at the last point: no upper point.
        {"rising end", {-20, -8, -1, 0, 0, 0, 0, 5}, 0.0, 20.0 + 50.0 / 7.0, 0.0},
        // Already within 3 dB at the first point: no lower point.
        {"flat start", {0, 0, -1, -2, -8, -12, -20, -30}, 0.0, 0.0, 40.0 + 10.0 / 6.0},
        // A last-point maximum is no reference when there is a hump before it.
        {"last point highest", {-20, -1, 0, -1, -2, -3, -4, 9}, 0.0, 10.0 + 170.0 / 19.0, 0.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TMinus3dBPair pair = FindMinus3dBPair(row.s, f, 8);
        EXPECT_DOUBLE_EQ(pair.reference, row.reference);
        EXPECT_NEAR(pair.lower, row.lower, 1e-12);
        EXPECT_NEAR(pair.upper, row.upper, 1e-12);
    }
    EXPECT_EQ(FindMinus3dBPair(nullptr, f, 8).lower, 0.0);
    const double one[] = {1.0};
    EXPECT_EQ(FindMinus3dBPair(one, f, 1).upper, 0.0);
}

// ---------------------------------------------------------------- the boxes

class TBandpassBoxTest : public ::testing::TestWithParam<int>, protected BoxTestBench {
protected:
    void SetUp() override { Enter("tonvek-bp"); }
    void TearDown() override { Leave(); }

    int Kind() const { return GetParam() - 4; } // 1 .. 4 as the titles number them
    std::unique_ptr<TBandpassBox> Make()
    {
        switch (GetParam()) {
        case TBP5Box::kTypeCode: return std::make_unique<TBP5Box>(host_, context_);
        case TBP6Box::kTypeCode: return std::make_unique<TBP6Box>(host_, context_);
        case TBP7Box::kTypeCode: return std::make_unique<TBP7Box>(host_, context_);
        default: return std::make_unique<TBP8Box>(host_, context_);
        }
    }
    // The example woofer in the type's quick box, on a wide fine grid.
    std::unique_ptr<TBandpassBox> MakeQuick()
    {
        auto box = Make();
        SetGrid(5, 5000, 500); // after the reset, which loads the preferred setup
        Prepare(*box, 0.02);
        box->QuickBox();
        box->Calculate(0);
        return box;
    }
    // Level slope in dB per octave between the grid points nearest f and 2 f.
    static double Slope(const TBandpassBox& box, double f)
    {
        const int a = Nearest(box, f), b = Nearest(box, 2 * f);
        const double octaves = std::log2(box.Grid().Frequency(b) / box.Grid().Frequency(a));
        return (box.splTotal[static_cast<std::size_t>(b)] - box.splTotal[static_cast<std::size_t>(a)]) / octaves;
    }
    static int Nearest(const TBandpassBox& box, double f)
    {
        int best = 0;
        for (int i = 1; i < box.PointCount(); ++i)
            if (std::fabs(std::log(box.Grid().Frequency(i) / f)) < std::fabs(std::log(box.Grid().Frequency(best) / f)))
                best = i;
        return best;
    }
};

} // namespace

TEST_P(TBandpassBoxTest, PassBandFallsAtTheNetworksOrderOnEitherSide)
{
    // Type 1 is a closed box below its band (12 dB per octave) and the vented types
    // fall like a vented box (24); above the band every type is a second-order acoustic
    // low pass in front of a mass-controlled cone (12).
    auto box = MakeQuick();
    const TMinus3dBPair& pair = box->Minus3dBPair();
    ASSERT_GT(pair.lower, 0.0);
    ASSERT_GT(pair.upper, pair.lower);
    const double below = Slope(*box, pair.lower / 8.0);
    const double above = Slope(*box, pair.upper * 6.0);
    EXPECT_NEAR(below, Kind() == 1 ? 12.0 : 24.0, 0.6) << pair.lower;
    EXPECT_NEAR(above, -12.0, 0.6) << pair.upper;
}

TEST_P(TBandpassBoxTest, ConeLoadIsTheNetworkWithoutRadiationAndPressureIsPortsOnly)
{
    auto box = MakeQuick();
    const int n = box->PointCount();
    const TSpeakerObject& d = box->FrontDriver();
    for (int i = 0; i < n; i += 37) {
        const auto j = static_cast<std::size_t>(i);
        const TComplex expected = box->coneLoad[j] + d.mechImpedance[j] + d.extraLoad[j];
        EXPECT_NEAR(std::abs(box->acousticLoad[j] - expected), 0.0, 1e-9 * std::abs(expected));
        // The project pressure is the radiating ports' sum.
        TComplex ports = box->PortCount() == 1 || Kind() == 2 ? box->Port(box->PortCount() - 1).pressure[j]
                                                             : box->Port(1).pressure[j] - box->Port(0).pressure[j];
        EXPECT_NEAR(std::abs(box->pressure[j] - ports), 0.0, 1e-9 * std::abs(ports) + 1e-30);
    }
}

TEST_P(TBandpassBoxTest, TypeOnePortPeaksAtTheFrontTuningWhereTheConeRests)
{
    if (Kind() != 1)
        GTEST_SKIP() << "type 1 only";
    auto box = MakeQuick();
    const double fp = box->Port(0).fp;
    const int n = box->PointCount();
    int peak = 0;
    for (int i = 0; i < n; ++i)
        if (box->splTotal[static_cast<std::size_t>(i)] > box->splTotal[static_cast<std::size_t>(peak)])
            peak = i;
    // Above the tuning the cone is mass controlled and its excursion keeps falling; near
    // the tuning the port holds the front chamber's pressure and the cone rests in a
    // notch of its own.
    const auto& x = box->FrontDriver().excursion;
    int rest = -1;
    for (int i = Nearest(*box, fp / 2.0); i < Nearest(*box, fp * 2.0) && rest < 0; ++i)
        if (x[static_cast<std::size_t>(i)] < x[static_cast<std::size_t>(i - 1)] &&
            x[static_cast<std::size_t>(i)] <= x[static_cast<std::size_t>(i + 1)])
            rest = i;
    ASSERT_GE(rest, 0);
    EXPECT_NEAR(box->Grid().Frequency(peak), fp, 0.1 * fp);
    EXPECT_NEAR(box->Grid().Frequency(rest), fp, 0.05 * fp);
}

TEST_P(TBandpassBoxTest, CoupledTuningOfTypeTwoFollowsBothVolumes)
{
    if (Kind() != 2)
        GTEST_SKIP() << "type 2 only";
    auto box = Make();
    TPortObject& rear = box->Port(0);
    TPortObject& front = box->Port(1);
    struct Row {
        double vr, vf;
        int fillR;
    };
    double lastRear = 0, lastFront = 0;
    for (const Row& row : {Row{0.02, 0.01, 0}, Row{0.04, 0.01, 0}, Row{0.04, 0.01, 100}}) {
        box->FirstBox().Vb = row.vr;
        box->FirstBox().fill = row.fillR;
        box->SecondBox().Vb = row.vf;
        box->UpdateTuning();
        const double mr = rear.AcousticMass(), mf = front.AcousticMass();
        const double cr = box->FirstBox().Compliance(), cf = box->SecondBox().Compliance();
        // At either tuning the lossless network's impedance across the cone is infinite:
        // the rear port's admittance cancels that of the rear box with the front box
        // and its port behind it.
        auto across = [&](double f) {
            const TComplex jw(0.0, C::kTwoPi * f);
            const TComplex front = 1.0 / (jw * cf + 1.0 / (jw * mf));
            return 1.0 / (jw * mr) + 1.0 / (1.0 / (jw * cr) + front);
        };
        for (const TPortObject* port : {&rear, &front})
            EXPECT_LT(std::abs(across(port->fp)), 1e-6 * std::abs(1.0 / TComplex(0, C::kTwoPi * port->fp * mr)));
        EXPECT_LT(rear.fp, front.fp); // the lower one is the rear port's
        // Only the rear volume changed from the row before: both tunings moved.
        if (lastRear > 0) {
            EXPECT_NE(rear.fp, lastRear);
            EXPECT_NE(front.fp, lastFront);
        }
        lastRear = rear.fp;
        lastFront = front.fp;
    }
}

TEST_P(TBandpassBoxTest, EqualVolumesAreMovedApartAndTypeFourStartsWithTwoDrivers)
{
    auto box = Make();
    Prepare(*box, 0.02);
    box->SecondBox().Vb = Kind() == 4 ? 0.04 : 0.02; // type 4 also refuses Vm = 2 Vs
    box->Calculate(0);
    const bool moved = Kind() == 3 || Kind() == 4;
    EXPECT_DOUBLE_EQ(box->SecondBox().Vb, (Kind() == 4 ? 0.04 : 0.02) * (moved ? 1.001 : 1.0));
    if (Kind() == 4) {
        auto fresh = Make();
        EXPECT_EQ(fresh->FrontDriver().numberOfDrivers, 2);
        EXPECT_DOUBLE_EQ(fresh->Port(0).L, 2.0 * fresh->Port(1).L);
        // Each of the two drivers carries the middle box and half a side.
        const auto j = std::size_t{40};
        const double nd = box->FrontDriver().numberOfDrivers;
        EXPECT_NEAR(std::abs(box->coneLoad[j] - 0.5 * nd * (2.0 * box->loadA[j] + box->loadB[j])), 0.0,
                    1e-12 * std::abs(box->coneLoad[j]));
    }
    if (Kind() == 3) {
        auto fresh = Make();
        EXPECT_DOUBLE_EQ(fresh->Port(0).L, 2.0 * fresh->Port(1).L);
    }
}

TEST_P(TBandpassBoxTest, QuickBoxSetsTheTypesVolumesAndTunings)
{
    auto box = MakeQuick();
    const double vas = box->totalVas, fs = box->effectiveFs;
    struct Rule {
        double first, second, fp0, fp1;
    };
    const Rule rules[] = {{0.5, 0.5, 2.0, 0.0}, {1.0, 0.5, 0.0, 0.0}, {1.0 / 3, 1 / 2.8, 1.0, 2.0}, {1.0 / 6, 1 / 2.8, 1.0, 2.0}};
    const Rule& r = rules[Kind() - 1];
    EXPECT_NEAR(box->FirstBox().Vb, r.first * vas, 1e-12);
    EXPECT_NEAR(box->SecondBox().Vb, r.second * vas * (Kind() >= 3 && box->SecondBox().Vb != r.second * vas ? 1.001 : 1.0),
                1e-9);
    // The ports were sized against the bare volumes: the tuning is within the fill's
    // change of the target and the ports are at least 10 cm long.
    if (r.fp0 > 0) {
        EXPECT_NEAR(box->Port(0).fp, r.fp0 * fs, 0.01 * fs);
        EXPECT_GE(box->Port(0).L, 0.1 - 1e-12);
    }
    if (r.fp1 > 0) {
        EXPECT_NEAR(box->Port(1).fp, r.fp1 * fs, 0.01 * fs);
        EXPECT_GE(box->Port(1).L, 0.1 - 1e-12);
    }
    if (Kind() == 2) {
        EXPECT_DOUBLE_EQ(box->Port(0).L, 0.2);
        EXPECT_DOUBLE_EQ(box->Port(1).L, 0.1);
        EXPECT_NEAR(box->Port(1).S, 2.0 * box->Port(0).S, 1e-15);
    }
    EXPECT_FALSE(box->Report().Lines().empty());
}

TEST_P(TBandpassBoxTest, TableLookupTakesTheRowOfTheEffectiveQts)
{
    auto box = Make();
    Prepare(*box, 0.02);
    box->ComputeEffectiveDriver();
    const int row = box->TableLookup();
    if (Kind() <= 2) {
        EXPECT_EQ(row, -1);
        return;
    }
    ASSERT_EQ(row, TBandpassBox::TableRow(box->effectiveQts));
    const TBandpassBox::TAlignment& a = TBandpassBox::Alignment(row);
    EXPECT_LE(a.qts, box->effectiveQts);
    EXPECT_NEAR(box->SecondBox().Vb, box->totalVas * a.kf, 1e-9);
    EXPECT_NEAR(box->FirstBox().Vb, (Kind() == 4 ? 0.5 : 1.0) * box->totalVas * a.kr, 1e-9);
    EXPECT_NEAR(box->Port(0).fp, box->effectiveFs * a.hr, 1e-6 * box->effectiveFs);
    EXPECT_NEAR(box->Port(1).fp, box->effectiveFs * a.hf, 1e-6 * box->effectiveFs);
    EXPECT_EQ(box->FirstBox().fill, 0);
    EXPECT_DOUBLE_EQ(box->SecondBox().Qb, 15.0);
}

TEST_P(TBandpassBoxTest, TableLookupOutsideTheTableTakesTheNearestRowAndSaysSo)
{
    if (Kind() <= 2)
        GTEST_SKIP() << "types 3 and 4";
    struct Row {
        const char* name;
        double qes, qms;
        int row;
        bool message;
    };
    // Qts = 1 / (1/Qes + 1/Qms) of the example woofer with other electrical damping.
    for (const Row& r : {Row{"very high Qts", 10.0, 20.0, 0, true}, Row{"very low Qts", 0.1, 2.16, 74, true},
                         Row{"inside", 0.41, 2.16, -1, false}}) {
        SCOPED_TRACE(r.name);
        auto box = Make();
        Prepare(*box, 0.02);
        box->FrontDriver().Qes = r.qes;
        box->FrontDriver().Qms = r.qms;
        host_.ClearMessages();
        const int row = box->TableLookup();
        if (r.row >= 0) {
            EXPECT_EQ(row, r.row);
        }
        ASSERT_EQ(host_.Messages().size(), r.message ? 1u : 0u);
        if (r.message) {
            EXPECT_EQ(host_.Messages()[0].title, "By table lookup");
            EXPECT_NE(host_.Messages()[0].text.find("(0.146 .. 1.437)"), std::string::npos)
                << host_.Messages()[0].text;
        }
        EXPECT_TRUE(std::isfinite(box->FirstBox().Vb) && box->FirstBox().Vb > 0);
        EXPECT_TRUE(std::isfinite(box->Port(1).L));
    }
}

TEST(TBandpassAlignmentTest, RowsFollowThePublishedOnesAndTheirTrends)
{
    struct Row {
        int row;
        float qts, hf, hr, kf, kr;
    };
    const Row published[] = {{0, 1.437f, 1.129f, 0.885f, 8.96f, 14.f},     {9, 0.988f, 1.191f, 0.839f, 3.905f, 7.432f},
                             {20, 0.713f, 1.27f, 0.787f, 1.858f, 4.471f},  {30, 0.566f, 1.343f, 0.744f, 1.092f, 3.233f},
                             {40, 0.468f, 1.418f, 0.704f, 0.7f, 2.532f},   {50, 0.343f, 1.574f, 0.635f, 0.338f, 1.795f},
                             {60, 0.265f, 1.736f, 0.575f, 0.186f, 1.427f}, {74, 0.146f, 2.251f, 0.444f, 0.049f, 0.997f}};
    for (const Row& r : published) {
        const TBandpassBox::TAlignment& a = TBandpassBox::Alignment(r.row);
        EXPECT_EQ(a.qts, r.qts);
        EXPECT_EQ(a.hf, r.hf);
        EXPECT_EQ(a.hr, r.hr);
        EXPECT_EQ(a.kf, r.kf);
        EXPECT_EQ(a.kr, r.kr);
    }
    for (int row = 1; row < TBandpassBox::kAlignmentRows; ++row) {
        const auto& a = TBandpassBox::Alignment(row - 1);
        const auto& b = TBandpassBox::Alignment(row);
        EXPECT_LT(b.qts, a.qts) << row;
        EXPECT_GT(b.hf, a.hf) << row;
        EXPECT_LT(b.hr, a.hr) << row;
        EXPECT_LT(b.kf, a.kf) << row;
        EXPECT_LT(b.kr, a.kr) << row;
        EXPECT_LE(a.qts - b.qts, 0.0685f) << row;
        EXPECT_GE(a.qts - b.qts, 0.0055f) << row;
    }
    struct Pick {
        double qts;
        int row;
    };
    for (const Pick& p : {Pick{2.0, 0}, Pick{1.437, 0}, Pick{1.43, 1}, Pick{0.5, 37}, Pick{0.494, 37}, Pick{0.147, 74},
                          Pick{0.146, 74}, Pick{0.01, 74}, Pick{std::nan(""), 0}})
        EXPECT_EQ(TBandpassBox::TableRow(p.qts), p.row) << p.qts;
    EXPECT_FLOAT_EQ(TBandpassBox::Alignment(37).qts, 0.494f);
}

TEST_P(TBandpassBoxTest, ReportWindowsAndStandingWaves)
{
    auto box = MakeQuick();
    const std::vector<std::string>& lines = box->Report().Lines();
    EXPECT_EQ(box->Report().Title(), "BANDPASS BOX TYPE " + std::to_string(Kind()));
    // Both air volumes, then the ports, in file order.
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(lines[0], Kind() == 4 ? "Side boxes" : "Rear box");
    const auto points = std::find_if(lines.begin(), lines.end(),
                                     [](const std::string& l) { return l.rfind("  -3dB points: \t", 0) == 0; });
    ASSERT_NE(points, lines.end());
    EXPECT_NE(points->find(" Hz   ,   "), std::string::npos);

    std::vector<TPlotXYEmbryo*> windows = box->OptionalPlots();
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0]->Title(), "Airspeed in port");
    EXPECT_EQ(windows[1]->Title(), "SPL with port standing wave modes");
    EXPECT_EQ(box->CommonBodyPlot(), windows[1]);
    TPlotLogXLinY& modes = box->ModesPlot();
    ASSERT_EQ(modes.CurveCount(), 2);
    EXPECT_EQ(modes.Curve(0).label, "With port standing waves");
    EXPECT_EQ(modes.Curve(1).label, "Ideal system");
    EXPECT_EQ(box->AirSpeedPlot().CurveCount(), Kind() == 1 ? 1 : 2);
    EXPECT_EQ(box->SplPlot().CurveCount(), Kind() == 1 ? 1 : 3); // the target hidden

    // Below the upper -3 dB point the curve is the SPL; above it the pipe modes add.
    const int n = box->PointCount();
    bool added = false;
    for (int i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(i);
        if (box->Grid().Frequency(i) < box->Minus3dBPair().upper) {
            EXPECT_EQ(box->splModes[j], box->splTotal[j]);
        }
        EXPECT_GE(box->splModes[j], box->splTotal[j]);
        added = added || box->splModes[j] > box->splTotal[j] + 1.0;
    }
    EXPECT_TRUE(added);
    EXPECT_TRUE(box->HandlesCommand(TCmd::ExportModesSpl));
}

TEST_P(TBandpassBoxTest, NoUpperPointLeavesNoLineAndNoStandingWaves)
{
    // A grid that stops inside the pass band: the level is still within 3 dB at the end.
    auto box = Make();
    SetGrid(5, 60, 200);
    Prepare(*box, 0.02);
    box->QuickBox();
    box->Calculate(0);
    EXPECT_EQ(box->Minus3dBPair().upper, 0.0);
    for (const std::string& line : box->Report().Lines())
        EXPECT_EQ(line.find("-3dB"), std::string::npos) << line;
    for (int i = 0; i < box->PointCount(); ++i)
        EXPECT_EQ(box->splModes[static_cast<std::size_t>(i)], box->splTotal[static_cast<std::size_t>(i)]);
}

TEST_P(TBandpassBoxTest, ZeroAndHugeElementsGiveFiniteCurves)
{
    struct Row {
        const char* name;
        double v1, v2, s, l;
    };
    for (const Row& row : {Row{"zero volumes", 0.0, 0.0, 0.002, 0.1}, Row{"huge volumes", 1e6, 1e6, 0.002, 0.1},
                           Row{"closed ports", 0.02, 0.01, 0.0, 0.1}, Row{"huge ports", 0.02, 0.01, 1e3, 1e3},
                           Row{"zero length", 0.02, 0.01, 0.002, 0.0}}) {
        SCOPED_TRACE(row.name);
        auto box = Make();
        Prepare(*box, row.v1);
        box->SecondBox().Vb = row.v2;
        for (int k = 0; k < box->PortCount(); ++k) {
            box->Port(k).S = row.s;
            box->Port(k).D = std::sqrt(4 * row.s / C::kPi);
            box->Port(k).L = row.l;
        }
        box->Calculate(0);
        for (int i = 0; i < box->PointCount(); ++i) {
            const auto j = static_cast<std::size_t>(i);
            ASSERT_TRUE(std::isfinite(box->splTotal[j])) << i;
            ASSERT_TRUE(std::isfinite(box->splModes[j])) << i;
            ASSERT_TRUE(std::isfinite(box->FrontDriver().excursion[j])) << i;
            ASSERT_TRUE(std::isfinite(box->firstSpeed[j])) << i;
        }
    }
}

// ---------------------------------------------------------------- project file

namespace {
// The closed box's common blocks, the standing-wave window's block after the standard
// plots, then the body: second volume, the port records, the air speed window.
constexpr std::size_t kCommonSize =
    4 + 2 + 16 + 63 + 271 + 271 + 378 + 28 + 95 + 1672 + 620 + 8 + 4 * 70 + 70 + 1 + 70;
} // namespace

TEST_P(TBandpassBoxTest, SavedFileHasTheBlockLayoutAndReadsBack)
{
    auto box = Make();
    ASSERT_TRUE(box->LoadFrontUnitFrom(unitPath()));
    box->SecondBox().Vb = 0.0123;
    box->SecondBox().fill = 70;
    box->Port(box->PortCount() - 1).L = 0.17;
    box->Port(0).n = 3;
    box->Port(0).SetNonLinearity(true);
    box->ModesPlot().placement.restored = TRect{11, 22, 333, 444};
    box->SecondBox().dirty = true;
    for (int k = 0; k < box->PortCount(); ++k)
        box->Port(k).dirty = true;
    std::string path = (dir_ / "bp.box").string();
    ASSERT_TRUE(box->SaveTo(path));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    const std::size_t body = 28 + 53 * static_cast<std::size_t>(box->PortCount()) + 70;
    ASSERT_EQ(bytes.size(), kCommonSize + body + 2);
    EXPECT_EQ(bytes[0], GetParam());
    EXPECT_EQ(bytes[bytes.size() - 2], 0x39);
    EXPECT_EQ(bytes[bytes.size() - 1], 0x30);

    auto again = Make();
    ASSERT_TRUE(again->Load(path));
    EXPECT_DOUBLE_EQ(again->SecondBox().Vb, box->SecondBox().Vb);
    EXPECT_EQ(again->SecondBox().fill, 70);
    EXPECT_DOUBLE_EQ(again->Port(again->PortCount() - 1).L, 0.17);
    EXPECT_EQ(again->Port(0).n, 3);
    EXPECT_TRUE(again->Port(0).NonLinearity());
    EXPECT_EQ(again->ModesPlot().placement.restored.right, 333);
    EXPECT_EQ(again->splTotal, box->splTotal);
    EXPECT_FALSE(again->Changed());

    // A version 300 .. 399 file has 45-byte port records (straight ports) and the older
    // common blocks: setup without the high-pass (12 bytes), driver without the load
    // resistor (8), room without measured data (292).
    std::vector<std::uint8_t> older = bytes;
    const std::size_t ports = kCommonSize + 28;
    for (int k = box->PortCount() - 1; k >= 0; --k) {
        const std::size_t end = ports + 53 * static_cast<std::size_t>(k + 1);
        older.erase(older.begin() + static_cast<long>(end - 8), older.begin() + static_cast<long>(end));
    }
    const std::size_t room = 22 + 63 + 271 + 271 + 378 + 28 + 95;
    older.erase(older.begin() + static_cast<long>(room + 1672 - 292), older.begin() + static_cast<long>(room + 1672));
    older.erase(older.begin() + 22 + 63 + 271 + 271 + 370, older.begin() + 22 + 63 + 271 + 271 + 378);
    older.erase(older.begin() + 22 + 51, older.begin() + 22 + 63);
    older[4] = 300 & 0xFF;
    older[5] = 300 >> 8;
    auto old = Make();
    TBinaryReader oldIn(older);
    ASSERT_TRUE(old->LoadFrom(oldIn));
    EXPECT_DOUBLE_EQ(old->Port(old->PortCount() - 1).L, 0.17);
    EXPECT_EQ(old->Port(0).n, 3);
    EXPECT_EQ(old->ModesPlot().placement.restored.right, 333);
    EXPECT_EQ(old->Port(0).c, 0.0);

    // Every truncation fails without harm.
    for (std::size_t cut = 0; cut + 1 < bytes.size(); cut += 97) {
        std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + static_cast<long>(cut));
        auto reader = Make();
        TBinaryReader in(part);
        EXPECT_FALSE(reader->LoadFrom(in)) << cut;
    }
}

TEST_P(TBandpassBoxTest, DialogGroupsAndMenuFollowTheType)
{
    auto box = Make();
    Prepare(*box, 0.02);
    context_.MeasSetup().calculateImmediately = false;
    box->OpenBoxDialog();
    TDialogModel* dialog = box->ExistingBoxDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "Bandpass box type " + std::to_string(Kind()));
    using D = TBandpassDialog;
    // A new volume of the box a port opens from retunes that port (type 2: the coupled
    // system, both ports).
    const int k = box->PortCount() - 1;
    const double before = box->Port(k).fp, other = box->Port(0).fp;
    dialog->Type(D::kSecondBox + D::kVolume, "5");
    dialog->FocusField(D::kSecondBox + D::kQb);
    EXPECT_DOUBLE_EQ(box->SecondBox().Vb, 0.005);
    EXPECT_GT(box->Port(k).fp, before);
    if (Kind() == 2) {
        EXPECT_NE(box->Port(0).fp, other);
    }
    bool table = false;
    for (const TMenuItem& item : dialog->menu[0].items)
        table = table || item.id == D::kTableLookup;
    EXPECT_EQ(table, Kind() != 2);
}

INSTANTIATE_TEST_SUITE_P(AllTypes, TBandpassBoxTest,
                         ::testing::Values(TBP5Box::kTypeCode, TBP6Box::kTypeCode, TBP7Box::kTypeCode,
                                           TBP8Box::kTypeCode),
                         [](const auto& info) { return "bp" + std::to_string(info.param - 4); });
