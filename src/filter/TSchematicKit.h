#pragma once
// The pieces schematics are drawn from: line-drawn symbols (so they stay sharp at any
// zoom and on paper), two-terminal component groups laid along a conductor, and the
// fonts and text helpers the networks share. Coordinates are logical units.

#include "ui/TCanvas.h"

#include <string>
#include <string_view>
#include <vector>

namespace TSchem {

// Label, small, heading, network name and title fonts.
TFontSpec LabelFont();
TFontSpec SmallFont();
TFontSpec HeadingFont();
TFontSpec NameFont();
TFontSpec TitleFont();

inline constexpr TColor kWire{0, 0, 0};
inline constexpr TColor kRule{0, 0, 200};
inline constexpr TColor kPale{120, 120, 120};

enum class TPart { Resistor, Inductor, Capacitor };

// A two-terminal group: one part, parts in series or branches in parallel.
struct TNode {
    enum class Kind { Part, Series, Parallel } kind = Kind::Part;
    TPart part = TPart::Resistor;
    std::vector<TNode> children;

    static TNode Of(TPart p) { return TNode{Kind::Part, p, {}}; }
    static TNode Series(std::vector<TNode> c) { return TNode{Kind::Series, TPart::Resistor, std::move(c)}; }
    static TNode Parallel(std::vector<TNode> c) { return TNode{Kind::Parallel, TPart::Resistor, std::move(c)}; }
};

// Length along the conductor the group needs, and how far it reaches to either side.
int LengthOf(const TNode& node);
int ReachOf(const TNode& node);

// Draws the group between two points on one horizontal or vertical line, with leads
// filling what the parts do not need. The branches of a parallel group sit around the
// line, or with `stackUp` a pair has its first on the line and the second above it
// (left of it on a vertical line), which keeps the space below a horizontal line free
// for text.
void DrawNode(TCanvas& canvas, const TNode& node, int x0, int y0, int x1, int y1, bool stackUp = false);

void Wire(TCanvas& canvas, int x0, int y0, int x1, int y1);
// A polyline of wire through the given points.
void Path(TCanvas& canvas, std::initializer_list<TPoint> points);
void Dot(TCanvas& canvas, int x, int y);
void Terminal(TCanvas& canvas, int x, int y, bool plus);
// A small plus sign (polarity marks).
void PlusMark(TCanvas& canvas, int x, int y);
// Ground: a lead down from (x, y) and three bars.
void Ground(TCanvas& canvas, int x, int y);
void Part(TCanvas& canvas, TPart part, int x, int y, bool vertical);

enum class TDriverKind { Large = 0, Medium = 1, Small = 2 };
// A loudspeaker facing right, its terminals at (x, top) and (x, bottom); the polarity
// mark sits at the top lead, or at the bottom one when inverted.
void Driver(TCanvas& canvas, TDriverKind kind, int x, int top, int bottom, bool inverted);
// An amplifier triangle pointing right, centred on (cx, cy), inputs 10 above and below
// the centre at cx - 20, output at cx + 20. The power amplifier is drawn bolder.
void Amplifier(TCanvas& canvas, int cx, int cy, bool power);

// The text cut at the end with "..." so that it is at most width wide.
std::string Fit(const TCanvas& canvas, std::string_view text, int width);
// The file part of a path.
std::string BaseName(std::string_view path);
// Draws text word-wrapped into the box in lines of the current font's height; lines
// that do not fit the box are left out. Returns the y below the last line.
int WrapText(TCanvas& canvas, std::string_view text, const TRect& box);

} // namespace TSchem
