#pragma once
// A canvas that keeps every operation, so tests can check what a model drew.

#include "TCanvas.h"

#include <string>
#include <vector>

struct TCanvasOp {
    enum class Kind { Mapping, Pen, Brush, NoBrush, Font, TextColor, MoveTo, LineTo, Polyline, Polygon,
                      Rectangle, Ellipse, FillRect, Text, Clip, ClearClip };
    Kind kind;
    std::vector<TPoint> points; // MoveTo/LineTo/Text: one point; Polyline/Polygon: all; rects: two corners
    std::string text;
    int align = 0;
    TLineStyle pen;
    TFontSpec font;
    TColor color;
};

class TRecordingCanvas : public TCanvas {
public:
    TRecordingCanvas(int width = 1200, int height = 580) : width_(width), height_(height) { MapOntoDevice(1200, 580); }

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
    // A fixed-pitch estimate: half the font height per character.
    int TextWidth(std::string_view text) const override;
    int TextHeight() const override { return font_.height; }
    void SetClip(const TRect& rect) override;
    void ClearClip() override;

    const std::vector<TCanvasOp>& Ops() const { return ops_; }
    void Clear() { ops_.clear(); }
    // Every text drawn, in order.
    std::vector<std::string> Texts() const;
    // The ops of one kind.
    std::vector<TCanvasOp> OpsOf(TCanvasOp::Kind kind) const;
    const TLineStyle& CurrentPen() const { return pen_; }

private:
    TCanvasOp& Add(TCanvasOp::Kind kind);

    int width_, height_;
    TMapping mapping_;
    TLineStyle pen_;
    TFontSpec font_;
    std::vector<TCanvasOp> ops_;
};
