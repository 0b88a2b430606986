#include "filter/TSchematicKit.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace TSchem {
namespace {

// Symbol sizes: along the conductor and half the width across it.
constexpr int kResistorLength = 28, kResistorHalf = 4;
constexpr int kInductorLength = 28, kInductorHalf = 5;
constexpr int kCapacitorGap = 6, kCapacitorHalf = 8;
// Distance between the branches of a parallel group.
constexpr int kBranchPitch = 18;

TLineStyle WirePen(int width = 1) { return TLineStyle{kWire, width, TDash::Solid}; }

int PartLength(TPart p)
{
    switch (p) {
    case TPart::Resistor: return kResistorLength;
    case TPart::Inductor: return kInductorLength;
    case TPart::Capacitor: return kCapacitorGap;
    }
    return kResistorLength;
}

int PartReach(TPart p)
{
    switch (p) {
    case TPart::Resistor: return kResistorHalf;
    case TPart::Inductor: return kInductorHalf;
    case TPart::Capacitor: return kCapacitorHalf;
    }
    return kResistorHalf;
}

// Maps (along, across) onto the canvas for a horizontal or vertical line from (x0, y0).
struct TAxis {
    int x0, y0;
    bool vertical;
    TPoint At(int along, int across) const
    {
        return vertical ? TPoint{x0 + across, y0 + along} : TPoint{x0 + along, y0 + across};
    }
};

void Segment(TCanvas& canvas, TPoint a, TPoint b)
{
    canvas.MoveTo(a.x, a.y);
    canvas.LineTo(b.x, b.y);
}

// Draws the group along the axis from along a to b, centred across at `across`.
void DrawAlong(TCanvas& canvas, const TNode& node, const TAxis& axis, int a, int b, int across, bool stackUp)
{
    const int need = LengthOf(node);
    switch (node.kind) {
    case TNode::Kind::Part: {
        const int mid = (a + b) / 2, half = need / 2;
        Segment(canvas, axis.At(a, across), axis.At(mid - half, across));
        Segment(canvas, axis.At(mid + half, across), axis.At(b, across));
        const TPoint c = axis.At(mid, across);
        Part(canvas, node.part, c.x, c.y, axis.vertical);
        return;
    }
    case TNode::Kind::Series: {
        // Spare length goes to the leads around and between the parts, evenly.
        int sum = 0;
        for (const TNode& c : node.children)
            sum += LengthOf(c);
        const int gaps = int(node.children.size()) + 1;
        const int spare = std::max(0, (b - a) - sum);
        int pos = a;
        for (const TNode& c : node.children) {
            const int len = LengthOf(c);
            Segment(canvas, axis.At(pos, across), axis.At(pos + spare / gaps, across));
            pos += spare / gaps;
            DrawAlong(canvas, c, axis, pos, pos + len, across, false);
            pos += len;
        }
        Segment(canvas, axis.At(pos, across), axis.At(b, across));
        return;
    }
    case TNode::Kind::Parallel: {
        const int n = int(node.children.size());
        // Branches side by side around the line, joined by bars near both ends.
        const int inset = std::min(8, std::max(0, ((b - a) - (need - 16)) / 2));
        // Stacked, two branches go up from the line; three stay centred on it, so that
        // none climbs into what stands above.
        const int first = stackUp && n == 2 ? across - kBranchPitch : across - (n - 1) * kBranchPitch / 2;
        const int last = first + (n - 1) * kBranchPitch;
        Segment(canvas, axis.At(a, across), axis.At(a + inset, across));
        Segment(canvas, axis.At(b - inset, across), axis.At(b, across));
        Segment(canvas, axis.At(a + inset, first), axis.At(a + inset, last));
        Segment(canvas, axis.At(b - inset, first), axis.At(b - inset, last));
        for (int i = 0; i < n; ++i)
            DrawAlong(canvas, node.children[std::size_t(stackUp && n == 2 ? n - 1 - i : i)], axis, a + inset, b - inset,
                      first + i * kBranchPitch, false);
        return;
    }
    }
}

} // namespace

TFontSpec LabelFont() { return TFontSpec{"Arial", 11, false, false}; }
TFontSpec SmallFont() { return TFontSpec{"Arial", 10, false, false}; }
TFontSpec HeadingFont() { return TFontSpec{"Arial", 16, false, false}; }
TFontSpec NameFont() { return TFontSpec{"Arial", 20, false, false}; }
TFontSpec TitleFont() { return TFontSpec{"Arial", 25, true, false}; }

int LengthOf(const TNode& node)
{
    switch (node.kind) {
    case TNode::Kind::Part: return PartLength(node.part);
    case TNode::Kind::Series: {
        int sum = 0;
        for (const TNode& c : node.children)
            sum += LengthOf(c) + 6;
        return sum;
    }
    case TNode::Kind::Parallel: {
        int longest = 0;
        for (const TNode& c : node.children)
            longest = std::max(longest, LengthOf(c));
        return longest + 16;
    }
    }
    return 0;
}

int ReachOf(const TNode& node)
{
    switch (node.kind) {
    case TNode::Kind::Part: return PartReach(node.part);
    case TNode::Kind::Series: {
        int r = 0;
        for (const TNode& c : node.children)
            r = std::max(r, ReachOf(c));
        return r;
    }
    case TNode::Kind::Parallel: {
        int r = 0;
        for (const TNode& c : node.children)
            r = std::max(r, ReachOf(c));
        return (int(node.children.size()) - 1) * kBranchPitch / 2 + r;
    }
    }
    return 0;
}

void DrawNode(TCanvas& canvas, const TNode& node, int x0, int y0, int x1, int y1, bool stackUp)
{
    canvas.SetPen(WirePen());
    canvas.SetBrush(TColors::White);
    const bool vertical = x0 == x1;
    TAxis axis{x0, y0, vertical};
    DrawAlong(canvas, node, axis, 0, vertical ? y1 - y0 : x1 - x0, 0, stackUp);
}

void Wire(TCanvas& canvas, int x0, int y0, int x1, int y1)
{
    canvas.SetPen(WirePen());
    canvas.MoveTo(x0, y0);
    canvas.LineTo(x1, y1);
}

void Path(TCanvas& canvas, std::initializer_list<TPoint> points)
{
    canvas.SetPen(WirePen());
    canvas.Polyline(points.begin(), int(points.size()));
}

void Dot(TCanvas& canvas, int x, int y)
{
    canvas.SetPen(WirePen());
    canvas.SetBrush(kWire);
    canvas.Ellipse(TRect{x - 2, y - 2, x + 3, y + 3});
}

void PlusMark(TCanvas& canvas, int x, int y)
{
    canvas.SetPen(WirePen());
    canvas.MoveTo(x - 3, y);
    canvas.LineTo(x + 4, y);
    canvas.MoveTo(x, y - 3);
    canvas.LineTo(x, y + 4);
}

void Terminal(TCanvas& canvas, int x, int y, bool plus)
{
    canvas.SetPen(WirePen());
    canvas.SetBrush(TColors::White);
    canvas.Ellipse(TRect{x - 4, y - 4, x + 5, y + 5});
    // The sign sits outside the ring, to the left.
    canvas.MoveTo(x - 13, y);
    canvas.LineTo(x - 7, y);
    if (plus) {
        canvas.MoveTo(x - 10, y - 3);
        canvas.LineTo(x - 10, y + 4);
    }
}

void Ground(TCanvas& canvas, int x, int y)
{
    canvas.SetPen(WirePen());
    canvas.MoveTo(x, y);
    canvas.LineTo(x, y + 6);
    for (int i = 0; i < 3; ++i) {
        const int half = 8 - 3 * i;
        canvas.MoveTo(x - half, y + 6 + 3 * i);
        canvas.LineTo(x + half + 1, y + 6 + 3 * i);
    }
}

void Part(TCanvas& canvas, TPart part, int x, int y, bool vertical)
{
    canvas.SetPen(WirePen());
    auto at = [&](int along, int across) {
        return vertical ? TPoint{x + across, y + along} : TPoint{x + along, y + across};
    };
    switch (part) {
    case TPart::Resistor: {
        const int h = kResistorLength / 2;
        canvas.SetBrush(TColors::White);
        TPoint a = at(-h, -kResistorHalf), b = at(h, kResistorHalf);
        canvas.Rectangle(TRect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1});
        return;
    }
    case TPart::Capacitor: {
        const int h = kCapacitorGap / 2;
        canvas.SetPen(WirePen(2));
        for (int side : {-h, h}) {
            TPoint a = at(side, -kCapacitorHalf), b = at(side, kCapacitorHalf);
            canvas.MoveTo(a.x, a.y);
            canvas.LineTo(b.x, b.y);
        }
        canvas.SetPen(WirePen());
        return;
    }
    case TPart::Inductor: {
        // Four half turns, bulging to one side of the conductor.
        constexpr int kTurns = 4, kSteps = 8;
        std::array<TPoint, kTurns * kSteps + 1> pts{};
        const double turn = double(kInductorLength) / kTurns;
        const double start = -kInductorLength / 2.0;
        std::size_t k = 0;
        for (int t = 0; t < kTurns; ++t)
            for (int s = (t == 0 ? 0 : 1); s <= kSteps; ++s) {
                const double phi = 3.14159265358979 * s / kSteps;
                const double along = start + turn * t + turn * (1 - std::cos(phi)) / 2;
                const double across = -std::sin(phi) * (2 * kInductorHalf) + kInductorHalf;
                if (k < pts.size())
                    pts[k++] = at(int(std::lround(along)), int(std::lround(across)));
            }
        canvas.Polyline(pts.data(), int(k));
        return;
    }
    }
}

void Driver(TCanvas& canvas, TDriverKind kind, int x, int top, int bottom, bool inverted)
{
    const int mid = (top + bottom) / 2;
    const int magnet = kind == TDriverKind::Small ? 9 : 12;
    canvas.SetPen(WirePen());
    canvas.SetBrush(TColors::White);
    canvas.Rectangle(TRect{x - 4, mid - magnet, x + 5, mid + magnet + 1});
    if (kind == TDriverKind::Small) {
        // A dome: a half disc in front of the magnet.
        std::array<TPoint, 13> arc{};
        for (int i = 0; i <= 12; ++i) {
            const double phi = 3.14159265358979 * (i / 12.0 - 0.5);
            arc[std::size_t(i)] = {x + 5 + int(std::lround(12 * std::cos(phi))),
                                   mid + int(std::lround(12 * std::sin(phi)))};
        }
        canvas.Polygon(arc.data(), 13);
    } else {
        const int flare = kind == TDriverKind::Large ? 32 : 26, depth = kind == TDriverKind::Large ? 18 : 15;
        TPoint cone[4] = {
            {x + 5, mid - magnet}, {x + 5 + depth, mid - flare}, {x + 5 + depth, mid + flare}, {x + 5, mid + magnet}};
        canvas.Polygon(cone, 4);
    }
    canvas.MoveTo(x, top);
    canvas.LineTo(x, mid - magnet);
    canvas.MoveTo(x, mid + magnet + 1);
    canvas.LineTo(x, bottom);
    PlusMark(canvas, x - 8, inverted ? mid + magnet - 2 : mid - magnet + 2);
}

void Amplifier(TCanvas& canvas, int cx, int cy, bool power)
{
    canvas.SetPen(WirePen(power ? 2 : 1));
    canvas.SetBrush(TColors::White);
    TPoint tri[3] = {{cx - 20, cy - 20}, {cx + 20, cy}, {cx - 20, cy + 20}};
    canvas.Polygon(tri, 3);
    canvas.SetPen(WirePen());
    if (!power) {
        // + on the upper input, - on the lower one.
        PlusMark(canvas, cx - 14, cy - 10);
        canvas.MoveTo(cx - 17, cy + 10);
        canvas.LineTo(cx - 10, cy + 10);
    }
}

std::string Fit(const TCanvas& canvas, std::string_view text, int width)
{
    if (canvas.TextWidth(text) <= width)
        return std::string(text);
    std::string cut(text);
    while (!cut.empty() && canvas.TextWidth(cut + "...") > width)
        cut.pop_back();
    return cut.empty() ? std::string() : cut + "...";
}

std::string BaseName(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

int WrapText(TCanvas& canvas, std::string_view text, const TRect& box)
{
    const int lineH = std::max(1, canvas.TextHeight());
    int y = box.top;
    std::string line;
    auto flush = [&]() {
        if (y + lineH <= box.bottom && !line.empty())
            canvas.Text(box.left, y, Fit(canvas, line, box.Width()), TAlign::Left | TAlign::Top);
        y += lineH;
        line.clear();
    };
    std::size_t i = 0;
    while (i < text.size() && y + lineH <= box.bottom) {
        const char ch = text[i];
        if (ch == '\r') {
            ++i;
            continue;
        }
        if (ch == '\n') {
            flush();
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && text[end] != ' ' && text[end] != '\n' && text[end] != '\r')
            ++end;
        std::string word(text.substr(i, end - i));
        std::string trial = line.empty() ? word : line + " " + word;
        if (!line.empty() && canvas.TextWidth(trial) > box.Width()) {
            flush();
            trial = word;
        }
        line = trial;
        i = end;
        while (i < text.size() && text[i] == ' ')
            ++i;
    }
    if (!line.empty())
        flush();
    return y;
}

} // namespace TSchem
