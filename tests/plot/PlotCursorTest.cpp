// The cursor readout: modes, captions, absolute and relative values, formats.

#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace plottest;

namespace {
// Pixel of a canvas unit at 600 by 290.
int Px(double units) { return static_cast<int>(units / 2); }
} // namespace

TEST(PlotCursor, ModesFollowActivationDataAndDoubleClicks)
{
    TLogPlot t(LogGrid(10, 20, 2000), {std::vector<double>(10, 70)});
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorOff);
    t.plot.Activated(true);
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorOff) << "no data yet";
    t.Ranges(20, 2000, 40, 90);
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorAbsolute) << "data on an active window";
    t.plot.MouseDoubleClick(300, 145, 600, 290);
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorRelative);
    t.plot.MouseDoubleClick(300, 145, 600, 290);
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorAbsolute);
    t.plot.MouseDoubleClick(300, 145, 600, 290);
    t.plot.Activated(false);
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorOff);
    EXPECT_EQ(t.plot.ReferenceY(), 0);
    EXPECT_FALSE(t.plot.IsActive());
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kXValue), "") << "leaving empties the readout";
    t.plot.MouseDoubleClick(300, 145, 600, 290);
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorOff);
}

TEST(PlotCursor, EnteringThePlotWritesCaptionsAndUnits)
{
    TLogPlot t(LogGrid(10, 20, 2000), {std::vector<double>(10, 70)});
    t.Ranges(20, 2000, 40, 90);
    t.plot.Activated(true);
    t.plot.MouseMove(10, 10, 600, 290); // outside the cursor rectangle
    EXPECT_FALSE(t.plot.CursorInside());
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kXCaption), "");
    t.plot.MouseMove(300, 100, 600, 290);
    EXPECT_TRUE(t.plot.CursorInside());
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kXCaption), "X:");
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYCaption), "Y:");
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kXUnit), "Hz");
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYUnit), "dB");
    EXPECT_NE(t.cursor.Field(TCursorDialog::kXValue), "--------");
    // The rectangle's edges: left and top inside, right and bottom outside.
    t.plot.MouseMove(60, 35, 600, 290);
    EXPECT_TRUE(t.plot.CursorInside());
    t.plot.MouseMove(545, 100, 600, 290);
    EXPECT_FALSE(t.plot.CursorInside());
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYCaption), "");
    t.plot.MouseMove(300, 100, 600, 290);
    t.plot.MouseLeave();
    EXPECT_FALSE(t.plot.CursorInside());
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYValue), "");
}

TEST(PlotCursor, AbsoluteValuesOnALogPlot)
{
    TLogPlot t(LogGrid(10, 20, 20000), {std::vector<double>(10, 70)});
    t.Ranges(20, 20000, 40, 90);
    t.plot.Activated(true);
    // 20 Hz at the left edge of the curve area, 90 dB at its top.
    t.plot.MouseMove(Px(120), Px(70), 600, 290);
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kXValue), "20.0") << "a pixel spans 0.3 Hz here";
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYValue), "90.0");
    EXPECT_NEAR(t.plot.LastCursorX(), 20, 1e-9);
    // Near 10 kHz a pixel spans more than 100 Hz: the value is rounded to hundreds.
    int px = Px(120 + 970.0 * (4 - std::log10(20.0)) / 3);
    t.plot.MouseMove(px, 145, 600, 290);
    long x = std::atol(t.cursor.Field(TCursorDialog::kXValue).c_str());
    EXPECT_EQ(x % 100, 0) << t.cursor.Field(TCursorDialog::kXValue);
    EXPECT_NEAR(x, 10000, 200);
    // 184 units below the top: 24.9 dB down; a span of 1 shows three decimals.
    t.plot.MouseMove(300, 127, 600, 290);
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYValue), "65.1");
    t.Ranges(20, 20000, 0, 1);
    t.plot.MouseMove(300, 127, 600, 290);
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYValue), "0.503");
}

TEST(PlotCursor, RelativeReadoutIsZeroAtTheClickedHeight)
{
    TLogPlot t(LogGrid(10, 20, 2000), {std::vector<double>(10, 70)});
    t.Ranges(20, 2000, 40, 90);
    t.plot.Activated(true);
    t.plot.MouseMove(300, 120, 600, 290);
    double absolute = t.plot.LastCursorY();
    t.plot.MouseDoubleClick(300, 120, 600, 290);
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYCaption), "dY:");
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYValue), "0.0");
    EXPECT_DOUBLE_EQ(t.plot.ReferenceY(), absolute);
    // 37 pixels up are 74 units, 10 dB on a 50 dB range.
    t.plot.MouseMove(300, 83, 600, 290);
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYValue), "10.0");
    // Leaving and re-entering keeps the relative caption.
    t.plot.MouseMove(5, 5, 600, 290);
    t.plot.MouseMove(300, 120, 600, 290);
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYCaption), "dY:");
    t.plot.Redraw();
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYCaption), "dY:");
    t.plot.MouseDoubleClick(300, 120, 600, 290);
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYCaption), "Y:");
    EXPECT_NEAR(t.plot.LastCursorY(), absolute, 1e-9);
}

TEST(PlotCursor, LinearPlotFormats)
{
    struct TCase {
        double span;
        const char* x;
    };
    // At the left edge the value is the minimum; the format follows span / 980.
    const TCase cases[] = {{0.2, "0.0000"}, {2, "0.000"}, {20, "0.00"}, {200, "0.0"}, {2000, "0.00E+00"},
                           {2e6, "  0"}};
    for (const TCase& c : cases) {
        TLinPlot t({0, c.span}, {0, 1});
        t.Ranges(0, c.span, -1, 1);
        t.plot.Activated(true);
        t.plot.MouseMove(Px(120), Px(70), 600, 290);
        EXPECT_EQ(t.cursor.Field(TCursorDialog::kXValue), c.x) << c.span;
        EXPECT_EQ(t.cursor.Field(TCursorDialog::kXUnit), "ms");
        EXPECT_EQ(t.cursor.Field(TCursorDialog::kYValue), "1.000") << "a span of 2 over 380 units";
    }
}

TEST(PlotCursor, ArrowKeysStepThePointer)
{
    TLinPlot t({0, 970}, {0, 1});
    t.Ranges(0, 970, 0, 370);
    t.plot.Activated(true);
    t.plot.MouseMove(600, 290, 1200, 580);
    double x = t.plot.LastCursorX(), y = t.plot.LastCursorY();
    t.plot.KeyPress(TKey::Right);
    EXPECT_DOUBLE_EQ(t.plot.LastCursorX(), x + 1);
    t.plot.KeyPress(TKey::Up);
    EXPECT_DOUBLE_EQ(t.plot.LastCursorY(), y + 1);
}

TEST(PlotCursor, DataClearedSwitchesTheReadoutOff)
{
    TLogPlot t(LogGrid(10, 20, 2000), {std::vector<double>(10, 70)});
    t.Ranges(20, 2000, 40, 90);
    t.plot.Activated(true);
    t.plot.MouseMove(300, 120, 600, 290);
    t.plot.MouseDoubleClick(300, 120, 600, 290);
    int redraws = t.host.Redraws(t.plot);
    t.plot.DataCleared();
    EXPECT_FALSE(t.plot.HasData());
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorOff);
    EXPECT_EQ(t.plot.ReferenceY(), 0);
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kXCaption), "");
    EXPECT_EQ(t.host.Redraws(t.plot), redraws + 1);
    t.plot.MouseMove(300, 100, 600, 290);
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kXCaption), "") << "mode 1 ignores the mouse";
}

TEST(PlotCursor, CursorWindowOnlyBeepsOnClose)
{
    THeadlessHost host;
    TCursorDialog cursor(host);
    EXPECT_EQ(cursor.Title(), "Cursor");
    EXPECT_FALSE(cursor.CloseRequested());
    EXPECT_EQ(host.Beeps(), 1);
    cursor.SetField(99, "x");
    EXPECT_EQ(cursor.Field(99), "");
    cursor.SetField(TCursorDialog::kXValue, "12");
    EXPECT_EQ(cursor.Field(103), "12");
}
