// The off-axis surface on the recording canvas: hidden parts of rear curves, the flip,
// the axis and ray texts, the window record, and data that gives no range.

#include "PlotTestSupport.h"

#include "core/TBinaryStream.h"
#include "plot/TMultiPlot.h"
#include "settings/TGeneral.h"

#include <gtest/gtest.h>

#include <limits>

using namespace plottest;

namespace {

const TLineStyle kPen{TColors::Black, 1, TDash::Solid};
const TLineStyle kOnAxisPen{TColors::Red, 2, TDash::Solid};
constexpr int kN = 60;

struct TSurface {
    THeadlessHost host;
    TPlotStyles styles;
    TGeneral general;
    std::vector<double> x = LogGrid(kN, 20, 20000);
    std::vector<std::vector<double>> rows;
    TMultiPlot plot{host, "Vertical off axis response, surface plot", styles, kPen, kOnAxisPen, general, x.data(), kN};

    explicit TSurface(std::vector<std::vector<double>> curves) : rows(std::move(curves))
    {
        for (const auto& row : rows)
            plot.AddCurve(row.data(), kPen, "", false);
        host.ShowView(plot);
        plot.xMinimum = 20;
        plot.xMaximum = 20000;
    }
    // Paints with a fixed level range (or the fitted one when span >= 0).
    TRecordingCanvas Paint(double span = -1, double lo = -40, double hi = 30)
    {
        if (span >= 0) {
            plot.FitSurfaceYRange(span);
        } else {
            plot.yMinimum = lo;
            plot.yMaximum = hi;
        }
        plot.DataReady();
        TRecordingCanvas canvas(1200, 580);
        plot.Paint(canvas);
        return canvas;
    }
    int VisibleSegments(int stack) const
    {
        int n = 0;
        for (int c = 0; c + 1 < kN; ++c)
            n += plot.SegmentVisible(stack, c) ? 1 : 0;
        return n;
    }
};

std::vector<double> Flat(double level) { return std::vector<double>(kN, level); }

std::vector<double> Notched(double level, double notch, int from, int to)
{
    std::vector<double> y = Flat(level);
    for (int i = from; i <= to; ++i)
        y[static_cast<std::size_t>(i)] = notch;
    return y;
}

// Every point of every curve polyline (the lines drawn inside the curve clip).
std::vector<TPoint> CurvePoints(const TRecordingCanvas& canvas)
{
    std::vector<TPoint> out;
    for (const TCanvasOp& op : canvas.OpsOf(TCanvasOp::Kind::Polyline))
        out.insert(out.end(), op.points.begin(), op.points.end());
    return out;
}

TEST(SurfacePlot, NearerCurvesHideWhatTheyRiseAbove)
{
    struct TCase {
        const char* name;
        std::vector<std::vector<double>> rows;
        int rearVisible; // segments of the rear curve left
    };
    const TCase cases[] = {
        // 20 dB above is far more than the 15-unit step: nothing of the rear is left.
        {"flat rear behind a higher front", {Flat(0), Flat(20)}, 0},
        // Equal rows: every rear curve sits a step above the one in front, all shown.
        {"all rays equal", {Flat(0), Flat(0)}, kN - 1},
        // A lower front curve never covers.
        {"front below", {Flat(10), Flat(-10)}, kN - 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TSurface s(c.rows);
        const TRecordingCanvas canvas = s.Paint();
        EXPECT_EQ(s.VisibleSegments(0), c.rearVisible);
        EXPECT_EQ(s.VisibleSegments(1), kN - 1); // the front curve is never covered
        // What the canvas got: no point at the rear curve's height when it is hidden.
        const int rearY = s.plot.StackY(0, kN / 2);
        const auto points = CurvePoints(canvas);
        const bool rearDrawn =
            std::any_of(points.begin(), points.end(), [&](const TPoint& p) { return p.y == rearY; });
        EXPECT_EQ(rearDrawn, c.rearVisible > 0);
    }
}

TEST(SurfacePlot, ANotchShowsTheCurveBehindIt)
{
    TSurface s({Flat(0), Notched(20, -40, 25, 34)});
    (void)s.Paint();
    // Well inside the notch the rear shows; away from it the front covers it.
    for (int c = 27; c <= 31; ++c)
        EXPECT_TRUE(s.plot.SegmentVisible(0, c)) << c;
    for (int c : {1, 10, 20, 40, 55})
        EXPECT_FALSE(s.plot.SegmentVisible(0, c)) << c;
    // Three curves: the middle one covers the rear one outside its own notch only.
    TSurface t({Flat(0), Notched(20, -40, 25, 34), Flat(-30)});
    (void)t.Paint();
    EXPECT_TRUE(t.plot.SegmentVisible(0, 29));
    EXPECT_FALSE(t.plot.SegmentVisible(0, 10));
}

TEST(SurfacePlot, FlipReversesTheStackAndTheRayLabels)
{
    for (const bool flip : {false, true}) {
        SCOPED_TRACE(flip);
        TSurface s({Flat(0), Flat(10)});
        ASSERT_EQ(s.general.AddSurfaceRay(10), TRayChange::Done);
        s.general.SetFlipUpDown(flip);
        const TRecordingCanvas canvas = s.Paint(-1, -20, 20);
        const double scale = 370.0 / 40.0 * 0.7;
        // Unflipped curve i sits at 85 + 15 i; flipped, the last curve comes first at 70.
        const int first = flip ? 1 : 0;
        EXPECT_EQ(s.plot.CurveAtStack(0), first);
        const double level0 = flip ? 10 : 0, level1 = flip ? 0 : 10;
        const int base = flip ? 70 : 85;
        EXPECT_EQ(s.plot.StackY(0, 3), static_cast<int>(std::floor((20 - level0) * scale + 0.5)) + base);
        EXPECT_EQ(s.plot.StackY(1, 3), static_cast<int>(std::floor((20 - level1) * scale + 0.5)) + base + 15);
        // Rays descend: +10 then 0; flipped they read upwards.
        const auto labels = TextsAt(canvas, 70, TAlign::Center | TAlign::Top);
        ASSERT_EQ(labels.size(), 2u);
        EXPECT_EQ(labels[0].text, "+10");
        EXPECT_EQ(labels[1].text, "0");
        EXPECT_EQ(labels[0].points[0].y, flip ? 95 : 70);
        EXPECT_EQ(labels[1].points[0].y, flip ? 70 : 95);
    }
}

TEST(SurfacePlot, AxisCaptionsNoteAndRayLabels)
{
    TSurface s({Flat(0), Flat(0), Flat(0)});
    for (int a : {10, -10})
        ASSERT_EQ(s.general.AddSurfaceRay(a), TRayChange::Done);
    s.plot.SetNote("listening window");
    TRecordingCanvas canvas = s.Paint(30);
    // Three decades: the first label carries the unit, then 1 and 5 of each decade.
    const auto ticks = TextsAt(canvas, -1, TAlign::Center | TAlign::Top);
    std::vector<std::string> xLabels;
    for (const TCanvasOp& op : ticks)
        if (op.points[0].y == 454)
            xLabels.push_back(op.text);
    EXPECT_EQ(xLabels, (std::vector<std::string>{"20 Hz", "50", "100", "500", "1000", "5000", "10000"}));
    ASSERT_EQ(TextsAt(canvas, 98, TAlign::Right | TAlign::Bottom).size(), 1u);
    EXPECT_EQ(TextsAt(canvas, 98, TAlign::Right | TAlign::Bottom)[0].text, "dB");
    EXPECT_EQ(TextsAt(canvas, 1106, TAlign::Right | TAlign::Bottom)[0].text, "Hz");
    EXPECT_EQ(TextsAt(canvas, 110, TAlign::Left | TAlign::Top)[0].text, "listening window");
    const auto rays = TextsAt(canvas, 70, TAlign::Center | TAlign::Top);
    ASSERT_EQ(rays.size(), 3u);
    EXPECT_EQ(rays[0].text, "+10");
    EXPECT_EQ(rays[1].text, "0");
    EXPECT_EQ(rays[2].text, "-10");
    // The on-axis curve has its own pen; hidden, the ray loses its label.
    bool onAxisPen = false;
    for (const TCanvasOp& op : canvas.OpsOf(TCanvasOp::Kind::Polyline))
        onAxisPen = onAxisPen || op.pen.color == kOnAxisPen.color;
    EXPECT_TRUE(onAxisPen);
    s.general.SetHideOnAxis(true);
    canvas = s.Paint(30);
    EXPECT_EQ(TextsAt(canvas, 70, TAlign::Center | TAlign::Top).size(), 2u);
    s.general.SetInhibit(true);
    canvas = s.Paint(30);
    EXPECT_TRUE(TextsAt(canvas, 70, TAlign::Center | TAlign::Top).empty());
}

TEST(SurfacePlot, CurveCountAndPageKeys)
{
    std::vector<std::vector<double>> rows(18, Flat(0));
    TSurface s(rows);
    EXPECT_EQ(s.plot.CurveCount(), 17); // the 18th is ignored
    (void)s.Paint();
    s.plot.KeyPress(TKey::PageUp);
    EXPECT_EQ(s.plot.Selected(), 0);
    for (int i = 0; i < 20; ++i)
        s.plot.KeyPress(TKey::PageDown);
    EXPECT_EQ(s.plot.Selected(), 16);
    s.plot.KeyPress(TKey::PageUp);
    EXPECT_EQ(s.plot.Selected(), 15);
}

TEST(SurfacePlot, RecordRoundTripAndCutRecord)
{
    TSurface a({Flat(0)});
    a.plot.SetNote("surface note");
    TBinaryWriter out;
    a.plot.WriteWindowRecord(out);
    ASSERT_EQ(out.Size(), 70u);
    TSurface b({Flat(0)});
    TBinaryReader in(out.Bytes());
    ASSERT_TRUE(b.plot.ReadWindowRecord(in));
    EXPECT_EQ(b.plot.Note(), "surface note");
    std::vector<std::uint8_t> cut(out.Bytes().begin(), out.Bytes().end() - 1);
    TSurface c({Flat(0)});
    TBinaryReader shortIn(cut);
    EXPECT_FALSE(c.plot.ReadWindowRecord(shortIn));
    EXPECT_EQ(c.plot.Note(), "");
}

TEST(SurfacePlot, EmptyConstantAndBrokenRowsPaintSafely)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> broken = Flat(nan);
    broken[5] = inf;
    struct TCase {
        const char* name;
        std::vector<std::vector<double>> rows;
    };
    const TCase cases[] = {
        {"no curves", {}},
        {"constant rows", {Flat(5), Flat(5), Flat(5)}},
        {"not finite", {broken, Flat(-300)}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (double span : {0.0, 30.0}) {
            TSurface s(c.rows);
            const TRecordingCanvas canvas = s.Paint(span);
            EXPECT_TRUE(std::isfinite(s.plot.yMinimum));
            EXPECT_TRUE(std::isfinite(s.plot.yMaximum));
            EXPECT_LT(s.plot.yMinimum, s.plot.yMaximum);
            for (const TPoint& p : CurvePoints(canvas))
                EXPECT_TRUE(p.y >= -32768 && p.y <= 32767);
        }
    }
    // A window without data paints only its background.
    TSurface empty({Flat(0)});
    TRecordingCanvas canvas(1200, 580);
    empty.plot.Paint(canvas);
    EXPECT_TRUE(canvas.Texts().empty());
}

} // namespace
