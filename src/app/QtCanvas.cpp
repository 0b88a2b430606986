#include "QtCanvas.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

QtCanvas::QtCanvas(QPainter& painter, int width, int height) : painter_(painter), width_(width), height_(height)
{
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    MapOntoDevice(1200, 580);
    SetFont(TFontSpec{});
    ApplyPen();
}

QString QtCanvas::FamilyFor(const std::string& family)
{
    static const QStringList installed = QFontDatabase::families();
    QString name = QString::fromStdString(family);
    if (installed.contains(name))
        return name;
    if (name == "Arial" || name.isEmpty())
        return "Liberation Sans";
    if (name == "Times New Roman")
        return "Liberation Serif";
    if (name == "Courier New")
        return "Liberation Mono";
    return name;
}

QPointF QtCanvas::ToDevice(double x, double y) const
{
    return QPointF(mapping_.ToDeviceX(x), mapping_.ToDeviceY(y));
}

QRectF QtCanvas::ToDevice(const TRect& r) const
{
    QPointF a = ToDevice(r.left, r.top), b = ToDevice(r.right, r.bottom);
    return QRectF(a, b).normalized();
}

void QtCanvas::SetMapping(const TMapping& mapping)
{
    mapping_ = mapping;
    ApplyPen();
    ApplyFont(); // the same font, sized for the new mapping
}

void QtCanvas::SetDesignSize(int width, int height)
{
    designW_ = std::max(0, width);
    designH_ = std::max(0, height);
    ApplyFont();
}

double QtCanvas::TextScale() const
{
    const TMapping& m = mapping_;
    if (m.logicalW == 0 || m.logicalH == 0)
        return 1;
    // The smaller of the two scales, so that text in a tall narrow window still fits
    // the horizontal room the layout gives it.
    double sx = std::fabs(m.deviceW / m.logicalW), sy = std::fabs(m.deviceH / m.logicalH);
    double scale = std::min(sx, sy);
    if (designW_ <= 0 || designH_ <= 0)
        return scale;
    double design = std::min(designW_ / std::fabs(m.logicalW), designH_ / std::fabs(m.logicalH));
    if (scale <= design)
        return scale; // smaller than designed: text shrinks with the picture, labels keep their room
    return design * std::sqrt(scale / design);
}

void QtCanvas::ApplyFont()
{
    QFont font(FamilyFor(fontSpec_.family));
    // Font heights are line cells; the em is 0.8 of a cell.
    double px = std::max(1.0, fontSpec_.height * TextScale());
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(px * 0.8))));
    font.setBold(fontSpec_.bold);
    font.setItalic(fontSpec_.italic);
    font_ = font;
}

void QtCanvas::ApplyPen()
{
    double scale = std::min(std::fabs(mapping_.deviceW / mapping_.logicalW), std::fabs(mapping_.deviceH / mapping_.logicalH));
    double w = std::max(1.0, pen_.width * scale);
    QPen pen(ToQColor(pen_.color), w);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    switch (pen_.dash) {
    case TDash::Solid: pen.setStyle(Qt::SolidLine); break;
    case TDash::Dash: pen.setStyle(Qt::DashLine); break;
    case TDash::Dot: pen.setStyle(Qt::DotLine); break;
    case TDash::DashDot: pen.setStyle(Qt::DashDotLine); break;
    case TDash::DashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    }
    painter_.setPen(pen);
}

void QtCanvas::SetPen(const TLineStyle& style)
{
    pen_ = style;
    ApplyPen();
}

void QtCanvas::SetBrush(TColor color) { brush_ = QBrush(ToQColor(color)); }
void QtCanvas::SetNoBrush() { brush_ = QBrush(Qt::NoBrush); }

void QtCanvas::SetFont(const TFontSpec& wanted)
{
    fontSpec_ = wanted;
    ApplyFont();
}

void QtCanvas::SetTextColor(TColor color) { textColor_ = ToQColor(color); }

void QtCanvas::MoveTo(int x, int y) { current_ = ToDevice(x, y); }

void QtCanvas::LineTo(int x, int y)
{
    QPointF next = ToDevice(x, y);
    painter_.drawLine(current_, next);
    current_ = next;
}

void QtCanvas::Polyline(const TPoint* points, int count)
{
    if (count <= 0)
        return;
    scratch_.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        scratch_[static_cast<std::size_t>(i)] = ToDevice(points[i].x, points[i].y);
    painter_.drawPolyline(scratch_.data(), count);
    current_ = scratch_.back();
}

void QtCanvas::Polygon(const TPoint* points, int count)
{
    if (count <= 0)
        return;
    scratch_.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        scratch_[static_cast<std::size_t>(i)] = ToDevice(points[i].x, points[i].y);
    painter_.setBrush(brush_);
    painter_.drawPolygon(scratch_.data(), count);
}

void QtCanvas::Rectangle(const TRect& rect)
{
    painter_.setBrush(brush_);
    painter_.drawRect(ToDevice(rect));
}

void QtCanvas::Ellipse(const TRect& rect)
{
    painter_.setBrush(brush_);
    painter_.drawEllipse(ToDevice(rect));
}

void QtCanvas::FillRect(const TRect& rect, TColor color) { painter_.fillRect(ToDevice(rect), ToQColor(color)); }

void QtCanvas::Text(int x, int y, std::string_view text, int align)
{
    QString s = QString::fromUtf8(text.data(), static_cast<int>(text.size()));
    QFontMetricsF fm(font_, painter_.device());
    QPointF p = ToDevice(x, y);
    double w = fm.horizontalAdvance(s);
    double left = p.x();
    if (align & TAlign::Center)
        left -= w / 2;
    else if (align & TAlign::Right)
        left -= w;
    double baseline = p.y() + fm.ascent(); // top by default
    if (align & TAlign::Bottom)
        baseline = p.y() - fm.descent();
    else if (align & TAlign::Baseline)
        baseline = p.y();
    else if (align & TAlign::VCenter)
        baseline = p.y() + (fm.ascent() - fm.descent()) / 2;
    QPen saved = painter_.pen();
    painter_.setFont(font_);
    painter_.setPen(textColor_);
    painter_.drawText(QPointF(left, baseline), s);
    painter_.setPen(saved);
}

int QtCanvas::TextWidth(std::string_view text) const
{
    QFontMetricsF fm(font_, painter_.device());
    double w = fm.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
    return static_cast<int>(std::lround(w * mapping_.logicalW / mapping_.deviceW));
}

int QtCanvas::TextHeight() const
{
    QFontMetricsF fm(font_, painter_.device());
    return static_cast<int>(std::lround(fm.height() * mapping_.logicalH / mapping_.deviceH));
}

void QtCanvas::SetClip(const TRect& rect) { painter_.setClipRect(ToDevice(rect)); }
void QtCanvas::ClearClip() { painter_.setClipping(false); }
