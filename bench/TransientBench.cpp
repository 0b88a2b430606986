// The transient response of a bass reflex box: what "&Transient resp" adds to every
// full calculation. The window makes its impulse response from the box response (the
// spectrum resampled onto 1024 bins, one inverse transform) and convolves it with the
// input; the tone burst convolves twice as many points. Each run also counts the heap
// allocations of one update (allocs/update): none.

#include "CalculatedBox.h"
#include "box/TBassReflexBox.h"
#include "box/elements/TPortObject.h"

#include <benchmark/benchmark.h>

namespace {

// The example woofer in 20 l, the port tuned to 45 Hz, as ReflexBoxBench has it.
struct TCalculatedReflexBox : TCalculatedBox<TBassReflexBox> {
    TCalculatedReflexBox()
        : TCalculatedBox(0.02, [](TBassReflexBox& box) {
              TPortObject& port = box.Port();
              port.V = box.BoxVolume().TuningVolume();
              (void)port.SetLengthFromTuning(45.0);
          })
    {}
};

// Update with a new spectrum, as after every calculation, for kind 0, 1 or 2.
void BM_TransientUpdate(benchmark::State& state)
{
    TCalculatedReflexBox f;
    TStepResponse& w = f.box->TransientWindow();
    w.Settings().kind = static_cast<std::int16_t>(state.range(0));
    w.Settings().timeStep = 0.2;
    w.ApplySettings();
    for (auto _ : state) {
        w.Update(true);
        benchmark::DoNotOptimize(w.Output()[100]);
    }
    state.counters["allocs/update"] = static_cast<double>(allocation_counter::During([&] { w.Update(true); }));
}

// The same box's full calculation, which includes the update of the impulse response;
// with argument 0 the window's calculation is switched off, for the difference.
void BM_ReflexBoxFullWithTransient(benchmark::State& state)
{
    TCalculatedReflexBox f;
    f.box->TransientWindow().Settings().enabled = state.range(0) != 0;
    for (auto _ : state) {
        f.box->FrontDriver().outOfDate = true;
        f.box->Calculate(0);
        benchmark::DoNotOptimize(f.box->TransientWindow().Output()[100]);
    }
}

} // namespace

BENCHMARK(BM_TransientUpdate)->Arg(0)->Arg(1)->Arg(2)->ArgNames({"kind"})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReflexBoxFullWithTransient)->Arg(1)->Arg(0)->ArgNames({"enabled"})->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
