// The frequency fit: steps per second over 500 grid points in fast mode for the closed
// box, the bass reflex box and bandpass type 4 (items/s is steps/s), and the time the
// example bass reflex project takes until its mean error has not fallen by more than
// 0.001 dB in 20 steps (lower cutoff 40 Hz, the steps posted and run as the command
// line runs them).

#include "CalculatedBox.h"
#include "box/TBP8Box.h"
#include "box/TBassReflexBox.h"
#include "box/TClosedBox.h"
#include "box/elements/TPortObject.h"
#include "box/optimize/TOptFitDialog.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

template <class TBox>
void FitSteps(benchmark::State& state, TCalculatedBox<TBox>& f)
{
    std::unique_ptr<TOptFitDialog> dialog = MakeFitDialog(f.host, *f.box, *f.box->BoxDialogModel());
    TBoxFit& fit = dialog->Fit();
    TFitSettings settings;
    settings.lowerCutoff = 40;
    settings.optimiseQ = true;
    settings.optimiseFrontQ = true;
    fit.ComputeTarget(settings);
    fit.Start(settings);
    for (auto _ : state) {
        fit.Step();
        benchmark::DoNotOptimize(fit.ShownError());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["calcs/step"] = static_cast<double>(2 * fit.ActiveVariables().size());
}

void BM_FitStepClosed(benchmark::State& state)
{
    TCalculatedBox<TClosedBox> f(0.02);
    FitSteps(state, f);
}

void BM_FitStepReflex(benchmark::State& state)
{
    TCalculatedBox<TBassReflexBox> f(0.02, [](TBassReflexBox& box) {
        TPortObject& port = box.Port();
        port.V = box.BoxVolume().TuningVolume();
        (void)port.SetLengthFromTuning(45.0);
    });
    FitSteps(state, f);
}

void BM_FitStepBandpass4(benchmark::State& state)
{
    TCalculatedBox<TBP8Box> f(0.01, [](TBP8Box& box) {
        box.FrontDriver().SetNumberOfDrivers(2);
        box.FrontDriver().EvaluateComplete();
        box.QuickBox();
    });
    FitSteps(state, f);
}

void BM_FitReflexExampleUntilStable(benchmark::State& state)
{
    // The example names its unit relative to the program folder: the source tree.
    TProgramContext context{TONVEK_SOURCE_DIR};
    THeadlessHost host;
    int steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TBassReflexBox box(host, context);
        if (!box.Load(TONVEK_SOURCE_DIR "/examples/reflex-7in.box") || !box.FrontDriver().complete) {
            state.SkipWithError("the example project did not load");
            return;
        }
        box.optimiserIterations = 40;
        state.ResumeTiming();
        TOptFitDialog* fit = OpenFrequencyFit(host, box, *box.BoxDialogModel());
        double best = 0;
        int bestStep = 0;
        fit->onStep = [&](const TBoxFit& f) {
            if (f.Steps() == 1 || f.ShownError() < best - 0.001) {
                best = f.ShownError();
                bestStep = f.Steps();
            }
        };
        fit->Press(TOptFitDialog::kRun);
        while (fit->Fit().Steps() - bestStep < 20 && host.RunDeferred(1) == 1) {
        }
        fit->Press(TOptFitDialog::kHalt);
        host.RunDeferred(1);
        steps = fit->Fit().Steps();
        benchmark::DoNotOptimize(box.splTotal[0]);
    }
    state.counters["steps"] = steps;
}

} // namespace

BENCHMARK(BM_FitStepClosed);
BENCHMARK(BM_FitStepReflex);
BENCHMARK(BM_FitStepBandpass4);
BENCHMARK(BM_FitReflexExampleUntilStable)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
