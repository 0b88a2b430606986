// The impulse response window inside a filter project: what the project's sum turns
// into, where its record sits in the file, its export and its place in the diagrams.
#include "NetTestSupport.h"

#include "core/TBinaryStream.h"
#include "filter/TXover.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace nettest;

namespace {

struct TBench {
    explicit TBench(int kind = 0) : project(host, context, kind) {}
    THeadlessHost host;
    TProgramContext context;
    TXover project;

    const TImpResponse& Window() const { return project.Impulse(); }
    int ArgMax() const
    {
        const double* y = Window().Samples();
        return static_cast<int>(std::max_element(y, y + Window().PointCount()) - y);
    }
    int ArgMin() const
    {
        const double* y = Window().Samples();
        return static_cast<int>(std::min_element(y, y + Window().PointCount()) - y);
    }
};

TEST(XoverImpulse, IdealFirstOrderFilterIsOnePeakAtZeroAndTheInvertedTrebleAnOppositeOne)
{
    TBench b;
    for (TNet* net : b.project.Networks())
        MakeIdeal(*net, 1, 1, 3000.0);
    b.project.MarkAllDirty();
    b.project.Recalculate();
    const TImpResponse& w = b.Window();
    ASSERT_TRUE(w.HasData());
    ASSERT_EQ(w.PointCount(), 256); // N = 512 by default
    EXPECT_EQ(w.Samples()[0], 1.0);
    for (int i = 1; i < w.PointCount(); ++i)
        ASSERT_LT(std::fabs(w.Samples()[i]), 0.01) << i;

    b.project.Net(2).invertPolarity = true;
    b.project.Net(2).MarkDirty();
    b.project.Recalculate();
    // The tweeter's spike points down at t = 0, the woofer's hump rises after it.
    EXPECT_EQ(b.ArgMin(), 0);
    EXPECT_LT(w.Samples()[0], 0.0);
    EXPECT_GT(b.ArgMax(), 0);
    EXPECT_LT(w.Times()[b.ArgMax()], 0.2);

    // "Disable IFFT" empties the window at the next calculation.
    b.context.General().SetDisableIfft(true);
    EXPECT_FALSE(w.HasData());
}

TEST(XoverImpulse, ItsRecordSitsAfterTheGroupDelayPlotsAndKeepsItsNote)
{
    const std::string path = (std::filesystem::temp_directory_path() / "xover_impulse_record.flt").string();
    TBinaryWriter record;
    {
        TBench b;
        b.project.Impulse().SetNote("ringing at 3k");
        b.project.Impulse().WriteWindowRecord(record);
        ASSERT_EQ(record.Size(), TPlotWindowEmbryo::kRecordBytes);
        ASSERT_TRUE(b.project.SaveTo(path));
    }
    TBinaryReader file;
    ASSERT_TRUE(file.Open(path));
    // Type code, version, 16 bytes, the settings block, the schematic record and the
    // gain, impedance, summed, phase and group delay records come first.
    const std::size_t at = 4 + 2 + 16 + TGeneral::BlockSize(410) + TXover::kSchematicRecord + 5 * 70;
    ASSERT_GE(file.Bytes().size(), at + record.Size());
    EXPECT_TRUE(std::equal(record.Bytes().begin(), record.Bytes().end(), file.Bytes().begin() + at));
    TBench c;
    ASSERT_TRUE(c.project.Load(path));
    EXPECT_EQ(c.Window().Note(), "ringing at 3k");
    std::remove(path.c_str());
}

TEST(XoverImpulse, ExportWritesTheShownHalfUnderTheCaptionAndTheDiagramsListIt)
{
    TBench b;
    ASSERT_TRUE(b.context.General().SetPoints(1024));
    const std::string path = (std::filesystem::temp_directory_path() / "xover_impulse.gdt").string();
    std::remove(path.c_str());
    ASSERT_TRUE(b.project.ExportTotalTo(TXoverExport::Impulse, path));
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("Number of Points : 1024"), std::string::npos);
    EXPECT_NE(text.str().find("Graph 1 > Impulse response"), std::string::npos);
    std::remove(path.c_str());

    // Command 12025 asks for the file; a cancelled chooser writes nothing.
    EXPECT_TRUE(b.project.HandlesCommand(12025));
    EXPECT_TRUE(b.project.HandleCommand(12025));

    const std::vector<TPlotXYEmbryo*> windows = b.project.DiagramWindows();
    const auto it = std::find(windows.begin(), windows.end(), &b.project.Impulse());
    ASSERT_NE(it, windows.end());
    EXPECT_EQ(*(it - 1), &b.project.Plot(TXoverPlot::GroupDelay));
    EXPECT_EQ(*(it + 1), &b.project.Plot(TXoverPlot::Surface));
}

} // namespace
