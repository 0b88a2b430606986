// The filter project's Recalculate for a three-way simple filter with measured drivers
// (a 10 inch woofer, a 4.5 inch mid-woofer, a 1 inch tweeter), with "Inhibit" on (the
// on-axis ray only) and off (the 17 rays of a full surface plot), and reading two
// drivers' response and impedance files onto the filter grid.
#include "filter/TXover.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <benchmark/benchmark.h>

namespace {

const std::string kFolder = TONVEK_REFDATA "/measured/";

struct TBenchFilter {
    explicit TBenchFilter(bool inhibit)
    {
        for (int a : {60, 50, 45, 35, 30, 25, 20, 15, -15, -20, -25, -30, -35, -40, -45, -50})
            context.General().AddSurfaceRay(a);
        project = std::make_unique<TXover>(host, context, 1);
        TXover& p = *project;
        (void)p.Net(0).SetMeasFile(0, TMeasKind::Spl, kFolder + "DCS255-4@0.frd");
        (void)p.Net(0).SetMeasFile(0, TMeasKind::Impedance, kFolder + "DCS255-4.zma");
        (void)p.Net(1).SetMeasFile(0, TMeasKind::Spl, kFolder + "TCP115-8@0.frd");
        (void)p.Net(2).SetMeasFile(0, TMeasKind::Spl, kFolder + "ND25FA-4@0.frd");
        (void)p.Net(2).SetMeasFile(0, TMeasKind::Impedance, kFolder + "ND25FA-4.zma");
        // The mid-woofer and the tweeter sit above the woofer on the baffle.
        p.Net(1).Driver(0).y = 0.25;
        p.Net(2).Driver(0).y = 0.40;
        context.General().SetInhibit(inhibit);
    }
    TProgramContext context;
    THeadlessHost host;
    std::unique_ptr<TXover> project;
};

// arg: 1 "Inhibit" on, 0 off.
void BM_XoverRecalculateThreeWay(benchmark::State& state)
{
    TBenchFilter f(state.range(0) != 0);
    for (auto _ : state) {
        f.project->MarkAllDirty();
        f.project->Recalculate();
        benchmark::DoNotOptimize(f.project->SummedLevel(0)[499]);
    }
    state.SetLabel(state.range(0) ? "Inhibit on (on axis)" : "Inhibit off (17 rays)");
}

void BM_XoverReadTwoDrivers(benchmark::State& state)
{
    TBenchFilter f(true);
    TNet& woofer = f.project->Net(0);
    TNet& tweeter = f.project->Net(2);
    for (auto _ : state) {
        // Forgetting the names first makes every read a real one.
        (void)woofer.SetMeasFile(0, TMeasKind::Spl, "");
        (void)woofer.SetMeasFile(0, TMeasKind::Impedance, "");
        (void)tweeter.SetMeasFile(0, TMeasKind::Spl, "");
        (void)tweeter.SetMeasFile(0, TMeasKind::Impedance, "");
        benchmark::DoNotOptimize(woofer.SetMeasFile(0, TMeasKind::Spl, kFolder + "DCS255-4@0.frd"));
        benchmark::DoNotOptimize(woofer.SetMeasFile(0, TMeasKind::Impedance, kFolder + "DCS255-4.zma"));
        benchmark::DoNotOptimize(tweeter.SetMeasFile(0, TMeasKind::Spl, kFolder + "ND25FA-4@0.frd"));
        benchmark::DoNotOptimize(tweeter.SetMeasFile(0, TMeasKind::Impedance, kFolder + "ND25FA-4.zma"));
    }
}

} // namespace

BENCHMARK(BM_XoverRecalculateThreeWay)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_XoverReadTwoDrivers)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
