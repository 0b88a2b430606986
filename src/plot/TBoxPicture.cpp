#include "plot/TBoxPicture.h"

#include <cmath>

namespace {

constexpr TColor kWood{214, 178, 128};
constexpr TColor kWoodEdge{110, 78, 40};
constexpr TColor kAir{252, 251, 246};
constexpr TColor kCone{176, 176, 184};
constexpr TColor kMagnet{70, 70, 76};
constexpr TColor kRadiator{170, 190, 220};
constexpr TColor kWave{70, 110, 170};
constexpr TColor kLabel{90, 90, 90};
constexpr int kWall = 6;

enum class TFace { Right, Left, Up, Down };

// Draws in picture coordinates, offset to the picture's corner.
class TPainter {
public:
    TPainter(TCanvas& canvas, int left, int top) : c_(canvas), ox_(left), oy_(top) {}

    TPoint P(int x, int y) const { return TPoint{ox_ + x, oy_ + y}; }
    TRect R(int l, int t, int r, int b) const { return TRect{ox_ + l, oy_ + t, ox_ + r, oy_ + b}; }

    // A point u behind a baffle point (into the box) and v to the side of it.
    static TPoint Local(TPoint baffle, TFace face, int u, int v)
    {
        int dx = face == TFace::Right ? 1 : (face == TFace::Left ? -1 : 0);
        int dy = face == TFace::Down ? 1 : (face == TFace::Up ? -1 : 0);
        return TPoint{baffle.x - u * dx - v * dy, baffle.y - u * dy + v * dx};
    }

    void Poly(TPoint baffle, TFace face, const int (*uv)[2], int n, TColor fill, TColor edge, int width = 1)
    {
        TPoint pts[8];
        for (int i = 0; i < n && i < 8; ++i)
            pts[i] = Local(baffle, face, uv[i][0], uv[i][1]);
        c_.SetPen(TLineStyle{edge, width, TDash::Solid});
        c_.SetBrush(fill);
        c_.Polygon(pts, n);
    }

    void Block(const TRect& r, TColor fill, TColor edge)
    {
        c_.SetPen(TLineStyle{edge, 1, TDash::Solid});
        c_.SetBrush(fill);
        c_.Rectangle(r);
    }

    // An enclosure: walls of kWall around an empty inside.
    void Box(int l, int t, int r, int b)
    {
        Block(R(l, t, r, b), kWood, kWoodEdge);
        Block(R(l + kWall, t + kWall, r - kWall, b - kWall), kAir, kWoodEdge);
    }
    void VerticalWall(int x, int t, int b) { Block(R(x - kWall / 2, t, x + kWall / 2, b), kWood, kWoodEdge); }
    void HorizontalWall(int y, int l, int r) { Block(R(l, y - kWall / 2, r, y + kWall / 2), kWood, kWoodEdge); }

    // A driver whose cone front lies at the baffle point, facing out of the box.
    void Driver(int x, int y, TFace face)
    {
        TPoint b = P(x, y);
        static const int cone[][2] = {{22, -6}, {1, -20}, {1, 20}, {22, 6}};
        static const int magnet[][2] = {{22, -9}, {33, -9}, {33, 9}, {22, 9}};
        static const int rim[][2] = {{0, -22}, {2, -22}, {2, 22}, {0, 22}};
        Poly(b, face, cone, 4, kCone, kMagnet);
        Poly(b, face, magnet, 4, kMagnet, kMagnet);
        Poly(b, face, rim, 4, kMagnet, kMagnet);
    }

    // A passive radiator: a stiff diaphragm with its added mass, and no motor.
    void Radiator(int x, int y, TFace face)
    {
        TPoint b = P(x, y);
        static const int plate[][2] = {{1, -22}, {1, 22}, {12, 13}, {12, -13}};
        static const int mass[][2] = {{12, -6}, {17, -6}, {17, 6}, {12, 6}};
        static const int rim[][2] = {{0, -24}, {2, -24}, {2, 24}, {0, 24}};
        Poly(b, face, plate, 4, kRadiator, kMagnet);
        Poly(b, face, mass, 4, kMagnet, kMagnet);
        Poly(b, face, rim, 4, kMagnet, kMagnet);
    }

    // A port through a wall: the opening at the wall's outer face, the tube running
    // length units into the chamber, 2 * half wide inside.
    void Port(int x, int y, TFace face, int length, int half = 7)
    {
        TPoint b = P(x, y);
        const int opening[][2] = {{0, -half}, {kWall, -half}, {kWall, half}, {0, half}};
        Poly(b, face, opening, 4, kAir, kAir);
        const int wallA[][2] = {{0, -half - 3}, {length, -half - 3}, {length, -half}, {0, -half}};
        const int wallB[][2] = {{0, half}, {length, half}, {length, half + 3}, {0, half + 3}};
        Poly(b, face, wallA, 4, kWood, kWoodEdge);
        Poly(b, face, wallB, 4, kWood, kWoodEdge);
    }

    // A resistive vent: an opening filled with damping material.
    void Vent(int x, int y, TFace face, int half = 7)
    {
        TPoint b = P(x, y);
        const int plug[][2] = {{-1, -half}, {kWall + 1, -half}, {kWall + 1, half}, {-1, half}};
        Poly(b, face, plug, 4, TColor{235, 225, 200}, kWoodEdge);
        c_.SetPen(TLineStyle{kWoodEdge, 1, TDash::Solid});
        for (int v = -half + 3; v < half; v += 4) {
            TPoint a = Local(b, face, 0, v - 2), e = Local(b, face, kWall, v + 2);
            c_.MoveTo(a.x, a.y);
            c_.LineTo(e.x, e.y);
        }
    }

    // Wave fronts in front of a radiating opening.
    void Waves(int x, int y, TFace face)
    {
        TPoint b = P(x, y);
        c_.SetPen(TLineStyle{kWave, 2, TDash::Solid});
        for (int r : {8, 15}) {
            TPoint arc[9];
            for (int i = 0; i < 9; ++i) {
                double a = (-40 + 10 * i) * 3.14159265358979 / 180;
                int u = -static_cast<int>(std::lround(r * std::cos(a) + 3));
                int v = static_cast<int>(std::lround(r * std::sin(a) * 1.6));
                arc[i] = Local(b, face, u, v);
            }
            c_.Polyline(arc, 9);
        }
    }

    void Text(int x, int y, const char* text)
    {
        c_.SetFont(TFontSpec{"Arial", 16, false, true});
        c_.SetTextColor(kLabel);
        c_.Text(ox_ + x, oy_ + y, text, TAlign::Center | TAlign::VCenter);
    }

    void Finish()
    {
        c_.SetNoBrush();
        c_.SetTextColor(TColors::Black);
        c_.SetPen(TLineStyle{});
    }

private:
    TCanvas& c_;
    int ox_, oy_;
};

void DrawClosed(TPainter& p)
{
    p.Box(40, 12, 160, 138);
    p.Driver(160, 75, TFace::Right);
    p.Waves(160, 75, TFace::Right);
    p.Text(85, 75, "Vb");
}

void DrawBassReflex(TPainter& p)
{
    p.Box(40, 12, 160, 138);
    p.Driver(160, 50, TFace::Right);
    p.Port(160, 112, TFace::Right, 48);
    p.Waves(160, 50, TFace::Right);
    p.Waves(160, 112, TFace::Right);
    p.Text(80, 75, "Vb");
}

void DrawPassiveRadiator(TPainter& p)
{
    p.Box(40, 12, 160, 138);
    p.Driver(160, 45, TFace::Right);
    p.Radiator(160, 106, TFace::Right);
    p.Waves(160, 45, TFace::Right);
    p.Waves(160, 106, TFace::Right);
    p.Text(85, 75, "Vb");
}

void DrawDoubleTuned1(TPainter& p)
{
    // Upper chamber behind the driver, ported into the lower chamber, which is ported out.
    p.Box(40, 8, 160, 142);
    p.HorizontalWall(72, 40, 160);
    p.Driver(160, 40, TFace::Right);
    p.Port(75, 75, TFace::Down, 28 - 3);
    p.Port(160, 115, TFace::Right, 45);
    p.Waves(160, 40, TFace::Right);
    p.Waves(160, 115, TFace::Right);
    p.Text(70, 40, "Vr");
    p.Text(60, 112, "Vf");
}

void DrawDoubleTuned2(TPainter& p)
{
    // Right chamber behind the driver, ported out and into the closed left chamber.
    p.Box(20, 12, 160, 138);
    p.VerticalWall(78, 12, 138);
    p.Driver(160, 45, TFace::Right);
    p.Port(160, 112, TFace::Right, 40);
    p.Port(81, 100, TFace::Right, 0);
    p.Port(75, 100, TFace::Right, 34);
    p.Waves(160, 45, TFace::Right);
    p.Waves(160, 112, TFace::Right);
    p.Text(48, 50, "Vr");
    p.Text(100, 75, "Vf");
}

void DrawBandpass1(TPainter& p)
{
    p.Box(20, 12, 170, 138);
    p.VerticalWall(80, 12, 138);
    p.Driver(83, 75, TFace::Right);
    p.Port(170, 105, TFace::Right, 45);
    p.Waves(170, 105, TFace::Right);
    p.Text(40, 40, "Vr");
    p.Text(130, 40, "Vf");
}

void DrawBandpass2(TPainter& p)
{
    p.Box(20, 12, 170, 138);
    p.VerticalWall(80, 12, 138);
    p.Driver(83, 50, TFace::Right);
    p.Port(83, 110, TFace::Right, 0);
    p.Port(77, 110, TFace::Right, 34);
    p.Port(170, 110, TFace::Right, 40);
    p.Waves(170, 110, TFace::Right);
    p.Text(40, 40, "Vr");
    p.Text(140, 40, "Vf");
}

void DrawBandpass3(TPainter& p)
{
    p.Box(24, 12, 176, 138);
    p.VerticalWall(95, 12, 138);
    p.Driver(98, 50, TFace::Right);
    p.Port(24, 110, TFace::Left, 40);
    p.Port(176, 110, TFace::Right, 40);
    p.Waves(24, 110, TFace::Left);
    p.Waves(176, 110, TFace::Right);
    p.Text(50, 40, "Vr");
    p.Text(145, 40, "Vf");
}

void DrawBandpass4(TPainter& p)
{
    // Two side chambers around a middle chamber; each driver sits in a side wall.
    p.Box(20, 22, 180, 138);
    p.VerticalWall(70, 22, 138);
    p.VerticalWall(130, 22, 138);
    p.Driver(73, 75, TFace::Right);
    p.Driver(127, 75, TFace::Left);
    p.Port(100, 22, TFace::Up, 36);
    p.Port(20, 115, TFace::Left, 28);
    p.Port(180, 115, TFace::Right, 28);
    p.Waves(100, 22, TFace::Up);
    p.Waves(20, 115, TFace::Left);
    p.Waves(180, 115, TFace::Right);
    p.Text(42, 50, "Vs");
    p.Text(100, 110, "Vm");
    p.Text(158, 50, "Vs");
}

void DrawReflexBandpass(TPainter& p)
{
    // The rear driver couples the closed rear chamber to the ported front chamber,
    // which the front driver radiates from.
    p.Box(20, 12, 165, 138);
    p.VerticalWall(75, 12, 138);
    p.Driver(78, 50, TFace::Right);
    p.Driver(165, 50, TFace::Right);
    p.Port(165, 112, TFace::Right, 40);
    p.Vent(20, 112, TFace::Left);
    p.Waves(165, 50, TFace::Right);
    p.Waves(165, 112, TFace::Right);
    p.Text(42, 75, "Vr");
    p.Text(115, 85, "Vf");
}

} // namespace

namespace TBoxPicture {

bool Exists(int id) { return id >= 201 && id <= 211 && id != 209; }

void Draw(TCanvas& canvas, int id, int left, int top)
{
    if (!Exists(id))
        return;
    TPainter p(canvas, left, top);
    switch (id) {
    case PassiveRadiator: DrawPassiveRadiator(p); break;
    case Bandpass1: DrawBandpass1(p); break;
    case Bandpass2: DrawBandpass2(p); break;
    case Bandpass3: DrawBandpass3(p); break;
    case Bandpass4: DrawBandpass4(p); break;
    case BassReflex: DrawBassReflex(p); break;
    case DoubleTuned1: DrawDoubleTuned1(p); break;
    case DoubleTuned2: DrawDoubleTuned2(p); break;
    case Closed: DrawClosed(p); break;
    case ReflexBandpass: DrawReflexBandpass(p); break;
    default: break;
    }
    p.Finish();
}

} // namespace TBoxPicture
