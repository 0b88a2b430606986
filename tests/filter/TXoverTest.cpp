// The filter project: its kinds, the totals it forms from its networks, the curves it
// hands its plots, the save question, and its file byte for byte and cut by cut.
#include "NetTestSupport.h"

#include "core/TBinaryStream.h"
#include "filter/TXover.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

using namespace nettest;

namespace {

struct TBench {
    explicit TBench(int kind) : project(host, context, kind) {}
    THeadlessHost host;
    TProgramContext context;
    TXover project;

    // Every network in use designed for the ideal 8 ohm load at fc.
    void MakeIdealAt(int order, double fc)
    {
        for (TNet* net : project.Networks())
            MakeIdeal(*net, order, order, fc);
        project.MarkAllDirty();
        project.Recalculate();
    }
    double WorstSumDeviation(int ray) const
    {
        double worst = 0;
        for (double v : project.SummedLevel(ray))
            worst = std::max(worst, std::fabs(v));
        return worst;
    }
};

std::string TempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / (std::string("xover_") + name)).string();
}

TEST(Xover, KindsGiveTypeCodeTitleNetworksAndMenuCommands)
{
    struct TCase {
        int kind, typeCode;
        std::size_t nets;
        const char* title;
        std::vector<int> removed;
    };
    const TCase cases[] = {
        {0, 15, 2, "Tonvek 4.10 Beta 2 way simple filter", {12102, 13002, 12023, 12033, 12003, 12013}},
        {1, 16, 3, "Tonvek 4.10 Beta 3 way simple filter", {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.kind);
        TBench b(c.kind);
        EXPECT_EQ(b.project.TypeCode(), c.typeCode);
        EXPECT_EQ(TXover::KindOfTypeCode(c.typeCode), c.kind);
        EXPECT_EQ(b.project.Networks().size(), c.nets);
        EXPECT_EQ(b.project.Title(), c.title);
        EXPECT_EQ(b.host.MainTitle(), c.title);
        EXPECT_EQ(b.host.RemovedCommands(), c.removed);
        EXPECT_TRUE(b.project.Changed());
        EXPECT_EQ(b.context.General().Listener(), &b.project);
        // The mid network's commands exist only where it is used.
        EXPECT_EQ(b.project.HandlesCommand(12102), c.kind == 1);
        EXPECT_TRUE(b.project.HandlesCommand(12101));
        EXPECT_TRUE(b.project.HandlesCommand(13001));
    }
    EXPECT_EQ(TXover::KindOfTypeCode(1), -1);
}

TEST(Xover, ListenerIsGivenBackWhenTheProjectGoes)
{
    THeadlessHost host;
    TProgramContext context;
    {
        TXover project(host, context, 0);
    }
    EXPECT_EQ(context.General().Listener(), nullptr);
}

TEST(Xover, FirstOrderIdealFilterSumsFlatIntoAConstantResistance)
{
    TBench b(0);
    b.MakeIdealAt(1, 3000.0);
    EXPECT_LT(b.WorstSumDeviation(0), 0.1);
    for (int p = 0; p < TXover::kPoints; ++p)
        ASSERT_NEAR(b.project.TotalImpedanceMagnitude()[static_cast<std::size_t>(p)], 8.0, 0.01) << p;
    // A constant resistance: no phase, no delay of the sum's magnitude, and a plot
    // scaled to 1.5 times the largest value.
    EXPECT_NEAR(b.project.Plot(TXoverPlot::Impedance).yMaximum, 12.0, 0.02);
    EXPECT_EQ(b.project.Plot(TXoverPlot::Impedance).yMinimum, 0.0);
}

TEST(Xover, SecondOrderSumHasANullAtCutoffUnlessTheTrebleIsInverted)
{
    TBench b(0);
    const TFilterGrid& grid = b.context.General().FilterGrid();
    const int i = NearestPoint(grid, 3000.0);
    b.MakeIdealAt(2, grid.Frequency(i));
    EXPECT_LT(b.project.SummedLevel(0)[static_cast<std::size_t>(i)], -30.0);
    b.project.Net(2).invertPolarity = true;
    b.project.Net(2).MarkDirty();
    b.project.Recalculate();
    EXPECT_NEAR(b.project.SummedLevel(0)[static_cast<std::size_t>(i)], 3.01, 0.05);
}

TEST(Xover, ThreeWayAddsTheMidToTheSumAndTheImpedance)
{
    TBench b(1);
    b.MakeIdealAt(1, 3000.0);
    const std::size_t p = 200;
    TComplex sum = b.project.Net(0).Output(0)[p] + b.project.Net(1).Output(0)[p] + b.project.Net(2).Output(0)[p];
    EXPECT_NEAR(std::abs(b.project.Summed(0)[p] - sum), 0.0, 1e-12);
    const TComplex z = 1.0 / (1.0 / b.project.Net(0).InputImpedance()[p] + 1.0 / b.project.Net(1).InputImpedance()[p] +
                              1.0 / b.project.Net(2).InputImpedance()[p]);
    EXPECT_NEAR(std::abs(b.project.TotalImpedance()[p] - z), 0.0, 1e-9);
    EXPECT_EQ(b.project.Plot(TXoverPlot::Summed).CurveCount(), 4);
    EXPECT_EQ(b.project.Plot(TXoverPlot::Gain).CurveCount(), 3);
}

TEST(Xover, EveryNetworkDisconnectedGivesNumbers)
{
    TBench b(1);
    for (TNet* net : b.project.Networks()) {
        net->disconnect = true;
        net->MarkDirty();
    }
    b.project.Recalculate();
    for (int p = 0; p < TXover::kPoints; ++p) {
        const auto s = static_cast<std::size_t>(p);
        ASSERT_TRUE(std::isfinite(b.project.TotalImpedanceMagnitude()[s]));
        ASSERT_TRUE(std::isfinite(b.project.SummedLevel(0)[s]));
        ASSERT_TRUE(std::isfinite(b.project.GroupDelay()[s]));
    }
    EXPECT_TRUE(std::isfinite(b.project.Plot(TXoverPlot::Impedance).yMaximum));
}

TEST(Xover, GroupDelayTakesPhaseJumpsAsFullTurns)
{
    struct TCase {
        double before, after, expected; // phase at i-1 and i+1, degrees; delay in ms per Hz span
    };
    // d = 358 becomes -2; d = -358 becomes +2; small steps stay.
    const TCase cases[] = {{-179, 179, -2}, {179, -179, 2}, {10, 0, -10}, {0, 90, 90}};
    const double f[3] = {100, 150, 200};
    for (const TCase& c : cases) {
        const double phase[3] = {c.before, 0, c.after};
        double delay[3] = {};
        TNetBase::GroupDelayOf(phase, f, 3, 100.0, delay);
        const double expected = c.expected * TNetBase::kDelayFactor / 100.0;
        EXPECT_NEAR(delay[1], expected, 1e-12) << c.before << " " << c.after;
        EXPECT_EQ(delay[0], delay[1]);
        EXPECT_EQ(delay[2], delay[1]);
    }
}

TEST(Xover, OffAxisCurvesFollowInhibitAndHideOnAxis)
{
    TBench b(0);
    TGeneral& g = b.context.General();
    for (int a : {10, -10, 20})
        ASSERT_EQ(g.AddSurfaceRay(a), TRayChange::Done);
    ASSERT_EQ(g.AddOverlayRay(-10), TRayChange::Done);
    ASSERT_EQ(g.AddOverlayRay(20), TRayChange::Done);
    b.project.Recalculate();
    const TPlotLogXLinY& surface = b.project.Plot(TXoverPlot::Surface);
    const TPlotLogXLinY& overlay = b.project.Plot(TXoverPlot::Overlay);
    ASSERT_EQ(surface.CurveCount(), 4);
    ASSERT_EQ(overlay.CurveCount(), 3);
    EXPECT_EQ(overlay.Curve(0).label, "+0");
    EXPECT_EQ(overlay.Curve(1).label, "-10");
    EXPECT_EQ(overlay.Curve(2).label, "+20");
    // The overlay curve of -10 is the summed row of that ray.
    // Rays descend (20, 10, 0, -10): -10 follows the on-axis ray.
    EXPECT_EQ(overlay.Curve(1).y, b.project.SummedLevel(g.OnAxisIndex() + 1).data());
    EXPECT_EQ(g.SurfaceRay(g.OnAxisIndex() + 1), -10);

    g.SetHideOnAxis(true);
    EXPECT_EQ(surface.CurveCount(), 3);
    ASSERT_EQ(overlay.CurveCount(), 2);
    EXPECT_EQ(overlay.Curve(0).label, "-10");

    // Inhibit: the off-axis rows stay as they were and the plots are empty.
    const double before = b.project.SummedLevel(0)[100];
    b.project.Net(0).invertPolarity = true;
    b.project.Net(0).MarkDirty();
    g.SetInhibit(true);
    EXPECT_EQ(surface.CurveCount(), 0);
    EXPECT_EQ(overlay.CurveCount(), 0);
    EXPECT_EQ(b.project.SummedLevel(0)[100], before);
    EXPECT_NE(b.project.SummedLevel(g.OnAxisIndex())[100], before);
}

TEST(Xover, SurfaceHoldsEveryRayFitsItsRangeAndKeepsItsNote)
{
    TBench b(0);
    TGeneral& g = b.context.General();
    for (int a = -80; a <= 80; a += 10)
        if (a != 0)
            (void)g.AddSurfaceRay(a);
    ASSERT_EQ(g.SurfaceRayCount(), 17);
    b.project.Recalculate();
    const TMultiPlot& surface = b.project.Surface();
    EXPECT_EQ(&surface, &b.project.Plot(TXoverPlot::Surface));
    ASSERT_EQ(surface.CurveCount(), 17);
    EXPECT_TRUE(surface.HasData());
    double top = -1e300;
    for (int r = 0; r < 17; ++r)
        for (double v : b.project.SummedLevel(r))
            top = std::max(top, v);
    // A 30 dB window whose top lies a thirtieth of it above the loudest point.
    EXPECT_NEAR(surface.yMaximum, top + 1.0, 1e-9);
    EXPECT_NEAR(surface.yMinimum, top - 29.0, 1e-9);

    TBinaryWriter plain;
    b.project.WriteFile(plain);
    b.project.Surface().SetNote("surface note");
    TBinaryWriter noted;
    b.project.WriteFile(noted);
    EXPECT_EQ(noted.Size(), plain.Size()); // the note lives inside the fixed record
    TBench c(0);
    TBinaryReader in(noted.Bytes());
    ASSERT_TRUE(c.project.LoadFrom(in));
    EXPECT_EQ(c.project.Surface().Note(), "surface note");
}

TEST(Xover, PhaseCurveOfTheSumFollowsHidePhase)
{
    TBench b(0);
    EXPECT_TRUE(b.project.Plot(TXoverPlot::Summed).PhaseShown());
    b.context.General().SetHidePhase(true);
    EXPECT_FALSE(b.project.Plot(TXoverPlot::Summed).PhaseShown());
    EXPECT_EQ(b.project.Plot(TXoverPlot::Phase).yMinimum, -180.0);
    EXPECT_EQ(b.project.Plot(TXoverPlot::Phase).yMaximum, 180.0);
}

TEST(Xover, GroupDelayPlotUsesTheFixedLimitsWithoutAuto)
{
    TBench b(0);
    TGeneral& g = b.context.General();
    g.SetGroupDelayAuto(false);
    g.SetGroupDelayMinimum(-1.5);
    g.SetGroupDelayMaximum(4.0);
    EXPECT_EQ(b.project.Plot(TXoverPlot::GroupDelay).yMinimum, -1.5);
    EXPECT_EQ(b.project.Plot(TXoverPlot::GroupDelay).yMaximum, 4.0);
    g.SetGroupDelayAuto(true);
    EXPECT_LE(b.project.Plot(TXoverPlot::GroupDelay).yMinimum, 0.0);
}

TEST(Xover, AskSaveChangesAnswers)
{
    struct TCase {
        TMsgAnswer answer;
        const char* saveTo; // file name the save chooser returns, or none
        bool result, changedAfter;
    };
    const std::string path = TempPath("ask.flt");
    const TCase cases[] = {
        {TMsgAnswer::No, nullptr, true, true},
        {TMsgAnswer::Cancel, nullptr, false, true},
        {TMsgAnswer::Yes, nullptr, false, true}, // the chooser was cancelled
        {TMsgAnswer::Yes, path.c_str(), true, false},
    };
    for (const TCase& c : cases) {
        TBench b(0);
        b.host.QueueAnswer(c.answer);
        b.host.QueueFileName(c.saveTo ? std::optional<std::string>(c.saveTo) : std::nullopt);
        EXPECT_EQ(b.project.AskSaveChanges(), c.result);
        ASSERT_FALSE(b.host.Messages().empty());
        EXPECT_EQ(b.host.Messages()[0].title, "Filter project");
        EXPECT_EQ(b.project.Changed(), c.changedAfter);
        // Unchanged: nothing is asked.
        if (!c.changedAfter) {
            const std::size_t asked = b.host.Messages().size();
            EXPECT_TRUE(b.project.AskSaveChanges());
            EXPECT_EQ(b.host.Messages().size(), asked);
        }
    }
    std::remove(path.c_str());
}

TEST(XoverFile, SizeIsTheSumOfItsBlocksAndEndsInTheMark)
{
    for (int kind : {0, 1}) {
        SCOPED_TRACE(kind);
        TBench b(kind);
        TBinaryWriter out;
        b.project.WriteFile(out);
        const std::size_t nets = kind == 1 ? 3 : 2;
        const std::size_t expected = 4 + 2 + 16 + TGeneral::BlockSize(410) + 20 + 5 * 70 + 70 + 70 + 70 +
                                     nets * TNet::RecordSize(410) + 271 + 70 + 2;
        ASSERT_EQ(out.Size(), expected);
        EXPECT_EQ(out.Bytes()[out.Size() - 2], 0x39);
        EXPECT_EQ(out.Bytes()[out.Size() - 1], 0x30);
        EXPECT_EQ(out.Bytes()[0], kind == 1 ? 16 : 15);
    }
}

TEST(XoverFile, SaveAndLoadKeepNetworksSettingsAndWindows)
{
    const std::string path = TempPath("roundtrip.flt");
    {
        TBench b(1);
        b.project.Net(1).lowPassCutoff = 1234.0;
        b.project.Net(2).invertPolarity = true;
        b.context.General().SetSplRange(40);
        b.project.Plot(TXoverPlot::Overlay).SetNote("overlay note");
        ASSERT_TRUE(b.project.SaveTo(path));
        EXPECT_FALSE(b.project.Changed());
        EXPECT_EQ(b.project.FileName(), path);
    }
    TBench c(1);
    ASSERT_TRUE(c.project.Load(path));
    EXPECT_EQ(c.project.Net(1).lowPassCutoff, 1234.0);
    EXPECT_TRUE(c.project.Net(2).invertPolarity);
    EXPECT_EQ(c.context.General().SplRange(), 40);
    EXPECT_EQ(c.project.Plot(TXoverPlot::Overlay).Note(), "overlay note");
    EXPECT_FALSE(c.project.Changed());
    EXPECT_EQ(c.project.FileVersion(), 410);
    // Written again, the file is the same byte for byte.
    TBinaryWriter again;
    c.project.WriteFile(again);
    TBinaryReader original;
    ASSERT_TRUE(original.Open(path));
    EXPECT_EQ(again.Bytes(), original.Bytes());
    std::remove(path.c_str());
}

TEST(XoverFile, EveryTruncationAndAWrongMarkOrKindFail)
{
    TBench b(0);
    TBinaryWriter out;
    b.project.WriteFile(out);
    const std::vector<std::uint8_t> bytes = out.Bytes();
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        TBench t(0);
        TBinaryReader in(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n)));
        ASSERT_FALSE(t.project.LoadFrom(in)) << n;
        ASSERT_EQ(t.project.FileVersion(), 410);
    }
    ASSERT_GT(bytes.size(), 2u);
    std::vector<std::uint8_t> badMark = bytes;
    badMark[badMark.size() - 1] = 0;
    TBench m(0);
    TBinaryReader markIn(badMark);
    EXPECT_FALSE(m.project.LoadFrom(markIn));
    // A three-way file is no two-way project.
    TBench three(1);
    TBinaryReader kindIn(bytes);
    EXPECT_FALSE(three.project.LoadFrom(kindIn));
    TBench whole(0);
    TBinaryReader wholeIn(bytes);
    EXPECT_TRUE(whole.project.LoadFrom(wholeIn));
}

TEST(XoverFile, SaveToAnUnwritablePlaceReportsAndStaysChanged)
{
    TBench b(0);
    b.host.QueueFileName(std::string("/nonexistent-folder/x.flt"));
    EXPECT_FALSE(b.project.SaveAs());
    ASSERT_EQ(b.host.Messages().size(), 1u);
    EXPECT_EQ(b.host.Messages()[0].text, "Could not open file.\nCheck if device is ready\nor if the disk is full.");
    EXPECT_EQ(b.host.Messages()[0].title, "File save as");
    EXPECT_TRUE(b.project.Changed());
    EXPECT_TRUE(b.project.FileName().empty());
}

} // namespace

namespace {

TEST(XoverExample, MeasuredTwoWaySumsWithinTwoDbOverTheTweeterBand)
{
    THeadlessHost host;
    TProgramContext context(std::string(TONVEK_SOURCE_DIR) + "/");
    TXover project(host, context, 0);
    ASSERT_TRUE(project.Load(std::string(TONVEK_SOURCE_DIR) + "/examples/simple2-10in-1in.flt"));
    for (const TNet* net : project.Networks()) {
        EXPECT_TRUE(net->Driver(0).spl.Loaded()) << net->Name();
        EXPECT_TRUE(net->Driver(0).impedance.Loaded()) << net->Name();
    }
    EXPECT_TRUE(host.Messages().empty());
    const TNetBase::TRealRow& sum = project.SummedLevel(context.General().OnAxisIndex());
    double lo = 1e9, hi = -1e9;
    for (int p = 0; p < TXover::kPoints; ++p) {
        const double f = context.General().FilterGrid().Frequency(p);
        if (f < 2000.0 || f > 20000.0)
            continue;
        lo = std::min(lo, sum[static_cast<std::size_t>(p)]);
        hi = std::max(hi, sum[static_cast<std::size_t>(p)]);
    }
    EXPECT_LE(hi - lo, 4.0);
    EXPECT_NEAR((hi + lo) / 2, 90.2, 1.0);
}

} // namespace

namespace {

// A network record as version 309 wrote it: one driver, no coil resistances.
void WriteOldNetRecord(TBinaryWriter& out, double re, double lowPassCutoff)
{
    for (double v : {re, 0.0, 0.0005, 0.0})
        out.WriteDouble(v); // Re, Rex, Le, z
    for (double v : {0.0, 3000.0, lowPassCutoff})
        out.WriteDouble(v); // attenuation, cutoffs
    out.WriteInt16(2);
    out.WriteInt16(2);
    out.WriteUInt8(0);
    out.WriteText("", TNet::kFileNameField);
    out.WriteText("", TNet::kFileNameField);
    for (int b = 0; b < TNet::kBranches; ++b) {
        out.WriteInt16(0);
        for (double v : {1.0, 1e-6, 0.001}) {
            out.WriteUInt8(0);
            out.WriteDouble(v);
        }
    }
}

TEST(XoverFile, Version309LoadsWithItsShorterBlocksAfterAWarning)
{
    // No general settings block, no surface and overlay records, no snapshot.
    TBinaryWriter out;
    out.WriteInt32(15);
    out.WriteInt16(309);
    out.WriteZeros(16 + TXover::kSchematicRecord + 5 * 70 + TPlotWindowEmbryo::kRecordBytes);
    WriteOldNetRecord(out, 6.0, 1500.0);
    WriteOldNetRecord(out, 5.0, 2500.0);
    out.WriteInt16(TXover::kEndMark);
    const std::vector<std::uint8_t> bytes = out.Bytes();

    TBench b(0);
    TBinaryReader in(bytes);
    ASSERT_TRUE(b.project.LoadFrom(in));
    ASSERT_EQ(b.host.Messages().size(), 1u);
    EXPECT_EQ(b.host.Messages()[0].title, "Old project file");
    EXPECT_EQ(b.project.Net(0).re, 6.0);
    EXPECT_EQ(b.project.Net(0).lowPassCutoff, 1500.0);
    EXPECT_EQ(b.project.Net(2).re, 5.0);
    EXPECT_EQ(b.project.FileVersion(), 410);
    EXPECT_FALSE(b.project.Changed());
    // Written back, it is a current file.
    TBinaryWriter again;
    b.project.WriteFile(again);
    EXPECT_EQ(again.Size(),
              4 + 2 + 16 + TGeneral::BlockSize(410) + 20 + 8 * 70 + 2 * TNet::RecordSize(410) + 271 + 70 + 2);
    // Every cut of the old file fails as well.
    for (std::size_t n = 0; n + 1 < bytes.size(); n += 7) {
        TBench t(0);
        TBinaryReader cut(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n)));
        ASSERT_FALSE(t.project.LoadFrom(cut)) << n;
    }
}

} // namespace
