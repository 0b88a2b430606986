// A bass reflex box calculation over 500 grid points: the full pipeline with report,
// curves and the port's standing waves, and the optimisers' fast mode. Each run also
// counts the heap allocations of one Calculate (allocs/calc): none in fast mode.

#include "CalculatedBox.h"
#include "box/TBassReflexBox.h"
#include "box/elements/TPortObject.h"

#include <benchmark/benchmark.h>

namespace {

// The example woofer in 20 l, the port tuned to 45 Hz.
struct TCalculatedReflexBox : TCalculatedBox<TBassReflexBox> {
    TCalculatedReflexBox()
        : TCalculatedBox(0.02, [](TBassReflexBox& box) {
              TPortObject& port = box.Port();
              port.V = box.BoxVolume().TuningVolume();
              (void)port.SetLengthFromTuning(45.0);
          })
    {
    }
};

void BM_ReflexBoxFull(benchmark::State& state)
{
    TCalculatedReflexBox f;
    for (auto _ : state) {
        f.box->FrontDriver().outOfDate = true; // the driver terms are recomputed too
        f.box->Calculate(0);
        benchmark::DoNotOptimize(f.box->splTotal[499]);
    }
    state.SetItemsProcessed(state.iterations() * 500);
    CountAllocations(state, *f.box);
}

void BM_ReflexBoxFastMode(benchmark::State& state)
{
    TCalculatedReflexBox f;
    f.box->fastMode = true;
    f.box->splPlotRefresh = false;
    for (auto _ : state) {
        // What an optimiser step changes: the box and its port.
        f.box->BoxVolume().dirty = true;
        f.box->Port().dirty = true;
        f.box->Calculate(0);
        benchmark::DoNotOptimize(f.box->splTotal[499]);
    }
    state.SetItemsProcessed(state.iterations() * 500);
    CountAllocations(state, *f.box);
}

void BM_ReflexBoxCompressedPort(benchmark::State& state)
{
    TCalculatedReflexBox f;
    f.context.MeasSetup().SetSourceLevel(40.0);
    f.box->Port().SetNonLinearity(true);
    f.box->fastMode = true;
    f.box->splPlotRefresh = false;
    for (auto _ : state) {
        f.box->Port().dirty = true;
        f.box->Calculate(0);
        benchmark::DoNotOptimize(f.box->splTotal[499]);
    }
    state.SetItemsProcessed(state.iterations() * 500);
    CountAllocations(state, *f.box);
}

} // namespace

BENCHMARK(BM_ReflexBoxFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReflexBoxFastMode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReflexBoxCompressedPort)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
