#include "plot/TPlotLinXLinY.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace TPlotAxisMath;

namespace {
constexpr int kMaxWalk = 4000;
} // namespace

TPlotLinXLinY::TPlotLinXLinY(THost& host, std::string caption, const TPlotStyles& styles, TCursorDialog* cursor,
                             int iconId, int height, int curveCapacity, int pointCapacity)
    : TPlotXYEmbryo(host, std::move(caption), styles, cursor, iconId, height, curveCapacity, pointCapacity)
{
}

void TPlotLinXLinY::ComputeAxes()
{
    TPlotXYEmbryo::ComputeAxes();
    GuardLinearRange(xMinimum, xMaximum);
    xSpan_ = xMaximum - xMinimum;
    xScale_ = 970 / xSpan_;
    xStep_ = TPlotAxisMath::XStep(xSpan_);
    xMult_ = Multiplier(xMinimum, xMaximum);
}

void TPlotLinXLinY::ComputePositions()
{
    ComputeAxes();
    if (!x_)
        return;
    for (int i = 0; i < count_; ++i)
        xPos_[static_cast<std::size_t>(i)] = Position16((x_[i] - xMinimum) * xScale_, 120);
    for (std::size_t c = 0; c < curves_.size(); ++c) {
        const double* y = curves_[c].y;
        if (!y)
            continue;
        for (int i = 0; i < count_; ++i)
            yPos_[c][static_cast<std::size_t>(i)] = YPosition(y[i]);
    }
}

void TPlotLinXLinY::PaintAxes(TCanvas& canvas)
{
    PaintXAxis(canvas);
    PaintYAxis(canvas);
}

int TPlotLinXLinY::XTick(TCanvas& canvas, double v)
{
    int g = RoundOffset((v - xMinimum) * xScale_) + 10;
    if (g < 10 || g > 980)
        return g;
    int x = g + 110;
    if (g != 980) {
        canvas.SetPen(styles_.gridPen);
        Line(canvas, x, 70, x, 451);
    }
    canvas.SetPen(styles_.framePen);
    Line(canvas, x, 450, x, 453);
    char value[48];
    std::snprintf(value, sizeof value, xMult_.format, v * xMult_.factor + 0.0);
    if (g == 10)
        std::snprintf(text_, sizeof text_, "%s %s", value, xUnit_.c_str());
    else
        std::snprintf(text_, sizeof text_, "%s", value);
    canvas.Text(x, 455, text_, TAlign::Center | TAlign::Top);
    labelRight_ = std::max(labelRight_, x + canvas.TextWidth(text_) / 2);
    return g;
}

void TPlotLinXLinY::PaintXAxis(TCanvas& canvas)
{
    canvas.SetFont(styles_.textFont);
    labelRight_ = 0;
    if (xMaximum * xMinimum > 0) {
        double start = std::floor(xMinimum / xStep_) * xStep_;
        for (int i = 0; i < kMaxWalk; ++i)
            if (XTick(canvas, start + i * xStep_) >= 981)
                break;
    } else {
        for (int i = 0; i < kMaxWalk; ++i)
            if (XTick(canvas, i * xStep_) >= 981)
                break;
        if (-xStep_ > xMinimum)
            for (int i = 1; i < kMaxWalk; ++i)
                if (XTick(canvas, -i * xStep_) < 10)
                    break;
    }
    if (xMult_.e != 0) {
        std::snprintf(text_, sizeof text_, "*1.0E%1d", xMult_.e);
        // Below the label row when a label reaches under the multiplier's place.
        int y = labelRight_ > 1120 - canvas.TextWidth(text_) ? 455 + canvas.TextHeight() : 468;
        canvas.Text(1120, y, text_, TAlign::Right | TAlign::Top);
    }
    canvas.SetPen(styles_.framePen);
}

void TPlotLinXLinY::PaintMinorRow(TCanvas& canvas, int y)
{
    auto pos = [&](double v) { return RoundOffset((v - xMinimum) * xScale_); };
    double start = std::floor(xMinimum / xStep_) * xStep_;
    for (int i = 0; i < kMaxWalk; ++i) {
        double v = start + i * xStep_;
        int p = pos(v);
        if (p > 970)
            break;
        int half = pos(v + xStep_ / 2);
        if (half >= 0 && half <= 970)
            Line(canvas, half + 119, y, half + 122, y);
        if (p >= 0)
            Line(canvas, p + 118, y, p + 123, y);
    }
}

const char* TPlotLinXLinY::ReadoutFormat(int g)
{
    switch (g) {
    case -4: return "%4.4f";
    case -3: return "%3.3f";
    case -2: return "%3.2f";
    case -1: return "%3.1f";
    case 3: return "%3.0f";
    default: return "%3.2E";
    }
}

TCursorAxes::TReading TPlotLinXLinY::ReadX(int px, int width) const
{
    double x = (UnitsX(px, width) - 120) / xScale_ + xMinimum;
    int g = static_cast<int>(std::floor(std::log10(xSpan_ / 980)));
    return {x, ReadoutFormat(g)};
}
