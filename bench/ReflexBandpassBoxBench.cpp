// A reflex bandpass box calculation over 500 grid points with both driver groups: the
// full pipeline with the input impedance of both groups, report and curves, and the
// optimisers' fast mode. Each run also counts the heap allocations of one Calculate
// (allocs/calc): none in fast mode.

#include "../tests/support/AllocationCounter.h"
#include "../tests/support/ExampleWoofer.h"
#include "box/TBassReflexDorvelBox.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

// The example woofer in both groups, a 30 l front box with its port at 45 Hz and a
// 15 l rear box, calculated from 10 Hz to 20 kHz.
struct TCalculatedBandpass {
    TCalculatedBandpass()
    {
        box = std::make_unique<TBassReflexDorvelBox>(host, context);
        for (TSpeakerObject* driver : {&box->FrontDriver(), &box->RearDriver()}) {
            FillExampleWoofer(*driver, 0.41e-3);
            driver->EvaluateComplete();
        }
        box->FrontBox().Vb = 0.03;
        box->RearBox().Vb = 0.015;
        TPortObject& port = box->FrontPort();
        port.V = box->FrontBox().TuningVolume();
        (void)port.SetLengthFromTuning(45.0);
        TMeasSetup& s = context.MeasSetup();
        s.startFrequency = 10;
        s.stopFrequency = 20000;
        s.pointCount = 500;
        s.setupChanged = true;
        box->Calculate(0);
    }
    // Preferences must not come from wherever the benchmark runs.
    TProgramContext context{std::filesystem::temp_directory_path().string()};
    THeadlessHost host;
    std::unique_ptr<TBassReflexDorvelBox> box;
};

void CountAllocations(benchmark::State& state, TBassReflexDorvelBox& box)
{
    state.counters["allocs/calc"] = static_cast<double>(allocation_counter::During([&] { box.Calculate(0); }));
}

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
