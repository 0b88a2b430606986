// The information window: report buffer, column layout, blocks in project files,
// clipboard text and the printed page.

#include "plot/TBoxPicture.h"
#include "plot/TInfoWin.h"
#include "plot/TSafeFormat.h"
#include "ui/THeadlessHost.h"
#include "ui/TRecordingCanvas.h"

#include <gtest/gtest.h>

namespace {

struct TDrawn {
    std::string text;
    TPoint at;
    TFontSpec font;
};

std::vector<TDrawn> ReportTexts(const TRecordingCanvas& canvas)
{
    std::vector<TDrawn> out;
    for (const TCanvasOp& op : canvas.OpsOf(TCanvasOp::Kind::Text))
        out.push_back({op.text, op.points[0], op.font});
    return out;
}

const TDrawn* Find(const std::vector<TDrawn>& texts, const std::string& text)
{
    for (const TDrawn& t : texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

// Horizontal rules drawn (MoveTo then LineTo on one height).
std::vector<std::pair<TPoint, TPoint>> Rules(const TRecordingCanvas& canvas)
{
    std::vector<std::pair<TPoint, TPoint>> out;
    TPoint at;
    for (const TCanvasOp& op : canvas.Ops()) {
        if (op.kind == TCanvasOp::Kind::MoveTo)
            at = op.points[0];
        else if (op.kind == TCanvasOp::Kind::LineTo && op.points[0].y == at.y && op.points[0].x - at.x == 280)
            out.push_back({at, op.points[0]});
    }
    return out;
}

constexpr int kStart = TBoxPicture::kHeight + 70;

} // namespace

TEST(InfoWin, LinesAreLaidOutAtTabStopsByClass)
{
    THeadlessHost host;
    TInfoWin info(host);
    info.Clear();
    info.SetPicture(210);
    info.SetTitle("CLOSED BOX");
    info.AppendLine("Box");
    info.AppendLine(" a\tb\tc");
    info.AppendLine("  sub\tv");
    TRecordingCanvas canvas(600, 500);
    info.Paint(canvas);
    auto texts = ReportTexts(canvas);
    const TDrawn* title = Find(texts, "CLOSED BOX");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->at, (TPoint{300, 1}));
    EXPECT_TRUE(title->font.bold);
    EXPECT_EQ(title->font.family, "Times New Roman");
    // A title wider than twice its centre starts at the report's first column.
    const std::string wide = "DOUBLE TUNED BASSREFLEX BOX 1";
    info.SetTitle(wide);
    TRecordingCanvas wideCanvas(600, 500);
    info.Paint(wideCanvas);
    const std::vector<TDrawn> wideTexts = ReportTexts(wideCanvas);
    const TDrawn* moved = Find(wideTexts, wide);
    ASSERT_NE(moved, nullptr);
    const int width = static_cast<int>(wide.size()) * moved->font.height / 2; // the recording canvas's measure
    EXPECT_EQ(moved->at.x, 10 + width / 2);
    EXPECT_GT(moved->at.x, 300);
    info.SetTitle("CLOSED BOX");
    const TDrawn* heading = Find(texts, "Box");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->at, (TPoint{10, kStart + 4}));
    EXPECT_TRUE(heading->font.bold);
    int itemY = kStart + 4 + heading->font.height;
    const TDrawn *a = Find(texts, " a"), *b = Find(texts, "b"), *c = Find(texts, "c");
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->at, (TPoint{10, itemY}));
    EXPECT_EQ(b->at, (TPoint{90, itemY}));
    EXPECT_EQ(c->at, (TPoint{160, itemY}));
    EXPECT_FALSE(a->font.bold);
    const TDrawn* sub = Find(texts, "  sub");
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->at.y, itemY + a->font.height);
    // Rules: above the heading, and closing the column under the last line.
    auto rules = Rules(canvas);
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0].first, (TPoint{5, kStart + 2}));
    EXPECT_EQ(rules[1].first.y, sub->at.y + sub->font.height + 2);
}

TEST(InfoWin, LongPiecePushesTheNextOneAlong)
{
    THeadlessHost host;
    TInfoWin info(host);
    info.AppendLine(" A label far too long\tvalue");
    TRecordingCanvas canvas(600, 500);
    info.Paint(canvas);
    auto texts = ReportTexts(canvas);
    const TDrawn *label = Find(texts, " A label far too long"), *value = Find(texts, "value");
    ASSERT_TRUE(label && value);
    EXPECT_GE(value->at.x, label->at.x + canvas.TextWidth(label->text));
}

TEST(InfoWin, RoomAndCabinetStartsTheSecondColumn)
{
    THeadlessHost host;
    TInfoWin info(host);
    info.AppendLine("Room and Cabinet settings");
    info.AppendLine(" Room\t5 m");
    TRecordingCanvas canvas(600, 500);
    info.Paint(canvas);
    auto texts = ReportTexts(canvas);
    const TDrawn* first = Find(texts, "Room and Cabinet settings");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->at, (TPoint{290, kStart + 4})) << "directly in the second column";
    EXPECT_EQ(Rules(canvas).size(), 2u) << "no closing rule for the empty first column";

    info.Clear();
    info.AppendLine("Box");
    info.AppendLine(" Vol\t\t20 l");
    info.AppendLine("Room and Cabinet");
    TRecordingCanvas c2(600, 500);
    info.Paint(c2);
    auto t2 = ReportTexts(c2);
    const TDrawn* room = Find(t2, "Room and Cabinet");
    const TDrawn* vol = Find(t2, "20 l");
    ASSERT_TRUE(room && vol);
    EXPECT_EQ(room->at, (TPoint{290, kStart + 4}));
    EXPECT_EQ(vol->at.x, 10 + 150);
    auto rules = Rules(c2);
    ASSERT_EQ(rules.size(), 4u); // heading, first column closed, heading, second column closed
    EXPECT_EQ(rules[1].first.x, 5);
    EXPECT_EQ(rules[2].first.x, 285);
}

TEST(InfoWin, BufferNeverOverruns)
{
    THeadlessHost host;
    TInfoWin info(host);
    std::string line(99, 'x');
    int kept = 0;
    for (int i = 0; i < 200; ++i)
        kept += info.AppendLine(line) ? 1 : 0;
    EXPECT_EQ(kept, 9999 / 101);
    EXPECT_LE(info.Text().size(), TInfoWin::kTextSize - 1);
    EXPECT_EQ(info.Text().substr(info.Text().size() - 2), "\r\n") << "a cut line still ends";
    EXPECT_FALSE(info.Append("more"));
    EXPECT_FALSE(info.AppendFormattedLine(" %3.2f", 1.0));
    info.Clear();
    EXPECT_FALSE(info.Append(std::string(20000, 'y')));
    EXPECT_EQ(info.Text().size(), TInfoWin::kTextSize - 1);
    TRecordingCanvas canvas(600, 500);
    info.Paint(canvas); // one overlong line paints without trouble
    info.Clear();
    EXPECT_TRUE(info.Text().empty());
    EXPECT_EQ(info.ReportTitle(), "");
}

TEST(InfoWin, FormattedAppendsOfReportWriters)
{
    struct TCase {
        const char* format;
        double real;
        long integer;
        bool useInteger;
        const char* expected;
    };
    const TCase cases[] = {
        {" Vol\t\t%3.2f l", 21.456, 0, false, " Vol\t\t21.46 l"},
        {" Fill\t\t%d %", 0, 50, true, " Fill\t\t50 %"},
        {" # drivers\t%ld", 0, 2, true, " # drivers\t2"},
        {" odd %s here", 1.5, 0, false, " odd %s here"},
        {"%d and %d", 0, 7, true, "7 and %d"},
        {"100%% sure %3.1f", 2.25, 0, false, "100% sure 2.2"},
        {"%d as int", 3.9, 0, false, "3 as int"},
        {"%5.1f", 0, 4, true, "  4.0"},
        {"%", 1, 0, false, "%"},
    };
    for (const TCase& c : cases) {
        std::string got = c.useInteger ? SafeFormat(c.format, c.integer) : SafeFormat(c.format, c.real);
        EXPECT_EQ(got, c.expected) << c.format;
    }
    THeadlessHost host;
    TInfoWin info(host);
    EXPECT_TRUE(info.AppendFormatted(" Qb\t\t%3.1f", 7.04));
    EXPECT_TRUE(info.AppendFormattedLine("", 0));
    EXPECT_TRUE(info.AppendFormattedLine(" N %d", 3));
    EXPECT_EQ(info.Text(), " Qb\t\t7.0\r\n N 3\r\n");
    EXPECT_FALSE(info.AppendFormatted("%1.0f", 1e300)) << "the 100-character buffer cuts";
}

TEST(InfoWin, ClipboardText)
{
    THeadlessHost host;
    TInfoWin info(host);
    info.SetTitle("BASS REFLEX");
    info.AppendLine("Box");
    EXPECT_EQ(info.ClipboardText(), "\tBASS REFLEX\r\nBox\r\n");
    info.SetNotes("tuned low");
    EXPECT_EQ(info.ClipboardText(), "\tBASS REFLEX\r\nBox\r\n\r\nUser notes :\r\ntuned low");
    info.Copy();
    EXPECT_EQ(host.ClipboardText(), info.ClipboardText());
    info.Append(std::string(20000, 'z'));
    EXPECT_EQ(info.ClipboardText().size(), TInfoWin::kClipboardSize - 1);
}

TEST(InfoWin, PlacementBlockIsSixHundredTwentyBytes)
{
    THeadlessHost host;
    TInfoWin info(host);
    info.placement.show = TShowState::Normal;
    info.placement.restored = TRect{5, 6, 605, 506};
    info.SetNotes(std::string(700, 'q'));
    EXPECT_EQ(info.Notes().size(), 599u);
    TBinaryWriter out;
    info.SavePlacement(out);
    ASSERT_EQ(out.Size(), 620u);
    EXPECT_EQ(out.Bytes()[12], 5);
    EXPECT_EQ(out.Bytes()[20], 'q');
    EXPECT_EQ(out.Bytes()[619], 0);

    TInfoWin back(host);
    TBinaryReader in(out.Bytes());
    ASSERT_TRUE(back.LoadPlacement(in));
    EXPECT_EQ(back.Notes(), info.Notes());
    EXPECT_EQ(back.placement.restored, (TRect{5, 6, 605, 506}));

    std::vector<std::uint8_t> shorter(out.Bytes().begin(), out.Bytes().begin() + 400);
    TInfoWin other(host);
    other.SetNotes("mine");
    TBinaryReader in2(shorter);
    EXPECT_FALSE(other.LoadPlacement(in2));
    EXPECT_EQ(other.Notes(), "mine");
}

TEST(InfoWin, StateBlock)
{
    THeadlessHost host;
    TInfoWin info(host);
    TBinaryWriter w;
    info.SaveState(w);
    ASSERT_EQ(w.Size(), 1u);
    EXPECT_EQ(w.Bytes()[0], 0);
    TBinaryReader one(std::vector<std::uint8_t>{1});
    ASSERT_TRUE(info.LoadState(one));
    EXPECT_TRUE(info.IsMinimised());
    TBinaryWriter w2;
    info.SaveState(w2);
    EXPECT_EQ(w2.Bytes()[0], 1);
    TBinaryReader zero(std::vector<std::uint8_t>{0});
    ASSERT_TRUE(info.LoadState(zero));
    EXPECT_FALSE(info.IsMinimised());
    TBinaryReader none(std::vector<std::uint8_t>{});
    EXPECT_FALSE(info.LoadState(none));
    EXPECT_FALSE(info.IsMinimised());
}

TEST(InfoWin, PrintedPage)
{
    THeadlessHost host;
    TInfoWin info(host);
    info.Print();
    EXPECT_TRUE(host.PrintJobs().empty()) << "empty report";
    info.SetTitle("CLOSED BOX");
    info.AppendLine("Box");
    info.AppendLine(" Vol\t\t20 l");
    info.SetNotes(std::string(40, 'w') + " " + std::string(40, 'v') + " end");
    TRecordingCanvas page(2480, 3508);
    host.SetPrintCanvas([&](int) { return &page; });
    info.Print();
    ASSERT_EQ(host.PrintJobs().size(), 1u);
    EXPECT_EQ(host.PrintJobs()[0].name, "Tonvek print job");
    EXPECT_EQ(page.Mapping().logicalW, 660);
    EXPECT_NEAR(page.Mapping().logicalH, 660.0 * 3508 / 2480, 1e-9);
    auto texts = ReportTexts(page);
    const TDrawn* box = Find(texts, "Box");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->at.x, 50);
    ASSERT_NE(Find(texts, "User notes"), nullptr);
    ASSERT_NE(Find(texts, std::string(40, 'w')), nullptr) << "the notes are wrapped at blanks";
    bool date = false;
    for (const TCanvasOp& op : page.OpsOf(TCanvasOp::Kind::Text))
        date |= op.points[0] == TPoint{600, 30} && op.text.size() == 24;
    EXPECT_TRUE(date);

    info.placement.show = TShowState::Minimised;
    info.Print();
    EXPECT_EQ(host.PrintJobs().size(), 1u) << "nothing while minimised";
}

TEST(InfoWin, ScrollingStaysOnThePage)
{
    THeadlessHost host;
    TInfoWin info(host);
    TRecordingCanvas canvas(600, 500);
    info.Paint(canvas);
    info.KeyPress(TKey::End);
    EXPECT_EQ(info.ScrollY(), 50);
    for (int i = 0; i < 20; ++i)
        info.KeyPress(TKey::Right);
    EXPECT_EQ(info.ScrollX(), 18) << "(780 - 600) / 10 steps";
    info.KeyPress(TKey::Home);
    EXPECT_EQ(info.ScrollY(), 0);
    info.ScrollTo(5, 5, 800, 1200);
    EXPECT_EQ(info.ScrollX(), 0) << "a window larger than the page does not scroll";
    EXPECT_EQ(info.ScrollY(), 0);
}

TEST(InfoWin, EveryBoxTypeHasAPictureInsideItsArea)
{
    for (int id = 200; id <= 212; ++id) {
        TRecordingCanvas canvas;
        TBoxPicture::Draw(canvas, id, 100, 50);
        bool drawn = canvas.Ops().size() > 1; // beyond the canvas's own mapping
        EXPECT_EQ(drawn, TBoxPicture::Exists(id)) << id;
        for (const TCanvasOp& op : canvas.Ops())
            for (const TPoint& p : op.points)
                if (op.kind != TCanvasOp::Kind::Text) {
                    EXPECT_GE(p.x, 100) << id;
                    EXPECT_LE(p.x, 100 + TBoxPicture::kWidth) << id;
                    EXPECT_GE(p.y, 50) << id;
                    EXPECT_LE(p.y, 50 + TBoxPicture::kHeight) << id;
                }
    }
    int pictures = 0;
    for (int id = 201; id <= 211; ++id)
        pictures += TBoxPicture::Exists(id);
    EXPECT_EQ(pictures, 10);
}
