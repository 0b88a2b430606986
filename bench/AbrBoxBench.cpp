// A passive radiator box calculation over 500 grid points, full and in the optimisers'
// fast mode, beside the closed box of BoxBench: what the radiator's impedances, its
// flow and its excursion limit add.

#include "../tests/support/ExampleWoofer.h"
#include "box/TAbrBox.h"
#include "box/elements/TAbrObject.h"
#include "box/elements/TBoxObject.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

struct TCalculatedAbrBox {
    TCalculatedAbrBox()
    {
        box = std::make_unique<TAbrBox>(host, context);
        FillExampleWoofer(box->FrontDriver(), 0.41e-3);
        box->FrontDriver().Xmax = 0.014;
        box->FrontDriver().Pmax = 80;
        box->FrontDriver().EvaluateComplete();
        box->BoxVolume().Vb = 0.01;
        box->Radiator().SetSd(0.0094);
        box->Radiator().SetFb(45.0);
        box->Radiator().nonLinearity = true; // the limit walks the points too
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
    std::unique_ptr<TAbrBox> box;
};

void BM_AbrBoxFull(benchmark::State& state)
{
    TCalculatedAbrBox f;
    for (auto _ : state) {
        f.box->FrontDriver().outOfDate = true; // the driver terms are recomputed too
        f.box->Radiator().dirty = true;
        f.box->Calculate(0);
        benchmark::DoNotOptimize(f.box->splTotal[499]);
    }
    state.SetItemsProcessed(state.iterations() * 500);
}

void BM_AbrBoxFastMode(benchmark::State& state)
{
    TCalculatedAbrBox f;
    f.box->fastMode = true;
    for (auto _ : state) {
        // What the frequency fit changes in a step: the volume and the radiator's mass.
        f.box->BoxVolume().dirty = true;
        f.box->Radiator().dirty = true;
        f.box->Calculate(0);
        benchmark::DoNotOptimize(f.box->splTotal[499]);
    }
    state.SetItemsProcessed(state.iterations() * 500);
}

} // namespace

BENCHMARK(BM_AbrBoxFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AbrBoxFastMode)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
