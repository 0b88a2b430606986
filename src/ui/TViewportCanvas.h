#pragma once
// A canvas that is a rectangle of another: a window model paints into it as into a
// window of the rectangle's size, and the drawing lands inside the rectangle. Used to
// put several diagrams on one printed page.

#include "TCanvas.h"

class TViewportCanvas : public TCanvas {
public:
    // The rectangle is in the target's device units.
    TViewportCanvas(TCanvas& target, int x, int y, int width, int height)
        : target_(target), x_(x), y_(y), width_(width), height_(height)
    {
        MapOntoDevice(1200, 580);
    }

    int DeviceWidth() const override { return width_; }
    int DeviceHeight() const override { return height_; }
    void SetMapping(const TMapping& mapping) override
    {
        mapping_ = mapping;
        TMapping shifted = mapping;
        shifted.deviceX += x_;
        shifted.deviceY += y_;
        target_.SetMapping(shifted);
    }
    const TMapping& Mapping() const override { return mapping_; }
    void SetPen(const TLineStyle& style) override { target_.SetPen(style); }
    void SetBrush(TColor color) override { target_.SetBrush(color); }
    void SetNoBrush() override { target_.SetNoBrush(); }
    void SetFont(const TFontSpec& font) override { target_.SetFont(font); }
    void SetTextColor(TColor color) override { target_.SetTextColor(color); }
    void MoveTo(int x, int y) override { target_.MoveTo(x, y); }
    void LineTo(int x, int y) override { target_.LineTo(x, y); }
    void Polyline(const TPoint* points, int count) override { target_.Polyline(points, count); }
    void Polygon(const TPoint* points, int count) override { target_.Polygon(points, count); }
    void Rectangle(const TRect& rect) override { target_.Rectangle(rect); }
    void Ellipse(const TRect& rect) override { target_.Ellipse(rect); }
    void FillRect(const TRect& rect, TColor color) override { target_.FillRect(rect, color); }
    void Text(int x, int y, std::string_view text, int align) override { target_.Text(x, y, text, align); }
    int TextWidth(std::string_view text) const override { return target_.TextWidth(text); }
    int TextHeight() const override { return target_.TextHeight(); }
    void SetClip(const TRect& rect) override { target_.SetClip(rect); }
    void ClearClip() override { target_.ClearClip(); }

private:
    TCanvas& target_;
    int x_, y_, width_, height_;
    TMapping mapping_;
};
