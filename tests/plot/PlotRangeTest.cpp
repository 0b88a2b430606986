// Fitting the ranges to the data, and zoom with Page Up / Page Down.

#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

using namespace plottest;

TEST(PlotRange, FitYRangeWithSpanHangsTheRangeBelowTheMaximum)
{
    std::vector<double> y = {70, 80, 90, 85};
    TLogPlot t(LogGrid(4, 20, 2000), {y});
    t.plot.FitXRange(0);
    t.plot.FitYRange(30);
    EXPECT_DOUBLE_EQ(t.plot.yMaximum, 91);
    EXPECT_DOUBLE_EQ(t.plot.yMinimum, 61);
    t.plot.FitYRange(0);
    EXPECT_DOUBLE_EQ(t.plot.yMaximum, 90);
    EXPECT_DOUBLE_EQ(t.plot.yMinimum, 70);
}

TEST(PlotRange, FitYRangeUsesPointsInTheXRangeOnly)
{
    // x: 10, 20, 40, 80, 160. Curve 0 left of the range seeds the range with its last
    // point there; points right of the range are ignored; other curves only widen.
    std::vector<double> x = {10, 20, 40, 80, 160};
    TLogPlot t(x, {{-100, 50, 60, 55, 1000}, {0, 58, 52, 57, -1000}});
    t.plot.xMinimum = 30;
    t.plot.xMaximum = 100;
    t.plot.FitYRange(0);
    EXPECT_DOUBLE_EQ(t.plot.yMinimum, 50);
    EXPECT_DOUBLE_EQ(t.plot.yMaximum, 60);
}

TEST(PlotRange, FitYRangeSkipsValuesThatAreNotNumbers)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    TLogPlot t(LogGrid(4, 20, 2000), {{nan, 10, nan, 20}});
    t.plot.FitXRange(0);
    t.plot.FitYRange(0);
    EXPECT_DOUBLE_EQ(t.plot.yMinimum, 10);
    EXPECT_DOUBLE_EQ(t.plot.yMaximum, 20);
}

TEST(PlotRange, FitXRange)
{
    std::vector<double> x = {5, 50, 500, 5000};
    TLogPlot t(x, {std::vector<double>(4, 1)});
    t.plot.FitXRange(0);
    EXPECT_DOUBLE_EQ(t.plot.xMinimum, 5);
    EXPECT_DOUBLE_EQ(t.plot.xMaximum, 5000);
    t.plot.FitXRange(1000);
    EXPECT_DOUBLE_EQ(t.plot.xMinimum, 4000);
    EXPECT_DOUBLE_EQ(t.plot.xMaximum, 5000);
    t.plot.SetPointCount(2);
    t.plot.FitXRange(0);
    EXPECT_DOUBLE_EQ(t.plot.xMaximum, 50) << "only the point count is looked at";
}

TEST(PlotRange, ZoomStepsAndRefitsTheYRange)
{
    TLogPlot t(LogGrid(3, 20, 2000), {{0, 5, 10}});
    t.plot.FitXRange(0);
    t.plot.FitYRange(0);
    t.plot.DataReady();
    t.plot.KeyPress(TKey::PageUp);
    EXPECT_EQ(t.plot.ZoomFactor(), 1) << "zoom is off until the project enables it";
    t.plot.SetZoomEnabled(true);
    struct TStep {
        TKey key;
        int factor;
        double top;
    };
    const TStep steps[] = {{TKey::PageUp, 2, 5},    {TKey::PageUp, 5, 2},     {TKey::PageUp, 10, 1},
                           {TKey::PageUp, 20, 0.5}, {TKey::PageUp, 20, 0.5},  {TKey::PageDown, 10, 1},
                           {TKey::PageDown, 5, 2},  {TKey::PageDown, 2, 5},   {TKey::PageDown, 1, 10},
                           {TKey::PageDown, 1, 10}};
    int redraws = t.host.Redraws(t.plot);
    for (const TStep& s : steps) {
        t.plot.KeyPress(s.key);
        EXPECT_EQ(t.plot.ZoomFactor(), s.factor);
        EXPECT_DOUBLE_EQ(t.plot.yMinimum, 0);
        EXPECT_DOUBLE_EQ(t.plot.yMaximum, s.top);
        EXPECT_EQ(t.host.Redraws(t.plot), ++redraws);
    }
    t.plot.KeyPress(TKey::PageUp);
    t.plot.KeyPress(TKey::PageUp);
    TRecordingCanvas canvas;
    t.plot.Paint(canvas);
    auto zoom = TextsAt(canvas, 1170, TAlign::Right | TAlign::Top);
    ASSERT_EQ(zoom.size(), 1u);
    EXPECT_EQ(zoom[0].text, "x5");
    EXPECT_EQ(zoom[0].points[0].y, 10);
}

TEST(PlotRange, FitsSkipInfinitiesAndKeepTheRangeWithoutFiniteValues)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> x = {inf, 20, 200, inf};
    TLogPlot t(x, {{inf, 3, -inf, 7}});
    EXPECT_TRUE(t.plot.FitXRange(0));
    EXPECT_DOUBLE_EQ(t.plot.xMinimum, 20);
    EXPECT_DOUBLE_EQ(t.plot.xMaximum, 200);
    t.plot.FitYRange(0);
    EXPECT_DOUBLE_EQ(t.plot.yMinimum, 3);
    EXPECT_DOUBLE_EQ(t.plot.yMaximum, 3);

    std::vector<double> none = {nan, inf};
    TLogPlot u(none, {{nan, 1}});
    u.plot.xMinimum = 10;
    u.plot.xMaximum = 30;
    EXPECT_FALSE(u.plot.FitXRange(0));
    EXPECT_DOUBLE_EQ(u.plot.xMinimum, 10);
    u.plot.FitYRange(0);
    EXPECT_TRUE(std::isnan(u.plot.yMinimum)) << "a seed that is not finite stays when nothing replaces it";
}

TEST(PlotRange, FitXRangeAsCopiesOnlyFromAPlotOverTheSameValues)
{
    std::vector<double> x = {5, 50, 500};
    TLogPlot fitted(x, {{1, 2, 3}});
    fitted.plot.FitXRange(100);
    TLogPlot same(x, {{4, 5, 6}});
    same.plot.SetXData(fitted.x.data());
    same.plot.FitXRangeAs(fitted.plot);
    EXPECT_DOUBLE_EQ(same.plot.xMinimum, 400) << "the fitted range, span included";
    EXPECT_DOUBLE_EQ(same.plot.xMaximum, 500);
    TLogPlot other(std::vector<double>{1, 2, 3}, {{4, 5, 6}});
    other.plot.FitXRangeAs(fitted.plot);
    EXPECT_DOUBLE_EQ(other.plot.xMaximum, 3) << "other x values are fitted on their own";
}
