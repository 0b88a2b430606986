// The four schematic windows of a four-way advanced filter painted with Qt onto images
// of the page size, as the screen and a picture of the window paint them: every ladder
// position and driver shunt in use, four drivers per net.
#include "GuiBenchMain.h"
#include "app/TPlotRender.h"
#include "filter/TXover.h"
#include "ui/THeadlessHost.h"

#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// arg: 0 passive, 1 active.
void BM_SchematicFourWayQtPaint(benchmark::State& state)
{
    THeadlessHost host;
    TProgramContext context;
    const bool active = state.range(0) == 1;
    TXover project(host, context, active ? 11 : 6);
    for (TNetA* net : project.AdvancedNets()) {
        net->Drivers().SetCount(4);
        (void)net->Drivers().SetConnection(TConnection::Pairs);
        for (int p = 0; p < TNetA::kLadder; ++p)
            (void)net->Branch(p)->SetType(active ? 1 + (p + net->Index()) % 8 : 1 + (p * 3) % 10);
        for (int p = TNetA::kFirstShunt; p < TNetA::kFirstShunt + TNetA::kDrivers; ++p)
            (void)net->Branch(p)->SetType(static_cast<int>(TPassiveType::R1PlusC));
    }
    for (auto _ : state)
        for (int n = 0; n < 4; ++n) {
            QImage image = TPlotRender::RenderImage(project.SchematicA(n), 850, 1200);
            benchmark::DoNotOptimize(image.constBits());
        }
}
BENCHMARK(BM_SchematicFourWayQtPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return RunGuiBenchmarks(argc, argv); }
