// A passive radiator box calculation over 500 grid points, full and in the optimisers'
// fast mode, beside the closed box of BoxBench: what the radiator's impedances, its
// flow and its excursion limit add.

#include "CalculatedBox.h"
#include "box/TAbrBox.h"
#include "box/elements/TAbrObject.h"

#include <benchmark/benchmark.h>

namespace {

struct TCalculatedAbrBox : TCalculatedBox<TAbrBox> {
    TCalculatedAbrBox()
        : TCalculatedBox(0.01, [](TAbrBox& box) {
              box.Radiator().SetSd(0.0094);
              box.Radiator().SetFb(45.0);
              box.Radiator().nonLinearity = true; // the limit walks the points too
          })
    {
    }
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
