// A reflex bandpass box calculation over 500 grid points with both driver groups: the
// full pipeline with the input impedance of both groups, report and curves, and the
// optimisers' fast mode. Each run also counts the heap allocations of one Calculate
// (allocs/calc): none in fast mode.

#include "CalculatedBox.h"
#include "box/TBassReflexDorvelBox.h"

#include <benchmark/benchmark.h>

namespace {

// The example woofer in both groups, a 30 l front box with its port at 45 Hz and a
// 15 l rear box.
struct TCalculatedBandpass : TCalculatedBox<TBassReflexDorvelBox> {
    TCalculatedBandpass()
        : TCalculatedBox(0.03, [](TBassReflexDorvelBox& box) {
              FillExampleWoofer(box.RearDriver(), 0.41e-3);
              box.RearDriver().EvaluateComplete();
              box.RearBox().Vb = 0.015;
              TPortObject& port = box.FrontPort();
              port.V = box.FrontBox().TuningVolume();
              (void)port.SetLengthFromTuning(45.0);
          })
    {
    }
};

void BM_ReflexBandpassFull(benchmark::State& state)
{
    TCalculatedBandpass f;
    for (auto _ : state) {
        f.box->FrontDriver().outOfDate = true; // the front driver terms are recomputed too
        f.box->Calculate(0);
        benchmark::DoNotOptimize(f.box->splTotal[499]);
    }
    state.SetItemsProcessed(state.iterations() * 500);
    CountAllocations(state, *f.box);
}

void BM_ReflexBandpassFastMode(benchmark::State& state)
{
    TCalculatedBandpass f;
    f.box->fastMode = true;
    f.box->splPlotRefresh = false;
    for (auto _ : state) {
        // What an optimiser step changes: the front box and its port.
        f.box->FrontBox().dirty = true;
        f.box->FrontPort().dirty = true;
        f.box->Calculate(0);
        benchmark::DoNotOptimize(f.box->splTotal[499]);
    }
    state.SetItemsProcessed(state.iterations() * 500);
    CountAllocations(state, *f.box);
}

} // namespace

BENCHMARK(BM_ReflexBandpassFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReflexBandpassFastMode)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
