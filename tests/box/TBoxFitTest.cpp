// The frequency fit: targets, anchor and error measure, the step factor, the order of
// the variations per box type, the clamps, convergence on a real closed box, and the
// fit dialog's run, halt and close rules over a headless host.

#include "box/optimize/TBoxFit.h"
#include "box/TAbrBox.h"
#include "box/TBP5Box.h"
#include "box/TBP6Box.h"
#include "box/TBP7Box.h"
#include "box/TBP8Box.h"
#include "box/TBassReflexBox.h"
#include "box/TBassReflexDT2Box.h"
#include "box/TBassReflexDTBox.h"
#include "box/TBassReflexDorvelBox.h"
#include "box/TBoxReport.h"
#include "box/TClosedBox.h"
#include "box/elements/TAbrObject.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TPortObject.h"
#include "box/optimize/TFitRandom.h"
#include "box/optimize/TOptFitDialog.h"
#include "support/BoxTestBench.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using V = TFitVariable;

// A project whose "calculation" is a formula of its variables: the SPL is flat at 0 dB
// but for the last point, which carries level(variables); with a high-pass target the
// anchor is that level and the error grows with it. Each calculation records the
// variables and whether it was drawn.
template <class TBox>
class TScripted : public TBox {
public:
    using TBox::TBox;
    struct TCalc {
        std::vector<double> values;
        bool drawn;
    };
    std::function<double()> level = [] { return 0.0; };
    std::function<std::vector<double>()> values = [] { return std::vector<double>{}; };
    std::vector<TCalc> calcs;
    void Calculate(int) override
    {
        const int n = this->PointCount();
        for (int i = 0; i < n; ++i)
            this->splTotal[static_cast<std::size_t>(i)] = 0.0;
        this->splTotal[static_cast<std::size_t>(n - 1)] = level();
        calcs.push_back({values(), this->splPlotRefresh});
    }
};

class TBoxFitTest : public ::testing::Test, protected BoxTestBench {
protected:
    void SetUp() override
    {
        Enter("boxfit");
        SetGrid(20, 1000, 50);
        context_.MeasSetup().LayoutGrid();
    }
    void TearDown() override { Leave(); }

    // The fit dialog of a box type, prepared as the box dialog's menu opens it.
    template <class TBox>
    TOptFitDialog& OpenFit(TBox& box)
    {
        TOptFitDialog* fit = OpenFrequencyFit(host_, box, *box.BoxDialogModel());
        EXPECT_NE(fit, nullptr);
        return *fit;
    }
};

// ---------------------------------------------------------------- targets, anchor, error

TEST(TBoxFitTarget, ShapesPerBoxType)
{
    struct Case {
        TFitShape shape;
        double f, expected;
    };
    const double octave = std::log10(2.0);
    // Lower cutoff 50 Hz, upper 300 Hz.
    const Case cases[] = {
        {TFitShape::SecondOrder, 25, -40 * octave},
        {TFitShape::SecondOrder, 50, 0},
        {TFitShape::SecondOrder, 600, 0},
        {TFitShape::FourthOrder, 25, -80 * octave},
        {TFitShape::FourthOrder, 5000, 0},
        {TFitShape::BandpassLow, 25, -60 * octave},
        {TFitShape::BandpassLow, 100, 0},
        {TFitShape::BandpassLow, 300, 0},
        {TFitShape::BandpassLow, 600, -60 * octave},
        {TFitShape::BandpassHigh, 25, -90 * octave},
        {TFitShape::BandpassHigh, 600, -70 * octave},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(TBoxFit::TargetLevel(c.shape, c.f, 50, 300), c.expected, 1e-12)
            << static_cast<int>(c.shape) << " at " << c.f;
}

TEST(TBoxFitStep, FactorFollowsTheErrorUpToItsLimit)
{
    EXPECT_NEAR(TBoxFit::StepFactor(2.0, 100), 1.02, 1e-15);
    EXPECT_NEAR(TBoxFit::StepFactor(2.0, 500), 1.004, 1e-15);
    EXPECT_DOUBLE_EQ(TBoxFit::StepFactor(20.0, 100), 1.2);
    EXPECT_DOUBLE_EQ(TBoxFit::StepFactor(25.0, 100), 1.2);
    EXPECT_DOUBLE_EQ(TBoxFit::StepFactor(120.0, 500), 1.2);
}

TEST(TBoxFitRandom, RandSemanticsAndSeeding)
{
    TFitRandom a, b(1), c(2);
    int differ = 0;
    for (int i = 0; i < 1000; ++i) {
        const int x = a();
        ASSERT_GE(x, 0);
        ASSERT_LE(x, 32767);
        EXPECT_EQ(x, b());
        differ += x != c() ? 1 : 0;
    }
    EXPECT_GT(differ, 990);
    // The C standard's example generator after srand(1).
    TFitRandom d;
    EXPECT_EQ(d(), 16838);
    EXPECT_EQ(d(), 5758);
}

TEST_F(TBoxFitTest, AnchorAndMeanErrorOverNMinusOnePoints)
{
    TClosedBox closed(host_, context_);
    TBP5Box bandpass(host_, context_);
    const int n = closed.PointCount();
    ASSERT_EQ(n, 50);
    TFitSettings s;
    s.lowerCutoff = 10; // every grid point is above the corner: the target is flat

    TBoxFit high(closed, {TFitShape::SecondOrder, {V::FirstVolume}, V::FirstVolume}, {.first = &closed.BoxVolume()},
                 host_);
    high.ComputeTarget(s);
    closed.splTotal.fill(0.0);
    closed.splTotal[static_cast<std::size_t>(n - 1)] = 3.0;
    // Anchor 3 dB: N - 1 differences of 3 dB, summed and divided by N.
    EXPECT_NEAR(high.MeanError(), 3.0 * std::sqrt((n - 1.0) / n), 1e-12);
    EXPECT_DOUBLE_EQ(high.AnchorLevel(), 3.0);

    s.upperCutoff = 2000;
    TBoxFit band(bandpass, {TFitShape::BandpassLow, {V::FirstVolume}, V::FirstVolume}, {.first = &bandpass.FirstBox()},
                 host_);
    band.ComputeTarget(s);
    bandpass.splTotal.fill(-120.0);
    bandpass.splTotal[7] = 4.0;
    bandpass.splTotal[static_cast<std::size_t>(n - 1)] = 50.0; // the last point never counts
    EXPECT_DOUBLE_EQ(band.Anchor(), 4.0);
    bandpass.splTotal.fill(-300.0);
    EXPECT_DOUBLE_EQ(band.Anchor(), -100.0); // the search starts at -100 dB
}

// ---------------------------------------------------------------- the steps

// Every box type: which variable each calculation tried, in order, and which one was
// drawn. Each variation calculates twice; the second trial of the drawn one is drawn.
TEST_F(TBoxFitTest, VariationsInOrderPerBoxType)
{
    struct Case {
        std::function<std::unique_ptr<TBoxEmbryo>()> make;
        std::vector<V> expected; // with both Q options on
        V drawn;
    };
    auto make = [this]<class TBox>(TBox*) {
        return [this] { return std::unique_ptr<TBoxEmbryo>(std::make_unique<TBox>(host_, context_)); };
    };
    const std::vector<V> two = {V::FirstVolume, V::SecondVolume, V::FirstQ, V::SecondQ, V::FirstPort, V::SecondPort};
    const Case cases[] = {
        {make(static_cast<TClosedBox*>(nullptr)), {V::FirstVolume, V::FirstQ}, V::FirstVolume},
        {make(static_cast<TBassReflexBox*>(nullptr)), {V::FirstVolume, V::FirstQ, V::FirstPort}, V::FirstVolume},
        {make(static_cast<TBassReflexDorvelBox*>(nullptr)), {V::FirstVolume, V::FirstQ, V::FirstPort}, V::FirstVolume},
        {make(static_cast<TAbrBox*>(nullptr)), {V::FirstVolume, V::FirstQ, V::RadiatorMass}, V::FirstVolume},
        {make(static_cast<TBP5Box*>(nullptr)),
         {V::FirstVolume, V::SecondVolume, V::FirstQ, V::SecondQ, V::FirstPort},
         V::SecondVolume},
        {make(static_cast<TBP6Box*>(nullptr)), two, V::SecondVolume},
        {make(static_cast<TBP7Box*>(nullptr)), two, V::SecondVolume},
        {make(static_cast<TBP8Box*>(nullptr)), two, V::SecondVolume},
        {make(static_cast<TBassReflexDTBox*>(nullptr)), two, V::SecondVolume},
        {make(static_cast<TBassReflexDT2Box*>(nullptr)), two, V::SecondVolume},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TBoxEmbryo> box = c.make();
        SCOPED_TRACE(box->Type().title);
        std::unique_ptr<TOptFitDialog> dialog = MakeFitDialog(host_, *box, *box->BoxDialogModel());
        ASSERT_NE(dialog, nullptr);
        TBoxFit& fit = dialog->Fit();
        TFitSettings s;
        s.optimiseQ = s.optimiseFrontQ = true;
        fit.ComputeTarget(s);
        fit.Start(s);
        EXPECT_EQ(fit.ActiveVariables(), c.expected);
        s.optimiseQ = s.optimiseFrontQ = false;
        fit.Start(s);
        for (V v : fit.ActiveVariables())
            EXPECT_TRUE(v != V::FirstQ && v != V::SecondQ);
        EXPECT_EQ(fit.Plan().drawn, c.drawn);
    }
}

TEST_F(TBoxFitTest, EachVariationTriesTwiceAndDrawsOnlyItsSecondTrial)
{
    TScripted<TBassReflexBox> box(host_, context_);
    box.values = [&box] { return std::vector<double>{box.BoxVolume().Vb, box.BoxVolume().Qb, box.Port().L}; };
    box.level = [] { return 2.0; }; // r grows beyond 1 with the first error
    box.BoxVolume().Qb = 7.0;
    std::unique_ptr<TOptFitDialog> dialog = MakeFitDialog(host_, box, *box.BoxDialogModel());
    TBoxFit& fit = dialog->Fit();
    TFitSettings s;
    s.optimiseQ = true;
    fit.ComputeTarget(s);
    fit.Start(s);
    box.calcs.clear();
    const std::vector<double> start = box.values();
    fit.Step();
    ASSERT_EQ(box.calcs.size(), 6u);
    // Trials of the volume, the Q and the port length, each up then down.
    for (std::size_t k = 0; k < 6; ++k) {
        const std::size_t var = k / 2;
        const double tried = box.calcs[k].values[var];
        EXPECT_EQ(k % 2 == 0, tried > start[var]) << k;
        EXPECT_EQ(box.calcs[k].drawn, k == 1) << k;
    }
    EXPECT_FALSE(box.splPlotRefresh);
    EXPECT_TRUE(box.fastMode);
}

// With every trial giving the same error, each variable grows: volume by the run's r
// (the random factors only make the trials), Q by 1.1, the port by the r the volume's
// error set.
TEST_F(TBoxFitTest, TieGrowsTheVariable)
{
    TScripted<TBassReflexBox> box(host_, context_);
    box.level = [] { return 2.0; }; // a constant error
    box.BoxVolume().Vb = 0.03;
    box.BoxVolume().Qb = 7.0;
    box.Port().L = 0.12;
    std::unique_ptr<TOptFitDialog> dialog = MakeFitDialog(host_, box, *box.BoxDialogModel());
    TBoxFit& fit = dialog->Fit();
    TFitSettings s;
    s.lowerCutoff = 10;
    s.optimiseQ = true;
    fit.ComputeTarget(s);
    fit.Start(s);
    fit.Step();
    const double error = 2.0 * std::sqrt((box.PointCount() - 1.0) / box.PointCount());
    EXPECT_NEAR(fit.ShownError(), error, 1e-12);
    EXPECT_DOUBLE_EQ(box.BoxVolume().Vb, 0.03 * TBoxFit::kStartStep);
    EXPECT_DOUBLE_EQ(box.BoxVolume().Qb, 7.0 * 1.1);
    EXPECT_DOUBLE_EQ(box.Port().L, 0.12 * (error / 100 + 1));
    EXPECT_DOUBLE_EQ(fit.StepSize(), error / 100 + 1);
}

// An error that always favours one direction drives every variable into its clamp,
// where it stays; a random source out of its range changes nothing about that.
TEST_F(TBoxFitTest, ClampsHoldAfterTenThousandSteps)
{
    for (const bool grow : {true, false}) {
        SCOPED_TRACE(grow ? "growing" : "shrinking");
        TScripted<TBassReflexBox> reflex(host_, context_);
        TScripted<TAbrBox> abr(host_, context_);
        auto sum = [](TBoxObject& b, double other) { return b.Vb + b.Qb / 15 + other; };
        reflex.level = [&] { return 30 + (grow ? -1 : 1) * sum(reflex.BoxVolume(), reflex.Port().L); };
        abr.level = [&] { return 30 + (grow ? -1 : 1) * sum(abr.BoxVolume(), abr.Radiator().Mmp); };
        for (TBoxEmbryo* box : {static_cast<TBoxEmbryo*>(&reflex), static_cast<TBoxEmbryo*>(&abr)}) {
            std::unique_ptr<TOptFitDialog> dialog = MakeFitDialog(host_, *box, *box->BoxDialogModel());
            TBoxFit& fit = dialog->Fit();
            int calls = 0;
            fit.SetRandom([&calls] { return ++calls % 2 ? -50 : 99999; });
            TFitSettings s;
            s.optimiseQ = true;
            fit.ComputeTarget(s);
            fit.Start(s);
            for (int k = 0; k < 10000; ++k) {
                fit.Step();
                for (V v : fit.ActiveVariables()) {
                    const double x = fit.Value(v);
                    const bool q = v == V::FirstQ;
                    const double lo = q ? 3 : v == V::FirstPort ? 0.005 : 0.0001;
                    const double hi = q ? 15 : 10;
                    ASSERT_GE(x, lo) << static_cast<int>(v) << " step " << k;
                    ASSERT_LE(x, hi) << static_cast<int>(v) << " step " << k;
                }
            }
            for (V v : fit.ActiveVariables()) {
                const bool q = v == V::FirstQ;
                const double edge = grow ? (q ? 15 : 10) : (q ? 3 : v == V::FirstPort ? 0.005 : 0.0001);
                EXPECT_DOUBLE_EQ(fit.Value(v), edge) << static_cast<int>(v);
            }
        }
    }
}

// ---------------------------------------------------------------- a real fit

// The example closed box with its 10 inch woofer (200 points from 20 to 1000 Hz,
// QB 15, QL 10) and a lower cutoff of 50 Hz: a plain sweep over the volume finds the
// least error, and a fit started from a tenth of that volume ends next to it.
TEST_F(TBoxFitTest, ClosedBoxFitFindsTheSweepsBestVolume)
{
    TClosedBox box(host_, context_);
    ASSERT_TRUE(box.Load(TONVEK_SOURCE_DIR "/examples/closed-10in.box"));
    ASSERT_TRUE(box.LoadFrontUnitFrom(TONVEK_SOURCE_DIR "/examples/woofer-10in.unt"));
    ASSERT_TRUE(box.FrontDriver().complete);
    ASSERT_EQ(box.PointCount(), 200);
    box.fastMode = true;
    box.splPlotRefresh = false;
    box.Calculate(0); // lays out the grid

    TBoxFit sweep(box, {TFitShape::SecondOrder, {V::FirstVolume}, V::FirstVolume}, {.first = &box.BoxVolume()}, host_);
    TFitSettings s;
    s.lowerCutoff = 50;
    sweep.ComputeTarget(s);
    double bestVolume = 0, bestError = 1e9;
    for (double v = 0.005; v < 0.3; v *= 1.002) {
        box.BoxVolume().Vb = v;
        box.BoxVolume().dirty = true;
        box.Calculate(0);
        if (const double e = sweep.MeanError(); e < bestError) {
            bestError = e;
            bestVolume = v;
        }
    }
    EXPECT_NEAR(bestError, 0.39, 0.05); // 0.43 dB with QL 10 (0.36 dB with QL 15)
    EXPECT_NEAR(bestVolume, 0.043, 0.003);

    box.fastMode = false;
    box.BoxVolume().Vb = bestVolume / 10;
    box.BoxVolume().dirty = true;
    TOptFitDialog& dialog = OpenFit(box);
    dialog.Type(TOptFitDialog::kLowerCutoff, "50");
    dialog.FocusField(TOptFitDialog::kRun);
    dialog.SetRandom(TFitRandom(7));
    dialog.Press(TOptFitDialog::kRun);
    ASSERT_TRUE(dialog.Running());
    EXPECT_EQ(host_.RunDeferred(1500), 1500);
    dialog.Press(TOptFitDialog::kHalt);
    EXPECT_EQ(host_.RunDeferred(), 1); // the halt is seen by the next step, which posts no other
    EXPECT_FALSE(dialog.Running());
    EXPECT_NEAR(dialog.Fit().ShownError(), bestError, 0.05);
    EXPECT_NEAR(box.BoxVolume().Vb, bestVolume, 0.1 * bestVolume);
    EXPECT_EQ(dialog.Field(TOptFitDialog::kMeanError).text.size(), 6u); // "%6.4f"
}

// ---------------------------------------------------------------- the dialog

TEST_F(TBoxFitTest, DialogRunHaltAndTheProjectState)
{
    TClosedBox box(host_, context_);
    Prepare(box, 0.02);
    box.Calculate(0);
    TDialogModel& boxDialog = *box.BoxDialogModel();
    boxDialog.Open();
    const int curves = box.SplPlot().CurveCount();
    // What the closed box's file keeps for the bandpass types stays as it was.
    box.optimiserSpare = 0;
    box.optimiserOptions[1] = 7;

    TOptFitDialog& fit = OpenFit(box);
    EXPECT_TRUE(fit.IsOpen());
    EXPECT_TRUE(box.fastMode);
    EXPECT_TRUE(box.IsModified());
    for (int id : TOptFitDialog::kOptimizeCommands)
        EXPECT_FALSE(boxDialog.CommandEnabled(id));
    EXPECT_FALSE(fit.Field(TOptFitDialog::kHalt).enabled);
    // A second "By frequency fit..." raises the open dialog.
    boxDialog.Command(TOptFitDialog::kFrequencyFitCommand);
    EXPECT_EQ(box.OptimiserDialog(), &fit);

    // The cutoff refuses what its range does not take.
    fit.Type(TOptFitDialog::kLowerCutoff, "5");
    fit.FocusField(TOptFitDialog::kRun);
    EXPECT_EQ(box.optimiserIterations, 10);
    fit.Type(TOptFitDialog::kLowerCutoff, "40");
    fit.FocusField(TOptFitDialog::kRun);
    EXPECT_EQ(box.optimiserIterations, 40);

    fit.Press(TOptFitDialog::kRun);
    ASSERT_TRUE(fit.Running());
    EXPECT_EQ(box.SplPlot().CurveCount(), curves + 1); // the target shows while running
    EXPECT_FALSE(fit.Field(TOptFitDialog::kRun).enabled);
    EXPECT_FALSE(fit.Field(TOptFitDialog::kLowerCutoff).enabled);
    EXPECT_FALSE(fit.Field(TOptFitDialog::kFineStep).enabled);
    EXPECT_TRUE(fit.Field(TOptFitDialog::kHalt).enabled);
    EXPECT_NEAR(box.target[0] - fit.Fit().AnchorLevel(),
                TBoxFit::TargetLevel(TFitShape::SecondOrder, box.Grid().Frequency(0), 40, 300), 1e-9);
    EXPECT_EQ(host_.RunDeferred(5), 5);
    EXPECT_EQ(fit.Fit().Steps(), 5);
    EXPECT_FALSE(fit.Field(TOptFitDialog::kMeanError).text.empty());
    box.Report().Clear(); // whatever the report held, the stop writes it again

    fit.Press(TOptFitDialog::kHalt);
    EXPECT_TRUE(fit.Running()); // seen at the next step
    EXPECT_EQ(host_.RunDeferred(), 1);
    EXPECT_FALSE(fit.Running());
    EXPECT_EQ(fit.Fit().Steps(), 5);
    EXPECT_FALSE(box.fastMode);
    EXPECT_TRUE(box.splPlotRefresh);
    EXPECT_EQ(box.SplPlot().CurveCount(), curves);
    EXPECT_FALSE(box.Report().Lines().empty());
    EXPECT_TRUE(fit.Field(TOptFitDialog::kRun).enabled);
    EXPECT_TRUE(fit.Field(TOptFitDialog::kLowerCutoff).enabled);
    EXPECT_FALSE(fit.Field(TOptFitDialog::kHalt).enabled);

    fit.Close();
    EXPECT_EQ(box.OptimiserDialog(), nullptr);
    for (int id : TOptFitDialog::kOptimizeCommands)
        EXPECT_TRUE(boxDialog.CommandEnabled(id));
    EXPECT_EQ(box.optimiserSpare, 0);
    EXPECT_EQ(box.optimiserOptions[1], 7);
}

TEST_F(TBoxFitTest, ClosingTheDialogOrTheProjectEndsARun)
{
    {
        TBassReflexBox box(host_, context_);
        Prepare(box, 0.02);
        TOptFitDialog& fit = OpenFit(box);
        fit.Press(TOptFitDialog::kRun);
        host_.RunDeferred(3);
        fit.Close(); // a step is still queued
        EXPECT_FALSE(fit.Running());
        EXPECT_FALSE(box.fastMode);
        EXPECT_EQ(host_.RunDeferred(), 1);
        EXPECT_EQ(fit.Fit().Steps(), 3);
    }
    {
        auto box = std::make_unique<TBassReflexBox>(host_, context_);
        Prepare(*box, 0.02);
        TOptFitDialog& fit = OpenFit(*box);
        fit.Press(TOptFitDialog::kRun);
        host_.RunDeferred(2);
        box.reset(); // the project closes with a step queued: the step finds nothing to do
        EXPECT_EQ(host_.RunDeferred(), 1);
    }
}

TEST_F(TBoxFitTest, FitWithoutACompleteUnitSaysWhyAndDoesNothing)
{
    TClosedBox box(host_, context_);
    const double vb = box.BoxVolume().Vb;
    TOptFitDialog& fit = OpenFit(box);
    host_.ClearMessages();
    fit.Press(TOptFitDialog::kRun);
    EXPECT_FALSE(fit.Running());
    ASSERT_NE(host_.LastMessage(), nullptr);
    EXPECT_NE(host_.LastMessage()->text.find("not complete"), std::string::npos);
    EXPECT_EQ(host_.RunDeferred(), 0);
    EXPECT_EQ(box.BoxVolume().Vb, vb);
}

TEST_F(TBoxFitTest, SettingsRoundTripThroughTheProjectFile)
{
    const std::string path = (dir_ / "fit.box").string();
    {
        TBP7Box box(host_, context_);
        ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
        EXPECT_EQ(box.optimiserSpare, 300);
        TOptFitDialog& fit = OpenFit(box);
        fit.Type(TOptFitDialog::kLowerCutoff, "35");
        fit.Type(TOptFitDialog::kUpperCutoff, "250");
        fit.FocusField(TOptFitDialog::kRun);
        fit.Toggle(TOptFitDialog::kOptimiseQ, true);
        fit.Toggle(TOptFitDialog::kOptimiseFrontQ, true);
        fit.Toggle(TOptFitDialog::kShowIntermediate, false);
        fit.Toggle(TOptFitDialog::kFineStep, true);
        fit.Close();
        ASSERT_TRUE(box.SaveTo(path));
    }
    TBP7Box again(host_, context_);
    ASSERT_TRUE(again.Load(path));
    const TFitSettings s = TFitSettings::Of(again);
    EXPECT_EQ(s.lowerCutoff, 35);
    EXPECT_EQ(s.upperCutoff, 250);
    EXPECT_TRUE(s.optimiseQ);
    EXPECT_TRUE(s.optimiseFrontQ);
    EXPECT_FALSE(s.showIntermediate);
    EXPECT_TRUE(s.fineStep);
    TOptFitDialog& fit = OpenFit(again);
    EXPECT_TRUE(fit.Checked(TOptFitDialog::kFineStep));
    EXPECT_EQ(fit.Field(TOptFitDialog::kUpperCutoff).ShownValue(), "250");
}

// Every type's fit runs on the real project and keeps the error finite.
TEST_F(TBoxFitTest, EveryTypeRunsAFewSteps)
{
    for (const TBoxType* type : TBoxTypes::All()) {
        std::unique_ptr<TBoxEmbryo> box = type->make(host_, context_);
        SCOPED_TRACE(type->title);
        Prepare(*box, 0.03);
        box->Calculate(0);
        TOptFitDialog& fit = OpenFit(*box);
        fit.Toggle(TOptFitDialog::kOptimiseQ, true);
        fit.Press(TOptFitDialog::kRun);
        ASSERT_TRUE(fit.Running());
        host_.RunDeferred(4);
        EXPECT_TRUE(std::isfinite(fit.Fit().ShownError()));
        EXPECT_GT(fit.Fit().ShownError(), 0.0);
        fit.Close();
        EXPECT_EQ(host_.RunDeferred(), 1);
    }
}

} // namespace

namespace {
// Files written before the bandpass types had an upper cutoff hold 0 there; a run
// must not fit to a corner at 0 Hz (an infinite target).
TEST_F(TBoxFitTest, StoredCutoffsOutsideTheirRangesAreBroughtIn)
{
    TBP5Box box(host_, context_);
    Prepare(box, 0.03);
    box.optimiserIterations = 500;
    box.optimiserSpare = 0;
    TOptFitDialog& fit = OpenFit(box);
    EXPECT_EQ(fit.Field(TOptFitDialog::kLowerCutoff).ShownValue(), "200");
    EXPECT_EQ(fit.Field(TOptFitDialog::kUpperCutoff).ShownValue(), "40");
    fit.Press(TOptFitDialog::kRun);
    host_.RunDeferred(2);
    EXPECT_TRUE(std::isfinite(fit.Fit().ShownError()));
}
} // namespace
