// The bass reflex box itself: vented box physics against Thiele's B4 alignment and the
// flows of cone and port, the port's compression and standing waves, quick box, the
// dialog's rules, the report and the project file layout. What all box types share is
// in BoxFrameTest.

#include "box/TBassReflexBox.h"
#include "box/TBoxReport.h"
#include "box/TBreflDialog.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TPortObjectFields.h"
#include "core/TBinaryStream.h"
#include "driver/TSpkCalcMissing.h"
#include "settings/TMeasSetup.h"
#include "support/BoxTestBench.h"
#include "ui/TCommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

namespace {

// A woofer from its resonance, Vas and compliance, with Qms 5 and the Qes that makes
// its total Q qts.
void FillTableWoofer(TSpkData& u, double fs, double vas, double cms, double qts)
{
    u.Clear();
    u.fs = fs;
    u.Qms = 5.0;
    u.Qes = 1.0 / (1.0 / qts - 1.0 / 5.0);
    u.Vas = vas;
    u.Re = 6.0;
    u.Cms = cms;
    CalcMissingFields(u);
    u.UpdateSquares();
}

class TBassReflexBoxTest : public ::testing::Test, protected BoxTestBench {
protected:
    void SetUp() override { Enter("tonvek-reflex"); }
    void TearDown() override { Leave(); }

    // The example woofer in vb m³ with the port tuned to fb.
    std::unique_ptr<TBassReflexBox> MakeBox(double vb, double fb)
    {
        auto box = std::make_unique<TBassReflexBox>(host_, context_);
        Prepare(*box, vb);
        Tune(*box, fb);
        return box;
    }

    static void Tune(TBassReflexBox& box, double fb)
    {
        TPortObject& port = box.Port();
        port.V = box.BoxVolume().TuningVolume();
        ASSERT_TRUE(port.SetLengthFromTuning(fb));
        port.dirty = true;
    }

    // A woofer of the table with total Q qts in vb m³, the port tuned to its fs, the
    // box losses QB = QL = q.
    template <class Row>
    std::unique_ptr<TBassReflexBox> MakeVented(const Row& row, double qts, double vb, double q)
    {
        auto box = std::make_unique<TBassReflexBox>(host_, context_);
        FillTableWoofer(box->FrontDriver(), row.fs, row.vas, row.cms, qts);
        box->FrontDriver().EvaluateComplete();
        box->FrontDriver().outOfDate = true;
        box->BoxVolume().Vb = vb;
        box->BoxVolume().Qb = q;
        box->BoxVolume().Ql = q;
        Tune(*box, row.fs);
        return box;
    }

    static int IndexNear(const TBoxEmbryo& box, double f)
    {
        int best = 0;
        for (int i = 1; i < box.PointCount(); ++i)
            if (std::fabs(box.Grid().Frequency(i) - f) < std::fabs(box.Grid().Frequency(best) - f))
                best = i;
        return best;
    }

    // The index of the smallest value in [from, to).
    static int MinimumIndex(const double* values, int from, int to)
    {
        int best = from;
        for (int i = from + 1; i < to; ++i)
            if (values[i] < values[best])
                best = i;
        return best;
    }
};

} // namespace

// ---------------------------------------------------------------- physics

// Woofers of the reference driver table (fs, Vas, Cms as published), with Qes chosen for
// the total Q an alignment asks for (Qms 5).
struct TWooferRow {
    const char* id;
    double fs, vas, cms;
};
constexpr TWooferRow kWoofers[] = {
    {"seas_w18e001", 34.0, 0.030, 1.4e-3},   {"seas_w16nx001", 39.0, 0.014, 1.2e-3},
    {"ss_26w8534g00", 23.0, 0.150, 0.95e-3}, {"dayton_rs180_8", 35.7, 0.0244, 1.12e-3},
    {"ss_32w4878t00", 18.0, 0.204, 0.52e-3},
};

// The sizing the issue names B4: Qts 0.383, Vb = 1.414 · Vas (twice Thiele's B4 box,
// whose Vas / Vb is 1.414), port at fs, QB = QL = 15. In this model the box losses
// and the cone's air load leave it flat to ±0.6 dB above 1.1 · fs with its -3 dB
// point near 0.9 · fs.
TEST_F(TBassReflexBoxTest, LargeB4BoxIsFlatAndTheImpedanceDipsAtTheTuning)
{
    for (const TWooferRow& row : kWoofers) {
        SCOPED_TRACE(row.id);
        auto box = MakeVented(row, 0.383, 1.414 * row.vas, 15.0);
        SetGrid(10, 1000, 500);
        box->Calculate(0);
        const double reference = box->splTotal[static_cast<std::size_t>(IndexNear(*box, 400.0))];
        double low = 1e9, high = -1e9;
        for (int i = 0; i < box->PointCount(); ++i) {
            const double f = box->Grid().Frequency(i);
            if (f < 1.1 * row.fs || f > 500.0)
                continue;
            low = std::min(low, box->splTotal[static_cast<std::size_t>(i)] - reference);
            high = std::max(high, box->splTotal[static_cast<std::size_t>(i)] - reference);
        }
        EXPECT_GT(low, -0.6);
        EXPECT_LT(high, 0.6);
        EXPECT_NEAR(box->minus3dB / row.fs, 0.9, 0.02);

        // Two impedance peaks with the minimum between them at the port's tuning.
        const double* z = box->FrontDriver().impedanceMagnitude.data();
        const int tuning = IndexNear(*box, box->Port().fp);
        int below = 0, above = tuning;
        for (int i = 0; i < tuning; ++i)
            if (z[i] > z[below])
                below = i;
        for (int i = tuning; i < IndexNear(*box, 4.0 * row.fs); ++i)
            if (z[i] > z[above])
                above = i;
        ASSERT_GT(below, 0);
        ASSERT_LT(below, tuning);
        ASSERT_GT(above, tuning);
        const double dip = box->Grid().Frequency(MinimumIndex(z, below, above));
        EXPECT_NEAR(dip, box->Port().fp, 0.02 * box->Port().fp);
        EXPECT_NEAR(box->Port().fp, row.fs, 1e-9); // fill 0: tuned where it was set
    }
}

// Thiele's B4 for a nearly lossless box (Ql = 100: Qts 0.3842, Vas / Vb 1.3882, fb = fs)
// against the published fourth-order response of the vented box: the model's extra
// losses (absorption, port friction) and the cone's air load stay within 0.5 dB.
TEST_F(TBassReflexBoxTest, ThieleB4FollowsThePublishedResponse)
{
    const double qt = 0.3842, alpha = 1.3882, ql = 100.0, h = 1.0;
    const double a1 = (ql + h * qt) / (std::sqrt(h) * ql * qt);
    const double a2 = (h + (alpha + 1.0 + h * h) * ql * qt) / (h * ql * qt);
    const double a3 = (h * ql + qt) / (std::sqrt(h) * ql * qt);
    const double A1 = a1 * a1 - 2 * a2, A2 = a2 * a2 + 2 - 2 * a1 * a3, A3 = a3 * a3 - 2 * a2;
    for (const TWooferRow& row : kWoofers) {
        SCOPED_TRACE(row.id);
        auto box = MakeVented(row, qt, row.vas / alpha, ql);
        SetGrid(10, 1000, 500);
        box->Calculate(0);
        const double reference = box->splTotal[static_cast<std::size_t>(IndexNear(*box, 400.0))];
        for (int i = 0; i < box->PointCount(); ++i) {
            const double f = box->Grid().Frequency(i);
            if (f < 0.5 * row.fs || f > 500.0)
                continue;
            const double w2 = (f / (std::sqrt(h) * row.fs)) * (f / (std::sqrt(h) * row.fs));
            const double w8 = w2 * w2 * w2 * w2;
            const double published = 10.0 * std::log10(w8 / (w8 + A1 * w2 * w2 * w2 + A2 * w2 * w2 + A3 * w2 + 1.0));
            EXPECT_NEAR(box->splTotal[static_cast<std::size_t>(i)] - reference, published, 0.5) << f;
        }
        EXPECT_NEAR(box->minus3dB, row.fs, 0.03 * row.fs);
    }
}

TEST_F(TBassReflexBoxTest, AtTheTuningTheConeRestsAndThePortRadiates)
{
    for (double fb : {30.0, 39.0, 55.0}) {
        SCOPED_TRACE(fb);
        auto box = MakeBox(0.025, fb);
        SetGrid(10, 500, 400);
        box->Calculate(0);
        const double* x = box->FrontDriver().excursion.data();
        // The excursion dips between the falling and the rising side of the port.
        const int from = IndexNear(*box, 0.7 * fb), to = IndexNear(*box, 1.4 * fb);
        const int minimum = MinimumIndex(x, from, to);
        EXPECT_GT(minimum, from);
        EXPECT_LT(minimum, to - 1);
        EXPECT_NEAR(box->Grid().Frequency(minimum), fb, 0.03 * fb);
        const auto at = static_cast<std::size_t>(IndexNear(*box, fb));
        EXPECT_GT(box->portSpl[at], box->driverSpl[at] + 3.0);
        // Far above the tuning the cone does the work.
        const auto high = static_cast<std::size_t>(IndexNear(*box, 8.0 * fb));
        EXPECT_GT(box->driverSpl[high], box->portSpl[high] + 20.0);
    }
}

TEST_F(TBassReflexBoxTest, FlowsAndPressuresFollowTheLoad)
{
    auto box = MakeBox(0.025, 40.0);
    SetGrid(10, 2000, 200);
    context_.MeasSetup().SetSourceLevel(40.0); // beyond any port's limit
    box->Calculate(0);
    const TPortObject& port = box->Port();
    const TSpeakerObject& d = box->FrontDriver();
    double fastest = 0;
    for (int i = 0; i < box->PointCount(); ++i) {
        const auto j = static_cast<std::size_t>(i);
        const TComplex u = d.volumeVelocity[j];
        const TComplex zl = 1.0 / (1.0 / box->BoxVolume().impedance[j] + 1.0 / port.impedance[j]);
        const TComplex up = u * zl / port.impedance[j];
        const TComplex k(0.0, TBoxEmbryo::kPressureConstant * box->Grid().Frequency(i));
        const double tolerance = 1e-9 * std::abs(up);
        EXPECT_NEAR(std::abs(port.volumeVelocity[j] - up), 0.0, tolerance) << i;
        // With the non-linearity off the air speed is never compressed.
        EXPECT_NEAR(box->portAirSpeed[j], std::abs(up) / (port.S * port.n), 1e-9 * box->portAirSpeed[j]) << i;
        EXPECT_NEAR(std::abs(d.auxPressure[j] - k * u), 0.0, 1e-9 * std::abs(k * u)) << i;
        EXPECT_NEAR(std::abs(port.pressure[j] - k * up), 0.0, 1e-9 * std::abs(k * up)) << i;
        EXPECT_NEAR(box->splTotal[j], 20 * std::log10(std::abs(k * u - k * up)), 1e-9) << i;
        EXPECT_NEAR(box->driverSpl[j], 20 * std::log10(std::abs(k * u)), 1e-9) << i;
        EXPECT_NEAR(box->portSpl[j], 20 * std::log10(std::abs(k * up)), 1e-9) << i;
        fastest = std::max(fastest, box->portAirSpeed[j]);
    }
    EXPECT_GT(fastest, 2.0 * 30.3);
}

TEST_F(TBassReflexBoxTest, PortCompressionAboveItsSpeedLimit)
{
    struct Row {
        const char* name;
        double flare;
        double limit;
    };
    for (const Row row : {Row{"straight", 0.0, 20.3}, Row{"flared", 1.0, 30.3}, Row{"half flare", 0.5, 22.8}}) {
        SCOPED_TRACE(row.name);
        auto box = MakeBox(0.025, 40.0);
        box->Port().c = row.flare;
        Tune(*box, 40.0);
        SetGrid(10, 500, 100);
        context_.MeasSetup().SetSourceLevel(30.0);
        box->Calculate(0);
        const auto free = box->portAirSpeed;
        const auto freeFlow = box->Port().volumeVelocity;
        const auto cone = box->FrontDriver().volumeVelocity;
        box->Port().SetNonLinearity(true);
        box->Calculate(0);
        EXPECT_NEAR(box->Port().SpeedLimit(), row.limit, 1e-12);
        int compressed = 0;
        for (int i = 0; i < box->PointCount(); ++i) {
            const auto j = static_cast<std::size_t>(i);
            // The cone does not feel the port's compression.
            EXPECT_EQ(box->FrontDriver().volumeVelocity[j], cone[j]);
            if (free[j] <= row.limit) {
                EXPECT_EQ(box->portAirSpeed[j], free[j]);
                continue;
            }
            ++compressed;
            const double g = std::sqrt(row.limit / free[j]);
            EXPECT_NEAR(box->portAirSpeed[j], g * free[j], 1e-9 * free[j]);
            EXPECT_NEAR(std::abs(box->Port().volumeVelocity[j] - g * freeFlow[j]), 0.0, 1e-9 * std::abs(freeFlow[j]));
        }
        EXPECT_GT(compressed, 5);
    }
}

TEST_F(TBassReflexBoxTest, TwoDriversDoubleTheBoxAndDriverPressuresForTheSameConeVelocity)
{
    for (int connection : {0, 1}) { // series, parallel
        SCOPED_TRACE(connection);
        auto one = MakeBox(0.04, 35.0);
        auto two = MakeBox(0.04, 35.0);
        two->FrontDriver().SetNumberOfDrivers(2);
        two->FrontDriver().SetDriverConnection(connection);
        SetGrid(10, 1000, 100);
        one->Calculate(0);
        two->Calculate(0);
        for (int i = 0; i < one->PointCount(); ++i) {
            const auto j = static_cast<std::size_t>(i);
            const TComplex u1 = one->FrontDriver().volumeVelocity[j], u2 = two->FrontDriver().volumeVelocity[j];
            // Driver pressure and chamber pressure (the port's flow times its impedance)
            // per unit of cone velocity.
            const TComplex driver1 = one->FrontDriver().auxPressure[j] / u1;
            const TComplex driver2 = two->FrontDriver().auxPressure[j] / u2;
            const TComplex chamber1 = one->Port().volumeVelocity[j] * one->Port().impedance[j] / u1;
            const TComplex chamber2 = two->Port().volumeVelocity[j] * two->Port().impedance[j] / u2;
            EXPECT_NEAR(std::abs(driver2 - 2.0 * driver1), 0.0, 1e-9 * std::abs(driver1)) << i;
            EXPECT_NEAR(std::abs(chamber2 - 2.0 * chamber1), 0.0, 1e-9 * std::abs(chamber1)) << i;
            // Each cone works against twice the box.
            const TComplex load = two->acousticLoad[j] - two->FrontDriver().mechImpedance[j] -
                                  two->FrontDriver().radiationImpedance[j];
            EXPECT_NEAR(std::abs(load - 2.0 * two->loadImpedance[j]), 0.0, 1e-9 * std::abs(load)) << i;
        }
    }
}

TEST_F(TBassReflexBoxTest, StandingWavesOfThePortShowAboveItsUpperMinus3dBPoint)
{
    auto box = MakeBox(0.025, 45.0);
    SetGrid(10, 5000, 500);
    box->Calculate(0);
    const double fu = box->PortUpperMinus3dB();
    ASSERT_GT(fu, 45.0);
    ASSERT_LT(fu, 150.0);
    const double pipe = box->PipeResonance();
    EXPECT_NEAR(pipe, 344.7 / (2.0 * box->Port().L), 1e-9);
    ASSERT_LT(pipe, 4000.0);
    for (int i = 0; i < box->PointCount(); ++i) {
        if (box->Grid().Frequency(i) < fu) {
            EXPECT_EQ(box->splModes[static_cast<std::size_t>(i)], box->splTotal[static_cast<std::size_t>(i)]) << i;
        }
    }
    // The port rings at its pipe resonance, not midway to the next one.
    auto change = [&](double f) {
        const auto j = static_cast<std::size_t>(IndexNear(*box, f));
        return std::fabs(box->splModes[j] - box->splTotal[j]);
    };
    EXPECT_GT(change(pipe), 1.0);
    EXPECT_GT(change(pipe), 10.0 * change(1.5 * pipe));
    // Without an upper point (a grid that ends before the port falls) nothing is added.
    SetGrid(10, 40, 50);
    box->Calculate(0);
    EXPECT_EQ(box->PortUpperMinus3dB(), 0.0);
    for (int i = 0; i < box->PointCount(); ++i)
        EXPECT_EQ(box->splModes[static_cast<std::size_t>(i)], box->splTotal[static_cast<std::size_t>(i)]) << i;
}

TEST_F(TBassReflexBoxTest, NothingDegenerateProducesNaN)
{
    struct Row {
        const char* name;
        std::function<void(TBassReflexBox&)> change;
    };
    const Row rows[] = {
        {"zero-length port", [](TBassReflexBox& b) { b.Port().L = 0.0; }},
        {"narrowest port",
         [](TBassReflexBox& b) {
             b.Port().S = PortFieldInfo(TPortField::Area).Stored(PortFieldInfo(TPortField::Area).minimum);
             b.Port().D = 0.01;
         }},
        {"widest port",
         [](TBassReflexBox& b) {
             b.Port().S = PortFieldInfo(TPortField::Area).Stored(PortFieldInfo(TPortField::Area).maximum);
             b.Port().D = 1.0;
             b.Port().n = 9;
         }},
        {"1e9 l box", [](TBassReflexBox& b) { b.BoxVolume().Vb = 1e6; }},
        {"0.1 l box", [](TBassReflexBox& b) { b.BoxVolume().Vb = 1e-4; }},
        {"compressed", [](TBassReflexBox& b) { b.Port().SetNonLinearity(true); }},
        {"non-linear driver",
         [](TBassReflexBox& b) {
             b.FrontDriver().blNonLinear = true;
             b.FrontDriver().cmsNonLinear = true;
             b.FrontDriver().Xmax = 0.001;
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto box = MakeBox(0.025, 40.0);
        row.change(*box);
        box->Port().dirty = true;
        box->BoxVolume().dirty = true;
        SetGrid(10, 20000, 500);
        context_.MeasSetup().SetSourceLevel(100.0);
        box->Calculate(0);
        const std::pair<const char*, const double*> curves[] = {
            {"total", box->splTotal.data()},
            {"modes", box->splModes.data()},
            {"phase", box->splPhase.data()},
            {"group delay", box->groupDelay.data()},
            {"driver", box->driverSpl.data()},
            {"port", box->portSpl.data()},
            {"air speed", box->portAirSpeed.data()},
            {"excursion", box->FrontDriver().excursion.data()},
            {"|Z|", box->FrontDriver().impedanceMagnitude.data()},
        };
        for (const auto& [name, values] : curves)
            for (int i = 0; i < box->PointCount(); ++i)
                ASSERT_TRUE(std::isfinite(values[i])) << name << " at " << i;
        EXPECT_FALSE(box->Report().Lines().empty());
    }
}

// ---------------------------------------------------------------- quick box

TEST_F(TBassReflexBoxTest, QuickBoxSizesBoxAndPortFromTheDriver)
{
    struct Row {
        const char* name;
        double vas, fs, sd;
        int drivers, ports, fill;
        double litres;
    };
    const Row rows[] = {
        {"50 l, 30 Hz", 0.05, 30.0, 0.02, 1, 1, 0, 75.0},
        {"with fill", 0.05, 30.0, 0.02, 1, 1, 60, 75.0},
        {"two drivers, three ports", 0.03, 45.0, 0.012, 2, 3, 0, 90.0},
        // A small cone asks for a narrow port, which comes out too short and is widened.
        {"small cone", 0.004, 80.0, 0.002, 1, 1, 0, 6.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        context_.MeasSetup() = TMeasSetup(); // a fresh setup for each row
        auto box = MakeBox(0.02, 40.0);
        TSpeakerObject& d = box->FrontDriver();
        d.Vas = row.vas;
        d.fs = row.fs;
        d.Sd = row.sd;
        d.SetNumberOfDrivers(row.drivers);
        box->Port().n = row.ports;
        box->BoxVolume().fill = row.fill;
        box->QuickBox();
        EXPECT_NEAR(box->BoxVolume().Vb * 1000.0, row.litres, 1e-9);
        const TPortObject& port = box->Port();
        EXPECT_GE(port.L, 0.1);
        EXPECT_NEAR(port.D, std::sqrt(4.0 * port.S / 3.14159265359), 1e-12);
        EXPECT_NEAR(port.V, box->BoxVolume().TuningVolume(), 1e-15);
        if (row.fill == 0) {
            EXPECT_NEAR(port.fp, box->effectiveFs, 1e-9);
        } else {
            EXPECT_LT(port.fp, box->effectiveFs);
        }
        // The area is the rule's start, doubled as often as the length asked for.
        const double start = 0.004 * d.Sd * row.drivers / row.ports * box->effectiveFs;
        const double doublings = std::log2(port.S / start);
        EXPECT_NEAR(doublings, std::round(doublings), 1e-9);
        EXPECT_GE(doublings, -1e-9);
        EXPECT_TRUE(box->Changed());
    }
}

TEST_F(TBassReflexBoxTest, QuickBoxWithoutACompleteUnitChangesNothing)
{
    TBassReflexBox box(host_, context_);
    box.BoxVolume().Vb = 0.03;
    const double length = box.Port().L;
    box.QuickBox();
    EXPECT_DOUBLE_EQ(box.BoxVolume().Vb, 0.03);
    EXPECT_DOUBLE_EQ(box.Port().L, length);
    EXPECT_GT(host_.Beeps(), 0);
}

// ---------------------------------------------------------------- report and windows

TEST_F(TBassReflexBoxTest, ReportListsBoxPortDriverSetupRoomAndDetails)
{
    auto box = MakeBox(0.02, 45.0);
    box->Calculate(0);
    const TBoxReport& r = box->Report();
    EXPECT_EQ(r.Title(), "BASSREFLEX BOX");
    const auto& lines = r.Lines();
    ASSERT_GE(lines.size(), 15u);
    const char* expected[] = {"Box", " Vol\t\t20.00 l", " Qb\t\t15.0", " Ql\t\t15.0", " Fill\t\t0 %", "Port"};
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(lines[i], expected[i]);
    EXPECT_EQ(lines[12], " Res freq.\t45.00 Hz");
    EXPECT_EQ(lines[13], "Driver");
    auto at = std::find(lines.begin(), lines.end(), "Additional details:");
    ASSERT_NE(at, lines.end());
    ASSERT_GE(lines.end() - at, 5);
    EXPECT_EQ(at[1].rfind("  -3dB point: \t", 0), 0u) << at[1];
    EXPECT_EQ(at[2].rfind(" Max. air speed:\t", 0), 0u) << at[2];
    EXPECT_EQ(at[3].rfind(" Pipe resonance:\t", 0), 0u) << at[3];
    EXPECT_EQ(lines.back(), "");
    // The room lists the port beside the driver.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  Port\t\tdX=0.15m\tdY=0.40m\tdZ=0.00m"), lines.end());

    // Non-linearity reported; no -3 dB line when the grid starts in the flat part.
    box->Port().SetNonLinearity(true);
    SetGrid(300, 2000, 50);
    box->Calculate(0);
    EXPECT_EQ(box->minus3dB, 0.0);
    bool switchLine = false;
    for (const auto& line : box->Report().Lines()) {
        EXPECT_EQ(line.find("-3dB"), std::string::npos) << line;
        switchLine = switchLine || line == " Simulation of port non linearity ON";
    }
    EXPECT_TRUE(switchLine);
}

TEST_F(TBassReflexBoxTest, WindowsAndCurves)
{
    auto box = MakeBox(0.02, 45.0);
    SetGrid(20, 2000, 120);
    box->Calculate(0);
    const TPlotLogXLinY& spl = box->SplPlot();
    ASSERT_EQ(spl.CurvesAdded(), 4);
    EXPECT_EQ(spl.CurveCount(), 3); // the target stays hidden
    const char* labels[] = {"Total", "Driver", "Port", "Target"};
    const double* data[] = {box->splTotal.data(), box->driverSpl.data(), box->portSpl.data(), box->target.data()};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(spl.Curve(i).label, labels[i]);
        EXPECT_EQ(spl.Curve(i).y, data[i]);
    }
    TPlotLogXLinY& air = box->AirSpeedPlot();
    EXPECT_EQ(air.Title(), "Airspeed in port");
    EXPECT_EQ(air.XUnit(), "Hz");
    EXPECT_EQ(air.YUnit(), "m/s");
    ASSERT_EQ(air.CurvesAdded(), 1);
    EXPECT_EQ(air.Curve(0).label, "");
    EXPECT_EQ(air.Curve(0).y, box->portAirSpeed.data());
    EXPECT_EQ(air.PointCount(), 120);
    EXPECT_TRUE(air.HasData());
    EXPECT_EQ(box->DiagramWindows().back(), &air);
    // Reset empties it with the others and clears the port's switch.
    box->Port().SetNonLinearity(true);
    box->Reset();
    EXPECT_FALSE(air.HasData());
    EXPECT_FALSE(box->Port().NonLinearity());
    EXPECT_FALSE(box->HandlesCommand(TCmd::ExportModesSpl)); // only bandpass boxes export it
}

// ---------------------------------------------------------------- dialog

TEST_F(TBassReflexBoxTest, DialogEditsBoxAndPortWithTheirRules)
{
    auto box = MakeBox(0.02, 45.0);
    box->OpenBoxDialog();
    TBreflDialog* d = box->BoxDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->title, "Bassreflex box");
    EXPECT_EQ(host_.CommandEnabled(TCmd::BoxDialog), std::optional<bool>(false));
    EXPECT_EQ(d->Field(TBreflDialog::kFlareRadius).ShownValue(), "inf.");
    EXPECT_EQ(d->Field(TBreflDialog::kResFreq).ShownValue(), "45.0");
    EXPECT_EQ(d->Field(TBreflDialog::kNonLinearity).ShownValue(), "off");
    EXPECT_EQ(d->Field(TBreflDialog::kMaxDiameter).ShownValue(), d->Field(TBreflDialog::kDiameter).ShownValue());

    // A larger box keeps the port and lowers its tuning: fb ∝ 1/sqrt(V).
    const double length = box->Port().L;
    d->Type(TBreflDialog::kVolume, "80");
    d->FocusField(TBreflDialog::kQb);
    EXPECT_DOUBLE_EQ(box->BoxVolume().Vb, 0.08);
    EXPECT_DOUBLE_EQ(box->Port().L, length);
    EXPECT_NEAR(box->Port().fp, 22.5, 1e-9);
    EXPECT_EQ(d->Field(TBreflDialog::kResFreq).ShownValue(), "22.5");
    EXPECT_EQ(box->Report().Lines()[1], " Vol\t\t80.00 l");

    // A new tuning sets the length; one that needs a negative length is refused.
    d->Type(TBreflDialog::kResFreq, "30");
    d->FocusField(TBreflDialog::kQb);
    EXPECT_NEAR(box->Port().fp, 30.0, 1e-9);
    EXPECT_LT(box->Port().L, length);
    const double tuned = box->Port().L;
    host_.ClearMessages();
    d->Type(TBreflDialog::kResFreq, "900");
    d->FocusField(TBreflDialog::kQb);
    ASSERT_NE(host_.LastMessage(), nullptr);
    EXPECT_EQ(host_.LastMessage()->text, "Port length < 0");
    EXPECT_EQ(host_.LastMessage()->title, "");
    EXPECT_DOUBLE_EQ(box->Port().L, tuned);
    EXPECT_EQ(d->Field(TBreflDialog::kResFreq).ShownValue(), "30.0");

    // A wider port keeps the tuning with a longer length; too narrow for the tuning is refused.
    d->Type(TBreflDialog::kDiameter, "10");
    d->FocusField(TBreflDialog::kQb);
    EXPECT_DOUBLE_EQ(box->Port().D, 0.1);
    EXPECT_GT(box->Port().L, tuned);
    EXPECT_NEAR(box->Port().fp, 30.0, 1e-6);
    EXPECT_EQ(d->Field(TBreflDialog::kArea).ShownValue(), "78.5");
    host_.ClearMessages();
    d->Type(TBreflDialog::kResFreq, "200");
    d->FocusField(TBreflDialog::kQb);
    const double wide = box->Port().L;
    d->Type(TBreflDialog::kArea, "1");
    d->FocusField(TBreflDialog::kQb);
    ASSERT_NE(host_.LastMessage(), nullptr);
    EXPECT_EQ(host_.LastMessage()->text, "Portlength < 0");
    EXPECT_DOUBLE_EQ(box->Port().L, wide);
    EXPECT_EQ(d->Field(TBreflDialog::kArea).ShownValue(), "78.5");

    // A flare radius below half the length is refused, half the length accepted.
    d->Type(TBreflDialog::kLength, "20");
    d->FocusField(TBreflDialog::kQb);
    host_.ClearMessages();
    d->Type(TBreflDialog::kFlareRadius, "9");
    d->FocusField(TBreflDialog::kQb);
    ASSERT_NE(host_.LastMessage(), nullptr);
    EXPECT_EQ(host_.LastMessage()->text, "Flare radius must be greater than half the port length");
    EXPECT_EQ(box->Port().c, 0.0);
    EXPECT_EQ(d->Field(TBreflDialog::kFlareRadius).ShownValue(), "inf.");
    d->Type(TBreflDialog::kFlareRadius, "10");
    d->FocusField(TBreflDialog::kQb);
    EXPECT_DOUBLE_EQ(box->Port().c, 1.0);
    EXPECT_EQ(d->Field(TBreflDialog::kMaxDiameter).ShownValue(), "30.0"); // L + D

    d->Toggle(TBreflDialog::kNonLinearity, true);
    EXPECT_TRUE(box->Port().NonLinearity());
    d->Type(TBreflDialog::kCount, "2");
    d->FocusField(TBreflDialog::kQb);
    EXPECT_EQ(box->Port().n, 2);
    EXPECT_TRUE(box->Changed());

    host_.ClearMessages();
    d->Command(TBreflDialog::kFrequencyFit);
    ASSERT_NE(box->OptimiserDialog(), nullptr);
    EXPECT_EQ(box->OptimiserDialog()->title, "Frequency fit opt.");
    box->OptimiserDialog()->Close();
    d->Close();
    EXPECT_EQ(host_.CommandEnabled(TCmd::BoxDialog), std::optional<bool>(true));
}

// ---------------------------------------------------------------- project file

namespace {
constexpr std::size_t kClosedBoxFileSize = 4 + 2 + 16 + 63 + 271 + 271 + 378 + 28 + 95 + 1672 + 620 + 8 + 4 * 70 + 1 +
                                           70 + 2;
// Port record, then the air speed window.
constexpr std::size_t kReflexFileSize = kClosedBoxFileSize + 53 + 70;
constexpr std::size_t kPortAt = kClosedBoxFileSize - 2;
} // namespace

TEST_F(TBassReflexBoxTest, SavedFileHasTheBlockLayout)
{
    TBassReflexBox box(host_, context_);
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    box.Port().L = 0.123;
    box.Port().c = 0.25;
    box.Port().n = 3;
    box.Port().SetNonLinearity(true);
    box.Port().UpdateTuning();
    box.Port().dirty = true;
    std::string path = (dir_ / "p.box").string();
    ASSERT_TRUE(box.SaveTo(path));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    ASSERT_EQ(bytes.size(), kReflexFileSize);
    EXPECT_EQ(bytes[0], 1); // type code 1
    EXPECT_EQ(bytes[1] | bytes[2] | bytes[3], 0);
    EXPECT_EQ(bytes[bytes.size() - 2], 0x39);
    EXPECT_EQ(bytes[bytes.size() - 1], 0x30);
    TBinaryReader in(std::vector<std::uint8_t>(bytes.begin() + kPortAt, bytes.end()));
    double l = 0, s = 0, dia = 0, v = 0, fp = 0, c = 0;
    std::int32_t n = 0;
    std::uint8_t on = 0;
    ASSERT_TRUE(in.ReadDouble(l) && in.ReadDouble(s) && in.ReadDouble(dia) && in.ReadDouble(v) && in.ReadInt32(n) &&
                in.ReadDouble(fp) && in.ReadUInt8(on) && in.ReadDouble(c));
    EXPECT_EQ(l, 0.123);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(on, 1);
    EXPECT_EQ(c, 0.25);
    EXPECT_EQ(v, box.BoxVolume().TuningVolume());
    EXPECT_EQ(fp, box.Port().fp);

    TBassReflexBox again(host_, context_);
    ASSERT_TRUE(again.Load(path));
    EXPECT_EQ(again.Port().L, 0.123);
    EXPECT_EQ(again.Port().c, 0.25);
    EXPECT_TRUE(again.Port().NonLinearity());
    EXPECT_EQ(again.splTotal, box.splTotal);
    EXPECT_EQ(again.portAirSpeed, box.portAirSpeed);
}

TEST_F(TBassReflexBoxTest, OldFilesLoadWithStraightPortsAndDamagedPortsAreRefused)
{
    TBassReflexBox box(host_, context_);
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    box.Port().c = 0.5;
    box.Port().L = 0.2;
    std::string path = (dir_ / "new.box").string();
    ASSERT_TRUE(box.SaveTo(path));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    ASSERT_EQ(bytes.size(), kReflexFileSize);

    // Versions 300 to 399: the setup block without its high-pass (12 bytes), the driver
    // block without its load resistor (8) and the port record without its flare ratio
    // (8); before 310 the room block also lacks its measured data part (292).
    auto older = [&](int version) {
        std::vector<std::uint8_t> old = bytes;
        old.erase(old.begin() + static_cast<long>(kPortAt + 45), old.begin() + static_cast<long>(kPortAt + 53));
        const std::size_t room = 22 + 63 + 271 + 271 + 378 + 28 + 95;
        if (version <= 309)
            old.erase(old.begin() + static_cast<long>(room + 1672 - 292), old.begin() + static_cast<long>(room + 1672));
        old.erase(old.begin() + static_cast<long>(22 + 63 + 271 + 271 + 370),
                  old.begin() + static_cast<long>(22 + 63 + 271 + 271 + 378));
        old.erase(old.begin() + 22 + 51, old.begin() + 22 + 63);
        old[4] = static_cast<std::uint8_t>(version & 0xFF);
        old[5] = static_cast<std::uint8_t>(version >> 8);
        return old;
    };
    for (int version : {300, 350, 399}) {
        SCOPED_TRACE(version);
        const std::vector<std::uint8_t> old = older(version);
        TBassReflexBox reader(host_, context_);
        host_.ClearMessages();
        TBinaryReader in(old);
        ASSERT_TRUE(reader.LoadFrom(in));
        EXPECT_EQ(host_.Messages()[0].title, "Old project file");
        EXPECT_EQ(reader.Port().c, 0.0);
        EXPECT_DOUBLE_EQ(reader.Port().L, 0.2);
        EXPECT_FALSE(reader.Report().Lines().empty());
    }
    // The same cut read as a current file is short by the flare ratio.
    {
        TBassReflexBox reader(host_, context_);
        std::vector<std::uint8_t> cut = bytes;
        cut.erase(cut.begin() + static_cast<long>(kPortAt + 45), cut.begin() + static_cast<long>(kPortAt + 53));
        TBinaryReader in(cut);
        EXPECT_FALSE(reader.LoadFrom(in));
    }

    // Port records no dialog writes: nothing of them is taken.
    struct Damage {
        const char* name;
        std::size_t offset;
        double value;
    };
    const Damage damages[] = {
        {"zero area", 8, 0.0},           {"area inside the boundary layer", 8, 1e-5},
        {"NaN length", 0, std::nan("")}, {"negative length", 0, -0.1},
        {"flare beyond 1", 45, 1.5},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        std::vector<std::uint8_t> b = bytes;
        std::memcpy(&b[kPortAt + damage.offset], &damage.value, sizeof(double));
        TBassReflexBox reader(host_, context_);
        const double length = reader.Port().L;
        TBinaryReader in(b);
        EXPECT_FALSE(reader.LoadFrom(in));
        EXPECT_EQ(reader.Port().L, length);
    }
}
