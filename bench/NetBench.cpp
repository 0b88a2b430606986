// One simple network's calculation with measured drivers: a woofer behind the default
// fourth-order low-pass and a tweeter behind the high-pass, on axis only and along the
// 17 rays of a full surface plot, with one driver and with two.
#include "filter/TDetachedNetOwner.h"
#include "filter/TNet.h"

#include <benchmark/benchmark.h>

namespace {

// 1: on axis only; otherwise the 16 off-axis rays of a full surface plot.
void AddBenchRays(TDetachedNetOwner& project, int rays)
{
    if (rays > 1)
        project.AddRays({60, 50, 45, 35, 30, 25, 20, 15, -15, -20, -25, -30, -35, -40, -45, -50});
}

// args: rays (1 or 17), drivers (1 or 2), network (0 bass, 2 treble).
void BM_NetCalculateMeasured(benchmark::State& state)
{
    const int rays = static_cast<int>(state.range(0));
    TDetachedNetOwner project;
    AddBenchRays(project, rays);
    const int index = static_cast<int>(state.range(2));
    TNet net(project, index);
    const std::string unit = index == 0 ? "DCS255-4" : "ND25FA-4";
    const std::string folder = TONVEK_REFDATA "/measured/";
    if (!net.SetMeasFile(0, TMeasKind::Spl, folder + unit + "@0.frd") ||
        !net.SetMeasFile(0, TMeasKind::Impedance, folder + unit + ".zma")) {
        state.SkipWithError("the reference files did not load");
        return;
    }
    net.driverCount = static_cast<int>(state.range(1));
    net.Driver(1).y = 0.2;
    for (auto _ : state) {
        net.MarkDirty();
        net.Calculate();
        benchmark::DoNotOptimize(net.GroupDelay());
    }
    state.SetItemsProcessed(state.iterations() * TNetBase::kPoints);
}
BENCHMARK(BM_NetCalculateMeasured)
    ->ArgNames({"rays", "drivers", "net"})
    ->Args({1, 1, 0})
    ->Args({17, 1, 0})
    ->Args({1, 2, 2})
    ->Args({17, 2, 2})
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
