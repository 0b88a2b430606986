// Painting cost of plot windows on the recording canvas: four plots of 500 points
// at 1200 by 580, as the box projects redraw after every calculation, and the axis
// and position work alone.

#include "plot/TPlotLinXLinY.h"
#include "plot/TPlotLogXLinY.h"
#include "ui/THeadlessHost.h"
#include "ui/TRecordingCanvas.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// A canvas that counts and forgets, so the benchmark measures the plot, not the
// recording of thousands of operations.
class TCountingCanvas : public TRecordingCanvas {
public:
    TCountingCanvas() : TRecordingCanvas(1200, 580) {}
    void MoveTo(int, int) override { ++ops; }
    void LineTo(int, int) override { ++ops; }
    void Polyline(const TPoint*, int count) override { ops += count; }
    void Text(int, int, std::string_view text, int) override { ops += text.size(); }
    long ops = 0;
};

struct TFourPlots {
    THeadlessHost host;
    TPlotStyles styles;
    TLineStyle thick{TColors::Black, 3, TDash::Solid}, red{TColors::Red, 1, TDash::Solid};
    std::vector<double> f, spl, driver, phase, excursion, impedance, delay;
    std::vector<std::unique_ptr<TPlotLogXLinY>> plots;

    TFourPlots() : f(500), spl(500), driver(500), phase(500), excursion(500), impedance(500), delay(500)
    {
        for (int i = 0; i < 500; ++i) {
            f[i] = 10 * std::pow(2000.0, i / 499.0);
            double r = f[i] / 50;
            spl[i] = 88 - 10 * std::log10(1 + 1 / (r * r * r * r));
            driver[i] = spl[i] - 3;
            phase[i] = 180 / (1 + r) - 90;
            excursion[i] = 12 / (1 + r * r);
            impedance[i] = 6 + 30 / (1 + 9 * (r - 1 / r) * (r - 1 / r));
            delay[i] = 20 / (1 + r * r);
        }
        Add("Free air SPL at 1m distance", spl.data(), driver.data(), phase.data(), 50);
        Add("Cone excursion", excursion.data(), nullptr, nullptr, 0);
        Add("Impedance", impedance.data(), nullptr, phase.data(), 0);
        Add("Group delay", delay.data(), nullptr, nullptr, 0);
    }

    void Add(const char* title, const double* y, const double* y2, const double* ph, double span)
    {
        auto p = std::make_unique<TPlotLogXLinY>(host, title, styles, nullptr, 0, 290, 10, 512);
        p->SetXData(f.data());
        p->SetPointCount(500);
        p->AddCurve(y, thick, "Total", false);
        if (y2)
            p->AddCurve(y2, red, "Driver", false);
        if (ph)
            p->SetPhaseCurve(ph, red);
        p->FitXRange(0);
        p->FitYRange(span);
        p->DataReady();
        plots.push_back(std::move(p));
    }
};

void BM_PaintFourPlots(benchmark::State& state)
{
    TFourPlots four;
    TCountingCanvas canvas;
    for (auto _ : state) {
        for (auto& p : four.plots) {
            p->DataReady(); // positions recomputed, as after a calculation
            p->Paint(canvas);
        }
        benchmark::DoNotOptimize(canvas.ops);
    }
    state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(BM_PaintFourPlots)->Unit(benchmark::kMicrosecond);

void BM_PaintFourPlotsRecorded(benchmark::State& state)
{
    TFourPlots four;
    for (auto _ : state) {
        TRecordingCanvas canvas(1200, 580);
        for (auto& p : four.plots) {
            p->DataReady();
            p->Paint(canvas);
        }
        benchmark::DoNotOptimize(canvas.Ops().size());
    }
}
BENCHMARK(BM_PaintFourPlotsRecorded)->Unit(benchmark::kMicrosecond);

void BM_PaintTimePlot8192(benchmark::State& state)
{
    THeadlessHost host;
    TPlotStyles styles;
    TLineStyle pen;
    std::vector<double> t(8192), y(8192);
    for (int i = 0; i < 8192; ++i) {
        t[i] = i * 0.01;
        y[i] = std::exp(-t[i] / 10) * std::sin(t[i]);
    }
    TPlotLinXLinY plot(host, "Impulse response", styles, nullptr, 0, 290, 10, 8192);
    plot.SetXData(t.data());
    plot.SetPointCount(8192);
    plot.AddCurve(y.data(), pen, "", false);
    plot.FitXRange(0);
    plot.FitYRange(0);
    TCountingCanvas canvas;
    for (auto _ : state) {
        plot.DataReady();
        plot.Paint(canvas);
        benchmark::DoNotOptimize(canvas.ops);
    }
}
BENCHMARK(BM_PaintTimePlot8192)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
