// A four-way advanced filter as the project recalculates it: four networks of four
// measured drivers each, eight ladder branches in use, the 17 rays of a full surface
// plot in the near field; passive and active; and the recalculation after one
// component edit, when only the edited branch is recomputed.
#include "filter/TDetachedNetOwner.h"
#include "filter/TNetA.h"

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>

namespace {

struct TFourWay {
    TDetachedNetOwner project;
    std::array<std::unique_ptr<TNetA>, 4> nets;
    bool ok = true;

    explicit TFourWay(bool active)
    {
        project.AddRays({60, 50, 45, 35, 30, 25, 20, 15, -15, -20, -25, -30, -35, -40, -45, -50});
        project.General().SetInfinite(false);
        project.General().SetDistance(2.0);
        const std::string folder = TONVEK_REFDATA "/measured/";
        const char* units[4] = {"DCS255-4", "DCS255-4", "ND25FA-4", "ND25FA-4"};
        for (int n = 0; n < 4; ++n) {
            auto net = std::make_unique<TNetA>(project, n, active);
            TDriverGroup& g = net->Drivers();
            g.SetCount(4);
            ok = ok && g.SetConnection(TConnection::Pairs);
            for (int d = 0; d < 4; ++d) {
                const std::string unit = folder + units[n];
                ok = ok && net->SetMeasFile(d, TMeasKind::Spl, unit + "@0.frd") &&
                     net->SetMeasFile(d, TMeasKind::Impedance, unit + ".zma");
                g.Driver(d).y = 0.15 * d - 0.6 + 0.3 * n;
                g.Driver(d).x = 0.01 * d;
                g.Driver(d).z = 0.005 * n;
            }
            for (int p = 0; p < TNetA::kLadder; ++p) {
                TBranchA& b = *net->Branch(p);
                if (active)
                    ok = ok && b.SetType(1 + (p + n) % 8);
                else
                    ok = ok && b.SetType(p % 2 == 0 ? static_cast<int>(TPassiveType::R1PlusL)
                                                    : static_cast<int>(TPassiveType::R1PlusC));
            }
            nets[static_cast<std::size_t>(n)] = std::move(net);
        }
    }
    void Recalculate()
    {
        for (int n = 3; n >= 0; --n)
            nets[static_cast<std::size_t>(n)]->Calculate();
    }
};

// arg: 0 passive, 1 active.
void BM_NetAFourWayRecalculate(benchmark::State& state)
{
    TFourWay filter(state.range(0) != 0);
    if (!filter.ok) {
        state.SkipWithError("the reference files did not load");
        return;
    }
    for (auto _ : state) {
        for (auto& net : filter.nets)
            net->MarkDirty();
        filter.Recalculate();
        benchmark::DoNotOptimize(filter.nets[0]->GroupDelay());
    }
}
BENCHMARK(BM_NetAFourWayRecalculate)->ArgName("active")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One step of one component, then the project's recalculation of all four networks.
void BM_NetAFourWayOneEdit(benchmark::State& state)
{
    TFourWay filter(state.range(0) != 0);
    if (!filter.ok) {
        state.SkipWithError("the reference files did not load");
        return;
    }
    filter.Recalculate();
    TCompA& comp = filter.nets[1]->Branch(2)->Comp(TCompSlot::R1);
    bool up = true;
    for (auto _ : state) {
        up = up ? comp.StepUp() : !comp.StepDown();
        filter.Recalculate();
        benchmark::DoNotOptimize(filter.nets[0]->GroupDelay());
    }
}
BENCHMARK(BM_NetAFourWayOneEdit)->ArgName("active")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One network alone, everything dirty.
void BM_NetACalculate(benchmark::State& state)
{
    TFourWay filter(state.range(0) != 0);
    if (!filter.ok) {
        state.SkipWithError("the reference files did not load");
        return;
    }
    TNetA& net = *filter.nets[0];
    for (auto _ : state) {
        net.MarkDirty();
        net.Calculate();
        benchmark::DoNotOptimize(net.GroupDelay());
    }
}
BENCHMARK(BM_NetACalculate)->ArgName("active")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
