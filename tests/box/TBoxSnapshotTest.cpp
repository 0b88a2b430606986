// Snapshots in a box project: the command, the copies from the project's curves, and the
// snapshot file named by the project file across save, close and reopen.

#include "box/TClosedBox.h"
#include "box/elements/TBoxObject.h"
#include "core/TBinaryStream.h"
#include "plot/TSnapshotDialog.h"
#include "room/TRoomCabinet.h"
#include "support/BoxTestBench.h"
#include "ui/TCommandIds.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class TBoxSnapshotTest : public ::testing::Test, protected BoxTestBench {
protected:
    void SetUp() override { Enter("tonvek-box-snapshot"); }
    void TearDown() override { Leave(); }

    std::unique_ptr<TClosedBox> Make(double vb)
    {
        auto box = std::make_unique<TClosedBox>(host_, context_);
        EXPECT_TRUE(box->LoadFrontUnitFrom(unitPath()));
        box->BoxVolume().Vb = vb;
        box->BoxVolume().dirty = true;
        box->Calculate(0);
        return box;
    }
};

TEST_F(TBoxSnapshotTest, CommandOpensTheDialogOnceAfterTheFirstCalculation)
{
    TClosedBox fresh(host_, context_);
    EXPECT_EQ(host_.CommandEnabled(TCmd::Snapshot), false);
    auto box = Make(0.03);
    EXPECT_EQ(host_.CommandEnabled(TCmd::Snapshot), true);
    ASSERT_TRUE(box->HandleCommand(TCmd::Snapshot));
    EXPECT_TRUE(box->SnapshotDialog().IsOpen());
    EXPECT_EQ(host_.CommandEnabled(TCmd::Snapshot), false);
    box->Calculate(0); // a calculation leaves it disabled while the dialog is open
    EXPECT_EQ(host_.CommandEnabled(TCmd::Snapshot), false);
    box->SnapshotDialog().RequestClose();
    EXPECT_EQ(host_.CommandEnabled(TCmd::Snapshot), true);
}

TEST_F(TBoxSnapshotTest, CopiesAreTheProjectsCurvesPointForPoint)
{
    auto box = Make(0.03);
    TSnapshot& w = box->SnapshotWindow();
    TSnapshotDialog& d = box->SnapshotDialog();
    d.Open();
    struct TCase {
        int command, slot;
        const double* expected;
    };
    const TCase cases[] = {{TSnapshotDialog::kFreeAirSpl, 0, box->splTotal.data()},
                           {TSnapshotDialog::kRoomSpl, 1, box->RoomModel().Level()}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.command);
        d.Select(TSnapshotDialog::kSlot, c.slot);
        d.Command(c.command);
        const TSnapshot::TSlot& s = w.slotData[static_cast<std::size_t>(c.slot)];
        ASSERT_EQ(s.count, box->PointCount());
        for (int i = 0; i < s.count; ++i) {
            ASSERT_EQ(s.frequency[static_cast<std::size_t>(i)], box->Grid().Frequency(i));
            ASSERT_EQ(s.level[static_cast<std::size_t>(i)], c.expected[i]);
        }
    }
    // The window's range is the setup's.
    EXPECT_EQ(w.start, context_.MeasSetup().startFrequency);
    EXPECT_EQ(w.stop, context_.MeasSetup().stopFrequency);
}

TEST_F(TBoxSnapshotTest, SnapshotsSurviveSaveCloseAndReopenByteForByte)
{
    const std::string snp = (dir_ / "variants.snp").string(), project = (dir_ / "variants.box").string();
    {
        auto box = Make(0.04);
        TSnapshotDialog& d = box->SnapshotDialog();
        d.Open();
        d.Command(TSnapshotDialog::kFreeAirSpl);
        d.Type(TSnapshotDialog::kText, "40 l");
        d.FocusField(TSnapshotDialog::kOffset);
        box->BoxVolume().Vb = 0.055;
        box->BoxVolume().dirty = true;
        box->Calculate(0);
        d.Select(TSnapshotDialog::kSlot, 1);
        d.Command(TSnapshotDialog::kFreeAirSpl);
        host_.QueueFileName(snp);
        d.Command(TSnapshotDialog::kSave);
        EXPECT_EQ(box->SnapshotPath(), "variants.snp");
        ASSERT_TRUE(box->SaveTo(project));
    }
    std::vector<std::uint8_t> first;
    ASSERT_TRUE(ReadWholeFile(snp, first));
    auto reopened = std::make_unique<TClosedBox>(host_, context_);
    ASSERT_TRUE(reopened->Load(project));
    const TSnapshot& w = reopened->SnapshotWindow();
    EXPECT_EQ(w.slotData[0].label, "40 l");
    EXPECT_TRUE(w.slotData[1].hasData);
    // The two volumes differ where a box matters.
    EXPECT_NE(w.slotData[0].level[0], w.slotData[1].level[0]);
    ASSERT_TRUE(reopened->SnapshotWindow().SaveFile((dir_ / "again.snp").string(), 410));
    std::vector<std::uint8_t> second;
    ASSERT_TRUE(ReadWholeFile((dir_ / "again.snp").string(), second));
    EXPECT_EQ(first, second);
}

TEST_F(TBoxSnapshotTest, ShortOrMissingSnapshotFileOpensWithAnEmptySnapshot)
{
    const std::string snp = (dir_ / "v.snp").string(), project = (dir_ / "v.box").string();
    {
        auto box = Make(0.04);
        box->SnapshotDialog().Command(TSnapshotDialog::kFreeAirSpl);
        ASSERT_TRUE(box->SnapshotDialog().SaveTo(snp, "File save"));
        ASSERT_TRUE(box->SaveTo(project));
    }
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(snp, bytes));
    bytes.resize(bytes.size() - 1);
    ASSERT_TRUE(SaveFileSafely(snp, bytes.data(), bytes.size()));
    for (bool missing : {false, true}) {
        SCOPED_TRACE(missing);
        if (missing)
            fs::remove(snp);
        auto box = std::make_unique<TClosedBox>(host_, context_);
        host_.ClearMessages();
        ASSERT_TRUE(box->Load(project));
        EXPECT_TRUE(host_.Messages().empty());
        EXPECT_EQ(box->SnapshotPath(), "");
        EXPECT_FALSE(box->SnapshotWindow().slotData[0].hasData);
        EXPECT_TRUE(box->FrontDriver().complete); // nothing else lost
    }
}

} // namespace
