// A closed box calculation over 500 grid points: the full pipeline with report and
// curves, the optimisers' fast mode, and the ten passes of the non-linearities.

#include "CalculatedBox.h"
#include "box/elements/TBoxObject.h"

#include <benchmark/benchmark.h>

namespace {

using TBoxFixture = TCalculatedClosedBox;

void BM_ClosedBoxFull(benchmark::State& state)
{
    TBoxFixture f;
    for (auto _ : state) {
        f.box->FrontDriver().outOfDate = true; // the driver terms are recomputed too
        f.box->Calculate(0);
        benchmark::DoNotOptimize(f.box->splTotal[499]);
    }
    state.SetItemsProcessed(state.iterations() * 500);
}

void BM_ClosedBoxFastMode(benchmark::State& state)
{
    TBoxFixture f;
    f.box->fastMode = true;
    for (auto _ : state) {
        f.box->BoxVolume().dirty = true; // what an optimiser step changes
        f.box->Calculate(0);
        benchmark::DoNotOptimize(f.box->splTotal[499]);
    }
    state.SetItemsProcessed(state.iterations() * 500);
}

void BM_ClosedBoxNonLinear(benchmark::State& state)
{
    TBoxFixture f;
    f.box->FrontDriver().blNonLinear = true;
    f.box->FrontDriver().cmsNonLinear = true;
    f.box->FrontDriver().coilHeating = true;
    for (auto _ : state) {
        f.box->FrontDriver().outOfDate = true;
        f.box->Calculate(0);
        benchmark::DoNotOptimize(f.box->splTotal[499]);
    }
    state.SetItemsProcessed(state.iterations() * 500 * 10);
}

} // namespace

BENCHMARK(BM_ClosedBoxFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClosedBoxFastMode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClosedBoxNonLinear)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
