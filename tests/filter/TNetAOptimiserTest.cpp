// The network optimiser: the target shapes against their closed forms, the error
// measure's level offset, lock and ignored points, a step of zero, the dialog's
// refusals and run states, and a textbook crossover found again from values 30 % off.
#include "filter/TNetAOptimiser.h"
#include "filter/TXover.h"
#include "NetATestSupport.h"
#include "filter/TNetADialog.h"
#include "filter/TNetAOptDialog.h"
#include "support/AllocationCounting.h"
#include "ui/TRecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace netatest;

namespace {

using O = TNetAOptimiserFields;
using Dlg = TNetAOptDialog;

TEST(NetAOptimiser, TargetShapes)
{
    struct Case {
        const char* name;
        int lpOrder, lpType, hpOrder, hpType;
        double f, expected; // dB at f with both cutoffs 1000 Hz
    };
    const double bw4Octave = 20 * std::log10(1.0 / 16 / std::sqrt(1.0 / 256 + 1));
    const Case cases[] = {
        {"flat", 0, 0, 0, 0, 3000, 0.0},
        {"Butterworth low-pass 2 at fc", 2, 0, 0, 0, 1000, -3.0103},
        {"Linkwitz low-pass 2 at fc", 2, 1, 0, 0, 1000, -6.0206},
        {"Linkwitz low-pass 4 an octave up", 4, 1, 0, 0, 2000, -20 * std::log10(17.0)},
        {"Butterworth high-pass 4 an octave down", 0, 0, 4, 0, 500, bw4Octave},
        {"Linkwitz high-pass 1 at fc", 0, 0, 1, 1, 1000, -6.0206},
        {"band-pass, both at fc", 8, 0, 8, 1, 1000, -3.0103 - 6.0206},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        O s;
        s.lowPassCutoff = s.highPassCutoff = 1000;
        s.lowPassOrder = static_cast<std::int16_t>(c.lpOrder);
        s.lowPassType = static_cast<std::int16_t>(c.lpType);
        s.highPassOrder = static_cast<std::int16_t>(c.hpOrder);
        s.highPassType = static_cast<std::int16_t>(c.hpType);
        EXPECT_NEAR(TNetAOptimiser::ShapeAt(c.f, s), c.expected, 1e-3);
    }

    // The slope turns about sqrt(fL sqrt(1000 fH)): 2 dB per octave is 6.67 dB a decade.
    O s;
    s.slope = 2.0;
    s.lowPassCutoff = 8000;
    s.highPassCutoff = 2;
    const double fr = std::sqrt(8000 * std::sqrt(2000.0));
    EXPECT_NEAR(TNetAOptimiser::ShapeAt(fr, s), 0.0, 1e-9);
    EXPECT_NEAR(TNetAOptimiser::ShapeAt(10 * fr, s), 20.0 / 3.0, 1e-9);
    // A cutoff of 0 Hz leaves that target out and the shape finite.
    s.lowPassCutoff = 0;
    s.lowPassOrder = 3;
    EXPECT_TRUE(std::isfinite(TNetAOptimiser::ShapeAt(100, s)));
}

// A first-order low-pass at 50 Hz (series coil into the 8 ohm driver): a level that
// falls 52 dB by 20 kHz.
struct Sloped {
    Sloped() : net(project, 0, false), opt(net)
    {
        EXPECT_TRUE(SetBranch(net, 6, static_cast<int>(TPassiveType::R1PlusL),
                              {{S::R1, kWire}, {S::L, 8.0 / (2 * M_PI * 50)}}));
        net.Calculate();
        opt.ComputeShape();
    }
    // The mean of |L - c| over the points a predicate takes.
    template <class F>
    double MeanDeviation(double c, F takes)
    {
        const double* f = project.Grid().Frequencies().data();
        double sum = 0;
        int n = 0;
        for (std::size_t j = 0; j < TNetBase::kPoints; ++j)
            if (takes(f[j], net.Level(0)[j])) {
                sum += std::fabs(net.Level(0)[j] - c);
                ++n;
            }
        return sum / std::max(n, 1);
    }
    FakeProject project;
    TNetA net;
    TNetAOptimiser opt;
};

TEST(NetAOptimiser, ErrorMeasure)
{
    Sloped s;
    O& o = s.net.optimiser;
    o.includeLower = 100;
    o.includeUpper = 1000;
    o.excludeLower = 300;
    o.excludeUpper = 400;
    const auto inRange = [&](double f, double) { return f >= 100 && f <= 1000 && (f < 300 || f > 400); };

    // Lock off, flat target: the level offset is the mean level of the included points.
    const double error = s.opt.Measure();
    const double mean = o.targetLevel;
    EXPECT_LT(mean, -5.0);
    EXPECT_GT(mean, -30.0);
    EXPECT_NEAR(error, s.MeanDeviation(mean, inRange), 1e-12);
    EXPECT_DOUBLE_EQ(s.opt.Target()[10], mean);

    // Lock on: the fixed level counts, and it stays.
    o.lock = 1;
    o.targetLevel = 3.0;
    EXPECT_NEAR(s.opt.Measure(), s.MeanDeviation(3.0, inRange), 1e-12);
    EXPECT_EQ(o.targetLevel, 3.0);

    // Points 50 dB below the top do not count, whatever the range.
    o.lock = 0;
    o.includeLower = 10;
    o.includeUpper = 20000;
    o.excludeLower = 10;
    o.excludeUpper = 20;
    const double top = *std::max_element(s.net.Level(0).begin(), s.net.Level(0).end());
    const auto counted = [&](double f, double level) { return f > 20 && level > top - 50; };
    s.opt.Measure();
    EXPECT_NEAR(s.opt.Error(), s.MeanDeviation(o.targetLevel, counted), 1e-12);
    int above20 = 0, counting = 0;
    for (std::size_t j = 0; j < TNetBase::kPoints; ++j) {
        const double f = s.project.Grid().Frequency(static_cast<int>(j));
        above20 += f > 20;
        counting += counted(f, s.net.Level(0)[j]);
    }
    EXPECT_EQ(s.opt.IncludedPoints(), counting);
    EXPECT_LT(counting + 10, above20); // the top of the range fell out

    // No point included: error 0 and, unlocked, level 0.
    o.excludeUpper = 20000;
    EXPECT_EQ(s.opt.Measure(), 0.0);
    EXPECT_EQ(o.targetLevel, 0.0);
    EXPECT_EQ(s.opt.IncludedPoints(), 0);
}

TEST(NetAOptimiser, StepZeroChangesNothingAndTheRayIsChosen)
{
    Sloped s;
    s.project.AddRays({30, 0, -30}); // the settings keep 0 once: the on-axis ray
    TCompA& coil = s.net.Branch(6)->Comp(S::L);
    coil.inOptimisation = true;
    s.net.optimiser.step = 0;
    const double before = coil.Value();
    s.opt.ChooseRay();
    EXPECT_EQ(s.project.General().SurfaceRay(s.net.optimiser.ray), 0);
    for (int k = 0; k < 5; ++k)
        s.opt.Sweep();
    EXPECT_EQ(coil.Value(), before);
    EXPECT_EQ(s.opt.Sweeps(), 5);

    // The sweep never keeps the old value and leaves the limits alone.
    s.net.optimiser.step = 99;
    s.opt.Sweep();
    EXPECT_NE(coil.Value(), before);
    EXPECT_NEAR(std::fabs(std::log(coil.Value() / before)), std::log(1.099), 0.01);
}

// The textbook second-order Linkwitz-Riley low-pass into 8 ohm, L = 0.3183 R / f and
// C = 0.0796 / (R f), found again from 30 % off with a fixed seed.
TEST(NetAOptimiser, FindsLinkwitzRileyLowPassFromThirtyPercentOff)
{
    FakeProject project;
    TNetA net(project, 0, false);
    const double fc = 2500, r = 8.0;
    const double lBook = 0.3183 * r / fc, cBook = 0.0796 / (r * fc);
    ASSERT_TRUE(SetBranch(net, 6, static_cast<int>(TPassiveType::R1PlusL), {{S::R1, kWire}, {S::L, lBook * 1.3}}));
    ASSERT_TRUE(SetBranch(net, 7, static_cast<int>(TPassiveType::C), {{S::C, cBook * 0.7}}));
    TCompA& coil = net.Branch(6)->Comp(S::L);
    TCompA& cap = net.Branch(7)->Comp(S::C);
    coil.inOptimisation = cap.inOptimisation = true;
    O& o = net.optimiser;
    o.lowPassCutoff = 2500;
    o.lowPassOrder = 2;
    o.lowPassType = 1;
    o.includeLower = 100;
    o.includeUpper = 10000;
    o.lock = 1;
    o.targetLevel = 0.0; // the ideal driver's level without a filter

    TNetAOptimiser opt(net);
    opt.SetRandom(TNetAOptimiser::SeededRandom(7));
    net.Calculate();
    opt.ComputeShape();
    const double start = opt.Measure();
    // A sweep runs on fixed arrays (the default random source included).
    opt.Sweep();
    EXPECT_EQ(allocation_counter::During([&] { opt.Sweep(); }), 0);
    opt.SetRandom(TNetAOptimiser::SeededRandom(7));
    coil.Restore(lBook * 1.3);
    cap.Restore(cBook * 0.7);
    // Coarse steps, then fine ones, as a user moves the step size down.
    for (int step : {50, 10, 2})
        for (int k = 0; k < 60; ++k) {
            o.step = static_cast<std::int16_t>(step);
            opt.Sweep();
        }
    EXPECT_LT(opt.Error(), start / 10);
    const double* f = project.Grid().Frequencies().data();
    double worst = 0;
    for (std::size_t j = 0; j < TNetBase::kPoints; ++j)
        if (f[j] >= 100 && f[j] <= 10000)
            worst = std::max(worst, std::fabs(net.Level(0)[j] - opt.Target()[j]));
    EXPECT_LT(worst, 0.2);
    EXPECT_NEAR(coil.Value() / lBook, 1.0, 0.05);
    EXPECT_NEAR(cap.Value() / cBook, 1.0, 0.05);
}

// The dialog as a user drives it, stepped by the headless host.
struct DialogFixture {
    DialogFixture() : net(project, 0, false), netDialog(project.host, net)
    {
        EXPECT_TRUE(SetBranch(net, 6, static_cast<int>(TPassiveType::R1PlusL), {{S::R1, kWire}, {S::L, 0.5e-3}}));
        net.Branch(6)->Comp(S::L).inOptimisation = true;
        netDialog.Open();
        netDialog.Rebuild();
        netDialog.Press(TNetADialog::kOptimize);
        d = netDialog.OptimiserDialog();
    }
    TDetachedNetOwner project;
    TNetA net;
    TNetADialog netDialog;
    Dlg* d = nullptr;
};

TEST(NetAOptDialog, RefusesRangesThatBreakTheirSpacing)
{
    DialogFixture x;
    ASSERT_NE(x.d, nullptr);
    struct Case {
        int id;
        const char* typed;
        int stored; // what the field keeps
    };
    const Case cases[] = {
        {Dlg::kIncludeLower, "19950", 20},  // above upper - 100
        {Dlg::kIncludeUpper, "119", 20000}, // below lower + 100
        {Dlg::kIncludeUpper, "120", 120},   // taken
        {Dlg::kIncludeLower, "21", 20},     // 120 - 100 = 20 at most
        {Dlg::kExcludeUpper, "29", 31},     // below lower + 10
        {Dlg::kExcludeLower, "22", 20},     // above upper - 10
        {Dlg::kExcludeUpper, "30", 30},     // taken
        {Dlg::kExcludeLower, "5", 20},      // outside 10 .. 20000
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        x.d->Type(c.id, c.typed);
        x.d->FocusField(Dlg::kSlope);
        EXPECT_EQ(x.d->Field(c.id).lng.Value(), c.stored);
    }
    EXPECT_EQ(x.net.optimiser.includeUpper, 120);
    EXPECT_EQ(x.net.optimiser.excludeUpper, 30);
    EXPECT_EQ(x.project.host.Beeps(), 6); // every refusal
    // The target level takes typing only while locked.
    EXPECT_FALSE(x.d->Field(Dlg::kTargetLevel).enabled);
    x.d->Toggle(Dlg::kLock, true);
    EXPECT_TRUE(x.d->Field(Dlg::kTargetLevel).enabled);
}

TEST(NetAOptDialog, RunsInIdleStepsUntilStoppedOrClosed)
{
    DialogFixture x;
    ASSERT_NE(x.d, nullptr);
    EXPECT_EQ(x.net.optimiser.state, O::kOpen);
    EXPECT_EQ(x.d->title, "Net 1, optimize");
    EXPECT_EQ(x.d->Field(Dlg::kList).items.size(), 1u);
    EXPECT_FALSE(x.d->Field(Dlg::kStop).enabled);
    int sweeps = 0;
    x.d->onSweep = [&](const Dlg&) { ++sweeps; };
    x.d->Press(Dlg::kStart);
    EXPECT_EQ(x.net.optimiser.state, O::kRunning);
    EXPECT_FALSE(x.d->Field(Dlg::kStart).enabled);
    EXPECT_EQ(x.project.host.RunDeferred(5), 5);
    EXPECT_EQ(sweeps, 5);
    // Stop is seen by the queued sweep, which does nothing and posts nothing.
    x.d->Press(Dlg::kStop);
    EXPECT_EQ(x.net.optimiser.state, O::kOpen);
    x.project.host.RunDeferred();
    EXPECT_EQ(sweeps, 5);

    // Closing while running ends the run; the network computes every ray again.
    x.d->Press(Dlg::kStart);
    x.project.host.RunDeferred(2);
    x.d->Close();
    EXPECT_EQ(x.net.optimiser.state, O::kClosed);
    x.project.host.RunDeferred();
    EXPECT_EQ(sweeps, 7);
    // Reopened, a new dialog; the old one's sweep token is gone.
    x.netDialog.Press(TNetADialog::kOptimize);
    ASSERT_NE(x.netDialog.OptimiserDialog(), nullptr);
    EXPECT_EQ(x.net.optimiser.state, O::kOpen);
}

// A project closed while its optimiser runs: the dialogs go first, without the closing
// recalculation, and the sweep still queued finds its dialog gone.
TEST(NetAOptDialog, ProjectClosedWhileRunning)
{
    THeadlessHost host;
    TProgramContext context;
    auto project = std::make_unique<TXover>(host, context, 4);
    TNetA& net = project->NetA(0);
    ASSERT_TRUE(SetBranch(net, 6, static_cast<int>(TPassiveType::R1PlusL), {{S::R1, kWire}, {S::L, 0.5e-3}}));
    net.Branch(6)->Comp(S::L).inOptimisation = true;
    TNetADialog& netDialog = project->NetADialogs(0).NetDialog();
    netDialog.Open();
    netDialog.Rebuild();
    netDialog.Press(TNetADialog::kOptimize);
    Dlg* d = netDialog.OptimiserDialog();
    ASSERT_NE(d, nullptr);
    // In a project the network is calculated by the project's recalculation.
    EXPECT_TRUE(net.RayComputed(d->Optimiser().Ray()));
    d->Press(Dlg::kStart);
    EXPECT_EQ(host.RunDeferred(3), 3);
    EXPECT_EQ(d->Optimiser().Sweeps(), 3);
    project.reset();
    EXPECT_EQ(host.RunDeferred(), 1);
}

// The plot on its own canvas: the captions and frequency labels of the display range
// (20 Hz .. 20 kHz), and the grid and the curves of a gentle low-pass inside the frame.
TEST(NetAOptDialog, PlotStaysInItsFrame)
{
    DialogFixture x;
    ASSERT_NE(x.d, nullptr);
    x.d->Toggle(Dlg::kViewUnfiltered, true);
    TRecordingCanvas canvas(Dlg::kPlotWidth, Dlg::kPlotHeight);
    canvas.MapOntoDevice(Dlg::kPlotWidth, Dlg::kPlotHeight);
    x.d->Paint(canvas);
    const std::vector<std::string> texts = canvas.Texts();
    for (const char* t : {"dB", "Hz", "20", "50", "100", "1000", "10000"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), t), texts.end()) << t;
    int lines = 0;
    for (const TCanvasOp& op : canvas.OpsOf(TCanvasOp::Kind::LineTo)) {
        ++lines;
        EXPECT_GE(op.points[0].x, 10);
        EXPECT_LE(op.points[0].x, 385);
        EXPECT_GE(op.points[0].y, 10);
        EXPECT_LE(op.points[0].y, 225);
    }
    EXPECT_GT(lines, 500); // three curves over the grid
}

} // namespace
