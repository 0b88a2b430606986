#include "TMeasSetupTestSupport.h"

#include "settings/TMeasSetupDialog.h"
#include "settings/TMeasSetupFields.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

using D = TMeasSetupDialog;
constexpr int kMenuCommand = 4711;

class TMeasSetupDialogTest : public ::testing::Test {
protected:
    TMeasSetupDialogTest()
        : dialog(
              host, context, [this](TRecalc kind) { requests.push_back(static_cast<int>(kind)); }, &project,
              kMenuCommand)
    {
    }

    // What a user does: focus, type, move on.
    void Enter(int id, const std::string& text)
    {
        dialog.Type(id, text);
        dialog.FocusField(0);
    }
    std::string Shown(int id) const { return dialog.Field(id).EditText(); }

    TMeasSetupFolder folder; // before the dialog, so preferences stay private
    THeadlessHost host;
    TProgramContext context{folder.Path().string()};
    TMeasSetup& setup = context.MeasSetup();
    TMeasureSetupObject project;
    std::vector<int> requests;
    TMeasSetupDialog dialog;
};

} // namespace

TEST_F(TMeasSetupDialogTest, OpensWithTheLiveValuesAndDisablesItsCommand)
{
    setup.startFrequency = 35;
    setup.SetSourcePower(20.0);
    setup.sourceResistance = 0.5;
    setup.SetAutorange(true);
    dialog.Open();
    EXPECT_TRUE(host.IsDialogOpen(dialog));
    EXPECT_EQ(host.CommandEnabled(kMenuCommand), false);
    EXPECT_EQ(dialog.title, "Measurement setup");
    EXPECT_EQ(dialog.HelpFile(), "measetup.txt");
    EXPECT_EQ(Shown(D::StartId), "35");
    EXPECT_EQ(Shown(D::PowerId), "20.0");
    EXPECT_EQ(Shown(D::LevelId), "12.6");
    EXPECT_EQ(Shown(D::ResistanceId), "0.50");
    EXPECT_EQ(Shown(D::QId), "0.7");
    EXPECT_EQ(Shown(D::RangeId), "0");
    EXPECT_FALSE(dialog.Field(D::RangeId).enabled);
    EXPECT_TRUE(dialog.Checked(D::CalcImmediatelyId));
    ASSERT_EQ(dialog.menu.size(), 1u);
    EXPECT_EQ(dialog.menu[0].text, "&Preferences");
    ASSERT_EQ(dialog.menu[0].items.size(), 2u);
    EXPECT_EQ(dialog.menu[0].items[0].id, 10501);
    EXPECT_EQ(dialog.menu[0].items[0].text, "&Save");
    EXPECT_EQ(dialog.menu[0].items[1].id, 10502);
    EXPECT_EQ(dialog.menu[0].items[1].text, "Set to &default");
}

TEST_F(TMeasSetupDialogTest, StartAndStopKeepTenHertzApart)
{
    dialog.Open();
    struct Row {
        int id;
        const char* text;
        bool accepted;
        std::int32_t start, stop;
    };
    // Applied in order: each row starts where the one before left off.
    const Row rows[] = {
        {D::StartId, "1991", false, 20, 2000},  // above stop - 10
        {D::StartId, "1990", true, 1990, 2000},
        {D::StopId, "1999", false, 1990, 2000}, // below start + 10
        {D::StopId, "20000", true, 1990, 20000},
        {D::StartId, "19990", true, 19990, 20000},
        {D::StopId, "20001", false, 19990, 20000},
        {D::StartId, "0", false, 19990, 20000},
        {D::StartId, "1", true, 1, 20000},
        {D::StopId, "11", true, 1, 11},
        {D::StopId, "10", false, 1, 11},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.id == D::StartId ? "start " : "stop ") + r.text);
        const int beeps = host.Beeps();
        requests.clear();
        setup.setupChanged = false;
        Enter(r.id, r.text);
        EXPECT_EQ(host.Beeps() - beeps, r.accepted ? 0 : 1);
        EXPECT_EQ(setup.startFrequency, r.start);
        EXPECT_EQ(setup.stopFrequency, r.stop);
        EXPECT_EQ(Shown(D::StartId), std::to_string(r.start));
        EXPECT_EQ(Shown(D::StopId), std::to_string(r.stop));
        EXPECT_EQ(requests, r.accepted ? std::vector<int>{0} : std::vector<int>{});
        EXPECT_EQ(setup.setupChanged, r.accepted);
    }
}

TEST_F(TMeasSetupDialogTest, LevelAndPowerFollowEachOtherWithTheirFormats)
{
    dialog.Open();
    struct Row {
        int id;
        const char* text;
        const char* level;
        const char* power;
    };
    const Row rows[] = {
        {D::LevelId, "2.83", "2.83", "1.00"},
        {D::PowerId, "1", "2.83", "1.00"},
        {D::LevelId, "20", "20.0", "50.0"},
        {D::LevelId, "0,2", "0.20", "5.00e-03"},
        {D::PowerId, "125000", "1000.0", "125000.0"},
        {D::LevelId, "0.05", "5.00e-02", "3.13e-04"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.id == D::LevelId ? "Ug " : "Pg ") + r.text);
        Enter(r.id, r.text);
        EXPECT_EQ(Shown(D::LevelId), r.level);
        EXPECT_EQ(Shown(D::PowerId), r.power);
        EXPECT_NEAR(setup.sourcePower, setup.sourceLevel * setup.sourceLevel / 8.0, 1e-12 * setup.sourcePower);
    }
    Enter(D::LevelId, "2.83");
    EXPECT_NEAR(setup.sourcePower, 1.0011, 1e-4);
    Enter(D::PowerId, "1");
    EXPECT_NEAR(setup.sourceLevel, 2.828, 1e-3);
}

TEST_F(TMeasSetupDialogTest, EveryParameterChangeMarksTheSetupAndRecalculates)
{
    dialog.Open();
    struct Row {
        int id;
        const char* text;
        std::function<bool(const TMeasSetup&)> stored;
    };
    const Row rows[] = {
        {D::PointsId, "200", [](const TMeasSetup& s) { return s.pointCount == 200; }},
        {D::ResistanceId, "-12", [](const TMeasSetup& s) { return s.sourceResistance == -12.0; }},
        {D::CutoffId, "25", [](const TMeasSetup& s) { return s.highPassCutoff == 25; }},
        {D::QId, "1.4", [](const TMeasSetup& s) { return s.highPassQ == 1.4; }},
        {D::RangeId, "45", [](const TMeasSetup& s) { return s.splRange == 45; }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        requests.clear();
        setup.setupChanged = false;
        Enter(r.id, r.text);
        EXPECT_TRUE(r.stored(setup));
        EXPECT_TRUE(setup.setupChanged);
        EXPECT_EQ(requests, std::vector<int>{0});
    }
    EXPECT_EQ(Shown(D::ResistanceId), "-12.0");

    requests.clear();
    setup.setupChanged = false;
    dialog.Toggle(D::HidePhaseId, true);
    EXPECT_TRUE(setup.hidePhase);
    EXPECT_TRUE(setup.setupChanged);
    EXPECT_EQ(requests, std::vector<int>{0});
}

TEST_F(TMeasSetupDialogTest, RefusedEntriesChangeNothing)
{
    dialog.Open();
    const std::pair<int, const char*> rows[] = {
        {D::PointsId, "9"},  {D::PointsId, "501"}, {D::PointsId, "5x"}, {D::LevelId, "1001"},
        {D::LevelId, "abc"}, {D::PowerId, "0"},    {D::QId, "0.05"},    {D::QId, "10.5"},
        {D::CutoffId, "-5"}, {D::CutoffId, "10001"}, {D::RangeId, "81"}, {D::ResistanceId, "20000"},
    };
    for (const auto& [id, text] : rows) {
        SCOPED_TRACE(text);
        requests.clear();
        const std::string before = Shown(id);
        Enter(id, text);
        EXPECT_EQ(Shown(id), before);
        EXPECT_TRUE(requests.empty());
    }
    TMeasSetup factory;
    EXPECT_EQ(setup.pointCount, factory.pointCount);
    EXPECT_EQ(setup.sourceLevel, factory.sourceLevel);
    EXPECT_EQ(setup.highPassQ, factory.highPassQ);
    EXPECT_EQ(setup.highPassCutoff, factory.highPassCutoff);
    EXPECT_EQ(setup.splRange, factory.splRange);
    EXPECT_EQ(setup.sourceResistance, factory.sourceResistance);
}

TEST_F(TMeasSetupDialogTest, AutorangeEmptiesAndDisablesTheRange)
{
    dialog.Open();
    Enter(D::RangeId, "50");
    requests.clear();
    dialog.Toggle(D::AutorangeId, true);
    EXPECT_TRUE(setup.autorange);
    EXPECT_EQ(setup.splRange, 0);
    EXPECT_EQ(Shown(D::RangeId), "0");
    EXPECT_FALSE(dialog.Field(D::RangeId).enabled);
    EXPECT_EQ(requests, std::vector<int>{0});

    dialog.Toggle(D::AutorangeId, false);
    EXPECT_EQ(setup.splRange, 30);
    EXPECT_EQ(Shown(D::RangeId), "30");
    EXPECT_TRUE(dialog.Field(D::RangeId).enabled);
}

TEST_F(TMeasSetupDialogTest, CalculateImmediatelySendsKindOneWhenOff)
{
    dialog.Open();
    setup.setupChanged = false;
    dialog.Toggle(D::CalcImmediatelyId, false);
    EXPECT_FALSE(setup.calculateImmediately);
    dialog.Toggle(D::CalcImmediatelyId, true);
    EXPECT_TRUE(setup.calculateImmediately);
    EXPECT_EQ(requests, (std::vector<int>{1, 0}));
    EXPECT_FALSE(setup.setupChanged); // the grid does not depend on it
}

TEST_F(TMeasSetupDialogTest, SaveWritesThePreferencesFile)
{
    dialog.Open();
    Enter(D::CutoffId, "33");
    dialog.Command(D::SaveCommand);
    EXPECT_TRUE(host.Messages().empty());
    TMeasSetup saved;
    ASSERT_TRUE(saved.LoadFile(folder.Prefs()));
    EXPECT_EQ(saved.highPassCutoff, 33);
}

TEST_F(TMeasSetupDialogTest, SaveFailureIsReported)
{
    dialog.Open();
    std::filesystem::create_directory(folder.Prefs()); // a folder where the file should go
    dialog.Command(D::SaveCommand);
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "Could not save to file 'msetup.prf'");
    EXPECT_EQ(host.Messages()[0].title, "Error");
    EXPECT_EQ(host.Messages()[0].buttons, TMsgButtons::Ok);
}

TEST_F(TMeasSetupDialogTest, SetToDefaultRestoresFactoryValuesDespiteTheFile)
{
    TMeasSetup custom;
    custom.startFrequency = 50;
    custom.SetSourceLevel(10);
    custom.highPassCutoff = 20;
    ASSERT_TRUE(custom.SavePreferences(context.Folder()));
    setup = custom;
    dialog.Open();
    EXPECT_EQ(Shown(D::StartId), "50");
    requests.clear();
    dialog.Command(D::DefaultCommand);
    EXPECT_EQ(setup.startFrequency, 20);
    EXPECT_EQ(setup.highPassCutoff, 0);
    EXPECT_EQ(setup.sourceLevel, 2.83);
    EXPECT_EQ(Shown(D::StartId), "20");
    EXPECT_EQ(Shown(D::LevelId), "2.83");
    EXPECT_EQ(Shown(D::CutoffId), "0");
    EXPECT_EQ(requests, std::vector<int>{0});
    // The start limit follows the restored stop frequency.
    Enter(D::StartId, "1991");
    EXPECT_EQ(setup.startFrequency, 20);
}

TEST_F(TMeasSetupDialogTest, PositionIsKeptInTheProject)
{
    project.x = 120;
    project.y = 80;
    dialog.Open();
    EXPECT_EQ(dialog.position.x, 120);
    EXPECT_EQ(dialog.position.y, 80);
    dialog.position = {300, 200};
    dialog.RequestClose();
    EXPECT_FALSE(host.IsDialogOpen(dialog));
    EXPECT_EQ(host.CommandEnabled(kMenuCommand), true);
    EXPECT_EQ(project.x, 300);
    EXPECT_EQ(project.y, 200);
}

TEST_F(TMeasSetupDialogTest, EscapeCommitsTheFieldBeingEdited)
{
    dialog.Open();
    dialog.Type(D::PointsId, "77");
    dialog.Escape();
    EXPECT_FALSE(host.IsDialogOpen(dialog));
    EXPECT_EQ(setup.pointCount, 77);
}

TEST(TMeasSetupHelp, HelpTextExistsAndNamesTheFields)
{
    std::ifstream f(std::string(TONVEK_SOURCE_DIR) + "/help/measetup.txt");
    ASSERT_TRUE(f.good());
    const std::string text{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    for (const char* label : {"Start frequency", "Stop frequency", "Number of points", "Source level",
                              "Watts into 8 ohm", "Source resistance", "Cutoff", "Q", "Autorange", "Range",
                              "Hide phase", "Calculate immediately", "Save", "Set to default"})
        EXPECT_NE(text.find(label), std::string::npos) << label;
}

// The dialog, tonvek-cli setup and the tests share one description of every field.
TEST_F(TMeasSetupDialogTest, EveryFieldIsBuiltFromTheSetupFieldTable)
{
    const struct {
        TSetupField field;
        int id;
    } rows[] = {
        {TSetupField::Start, D::StartId},         {TSetupField::Stop, D::StopId},
        {TSetupField::Points, D::PointsId},       {TSetupField::Level, D::LevelId},
        {TSetupField::Power, D::PowerId},         {TSetupField::Resistance, D::ResistanceId},
        {TSetupField::Cutoff, D::CutoffId},       {TSetupField::Q, D::QId},
        {TSetupField::Autorange, D::AutorangeId}, {TSetupField::Range, D::RangeId},
        {TSetupField::HidePhase, D::HidePhaseId}, {TSetupField::CalcImmediately, D::CalcImmediatelyId},
    };
    ASSERT_EQ(std::size(rows), SetupFields().size());
    setup.startFrequency = 40;
    setup.stopFrequency = 5000;
    setup.highPassCutoff = 25;
    dialog.Open();
    for (const auto& r : rows) {
        const TFieldInfo& info = SetupFieldInfo(r.field);
        const TField& f = dialog.Field(r.id);
        SCOPED_TRACE(info.label);
        EXPECT_EQ(f.label.empty() ? f.text : f.label, info.label);
        EXPECT_EQ(f.unit, info.unit);
        const double value = BindSetupField(setup, r.field).read();
        switch (info.kind) {
        case TValueKind::Real:
            EXPECT_EQ(f.dbl.Minimum(), info.minimum);
            EXPECT_EQ(f.dbl.Maximum(), info.maximum);
            EXPECT_EQ(f.dbl.Value(), value);
            break;
        case TValueKind::Whole:
            // Start and stop narrow each other's range inside the table's.
            EXPECT_GE(f.lng.Minimum(), info.minimum);
            EXPECT_LE(f.lng.Maximum(), info.maximum);
            EXPECT_EQ(f.lng.Value(), value);
            break;
        case TValueKind::Switch: EXPECT_EQ(f.checked, value != 0.0); break;
        }
    }
    EXPECT_EQ(dialog.Long(D::StartId).Maximum(), 4990);
    EXPECT_EQ(dialog.Long(D::StopId).Minimum(), 50);
}
