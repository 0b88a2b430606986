// Qt painting of the off-axis surface of a three-way filter with measured drivers and
// 17 rays, through QtCanvas onto a 1200 by 580 image (the canvas's own size) and onto
// a 600 by 290 image (the window at its default size). Positions and the hidden-line
// tables are recomputed before every paint, as after each recalculation.

#include "GuiBenchMain.h"
#include "app/QtCanvas.h"
#include "app/TPlotRender.h"
#include "MeasuredXover.h"
#include "filter/TXover.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

struct TSurfaceFilter {
    TSurfaceFilter()
    {
        for (int a : {60, 50, 45, 35, 30, 25, 20, 15, -15, -20, -25, -30, -35, -40, -45, -50})
            context.General().AddSurfaceRay(a);
        project = std::make_unique<TXover>(host, context, 1);
        TXover& p = *project;
        LoadMeasuredDrivers(p, true);
        p.Net(1).Driver(0).y = 0.25;
        p.Net(2).Driver(0).y = 0.40;
        p.MarkAllDirty();
        p.Recalculate();
    }
    TProgramContext context;
    THeadlessHost host;
    std::unique_ptr<TXover> project;
};

void PaintSurface(benchmark::State& state, int width, int height)
{
    TSurfaceFilter f;
    TMultiPlot& surface = f.project->Surface();
    if (surface.CurveCount() != 17 || !surface.HasData()) {
        state.SkipWithError("the filter gave the surface plot no 17 curves");
        return;
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        QtCanvas canvas(painter, width, height);
        TPlotRender::PrepareCanvas(canvas, surface);
        surface.DataReady();
        surface.Paint(canvas);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel("17 rays, QtCanvas on a QImage");
}

void BM_Surface1200x580(benchmark::State& state) { PaintSurface(state, 1200, 580); }
void BM_Surface600x290(benchmark::State& state) { PaintSurface(state, 600, 290); }

BENCHMARK(BM_Surface1200x580)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Surface600x290)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) { return RunGuiBenchmarks(argc, argv); }
