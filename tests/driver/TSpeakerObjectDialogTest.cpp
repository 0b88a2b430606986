// The "Driver unit configuration" dialog and its "Electrical connection" list, driven
// as a user would: typing, toggling, choosing, browsing.
#include "TSpeakerObjectTestSupport.h"

#include "driver/TSpeakerConfigDialog.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

using D = TSpeakerConfigDialog;
using namespace TSpeakerConnection;

namespace {

struct SpeakerDialog : ::testing::Test {
    TSpeakerTestEnv env;
    THeadlessHost host;
    std::unique_ptr<TSpeakerObject> s = MakeReferenceSpeaker(env.context);
    std::unique_ptr<D> dialog;
    std::vector<int> requests;
    int closed = 0;

    void SetUp() override
    {
        s->SetHost(&host); // the project gives its drivers the host of its window
        Make(false);
    }
    void Make(bool even)
    {
        dialog = std::make_unique<D>(host, *s, D::kTitle, 777, even);
        dialog->onRecalculate = [this](TRecalc kind) { requests.push_back(static_cast<int>(kind)); };
        dialog->onClosed = [this] { ++closed; };
        dialog->OpenAtSavedPosition();
    }
    // Types into a field and moves on, which commits it.
    void Enter(int id, const std::string& text)
    {
        dialog->Type(id, text);
        dialog->FocusField(0);
    }
};

TEST_F(SpeakerDialog, OpensWithTheUnitAndDisablesItsCommand)
{
    EXPECT_EQ(dialog->title, "Driver unit configuration");
    EXPECT_EQ(dialog->HelpFile(), "drvcfg.txt");
    EXPECT_TRUE(host.IsDialogOpen(*dialog));
    EXPECT_EQ(host.CommandEnabled(777), std::optional<bool>(false));
    EXPECT_EQ(dialog->Field(D::kManufacturer).text, "SEAS");
    EXPECT_EQ(dialog->Field(D::kModel).text, "E0018-08S W18E001");
    EXPECT_EQ(dialog->Field(D::kStatus).text, "Not in use");
    EXPECT_EQ(dialog->Long(D::kDrivers).Text(), "1");
}

TEST_F(SpeakerDialog, NumberOfDriversSelectsSeriesAndEnablesTheConnection)
{
    EXPECT_FALSE(dialog->Field(D::kConnection).enabled);
    s->outOfDate = false;
    Enter(D::kDrivers, "2");
    EXPECT_EQ(s->numberOfDrivers, 2);
    EXPECT_EQ(s->driverConnection, kSeries);
    EXPECT_EQ(s->driverFactors, (TConnFactors{2, 0.5, 0.5}));
    EXPECT_TRUE(s->outOfDate);
    EXPECT_TRUE(dialog->Field(D::kConnection).enabled);
    EXPECT_EQ(requests, std::vector<int>{0});
    Enter(D::kDrivers, "10"); // out of range: refused
    EXPECT_EQ(s->numberOfDrivers, 2);
    EXPECT_EQ(host.Beeps(), 1);
    Enter(D::kDrivers, "1");
    EXPECT_FALSE(dialog->Field(D::kConnection).enabled);
}

TEST_F(SpeakerDialog, EvenDriverCountsForTheBandpassBox)
{
    Make(true);
    EXPECT_EQ(dialog->Long(D::kDrivers).Minimum(), 2);
    EXPECT_EQ(dialog->Long(D::kDrivers).Maximum(), 8);
    EXPECT_EQ(dialog->Long(D::kDrivers).Step(), 2);
}

TEST_F(SpeakerDialog, ExtraMassInGrams)
{
    Enter(D::kExtraMass, "12.5");
    EXPECT_DOUBLE_EQ(s->extraMass, 0.0125);
    Enter(D::kExtraMass, "1001");
    EXPECT_DOUBLE_EQ(s->extraMass, 0.0125);
}

TEST_F(SpeakerDialog, IsobaricChoices)
{
    EXPECT_FALSE(dialog->Field(D::kIsobaricChoice).enabled);
    dialog->Toggle(D::kIsobaric, true);
    EXPECT_TRUE(dialog->Field(D::kIsobaricChoice).enabled);
    EXPECT_EQ(dialog->Selected(D::kIsobaricChoice), kPairSeparate);
    dialog->Select(D::kIsobaricChoice, kPairSeries);
    EXPECT_EQ(s->isobaricFactors, (TConnFactors{2, 0.5, 0.5}));
    dialog->Toggle(D::kIsobaric, false);
    EXPECT_FALSE(s->isobaric);
    EXPECT_EQ(s->isobaricConnection, kPairSeparate);
    EXPECT_EQ(s->isobaricFactors, (TConnFactors{1, 1, 1}));
    EXPECT_EQ(dialog->Selected(D::kIsobaricChoice), -1);
    EXPECT_FALSE(dialog->Field(D::kIsobaricChoice).enabled);
    EXPECT_EQ(requests.size(), 3u);
}

TEST_F(SpeakerDialog, DoubleVoiceCoilChoicesNeedADoubleCoilUnit)
{
    EXPECT_FALSE(dialog->Field(D::kDvcChoice).enabled);
    EXPECT_FALSE(dialog->Field(D::kLoadResistor).enabled);
    s->doubleVoiceCoil = 1;
    dialog->Reload();
    EXPECT_TRUE(dialog->Field(D::kDvcChoice).enabled);
    dialog->Select(D::kDvcChoice, kPairParallel);
    EXPECT_EQ(s->dvcFactors, (TConnFactors{0.5, 1, 2}));
    EXPECT_FALSE(dialog->Field(D::kLoadResistor).enabled);
    dialog->Select(D::kDvcChoice, kLoadResistor);
    EXPECT_TRUE(dialog->Field(D::kLoadResistor).enabled);
    Enter(D::kLoadResistor, "3.3");
    EXPECT_DOUBLE_EQ(s->loadResistor, 3.3);
    EXPECT_EQ(requests.size(), 3u);
}

TEST_F(SpeakerDialog, NonLinearitiesNeedXmaxAndHeatingNeedsPmax)
{
    struct TRow {
        double xmax, pmax;
        bool bl, heating;
    };
    for (TRow r : {TRow{10e-3, 250, true, true}, TRow{0, 250, false, true}, TRow{10e-3, 0, true, false}}) {
        s->Xmax = r.xmax;
        s->Pmax = r.pmax;
        s->blNonLinear = s->cmsNonLinear = s->coilHeating = true;
        dialog->Reload();
        EXPECT_EQ(dialog->Field(D::kBlNonLinear).enabled, r.bl);
        EXPECT_EQ(dialog->Field(D::kCmsNonLinear).enabled, r.bl);
        EXPECT_EQ(dialog->Checked(D::kBlNonLinear), r.bl);
        EXPECT_EQ(dialog->Checked(D::kCmsNonLinear), r.bl);
        EXPECT_EQ(dialog->Field(D::kCoilHeating).enabled, r.heating);
        EXPECT_EQ(dialog->Checked(D::kCoilHeating), r.heating);
    }
    s->Xmax = 10e-3;
    dialog->Reload();
    dialog->Toggle(D::kBlNonLinear, false);
    EXPECT_FALSE(s->blNonLinear);
    dialog->Toggle(D::kCmsNonLinear, false);
    EXPECT_FALSE(s->cmsNonLinear);
}

TEST_F(SpeakerDialog, LevelOffsetShowsDashesUntilDataAreActive)
{
    EXPECT_FALSE(dialog->Field(D::kLevelOffset).visible);
    EXPECT_TRUE(dialog->Field(D::kLevelOffsetNone).visible);
    EXPECT_EQ(dialog->Field(D::kLevelOffsetNone).text, "---");

    // /work/shared/refdata/measured/DCS255-4@0.frd
    host.QueueFileName(std::string(TONVEK_REFDATA) + "/measured/DCS255-4@0.frd");
    dialog->Press(D::kBrowse);
    EXPECT_TRUE(s->importValid);
    EXPECT_EQ(dialog->Field(D::kStatus).text, D::StatusText(s->importFileName));
    EXPECT_TRUE(dialog->Field(D::kLevelOffset).visible);
    EXPECT_TRUE(dialog->Dbl(D::kLevelOffset).ReadOnly()); // automatic level offset is on
    EXPECT_EQ(requests, std::vector<int>{0});

    dialog->Toggle(D::kAutoLevel, false);
    EXPECT_FALSE(dialog->Dbl(D::kLevelOffset).ReadOnly());
    Enter(D::kLevelOffset, "-6");
    EXPECT_DOUBLE_EQ(s->levelFactor, std::pow(10.0, -0.3));

    dialog->Toggle(D::kDisable, true);
    EXPECT_TRUE(s->importDisabled);
    EXPECT_EQ(dialog->Field(D::kStatus).text, "Not in use");
    EXPECT_FALSE(dialog->Field(D::kLevelOffset).visible);
}

TEST_F(SpeakerDialog, BrowseCancelledOrMissingFile)
{
    host.QueueFileName(std::nullopt);
    dialog->Press(D::kBrowse);
    EXPECT_TRUE(requests.empty());
    host.QueueFileName(env.folder.File("missing.frd"));
    dialog->Press(D::kBrowse);
    EXPECT_FALSE(s->importValid);
    EXPECT_EQ(s->importFileName, "missing.frd"); // kept relative to the program folder
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].title, "Measured data");
}

TEST_F(SpeakerDialog, TransitionAndPhaseLagCutoff)
{
    Enter(D::kTransition, "450");
    EXPECT_EQ(s->transitionFrequency, 450);
    Enter(D::kTransition, "20001");
    EXPECT_EQ(s->transitionFrequency, 450);
    Enter(D::kPhaseLag, "2500");
    EXPECT_EQ(s->phaseLagCutoff, 2500.0);
}

TEST_F(SpeakerDialog, ConnectionListStoresTheChosenRow)
{
    Enter(D::kDrivers, "6");
    dialog->Press(D::kConnection);
    TSpeakerConnectionDialog* list = dialog->ConnectionList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->title, "Electrical connection");
    EXPECT_EQ(list->HelpFile(), "elconn.txt");
    EXPECT_EQ(list->Field(TSpeakerConnectionDialog::kListId).items,
              (std::vector<std::string>{"Series", "2-2-2", "3-3", "Parallell", "Sep. sources"}));
    EXPECT_EQ(list->Selected(TSpeakerConnectionDialog::kListId), 0);
    list->Select(TSpeakerConnectionDialog::kListId, 2);
    list->Press(TSpeakerConnectionDialog::OkId);
    EXPECT_FALSE(host.IsDialogOpen(*list));
    EXPECT_EQ(s->driverConnection, 4);
    EXPECT_EQ(s->driverFactors, (TConnFactors{2.0 / 3, 0.5, 1.5}));
    EXPECT_EQ(requests.size(), 2u);

    // Closed without OK: nothing is stored.
    dialog->Press(D::kConnection);
    list->Select(TSpeakerConnectionDialog::kListId, 4);
    list->RequestClose();
    EXPECT_EQ(s->driverConnection, 4);
}

TEST_F(SpeakerDialog, ClosingSavesThePositionAndReopeningUsesIt)
{
    dialog->position = {120, 80};
    dialog->RequestClose();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(host.CommandEnabled(777), std::optional<bool>(true));
    EXPECT_EQ(s->dialogX, 120);
    EXPECT_EQ(s->dialogY, 80);
    Make(false);
    EXPECT_EQ(dialog->position.x, 120);
    EXPECT_EQ(dialog->position.y, 80);
}

TEST(SpeakerDialogStatus, LongNamesShowTheirEnd)
{
    EXPECT_EQ(D::StatusText(""), "Not in use");
    EXPECT_EQ(D::StatusText("short.frd"), "short.frd");
    std::string name = std::string(10, 'a') + std::string(43, 'b');
    EXPECT_EQ(D::StatusText(name), std::string(43, 'b'));
}

} // namespace
