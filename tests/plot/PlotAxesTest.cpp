// Axes: y tick steps and walks, the multiplier exponent, log and linear x labels,
// and ranges that would make a walk run away.

#include "PlotTestSupport.h"
#include "plot/TPlotAxisMath.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

using namespace plottest;

namespace {

std::vector<std::string> YLabels(const TRecordingCanvas& canvas)
{
    std::vector<std::string> out;
    for (const TCanvasOp& op : TextsAt(canvas, 100, TAlign::Right | TAlign::Bottom))
        out.push_back(op.text);
    return out;
}

// Heights of the rows of minor-level dashes (short horizontal segments).
std::set<int> MinorRows(const TRecordingCanvas& canvas)
{
    std::set<int> rows;
    for (const TSegment& s : Segments(canvas)) {
        int len = s.b.x - s.a.x;
        if (s.a.y == s.b.y && (len == 3 || len == 5))
            rows.insert(s.a.y);
    }
    return rows;
}

std::vector<std::string> XLabels(const TRecordingCanvas& canvas, int y)
{
    std::vector<std::string> out;
    for (const TCanvasOp& op : canvas.OpsOf(TCanvasOp::Kind::Text))
        if (op.points[0].y == y && op.align == (TAlign::Center | TAlign::Top))
            out.push_back(op.text);
    return out;
}

} // namespace

TEST(PlotAxes, YTickSteps)
{
    struct TCase {
        double top;
        double major, minor;
        std::vector<std::string> labels;
        std::size_t minorRows;
    };
    const TCase cases[] = {
        {40, 5, 1, {"40.00", "35.00", "30.00", "25.00", "20.00", "15.00", "10.00", "5.00", "0.00"}, 32},
        {20, 5, 0.5, {"20.00", "15.00", "10.00", "5.00", "0.00"}, 36},
        {50, 10, 2, {"50.00", "40.00", "30.00", "20.00", "10.00", "0.00"}, 20},
    };
    for (const TCase& c : cases) {
        auto steps = TPlotAxisMath::YSteps(c.top);
        EXPECT_DOUBLE_EQ(steps.major, c.major) << c.top;
        EXPECT_DOUBLE_EQ(steps.minor, c.minor) << c.top;
        TLogPlot t(LogGrid(10, 20, 20000), {std::vector<double>(10, 1)});
        t.Ranges(20, 20000, 0, c.top);
        TRecordingCanvas canvas;
        t.plot.Paint(canvas);
        auto labels = YLabels(canvas);
        std::reverse(labels.begin(), labels.end()); // the walk goes up from 0
        EXPECT_EQ(labels, c.labels) << c.top;
        EXPECT_EQ(MinorRows(canvas).size(), c.minorRows) << c.top;
    }
}

TEST(PlotAxes, ZeroLineOfARangeAcrossZeroWalksBothWays)
{
    TLogPlot t(LogGrid(10, 20, 20000), {std::vector<double>(10, 1)});
    t.Ranges(20, 20000, -20, 10);
    TRecordingCanvas canvas;
    t.plot.Paint(canvas);
    auto labels = TextsAt(canvas, 100, TAlign::Right | TAlign::Bottom);
    std::vector<std::string> texts;
    for (const auto& op : labels)
        texts.push_back(op.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"0.00", "5.00", "10.00", "-5.00", "-10.00", "-15.00", "-20.00"}));
    // The zero level is a major one: its grid line runs across the plot at 70 + 123.
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels[0].points[0].y, 123 + 84);
    bool zeroLine = false;
    for (const TSegment& s : Segments(canvas))
        zeroLine |= s.a == TPoint{110, 193} && s.b == TPoint{1091, 193};
    EXPECT_TRUE(zeroLine);
    EXPECT_EQ(MinorRows(canvas).size(), 24u);
}

TEST(PlotAxes, NegativeRangeWalksDownFromTheTop)
{
    TLogPlot t(LogGrid(10, 20, 20000), {std::vector<double>(10, -50)});
    t.Ranges(20, 20000, -60, -20);
    TRecordingCanvas canvas;
    t.plot.Paint(canvas);
    EXPECT_EQ(YLabels(canvas), (std::vector<std::string>{"-20.00", "-25.00", "-30.00", "-35.00", "-40.00", "-45.00",
                                                          "-50.00", "-55.00", "-60.00"}));
}

TEST(PlotAxes, MultiplierExponent)
{
    struct TCase {
        double lo, hi;
        int b, e;
        const char* format;
    };
    const TCase cases[] = {
        {0, 40, 1, 0, "%3.2f"},     {0, 5000, 3, 3, "%4.3f"},   {0, 0.5, 0, 0, "%4.3f"},
        {0, 0.05, -1, -3, "%2.1f"}, {-250, 100, 2, 0, "%2.1f"}, {0, 0.002, -2, -3, "%3.2f"},
        {0, 2e6, 6, 6, "%4.3f"},    {0, 0.0002, -3, -6, "%3.2f"}, {0, 20000, 4, 3, "%3.2f"},
    };
    for (const TCase& c : cases) {
        auto m = TPlotAxisMath::Multiplier(c.lo, c.hi);
        EXPECT_EQ(m.b, c.b) << c.hi;
        EXPECT_EQ(m.e, c.e) << c.hi;
        EXPECT_STREQ(m.format, c.format) << c.hi;
    }
    TLogPlot t(LogGrid(10, 20, 20000), {std::vector<double>(10, 1)});
    t.Ranges(20, 20000, 0, 5000);
    TRecordingCanvas canvas;
    t.plot.Paint(canvas);
    auto mult = TextsAt(canvas, 3, TAlign::Left | TAlign::Bottom);
    ASSERT_EQ(mult.size(), 1u);
    EXPECT_EQ(mult[0].text, "*1.0E3");
    EXPECT_EQ(mult[0].points[0].y, 64);
    auto labels = YLabels(canvas);
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), "0.000");
    EXPECT_EQ(labels.back(), "5.000");
}

TEST(PlotAxes, LogXLabels)
{
    struct TCase {
        double lo, hi;
        std::vector<std::string> labels;
    };
    const TCase cases[] = {
        {20, 20000, {"20 Hz", "50", "100", "500", "1000", "5000", "10000"}},
        {20, 2000, {"20 Hz", "50", "100", "200", "500", "1000", "2000"}},
        {10, 100000, {"10 Hz", "50", "100", "500", "1000", "5000", "1E4", "5E4", "1E5"}},
        {0.5, 30, {"0.5 Hz", "1", "2", "5", "10", "20"}},
        {0.01, 0.09, {"0.01 Hz", "0.02", "0.05"}},
        {3, 4, {}},
    };
    for (const TCase& c : cases) {
        TLogPlot t(LogGrid(10, c.lo, c.hi), {std::vector<double>(10, 1)});
        t.Ranges(c.lo, c.hi, 0, 40);
        TRecordingCanvas canvas;
        t.plot.Paint(canvas);
        EXPECT_EQ(XLabels(canvas, 454), c.labels) << c.lo << ".." << c.hi;
    }
}

TEST(PlotAxes, LogXGridLinesAndTicks)
{
    TLogPlot t(LogGrid(10, 20, 20000), {std::vector<double>(10, 1)});
    t.Ranges(20, 20000, 0, 40);
    TRecordingCanvas canvas;
    t.plot.Paint(canvas);
    int grid = 0, ticks = 0;
    for (const TSegment& s : Segments(canvas)) {
        if (s.a.x == s.b.x && s.a.y == 70 && s.b.y == 451)
            ++grid;
        if (s.a.x == s.b.x && s.a.y == 450 && s.b.y == 453)
            ++ticks;
    }
    // 20..90, 100..900, 1000..9000, 10000..20000: 8 + 9 + 9 + 2, the last one at the
    // right edge (g = 980) without its line.
    EXPECT_EQ(grid, 27);
    EXPECT_EQ(ticks, 6) << "the labels after the first one";
}

TEST(PlotAxes, LinearXLabelsAndMultiplier)
{
    struct TCase {
        double lo, hi;
        std::vector<std::string> labels;
        const char* multiplier;
    };
    const TCase cases[] = {
        {0, 20, {"0.00 ms", "2.00", "4.00", "6.00", "8.00", "10.00", "12.00", "14.00", "16.00", "18.00", "20.00"}, nullptr},
        {0, 0.02, {"0.0 ms", "2.0", "4.0", "6.0", "8.0", "10.0", "12.0", "14.0", "16.0", "18.0", "20.0"}, "*1.0E-3"},
        {-5, 5, {"0.000", "1.000", "2.000", "3.000", "4.000", "5.000", "-1.000", "-2.000", "-3.000", "-4.000", "-5.000 ms"},
         nullptr},
        {100, 160, {"100.0 ms", "105.0", "110.0", "115.0", "120.0", "125.0", "130.0", "135.0", "140.0", "145.0", "150.0", "155.0", "160.0"}, nullptr},
    };
    for (const TCase& c : cases) {
        TLinPlot t({c.lo, c.hi}, {0, 1});
        t.Ranges(c.lo, c.hi, 0, 1);
        TRecordingCanvas canvas;
        t.plot.Paint(canvas);
        EXPECT_EQ(XLabels(canvas, 455), c.labels) << c.lo << ".." << c.hi;
        auto mult = TextsAt(canvas, 1120, TAlign::Right | TAlign::Top);
        if (c.multiplier) {
            ASSERT_EQ(mult.size(), 1u);
            EXPECT_EQ(mult[0].text, c.multiplier);
            EXPECT_EQ(mult[0].points[0].y, 455 + 30) << "moved below the label under it";
        } else {
            EXPECT_TRUE(mult.empty());
        }
    }
}

TEST(PlotAxes, XStepRule)
{
    struct TCase {
        double span, step;
    };
    const TCase cases[] = {{10, 1}, {20, 2}, {25, 4}, {40, 5}, {70, 10}, {0.5, 0.05}, {12, 1}, {13, 2}};
    for (const TCase& c : cases)
        EXPECT_NEAR(TPlotAxisMath::XStep(c.span), c.step, 1e-12) << c.span;
}

TEST(PlotAxes, DegenerateRangesStillPaintAndTerminate)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct TCase {
        double x0, x1, y0, y1;
    };
    const TCase cases[] = {
        {20, 2000, 5, 5},      {100, 100, 0, 10},  {0, 2000, 0, 10},   {-50, 2000, 0, 10},
        {-50, -10, 0, 10},     {20, 2000, 0, 0},   {2000, 20, 10, 0},  {20, 2000, nan, 10},
        {nan, nan, nan, nan},  {20, 2000, -inf, inf}, {1e-300, 1e300, 0, 1}, {20, 2000, 1e-300, 2e-300},
        {20, 2000, 1e200, 1e200}, {20, 2000, 5e-324, 1e-323},
    };
    for (const TCase& c : cases) {
        TLogPlot log(LogGrid(10, 20, 2000), {std::vector<double>(10, 1)});
        log.Ranges(c.x0, c.x1, c.y0, c.y1);
        TRecordingCanvas a;
        log.plot.Paint(a);
        EXPECT_LT(a.Ops().size(), 200000u) << c.x0 << " " << c.x1 << " " << c.y0 << " " << c.y1;
        EXPECT_GT(log.plot.xMinimum, 0);
        EXPECT_LT(log.plot.xMinimum, log.plot.xMaximum);
        EXPECT_LT(log.plot.yMinimum, log.plot.yMaximum);

        TLinPlot lin({0, 1}, {0, 1});
        lin.Ranges(c.x0, c.x1, c.y0, c.y1);
        TRecordingCanvas b;
        lin.plot.Paint(b);
        EXPECT_LT(b.Ops().size(), 200000u);
        EXPECT_LT(lin.plot.xMinimum, lin.plot.xMaximum);
        // The readout stays finite-formatted too.
        lin.plot.Activated(true);
        lin.plot.MouseMove(300, 145, 600, 290);
        EXPECT_FALSE(lin.cursor.Field(TCursorDialog::kYValue).empty());
    }
}

TEST(PlotAxes, WindowWithoutPixelsPaintsNothing)
{
    TLogPlot t(LogGrid(10, 20, 2000), {std::vector<double>(10, 1)});
    t.Ranges(20, 2000, 0, 10);
    TRecordingCanvas canvas(0, 0);
    canvas.Clear();
    t.plot.Paint(canvas);
    EXPECT_TRUE(canvas.Ops().empty());
    t.plot.Activated(true);
    t.plot.MouseMove(0, 0, 0, 0);
    EXPECT_FALSE(t.plot.CursorInside());
}
