// Curves on the canvas: positions, thick curves, markers, legend, clip and cursor
// rectangles, the phase curve.

#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

using namespace plottest;

namespace {

enum class TShape { Square, Triangle, Diamond, Other };

// Closed marker outlines: 5 points for square and diamond, 4 for the triangle.
struct TMarker {
    TShape shape;
    TPoint centre;
};

std::vector<TMarker> Markers(const TRecordingCanvas& canvas)
{
    std::vector<TMarker> out;
    for (const TCanvasOp& op : canvas.OpsOf(TCanvasOp::Kind::Polyline)) {
        const auto& p = op.points;
        if (p.size() == 5 && p[0] == p[4] && p[1].x - p[0].x == 16 && p[2].y - p[1].y == 16)
            out.push_back({TShape::Square, {p[0].x + 8, p[0].y + 8}});
        else if (p.size() == 4 && p[0] == p[3] && p[1].y - p[0].y == 16 && p[2].x - p[0].x == 16)
            out.push_back({TShape::Triangle, {p[1].x, p[1].y - 8}});
        else if (p.size() == 5 && p[0] == p[4] && p[1].x - p[0].x == 8 && p[0].y - p[1].y == 8)
            out.push_back({TShape::Diamond, {p[0].x, p[0].y - 8}});
    }
    return out;
}

std::vector<TMarker> MarkersOfShape(const std::vector<TMarker>& all, TShape shape)
{
    std::vector<TMarker> out;
    std::copy_if(all.begin(), all.end(), std::back_inserter(out), [&](const TMarker& m) { return m.shape == shape; });
    return out;
}

// Curves whose highest point lies at a known index: a bump at index peak.
std::vector<double> Bump(int n, int peak, double height)
{
    std::vector<double> y(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        y[static_cast<std::size_t>(i)] = height - std::abs(i - peak) * 0.1;
    return y;
}

// The curve polylines: the ones as long as the data.
std::vector<TCanvasOp> CurveLines(const TRecordingCanvas& canvas, std::size_t n)
{
    std::vector<TCanvasOp> out;
    for (const TCanvasOp& op : canvas.OpsOf(TCanvasOp::Kind::Polyline))
        if (op.points.size() == n)
            out.push_back(op);
    return out;
}

} // namespace

TEST(PlotCurves, PositionsMapRangesOntoThePlotArea)
{
    // y values at the range ends and far outside; x from 20 Hz to 20 kHz.
    std::vector<double> y = {100, 40, 70, 1e30, -1e30};
    TLogPlot t(LogGrid(5, 20, 20000), {y});
    t.Ranges(20, 20000, 40, 100);
    TRecordingCanvas canvas(600, 290);
    t.plot.Paint(canvas);
    auto lines = CurveLines(canvas, 5);
    ASSERT_EQ(lines.size(), 1u);
    const auto& p = lines[0].points;
    EXPECT_EQ(p[0], (TPoint{120, 70}));
    EXPECT_EQ(p[1].y, 440);
    EXPECT_GT(p[1].x, p[0].x);
    EXPECT_EQ(p[2].y, 255);
    EXPECT_EQ(p[3].y, 0) << "log-x plots replace negative positions by 0";
    EXPECT_EQ(p[4], (TPoint{1090, 32767})) << "positions saturate instead of wrapping";
}

TEST(PlotCurves, LinearPlotsKeepNegativePositions)
{
    TLinPlot t({0, 10, 20}, {2, 0, 1e30});
    t.Ranges(0, 20, 0, 1);
    TRecordingCanvas canvas;
    t.plot.Paint(canvas);
    auto lines = CurveLines(canvas, 3);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points[0], (TPoint{120, -300}));
    EXPECT_EQ(lines[0].points[1], (TPoint{605, 440}));
    EXPECT_EQ(lines[0].points[2], (TPoint{1090, -32768}));
}

TEST(PlotCurves, ThickCurveIsDrawnTwiceOneUnitLower)
{
    std::vector<double> x = LogGrid(50, 20, 2000), y(50, 70.0);
    THeadlessHost host;
    TPlotStyles styles;
    TPlotLogXLinY plot(host, "SPL", styles, nullptr, 0, 290, 10, 512);
    plot.SetXData(x.data());
    plot.SetPointCount(50);
    plot.AddCurve(y.data(), kThick, "Total", true);
    plot.FitXRange(0);
    plot.yMinimum = 40;
    plot.yMaximum = 90;
    plot.DataReady();
    TRecordingCanvas canvas;
    plot.Paint(canvas);
    auto lines = CurveLines(canvas, 50);
    ASSERT_EQ(lines.size(), 2u);
    for (std::size_t i = 0; i < 50; ++i) {
        EXPECT_EQ(lines[1].points[i].x, lines[0].points[i].x);
        EXPECT_EQ(lines[1].points[i].y, lines[0].points[i].y + 1);
    }
    EXPECT_EQ(lines[0].pen, kThick);
}

TEST(PlotCurves, CurvesAreDrawnLastAddedFirst)
{
    TLogPlot t(LogGrid(20, 20, 2000), {std::vector<double>(20, 60), std::vector<double>(20, 70),
                                       std::vector<double>(20, 80)});
    t.Ranges(20, 2000, 40, 90);
    TRecordingCanvas canvas;
    t.plot.Paint(canvas);
    auto lines = CurveLines(canvas, 20);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].pen, kBlue);
    EXPECT_EQ(lines[1].pen, kRed);
    EXPECT_EQ(lines[2].pen, kThick);
}

TEST(PlotCurves, ExactlyTwoCurvesCarrySquareAndTriangle)
{
    // Highest points: curve 0 at index 12, curve 1 at index 30.
    TLogPlot t(LogGrid(40, 20, 2000), {Bump(40, 12, 80), Bump(40, 30, 70)});
    t.Ranges(20, 2000, 40, 90);
    TRecordingCanvas canvas;
    t.plot.Paint(canvas);
    auto all = Markers(canvas);
    auto squares = MarkersOfShape(all, TShape::Square), triangles = MarkersOfShape(all, TShape::Triangle);
    ASSERT_EQ(squares.size(), 2u) << "one in the legend, one on the curve";
    ASSERT_EQ(triangles.size(), 2u);
    EXPECT_TRUE(MarkersOfShape(all, TShape::Diamond).empty());
    EXPECT_EQ(squares[0].centre, (TPoint{146, 10}));
    EXPECT_EQ(triangles[0].centre, (TPoint{146, 36}));
    auto lines = CurveLines(canvas, 40); // drawn curve 1 first, then curve 0
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(squares[1].centre, lines[1].points[12]);
    EXPECT_EQ(triangles[1].centre, lines[0].points[30]);
}

TEST(PlotCurves, WithThreeOrMoreCurvesTheFirstHasNoMarker)
{
    TLogPlot t(LogGrid(40, 20, 2000),
               {Bump(40, 5, 85), Bump(40, 15, 80), Bump(40, 25, 75), Bump(40, 35, 70)});
    t.Ranges(20, 2000, 40, 90);
    TRecordingCanvas canvas;
    t.plot.Paint(canvas);
    auto all = Markers(canvas);
    auto squares = MarkersOfShape(all, TShape::Square), triangles = MarkersOfShape(all, TShape::Triangle),
         diamonds = MarkersOfShape(all, TShape::Diamond);
    ASSERT_EQ(squares.size(), 2u);
    ASSERT_EQ(triangles.size(), 2u);
    ASSERT_EQ(diamonds.size(), 2u);
    // Legend: curve 1 in column 0 row 1, curve 2 in column 1 row 0, curve 3 column 1 row 1.
    EXPECT_EQ(squares[0].centre, (TPoint{146, 36}));
    EXPECT_EQ(triangles[0].centre, (TPoint{386, 10}));
    EXPECT_EQ(diamonds[0].centre, (TPoint{386, 36}));
    auto lines = CurveLines(canvas, 40); // curves 3, 2, 1, 0
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(squares[1].centre, lines[2].points[15]);
    EXPECT_EQ(triangles[1].centre, lines[1].points[25]);
    EXPECT_EQ(diamonds[1].centre, lines[0].points[35]);
    // Nothing marks curve 0's top at index 5.
    for (const TMarker& m : all)
        EXPECT_NE(m.centre, lines[3].points[5]);
    // Markers on the curves are drawn in the pen of the last curve drawn, the first one.
    for (const TCanvasOp& op : canvas.OpsOf(TCanvasOp::Kind::Polyline)) {
        if (op.points.size() != 40 && op.points[0].y > 60) {
            EXPECT_EQ(op.pen, kThick);
        }
    }
}

TEST(PlotCurves, MarkerPointSkipsTheFirstPointAndPointsAboveThePlot)
{
    // Point 0 is highest, point 1 lies above the plot area (y position <= 69), point 3
    // is the highest of the rest; when no point qualifies the first point is used.
    TLogPlot t(LogGrid(6, 20, 2000), {{89, 95, 60, 80, 80, 70}, {60, 95, 95, 95, 95, 95}});
    t.Ranges(20, 2000, 40, 90);
    TRecordingCanvas canvas;
    t.plot.Paint(canvas);
    auto lines = CurveLines(canvas, 6);
    ASSERT_EQ(lines.size(), 2u);
    auto squares = MarkersOfShape(Markers(canvas), TShape::Square);
    auto triangles = MarkersOfShape(Markers(canvas), TShape::Triangle);
    ASSERT_EQ(squares.size(), 2u);
    ASSERT_EQ(triangles.size(), 2u);
    EXPECT_EQ(squares[1].centre, lines[1].points[3]) << "first of the tied highest points";
    EXPECT_EQ(triangles[1].centre, lines[0].points[0]) << "all later points above the plot area";
}

TEST(PlotCurves, LegendOnlyWithMoreThanOneCurve)
{
    TLogPlot one(LogGrid(10, 20, 2000), {std::vector<double>(10, 70)});
    one.Ranges(20, 2000, 40, 90);
    TRecordingCanvas canvas;
    one.plot.Paint(canvas);
    EXPECT_FALSE(HasText(canvas, "Curve 0"));
    EXPECT_TRUE(Markers(canvas).empty());
    for (const TSegment& s : Segments(canvas))
        EXPECT_FALSE(s.a == (TPoint{164, 10})) << "no legend sample line";

    TLogPlot two(LogGrid(10, 20, 2000), {std::vector<double>(10, 70), std::vector<double>(10, 60)});
    two.Ranges(20, 2000, 40, 90);
    TRecordingCanvas c2;
    two.plot.Paint(c2);
    auto labels = TextsAt(c2, 240, TAlign::Left | TAlign::Top);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].text, "Curve 0");
    EXPECT_EQ(labels[0].points[0], (TPoint{240, -3}));
    EXPECT_EQ(labels[1].points[0], (TPoint{240, 23}));
    int samples = 0;
    for (const TSegment& s : Segments(c2))
        if ((s.a == TPoint{164, 10} && s.b == TPoint{230, 10} && s.pen == kThick) ||
            (s.a == TPoint{164, 36} && s.b == TPoint{230, 36} && s.pen == kRed))
            ++samples;
    EXPECT_EQ(samples, 2);
}

TEST(PlotCurves, EleventhCurveIsIgnoredAndHiddenCurvesAreNotDrawn)
{
    std::vector<double> x = LogGrid(10, 20, 2000), y(10, 60);
    THeadlessHost host;
    TPlotStyles styles;
    TPlotLogXLinY plot(host, "SPL", styles, nullptr, 0, 290, 10, 512);
    for (int i = 0; i < 11; ++i)
        plot.AddCurve(y.data(), kRed, std::string(60, 'a'), false);
    EXPECT_EQ(plot.CurveCount(), 10);
    EXPECT_EQ(plot.Curve(0).label.size(), 49u);
    plot.SetShownCurves(1);
    plot.SetXData(x.data());
    plot.SetPointCount(10);
    plot.FitXRange(0);
    plot.FitYRange(30);
    plot.DataReady();
    host.ShowView(plot);
    TRecordingCanvas canvas;
    plot.Paint(canvas);
    EXPECT_EQ(CurveLines(canvas, 10).size(), 1u);
}

TEST(PlotCurves, PointCountIsLimitedToTheCapacity)
{
    std::vector<double> x = LogGrid(600, 20, 2000), y(600, 60);
    THeadlessHost host;
    TPlotStyles styles;
    TPlotLogXLinY plot(host, "SPL", styles, nullptr, 0, 290, 10, 512);
    plot.SetXData(x.data());
    plot.SetPointCount(600);
    EXPECT_EQ(plot.PointCount(), 512);
    plot.SetPointCount(-3);
    EXPECT_EQ(plot.PointCount(), 0);
}

TEST(PlotCurves, ClipAndCursorRectanglesTruncatePixels)
{
    struct TCase {
        int w, h;
        TRect clip, cursor;
    };
    const TCase cases[] = {
        {1200, 580, {112, 62, 1105, 444}, {120, 70, 1091, 441}},
        {600, 290, {56, 31, 552, 222}, {60, 35, 545, 220}},
        {777, 333, {72, 35, 715, 254}, {77, 40, 706, 253}},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(TPlotXYEmbryo::ClipRectFor(c.w, c.h), c.clip) << c.w;
        EXPECT_EQ(TPlotXYEmbryo::CursorRectFor(c.w, c.h), c.cursor) << c.w;
    }
    TLogPlot t(LogGrid(10, 20, 2000), {std::vector<double>(10, 70)});
    t.Ranges(20, 2000, 40, 90);
    TRecordingCanvas canvas(600, 290);
    t.plot.Paint(canvas);
    EXPECT_EQ(t.plot.ClipPixels(), (TRect{56, 31, 552, 222}));
    auto clips = canvas.OpsOf(TCanvasOp::Kind::Clip);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0].points[0], (TPoint{112, 62}));
    EXPECT_EQ(clips[0].points[1], (TPoint{1104, 444}));
    auto maps = canvas.OpsOf(TCanvasOp::Kind::Mapping);
    ASSERT_FALSE(maps.empty());
    EXPECT_EQ(canvas.Mapping().logicalW, 1200);
    EXPECT_EQ(canvas.Mapping().deviceW, 600);
}

TEST(PlotCurves, FrameNoteAndCaptions)
{
    TLogPlot t(LogGrid(10, 20, 2000), {std::vector<double>(10, 70)});
    t.plot.SetNote("my note");
    t.Ranges(20, 2000, 40, 90);
    TRecordingCanvas canvas;
    t.plot.Paint(canvas);
    auto rects = canvas.OpsOf(TCanvasOp::Kind::Rectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].points[0], (TPoint{109, 69}));
    EXPECT_EQ(rects[0].points[1], (TPoint{1091, 451}));
    auto notes = TextsAt(canvas, 110, TAlign::Left | TAlign::Top);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].text, "my note");
    EXPECT_EQ(notes[0].points[0].y, 480);
    auto captions = TextsAt(canvas, 98, TAlign::Right | TAlign::Bottom);
    ASSERT_EQ(captions.size(), 1u);
    EXPECT_EQ(captions[0].text, "dB");
    EXPECT_EQ(captions[0].points[0].y, 40);
    EXPECT_TRUE(TextsAt(canvas, 1170, TAlign::Right | TAlign::Top).empty()) << "no zoom indicator";
}

TEST(PlotCurves, WithoutDataOnlyTheBackgroundIsPainted)
{
    TLogPlot t(LogGrid(10, 20, 2000), {std::vector<double>(10, 70)});
    TRecordingCanvas canvas;
    t.plot.Paint(canvas);
    EXPECT_EQ(canvas.OpsOf(TCanvasOp::Kind::FillRect).size(), 1u);
    EXPECT_TRUE(canvas.Texts().empty());
    EXPECT_TRUE(canvas.OpsOf(TCanvasOp::Kind::Polyline).empty());
}

TEST(PlotCurves, PhaseCurveIsDrawnFirstOnItsOwnScale)
{
    std::vector<double> phase = {180, 90, 0, -90, -180};
    TLogPlot t(LogGrid(5, 20, 2000), {std::vector<double>(5, 70)});
    t.plot.SetPhaseCurve(phase.data(), kDot);
    EXPECT_TRUE(t.plot.PhaseShown());
    t.Ranges(20, 2000, 40, 90);
    TRecordingCanvas canvas;
    t.plot.Paint(canvas);
    std::vector<TCanvasOp> afterClip;
    bool clipped = false;
    for (const TCanvasOp& op : canvas.Ops()) {
        if (op.kind == TCanvasOp::Kind::Clip)
            clipped = true;
        else if (clipped && op.kind == TCanvasOp::Kind::Polyline)
            afterClip.push_back(op);
    }
    ASSERT_GE(afterClip.size(), 2u);
    EXPECT_EQ(afterClip[0].pen, kDot);
    std::vector<int> ys;
    for (const TPoint& p : afterClip[0].points)
        ys.push_back(p.y);
    EXPECT_EQ(ys, (std::vector<int>{70, 163, 255, 348, 440}));
    // The phase axis: "deg", ticks and labels from +180 to -180 in steps of 45.
    EXPECT_TRUE(HasText(canvas, "deg"));
    auto labels = TextsAt(canvas, 1100, TAlign::Left | TAlign::Bottom);
    ASSERT_EQ(labels.size(), 9u);
    EXPECT_EQ(labels[0].text, "+180");
    EXPECT_EQ(labels[0].points[0].y, 85);
    EXPECT_EQ(labels[4].text, " +0");
    EXPECT_EQ(labels[8].text, "-180");
    EXPECT_EQ(labels[8].points[0].y, 455);

    t.plot.SetPhaseShown(false);
    TRecordingCanvas hidden;
    t.plot.Paint(hidden);
    EXPECT_FALSE(HasText(hidden, "deg"));
    EXPECT_EQ(CurveLines(hidden, 5).size(), 1u);
}

TEST(PlotCurves, PaintingAllocatesNoNewBuffers)
{
    // The polyline buffer made at creation is reused: its address stays the same and
    // the curve data are read through the caller's arrays, not copies.
    std::vector<double> x = LogGrid(100, 20, 2000), y(100, 60);
    TLogPlot t(x, {y});
    t.Ranges(20, 2000, 40, 90);
    TRecordingCanvas first;
    t.plot.Paint(first);
    t.y[0][50] = 85; // the project changes its array; the next paint shows it
    t.plot.DataReady();
    TRecordingCanvas second;
    t.plot.Paint(second);
    auto a = CurveLines(first, 100), b = CurveLines(second, 100);
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(a[0].points[50].y, 292);
    EXPECT_EQ(b[0].points[50].y, 107);
}
