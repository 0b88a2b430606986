// The schematic windows: every branch type of both network kinds, with one and with four
// drivers in every connection, draws inside the page without one text box touching
// another; the advanced window's record keeps its bytes and refuses a cut; the window
// scrolls, beeps on close and routes its commands.
#include "NetATestSupport.h"

#include "core/TBinaryStream.h"
#include "filter/TDrawingWin.h"
#include "filter/TXover.h"
#include "ui/TCommandIds.h"
#include "ui/THeadlessHost.h"
#include "ui/TRecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace netatest;

namespace {

struct TBench {
    explicit TBench(int creation) : project(host, context, creation) {}
    THeadlessHost host;
    TProgramContext context;
    TXover project;
};

struct TBox {
    int left, top, right, bottom;
    std::string text;
};

// The text boxes of a recording, as the recording canvas measures text.
std::vector<TBox> TextBoxes(const TRecordingCanvas& canvas)
{
    std::vector<TBox> boxes;
    int height = 30;
    for (const TCanvasOp& op : canvas.Ops()) {
        if (op.kind == TCanvasOp::Kind::Font)
            height = op.font.height;
        if (op.kind != TCanvasOp::Kind::Text || op.text.empty())
            continue;
        const int w = int(op.text.size()) * height / 2;
        const TPoint p = op.points.at(0);
        const int left = (op.align & TAlign::Right) ? p.x - w : (op.align & TAlign::Center) ? p.x - w / 2 : p.x;
        const int top = (op.align & TAlign::Top) ? p.y : (op.align & TAlign::VCenter) ? p.y - height / 2 : p.y - height;
        boxes.push_back({left, top, left + w, top + height, op.text});
    }
    return boxes;
}

// Fails the test with the offending texts: overlapping boxes, or anything drawn off the page.
void ExpectClean(TSchematicWin& window, const std::string& what)
{
    SCOPED_TRACE(what);
    TRecordingCanvas first(window.LogicalWidth(), 1200);
    window.Paint(first); // the advanced page learns how far it reaches
    const int w = window.LogicalWidth(), h = window.LogicalHeight();
    TRecordingCanvas canvas(w, h);
    window.Paint(canvas);
    const std::vector<TBox> boxes = TextBoxes(canvas);
    ASSERT_FALSE(boxes.empty());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const TBox& a = boxes[i];
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= w && a.bottom <= h)
            << "\"" << a.text << "\" at " << a.left << "," << a.top << " outside " << w << "x" << h;
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            const TBox& b = boxes[j];
            const bool overlap = a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
            EXPECT_FALSE(overlap) << "\"" << a.text << "\" (" << a.left << "," << a.top << ") and \"" << b.text
                                  << "\" (" << b.left << "," << b.top << ")";
        }
    }
    for (const TCanvasOp& op : canvas.Ops()) {
        if (op.kind == TCanvasOp::Kind::Text || op.kind == TCanvasOp::Kind::Mapping ||
            op.kind == TCanvasOp::Kind::FillRect || op.kind == TCanvasOp::Kind::Clip)
            continue;
        for (const TPoint& p : op.points)
            EXPECT_TRUE(p.x >= 0 && p.x <= w && p.y >= 0 && p.y <= h) << "drawn at " << p.x << "," << p.y;
    }
}

TEST(Schematic, EverySimpleBranchTypeDrawsInsideThePageWithoutOverlappingTexts)
{
    for (int creation : {0, 1})
        for (int type = 0; type < kBranchTypes; ++type)
            for (int drivers : {1, 2})
                for (bool series : {false, true}) {
                    TBench b(creation);
                    for (TNet* net : b.project.Networks()) {
                        for (int i = 0; i < TNet::kBranches; ++i)
                            net->Branch(i).SetType(static_cast<TBranchType>(type));
                        net->driverCount = drivers;
                        net->seriesConnection = series;
                        net->Driver(0).spl.SetFileName("/a/rather/long/folder/name/with/a/measured-response-file.frd");
                    }
                    ASSERT_NE(b.project.Schematic(), nullptr);
                    ExpectClean(*b.project.Schematic(), "creation " + std::to_string(creation) + " type " +
                                                            std::to_string(type) + " drivers " +
                                                            std::to_string(drivers));
                }
}

void SetDrivers(TNetA& net, int count, TConnection connection)
{
    net.Drivers().SetCount(count);
    (void)net.Drivers().SetConnection(connection);
    net.Drivers().size = static_cast<TDriverSize>(count % 3);
}

TEST(Schematic, EveryAdvancedBranchTypeWithOneAndFourDriversDrawsCleanly)
{
    struct TCase {
        int count;
        TConnection connection;
    };
    const TCase groups[] = {
        {1, TConnection::Series}, {4, TConnection::Series}, {4, TConnection::Parallel}, {4, TConnection::Pairs}};
    for (bool active : {false, true}) {
        const int types = active ? kActiveTypes : kPassiveTypes;
        for (int type = 0; type < types; ++type)
            for (const TCase& g : groups) {
                TBench b(active ? 11 : 6);
                b.project.SchematicA(0).SetNote(std::string(590, 'n') + " note");
                for (TNetA* net : b.project.AdvancedNets()) {
                    SetDrivers(*net, g.count, g.connection);
                    for (int p = 0; p < TNetA::kLadder; ++p)
                        ASSERT_TRUE(net->Branch(p)->SetType(type));
                    for (int p = TNetA::kFirstShunt; p < TNetA::kFirstShunt + TNetA::kDrivers; ++p)
                        ASSERT_TRUE(net->Branch(p)->SetType(std::min(type, kPassiveTypes - 1)));
                }
                for (int n = 0; n < b.project.Ways(); ++n)
                    ExpectClean(b.project.SchematicA(n), std::string(active ? "active" : "passive") + " type " +
                                                             std::to_string(type) + " drivers " +
                                                             std::to_string(g.count) + " net " + std::to_string(n));
            }
    }
}

// The y of the first text drawn that starts with `prefix`.
int TextY(TSchematicWin& window, const std::string& prefix)
{
    TRecordingCanvas canvas(window.LogicalWidth(), 1600);
    window.Paint(canvas);
    for (const TCanvasOp& op : canvas.Ops())
        if (op.kind == TCanvasOp::Kind::Text && op.text.rfind(prefix, 0) == 0)
            return op.points.at(0).y;
    return -1;
}

TEST(Schematic, ALongActiveChainAndAFourDriverGroupWrapOntoNewRows)
{
    TBench b(11);
    TNetA& net = b.project.NetA(0);
    SetDrivers(net, 4, TConnection::Series);
    TSchematicWin& w = b.project.SchematicA(0);
    // One short section: the series group still fits after it (cursor 140 + 100).
    ASSERT_TRUE(net.Branch(0)->SetType(static_cast<int>(TActiveType::TrebleBoost)));
    const int oneRow = TextY(w, "D14");
    EXPECT_LT(oneRow, 200);
    // Two: the cursor passes 240 and the group moves to a row of its own.
    ASSERT_TRUE(net.Branch(1)->SetType(static_cast<int>(TActiveType::FirstOrderLowPass)));
    EXPECT_EQ(TextY(w, "D14"), oneRow + 220);
    // Eight long sections wrap the chain itself as well.
    for (int p = 0; p < TNetA::kLadder; ++p)
        ASSERT_TRUE(net.Branch(p)->SetType(static_cast<int>(TActiveType::SecondOrderLowPass)));
    EXPECT_GE(TextY(w, "D14"), oneRow + 2 * 200 + 220);
    EXPECT_GT(TextY(w, "Driver unit 4"), TextY(w, "D14"));
}

TEST(Schematic, ThePartsListShowsOnlyComponentsInUse)
{
    TBench b(6);
    TNetA& net = b.project.NetA(0);
    ASSERT_TRUE(SetBranch(net, 0, static_cast<int>(TPassiveType::R1PlusL), {{S::R1, 0.5}, {S::L, 0.0012}}));
    ASSERT_TRUE(SetBranch(net, 1, static_cast<int>(TPassiveType::C), {{S::C, 6.8e-6}}));
    TRecordingCanvas canvas(850, 1200);
    b.project.SchematicA(0).Paint(canvas);
    std::vector<std::string> listed;
    for (const TCanvasOp& op : canvas.Ops())
        if (op.kind == TCanvasOp::Kind::Text && op.points.at(0).x == 20)
            listed.push_back(op.text);
    EXPECT_EQ(listed, (std::vector<std::string>{"R1011", "L1011", "C1021"}));
    const std::vector<std::string> texts = canvas.Texts();
    for (const char* value : {"0.50", "1.200", "6.800"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), value), texts.end()) << value;
}

TEST(Schematic, AdvancedRecordRoundTripsByteForByteAndACutOneChangesNothing)
{
    TBench a(4);
    TDrawingWinA& w = a.project.SchematicA(1);
    // A record as an older writer left it: bytes after the note's terminator are kept.
    TBinaryWriter seed;
    for (std::int16_t v : {0, 1, -1, -1, -1, -1, 10, 20, 610, 420})
        seed.WriteInt16(v);
    std::vector<std::uint8_t> note(TDrawingWinA::kNoteBytes, 0);
    const std::string text = "Crossover at 2.2 kHz";
    std::copy(text.begin(), text.end(), note.begin());
    note[300] = 'x';
    seed.WriteBytes(note.data(), note.size());
    const std::vector<std::uint8_t> bytes = seed.Bytes();
    ASSERT_EQ(bytes.size(), TDrawingWinA::kRecordBytes);

    TBinaryReader in(bytes);
    ASSERT_TRUE(w.ReadRecord(in));
    EXPECT_EQ(w.Note(), text);
    EXPECT_EQ(w.placement.restored, (TRect{10, 20, 610, 420}));
    TBinaryWriter out;
    w.WriteRecord(out);
    EXPECT_EQ(out.Bytes(), bytes);

    for (std::size_t cut = 0; cut < bytes.size(); cut += cut < 40 ? 1 : 37) {
        TBench c(4);
        c.project.SchematicA(0).SetNote("kept");
        TBinaryReader part(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + std::ptrdiff_t(cut)));
        EXPECT_FALSE(c.project.SchematicA(0).ReadRecord(part)) << cut;
        EXPECT_EQ(c.project.SchematicA(0).Note(), "kept");
    }

    // Older files left the records zero ("hidden"): the window opens minimised, since
    // it cannot be closed, and the zeros are written back.
    TBench z(0);
    const std::vector<std::uint8_t> zeros(TDrawingWin::kRecordBytes, 0);
    TBinaryReader zin(zeros);
    ASSERT_TRUE(z.project.Schematic()->ReadRecord(zin));
    EXPECT_EQ(z.project.Schematic()->placement.show, TShowState::Minimised);
    TBinaryWriter zout;
    z.project.Schematic()->WriteRecord(zout);
    EXPECT_EQ(zout.Bytes(), zeros);

    // A whole project keeps the notes through its file.
    w.SetNote("Net 2 note");
    TBinaryWriter file;
    a.project.WriteFile(file);
    TBench b(4);
    TBinaryReader fileIn(file.Bytes());
    ASSERT_TRUE(b.project.LoadFrom(fileIn));
    EXPECT_EQ(b.project.SchematicA(1).Note(), "Net 2 note");
    EXPECT_EQ(b.project.SchematicA(0).Note(), "");
}

TEST(Schematic, WindowScrollsBeepsOnCloseAndTakesItsCommandsWhenActive)
{
    TBench b(1);
    TDrawingWin& w = *b.project.Schematic();
    EXPECT_EQ(w.Title(), "Schematic");
    // 750 by 1100 in a 600 by 400 client: 15 and 70 steps, 10 more each.
    EXPECT_EQ(w.ScrollRangeX(600), 25);
    EXPECT_EQ(w.ScrollRangeY(400), 80);
    EXPECT_EQ(w.ScrollRangeX(800), 0);
    TRecordingCanvas canvas(600, 400);
    w.Paint(canvas);
    w.KeyPress(TKey::PageDown);
    w.KeyPress(TKey::Right);
    EXPECT_EQ(w.ScrollY(), 40);
    EXPECT_EQ(w.ScrollX(), 1);
    w.KeyPress(TKey::End);
    EXPECT_EQ(w.ScrollY(), 80);
    canvas.Clear();
    w.Paint(canvas);
    EXPECT_DOUBLE_EQ(canvas.Mapping().logicalY, 800.0);

    const int beeps = b.host.Beeps();
    EXPECT_FALSE(w.CloseRequested());
    EXPECT_EQ(b.host.Beeps(), beeps + 1);

    EXPECT_FALSE(b.project.HandlesCommand(TCmd::UserNote));
    b.host.SetActiveView(&w);
    EXPECT_TRUE(b.project.HandlesCommand(TCmd::CopyWindow));
    EXPECT_TRUE(b.project.HandlesCommand(TCmd::PrintWindow));
    EXPECT_FALSE(b.project.HandlesCommand(TCmd::UserNote));

    // A change of the networks repaints the window when it is shown, not as an icon.
    const int before = b.host.Redraws(w);
    b.project.Recalculate();
    EXPECT_EQ(b.host.Redraws(w), before);
    b.host.ShowView(w);
    b.project.Net(0).Branch(0).SetType(TBranchType::R);
    b.project.Recalculate();
    EXPECT_EQ(b.host.Redraws(w), before + 1);

    TBench a(5);
    a.host.SetActiveView(&a.project.SchematicA(2));
    EXPECT_EQ(a.project.SchematicA(2).Title(), "Net 3");
    a.host.QueueInput(std::string("Tweeter notes"));
    EXPECT_TRUE(a.project.HandleCommand(TCmd::UserNote));
    EXPECT_EQ(a.project.SchematicA(2).Note(), "Tweeter notes");
}

TEST(Schematic, PrintedPageScalesTheLogicalWidthOntoThePageWithItsHeader)
{
    TBench b(1);
    TRecordingCanvas page(2400, 3400);
    b.project.Schematic()->PaintPrintPage(page);
    const TMapping& m = page.Mapping();
    EXPECT_DOUBLE_EQ(m.logicalW, 770.0);
    EXPECT_DOUBLE_EQ(m.logicalH, 770.0 * 3400 / 2400);
    const std::vector<std::string> texts = page.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "3 WAY FILTER"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Treble network"), texts.end());
}

} // namespace
