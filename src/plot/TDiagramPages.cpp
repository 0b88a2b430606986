#include "TDiagramPages.h"

#include "ui/TCanvas.h"
#include "ui/TViewportCanvas.h"
#include "ui/TWindowModel.h"

#include <algorithm>

namespace {
int PerPage(int n) { return n == 3 || n == 4 ? n : 8; }

// The viewport of diagram i on a page of W by H device units.
TRect Viewport(int perPage, int i, double W, double H)
{
    double x, y, w, h;
    switch (perPage) {
    case 3:
        w = 0.8 * W, h = 0.25 * H, x = 0.1 * W, y = (0.27 * (i % 3) + 0.12) * H;
        break;
    case 4:
        w = 0.7 * W, h = 0.18 * H, x = 0.15 * W, y = (0.2 * (i % 4) + 0.1) * H;
        break;
    default:
        w = 0.4 * W, h = 0.18 * H, x = (0.4 * (i % 2) + 0.07) * W, y = (0.2 * ((i % 8) / 2) + 0.1) * H;
        break;
    }
    return TRect{int(x), int(y), int(x + w), int(y + h)};
}
} // namespace

int TDiagramPages::PageCount() const
{
    const int n = static_cast<int>(diagrams.size());
    const int per = PerPage(perPage);
    return n == 0 ? 0 : (n + per - 1) / per;
}

void TDiagramPages::PaintPage(TCanvas& canvas, int page) const
{
    const int per = PerPage(perPage);
    const double W = canvas.DeviceWidth(), H = canvas.DeviceHeight();
    if (page == 0) {
        // The page heading in a logical page of 1200 by 1800 units.
        canvas.SetMapping(TMapping{0, 0, 1200, 1800, 0, 0, W, H});
        canvas.SetTextColor(TColors::Black);
        canvas.SetFont(TFontSpec{"Arial", 50, true, false});
        canvas.Text(600, 80, heading, TAlign::Center | TAlign::Bottom);
        canvas.SetFont(TFontSpec{"Arial", 25, false, false});
        if (!date.empty())
            canvas.Text(1100, 100, date, TAlign::Right | TAlign::Bottom);
        if (!fileName.empty())
            canvas.Text(60, 100, "Filename   " + fileName, TAlign::Left | TAlign::Bottom);
    }
    const int first = page * per;
    const int last = std::min(static_cast<int>(diagrams.size()), first + per);
    for (int i = first; i < last; ++i) {
        TWindowModel* diagram = diagrams[static_cast<std::size_t>(i)];
        TRect v = Viewport(per, i - first, W, H);
        TViewportCanvas area(canvas, v.left, v.top, v.Width(), v.Height());
        diagram->Paint(area);
        area.MapOntoDevice(1200, 580);
        area.SetTextColor(TColors::Black);
        area.SetFont(TFontSpec{"Arial", 40, false, false});
        area.Text(600, -11, diagram->Title(), TAlign::Center | TAlign::Bottom);
    }
    canvas.ClearClip();
}
