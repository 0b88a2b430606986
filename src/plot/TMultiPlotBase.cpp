#include "plot/TMultiPlotBase.h"

#include "settings/TGeneral.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

using namespace TPlotAxisMath;

namespace {
// Ray labels sit closer than the text font is high: a smaller font keeps 17 apart.
constexpr int kRayFontHeight = 22;
constexpr int kRayLabelStep = 25;
constexpr int kNothingNearer = std::numeric_limits<int>::max();
} // namespace

TMultiPlotBase::TMultiPlotBase(THost& host, std::string caption, const TPlotStyles& styles, const TLineStyle& pen,
                               const TLineStyle& onAxisPen, const TGeneral& general, int pointCapacity)
    : TPlotLogXLinY(host, std::move(caption), styles, nullptr, 0, 290, kMaxSurfaceCurves, pointCapacity),
      pen_(pen), onAxisPen_(onAxisPen), general_(general),
      firstAt_(static_cast<std::size_t>(capacity_), 0),
      nearerTop_(static_cast<std::size_t>(kMaxSurfaceCurves),
                 std::vector<int>(static_cast<std::size_t>(capacity_), kNothingNearer))
{
}

void TMultiPlotBase::FitSurfaceYRange(double span)
{
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (int c = 0; c < shown_; ++c) {
        const double* y = curves_[static_cast<std::size_t>(c)].y;
        if (!y)
            continue;
        for (int i = 0; i < count_; ++i)
            if (std::isfinite(y[i])) {
                lo = std::min(lo, y[i]);
                hi = std::max(hi, y[i]);
            }
    }
    if (lo > hi)
        return; // nothing finite: the range stays
    if (span > 1e-9) {
        hi += span / 30;
        lo = hi - span;
    }
    yMinimum = lo;
    yMaximum = hi;
}

int TMultiPlotBase::CurveAtStack(int i) const { return flipped_ ? shown_ - 1 - i : i; }

void TMultiPlotBase::DataReady()
{
    hasData_ = true;
    positionsStale_ = true;
    ComputeAxes();
}

void TMultiPlotBase::KeyPress(TKey key)
{
    if (key != TKey::PageUp && key != TKey::PageDown)
        return;
    const int last = std::max(shown_ - 1, 0);
    selected_ = std::clamp(selected_ + (key == TKey::PageDown ? 1 : -1), 0, last);
    Redraw();
}

void TMultiPlotBase::ComputeAxes()
{
    TPlotLogXLinY::ComputeAxes();
    yScale_ *= kHeightShare;
}

void TMultiPlotBase::ComputePositions()
{
    ComputeAxes();
    flipped_ = general_.FlipUpDown();
    selected_ = std::clamp(selected_, 0, std::max(shown_ - 1, 0));
    const int n = x_ ? count_ : 0;
    for (int c = 0; c < n; ++c) {
        const double f = x_[c];
        const double lx = f > 0 ? std::log10(f) : LowerDecade() - 100 * DecadeSpan();
        xPos_[static_cast<std::size_t>(c)] = Position16((lx - LowerDecade()) * XScale(), 120);
    }
    // Equal x positions (points closer than a canvas unit) share the first of them.
    for (int c = 0; c < n; ++c) {
        const std::int16_t x = xPos_[static_cast<std::size_t>(c)];
        int p = c > 0 && xPos_[static_cast<std::size_t>(c - 1)] <= x ? firstAt_[static_cast<std::size_t>(c - 1)] : 0;
        while (xPos_[static_cast<std::size_t>(p)] < x)
            ++p;
        firstAt_[static_cast<std::size_t>(c)] = p;
    }
    const int offset = 70 + (flipped_ ? 0 : kStep);
    for (int i = 0; i < shown_; ++i) {
        const double* y = curves_[static_cast<std::size_t>(CurveAtStack(i))].y;
        auto& pos = yPos_[static_cast<std::size_t>(i)];
        for (int c = 0; c < n; ++c)
            pos[static_cast<std::size_t>(c)] = y ? Position16((yMaximum - y[c]) * yScale_, offset + kStep * i) : 32767;
    }
    // From the front back: the highest mid y of all curves in front of position i.
    for (int i = shown_ - 1; i >= 0; --i) {
        auto& top = nearerTop_[static_cast<std::size_t>(i)];
        if (i == shown_ - 1) {
            std::fill(top.begin(), top.begin() + n, kNothingNearer);
            continue;
        }
        const auto& front = yPos_[static_cast<std::size_t>(i + 1)];
        const auto& frontTop = nearerTop_[static_cast<std::size_t>(i + 1)];
        for (int p = 0; p < n; ++p) {
            const int next = p + 1 < n ? front[static_cast<std::size_t>(p + 1)] : front[static_cast<std::size_t>(p)];
            const int mid = (front[static_cast<std::size_t>(p)] + next) / 2;
            top[static_cast<std::size_t>(p)] = std::min(frontTop[static_cast<std::size_t>(p)], mid);
        }
    }
    positionsStale_ = false;
}

bool TMultiPlotBase::SegmentVisible(int i, int c) const
{
    if (i < 0 || i >= shown_ || c < 0 || c + 1 >= count_)
        return false;
    const auto& top = nearerTop_[static_cast<std::size_t>(i)];
    const auto& pos = yPos_[static_cast<std::size_t>(i)];
    // A nearer curve covers an end when it passes above it there; the first point of
    // the data is never tested against.
    auto covered = [&](int end) {
        const int p = firstAt_[static_cast<std::size_t>(end)];
        return p > 0 && top[static_cast<std::size_t>(p)] < pos[static_cast<std::size_t>(end)];
    };
    return !covered(c) && !covered(c + 1);
}

const TLineStyle& TMultiPlotBase::PenOf(int curve) const
{
    // The project leaves the on-axis ray out when it is hidden, so curve k is ray k
    // whenever the on-axis ray is there.
    if (!general_.HideOnAxis() && curve == general_.OnAxisIndex())
        return onAxisPen_;
    return pen_;
}

void TMultiPlotBase::SelectPlotClip(TCanvas& canvas, bool) { canvas.SetClip(kCurveClip); }

void TMultiPlotBase::PaintFrame(TCanvas& canvas)
{
    canvas.SetPen(styles_.framePen);
    canvas.SetNoBrush();
    canvas.Rectangle(TRect{109, 69, 1091, 451});
    canvas.SetFont(styles_.textFont);
    canvas.Text(110, 480, Note(), TAlign::Left | TAlign::Top);
    PaintRayLabels(canvas);
}

void TMultiPlotBase::PaintRayLabels(TCanvas& canvas)
{
    if (general_.Inhibit())
        return;
    const int rays = std::clamp(general_.SurfaceRayCount(), 0, kMaxSurfaceCurves);
    const int onAxis = general_.OnAxisIndex();
    const bool hide = general_.HideOnAxis();
    const int labels = rays - (hide && onAxis >= 0 && onAxis < rays ? 1 : 0);
    const bool flip = general_.FlipUpDown();
    TFontSpec font = styles_.textFont;
    font.height = kRayFontHeight;
    int k = 0;
    for (int r = 0; r < rays; ++r) {
        if (hide && r == onAxis)
            continue;
        const int angle = general_.SurfaceRay(r);
        if (angle == 0)
            std::snprintf(text_, sizeof text_, "0");
        else
            std::snprintf(text_, sizeof text_, "%+d", angle);
        // The selected curve's ray in bold, the on-axis ray in its pen's colour.
        font.bold = k == selected_ && shown_ > 0;
        canvas.SetFont(font);
        canvas.SetTextColor(PenOf(k).color == pen_.color ? styles_.textColor : PenOf(k).color);
        const int y = flip ? 45 + kRayLabelStep * (labels - k) : 70 + kRayLabelStep * k;
        canvas.Text(70, y, text_, TAlign::Center | TAlign::Top);
        ++k;
    }
    canvas.SetTextColor(styles_.textColor);
    canvas.SetFont(styles_.textFont);
}

void TMultiPlotBase::PaintYCaption(TCanvas& canvas)
{
    TPlotLogXLinY::PaintYCaption(canvas);
    PaintXCaption(canvas);
}

void TMultiPlotBase::PaintAxes(TCanvas& canvas) { PaintXAxis(canvas); }

void TMultiPlotBase::PaintCurves(TCanvas& canvas, bool printer)
{
    if (positionsStale_)
        ComputePositions();
    const int n = x_ ? count_ : 0;
    if (n < 2 || shown_ <= 0)
        return;
    SelectPlotClip(canvas, printer);
    // Rear to front, each visible run of segments as one line so joins stay clean.
    for (int i = shown_ - 1; i >= 0; --i) {
        const int curve = CurveAtStack(i);
        if (!curves_[static_cast<std::size_t>(curve)].y)
            continue;
        canvas.SetPen(PenOf(curve));
        const auto& pos = yPos_[static_cast<std::size_t>(i)];
        int run = 0;
        auto flush = [&] {
            if (run >= 2)
                canvas.Polyline(poly_.data(), run);
            run = 0;
        };
        for (int c = 0; c + 1 < n; ++c) {
            const double f = x_[c];
            if (!(f >= xMinimum && f <= xMaximum) || !SegmentVisible(i, c)) {
                flush();
                continue;
            }
            if (run == 0)
                poly_[static_cast<std::size_t>(run++)] = TPoint{xPos_[static_cast<std::size_t>(c)], pos[static_cast<std::size_t>(c)]};
            poly_[static_cast<std::size_t>(run++)] =
                TPoint{xPos_[static_cast<std::size_t>(c + 1)], pos[static_cast<std::size_t>(c + 1)]};
        }
        flush();
    }
    ReleasePlotClip(canvas);
}
