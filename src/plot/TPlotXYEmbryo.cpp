#include "plot/TPlotXYEmbryo.h"

#include "plot/TPrintDate.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace TPlotAxisMath;

namespace {
// Far more than any sane range needs; only stops a walk that floating point broke.
constexpr int kMaxWalk = 4000;
constexpr int kZoomSteps[] = {1, 2, 5, 10, 20};
} // namespace

TPlotXYEmbryo::TPlotXYEmbryo(THost& host, std::string caption, const TPlotStyles& styles, TCursorDialog* cursor,
                             int iconId, int height, int curveCapacity, int pointCapacity)
    : TPlotWindowEmbryo(host, std::move(caption), height), styles_(styles), readout_(cursor, *this),
      capacity_(std::clamp(pointCapacity, 0, 32767)), curveCapacity_(std::clamp(curveCapacity, 0, kMaxHeldCurves)),
      iconId_(iconId)
{
    curves_.reserve(static_cast<std::size_t>(curveCapacity_));
    xPos_.assign(static_cast<std::size_t>(capacity_), 0);
    yPos_.assign(static_cast<std::size_t>(curveCapacity_), std::vector<std::int16_t>(static_cast<std::size_t>(capacity_), 0));
    poly_.assign(static_cast<std::size_t>(capacity_), TPoint{});
    CreateViewNow();
}

void TPlotXYEmbryo::SetPointCount(int count)
{
    count_ = std::clamp(count, 0, capacity_);
    positionsStale_ = true;
}

void TPlotXYEmbryo::AddCurve(const double* y, const TLineStyle& style, std::string_view label, bool thick)
{
    if (static_cast<int>(curves_.size()) >= curveCapacity_)
        return;
    TCurve curve;
    curve.y = y;
    curve.style = &style;
    curve.label.assign(label.substr(0, kLabelChars));
    curve.thick = thick;
    curves_.push_back(std::move(curve));
    shown_ = static_cast<int>(curves_.size());
    positionsStale_ = true;
}

void TPlotXYEmbryo::ClearCurves()
{
    curves_.clear();
    shown_ = 0;
    positionsStale_ = true;
}

void TPlotXYEmbryo::SetShownCurves(int n) { shown_ = std::clamp(n, 0, static_cast<int>(curves_.size())); }

namespace {
// Neither NaN nor an infinity passes.
inline bool Finite(double v) { return std::fabs(v) <= std::numeric_limits<double>::max(); }
} // namespace

namespace {
// x ascending, NaN nowhere: what every frequency grid gives, and what lets the fit find
// the window's points by bisection. Two neighbours a step with SSE2, which x86-64 always
// has.
bool Ascending(const double* x, int n)
{
    int i = 1;
#if defined(__SSE2__)
    __m128d ordered = _mm_cmpeq_pd(_mm_setzero_pd(), _mm_setzero_pd());
    for (; i + 1 < n; i += 2)
        ordered = _mm_and_pd(ordered, _mm_cmple_pd(_mm_loadu_pd(x + i - 1), _mm_loadu_pd(x + i)));
    if (_mm_movemask_pd(ordered) != 3)
        return false;
#endif
    for (; i < n; ++i)
        if (!(x[i - 1] <= x[i]))
            return false;
    return n == 0 || !std::isnan(x[0]);
}

// lo and hi widened by the finite values of y[from, to), as a walk in order taking
// v < lo and v > hi gives.
void WidenInOrder(const double* y, int from, int to, double& lo, double& hi)
{
    for (int i = from; i < to; ++i) {
        const double v = y[i];
        if (Finite(v)) {
            lo = v < lo ? v : lo;
            hi = v > hi ? v : hi;
        }
    }
}

// The same on two lanes of even and odd points. Lanes can only disagree with the walk in
// order on which of 0 and -0 they keep, so a zero result is walked again.
void Widen(const double* y, int from, int to, double& lo, double& hi)
{
#if defined(__SSE2__)
    if (to - from >= 4) {
        const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffff));
        const __m128d largest = _mm_set1_pd(std::numeric_limits<double>::max());
        __m128d l2 = _mm_set1_pd(lo), h2 = _mm_set1_pd(hi);
        int i = from;
        for (; i + 1 < to; i += 2) {
            const __m128d v = _mm_loadu_pd(y + i);
            // Not finite becomes NaN, which min and max pass over (they return the
            // second operand then).
            const __m128d u = _mm_or_pd(v, _mm_cmpnle_pd(_mm_and_pd(v, magnitude), largest));
            l2 = _mm_min_pd(u, l2);
            h2 = _mm_max_pd(u, h2);
        }
        double l = _mm_cvtsd_f64(l2), h = _mm_cvtsd_f64(h2);
        const double l1 = _mm_cvtsd_f64(_mm_unpackhi_pd(l2, l2)), h1 = _mm_cvtsd_f64(_mm_unpackhi_pd(h2, h2));
        l = l1 < l ? l1 : l;
        h = h1 > h ? h1 : h;
        WidenInOrder(y, i, to, l, h);
        if (l != 0 && h != 0) {
            lo = l;
            hi = h;
            return;
        }
    }
#endif
    WidenInOrder(y, from, to, lo, hi);
}
} // namespace

// Both fits run after every full calculation over every curve, so their loops stay free
// of calls and of branches the data could make unpredictable.
bool TPlotXYEmbryo::FitXRange(double span)
{
    if (!x_ || count_ <= 0)
        return false;
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    if (Ascending(x_, count_)) {
        // The first and the last finite value; only infinities can stand before or after.
        int first = 0, last = count_ - 1;
        while (first < count_ && !Finite(x_[first]))
            ++first;
        while (last > first && !Finite(x_[last]))
            --last;
        while (last > first && x_[last - 1] == x_[last])
            --last; // the first of equal largest values, as a walk keeps it (0 after -0)
        if (first < count_) {
            lo = x_[first];
            hi = x_[last];
        }
    } else {
        for (int i = 0; i < count_; ++i) {
            const double v = x_[i];
            const bool finite = Finite(v);
            lo = finite && v < lo ? v : lo;
            hi = finite && v > hi ? v : hi;
        }
    }
    if (lo > hi)
        return false;
    xMinimum = lo;
    xMaximum = hi;
    if (span > 1e-9)
        xMinimum = xMaximum - span;
    return true;
}

void TPlotXYEmbryo::FitXRangeAs(const TPlotXYEmbryo& fitted)
{
    if (x_ != fitted.x_ || count_ != fitted.count_) {
        FitXRange(0);
        return;
    }
    xMinimum = fitted.xMinimum;
    xMaximum = fitted.xMaximum;
}


void TPlotXYEmbryo::FitYRange(double span)
{
    if (!x_ || count_ <= 0 || shown_ <= 0 || !curves_[0].y)
        return;
    // The first curve's first value seeds the range; a seed that is not finite gives way
    // to the first finite value inside the x range. Values of the first curve left of the
    // range restart it, so the range starts where that curve enters the window.
    const double seed = curves_[0].y[0];
    double lo = seed, hi = seed;
    if (!Finite(seed)) {
        lo = std::numeric_limits<double>::infinity();
        hi = -lo;
    }
    const double xLow = xMinimum, xHigh = xMaximum;
    if (!std::isnan(xLow) && !std::isnan(xHigh) && Ascending(x_, count_)) {
        // The points left of the window come first, then those inside it: the last
        // finite value of the first curve left of it restarts the range once.
        const int first = static_cast<int>(std::lower_bound(x_, x_ + count_, xLow) - x_);
        const int end = std::max(first, static_cast<int>(std::upper_bound(x_, x_ + count_, xHigh) - x_));
        const double* y0 = curves_[0].y;
        for (int i = first - 1; i >= 0; --i)
            if (Finite(y0[i])) {
                lo = hi = y0[i];
                break;
            }
        for (int c = 0; c < shown_; ++c)
            if (const double* y = curves_[static_cast<std::size_t>(c)].y)
                Widen(y, first, end, lo, hi);
    } else {
        for (int c = 0; c < shown_; ++c) {
            const double* y = curves_[static_cast<std::size_t>(c)].y;
            if (!y)
                continue;
            for (int i = 0; i < count_; ++i) {
                const double x = x_[i], v = y[i];
                if (!Finite(v))
                    continue;
                if (x >= xLow && x <= xHigh) {
                    lo = v < lo ? v : lo;
                    hi = v > hi ? v : hi;
                } else if (c == 0 && x < xLow) {
                    lo = hi = v;
                }
            }
        }
    }
    if (lo > hi)
        lo = hi = seed; // nothing finite inside the range
    if (span > 1e-9) {
        hi += span / 30;
        lo = hi - span;
    }
    yMinimum = lo / zoom_;
    yMaximum = hi / zoom_;
}

void TPlotXYEmbryo::DataReady()
{
    hasData_ = true;
    if (active_)
        readout_.SwitchAbsolute();
    positionsStale_ = true;
    ComputeAxes();
}

void TPlotXYEmbryo::DataCleared()
{
    hasData_ = false;
    readout_.Reset();
    Redraw();
}

void TPlotXYEmbryo::Redraw()
{
    if (IsMinimised())
        return;
    TPlotWindowEmbryo::Redraw();
    if (hasData_)
        readout_.Refresh();
}

bool TPlotXYEmbryo::HandleCommand(int id)
{
    switch (id) {
    case TCmd::CopyWindow: CopyWindow(); return true;
    case TCmd::PrintWindow: PrintPlot(); return true;
    case TCmd::UserNote: EditNote(); return true;
    case TCmd::DefaultSize: RestoreDefaultSize(); return true;
    default: return false;
    }
}

void TPlotXYEmbryo::CopyWindow()
{
    if (!Host().CopyViewPicture(*this))
        Host().Message("Out of memory", "Copy window", TMsgButtons::Ok, TMsgIcon::Warning);
}

void TPlotXYEmbryo::PrintPlot()
{
    if (IsMinimised() || !HasPrintableData())
        return;
    bool printed = Host().PrintPages("Tonvek print job", 1, [this](TCanvas& canvas, int) {
        double pw = canvas.DeviceWidth(), ph = canvas.DeviceHeight();
        if (pw <= 0 || ph <= 0)
            return;
        double s = std::min(pw / kCanvasW, ph / kCanvasH);
        canvas.SetMapping(TMapping{0, 0, double(kCanvasW), double(kCanvasH), 0.1 * s * kCanvasW, 0.25 * s * kCanvasH,
                                   0.8 * s * kCanvasW, 0.8 * s * kCanvasH});
        canvas.SetTextColor(styles_.textColor);
        ComputeAxes();
        PaintFrame(canvas);
        canvas.SetFont(styles_.titleFont);
        canvas.Text(600, -58, Caption(), TAlign::Center | TAlign::Bottom);
        canvas.SetFont(styles_.textFont);
        std::string date = CurrentPrintDate();
        canvas.Text(1140, 0, date, TAlign::Right | TAlign::Bottom);
        PaintYCaption(canvas);
        PaintAxes(canvas);
        PaintCurves(canvas, true);
        canvas.ClearClip();
    });
    if (printed)
        Redraw();
}

namespace {
// Truncates a pixel fraction; the tiny lift keeps exact products such as
// 1200 * 0.9208333333333333 = 1105 from landing one pixel short.
int Pixel(int size, double fraction) { return static_cast<int>(size * fraction + 1e-7); }
} // namespace

TRect TPlotXYEmbryo::ClipRectFor(int w, int h)
{
    return TRect{Pixel(w, 0.09333333333333334), Pixel(h, 0.10689655172413794), Pixel(w, 0.9208333333333333),
                 Pixel(h, 0.7655172413793103)};
}

TRect TPlotXYEmbryo::CursorRectFor(int w, int h)
{
    return TRect{Pixel(w, 0.1), Pixel(h, 0.1206896551724138), Pixel(w, 0.9091666666666667),
                 Pixel(h, 0.7603448275862069)};
}

int TPlotXYEmbryo::MarkerOf(int j, int n)
{
    int kind = n == 2 ? j : j - 1;
    return kind >= 0 && kind <= 2 ? kind : -1;
}

void TPlotXYEmbryo::Paint(TCanvas& canvas)
{
    // A window shrunk to nothing has no pixels to map onto.
    if (canvas.DeviceWidth() <= 0 || canvas.DeviceHeight() <= 0)
        return;
    BeginPlotPaint(canvas);
    canvas.FillRect(TRect{0, 0, kCanvasW, kCanvasH}, styles_.background);
    if (!hasData_)
        return;
    ComputeAxes();
    PaintFrame(canvas);
    PaintYCaption(canvas);
    PaintAxes(canvas);
    PaintCurves(canvas, false);
    EndPlotPaint(canvas);
    FinishPlotPaint(canvas);
}

void TPlotXYEmbryo::BeginPlotPaint(TCanvas& canvas)
{
    canvas.MapOntoDevice(kCanvasW, kCanvasH);
    canvas.SetTextColor(styles_.textColor);
    clipPixels_ = ClipRectFor(canvas.DeviceWidth(), canvas.DeviceHeight());
    cursorPixels_ = CursorRectFor(canvas.DeviceWidth(), canvas.DeviceHeight());
}

void TPlotXYEmbryo::FinishPlotPaint(TCanvas& canvas)
{
    canvas.ClearClip();
    canvas.SetPen(styles_.framePen);
}

void TPlotXYEmbryo::SelectPlotClip(TCanvas& canvas, bool printer)
{
    if (printer) {
        canvas.SetClip(TRect{112, 62, 1103, 442});
        return;
    }
    const TMapping& m = canvas.Mapping();
    auto lx = [&](int px) { return static_cast<int>(std::lround(m.ToLogicalX(px))); };
    auto ly = [&](int py) { return static_cast<int>(std::lround(m.ToLogicalY(py))); };
    canvas.SetClip(TRect{lx(clipPixels_.left), ly(clipPixels_.top), lx(clipPixels_.right), ly(clipPixels_.bottom)});
}

void TPlotXYEmbryo::ReleasePlotClip(TCanvas& canvas) { canvas.ClearClip(); }

void TPlotXYEmbryo::Line(TCanvas& canvas, int x0, int y0, int x1, int y1)
{
    canvas.MoveTo(x0, y0);
    canvas.LineTo(x1, y1);
}

void TPlotXYEmbryo::Label(TCanvas& canvas, int x, int y, int align, const char* format, double value)
{
    std::snprintf(text_, sizeof text_, format, value + 0.0);
    canvas.Text(x, y, text_, align);
}

void TPlotXYEmbryo::PaintFrame(TCanvas& canvas)
{
    canvas.SetPen(styles_.framePen);
    canvas.SetNoBrush();
    canvas.Rectangle(TRect{109, 69, 1091, 451});
    canvas.SetFont(styles_.textFont);
    if (shown_ > 1) {
        for (int j = 0; j < shown_; ++j) {
            const TCurve& curve = curves_[static_cast<std::size_t>(j)];
            int co = 240 * (j / 2), ro = 26 * (j % 2);
            // The marker goes on in the pen of the entry before, as on the curves,
            // where all markers share the first curve's pen.
            int kind = MarkerOf(j, shown_);
            if (kind >= 0)
                DrawMarker(canvas, kind, 146 + co, 10 + ro);
            canvas.SetPen(curve.style ? *curve.style : styles_.framePen);
            Line(canvas, 164 + co, 10 + ro, 230 + co, 10 + ro);
            canvas.Text(240 + co, ro - 3, curve.label, TAlign::Left | TAlign::Top);
        }
        canvas.SetPen(styles_.framePen);
    }
    canvas.Text(110, 480, Note(), TAlign::Left | TAlign::Top);
    if (zoomEnabled_) {
        std::snprintf(text_, sizeof text_, "x%d", zoom_);
        canvas.Text(1170, 10, text_, TAlign::Right | TAlign::Top);
    }
}

void TPlotXYEmbryo::PaintYCaption(TCanvas& canvas)
{
    canvas.SetFont(styles_.textFont);
    canvas.Text(98, 40, yUnit_, TAlign::Right | TAlign::Bottom);
}

void TPlotXYEmbryo::PaintXCaption(TCanvas& canvas)
{
    canvas.SetFont(styles_.textFont);
    canvas.Text(1106, 458, xUnit_, TAlign::Right | TAlign::Bottom);
}

void TPlotXYEmbryo::PaintCurves(TCanvas& canvas, bool printer)
{
    if (positionsStale_)
        ComputePositions();
    SelectPlotClip(canvas, printer);
    PaintUnderCurves(canvas);
    int n = x_ ? count_ : 0;
    for (int c = shown_ - 1; c >= 0; --c) {
        const TCurve& curve = curves_[static_cast<std::size_t>(c)];
        if (!curve.y || n <= 0)
            continue;
        const std::int16_t* yp = yPos_[static_cast<std::size_t>(c)].data();
        int best = 0;
        int bestY = 1 << 30;
        for (int i = 0; i < n; ++i) {
            poly_[static_cast<std::size_t>(i)] = TPoint{xPos_[static_cast<std::size_t>(i)], yp[i]};
            if (i >= 1 && yp[i] > 69 && yp[i] < bestY) {
                bestY = yp[i];
                best = i;
            }
        }
        markerAt_[static_cast<std::size_t>(c)] = TPoint{xPos_[static_cast<std::size_t>(best)], yp[best]};
        canvas.SetPen(curve.style ? *curve.style : styles_.framePen);
        canvas.Polyline(poly_.data(), n);
        if (curve.thick) {
            for (int i = 0; i < n; ++i)
                poly_[static_cast<std::size_t>(i)].y += 1;
            canvas.Polyline(poly_.data(), n);
        }
    }
    // Markers go on in the pen left by the last curve drawn (the first one).
    if (n > 0)
        for (int j = 0; j < shown_; ++j) {
            int kind = MarkerOf(j, shown_);
            if (kind >= 0 && curves_[static_cast<std::size_t>(j)].y)
                DrawMarker(canvas, kind, markerAt_[static_cast<std::size_t>(j)].x, markerAt_[static_cast<std::size_t>(j)].y);
        }
    ReleasePlotClip(canvas);
    positionsStale_ = false;
}

void TPlotXYEmbryo::DrawMarker(TCanvas& canvas, int kind, int x, int y)
{
    switch (kind) {
    case 0: DrawSquareMarker(canvas, x, y); break;
    case 1: DrawTriangleMarker(canvas, x, y); break;
    case 2: DrawDiamondMarker(canvas, x, y); break;
    default: break;
    }
}

void TPlotXYEmbryo::DrawSquareMarker(TCanvas& canvas, int x, int y)
{
    const TPoint p[] = {{x - 8, y - 8}, {x + 8, y - 8}, {x + 8, y + 8}, {x - 8, y + 8}, {x - 8, y - 8}};
    canvas.Polyline(p, 5);
}

void TPlotXYEmbryo::DrawTriangleMarker(TCanvas& canvas, int x, int y)
{
    const TPoint p[] = {{x - 8, y - 8}, {x, y + 8}, {x + 8, y - 8}, {x - 8, y - 8}};
    canvas.Polyline(p, 4);
}

void TPlotXYEmbryo::DrawDiamondMarker(TCanvas& canvas, int x, int y)
{
    const TPoint p[] = {{x, y + 8}, {x + 8, y}, {x, y - 8}, {x - 8, y}, {x, y + 8}};
    canvas.Polyline(p, 5);
}

void TPlotXYEmbryo::ComputeAxes()
{
    GuardLinearRange(yMinimum, yMaximum);
    double span = yMaximum - yMinimum;
    yScale_ = 370 / span;
    ySteps_ = YSteps(span);
    yMult_ = Multiplier(yMinimum, yMaximum);
}

std::int16_t TPlotXYEmbryo::YPosition(double y) const
{
    std::int16_t p = Position16((yMaximum - y) * yScale_, 70);
    if (p < 0 && ClampNegativeY())
        p = 0;
    return p;
}

void TPlotXYEmbryo::PaintYAxis(TCanvas& canvas)
{
    const double major = ySteps_.major, minor = ySteps_.minor;
    canvas.SetFont(styles_.textFont);
    auto level = [&](double u, double r) {
        int a = RoundOffset((yMaximum - u) * yScale_);
        if (std::fabs(r - u) < 0.9 * minor) {
            if (a >= 0 && a <= 370) {
                if (a > 0) {
                    canvas.SetPen(styles_.gridPen);
                    Line(canvas, 110, a + 70, 1091, a + 70);
                }
                Label(canvas, 100, a + 84, TAlign::Right | TAlign::Bottom, yMult_.format, r * yMult_.factor);
            }
        } else if (a >= 1 && a <= 370) {
            canvas.SetPen(styles_.minorPen);
            PaintMinorRow(canvas, a + 70);
        }
        return a;
    };
    if (yMaximum * yMinimum > 0) {
        double start = std::ceil(yMaximum / major) * major;
        for (int i = 0; i < kMaxWalk; ++i) {
            double u = start - i * minor;
            if (level(u, std::floor(u / major + 0.05) * major) > 370)
                break;
        }
    } else {
        for (int i = 0; i < kMaxWalk; ++i) {
            double u = i * minor;
            if (level(u, std::trunc(u / major + 0.05) * major) <= 0)
                break;
        }
        if (-minor > yMinimum)
            for (int i = 1; i < kMaxWalk; ++i) {
                double u = -i * minor;
                if (level(u, std::trunc(u / major - 0.05) * major) > 370)
                    break;
            }
    }
    if (yMult_.e != 0) {
        std::snprintf(text_, sizeof text_, "*1.0E%1d", yMult_.e);
        canvas.Text(3, 64, text_, TAlign::Left | TAlign::Bottom);
    }
    canvas.SetPen(styles_.framePen);
}

TCursorAxes::TReading TPlotXYEmbryo::ReadY(int py, int height) const
{
    double y = (70 - UnitsY(py, height)) / yScale_ + yMaximum;
    int g = static_cast<int>(std::floor(std::log10((yMaximum - yMinimum) / 380)));
    return {y, YReadoutFormat(g)};
}

void TPlotXYEmbryo::MouseMove(int px, int py, int width, int height)
{
    lastPx_ = px;
    lastPy_ = py;
    lastW_ = width;
    lastH_ = height;
    if (readout_.IsOff())
        return;
    cursorPixels_ = CursorRectFor(width, height);
    readout_.PointerMoved(px, py, width, height, cursorPixels_.Contains(px, py));
}

void TPlotXYEmbryo::MouseDoubleClick(int px, int py, int width, int height)
{
    if (readout_.IsOff())
        return;
    MouseMove(px, py, width, height);
    readout_.DoubleClicked(py, height);
}

void TPlotXYEmbryo::MouseLeave() { readout_.PointerLeft(); }

void TPlotXYEmbryo::KeyPress(TKey key)
{
    switch (key) {
    case TKey::PageUp:
    case TKey::PageDown: {
        if (!zoomEnabled_)
            return;
        int i = 0;
        while (i < 4 && kZoomSteps[i] != zoom_)
            ++i;
        i = key == TKey::PageUp ? std::min(i + 1, 4) : std::max(i - 1, 0);
        zoom_ = kZoomSteps[i];
        FitYRange(0);
        DataReady();
        Redraw();
        return;
    }
    case TKey::Left:
    case TKey::Right:
    case TKey::Up:
    case TKey::Down: {
        // The arrows step the pointer by one pixel; the readout follows it.
        if (lastW_ <= 0 || lastH_ <= 0)
            return;
        int dx = key == TKey::Left ? -1 : (key == TKey::Right ? 1 : 0);
        int dy = key == TKey::Up ? -1 : (key == TKey::Down ? 1 : 0);
        MouseMove(lastPx_ + dx, lastPy_ + dy, lastW_, lastH_);
        return;
    }
    default: return;
    }
}

void TPlotXYEmbryo::Activated(bool active)
{
    if (active) {
        if (hasData_)
            readout_.SwitchAbsolute();
        active_ = true;
        return;
    }
    readout_.SwitchOff();
    active_ = false;
}
