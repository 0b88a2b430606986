// The table lookup dialogs of the closed box, the bass reflex box and bandpass type 1:
// which choices a driver can reach, what a choice sets, the messages for drivers
// outside a table, and the closed box sized by the table against its simulated
// response.

#include "box/TBP5Box.h"
#include "box/TBandpassDialog.h"
#include "box/TBassReflexBox.h"
#include "box/TBreflDialog.h"
#include "box/TClosedBox.h"
#include "box/TClosedBoxDialog.h"
#include "box/TOptBP5TableDialog.h"
#include "box/TOptBreflTableDialog.h"
#include "box/TOptClosedTableDialog.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TPortObject.h"
#include "support/BoxTestBench.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kTable = TOptTableDialog::kTableLookup, kFit = TOptTableDialog::kFrequencyFit,
              kQuick = TOptTableDialog::kQuickBox;

class TOptTableDialogTest : public ::testing::Test, protected BoxTestBench {
protected:
    void SetUp() override { Enter("tonvek-opttable"); }
    void TearDown() override { Leave(); }

    // The example woofer with the given effective total Q (no generator resistance).
    static void SetQts(TBoxEmbryo& box, double q)
    {
        TSpeakerObject& d = box.FrontDriver();
        d.Qms = 3.0;
        d.Qes = 1.0 / (1.0 / q - 1.0 / 3.0);
        d.Qts = q;
        box.ComputeEffectiveDriver();
        ASSERT_NEAR(box.effectiveQts, q, 1e-9);
    }

    template <class Box>
    std::unique_ptr<Box> Make(double qts)
    {
        auto box = std::make_unique<Box>(host_, context_);
        Prepare(*box, 0.02);
        SetQts(*box, qts);
        box->OpenBoxDialog();
        host_.ClearMessages();
        box->RecalcRequest(TRecalc::MarkUnchanged); // as if just saved
        return box;
    }

    void ExpectOptimiseEnabled(const TDialogModel& boxDialog, bool enabled)
    {
        for (int id : {kTable, kFit, kQuick})
            EXPECT_EQ(boxDialog.CommandEnabled(id), enabled) << id;
    }

    void ExpectWarning(const char* text)
    {
        ASSERT_NE(host_.LastMessage(), nullptr);
        EXPECT_EQ(host_.LastMessage()->text, text);
        EXPECT_EQ(host_.LastMessage()->title, "");
        EXPECT_EQ(host_.LastMessage()->icon, TMsgIcon::Warning);
    }
};

std::vector<bool> Enabled(const TField& radio)
{
    std::vector<bool> out;
    for (std::size_t i = 0; i < radio.items.size(); ++i)
        out.push_back(radio.ItemEnabled(static_cast<int>(i)));
    return out;
}

} // namespace

// ---------------------------------------------------------------- closed box

TEST(TOptClosedTableRules, ReachableQtcAndFirstOffer)
{
    struct Case {
        double qts;
        int disabled, selected;
    };
    const Case cases[] = {
        {0.5, 1, 2}, // 0.5 < 0.505 is out of reach, 0.577 is not; never below 0.707
        {0.3, 0, 2}, {0.6, 2, 2}, {0.75, 3, 3}, {0.8, 4, 4}, // 0.8 < 0.808
        {1.2, 8, 8}, {1.5, 9, 8},                            // nothing reachable: the last stays chosen
    };
    for (const Case& c : cases) {
        const auto s = TOptClosedTableDialog::StartFor(c.qts);
        EXPECT_EQ(s.disabled, c.disabled) << c.qts;
        EXPECT_EQ(s.selected, c.selected) << c.qts;
    }
}

TEST_F(TOptTableDialogTest, ClosedTableOpensOnTheFirstReachableQtcAndSizesTheBox)
{
    auto box = Make<TClosedBox>(0.5);
    TClosedBoxDialog& d = *box->BoxDialog();
    box->BoxVolume().Qb = 5.0;
    d.Command(kTable);
    TOptClosedTableDialog* t = d.TableDialog();
    ASSERT_NE(t, nullptr);
    ASSERT_TRUE(t->IsOpen());
    EXPECT_TRUE(host_.Messages().empty());
    ExpectOptimiseEnabled(d, false);
    EXPECT_EQ(Enabled(t->Field(TOptClosedTableDialog::kQtc)),
              (std::vector<bool>{false, true, true, true, true, true, true, true, true}));
    EXPECT_EQ(t->Selected(TOptClosedTableDialog::kQtc), 2);
    const double vas = box->FrontDriver().Vas;
    auto volumeFor = [&](double qtc) { return vas / ((qtc / 0.5) * (qtc / 0.5) - 1.0); };
    EXPECT_NEAR(box->BoxVolume().Vb, volumeFor(0.707), 1e-12);
    EXPECT_EQ(box->BoxVolume().Qb, 15.0);
    EXPECT_EQ(d.Dbl(TClosedBoxDialog::kVolume).Value(), box->BoxVolume().Vb * 1000.0);

    // Each choice applies its own Qtc at once; a greyed one cannot be chosen.
    for (int i : {1, 5, 8}) {
        t->Select(TOptClosedTableDialog::kQtc, i);
        EXPECT_NEAR(box->BoxVolume().Vb, volumeFor(TOptClosedTableDialog::kQtcValues[static_cast<std::size_t>(i)]),
                    1e-12);
    }
    const double vb = box->BoxVolume().Vb;
    t->Select(TOptClosedTableDialog::kQtc, 0);
    EXPECT_EQ(t->Selected(TOptClosedTableDialog::kQtc), 8);
    EXPECT_EQ(box->BoxVolume().Vb, vb);
    // The box dialog's optimise commands do nothing until the table dialog closes.
    d.Command(kQuick);
    EXPECT_EQ(box->BoxVolume().Vb, vb);
    t->Press(TDialogModel::OkId);
    EXPECT_FALSE(t->IsOpen());
    ExpectOptimiseEnabled(d, true);
    d.Command(kQuick);
    EXPECT_NEAR(box->BoxVolume().Vb, 0.5 * vas, 1e-12); // the quick rule: Qts · Vas · N
}

TEST_F(TOptTableDialogTest, ClosedTableHalvesTheVolumeOfAnIsobaricPairAndCountsDrivers)
{
    auto box = Make<TClosedBox>(0.4);
    box->FrontDriver().SetNumberOfDrivers(3);
    box->FrontDriver().SetIsobaric(true);
    box->BoxDialog()->Command(kTable);
    const double ratio = 0.707 / 0.4;
    EXPECT_NEAR(box->BoxVolume().Vb, 3 * box->FrontDriver().Vas / (ratio * ratio - 1.0) * 0.5, 1e-12);
}

TEST_F(TOptTableDialogTest, ClosedTableRefusesADriverWhoseQIsTooHigh)
{
    auto box = Make<TClosedBox>(1.6);
    box->BoxVolume().Qb = 5.0;
    box->BoxDialog()->Command(kTable);
    ExpectWarning("Too high Qts");
    EXPECT_EQ(box->BoxVolume().Vb, 0.02);
    EXPECT_EQ(box->BoxVolume().Qb, 5.0);
    EXPECT_FALSE(box->Changed());
    const TOptClosedTableDialog& t = *box->BoxDialog()->TableDialog();
    EXPECT_EQ(Enabled(t.Field(TOptClosedTableDialog::kQtc)), std::vector<bool>(9, false));
}

// The table's box, simulated with its losses: the -3 dB point lies a few percent above
// the lossless fc of a Butterworth box, the more so the lossier the box.
TEST_F(TOptTableDialogTest, ButterworthBoxOfTheTenInchWooferRollsOffJustAboveFc)
{
    struct Case {
        double ql, low, high;
    };
    for (const Case& c : {Case{15.0, 1.02, 1.05}, Case{10.0, 1.04, 1.06}}) {
        TClosedBox box(host_, context_);
        SetGrid(10, 400, 500);
        ASSERT_TRUE(box.LoadFrontUnitFrom(TONVEK_SOURCE_DIR "/examples/woofer-10in.unt"));
        box.BoxVolume().Ql = c.ql;
        box.OpenBoxDialog();
        box.BoxDialog()->Command(kTable);
        ASSERT_EQ(box.BoxDialog()->TableDialog()->Selected(TOptClosedTableDialog::kQtc), 2);
        box.Calculate(0);
        const double qts = box.effectiveQts;
        EXPECT_NEAR(box.BoxVolume().Vb, box.totalVas / ((0.707 / qts) * (0.707 / qts) - 1.0), 1e-12);
        const double fc = box.effectiveFs * std::sqrt(1.0 + box.totalVas / box.BoxVolume().Vb);
        EXPECT_GE(box.minus3dB / fc, c.low) << "QL " << c.ql << ": f3 " << box.minus3dB << " fc " << fc;
        EXPECT_LE(box.minus3dB / fc, c.high) << "QL " << c.ql << ": f3 " << box.minus3dB << " fc " << fc;
    }
}

// ---------------------------------------------------------------- bass reflex

TEST_F(TOptTableDialogTest, ReflexTableChoosesTheAlignmentByQAndSizesBoxAndPort)
{
    struct Case {
        double qts;
        int selected;
        std::vector<bool> enabled;
    };
    const Case cases[] = {
        {0.3, 1, {true, true, true}},
        {0.6, 0, {true, false, true}},
        {0.2, 1, {true, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.qts);
        auto box = Make<TBassReflexBox>(c.qts);
        box->BoxDialog()->Command(kTable);
        TOptBreflTableDialog& t = *box->BoxDialog()->TableDialog();
        EXPECT_TRUE(host_.Messages().empty());
        EXPECT_EQ(t.Selected(TOptBreflTableDialog::kAlignment), c.selected);
        EXPECT_EQ(t.Selected(TOptBreflTableDialog::kBoxQ), 2);
        EXPECT_EQ(Enabled(t.Field(TOptBreflTableDialog::kAlignment)), c.enabled);
        const auto alignment = static_cast<TBreflAlignment>(c.selected);
        const TBreflRow& row = TBreflAlignments::Row(alignment, TBreflAlignments::RowFor(alignment, c.qts));
        const TBoxObject& v = box->BoxVolume();
        EXPECT_NEAR(v.Vb, box->FrontDriver().Vas / row.alpha[2], 1e-12);
        EXPECT_EQ(v.Qb, 15.0);
        EXPECT_EQ(v.Ql, 15.0);
        EXPECT_EQ(v.fill, 0);
        // The port is tuned to h · fs and never shorter than 10 cm.
        EXPECT_NEAR(box->Port().fp, box->effectiveFs * row.h[2], 1e-6 * box->Port().fp);
        EXPECT_GE(box->Port().L, TPortObject::kMinSizedLength);
    }
}

TEST_F(TOptTableDialogTest, ReflexBoxQSetsLossesFillAndTheFilledBoxIsBuiltSmaller)
{
    auto box = Make<TBassReflexBox>(0.4);
    box->BoxDialog()->Command(kTable);
    TOptBreflTableDialog& t = *box->BoxDialog()->TableDialog();
    t.Select(TOptBreflTableDialog::kAlignment, 0);
    struct Case {
        int boxQ;
        double q;
        int fill;
        double shrink;
    };
    for (const Case& c : {Case{0, 3.0, 100, 0.8333333333333334}, Case{1, 7.0, 50, 1.0}, Case{2, 15.0, 0, 1.0}}) {
        t.Select(TOptBreflTableDialog::kBoxQ, c.boxQ);
        const TBreflRow& row = TBreflAlignments::Row(TBreflAlignment::SBB4, 20);
        const std::size_t k = static_cast<std::size_t>(c.boxQ);
        EXPECT_NEAR(box->BoxVolume().Vb, box->FrontDriver().Vas / row.alpha[k] * c.shrink, 1e-12) << c.q;
        EXPECT_EQ(box->BoxVolume().Qb, c.q);
        EXPECT_EQ(box->BoxVolume().Ql, c.q);
        EXPECT_EQ(box->BoxVolume().fill, c.fill);
        // Sized against the bare volume; the fill then lowers the tuning.
        EXPECT_NEAR(box->Port().fp, box->effectiveFs / std::sqrt(1.0 + 0.002 * c.fill), 1e-6 * box->effectiveFs);
    }
}

TEST_F(TOptTableDialogTest, ReflexTableRefusesDriversOutsideEveryTable)
{
    struct Case {
        double qts;
        const char* message;
    };
    for (const Case& c : {Case{0.71, "Too high Qts"}, Case{0.08, "Too low Qts"}}) {
        SCOPED_TRACE(c.qts);
        auto box = Make<TBassReflexBox>(c.qts);
        const double l = box->Port().L, s = box->Port().S;
        box->BoxDialog()->Command(kTable);
        ExpectWarning(c.message);
        TOptBreflTableDialog& t = *box->BoxDialog()->TableDialog();
        EXPECT_EQ(Enabled(t.Field(TOptBreflTableDialog::kAlignment)), std::vector<bool>(3, false));
        // The box Q choices stay, and say the same.
        host_.ClearMessages();
        t.Select(TOptBreflTableDialog::kBoxQ, 0);
        ExpectWarning(c.message);
        EXPECT_EQ(box->BoxVolume().Vb, 0.02);
        EXPECT_EQ(box->BoxVolume().fill, 0);
        EXPECT_EQ(box->Port().L, l);
        EXPECT_EQ(box->Port().S, s);
        EXPECT_FALSE(box->Changed());
    }
}

// ---------------------------------------------------------------- bandpass type 1

TEST(TOptBP5TableRules, ReachableSensitivitiesAndFirstOffer)
{
    struct Case {
        double qts;
        int disabled, selected;
    };
    const Case cases[] = {
        {0.5, 2, 8},                 // 0.4507 and 0.4774 are below 0.505, 0.5057 is not
        {0.3, 0, 8},    {0.7, 8, 8}, // 0.7143 > 0.707
        {0.75, 10, 10}, {1.2, 17, 8},
    };
    for (const Case& c : cases) {
        const auto s = TOptBP5TableDialog::StartFor(c.qts);
        EXPECT_EQ(s.disabled, c.disabled) << c.qts;
        EXPECT_EQ(s.selected, c.selected) << c.qts;
    }
    // Single precision, as tabulated.
    EXPECT_EQ(TOptBP5TableDialog::kQbc[2][0], 0.5057f);
    EXPECT_EQ(TOptBP5TableDialog::kQbc[16][2], 1.5849f);
}

TEST_F(TOptTableDialogTest, BandpassTableSizesBothBoxesAndTunesThePort)
{
    auto box = Make<TBP5Box>(0.5);
    auto& d = static_cast<TBandpassDialog&>(*box->BoxDialogModel());
    d.Command(kTable);
    TOptBP5TableDialog* t = d.TableDialog();
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(host_.Messages().empty());
    ExpectOptimiseEnabled(d, false);
    const std::vector<bool> enabled = Enabled(t->Field(TOptBP5TableDialog::kSensitivity));
    EXPECT_EQ(std::count(enabled.begin(), enabled.end(), false), 2);
    EXPECT_FALSE(enabled[0]);
    EXPECT_FALSE(enabled[1]);
    EXPECT_EQ(t->Selected(TOptBP5TableDialog::kRipple), 0);
    EXPECT_EQ(t->Field(TOptBP5TableDialog::kSensitivity).ShownValue(), "0dB");

    const double vas = box->FrontDriver().Vas, fs = box->effectiveFs;
    for (int column : {0, 1, 2}) {
        t->Select(TOptBP5TableDialog::kRipple, column);
        for (int row : {2, 8, 16}) {
            t->Select(TOptBP5TableDialog::kSensitivity, row);
            const double qbc =
                TOptBP5TableDialog::kQbc[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
            const double g = TOptBP5TableDialog::kFrontFactor[static_cast<std::size_t>(column)];
            EXPECT_NEAR(box->FirstBox().Vb, vas / ((qbc / 0.5) * (qbc / 0.5) - 1.0), 1e-12);
            EXPECT_NEAR(box->SecondBox().Vb, (2 * g * 0.5) * (2 * g * 0.5) * vas, 1e-12);
            EXPECT_EQ(box->FirstBox().Qb, 15.0);
            EXPECT_EQ(box->SecondBox().Qb, 15.0);
            EXPECT_NEAR(box->Port(0).fp, qbc * fs / 0.5, 1e-6 * fs);
            EXPECT_GE(box->Port(0).L, TPortObject::kMinSizedLength);
        }
    }
    t->Close();
}

TEST_F(TOptTableDialogTest, BandpassTableRefusesADriverWhoseQIsTooHigh)
{
    auto box = Make<TBP5Box>(1.2);
    const double rear = box->FirstBox().Vb, front = box->SecondBox().Vb, l = box->Port(0).L;
    box->BoxDialogModel()->Command(kTable);
    ExpectWarning("Too high Qts");
    EXPECT_EQ(box->FirstBox().Vb, rear);
    EXPECT_EQ(box->SecondBox().Vb, front);
    EXPECT_EQ(box->Port(0).L, l);
    // Every sensitivity is greyed; another ripple keeps the 0dB row, still out of reach.
    auto& d = static_cast<TBandpassDialog&>(*box->BoxDialogModel());
    EXPECT_EQ(Enabled(d.TableDialog()->Field(TOptBP5TableDialog::kSensitivity)), std::vector<bool>(17, false));
    host_.ClearMessages();
    d.TableDialog()->Select(TOptBP5TableDialog::kRipple, 2);
    ExpectWarning("Too high Qts");
    EXPECT_EQ(box->FirstBox().Vb, rear);
    EXPECT_EQ(box->SecondBox().Vb, front);
    EXPECT_FALSE(box->Changed());
}
