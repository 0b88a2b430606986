// A bandpass box type 4 calculation over 500 grid points: the full pipeline with the
// -3 dB pair, report, curves and the ports' standing waves, and the optimisers' fast
// mode. Each run also counts the heap allocations of one Calculate (allocs/calc): none
// in fast mode.

#include "CalculatedBox.h"
#include "box/TBP8Box.h"
#include "box/elements/TPortObject.h"

#include <benchmark/benchmark.h>

namespace {

// Two example woofers in the quick box of type 4.
struct TCalculatedBandpassBox : TCalculatedBox<TBP8Box> {
    TCalculatedBandpassBox()
        : TCalculatedBox(0.01, [](TBP8Box& box) {
              box.FrontDriver().SetNumberOfDrivers(2);
              box.FrontDriver().EvaluateComplete();
              box.QuickBox();
          })
    {
    }
};

void BM_BandpassBoxFull(benchmark::State& state)
{
    TCalculatedBandpassBox f;
    for (auto _ : state) {
        f.box->FrontDriver().outOfDate = true; // the driver terms are recomputed too
        f.box->Calculate(0);
        benchmark::DoNotOptimize(f.box->splTotal[499]);
    }
    state.SetItemsProcessed(state.iterations() * 500);
    CountAllocations(state, *f.box);
}

void BM_BandpassBoxFastMode(benchmark::State& state)
{
    TCalculatedBandpassBox f;
    f.box->fastMode = true;
    f.box->splPlotRefresh = false;
    for (auto _ : state) {
        // What an optimiser step changes: both boxes and both port groups.
        f.box->FirstBox().dirty = true;
        f.box->SecondBox().dirty = true;
        f.box->Port(0).dirty = true;
        f.box->Port(1).dirty = true;
        f.box->Calculate(0);
        benchmark::DoNotOptimize(f.box->splTotal[499]);
    }
    state.SetItemsProcessed(state.iterations() * 500);
    CountAllocations(state, *f.box);
}

} // namespace

BENCHMARK(BM_BandpassBoxFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BandpassBoxFastMode)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
