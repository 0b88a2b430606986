#include "TRecordingCanvas.h"

TCanvasOp& TRecordingCanvas::Add(TCanvasOp::Kind kind)
{
    ops_.push_back(TCanvasOp{kind, {}, {}, 0, pen_, font_, {}});
    return ops_.back();
}

void TRecordingCanvas::SetMapping(const TMapping& mapping)
{
    mapping_ = mapping;
    Add(TCanvasOp::Kind::Mapping);
}

void TRecordingCanvas::SetPen(const TLineStyle& style)
{
    pen_ = style;
    Add(TCanvasOp::Kind::Pen);
}

void TRecordingCanvas::SetBrush(TColor color) { Add(TCanvasOp::Kind::Brush).color = color; }
void TRecordingCanvas::SetNoBrush() { Add(TCanvasOp::Kind::NoBrush); }

void TRecordingCanvas::SetFont(const TFontSpec& font)
{
    font_ = font;
    Add(TCanvasOp::Kind::Font);
}

void TRecordingCanvas::SetTextColor(TColor color) { Add(TCanvasOp::Kind::TextColor).color = color; }
void TRecordingCanvas::MoveTo(int x, int y) { Add(TCanvasOp::Kind::MoveTo).points = {{x, y}}; }
void TRecordingCanvas::LineTo(int x, int y) { Add(TCanvasOp::Kind::LineTo).points = {{x, y}}; }

void TRecordingCanvas::Polyline(const TPoint* points, int count)
{
    Add(TCanvasOp::Kind::Polyline).points.assign(points, points + count);
}

void TRecordingCanvas::Polygon(const TPoint* points, int count)
{
    Add(TCanvasOp::Kind::Polygon).points.assign(points, points + count);
}

void TRecordingCanvas::Rectangle(const TRect& r)
{
    Add(TCanvasOp::Kind::Rectangle).points = {{r.left, r.top}, {r.right, r.bottom}};
}

void TRecordingCanvas::Ellipse(const TRect& r)
{
    Add(TCanvasOp::Kind::Ellipse).points = {{r.left, r.top}, {r.right, r.bottom}};
}

void TRecordingCanvas::FillRect(const TRect& r, TColor color)
{
    auto& op = Add(TCanvasOp::Kind::FillRect);
    op.points = {{r.left, r.top}, {r.right, r.bottom}};
    op.color = color;
}

void TRecordingCanvas::Text(int x, int y, std::string_view text, int align)
{
    auto& op = Add(TCanvasOp::Kind::Text);
    op.points = {{x, y}};
    op.text = std::string(text);
    op.align = align;
}

int TRecordingCanvas::TextWidth(std::string_view text) const
{
    return static_cast<int>(text.size()) * font_.height / 2;
}

void TRecordingCanvas::SetClip(const TRect& r)
{
    Add(TCanvasOp::Kind::Clip).points = {{r.left, r.top}, {r.right, r.bottom}};
}

void TRecordingCanvas::ClearClip() { Add(TCanvasOp::Kind::ClearClip); }

std::vector<std::string> TRecordingCanvas::Texts() const
{
    std::vector<std::string> out;
    for (const auto& op : ops_)
        if (op.kind == TCanvasOp::Kind::Text)
            out.push_back(op.text);
    return out;
}

std::vector<TCanvasOp> TRecordingCanvas::OpsOf(TCanvasOp::Kind kind) const
{
    std::vector<TCanvasOp> out;
    for (const auto& op : ops_)
        if (op.kind == kind)
            out.push_back(op);
    return out;
}
