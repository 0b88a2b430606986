#pragma once
// Shared pieces of the plot tests: synthetic data, a host, and readers for what a
// plot drew on the recording canvas.

#include "plot/TCursorDialog.h"
#include "plot/TPlotLinXLinY.h"
#include "plot/TPlotLogXLinY.h"
#include "ui/THeadlessHost.h"
#include "ui/TRecordingCanvas.h"

#include <cmath>
#include <string>
#include <vector>

namespace plottest {

inline const TLineStyle kThick{TColors::Black, 3, TDash::Solid};
inline const TLineStyle kRed{TColors::Red, 1, TDash::Solid};
inline const TLineStyle kBlue{TColors::Blue, 1, TDash::Dash};
inline const TLineStyle kDot{TColors::Black, 1, TDash::Dot};

// n frequencies spaced logarithmically from f0 to f1.
inline std::vector<double> LogGrid(int n, double f0, double f1)
{
    std::vector<double> f(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        f[static_cast<std::size_t>(i)] = f0 * std::pow(f1 / f0, double(i) / (n - 1));
    return f;
}

struct TSegment {
    TPoint a, b;
    TLineStyle pen;
};

// Every MoveTo/LineTo pair drawn.
inline std::vector<TSegment> Segments(const TRecordingCanvas& canvas)
{
    std::vector<TSegment> out;
    TPoint at;
    for (const TCanvasOp& op : canvas.Ops()) {
        if (op.kind == TCanvasOp::Kind::MoveTo)
            at = op.points[0];
        else if (op.kind == TCanvasOp::Kind::LineTo) {
            out.push_back({at, op.points[0], op.pen});
            at = op.points[0];
        }
    }
    return out;
}

// Texts drawn at a given x (or any x when x < 0) with a given alignment.
inline std::vector<TCanvasOp> TextsAt(const TRecordingCanvas& canvas, int x, int align)
{
    std::vector<TCanvasOp> out;
    for (const TCanvasOp& op : canvas.OpsOf(TCanvasOp::Kind::Text))
        if ((x < 0 || op.points[0].x == x) && op.align == align)
            out.push_back(op);
    return out;
}

inline bool HasText(const TRecordingCanvas& canvas, const std::string& text)
{
    for (const std::string& t : canvas.Texts())
        if (t == text)
            return true;
    return false;
}

// A log-x plot shown in a normal window, with curves over the given grid.
struct TLogPlot {
    THeadlessHost host;
    TPlotStyles styles;
    TCursorDialog cursor{host};
    TPlotLogXLinY plot;
    std::vector<double> x;
    std::vector<std::vector<double>> y;

    TLogPlot(std::vector<double> grid, std::vector<std::vector<double>> curves)
        : plot(host, "Free air SPL at 1m distance", styles, &cursor, 0, 290, 10, 512), x(std::move(grid)),
          y(std::move(curves))
    {
        plot.SetXData(x.data());
        plot.SetPointCount(static_cast<int>(x.size()));
        const TLineStyle* pens[] = {&kThick, &kRed, &kBlue, &kDot};
        for (std::size_t c = 0; c < y.size(); ++c)
            plot.AddCurve(y[c].data(), *pens[c % 4], "Curve " + std::to_string(c), false);
        plot.SetXUnit("Hz");
        plot.SetYUnit("dB");
        host.ShowView(plot);
    }

    void Ranges(double x0, double x1, double y0, double y1)
    {
        plot.xMinimum = x0;
        plot.xMaximum = x1;
        plot.yMinimum = y0;
        plot.yMaximum = y1;
        plot.DataReady();
    }
};

struct TLinPlot {
    THeadlessHost host;
    TPlotStyles styles;
    TCursorDialog cursor{host};
    TPlotLinXLinY plot;
    std::vector<double> x, y;

    TLinPlot(std::vector<double> grid, std::vector<double> values)
        : plot(host, "Impulse response", styles, &cursor, 0, 290, 10, 8192), x(std::move(grid)), y(std::move(values))
    {
        plot.SetXData(x.data());
        plot.SetPointCount(static_cast<int>(x.size()));
        plot.AddCurve(y.data(), kThick, "", false);
        plot.SetXUnit("ms");
        host.ShowView(plot);
    }

    void Ranges(double x0, double x1, double y0, double y1)
    {
        plot.xMinimum = x0;
        plot.xMaximum = x1;
        plot.yMinimum = y0;
        plot.yMaximum = y1;
        plot.DataReady();
    }
};

} // namespace plottest
