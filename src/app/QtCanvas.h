#pragma once
// TCanvas on a QPainter: a widget, a QImage (PNG) or a QPrinter/QPdfWriter page.

#include "ui/TCanvas.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPen>

class QtCanvas : public TCanvas {
public:
    // The painter must be active on its device; width and height are the device
    // size in device units.
    QtCanvas(QPainter& painter, int width, int height);

    // For pictures whose fixed logical area is stretched over the window (the plots):
    // the device size they are laid out for, their default client size. On a larger
    // device their text grows more slowly than the picture, so a maximised plot does
    // not shout. Unset (pages, PDF, the information window), text follows the mapping.
    void SetDesignSize(int width, int height);

    int DeviceWidth() const override { return width_; }
    int DeviceHeight() const override { return height_; }
    void SetMapping(const TMapping& mapping) override;
    const TMapping& Mapping() const override { return mapping_; }
    void SetPen(const TLineStyle& style) override;
    void SetBrush(TColor color) override;
    void SetNoBrush() override;
    void SetFont(const TFontSpec& font) override;
    void SetTextColor(TColor color) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Polyline(const TPoint* points, int count) override;
    void Polygon(const TPoint* points, int count) override;
    void Rectangle(const TRect& rect) override;
    void Ellipse(const TRect& rect) override;
    void FillRect(const TRect& rect, TColor color) override;
    void Text(int x, int y, std::string_view text, int align) override;
    int TextWidth(std::string_view text) const override;
    int TextHeight() const override;
    void SetClip(const TRect& rect) override;
    void ClearClip() override;

    // "Arial" and "Times New Roman" fall back to their metric-compatible Liberation fonts.
    static QString FamilyFor(const std::string& family);
    static QColor ToQColor(TColor color) { return QColor(color.r, color.g, color.b); }

private:
    QPointF ToDevice(double x, double y) const;
    QRectF ToDevice(const TRect& rect) const;
    void ApplyPen();
    void ApplyFont();
    double TextScale() const;

    QPainter& painter_;
    int width_, height_;
    TMapping mapping_;
    int designW_ = 0, designH_ = 0;
    TLineStyle pen_;
    TFontSpec fontSpec_;
    QFont font_;
    QColor textColor_{Qt::black};
    QBrush brush_{Qt::NoBrush};
    QPointF current_;
    std::vector<QPointF> scratch_;
};
