#include "room/TAbsDialog.h"
#include "room/TRoomCabinet.h"
#include "room/TRoomCabinetDialog.h"
#include "room/TRoomDialogSlot.h"

#include "core/TProgramFolder.h"
#include "plot/TPlotStyles.h"
#include "settings/TMeasSetup.h"
#include "ui/TCommandIds.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

using D = TRoomCabinetDialog;
namespace S = TRoomSources;

// A room model over made-up element responses: one driver cone and one port, or the
// groups a test names, each element radiating 1 (0 dB at 1 m) at every grid point.
class RoomDialogTest : public ::testing::Test {
protected:
    RoomDialogTest() { Use({S::DriverUnits, S::Port}, {1, 1}, 1); }
    ~RoomDialogTest() override { std::filesystem::remove_all(dir); }

    // The box type's groups with their counts; typeCode says which controls apply.
    void Use(std::vector<TRoomSource> groups, std::vector<int> counts, int typeCode)
    {
        model.reset(); // first: it closes its dialog through the slot
        slot.reset();
        sources = std::move(groups);
        n = std::move(counts);
        model = std::make_unique<TRoomCabinet>(host, styles, nullptr, settings, setup, folder, sources);
        model->bindInputs = [this](TRoomInputs& in) {
            in.groupCount = static_cast<int>(std::min<std::size_t>(sources.size(), 2));
            for (int g = 0; g < in.groupCount; ++g)
                in.groups[static_cast<std::size_t>(g)] = {sources[static_cast<std::size_t>(g)],
                                                          n[static_cast<std::size_t>(g)], 0.1, ones.data()};
            in.pressure = ones.data();
            in.importCorrection = ones.data();
            in.splTotal = zeros.data();
        };
        slot = std::make_unique<TRoomDialogSlot>();
        slot->Attach(host, *model, folder, typeCode, [this](TRecalc kind) { requests.push_back(kind); });
        model->CalculateRoom();
        model->ShowRoomDialog();
        requests.clear();
    }
    D& dialog() { return *slot->OpenDialog(); }
    std::string Shown(int id) { return dialog().Field(id).EditText(); }
    void Enter(int id, const std::string& text)
    {
        dialog().Type(id, text);
        dialog().FocusField(0);
    }
    std::vector<std::string> Items() { return dialog().Field(D::kElements).items; }

    std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() / ("roomdlg-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    TProgramFolder folder{dir.string()};
    THeadlessHost host;
    TPlotStyles styles;
    TMeasSetup setup;
    TRoomSettings settings;
    std::array<TComplex, 500> ones = [] {
        std::array<TComplex, 500> a;
        a.fill(TComplex(1.0, 0.0));
        return a;
    }();
    std::array<double, 500> zeros{};
    std::vector<TRoomSource> sources;
    std::vector<int> n;
    std::vector<TRecalc> requests;
    std::unique_ptr<TRoomDialogSlot> slot; // before the model, as a box project keeps it
    std::unique_ptr<TRoomCabinet> model;
};

} // namespace

TEST_F(RoomDialogTest, OpensFilledFromTheModelWithItsCommandDisabled)
{
    EXPECT_EQ(dialog().title, "Room and cabinet effects");
    EXPECT_EQ(dialog().HelpFile(), "roomcabi.txt");
    EXPECT_FALSE(dialog().HasOk());
    EXPECT_EQ(host.CommandEnabled(TCmd::RoomCabinet), false);
    EXPECT_EQ(D::Current(), &dialog());
    EXPECT_EQ(Shown(D::kRoofHeight), "2.400");
    EXPECT_EQ(Shown(D::kSummation), "6.0");
    EXPECT_EQ(Shown(D::kTransition), "300");
    EXPECT_EQ(dialog().Selected(D::kShow), D::kFrequencyResponse);
    EXPECT_TRUE(dialog().Checked(D::kSpeakerBackWall));
    EXPECT_FALSE(dialog().Checked(D::kFloor));
    EXPECT_FALSE(dialog().Field(D::kCalc).enabled);
    EXPECT_EQ(dialog().Field(D::kFileName).text, "Not in use");
    EXPECT_FALSE(dialog().Field(D::kLevelOffset).visible);
    EXPECT_TRUE(dialog().Field(D::kLevelOffsetNone).visible);
    ASSERT_EQ(dialog().menu.size(), 2u);
    EXPECT_EQ(dialog().menu[0].items[0].id, 10501);
    EXPECT_EQ(dialog().menu[0].items[1].id, 10502);
    EXPECT_EQ(dialog().menu[1].id, 11842);
    EXPECT_EQ(dialog().menu[1].text, "&Absorbtion coeffs.");
}

TEST_F(RoomDialogTest, ALengthWithoutCalcImmediatelyOnlyEnablesCalcAndClosingComputes)
{
    ASSERT_FALSE(model->NeedsRecompute());
    Enter(D::kRoofHeight, "3");
    EXPECT_DOUBLE_EQ(settings.Hr, 3.0);
    EXPECT_TRUE(model->NeedsRecompute()); // not computed yet
    EXPECT_TRUE(dialog().Field(D::kCalc).enabled);
    EXPECT_EQ(requests, std::vector<TRecalc>{TRecalc::ReportOnly});
    dialog().position = {120, 80};
    dialog().RequestClose();
    EXPECT_FALSE(slot->OpenDialog());
    EXPECT_FALSE(model->NeedsRecompute());
    EXPECT_EQ(slot->x, 120);
    EXPECT_EQ(slot->y, 80);
    EXPECT_EQ(host.CommandEnabled(TCmd::RoomCabinet), true);
    EXPECT_EQ(D::Current(), nullptr);

    // With "Calc. imm." on the same change computes at once.
    model->ShowRoomDialog();
    EXPECT_EQ(dialog().position.x, 120); // where it was closed
    dialog().Toggle(D::kCalcImmediately, true);
    EXPECT_FALSE(model->NeedsRecompute());
    Enter(D::kBaffleWidth, "0.5");
    EXPECT_DOUBLE_EQ(settings.W, 0.5);
    EXPECT_FALSE(model->NeedsRecompute());
    EXPECT_FALSE(dialog().Field(D::kCalc).enabled);
}

TEST_F(RoomDialogTest, NormalizeSmoothingAndShowComputeAtOnceOnStoredSpectra)
{
    // Listener 2.5 m away: the level without normalising lies well below 0 dB.
    const double before = model->Level()[0];
    dialog().Toggle(D::kNormalize, true);
    EXPECT_TRUE(settings.normalize);
    EXPECT_FALSE(model->NeedsRecompute());
    EXPECT_GT(model->Level()[0], before + 3.0);
    dialog().Toggle(D::kSmoothing, true);
    EXPECT_TRUE(settings.smoothing);
    EXPECT_FALSE(model->NeedsRecompute());
    EXPECT_EQ(requests, (std::vector<TRecalc>{TRecalc::ReportOnly, TRecalc::ReportOnly}));
    EXPECT_FALSE(dialog().Field(D::kCalc).enabled);

    requests.clear();
    dialog().Select(D::kShow, D::kImpact);
    EXPECT_EQ(settings.showMode, 0);
    EXPECT_EQ(model->Title(), "Room & Cabinet Impact");
    EXPECT_EQ(requests, std::vector<TRecalc>{TRecalc::MarkChanged});
    dialog().Select(D::kShow, D::kFrequencyResponse);
    EXPECT_EQ(settings.showMode, 1);
    EXPECT_EQ(model->Title(), "SPL in Room & Cabinet");
    EXPECT_FALSE(model->NeedsRecompute());
}

TEST_F(RoomDialogTest, ValuesOutsideTheirRangesAreRefused)
{
    dialog().Select(D::kElements, 1); // the port: dZ enabled
    const struct {
        int id;
        const char* text;
    } rows[] = {
        {D::kRoofHeight, "0.005"}, {D::kRoofHeight, "10.1"}, {D::kDepth, "-0.1"},    {D::kRoomWidth, "45.5"},
        {D::kSpeakerX, "5.1"},     {D::kSpeakerZ, "-1"},     {D::kListenerY, "20.1"}, {D::kBaffleWidth, "0.001"},
        {D::kBaffleWidth, "2.1"},  {D::kBaffleHeight, "3.5"}, {D::kSourceDX, "2.5"},  {D::kSourceDY, "3.1"},
        {D::kSourceDZ, "-5.5"},    {D::kSummation, "2.9"},   {D::kSummation, "6.1"},  {D::kTransition, "0"},
        {D::kTransition, "20001"},
    };
    const TRoomSettings kept = settings;
    for (const auto& row : rows) {
        const std::string shown = Shown(row.id);
        const int beeps = host.Beeps();
        Enter(row.id, row.text);
        EXPECT_EQ(host.Beeps(), beeps + 1) << row.id << " " << row.text;
        EXPECT_EQ(Shown(row.id), shown) << row.id;
    }
    EXPECT_EQ(settings.Hr, kept.Hr);
    EXPECT_EQ(settings.W, kept.W);
    EXPECT_EQ(settings.summation, kept.summation);
    EXPECT_EQ(settings.measTransition, kept.measTransition);
    for (std::size_t i = 0; i < kept.positions.size(); ++i)
        EXPECT_EQ(settings.positions[i].dZ, kept.positions[i].dZ);
    EXPECT_TRUE(requests.empty());
}

TEST_F(RoomDialogTest, SummationFactorAndAbsorptionStoreTheirModelValues)
{
    Enter(D::kSummation, "3");
    EXPECT_NEAR(settings.summation, std::pow(10.0, -0.15), 1e-12);
    Enter(D::kSummation, "6");
    EXPECT_DOUBLE_EQ(settings.summation, 1.0);

    dialog().Command(D::kAbsorption);
    TAbsDialog* abs = dialog().Absorption();
    ASSERT_NE(abs, nullptr);
    EXPECT_TRUE(abs->modal);
    EXPECT_TRUE(abs->HasOk());
    EXPECT_EQ(abs->Field(TAbsDialog::kFloor).EditText(), "0.19"); // r = 0.9
    EXPECT_EQ(abs->Field(TAbsDialog::kCeiling).EditText(), "0.36"); // r = 0.8
    requests.clear();
    model->CalculateRoom();
    abs->Type(TAbsDialog::kCeiling, "0.19");
    abs->FocusField(0);
    EXPECT_NEAR(settings.reflectionFactors[3], 0.9, 1e-12);
    // Stored only; the room dialog's change follows the return.
    EXPECT_FALSE(model->NeedsRecompute());
    EXPECT_TRUE(requests.empty());
    abs->Press(TAbsDialog::OkId);
    EXPECT_EQ(dialog().Absorption(), nullptr);
    EXPECT_TRUE(model->NeedsRecompute());
    EXPECT_TRUE(dialog().Field(D::kCalc).enabled);
    EXPECT_EQ(requests, std::vector<TRecalc>{TRecalc::ReportOnly});
}

TEST_F(RoomDialogTest, ElementListFollowsTheGroupsAndTheirCounts)
{
    struct Row {
        std::vector<TRoomSource> groups;
        std::vector<int> counts;
        int typeCode;
        std::vector<std::string> items;
    } rows[] = {
        {{S::DriverUnits}, {1}, 0, {"Driver unit"}},
        {{S::DriverUnits, S::Port}, {2, 3}, 1, {"Driver unit 1", "Driver unit 2", "Port 1", "Port 2", "Port 3"}},
        {{S::DriverUnits, S::Abr}, {1, 2}, 4, {"Driver unit", "Abr 1", "Abr 2"}},
        {{S::RearPort, S::FrontPort}, {1, 1}, 7, {"Front port", "Rear port"}},
        {{S::SidePorts, S::MiddlePort}, {2, 1}, 8, {"Side port 1", "Side port 2", "Middle port"}},
        {{S::DriverUnits, S::Port}, {1, 1}, 9, {}},
    };
    for (const Row& row : rows) {
        Use(row.groups, row.counts, row.typeCode);
        EXPECT_EQ(Items(), row.items) << row.typeCode;
        EXPECT_EQ(dialog().Field(D::kCabinetEdges).enabled, row.typeCode < 5 || row.typeCode > 8) << row.typeCode;
        // The first entry is chosen; a cone keeps its dZ.
        EXPECT_EQ(dialog().Selected(D::kElements), row.items.empty() ? -1 : 0);
        EXPECT_EQ(dialog().Field(D::kSourceDX).enabled, !row.items.empty());
        EXPECT_EQ(dialog().Field(D::kSourceDZ).enabled,
                  !row.items.empty() && row.groups[0].group != TRoomSettings::DriverUnits);
    }
}

TEST_F(RoomDialogTest, FrontAndRearPortsOfBandpassThreeEditTheirOwnGroups)
{
    Use({S::RearPort, S::FrontPort}, {1, 1}, 7);
    Enter(D::kSourceDZ, "-0.25"); // "Front port"
    dialog().Select(D::kElements, 1);
    Enter(D::kSourceDY, "0.1"); // "Rear port"
    EXPECT_DOUBLE_EQ(model->Position(S::FrontPort, 0).dZ, -0.25);
    EXPECT_DOUBLE_EQ(settings.positions[TRoomSettings::PortsB * 9].dZ, -0.25);
    EXPECT_DOUBLE_EQ(settings.positions[TRoomSettings::PortsA * 9].dY, 0.1);
    EXPECT_DOUBLE_EQ(settings.positions[TRoomSettings::PortsB * 9].dY, 0.4);
    EXPECT_TRUE(model->NeedsRecompute());

    // A count that shrinks keeps the choice within the list.
    dialog().Select(D::kElements, 1);
    n = {0, 1}; // no rear port any more
    model->refreshDialog();
    EXPECT_EQ(Items(), std::vector<std::string>{"Front port"});
    EXPECT_EQ(dialog().Selected(D::kElements), 0);
}

TEST_F(RoomDialogTest, SavingPreferencesAndDefaults)
{
    Enter(D::kRoofHeight, "3.1");
    dialog().Command(D::kSave);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(std::filesystem::file_size(dir / "roomcabi.prf"), TRoomSettings::PreferencesSize);

    // "Set to default": every field filled again, nothing computed, "&Calc" disabled.
    dialog().Command(D::kDefault);
    EXPECT_EQ(Shown(D::kRoofHeight), "2.400");
    EXPECT_FALSE(dialog().Field(D::kCalc).enabled);
    EXPECT_TRUE(model->NeedsRecompute());
    dialog().RequestClose();
    EXPECT_FALSE(model->NeedsRecompute());

    // A folder in the way of the file: the save fails with its message.
    std::filesystem::remove(dir / "roomcabi.prf");
    std::filesystem::create_directory(dir / "roomcabi.prf");
    model->ShowRoomDialog();
    dialog().Command(D::kSave);
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "Could not save to file 'roomcabi.prf'");
    EXPECT_EQ(host.Messages()[0].title, "Error");
    EXPECT_EQ(host.Messages()[0].icon, TMsgIcon::Warning);
}

TEST_F(RoomDialogTest, MeasuredDataFields)
{
    struct Row {
        const char* name;
        bool loaded, disabled;
        const char* shown;
    } rows[] = {
        {"", true, false, "Not in use"},
        {"meas/room.frd", false, false, "Not in use"},
        {"meas/room.frd", true, true, "Not in use"},
        {"meas/room.frd", true, false, "meas/room.frd"},
    };
    for (const Row& row : rows) {
        TRoomSettings s;
        s.measFileName = row.name;
        s.measLoaded = row.loaded;
        s.measDisabled = row.disabled;
        EXPECT_EQ(D::FileNameText(s), row.shown) << row.name;
    }
    // A long name shows its last 43 characters.
    EXPECT_EQ(D::FileNameText([] {
                  TRoomSettings s;
                  s.measFileName = std::string(50, 'a') + "x.frd";
                  s.measLoaded = true;
                  return s;
              }()),
              std::string(38, 'a') + "x.frd");

    // A file that cannot be read: the reader's message, nothing loaded.
    host.QueueFileName((dir / "missing.frd").string());
    dialog().Press(D::kBrowse);
    EXPECT_FALSE(settings.measLoaded);
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].title, "Measured data");
    EXPECT_EQ(dialog().Field(D::kFileName).text, "Not in use");

    // A file in the program folder is kept by its relative name; the offset shows, read
    // only while automatic.
    std::filesystem::copy_file(std::string(TONVEK_SOURCE_DIR) + "/examples/woofer-10in-4ohm.frd", dir / "w.frd");
    host.QueueFileName((dir / "w.frd").string());
    dialog().Press(D::kBrowse);
    EXPECT_TRUE(settings.measLoaded);
    EXPECT_EQ(dialog().Field(D::kFileName).text, "w.frd");
    EXPECT_TRUE(dialog().Field(D::kCalc).enabled);
    EXPECT_TRUE(dialog().Field(D::kLevelOffset).visible);
    EXPECT_TRUE(dialog().Field(D::kLevelOffset).dbl.ReadOnly());
    dialog().Toggle(D::kAutoLevel, false);
    EXPECT_FALSE(dialog().Field(D::kLevelOffset).dbl.ReadOnly());
    Enter(D::kLevelOffset, "-6");
    EXPECT_NEAR(settings.measLevelFactor, std::pow(10.0, -0.3), 1e-12);
    dialog().Toggle(D::kDisable, true);
    EXPECT_FALSE(dialog().Field(D::kLevelOffset).visible);
    EXPECT_EQ(dialog().Field(D::kFileName).text, "Not in use");
}

TEST_F(RoomDialogTest, OneRoomDialogInTheProgram)
{
    TRoomSettings otherSettings;
    TRoomDialogSlot otherSlot;
    TRoomCabinet other(host, styles, nullptr, otherSettings, setup, folder, sources);
    otherSlot.Attach(host, other, folder, 1, {});
    other.bindInputs = model->bindInputs;
    other.ShowRoomDialog();
    EXPECT_EQ(slot->OpenDialog(), nullptr);
    EXPECT_EQ(D::Current(), otherSlot.OpenDialog());
    // The model's end closes its dialog without computing on it.
    model.reset();
    slot.reset();
    EXPECT_NE(D::Current(), nullptr);
}
