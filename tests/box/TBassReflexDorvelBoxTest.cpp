// The reflex bandpass box itself: the two driver groups sharing the front box, the rear
// group's own drive, the input impedance of both groups, the front group working alone,
// the dialog's rules, quick box, the commands of the rear group and the file layout.
// What all box types share is in BoxFrameTest.

#include "box/TBassReflexDorvelBox.h"
#include "box/TBassReflexBox.h"
#include "box/TBoxReport.h"
#include "box/TBreflDorvelDialog.h"
#include "box/elements/TBoxObject.h"
#include "core/TBinaryStream.h"
#include "driver/TSpeakerConfigDialog.h"
#include "driver/TSpeakerUnitDialog.h"
#include "support/BoxTestBench.h"
#include "ui/TCommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;
using D = TBreflDorvelDialog;

namespace {

class TBassReflexDorvelBoxTest : public ::testing::Test, protected BoxTestBench {
protected:
    void SetUp() override { Enter("tonvek-rbp"); }
    void TearDown() override { Leave(); }

    // The example woofer in both groups; a 30 l front box with its port at 45 Hz, a
    // 15 l rear box.
    std::unique_ptr<TBassReflexDorvelBox> MakeBox(bool withRear = true)
    {
        auto box = std::make_unique<TBassReflexDorvelBox>(host_, context_);
        Prepare(*box, 0.03);
        if (withRear) {
            FillWoofer(box->RearDriver());
            box->RearDriver().EvaluateComplete();
        }
        box->RearBox().Vb = 0.015;
        box->RearBox().dirty = true;
        TPortObject& port = box->FrontPort();
        port.V = box->FrontBox().TuningVolume();
        EXPECT_TRUE(port.SetLengthFromTuning(45.0));
        port.dirty = true;
        return box;
    }

    int IndexNear(const TBoxEmbryo& box, double f) const
    {
        const TFreqGrid& g = box.Grid();
        int best = 0;
        for (int i = 1; i < g.Count(); ++i)
            if (std::fabs(g.Frequency(i) - f) < std::fabs(g.Frequency(best) - f))
                best = i;
        return best;
    }

    static bool AllFinite(const TBoxEmbryo::TRealBlock& block, int n)
    {
        return std::all_of(block.begin(), block.begin() + n, [](double v) { return std::isfinite(v); });
    }
};

TEST_F(TBassReflexDorvelBoxTest, FrontGroupAloneIsTheVentedBox)
{
    // Without the rear group the front cone sees the front box and port alone: the
    // bass reflex box with the same box, port and driver.
    auto rbp = MakeBox(false);
    auto reflex = std::make_unique<TBassReflexBox>(host_, context_);
    Prepare(*reflex, 0.03);
    reflex->Port().L = rbp->FrontPort().L;
    reflex->Port().dirty = true;
    rbp->Calculate(0);
    reflex->Calculate(0);
    const int n = rbp->PointCount();
    ASSERT_GT(n, 10);
    for (int i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(i);
        EXPECT_NEAR(rbp->splTotal[j], reflex->splTotal[j], 1e-9) << i;
        EXPECT_NEAR(rbp->FrontDriver().impedanceMagnitude[j], reflex->FrontDriver().impedanceMagnitude[j], 1e-9) << i;
        EXPECT_NEAR(rbp->portAirSpeed[j], reflex->portAirSpeed[j], 1e-12) << i;
        EXPECT_EQ(rbp->weight[j], 1.0);
        EXPECT_EQ(rbp->RearDriver().excursion[j], 0.0);
    }
    const std::vector<std::string>& lines = rbp->Report().Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), " the front group works alone"), lines.end());
}

TEST_F(TBassReflexDorvelBoxTest, TwoGroupsShareTheFrontBox)
{
    auto box = MakeBox();
    auto alone = MakeBox(false);
    box->Calculate(0);
    alone->Calculate(0);
    const int n = box->PointCount();
    for (int i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(i);
        EXPECT_GE(box->weight[j], 1.0) << i;
        EXPECT_LE(box->weight[j], 2.0) << i;
    }
    EXPECT_TRUE(AllFinite(box->splTotal, n));
    EXPECT_TRUE(AllFinite(box->RearDriver().excursion, n));
    // Well above the port tuning both voice coils are mostly resistive: two equal
    // groups in parallel halve the input impedance.
    const auto top = static_cast<std::size_t>(IndexNear(*box, 400.0));
    EXPECT_NEAR(box->FrontDriver().impedanceMagnitude[top] / alone->FrontDriver().impedanceMagnitude[top], 0.5, 0.05);
    // Well above every resonance both cones are mass controlled and alike: each
    // carries an equal share of the front box, the weight reaches its limit.
    EXPECT_GT(box->weight[top], 1.9);
    // The front cone moves least near the port's tuning, as in a vented box.
    const auto& x = box->FrontDriver().excursion;
    const auto tuning = static_cast<std::size_t>(IndexNear(*box, 45.0));
    EXPECT_LT(x[tuning], x[static_cast<std::size_t>(IndexNear(*box, 30.0))]);
    EXPECT_LT(x[tuning], x[static_cast<std::size_t>(IndexNear(*box, 70.0))]);
    const std::vector<std::string>& lines = box->Report().Lines();
    EXPECT_EQ(box->Report().Title(), "REFLEXBANDPASS BOX");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Front driver"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Rear driver"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Rear box"), lines.end());
}

TEST(TBassReflexDorvelWeight, StaysBetweenOneAndTwo)
{
    struct Row {
        const char* name;
        TComplex t1, t2, x;
        double expected;
    };
    const Row rows[] = {
        {"equal cones share equally", {3, 4}, {3, 4}, {1, 1}, 2.0},
        {"equal cones without a box", {3, 4}, {3, 4}, {0, 0}, 2.0},
        {"stiff rear cone: the front one carries little more than its own share", {1, 0}, {1e9, 0}, {1, 0}, 1.0},
        {"stiff front cone: the weight stops at 2", {1e9, 0}, {1, 0}, {1, 0}, 2.0},
        {"nothing at all", {0, 0}, {0, 0}, {0, 0}, 2.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(TBassReflexDorvelBox::CouplingWeight(row.t1, row.t2, row.x), row.expected, 1e-6);
    }
    // Four fixed steps from 1: with t1 = 0, t2 = 1, x = 1 the weight runs 1.5, 1.6, 1.615...
    double w = 1.0;
    for (int k = 0; k < 4; ++k)
        w = w / (1.0 + w) + 1.0;
    EXPECT_DOUBLE_EQ(TBassReflexDorvelBox::CouplingWeight({0, 0}, {1, 0}, {1, 0}), w);
}

TEST_F(TBassReflexDorvelBoxTest, RearGroupIgnoresTheHighPass)
{
    auto box = MakeBox();
    box->Calculate(0);
    const auto rear = box->RearDriver().excursion;
    const auto front = box->FrontDriver().excursion;
    context_.MeasSetup().highPassCutoff = 60;
    box->Calculate(0);
    const int n = box->PointCount();
    const auto low = static_cast<std::size_t>(IndexNear(*box, 25.0));
    EXPECT_LT(box->FrontDriver().excursion[low], 0.7 * front[low]);
    // The rear drive is the generator without its filter; its load depends on the
    // front cone only through the coupling weight, which the filter does not change.
    for (int i = 0; i < n; ++i)
        EXPECT_NEAR(box->RearDriver().excursion[static_cast<std::size_t>(i)], rear[static_cast<std::size_t>(i)],
                    1e-12 * (1 + rear[static_cast<std::size_t>(i)]))
            << i;
}

TEST_F(TBassReflexDorvelBoxTest, ExtremeElementsGiveFiniteCurves)
{
    struct Row {
        const char* name;
        double front, rear, length, diameter;
    };
    const Row rows[] = {
        {"tiny boxes", 1e-4, 1e-4, 0.1, 0.05},
        {"huge boxes", 10.0, 10.0, 0.1, 0.05},
        {"zero port length", 0.03, 0.015, 0.0, 0.05},
        {"wide short port", 0.03, 0.015, 0.001, 1.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto box = MakeBox();
        box->FrontBox().Vb = row.front;
        box->RearBox().Vb = row.rear;
        box->FrontPort().L = row.length;
        box->FrontPort().D = row.diameter;
        box->FrontPort().S = 0.25 * M_PI * row.diameter * row.diameter;
        box->Calculate(0);
        const int n = box->PointCount();
        EXPECT_TRUE(AllFinite(box->splTotal, n));
        EXPECT_TRUE(AllFinite(box->portAirSpeed, n));
        EXPECT_TRUE(AllFinite(box->FrontDriver().impedanceMagnitude, n));
        EXPECT_TRUE(AllFinite(box->RearDriver().excursion, n));
    }
}

TEST_F(TBassReflexDorvelBoxTest, QuickBoxSizesBothBoxesFromTheFrontDriver)
{
    auto box = MakeBox();
    box->FrontDriver().Vas = 0.05;
    box->FrontDriver().fs = 30.0;
    box->FrontBox().fill = 0;
    const double rearLength = box->RearPort().L;
    box->QuickBox();
    EXPECT_NEAR(box->FrontBox().Vb, 0.075, 1e-12);
    EXPECT_NEAR(box->RearBox().Vb, 0.05, 1e-12);
    EXPECT_NEAR(box->FrontPort().fp, 30.0, 1e-6);
    EXPECT_GE(box->FrontPort().L, 0.1 - 1e-12);
    // The rear port keeps its dimensions; its tuning follows the new rear box.
    EXPECT_EQ(box->RearPort().L, rearLength);
    EXPECT_NEAR(box->RearPort().V, 0.05, 1e-12);
}

TEST_F(TBassReflexDorvelBoxTest, DialogRules)
{
    auto box = MakeBox();
    host_.EnableCommand(TCmd::ReflexBandpassDialog, true);
    ASSERT_TRUE(box->HandleCommand(TCmd::ReflexBandpassDialog));
    auto& dialog = static_cast<TBreflDorvelDialog&>(*box->ExistingBoxDialog());
    EXPECT_EQ(dialog.title, "Dorvel's bassreflex box");
    EXPECT_EQ(dialog.Field(D::kRearPort + D::kResistance).group, "Rear port / variovent");
    EXPECT_EQ(host_.CommandEnabled(TCmd::ReflexBandpassDialog), std::optional<bool>(false));
    auto type = [&dialog](int id, const char* text) {
        dialog.Type(id, text);
        dialog.FocusField(D::kNonLinearity);
    };
    // The rear box may leak much more than the front box.
    type(D::kRearBox + D::kQl, "0.5");
    EXPECT_DOUBLE_EQ(box->RearBox().Ql, 0.5);
    type(D::kFrontBox + D::kQl, "0.5");
    EXPECT_DOUBLE_EQ(box->FrontBox().Ql, 15.0);
    // A volume retunes the port group in that box only.
    const double frontFp = box->FrontPort().fp, rearFp = box->RearPort().fp;
    type(D::kRearBox + D::kVolume, "40");
    EXPECT_DOUBLE_EQ(box->RearBox().Vb, 0.04);
    EXPECT_LT(box->RearPort().fp, rearFp);
    EXPECT_EQ(box->FrontPort().fp, frontFp);
    EXPECT_DOUBLE_EQ(dialog.Dbl(D::kRearPort + D::kResFreq).Value(), box->RearPort().fp);
    // The resistance marks nothing dirty.
    context_.MeasSetup().calculateImmediately = false;
    box->RearPort().dirty = box->FrontPort().dirty = box->RearBox().dirty = false;
    type(D::kRearPort + D::kResistance, "2.5e5");
    EXPECT_DOUBLE_EQ(box->acousticResistance, 2.5e5);
    EXPECT_FALSE(box->RearPort().dirty || box->FrontPort().dirty || box->RearBox().dirty);
    type(D::kRearPort + D::kResistance, "0.01"); // below 0.1: refused
    EXPECT_DOUBLE_EQ(box->acousticResistance, 2.5e5);
    dialog.Toggle(D::kNonLinearity, true);
    EXPECT_TRUE(box->FrontPort().NonLinearity() && box->FrontPort().dirty);
    // No table for this type: it says so and changes nothing. The fit opens its dialog.
    const double volume = box->FrontBox().Vb;
    host_.ClearMessages();
    dialog.Command(D::kTableLookup);
    ASSERT_NE(host_.LastMessage(), nullptr);
    EXPECT_EQ(host_.LastMessage()->title, "Optimize");
    EXPECT_EQ(box->FrontBox().Vb, volume);
    dialog.Command(D::kFrequencyFit);
    ASSERT_NE(box->OptimiserDialog(), nullptr);
    box->OptimiserDialog()->Close();
    dialog.Command(D::kQuickBox);
    EXPECT_NE(box->FrontBox().Vb, volume);
    dialog.Close();
    EXPECT_EQ(host_.CommandEnabled(TCmd::ReflexBandpassDialog), std::optional<bool>(true));
}

TEST_F(TBassReflexDorvelBoxTest, RearGroupCommandsOnlyHere)
{
    auto box = MakeBox();
    box->Calculate(0);
    for (int id : {TCmd::RearDriverConfig, TCmd::RearDriverLoad, TCmd::RearUnitEditor, TCmd::ReflexBandpassDialog})
        EXPECT_TRUE(box->HandlesCommand(id)) << id;
    auto reflex = std::make_unique<TBassReflexBox>(host_, context_);
    for (int id : {TCmd::RearDriverConfig, TCmd::RearDriverLoad, TCmd::RearUnitEditor, TCmd::ReflexBandpassDialog})
        EXPECT_FALSE(reflex->HandlesCommand(id)) << id;

    box->Calculate(0);
    ASSERT_TRUE(box->HandleCommand(TCmd::RearDriverConfig));
    EXPECT_EQ(box->RearDriverConfigDialog().title, "Rear driver unit configuration");
    EXPECT_EQ(host_.CommandEnabled(TCmd::RearDriverConfig), std::optional<bool>(false));
    ASSERT_TRUE(box->HandleCommand(TCmd::DriverConfig));
    EXPECT_EQ(box->DriverConfigDialog().title, "Front driver unit configuration");
    // The rear group's configuration changes the rear group only: two rear drivers in
    // parallel take twice the current of one and move the same.
    const auto spl = box->splTotal;
    const auto top = static_cast<std::size_t>(IndexNear(*box, 400.0));
    const double impedance = box->FrontDriver().impedanceMagnitude[top];
    box->RearDriver().SetNumberOfDrivers(2);
    box->RearDriver().SetDriverConnection(1);
    box->Calculate(0);
    EXPECT_EQ(box->FrontDriver().numberOfDrivers, 1);
    EXPECT_LT(box->FrontDriver().impedanceMagnitude[top], 0.75 * impedance);
    EXPECT_GT(box->splTotal[top], spl[top]);
    box->RearDriverConfigDialog().Close();
    box->Calculate(0);
    EXPECT_EQ(host_.CommandEnabled(TCmd::RearDriverConfig), std::optional<bool>(true));
}

TEST_F(TBassReflexDorvelBoxTest, FileBodyLayout)
{
    const std::string unit = unitPath();
    auto reflex = std::make_unique<TBassReflexBox>(host_, context_);
    ASSERT_TRUE(reflex->LoadFrontUnitFrom(unit));
    const std::string reflexPath = (dir_ / "reflex.box").string();
    ASSERT_TRUE(reflex->SaveTo(reflexPath));

    auto box = std::make_unique<TBassReflexDorvelBox>(host_, context_);
    ASSERT_TRUE(box->LoadFrontUnitFrom(unit));
    ASSERT_TRUE(box->LoadRearUnitFrom(unit));
    box->acousticResistance = 1234.5;
    box->RearBox().Vb = 0.021;
    box->RearBox().dirty = true;
    box->RearDriver().SetNumberOfDrivers(3);
    const std::string path = (dir_ / "rbp.box").string();
    ASSERT_TRUE(box->SaveTo(path));
    std::vector<std::uint8_t> bytes, reflexBytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    ASSERT_TRUE(ReadWholeFile(reflexPath, reflexBytes));
    // Beyond the vented box's port record and air speed window: the resistance, the
    // rear port and rear box records, the rear unit path and its configuration block.
    EXPECT_EQ(bytes.size() - reflexBytes.size(), 8u + 53u + 28u + 271u + 378u);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[bytes.size() - 2], 0x39);
    EXPECT_EQ(bytes[bytes.size() - 1], 0x30);
    EXPECT_EQ(bytes[0], 9);

    auto again = std::make_unique<TBassReflexDorvelBox>(host_, context_);
    host_.ClearMessages();
    ASSERT_TRUE(again->Load(path));
    EXPECT_TRUE(host_.Messages().empty());
    EXPECT_DOUBLE_EQ(again->acousticResistance, 1234.5);
    EXPECT_DOUBLE_EQ(again->RearBox().Vb, 0.021);
    EXPECT_EQ(again->RearDriver().numberOfDrivers, 3);
    EXPECT_TRUE(again->RearActive());
    EXPECT_EQ(again->RearUnitFileName(), box->RearUnitFileName());
    EXPECT_EQ(again->splTotal, box->splTotal);
}

TEST_F(TBassReflexDorvelBoxTest, MissingRearUnitKeepsTheFrontGroupWorking)
{
    const std::string front = unitPath();
    const std::string rear = (dir_ / "rear.unt").string();
    fs::copy_file(front, rear);
    auto box = std::make_unique<TBassReflexDorvelBox>(host_, context_);
    ASSERT_TRUE(box->LoadFrontUnitFrom(front));
    ASSERT_TRUE(box->LoadRearUnitFrom(rear));
    const std::string path = (dir_ / "norear.box").string();
    ASSERT_TRUE(box->SaveTo(path));
    fs::remove(rear);

    auto reader = std::make_unique<TBassReflexDorvelBox>(host_, context_);
    host_.ClearMessages();
    ASSERT_TRUE(reader->Load(path));
    ASSERT_EQ(host_.Messages().size(), 1u);
    EXPECT_EQ(host_.LastMessage()->text, "Could not open file : rear.unt\nCheck if path and filename is correct.");
    EXPECT_EQ(host_.LastMessage()->title, "Speaker unit load");
    EXPECT_FALSE(reader->RearActive());
    EXPECT_TRUE(reader->FrontDriver().complete);
    EXPECT_EQ(reader->Report().Title(), "REFLEXBANDPASS BOX");
    EXPECT_TRUE(reader->SplPlot().HasData());
    const std::vector<std::string>& lines = reader->Report().Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), " Rear driver unit rear.unt not usable:"), lines.end());
    // The name is kept: saving again does not lose which unit the rear group wants.
    EXPECT_EQ(reader->RearUnitFileName(), "rear.unt");

    // An incomplete rear unit is said as such; the front group still works.
    TSpkData partial;
    partial.fs = 30;
    ASSERT_TRUE(partial.Save(rear));
    host_.ClearMessages();
    EXPECT_TRUE(reader->LoadRearUnitFrom(rear));
    EXPECT_EQ(host_.LastMessage()->text, "Too few speaker parameters are defined");
    EXPECT_FALSE(reader->RearActive());
    EXPECT_EQ(host_.CommandEnabled(TCmd::Calculate), std::optional<bool>(true));
}

TEST_F(TBassReflexDorvelBoxTest, TruncatedBodiesFail)
{
    auto box = std::make_unique<TBassReflexDorvelBox>(host_, context_);
    const std::string unit = unitPath();
    ASSERT_TRUE(box->LoadFrontUnitFrom(unit));
    ASSERT_TRUE(box->LoadRearUnitFrom(unit));
    const std::string path = (dir_ / "cut.box").string();
    ASSERT_TRUE(box->SaveTo(path));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    auto reader = std::make_unique<TBassReflexDorvelBox>(host_, context_);
    // Every cut fails, also where the rear unit's name is whole and its unit loads.
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        TBinaryReader in(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
        EXPECT_FALSE(reader->LoadFrom(in)) << cut;
    }
    // A resistance that is not a number is not what the program writes.
    auto bad = bytes;
    const std::size_t body = bytes.size() - 2 - 70 - 378 - 271 - 28 - 53 - 53 - 8;
    // The window record of the air speed plot is 70 bytes long in this layout when
    // the sizes add up; the resistance then sits at `body`.
    double stored = 0;
    std::memcpy(&stored, &bytes[body], sizeof stored);
    ASSERT_EQ(stored, TBassReflexDorvelBox::kResetResistance);
    const double nan = std::nan("");
    std::memcpy(&bad[body], &nan, sizeof nan);
    TBinaryReader in(bad);
    EXPECT_FALSE(reader->LoadFrom(in));
}

} // namespace

namespace {

class TBassReflexDorvelOldFileTest : public ::testing::Test, protected BoxTestBench {
protected:
    void SetUp() override { Enter("tonvek-rbp-old"); }
    void TearDown() override { Leave(); }
};

TEST_F(TBassReflexDorvelOldFileTest, Version409ReadsShortConfigurationBlocks)
{
    const std::string unit = unitPath();
    auto box = std::make_unique<TBassReflexDorvelBox>(host_, context_);
    ASSERT_TRUE(box->LoadFrontUnitFrom(unit));
    ASSERT_TRUE(box->LoadRearUnitFrom(unit));
    box->RearDriver().SetNumberOfDrivers(4);
    box->RearBox().Vb = 0.012;
    const std::string path = (dir_ / "new.box").string();
    ASSERT_TRUE(box->SaveTo(path));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    // Before version 410 neither configuration block has the load resistor, its last 8
    // bytes: the front one after the common head, the rear one before the air speed
    // window's 70-byte record and the end mark. The setup block has no high-pass then
    // (its last 12 bytes).
    const std::size_t frontBlock = 4 + 2 + 16 + 63 + 271 + 271;
    const std::size_t rearEnd = bytes.size() - 2 - 70;
    std::vector<std::uint8_t> old(bytes.begin(), bytes.begin() + static_cast<long>(rearEnd - 8));
    old.insert(old.end(), bytes.begin() + static_cast<long>(rearEnd), bytes.end());
    old.erase(old.begin() + static_cast<long>(frontBlock + 370), old.begin() + static_cast<long>(frontBlock + 378));
    old.erase(old.begin() + 22 + 51, old.begin() + 22 + 63);
    old[4] = 409 & 0xff;
    old[5] = 409 >> 8;
    ASSERT_EQ(old.size(), bytes.size() - 28);

    auto reader = std::make_unique<TBassReflexDorvelBox>(host_, context_);
    reader->RearDriver().loadResistor = 7.5;
    TBinaryReader in(old);
    ASSERT_TRUE(reader->LoadFrom(in));
    EXPECT_EQ(reader->RearDriver().numberOfDrivers, 4);
    EXPECT_DOUBLE_EQ(reader->RearBox().Vb, 0.012);
    EXPECT_DOUBLE_EQ(reader->RearDriver().loadResistor, 7.5);
    EXPECT_TRUE(reader->RearActive());
    // The same cut in a file of this version is short.
    old[4] = static_cast<std::uint8_t>(TBoxEmbryo::kFileVersion & 0xff);
    old[5] = static_cast<std::uint8_t>(TBoxEmbryo::kFileVersion >> 8);
    TBinaryReader cut(old);
    EXPECT_FALSE(reader->LoadFrom(cut));
}

} // namespace

namespace {

class TBassReflexDorvelEditorTest : public ::testing::Test, protected BoxTestBench {
protected:
    void SetUp() override { Enter("tonvek-rbp-editor"); }
    void TearDown() override { Leave(); }
};

TEST_F(TBassReflexDorvelEditorTest, RearUnitEditorHoldsTheRearCommandsOnly)
{
    auto box = std::make_unique<TBassReflexDorvelBox>(host_, context_);
    const std::string unit = unitPath();
    ASSERT_TRUE(box->LoadFrontUnitFrom(unit));
    ASSERT_TRUE(box->LoadRearUnitFrom(unit));
    ASSERT_TRUE(box->HandleCommand(TCmd::RearUnitEditor));
    ASSERT_NE(box->RearUnitEditor(), nullptr);
    EXPECT_TRUE(box->RearUnitEditor()->IsOpen());
    EXPECT_EQ(box->UnitEditor(), nullptr);
    box->Calculate(0); // a finished calculation enables the project's commands
    EXPECT_EQ(host_.CommandEnabled(TCmd::RearDriverLoad), std::optional<bool>(false));
    EXPECT_EQ(host_.CommandEnabled(TCmd::RearUnitEditor), std::optional<bool>(false));
    EXPECT_EQ(host_.CommandEnabled(TCmd::DriverLoad), std::optional<bool>(true));
    // The editor works on the rear group's unit, whose terms every calculation takes anew.
    const auto spl = box->splTotal;
    box->RearDriver().Bl *= 1.5;
    box->RearDriver().UpdateSquares();
    box->Calculate(0);
    EXPECT_NE(box->splTotal, spl);
    EXPECT_DOUBLE_EQ(box->FrontDriver().Bl, box->RearDriver().Bl / 1.5);
    ASSERT_TRUE(box->RearUnitEditor()->AskClose());
    EXPECT_EQ(host_.CommandEnabled(TCmd::RearDriverLoad), std::optional<bool>(true));
    EXPECT_EQ(host_.CommandEnabled(TCmd::RearUnitEditor), std::optional<bool>(true));
}

} // namespace

namespace {

class TBassReflexDorvelFolderTest : public ::testing::Test, protected BoxTestBench {
protected:
    void SetUp() override { Enter("tonvek-rbp-folder"); }
    void TearDown() override { Leave(); }
};

TEST_F(TBassReflexDorvelFolderTest, UnitsBesideTheProjectMoveWithIt)
{
    const fs::path first = dir_ / "first", second = dir_ / "second";
    fs::create_directories(first);
    fs::copy_file(unitPath(), first / "front.unt");
    fs::copy_file(first / "front.unt", first / "rear.unt");
    auto box = std::make_unique<TBassReflexDorvelBox>(host_, context_);
    ASSERT_TRUE(box->LoadFrontUnitFrom((first / "front.unt").string()));
    ASSERT_TRUE(box->LoadRearUnitFrom((first / "rear.unt").string()));
    ASSERT_TRUE(box->SaveTo((first / "p.box").string()));
    fs::rename(first, second);

    auto reader = std::make_unique<TBassReflexDorvelBox>(host_, context_);
    host_.ClearMessages();
    ASSERT_TRUE(reader->Load((second / "p.box").string()));
    EXPECT_TRUE(host_.Messages().empty());
    EXPECT_TRUE(reader->RearActive());
}

} // namespace
