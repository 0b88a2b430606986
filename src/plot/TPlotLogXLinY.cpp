#include "plot/TPlotLogXLinY.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace TPlotAxisMath;

namespace {
// Decade-span comparisons allow for the rounding of log10 (20 Hz to 20 kHz is 3 decades).
constexpr double kEps = 1e-9;
} // namespace

TPlotLogXLinY::TPlotLogXLinY(THost& host, std::string caption, const TPlotStyles& styles, TCursorDialog* cursor,
                             int iconId, int height, int curveCapacity, int pointCapacity)
    : TPlotXYEmbryo(host, std::move(caption), styles, cursor, iconId, height, curveCapacity, pointCapacity),
      phasePos_(kPhasePoints, 0)
{
}

void TPlotLogXLinY::SetPhaseCurve(const double* phase, const TLineStyle& style)
{
    phase_ = phase;
    phaseStyle_ = &style;
    phaseShown_ = phase != nullptr;
    positionsStale_ = true;
}

void TPlotLogXLinY::ComputeAxes()
{
    TPlotXYEmbryo::ComputeAxes();
    GuardLogRange(xMinimum, xMaximum);
    lower_ = std::log10(xMinimum);
    upper_ = std::log10(xMaximum);
    decades_ = upper_ - lower_;
    xScale_ = 970 / decades_;
}

void TPlotLogXLinY::ComputePositions()
{
    ComputeAxes();
    if (!x_)
        return;
    for (int i = 0; i < count_; ++i) {
        double x = x_[i];
        // Frequencies of 0 or below have no place on a log axis: far left, clipped.
        double lx = x > 0 ? std::log10(x) : lower_ - 100 * decades_;
        xPos_[static_cast<std::size_t>(i)] = Position16((lx - lower_) * xScale_, 120);
    }
    for (std::size_t c = 0; c < curves_.size(); ++c) {
        const double* y = curves_[c].y;
        if (!y)
            continue;
        for (int i = 0; i < count_; ++i)
            yPos_[c][static_cast<std::size_t>(i)] = YPosition(y[i]);
    }
    if (phase_) {
        // Multiplied before dividing, as the phase axis ticks are, so +90 lands on its tick.
        int n = std::min(count_, kPhasePoints);
        for (int i = 0; i < n; ++i)
            phasePos_[static_cast<std::size_t>(i)] = Position16((180 - phase_[i]) * 370.0 / 360.0, 70);
    }
}

void TPlotLogXLinY::PaintUnderCurves(TCanvas& canvas)
{
    if (!phaseShown_ || !phase_ || !x_)
        return;
    int n = std::min(count_, kPhasePoints);
    for (int i = 0; i < n; ++i)
        poly_[static_cast<std::size_t>(i)] = TPoint{xPos_[static_cast<std::size_t>(i)], phasePos_[static_cast<std::size_t>(i)]};
    canvas.SetPen(phaseStyle_ ? *phaseStyle_ : styles_.framePen);
    if (n > 0)
        canvas.Polyline(poly_.data(), n);
}

void TPlotLogXLinY::PaintAxes(TCanvas& canvas)
{
    PaintXAxis(canvas);
    PaintYAxis(canvas);
    if (phaseShown_)
        PaintPhaseAxis(canvas);
}

void TPlotLogXLinY::XLabel(int k, int q, const char* suffix)
{
    char value[48];
    if (q >= 0 && q <= 3)
        std::snprintf(value, sizeof value, "%1.0f", k * std::pow(10.0, q));
    else if (q == 4)
        decades_ > 3 + kEps ? std::snprintf(value, sizeof value, "%1dE%1d", k, 4)
                            : std::snprintf(value, sizeof value, "%1.0f", k * 1e4);
    else if (q == -1)
        std::snprintf(value, sizeof value, "%2.1f", k * 0.1);
    else if (q == -2)
        std::snprintf(value, sizeof value, "%3.2f", k * 0.01);
    else
        std::snprintf(value, sizeof value, "%1dE%1d", k, q);
    std::snprintf(text_, sizeof text_, "%s%s", value, suffix);
}

void TPlotLogXLinY::PaintXAxis(TCanvas& canvas)
{
    canvas.SetFont(styles_.textFont);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, " %s", xUnit_.c_str());
    bool first = true;
    int qFrom = static_cast<int>(std::floor(lower_)), qTo = static_cast<int>(std::ceil(upper_));
    for (int q = qFrom; q <= qTo; ++q)
        for (int k = 1; k <= 9; ++k) {
            int g = RoundOffset((std::log10(double(k)) + q - lower_) * xScale_) + 10;
            if (g < 10 || g > 980)
                continue;
            int x = g + 110;
            if (g != 980) {
                canvas.SetPen(styles_.gridPen);
                Line(canvas, x, 70, x, 451);
            }
            if (first) {
                if ((decades_ <= 10 + kEps && k <= 2) || (decades_ <= 7 + kEps && k == 5)) {
                    XLabel(k, q, suffix);
                    canvas.Text(x, 454, text_, TAlign::Center | TAlign::Top);
                    first = false;
                }
            } else if (k == 1 || k == 5 || (k == 2 && decades_ <= 2 + kEps)) {
                XLabel(k, q, "");
                canvas.Text(x, 454, text_, TAlign::Center | TAlign::Top);
                canvas.SetPen(styles_.framePen);
                Line(canvas, x, 450, x, 453);
            }
        }
    canvas.SetPen(styles_.framePen);
}

void TPlotLogXLinY::PaintMinorRow(TCanvas& canvas, int y)
{
    auto p = [&](double v, int q) { return RoundOffset((std::log10(v) + q - lower_) * xScale_); };
    bool first = true;
    int qFrom = static_cast<int>(std::floor(lower_)), qTo = static_cast<int>(std::ceil(upper_));
    for (int q = qFrom; q <= qTo; ++q)
        for (int k = 1; k <= 9; ++k) {
            int half = p(k + 0.5, q);
            if (half >= 0 && half <= 970 && !(k == 9 && decades_ > 1.7 + kEps))
                Line(canvas, half + 119, y, half + 122, y);
            int whole = p(k, q);
            if (whole >= 0 && whole <= 970) {
                if (first || k == 1)
                    Line(canvas, whole + 118, y, whole + 123, y);
                first = false;
            }
        }
}

void TPlotLogXLinY::PaintPhaseAxis(TCanvas& canvas)
{
    canvas.SetFont(styles_.textFont);
    canvas.Text(1105, 40, "deg", TAlign::Left | TAlign::Bottom);
    canvas.SetPen(styles_.framePen);
    for (int w = 180; w >= -180; w -= 45) {
        int t = RoundOffset((180 - w) * 370.0 / 360.0);
        Line(canvas, 1088, t + 70, 1093, t + 70);
        std::snprintf(text_, sizeof text_, "%+3d", w);
        canvas.Text(1100, t + 85, text_, TAlign::Left | TAlign::Bottom);
    }
}

TCursorAxes::TReading TPlotLogXLinY::ReadX(int px, int width) const
{
    double x = std::pow(10.0, (UnitsX(px, width) - 120) / xScale_ + lower_);
    double next = std::pow(10.0, (UnitsX(px + 1, width) - 120) / xScale_ + lower_);
    double diff = next - x;
    int g = diff > 0 && std::isfinite(diff) ? static_cast<int>(std::floor(std::log10(diff))) : 0;
    if (g >= 1 && g <= 4) {
        double unit = std::pow(10.0, g);
        x = std::floor(x / unit + 0.5) * unit;
    }
    const char* format = "%3.2E";
    switch (g) {
    case -3: format = "%4.3f"; break;
    case -2: format = "%3.2f"; break;
    case -1: format = "%3.1f"; break;
    case 0:
    case 1:
    case 2:
    case 3:
    case 4: format = "%3.0f"; break;
    default: break;
    }
    return {x, format};
}

const char* TPlotLogXLinY::YReadoutFormat(int g) const
{
    switch (g) {
    case -4: return "%4.4f";
    case -3: return "%3.3f";
    case -2: return "%3.2f";
    case -1: return "%3.1f";
    case 0:
    case 1:
    case 2:
    case 3: return "%3.0f";
    default: return "%3.2E";
    }
}
