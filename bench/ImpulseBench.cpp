// The impulse response window of a filter project: what every recalculation of the
// project adds for it. A two-way simple filter with measured drivers; the window
// resamples the on-axis sum onto N/2 bins, mirrors it and runs the inverse transform
// with the general settings' tables, then removes the mean and scales the peak. The
// argument is N (8192 is the largest the settings offer). Each run also counts the heap
// allocations of one recalculation (allocs/recalc): none.
#include "../tests/support/AllocationCounter.h"
#include "MeasuredXover.h"
#include "filter/TXover.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_ImpulseResponse(benchmark::State& state)
{
    TProgramContext context;
    THeadlessHost host;
    auto project = std::make_unique<TXover>(host, context, 0);
    TXover& p = *project;
    LoadMeasuredDrivers(p);
    if (!context.General().SetPoints(static_cast<int>(state.range(0) / 2))) {
        state.SkipWithError("transform size refused");
        return;
    }
    p.MarkAllDirty();
    p.Recalculate();
    TImpResponse& w = p.Impulse();
    for (auto _ : state) {
        w.Recalculate();
        benchmark::DoNotOptimize(w.Samples()[1]);
    }
    state.counters["allocs/recalc"] = static_cast<double>(allocation_counter::During([&] { w.Recalculate(); }));
}

} // namespace

BENCHMARK(BM_ImpulseResponse)->Arg(512)->Arg(8192)->ArgNames({"N"})->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
