// The cursor readout on its own: values and formats under known pixels of log-x and
// lin-x axes, the relative readout, and when the shared cursor dialog is emptied.
// Each readout here reads a real plot's axes but writes into a dialog of its own.

#include "PlotTestSupport.h"
#include "plot/TCursorReadout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

using namespace plottest;

namespace {

// The six texts of a dialog, in id order.
std::vector<std::string> Fields(const TCursorDialog& dialog)
{
    std::vector<std::string> out;
    for (int id = TCursorDialog::kXCaption; id <= TCursorDialog::kYValue; ++id)
        out.push_back(dialog.Field(id));
    return out;
}

bool Empty(const TCursorDialog& dialog)
{
    for (const std::string& f : Fields(dialog))
        if (!f.empty())
            return false;
    return true;
}

// A readout over the axes of a log-x or lin-x plot with the given ranges.
struct TReadoutOn {
    TLogPlot log{LogGrid(10, 20, 20000), {std::vector<double>(10, 70)}};
    TLinPlot lin{{0, 1}, {0, 1}};
    TCursorDialog dialog{log.host};
    TCursorReadout readout;

    TReadoutOn(bool logX, double x0, double x1, double y0, double y1)
        : readout(&dialog, logX ? static_cast<const TCursorAxes&>(log.plot) : lin.plot)
    {
        if (logX)
            log.Ranges(x0, x1, y0, y1);
        else
            lin.Ranges(x0, x1, y0, y1);
        readout.SwitchAbsolute();
    }
    void Move(int px, int py, int w = 600, int h = 290) { readout.PointerMoved(px, py, w, h, true); }
};

constexpr bool kLog = true, kLin = false;

} // namespace

TEST(CursorReadout, AbsoluteValuesAtKnownPixels)
{
    struct TCase {
        bool logX;
        double x0, x1, y0, y1;
        int px, py, w, h;
        const char* x;
        const char* y;
        double lastX;
    };
    // Canvas units are pixels times 2 at 600 by 290; the curve area starts at 120 and
    // 70 units and is 970 by 370 units.
    const TCase cases[] = {
        // 20 Hz and 90 dB at the top left; a pixel spans 0.3 Hz there.
        {kLog, 20, 20000, 40, 90, 60, 35, 600, 290, "20.0", "90.0", 20},
        // 20 kHz at the right edge: a pixel spans 287 Hz, so whole hundreds.
        {kLog, 20, 20000, 40, 90, 545, 35, 600, 290, "20000", "90.0", 20000},
        // 480 units right: 10^(log 20 + 480 * 3 / 970) = 610.3 Hz; 184 units down 24.86 dB.
        {kLog, 20, 20000, 40, 90, 300, 127, 600, 290, "610", "65.1", 610.3319},
        // A y span of 1 over 380 units shows three decimals.
        {kLog, 20, 20000, 0, 1, 300, 127, 600, 290, "610", "0.503", 610.3319},
        // A span of 1000: the log plot prints whole numbers, the linear one exponents.
        {kLog, 20, 20000, 0, 1000, 60, 35, 600, 290, "20.0", "1000", 20},
        {kLin, 0, 1, 0, 1000, 60, 35, 600, 290, "0.000", "1.00E+03", 0},
        // At the left edge x is the minimum; its format follows span / 980.
        {kLin, 0, 0.2, -1, 1, 60, 35, 600, 290, "0.0000", "1.000", 0},
        {kLin, 0, 2, -1, 1, 60, 35, 600, 290, "0.000", "1.000", 0},
        {kLin, 0, 20, -1, 1, 60, 35, 600, 290, "0.00", "1.000", 0},
        {kLin, 0, 200, -1, 1, 60, 35, 600, 290, "0.0", "1.000", 0},
        {kLin, 0, 2000, -1, 1, 60, 35, 600, 290, "0.00E+00", "1.000", 0},
        {kLin, 0, 2e6, -1, 1, 60, 35, 600, 290, "  0", "1.000", 0},
        // One unit per pixel and per value: 480 right and 220 below the top.
        {kLin, 0, 970, 0, 370, 600, 290, 1200, 580, "480.0", "150.0", 480},
    };
    for (const TCase& c : cases) {
        TReadoutOn t(c.logX, c.x0, c.x1, c.y0, c.y1);
        t.Move(c.px, c.py, c.w, c.h);
        SCOPED_TRACE(testing::Message() << (c.logX ? "log " : "lin ") << c.x1 << " / " << c.y1 << " at " << c.px
                                        << "," << c.py);
        EXPECT_EQ(t.dialog.Field(TCursorDialog::kXValue), c.x);
        EXPECT_EQ(t.dialog.Field(TCursorDialog::kYValue), c.y);
        EXPECT_EQ(t.dialog.Field(TCursorDialog::kXCaption), "X:");
        EXPECT_EQ(t.dialog.Field(TCursorDialog::kYCaption), "Y:");
        EXPECT_EQ(t.dialog.Field(TCursorDialog::kXUnit), c.logX ? "Hz" : "ms");
        EXPECT_EQ(t.dialog.Field(TCursorDialog::kYUnit), c.logX ? "dB" : "");
        EXPECT_NEAR(t.readout.LastX(), c.lastX, 1e-4);
    }
}

TEST(CursorReadout, LogValuesAreRoundedToWhatAPixelSpans)
{
    TReadoutOn t(kLog, 20, 20000, 40, 90);
    // Near 10 kHz a pixel spans more than 100 Hz: the value is rounded to hundreds.
    int px = static_cast<int>((120 + 970.0 * (4 - std::log10(20.0)) / 3) / 2);
    t.Move(px, 145);
    long x = std::atol(t.dialog.Field(TCursorDialog::kXValue).c_str());
    EXPECT_EQ(x % 100, 0) << t.dialog.Field(TCursorDialog::kXValue);
    EXPECT_NEAR(x, 10000, 200);
    EXPECT_EQ(t.readout.LastX(), x) << "the rounded value is the one kept";
}

TEST(CursorReadout, DoubleClickSwitchesToRelativeWithZeroAtTheClickedHeight)
{
    struct TCase {
        bool logX;
        double y0, y1;
        const char* zero;
        const char* up;   // 37 pixels higher
        const char* down; // 37 pixels lower
    };
    // 37 pixels are 74 units: 10 dB of a 50 dB range, 0.4 of a range of 2.
    const TCase cases[] = {
        {kLog, 40, 90, "0.0", "10.0", "-10.0"},
        {kLin, -1, 1, "0.000", "0.400", "-0.400"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.logX ? "log" : "lin");
        TReadoutOn t(c.logX, c.logX ? 20 : 0, c.logX ? 2000 : 1, c.y0, c.y1);
        t.Move(300, 120);
        double absolute = t.readout.LastY();
        t.readout.DoubleClicked(120, 290);
        EXPECT_EQ(t.readout.Mode(), TCursorReadout::kRelative);
        EXPECT_EQ(t.dialog.Field(TCursorDialog::kYCaption), "dY:");
        EXPECT_EQ(t.dialog.Field(TCursorDialog::kYValue), c.zero);
        EXPECT_DOUBLE_EQ(t.readout.ReferenceY(), absolute);
        t.Move(300, 83);
        EXPECT_EQ(t.dialog.Field(TCursorDialog::kYValue), c.up);
        t.Move(300, 157);
        EXPECT_EQ(t.dialog.Field(TCursorDialog::kYValue), c.down);
        // Leaving and re-entering, or a redraw, keeps the relative caption.
        t.readout.PointerMoved(5, 5, 600, 290, false);
        t.Move(300, 120);
        EXPECT_EQ(t.dialog.Field(TCursorDialog::kYCaption), "dY:");
        t.dialog.SetField(TCursorDialog::kYCaption, "");
        t.readout.Refresh();
        EXPECT_EQ(t.dialog.Field(TCursorDialog::kYCaption), "dY:");
        // The next double click goes back to absolute values; the reference stays.
        t.readout.DoubleClicked(120, 290);
        EXPECT_EQ(t.readout.Mode(), TCursorReadout::kAbsolute);
        EXPECT_EQ(t.dialog.Field(TCursorDialog::kYCaption), "Y:");
        EXPECT_NEAR(t.readout.LastY(), absolute, 1e-9);
        EXPECT_DOUBLE_EQ(t.readout.ReferenceY(), absolute);
    }
}

TEST(CursorReadout, DoubleClickOutsideTheAreaOrWhileOffDoesNothing)
{
    TReadoutOn t(kLog, 20, 2000, 40, 90);
    t.readout.PointerMoved(5, 5, 600, 290, false);
    t.readout.DoubleClicked(5, 290);
    EXPECT_EQ(t.readout.Mode(), TCursorReadout::kAbsolute);
    EXPECT_TRUE(Empty(t.dialog));

    t.readout.SwitchOff();
    t.Move(300, 120);
    t.readout.DoubleClicked(120, 290);
    EXPECT_EQ(t.readout.Mode(), TCursorReadout::kOff);
    EXPECT_FALSE(t.readout.Inside()) << "an off readout ignores the pointer";
    EXPECT_TRUE(Empty(t.dialog));
}

TEST(CursorReadout, WhenTheSharedDialogIsEmptied)
{
    // Another plot of the project may have written the dialog; a readout empties it
    // only when its own pointer leaves, or when its plot loses its data.
    struct TCase {
        const char* what;
        bool pointerInside;
        std::function<void(TCursorReadout&)> act;
        bool emptied;
        int mode;
    };
    const auto leaveArea = [](TCursorReadout& r) { r.PointerMoved(545, 100, 600, 290, false); };
    const auto leaveWindow = [](TCursorReadout& r) { r.PointerLeft(); };
    const auto deactivate = [](TCursorReadout& r) { r.SwitchOff(); };
    const auto dataCleared = [](TCursorReadout& r) { r.Reset(); };
    const TCase cases[] = {
        // Leaving keeps the relative readout a double click made.
        {"pointer leaves the area", true, leaveArea, true, TCursorReadout::kRelative},
        {"pointer leaves the window", true, leaveWindow, true, TCursorReadout::kRelative},
        {"plot deactivated", true, deactivate, true, TCursorReadout::kOff},
        {"data cleared", true, dataCleared, true, TCursorReadout::kOff},
        {"pointer moves outside", false, leaveArea, false, TCursorReadout::kAbsolute},
        {"pointer leaves from outside", false, leaveWindow, false, TCursorReadout::kAbsolute},
        {"deactivated from outside", false, deactivate, false, TCursorReadout::kOff},
        {"data cleared from outside", false, dataCleared, true, TCursorReadout::kOff},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TReadoutOn t(kLog, 20, 2000, 40, 90);
        if (c.pointerInside) {
            t.Move(300, 120);
            t.readout.DoubleClicked(120, 290);
        } else {
            t.dialog.SetField(TCursorDialog::kXCaption, "X:");
            t.dialog.SetField(TCursorDialog::kXValue, "123");
        }
        c.act(t.readout);
        EXPECT_EQ(Empty(t.dialog), c.emptied);
        EXPECT_FALSE(t.readout.Inside());
        EXPECT_EQ(t.readout.Mode(), c.mode);
        if (c.mode == TCursorReadout::kOff) {
            EXPECT_EQ(t.readout.ReferenceY(), 0) << "switching off forgets the reference";
        }
    }
}

TEST(CursorReadout, WorksWithoutADialog)
{
    TLinPlot lin({0, 1}, {0, 1});
    lin.Ranges(0, 970, 0, 370);
    TCursorReadout readout(nullptr, lin.plot);
    readout.SwitchAbsolute();
    readout.PointerMoved(600, 290, 1200, 580, true);
    EXPECT_TRUE(readout.Inside());
    EXPECT_DOUBLE_EQ(readout.LastX(), 480);
    EXPECT_DOUBLE_EQ(readout.LastY(), 150);
    readout.DoubleClicked(290, 580);
    EXPECT_EQ(readout.Mode(), TCursorReadout::kRelative);
    EXPECT_EQ(readout.LastY(), 0);
    readout.Reset();
    EXPECT_EQ(readout.Mode(), TCursorReadout::kOff);
}
