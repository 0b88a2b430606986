// The window side of a plot: records in project files, note, default size, hiding,
// redraw, copy and print through the host.

#include "PlotTestSupport.h"
#include "plot/TPrintDate.h"
#include "ui/TCommandIds.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace plottest;

namespace {
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) { return std::uint16_t(b[at] | (b[at + 1] << 8)); }

class TFailingCopyHost : public THeadlessHost {
public:
    bool CopyViewPicture(TWindowModel&) override { return false; }
};
} // namespace

TEST(PlotWindow, StartsMinimisedWithTheDefaultSize)
{
    THeadlessHost host;
    TPlotStyles styles;
    TPlotLinXLinY plot(host, "Impulse response", styles, nullptr, 0, 290, 10, 8192);
    EXPECT_TRUE(host.HasView(plot));
    EXPECT_EQ(plot.placement.show, TShowState::Minimised);
    EXPECT_EQ(plot.Title(), "Impulse response");
    EXPECT_EQ(plot.DefaultWidth(), 600);
    EXPECT_EQ(plot.DefaultHeight(), 290);
    EXPECT_FALSE(plot.HasData());
    EXPECT_EQ(plot.Note(), "");
}

TEST(PlotWindow, RecordIsSeventyBytesLaidOutAsStored)
{
    TLogPlot t(LogGrid(4, 20, 2000), {std::vector<double>(4, 1)});
    t.plot.placement.show = TShowState::Normal;
    t.plot.placement.restored = TRect{10, 20, 610, 310};
    t.plot.SetNote("Port tuned to 38 Hz");
    TBinaryWriter out;
    t.plot.WriteWindowRecord(out);
    const auto& b = out.Bytes();
    ASSERT_EQ(b.size(), 70u);
    EXPECT_EQ(U16(b, 2), 1); // shown normally
    EXPECT_EQ(U16(b, 4), 0xFFFF);
    EXPECT_EQ(U16(b, 12), 10);
    EXPECT_EQ(U16(b, 14), 20);
    EXPECT_EQ(U16(b, 16), 610);
    EXPECT_EQ(U16(b, 18), 310);
    EXPECT_EQ(std::memcmp(&b[20], "Port tuned to 38 Hz", 19), 0);
    for (std::size_t i = 39; i < 70; ++i)
        EXPECT_EQ(b[i], 0) << i;

    TLogPlot back(LogGrid(4, 20, 2000), {std::vector<double>(4, 1)});
    TBinaryReader in(b);
    ASSERT_TRUE(back.plot.ReadWindowRecord(in));
    EXPECT_EQ(back.plot.Note(), "Port tuned to 38 Hz");
    EXPECT_EQ(back.plot.placement.show, TShowState::Normal);
    EXPECT_EQ(back.plot.placement.restored, (TRect{10, 20, 610, 310}));
    EXPECT_TRUE(back.host.HasView(back.plot));
    TBinaryWriter again;
    back.plot.WriteWindowRecord(again);
    EXPECT_EQ(again.Bytes(), b) << "a record read is written back unchanged";
}

TEST(PlotWindow, ForeignValuesAreKeptAndBadOnesNotApplied)
{
    // Flags and positions we do not use survive a round trip; a minimised show code
    // of another kind still minimises; an inverted rectangle is not applied.
    TBinaryWriter w;
    for (std::int16_t v : {2, 7, 100, 200, -4, -4, 300, 300, 10, 10})
        w.WriteInt16(v);
    w.WriteText("x", 50);
    TLogPlot t(LogGrid(4, 20, 2000), {std::vector<double>(4, 1)});
    TRect before = t.plot.placement.restored;
    TBinaryReader in(w.Bytes());
    ASSERT_TRUE(t.plot.ReadWindowRecord(in));
    EXPECT_EQ(t.plot.placement.show, TShowState::Minimised);
    EXPECT_EQ(t.plot.placement.restored, before);
    TBinaryWriter out;
    t.plot.WriteWindowRecord(out);
    EXPECT_EQ(U16(out.Bytes(), 0), 2);
    EXPECT_EQ(U16(out.Bytes(), 4), 100);
    EXPECT_EQ(U16(out.Bytes(), 6), 200);
}

TEST(PlotWindow, IncompleteNoteFailsAndChangesNothing)
{
    TLogPlot t(LogGrid(4, 20, 2000), {std::vector<double>(4, 1)});
    t.plot.SetNote("kept");
    for (std::size_t size : {0u, 10u, 20u, 69u}) {
        TBinaryWriter w;
        for (std::int16_t v : {0, 1, 0, 0, 0, 0, 5, 5, 405, 205})
            w.WriteInt16(v);
        w.WriteText("new note", 50);
        std::vector<std::uint8_t> bytes(w.Bytes().begin(), w.Bytes().begin() + static_cast<long>(size));
        TBinaryReader in(bytes);
        EXPECT_FALSE(t.plot.ReadWindowRecord(in)) << size;
        EXPECT_EQ(t.plot.Note(), "kept");
        EXPECT_EQ(t.plot.placement.show, TShowState::Normal) << "the placement is not applied";
    }
}

TEST(PlotWindow, StoredNoteIsCutToFortyNineCharacters)
{
    TBinaryWriter w;
    for (int i = 0; i < 10; ++i)
        w.WriteInt16(0);
    std::string full(50, 'n'); // no terminator in the field
    w.WriteBytes(full.data(), 50);
    TLogPlot t(LogGrid(4, 20, 2000), {std::vector<double>(4, 1)});
    TBinaryReader in(w.Bytes());
    ASSERT_TRUE(t.plot.ReadWindowRecord(in));
    EXPECT_EQ(t.plot.Note(), std::string(49, 'n'));
}

TEST(PlotWindow, EditNoteAsksForTheNoteAndRedraws)
{
    TLogPlot t(LogGrid(4, 20, 2000), {std::vector<double>(4, 1)});
    int redraws = t.host.Redraws(t.plot);
    t.host.QueueInput(std::string(70, 'a'));
    ASSERT_TRUE(t.plot.HandleCommand(TCmd::UserNote));
    EXPECT_EQ(t.plot.Note(), std::string(49, 'a'));
    EXPECT_EQ(t.host.Redraws(t.plot), redraws + 1);
    t.host.QueueInput(std::nullopt);
    t.plot.EditNote();
    EXPECT_EQ(t.plot.Note(), std::string(49, 'a')) << "cancel keeps the note";
    t.plot.ResetPlot();
    EXPECT_EQ(t.plot.Note(), "");
    EXPECT_EQ(t.plot.placement.show, TShowState::Minimised);
}

TEST(PlotWindow, CloseHidesAndAsksForARefresh)
{
    TLogPlot t(LogGrid(4, 20, 2000), {std::vector<double>(4, 1)});
    int refreshes = 0;
    t.plot.onRefreshRequest = [&] { ++refreshes; };
    EXPECT_FALSE(t.plot.CloseRequested());
    EXPECT_EQ(t.plot.placement.show, TShowState::Hidden);
    EXPECT_TRUE(t.host.HasView(t.plot));
    EXPECT_EQ(refreshes, 1);
}

TEST(PlotWindow, DefaultSizeKeepsThePositionUnlessMinimisedOrMaximised)
{
    TLogPlot t(LogGrid(4, 20, 2000), {std::vector<double>(4, 1)});
    int refreshes = 0;
    t.plot.onRefreshRequest = [&] { ++refreshes; };
    t.plot.placement.restored = TRect{30, 40, 930, 640};
    ASSERT_TRUE(t.plot.HandleCommand(TCmd::DefaultSize));
    EXPECT_EQ(t.plot.placement.restored, (TRect{30, 40, 630, 330}));
    EXPECT_EQ(refreshes, 1);
    for (TShowState state : {TShowState::Minimised, TShowState::Maximised}) {
        t.plot.placement.show = state;
        t.plot.placement.restored = TRect{0, 0, 800, 800};
        t.plot.RestoreDefaultSize();
        EXPECT_EQ(t.plot.placement.restored, (TRect{0, 0, 800, 800}));
    }
    EXPECT_EQ(refreshes, 1);
}

TEST(PlotWindow, RedrawDoesNothingWhileMinimised)
{
    THeadlessHost host;
    TPlotStyles styles;
    TPlotLinXLinY plot(host, "Step response", styles, nullptr, 0, 290, 10, 8192);
    plot.Redraw();
    EXPECT_EQ(host.Redraws(plot), 0);
    host.ShowView(plot);
    plot.Redraw();
    EXPECT_EQ(host.Redraws(plot), 1);
}

TEST(PlotWindow, CopyReportsOutOfMemory)
{
    TFailingCopyHost host;
    TPlotStyles styles;
    TPlotLinXLinY plot(host, "Step response", styles, nullptr, 0, 290, 10, 8192);
    plot.CopyWindow();
    ASSERT_NE(host.LastMessage(), nullptr);
    EXPECT_EQ(host.LastMessage()->text, "Out of memory");
    EXPECT_EQ(host.LastMessage()->title, "Copy window");
    EXPECT_EQ(host.LastMessage()->icon, TMsgIcon::Warning);

    THeadlessHost fine;
    TPlotLinXLinY other(fine, "Step response", styles, nullptr, 0, 290, 10, 8192);
    ASSERT_TRUE(other.HandleCommand(TCmd::CopyWindow));
    EXPECT_EQ(fine.PicturesCopied(), 1);
    EXPECT_TRUE(fine.Messages().empty());
}

TEST(PlotWindow, PrintsOnePageWithTitleDateAndCurves)
{
    TLogPlot t(LogGrid(20, 20, 2000), {std::vector<double>(20, 70)});
    t.Ranges(20, 2000, 40, 90);
    TRecordingCanvas page(2480, 3508);
    t.host.SetPrintCanvas([&](int) { return &page; });
    int redraws = t.host.Redraws(t.plot);
    ASSERT_TRUE(t.plot.HandleCommand(TCmd::PrintWindow));
    ASSERT_EQ(t.host.PrintJobs().size(), 1u);
    EXPECT_EQ(t.host.PrintJobs()[0].name, "Tonvek print job");
    EXPECT_EQ(t.host.PrintJobs()[0].pages, 1);
    EXPECT_EQ(t.host.Redraws(t.plot), redraws + 1) << "the window is redrawn afterwards";
    // The page mapping: s = min(2480 / 1200, 3508 / 580).
    const double s = 2480.0 / 1200;
    EXPECT_NEAR(page.Mapping().deviceX, 0.1 * s * 1200, 1e-9);
    EXPECT_NEAR(page.Mapping().deviceY, 0.25 * s * 580, 1e-9);
    EXPECT_NEAR(page.Mapping().deviceW, 0.8 * s * 1200, 1e-9);
    EXPECT_NEAR(page.Mapping().deviceH, 0.8 * s * 580, 1e-9);
    auto title = TextsAt(page, 600, TAlign::Center | TAlign::Bottom);
    ASSERT_EQ(title.size(), 1u);
    EXPECT_EQ(title[0].text, "Free air SPL at 1m distance");
    EXPECT_EQ(title[0].points[0].y, -58);
    EXPECT_EQ(title[0].font.height, 40);
    auto date = TextsAt(page, 1140, TAlign::Right | TAlign::Bottom);
    ASSERT_EQ(date.size(), 1u);
    EXPECT_EQ(date[0].text.size(), 24u) << date[0].text;
    auto clips = page.OpsOf(TCanvasOp::Kind::Clip);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0].points[0], (TPoint{112, 62}));
    EXPECT_EQ(clips[0].points[1], (TPoint{1103, 442}));
    bool curve = false;
    for (const TCanvasOp& op : page.OpsOf(TCanvasOp::Kind::Polyline))
        curve |= op.points.size() == 20;
    EXPECT_TRUE(curve);
}

TEST(PlotWindow, NothingIsPrintedWhenMinimisedWithoutDataOrCancelled)
{
    TLogPlot t(LogGrid(20, 20, 2000), {std::vector<double>(20, 70)});
    t.plot.PrintPlot();
    EXPECT_TRUE(t.host.PrintJobs().empty()) << "no data";
    t.Ranges(20, 2000, 40, 90);
    t.host.SetPrintConfirmed(false);
    int redraws = t.host.Redraws(t.plot);
    t.plot.PrintPlot();
    EXPECT_TRUE(t.host.PrintJobs().empty()) << "cancelled";
    EXPECT_EQ(t.host.Redraws(t.plot), redraws);
    t.host.SetPrintConfirmed(true);
    t.plot.placement.show = TShowState::Minimised;
    t.plot.PrintPlot();
    EXPECT_TRUE(t.host.PrintJobs().empty()) << "minimised";
}

TEST(PlotWindow, PrintDateHasTheFixedForm)
{
    // 1999-11-19 10:15:38 local time.
    std::tm t{};
    t.tm_year = 99;
    t.tm_mon = 10;
    t.tm_mday = 19;
    t.tm_hour = 10;
    t.tm_min = 15;
    t.tm_sec = 38;
    t.tm_isdst = -1;
    EXPECT_EQ(FormatPrintDate(std::mktime(&t)), "Fri Nov 19 10:15:38 1999");
    t.tm_mday = 5;
    EXPECT_EQ(FormatPrintDate(std::mktime(&t)), "Fri Nov  5 10:15:38 1999");
}

TEST(PlotWindow, OtherCommandsAreNotTaken)
{
    TLogPlot t(LogGrid(4, 20, 2000), {std::vector<double>(4, 1)});
    EXPECT_FALSE(t.plot.HandleCommand(TCmd::Save));
}
