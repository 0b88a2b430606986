// Fitting the ranges to the data, and zoom with Page Up / Page Down.

#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

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

// The range a plain walk over every point gives: the fit must agree with it whether it
// finds the window by bisection (ascending x) or not.
struct TRange {
    double lo, hi;
};

TRange WalkedRange(const std::vector<double>& x, const std::vector<std::vector<double>>& curves, double xLow,
                   double xHigh)
{
    const auto finite = [](double v) { return std::isfinite(v); };
    const double seed = curves[0][0];
    double lo = finite(seed) ? seed : std::numeric_limits<double>::infinity();
    double hi = finite(seed) ? seed : -std::numeric_limits<double>::infinity();
    for (std::size_t c = 0; c < curves.size(); ++c)
        for (std::size_t i = 0; i < x.size(); ++i) {
            const double v = curves[c][i];
            if (!finite(v))
                continue;
            if (x[i] >= xLow && x[i] <= xHigh) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            } else if (c == 0 && x[i] < xLow) {
                lo = hi = v;
            }
        }
    if (lo > hi)
        lo = hi = seed;
    return {lo, hi};
}

TEST(PlotRange, FitYRangeAgreesWithAWalkOverEveryPoint)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::uint32_t state = 12345;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    const double specials[] = {nan, inf, -inf, 0.0, -0.0}; // the zeros tie in either order
    for (int trial = 0; trial < 600; ++trial) {
        const int n = 1 + static_cast<int>(next() % 40);
        std::vector<double> x = LogGrid(n, 10, 20000);
        if (n == 1)
            x = {100};
        if (trial % 5 == 4) // not ascending: a walk over every point
            std::swap(x[0], x[static_cast<std::size_t>(n - 1)]);
        if (trial % 7 == 6)
            x[next() % static_cast<std::size_t>(n)] = x[0]; // equal neighbours still ascend
        const double offset = trial % 3 == 0 ? 0.0 : 100.0; // no negative values: a zero is the minimum
        std::vector<std::vector<double>> curves(1 + next() % 3, std::vector<double>(static_cast<std::size_t>(n)));
        for (auto& curve : curves)
            for (double& v : curve)
                v = next() % 6 == 0 ? specials[next() % 5] : static_cast<double>(next() % 2000) / 10.0 - offset;
        TLogPlot t(x, curves);
        // Windows over the grid, past both ends, empty and reversed.
        const double edges[] = {5, 10, 47, 300, 1000, 20000, 30000};
        const double xLow = edges[next() % 7], xHigh = edges[next() % 7];
        t.plot.xMinimum = xLow;
        t.plot.xMaximum = xHigh;
        t.plot.FitYRange(0);
        const TRange expected = WalkedRange(x, curves, xLow, xHigh);
        SCOPED_TRACE("trial " + std::to_string(trial));
        if (std::isnan(expected.lo)) {
            EXPECT_TRUE(std::isnan(t.plot.yMinimum));
            EXPECT_TRUE(std::isnan(t.plot.yMaximum));
        } else {
            EXPECT_EQ(t.plot.yMinimum, expected.lo);
            EXPECT_EQ(t.plot.yMaximum, expected.hi);
            EXPECT_EQ(std::signbit(t.plot.yMinimum), std::signbit(expected.lo));
            EXPECT_EQ(std::signbit(t.plot.yMaximum), std::signbit(expected.hi));
        }
    }
}

TEST(PlotRange, FitYRangeWithAWindowThatIsNotANumberTakesNoPoint)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    TLogPlot t(LogGrid(4, 20, 2000), {{5, 1, 9, 3}});
    t.plot.xMinimum = nan;
    t.plot.xMaximum = 2000;
    t.plot.FitYRange(0);
    EXPECT_DOUBLE_EQ(t.plot.yMinimum, 5) << "only the seed";
    EXPECT_DOUBLE_EQ(t.plot.yMaximum, 5);
}

// The x fit over ascending values (by their ends) and others (by a walk) agrees with a
// plain walk, infinities and signed zeros included.
TEST(PlotRange, FitXRangeAgreesWithAWalkOverEveryPoint)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::vector<double>> grids = {{5, 50, 500},    {-inf, 5, 50, inf, inf},
                                                    {-inf, -inf},    {inf},
                                                    {-0.0, 0.0},     {0.0, -0.0},
                                                    {-5, -0.0, 0.0}, {-5, 0.0, -0.0},
                                                    {3, 3, 3},       {7},
                                                    {50, 5, 500},    {nan, 5, 50},
                                                    {5, nan, 50},    {1, inf, 2}};
    for (const std::vector<double>& x : grids) {
        TLogPlot t(x, {std::vector<double>(x.size(), 1)});
        t.plot.xMinimum = 123;
        t.plot.xMaximum = 456;
        double lo = inf, hi = -inf;
        for (double v : x)
            if (std::isfinite(v)) {
                lo = v < lo ? v : lo;
                hi = v > hi ? v : hi;
            }
        const bool any = lo <= hi;
        EXPECT_EQ(t.plot.FitXRange(0), any);
        EXPECT_EQ(t.plot.xMinimum, any ? lo : 123);
        EXPECT_EQ(t.plot.xMaximum, any ? hi : 456);
        EXPECT_EQ(std::signbit(t.plot.xMinimum), std::signbit(any ? lo : 123.0));
        EXPECT_EQ(std::signbit(t.plot.xMaximum), std::signbit(any ? hi : 456.0));
    }
}
