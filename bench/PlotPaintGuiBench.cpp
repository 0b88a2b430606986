// Qt painting of a calculated closed box: its four plots through QtCanvas onto a
// 1200 by 580 image (the canvas's own size, as for a large window or a picture) and
// onto a 600 by 290 image (a plot window at its default size), and the information
// window at its default size. Positions are recomputed before every paint, as after
// a calculation.

#include "GuiBenchMain.h"
#include "../tests/support/ExampleWoofer.h"
#include "app/QtCanvas.h"
#include "app/TPlotRender.h"
#include "box/TClosedBox.h"
#include "box/elements/TBoxObject.h"
#include "settings/TMeasSetup.h"
#include "ui/THeadlessHost.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include "CalculatedBox.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

using TBoxPlots = TCalculatedClosedBox;

void PaintPlots(benchmark::State& state, int width, int height)
{
    TBoxPlots f;
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    const auto plots = f.box->DiagramWindows();
    for (TPlotXYEmbryo* plot : plots)
        if (!plot->HasData()) {
            state.SkipWithError("the box calculation gave a plot no data");
            return;
        }
    for (auto _ : state) {
        QPainter painter(&image);
        for (TPlotXYEmbryo* plot : plots) {
            QtCanvas canvas(painter, width, height);
            TPlotRender::PrepareCanvas(canvas, *plot); // text sized as on screen
            plot->DataReady();
            plot->Paint(canvas);
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(plots.size()));
}

void BM_FourPlots1200x580(benchmark::State& state) { PaintPlots(state, 1200, 580); }
void BM_FourPlots600x290(benchmark::State& state) { PaintPlots(state, 600, 290); }

void BM_InformationWindow(benchmark::State& state)
{
    TBoxPlots f;
    TInfoWin& info = f.box->InfoWindow();
    QImage image(info.DefaultWidth(), info.DefaultHeight(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        QtCanvas canvas(painter, image.width(), image.height());
        info.Paint(canvas);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(BM_FourPlots1200x580)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FourPlots600x290)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InformationWindow)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) { return RunGuiBenchmarks(argc, argv); }
