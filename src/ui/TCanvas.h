#pragma once
// The drawing surface every plot, picture and printed page is painted on. A logical
// area is mapped anisotropically onto a device rectangle (window pixels, image pixels
// or printer units); all coordinates given to the drawing operations are logical.

#include <cstdint>
#include <string>
#include <string_view>

struct TColor {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const TColor&, const TColor&) = default;
};

namespace TColors {
inline constexpr TColor Black{0, 0, 0};
inline constexpr TColor White{255, 255, 255};
inline constexpr TColor Red{255, 0, 0};
inline constexpr TColor Green{0, 160, 0};
inline constexpr TColor Blue{0, 0, 255};
inline constexpr TColor Grey{127, 127, 127};
inline constexpr TColor Yellow{224, 192, 0};
inline constexpr TColor Magenta{255, 0, 255};
inline constexpr TColor Cyan{0, 192, 192};
} // namespace TColors

enum class TDash { Solid, Dash, Dot, DashDot, DashDotDot };

// A pen: colour, width in logical units (0 or 1 draws the thinnest line), dashes.
struct TLineStyle {
    TColor color = TColors::Black;
    int width = 1;
    TDash dash = TDash::Solid;
    friend bool operator==(const TLineStyle&, const TLineStyle&) = default;
};

struct TFontSpec {
    std::string family = "Arial";
    int height = 30; // logical units
    bool bold = false;
    bool italic = false;
    friend bool operator==(const TFontSpec&, const TFontSpec&) = default;
};

// Text alignment: one horizontal and one vertical flag combined with |.
namespace TAlign {
inline constexpr int Left = 0x01;
inline constexpr int Center = 0x02;
inline constexpr int Right = 0x04;
inline constexpr int Top = 0x10;
inline constexpr int Bottom = 0x20;
inline constexpr int Baseline = 0x40;
inline constexpr int VCenter = 0x80;
} // namespace TAlign

struct TPoint {
    int x = 0, y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// Logical window (origin and extent) onto a device viewport (origin and extent).
struct TMapping {
    double logicalX = 0, logicalY = 0, logicalW = 1200, logicalH = 580;
    double deviceX = 0, deviceY = 0, deviceW = 1200, deviceH = 580;

    double ToDeviceX(double x) const { return deviceX + (x - logicalX) * deviceW / logicalW; }
    double ToDeviceY(double y) const { return deviceY + (y - logicalY) * deviceH / logicalH; }
    double ToLogicalX(double x) const { return logicalX + (x - deviceX) * logicalW / deviceW; }
    double ToLogicalY(double y) const { return logicalY + (y - deviceY) * logicalH / deviceH; }
};

class TCanvas {
public:
    virtual ~TCanvas() = default;

    // Device size in device units (pixels, or printer dots for a page).
    virtual int DeviceWidth() const = 0;
    virtual int DeviceHeight() const = 0;

    virtual void SetMapping(const TMapping& mapping) = 0;
    virtual const TMapping& Mapping() const = 0;
    // Maps 0..logicalW x 0..logicalH onto the whole device.
    void MapOntoDevice(double logicalW, double logicalH)
    {
        SetMapping(TMapping{0, 0, logicalW, logicalH, 0, 0, double(DeviceWidth()), double(DeviceHeight())});
    }

    virtual void SetPen(const TLineStyle& style) = 0;
    virtual void SetBrush(TColor color) = 0;
    virtual void SetNoBrush() = 0;
    virtual void SetFont(const TFontSpec& font) = 0;
    virtual void SetTextColor(TColor color) = 0;

    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual void Polyline(const TPoint* points, int count) = 0;
    // Outline in the pen, filled with the brush (unless there is none).
    virtual void Polygon(const TPoint* points, int count) = 0;
    virtual void Rectangle(const TRect& rect) = 0;
    virtual void Ellipse(const TRect& rect) = 0;
    // Fills without an outline.
    virtual void FillRect(const TRect& rect, TColor color) = 0;
    virtual void Text(int x, int y, std::string_view text, int align) = 0;
    // Width and height of a text in the current font, in logical units.
    virtual int TextWidth(std::string_view text) const = 0;
    virtual int TextHeight() const = 0;

    // Clip rectangle in logical units; ClearClip removes it.
    virtual void SetClip(const TRect& rect) = 0;
    virtual void ClearClip() = 0;
};
