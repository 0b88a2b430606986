// Repainting a plot allocates nothing: the position and polyline buffers are made
// when the plot is created. Counted with a replaced global operator new.

#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include "support/AllocationCounter.h"

namespace {
using allocation_counter::count;
using allocation_counter::counting;

// A canvas that draws nothing and allocates nothing.
class TNullCanvas : public TCanvas {
public:
    int DeviceWidth() const override { return 600; }
    int DeviceHeight() const override { return 290; }
    void SetMapping(const TMapping& m) override { mapping_ = m; }
    const TMapping& Mapping() const override { return mapping_; }
    void SetPen(const TLineStyle&) override {}
    void SetBrush(TColor) override {}
    void SetNoBrush() override {}
    void SetFont(const TFontSpec&) override {}
    void SetTextColor(TColor) override {}
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void Polyline(const TPoint*, int count) override { points += count; }
    void Polygon(const TPoint*, int) override {}
    void Rectangle(const TRect&) override {}
    void Ellipse(const TRect&) override {}
    void FillRect(const TRect&, TColor) override {}
    void Text(int, int, std::string_view, int) override {}
    int TextWidth(std::string_view text) const override { return int(text.size()) * 15; }
    int TextHeight() const override { return 30; }
    void SetClip(const TRect&) override {}
    void ClearClip() override {}
    long points = 0;

private:
    TMapping mapping_;
};
} // namespace



TEST(PlotAllocation, RepaintingAllocatesNothing)
{
    using namespace plottest;
    std::vector<double> phase(500, 45);
    TLogPlot log(LogGrid(500, 10, 20000), {std::vector<double>(500, 80), std::vector<double>(500, 70),
                                           std::vector<double>(500, 60)});
    log.plot.SetPhaseCurve(phase.data(), kDot);
    log.plot.SetZoomEnabled(true);
    log.plot.SetNote("a note");
    log.Ranges(10, 20000, 40, 90);
    TLinPlot lin(std::vector<double>{0, 1, 2, 3}, std::vector<double>{0, 1, 0, -1});
    lin.Ranges(0, 3, -1, 1);
    TNullCanvas canvas;
    counting = true;
    int* volatile probe = new int(1); // the counter sees allocations
    delete probe;
    counting = false;
    ASSERT_EQ(count.exchange(0), 1);
    log.plot.Paint(canvas); // first paint: positions computed into the creation buffers
    lin.plot.Paint(canvas);
    counting = true;
    for (int i = 0; i < 3; ++i) {
        log.plot.DataReady();
        log.plot.Paint(canvas);
        lin.plot.DataReady();
        lin.plot.Paint(canvas);
    }
    counting = false;
    EXPECT_EQ(count.load(), 0);
    EXPECT_GT(canvas.points, 3 * 500);
}
