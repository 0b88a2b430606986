// A bandpass box type 4 calculation over 500 grid points: the full pipeline with the
// -3 dB pair, report, curves and the ports' standing waves, and the optimisers' fast
// mode. Each run also counts the heap allocations of one Calculate (allocs/calc): none
// in fast mode.

#include "../tests/support/AllocationCounter.h"
#include "../tests/support/ExampleWoofer.h"
#include "box/TBP8Box.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TPortObject.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

// Two example woofers in the quick box of type 4, calculated from 10 Hz to 20 kHz.
struct TCalculatedBandpassBox {
    TCalculatedBandpassBox()
    {
        box = std::make_unique<TBP8Box>(host, context);
        FillExampleWoofer(box->FrontDriver(), 0.41e-3);
        box->FrontDriver().Xmax = 0.014;
        box->FrontDriver().Pmax = 80;
        box->FrontDriver().SetNumberOfDrivers(2);
        box->FrontDriver().EvaluateComplete();
        TMeasSetup& s = context.MeasSetup();
        s.startFrequency = 10;
        s.stopFrequency = 20000;
        s.pointCount = 500;
        s.setupChanged = true;
        box->QuickBox();
        box->Calculate(0);
    }
    // Preferences must not come from wherever the benchmark runs.
    TProgramContext context{std::filesystem::temp_directory_path().string()};
    THeadlessHost host;
    std::unique_ptr<TBP8Box> box;
};

void CountAllocations(benchmark::State& state, TBP8Box& box)
{
    state.counters["allocs/calc"] = static_cast<double>(allocation_counter::During([&] { box.Calculate(0); }));
}

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
