// The snapshot window on its own: its file (layout, round trip, every truncation and the
// values it refuses), its axes and legend as drawn, and its dialog's rules and messages.

#include "core/TBinaryStream.h"
#include "core/TProgramFolder.h"
#include "plot/TSnapshot.h"
#include "plot/TSnapshotDialog.h"
#include "ui/THeadlessHost.h"
#include "ui/TRecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Offsets into the file of the fields the tests damage.
constexpr std::size_t kStartAt = 2, kRangeAt = 10, kLabelsAt = 35, kFrequenciesAt = 515,
                      kLevelsAt = kFrequenciesAt + 20000, kCountsAt = kLevelsAt + 20000;

class SnapshotTest : public ::testing::Test {
protected:
    SnapshotTest() : window_(host_, styles_, nullptr, {[] { return 20; }, [] { return 20000; }}) {}

    // Slot k: a line falling 1 dB per point from `top`, n points from 20 Hz up.
    void Fill(int k, double top, int n = 100)
    {
        std::vector<double> f(static_cast<std::size_t>(n)), l(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            f[static_cast<std::size_t>(i)] = 20.0 * std::pow(1000.0, double(i) / (n - 1));
            l[static_cast<std::size_t>(i)] = top - i;
        }
        ASSERT_TRUE(window_.CopyInto(k, f.data(), l.data(), n));
    }

    std::vector<std::uint8_t> Bytes() const
    {
        TBinaryWriter out;
        window_.WriteFile(out, 410);
        return out.Bytes();
    }

    TRecordingCanvas Paint()
    {
        TRecordingCanvas canvas(600, 380);
        window_.Paint(canvas);
        return canvas;
    }

    // Legend texts drawn at x = 210 (labels), in order.
    static std::vector<std::string> LegendLabels(const TRecordingCanvas& canvas)
    {
        std::vector<std::string> out;
        for (const TCanvasOp& op : canvas.OpsOf(TCanvasOp::Kind::Text))
            if (op.points[0].x == 210)
                out.push_back(op.text);
        return out;
    }

    THeadlessHost host_;
    TPlotStyles styles_;
    TSnapshot window_;
};

TEST_F(SnapshotTest, FileHasItsLayoutAndRoundTripsByteForByte)
{
    Fill(0, 90);
    Fill(3, 80, 500);
    window_.slotData[3].offset = -7;
    window_.slotData[3].label = "55 l";
    window_.slotData[0].visible = false;
    window_.hideNumbers = true;
    window_.range = 45;
    window_.SetSnapshotCaption("Volumes");
    window_.SetNote("a note");
    const auto bytes = Bytes();
    ASSERT_EQ(bytes.size(), TSnapshot::kFileBytes);
    std::int16_t version = 0;
    std::memcpy(&version, bytes.data(), 2);
    EXPECT_EQ(version, 410);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[kLabelsAt + 3 * 80])), "55 l");

    TSnapshot other(host_, styles_, nullptr, {});
    TBinaryReader in(bytes);
    ASSERT_TRUE(other.ReadFile(in));
    TBinaryWriter again;
    other.WriteFile(again, 410);
    EXPECT_EQ(again.Bytes(), bytes);
    EXPECT_EQ(other.Caption(), "Volumes");
    EXPECT_EQ(other.Note(), "a note");
    EXPECT_FALSE(other.slotData[0].visible);
    EXPECT_TRUE(other.slotData[0].hasData);
}

TEST_F(SnapshotTest, EveryTruncationFailsAndLeavesTheSlotsAsTheyWere)
{
    Fill(1, 70);
    const auto full = Bytes();
    TSnapshot target(host_, styles_, nullptr, {});
    Fill(0, 50); // what target holds
    TBinaryReader seed(Bytes());
    ASSERT_TRUE(target.ReadFile(seed));
    const auto before = Bytes();
    for (std::size_t n = 0; n < full.size(); n += (n < 600 || n > full.size() - 200) ? 1 : 97) {
        TBinaryReader in(std::vector<std::uint8_t>(full.begin(), full.begin() + static_cast<long>(n)));
        ASSERT_FALSE(target.ReadFile(in)) << n;
        TBinaryWriter now;
        target.WriteFile(now, 410);
        ASSERT_EQ(now.Bytes(), before) << n;
    }
}

TEST_F(SnapshotTest, RefusesValuesTheProgramNeverWrites)
{
    Fill(0, 70);
    const auto good = Bytes();
    auto putInt = [](std::vector<std::uint8_t>& b, std::size_t at, std::int32_t v) { std::memcpy(&b[at], &v, 4); };
    auto putDouble = [](std::vector<std::uint8_t>& b, std::size_t at, double v) { std::memcpy(&b[at], &v, 8); };
    struct TCase {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> damage;
    };
    const TCase cases[] = {
        {"count 501", [&](auto& b) { putInt(b, kCountsAt, 501); }},
        {"negative count", [&](auto& b) { putInt(b, kCountsAt + 8, -1); }},
        {"NaN level", [&](auto& b) { putDouble(b, kLevelsAt + 8 * 5, std::nan("")); }},
        {"zero frequency", [&](auto& b) { putDouble(b, kFrequenciesAt, 0.0); }},
        {"infinite frequency", [&](auto& b) { putDouble(b, kFrequenciesAt + 8, HUGE_VAL); }},
        {"range 0", [&](auto& b) { putInt(b, kRangeAt, 0); }},
        {"range 81", [&](auto& b) { putInt(b, kRangeAt, 81); }},
        {"start 0", [&](auto& b) { putInt(b, kStartAt, 0); }},
        {"stop below start + 10", [&](auto& b) { putInt(b, kStartAt, 19995); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto bad = good;
        c.damage(bad);
        TSnapshot target(host_, styles_, nullptr, {});
        TBinaryReader in(bad);
        EXPECT_FALSE(target.ReadFile(in));
        EXPECT_FALSE(target.slotData[0].hasData);
    }
    // A NaN beyond a slot's count is never drawn: kept as it is.
    auto tail = good;
    putDouble(tail, kLevelsAt + 8 * 400, std::nan(""));
    TBinaryReader in(tail);
    EXPECT_TRUE(window_.ReadFile(in));
}

TEST_F(SnapshotTest, LongLabelsAndCaptionsAreCutAndTerminated)
{
    auto bytes = Bytes();
    std::fill(bytes.begin() + kLabelsAt, bytes.begin() + kLabelsAt + 480, static_cast<std::uint8_t>('x'));
    TBinaryReader in(bytes);
    ASSERT_TRUE(window_.ReadFile(in));
    EXPECT_EQ(window_.slotData[0].label, std::string(79, 'x'));
    EXPECT_EQ(window_.SnapshotCaption(), std::string(79, 'x'));
    TBinaryWriter out;
    window_.WriteFile(out, 410);
    EXPECT_EQ(out.Bytes()[kLabelsAt + 79], 0);
}

TEST_F(SnapshotTest, AxesFollowTheVisibleSlotsAndTheirOffsets)
{
    // Nothing shown: -10 - range .. -10.
    (void)Paint();
    EXPECT_DOUBLE_EQ(window_.yMaximum, -10);
    EXPECT_DOUBLE_EQ(window_.yMinimum, -40);
    Fill(0, 90);
    Fill(1, 80);
    (void)Paint();
    EXPECT_DOUBLE_EQ(window_.yMaximum, 90);
    window_.slotData[0].offset = 10;
    (void)Paint();
    EXPECT_DOUBLE_EQ(window_.yMaximum, 100);
    EXPECT_DOUBLE_EQ(window_.yMinimum, 70);
    window_.slotData[0].visible = false;
    (void)Paint();
    EXPECT_DOUBLE_EQ(window_.yMaximum, 80);
}

TEST_F(SnapshotTest, OffsetMovesTheCurveByExactlyItsValue)
{
    Fill(0, 90);
    Fill(1, 60);
    auto curveOf = [](const TRecordingCanvas& c, TColor colour) {
        for (const TCanvasOp& op : c.OpsOf(TCanvasOp::Kind::Polyline))
            if (op.pen.color == colour)
                return op.points;
        return std::vector<TPoint>{};
    };
    const auto before = curveOf(Paint(), TColors::Blue);
    window_.slotData[1].offset = 10; // still below slot 1: the axis stays
    const auto after = curveOf(Paint(), TColors::Blue);
    ASSERT_EQ(before.size(), 100u);
    ASSERT_EQ(after.size(), 100u);
    // 10 dB of a 30 dB range over 370 rows.
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].x, before[i].x);
        EXPECT_NEAR(before[i].y - after[i].y, 10 * 370.0 / 30, 1.0);
    }
}

TEST_F(SnapshotTest, HiddenSlotsLeaveTheLegendAndTheRowsMoveUp)
{
    Fill(0, 90);
    Fill(1, 80);
    Fill(2, 70);
    window_.slotData[0].label = "40 l";
    window_.slotData[1].label = "55 l";
    window_.slotData[2].label = "70 l";
    EXPECT_EQ(LegendLabels(Paint()), (std::vector<std::string>{"40 l", "55 l", "70 l"}));
    window_.slotData[1].visible = false;
    auto canvas = Paint();
    EXPECT_EQ(LegendLabels(canvas), (std::vector<std::string>{"40 l", "70 l"}));
    // The third slot's row is now the second one: y 580 + 5.
    for (const TCanvasOp& op : canvas.OpsOf(TCanvasOp::Kind::Text)) {
        if (op.text == "70 l") {
            EXPECT_EQ(op.points[0].y, 585);
        }
    }
    // Numbers: one circle per shown slot, none with hide numbers.
    EXPECT_EQ(canvas.OpsOf(TCanvasOp::Kind::Ellipse).size(), 2u);
    window_.hideNumbers = true;
    EXPECT_TRUE(Paint().OpsOf(TCanvasOp::Kind::Ellipse).empty());
}

TEST_F(SnapshotTest, SlotOutsideTheRangeHasALegendRowButNoNumber)
{
    Fill(0, 90);
    window_.start = 1; // every point lies above 15 Hz
    window_.stop = 15;
    window_.slotData[0].label = "low";
    auto canvas = Paint();
    EXPECT_EQ(window_.NumberPoint(0), -1);
    EXPECT_TRUE(canvas.OpsOf(TCanvasOp::Kind::Ellipse).empty());
    EXPECT_EQ(LegendLabels(canvas), std::vector<std::string>{"low"});
}

class SnapshotDialogTest : public SnapshotTest {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("tonvek-snapshot-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        folder_ = TProgramFolder(dir_.string());
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::unique_ptr<TSnapshotDialog> Make()
    {
        TSnapshotDialog::TOwner owner;
        owner.folder = &folder_;
        owner.fileName = &fileName_;
        owner.storedPath = &storedPath_;
        owner.sources = {{TSnapshotDialog::kFreeAirSpl, "&Free air SPL at 1m distance", [this](TSnapshot& w, int slot) {
                              return w.CopyInto(slot, f_.data(), level_.data(), static_cast<int>(f_.size()));
                          }}};
        owner.copied = [this] { ++copies_; };
        owner.fileDone = [this] { ++filesDone_; };
        return std::make_unique<TSnapshotDialog>(host_, window_, std::move(owner), 10206);
    }

    fs::path dir_;
    TProgramFolder folder_;
    std::string fileName_, storedPath_;
    std::vector<double> f_{20, 200, 2000}, level_{80, 90, 85};
    int copies_ = 0, filesDone_ = 0;
};

TEST_F(SnapshotDialogTest, CopyFillsTheChosenSlotAndEnablesHide)
{
    auto d = Make();
    d->Open();
    EXPECT_FALSE(d->Field(TSnapshotDialog::kHide).enabled);
    d->Select(TSnapshotDialog::kSlot, 2);
    d->Command(TSnapshotDialog::kFreeAirSpl);
    EXPECT_EQ(copies_, 1);
    const TSnapshot::TSlot& s = window_.slotData[2];
    ASSERT_EQ(s.count, 3);
    EXPECT_TRUE(std::equal(level_.begin(), level_.end(), s.level.begin()));
    EXPECT_TRUE(s.hasData && s.visible);
    EXPECT_TRUE(d->Field(TSnapshotDialog::kHide).enabled);
    EXPECT_FALSE(d->Checked(TSnapshotDialog::kHide));
    d->Toggle(TSnapshotDialog::kHide, true);
    EXPECT_FALSE(window_.slotData[2].visible);
    // Another slot shows its own state.
    d->Select(TSnapshotDialog::kSlot, 0);
    EXPECT_FALSE(d->Field(TSnapshotDialog::kHide).enabled);
}

TEST_F(SnapshotDialogTest, FrequencyFieldsKeepTenHertzApart)
{
    auto d = Make();
    d->Open();
    d->Type(TSnapshotDialog::kStart, "1000");
    d->FocusField(TSnapshotDialog::kRange);
    EXPECT_EQ(window_.start, 1000);
    d->Type(TSnapshotDialog::kStop, "1005");
    d->FocusField(TSnapshotDialog::kRange);
    EXPECT_EQ(window_.stop, 20000);
    d->Type(TSnapshotDialog::kStop, "1010");
    d->FocusField(TSnapshotDialog::kRange);
    EXPECT_EQ(window_.stop, 1010);
    d->Type(TSnapshotDialog::kRange, "81");
    d->FocusField(TSnapshotDialog::kStart);
    EXPECT_EQ(window_.range, 30);
}

TEST_F(SnapshotDialogTest, SaveAsksForANameOnceThenSavesAndOpenReadsItBack)
{
    auto d = Make();
    d->Open();
    d->Command(TSnapshotDialog::kFreeAirSpl);
    host_.QueueFileName(std::nullopt); // cancelled: nothing happens
    d->Command(TSnapshotDialog::kSave);
    EXPECT_EQ(filesDone_, 0);
    host_.QueueFileName((dir_ / "a.snp").string());
    d->Command(TSnapshotDialog::kSave);
    EXPECT_EQ(filesDone_, 1);
    EXPECT_EQ(storedPath_, "a.snp"); // relative to the program folder
    EXPECT_EQ(fs::file_size(dir_ / "a.snp"), TSnapshot::kFileBytes);
    d->Command(TSnapshotDialog::kSave); // no chooser now
    EXPECT_EQ(filesDone_, 2);

    window_.Reset();
    host_.QueueFileName((dir_ / "a.snp").string());
    d->Command(TSnapshotDialog::kOpen);
    EXPECT_TRUE(window_.slotData[0].hasData);
    EXPECT_EQ(filesDone_, 3);
}

TEST_F(SnapshotDialogTest, FailedOpenAndSaveShowTheirMessages)
{
    auto d = Make();
    d->Open();
    d->Command(TSnapshotDialog::kFreeAirSpl);
    storedPath_ = fileName_ = "old.snp";
    std::vector<std::uint8_t> cut(100, 0);
    ASSERT_TRUE(SaveFileSafely((dir_ / "cut.snp").string(), cut.data(), cut.size()));
    host_.QueueFileName((dir_ / "cut.snp").string());
    d->Command(TSnapshotDialog::kOpen);
    ASSERT_NE(host_.LastMessage(), nullptr);
    EXPECT_EQ(host_.LastMessage()->text, "Could not open file.\nCheck if device is ready.");
    EXPECT_EQ(host_.LastMessage()->title, "File open");
    EXPECT_EQ(storedPath_, "");
    EXPECT_EQ(fileName_, "");
    EXPECT_FALSE(window_.slotData[0].hasData); // reset, points kept
    EXPECT_EQ(window_.slotData[0].count, 3);

    host_.QueueFileName((dir_ / "no-folder" / "x.snp").string());
    d->Command(TSnapshotDialog::kSaveAs);
    EXPECT_EQ(host_.LastMessage()->text, "Could not open file.\nCheck if device is ready\nor if the disk is full.");
    EXPECT_EQ(host_.LastMessage()->title, "File save as");
}

} // namespace
