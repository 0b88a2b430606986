// Snapshots in a filter project: the command, the copy of the summed response and the
// snapshot file across save and reopen, and a box project's snapshot file read here.

#include "NetTestSupport.h"
#include "core/TBinaryStream.h"
#include "filter/TXover.h"
#include "plot/TSnapshotDialog.h"
#include "ui/TCommandIds.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct TSnapBench {
    TSnapBench()
        : dir(fs::temp_directory_path() / ("xover-snap-" + std::to_string(::getpid()))), project(host, context, 0)
    {
        fs::create_directories(dir);
    }
    ~TSnapBench() { fs::remove_all(dir); }
    fs::path dir;
    THeadlessHost host;
    TProgramContext context;
    TXover project;
};

TEST(XoverSnapshot, SummedResponseIsCopiedAndKeptAcrossSaveAndReopen)
{
    TSnapBench b;
    EXPECT_EQ(b.host.CommandEnabled(TCmd::Snapshot), true); // by the first recalculation
    ASSERT_TRUE(b.project.HandleCommand(TCmd::Snapshot));
    TSnapshotDialog& d = b.project.SnapshotDialog();
    EXPECT_TRUE(d.IsOpen());
    d.Command(TSnapshotDialog::kSummedResponse);
    const TSnapshot& w = b.project.SnapshotWindow();
    const int onAxis = b.context.General().OnAxisIndex();
    ASSERT_EQ(w.slotData[0].count, TXover::kPoints);
    for (int i = 0; i < TXover::kPoints; ++i) {
        ASSERT_EQ(w.slotData[0].frequency[static_cast<std::size_t>(i)], b.project.Frequencies()[i]);
        ASSERT_EQ(w.slotData[0].level[static_cast<std::size_t>(i)],
                  b.project.SummedLevel(onAxis)[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(w.start, b.context.General().LowerFrequency());
    const std::string snp = (b.dir / "f.snp").string(), flt = (b.dir / "f.flt").string();
    ASSERT_TRUE(d.SaveTo(snp, "File save"));
    EXPECT_TRUE(b.project.Changed());
    ASSERT_TRUE(b.project.SaveTo(flt));

    TXover reopened(b.host, b.context, 0);
    ASSERT_TRUE(reopened.Load(flt));
    EXPECT_EQ(reopened.SnapshotPath(), snp);
    EXPECT_TRUE(reopened.SnapshotWindow().slotData[0].hasData);
    // Written again, the project file is the same bytes.
    TBinaryWriter a, c;
    b.project.WriteFile(a);
    reopened.WriteFile(c);
    EXPECT_EQ(a.Bytes(), c.Bytes());

    // Without the snapshot file the project opens with an empty snapshot and no name.
    fs::remove(snp);
    TXover without(b.host, b.context, 0);
    ASSERT_TRUE(without.Load(flt));
    EXPECT_EQ(without.SnapshotPath(), "");
    EXPECT_FALSE(without.SnapshotWindow().slotData[0].hasData);
}

TEST(XoverSnapshot, ReadsASnapshotFileOfABoxProject)
{
    TSnapBench b;
    // A box project writes its own version and its setup's range; the layout is the same.
    THeadlessHost other;
    const TPlotStyles styles;
    TSnapshot boxWindow(other, styles, nullptr, {[] { return 10; }, [] { return 1000; }});
    const double f[] = {10, 100, 1000}, l[] = {70, 80, 75};
    ASSERT_TRUE(boxWindow.CopyInto(4, f, l, 3));
    const std::string snp = (b.dir / "box.snp").string();
    ASSERT_TRUE(boxWindow.SaveFile(snp, 410));
    ASSERT_TRUE(b.project.SnapshotDialog().OpenFrom(snp));
    EXPECT_EQ(b.project.SnapshotWindow().slotData[4].count, 3);
    EXPECT_EQ(b.project.SnapshotWindow().stop, 1000);
}

} // namespace
