// Painting the schematic windows of a four-way advanced filter, every ladder position
// and driver shunt in use and four drivers per net, onto a recording canvas: the cost of
// the networks' drawing itself, which runs on every repaint while the user edits.
#include "filter/TXover.h"
#include "ui/THeadlessHost.h"
#include "ui/TRecordingCanvas.h"

#include <benchmark/benchmark.h>

namespace {

struct TFourWay {
    THeadlessHost host;
    TProgramContext context;
    TXover project;

    explicit TFourWay(bool active) : project(host, context, active ? 11 : 6)
    {
        for (TNetA* net : project.AdvancedNets()) {
            net->Drivers().SetCount(4);
            (void)net->Drivers().SetConnection(TConnection::Pairs);
            for (int p = 0; p < TNetA::kLadder; ++p)
                (void)net->Branch(p)->SetType(active ? 1 + (p + net->Index()) % 8 : 1 + (p * 3) % 10);
            for (int p = TNetA::kFirstShunt; p < TNetA::kFirstShunt + TNetA::kDrivers; ++p)
                (void)net->Branch(p)->SetType(static_cast<int>(TPassiveType::R1PlusC));
        }
        project.SchematicA(0).SetNote("Four-way test note with a few words to wrap into the note box.");
    }
};

// arg: 0 passive, 1 active. One iteration paints all four windows at 850 by 1200.
void BM_SchematicFourWayPaint(benchmark::State& state)
{
    TFourWay f(state.range(0) == 1);
    TRecordingCanvas canvas(850, 1200);
    for (auto _ : state) {
        for (int n = 0; n < 4; ++n) {
            canvas.Clear();
            f.project.SchematicA(n).Paint(canvas);
        }
        benchmark::DoNotOptimize(canvas.Ops().data());
    }
    state.counters["ops"] = double(canvas.Ops().size());
}
BENCHMARK(BM_SchematicFourWayPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
