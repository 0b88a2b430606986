#pragma once
// A box project with the example woofer, calculated over 500 points from 10 Hz to
// 20 kHz: the common starting point of the box benchmarks. A type's bench sizes its
// box (and ports or radiators) in shape, before the first calculation.

#include "../tests/support/AllocationCounter.h"
#include "../tests/support/ExampleWoofer.h"
#include "box/TClosedBox.h"
#include "box/elements/TBoxObject.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <memory>

template <class TBox>
struct TCalculatedBox {
    explicit TCalculatedBox(double vb = 0.01, const std::function<void(TBox&)>& shape = {})
    {
        box = std::make_unique<TBox>(host, context);
        FillExampleWoofer(box->FrontDriver(), 0.41e-3);
        box->FrontDriver().Xmax = 0.014;
        box->FrontDriver().Pmax = 80;
        box->FrontDriver().EvaluateComplete();
        box->BoxVolume().Vb = vb;
        if (shape)
            shape(*box);
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
    std::unique_ptr<TBox> box;
};

using TCalculatedClosedBox = TCalculatedBox<TClosedBox>;

// The heap allocations of one more Calculate, as the run's "allocs/calc" counter.
template <class TBox>
void CountAllocations(benchmark::State& state, TBox& box)
{
    state.counters["allocs/calc"] = static_cast<double>(allocation_counter::During([&] { box.Calculate(0); }));
}
