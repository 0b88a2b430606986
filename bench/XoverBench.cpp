// The filter project's Recalculate for a three-way simple filter with measured drivers
// (a 10 inch woofer, a 4.5 inch mid-woofer, a 1 inch tweeter), with "Inhibit" on (the
// on-axis ray only) and off (the 17 rays of a full surface plot), and reading two
// drivers' response and impedance files onto the filter grid; and the project's
// Recalculate of a four-way advanced filter, passive and active, with four measured
// drivers per net, eight branches in use per net, 17 rays and a near-field listener.
#include "MeasuredXover.h"
#include "filter/TXover.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <benchmark/benchmark.h>

namespace {

struct TBenchFilter {
    explicit TBenchFilter(bool inhibit)
    {
        for (int a : {60, 50, 45, 35, 30, 25, 20, 15, -15, -20, -25, -30, -35, -40, -45, -50})
            context.General().AddSurfaceRay(a);
        project = std::make_unique<TXover>(host, context, 1);
        TXover& p = *project;
        LoadMeasuredDrivers(p, true);
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
        benchmark::DoNotOptimize(woofer.SetMeasFile(0, TMeasKind::Spl, kMeasuredFolder + "DCS255-4@0.frd"));
        benchmark::DoNotOptimize(woofer.SetMeasFile(0, TMeasKind::Impedance, kMeasuredFolder + "DCS255-4.zma"));
        benchmark::DoNotOptimize(tweeter.SetMeasFile(0, TMeasKind::Spl, kMeasuredFolder + "ND25FA-4@0.frd"));
        benchmark::DoNotOptimize(tweeter.SetMeasFile(0, TMeasKind::Impedance, kMeasuredFolder + "ND25FA-4.zma"));
    }
}

struct TBenchAdvanced {
    explicit TBenchAdvanced(bool active)
    {
        for (int a : {60, 50, 45, 35, 30, 25, 20, 15, -15, -20, -25, -30, -35, -40, -45, -50})
            context.General().AddSurfaceRay(a);
        context.General().SetInhibit(false);
        context.General().SetInfinite(false);
        context.General().SetDistance(2.0);
        project = std::make_unique<TXover>(host, context, active ? 11 : 6);
        const char* spl[4] = {"DCS255-4@0.frd", "TCP115-8@0.frd", "AN25F-4@0.frd", "ND25FA-4@0.frd"};
        for (int n = 0; n < 4; ++n) {
            TNetA& net = project->NetA(n);
            TDriverGroup& g = net.Drivers();
            g.SetCount(4);
            (void)g.SetConnection(TConnection::Pairs);
            for (int d = 0; d < 4; ++d) {
                (void)net.SetMeasFile(d, TMeasKind::Spl, kMeasuredFolder + spl[n]);
                (void)net.SetMeasFile(d, TMeasKind::Impedance, kMeasuredFolder + "DCS255-4.zma");
                g.Driver(d).y = 0.3 * n + 0.08 * d;
            }
            for (int b = 0; b < TNetA::kLadder; ++b) {
                TBranchA& branch = *net.Branch(b);
                // Every kind of section or branch with two or more parts in use.
                (void)branch.SetType(active ? 1 + b % 8 : 3 + b % 8);
            }
        }
    }
    TProgramContext context;
    THeadlessHost host;
    std::unique_ptr<TXover> project;
};

// arg: 1 every net active, 0 passive.
void BM_XoverRecalculateFourWayAdvanced(benchmark::State& state)
{
    TBenchAdvanced f(state.range(0) != 0);
    for (auto _ : state) {
        f.project->MarkAllDirty();
        f.project->Recalculate();
        benchmark::DoNotOptimize(f.project->SummedLevel(0)[499]);
    }
    state.SetLabel(state.range(0) ? "active, 4 x 4 drivers, 17 rays" : "passive, 4 x 4 drivers, 17 rays");
}

// One component edited: only its branch is recomputed before the totals.
void BM_XoverRecalculateFourWayOneEdit(benchmark::State& state)
{
    TBenchAdvanced f(false);
    TCompA& r = f.project->NetA(2).Branch(4)->Comp(TCompSlot::R1);
    bool up = true;
    for (auto _ : state) {
        (void)(up ? r.StepUp() : r.StepDown());
        up = !up;
        f.project->Recalculate();
        benchmark::DoNotOptimize(f.project->SummedLevel(0)[499]);
    }
}

} // namespace

BENCHMARK(BM_XoverRecalculateFourWayAdvanced)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_XoverRecalculateFourWayOneEdit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_XoverRecalculateThreeWay)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_XoverReadTwoDrivers)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
