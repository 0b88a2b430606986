#include "settings/TGeneralDialog.h"

#include "core/TBinaryStream.h"
#include "settings/TGeneral.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using D = TGeneralDialog;

struct RecordingListener : TGeneralListener {
    std::string calls;
    void MarkAllDirty() override { calls += 'M'; }
    void RefreshDialogs() override { calls += 'R'; }
    void Recalculate() override { calls += 'C'; }
    int FileVersion() const override { return 410; }
};

class TGeneralDialogTest : public ::testing::Test {
public:
    TGeneralDialogTest() { general.SetListener(&listener); }

    void Enter(int id, const std::string& text)
    {
        dialog.Type(id, text);
        dialog.FocusField(0);
    }
    std::string Shown(int id) const { return dialog.Field(id).ShownValue(); }
    const std::vector<std::string>& Items(int id) const { return dialog.Field(id).items; }
    int IndexOf(int id, const std::string& item) const
    {
        const auto& items = Items(id);
        return static_cast<int>(std::find(items.begin(), items.end(), item) - items.begin());
    }
    // Selects the angle in the angle list and presses the surface "&Add -->".
    void AddSurface(const std::string& angle)
    {
        dialog.Select(D::AngleListId, IndexOf(D::AngleListId, angle));
        dialog.Press(D::SurfaceAddId);
    }
    void AddOverlay(const std::string& angle)
    {
        dialog.Select(D::SurfaceListId, IndexOf(D::SurfaceListId, angle));
        dialog.Press(D::OverlayAddId);
    }
    std::string LastMessage() const { return host.LastMessage() ? host.LastMessage()->text : std::string(); }

    THeadlessHost host;
    TGeneral general;
    RecordingListener listener;
    TGeneralDialog dialog{host, general};
};

} // namespace

TEST_F(TGeneralDialogTest, OpensOnTheSettings)
{
    general.SetSampleRate(48000);
    ASSERT_TRUE(general.SetPoints(256));
    dialog.Show();
    EXPECT_TRUE(host.IsDialogOpen(dialog));
    EXPECT_EQ(host.CommandEnabled(13100), false);
    EXPECT_EQ(general.Dialog(), &dialog);
    EXPECT_EQ(dialog.title, "General settings");
    EXPECT_EQ(dialog.HelpFile(), "general.txt");
    EXPECT_FALSE(dialog.HasOk());

    EXPECT_EQ(Items(D::LowerId), (std::vector<std::string>{"  10", "  20", "  50", " 100", " 200", " 500", "1000"}));
    EXPECT_EQ(Items(D::UpperId), (std::vector<std::string>{" 2000", " 5000", "10000", "20000"}));
    EXPECT_EQ(Items(D::PointsId), (std::vector<std::string>{"128", "256", "512", "1024", "2048", "4096"}));
    EXPECT_EQ(Items(D::SampleRateId),
              (std::vector<std::string>{"8000", "11025", "16000", "22050", "32000", "44100", "48000"}));
    EXPECT_EQ(Shown(D::LowerId), "  20");
    EXPECT_EQ(Shown(D::UpperId), "20000");
    EXPECT_EQ(Shown(D::PointsId), "256"); // N / 2
    EXPECT_EQ(Shown(D::SampleRateId), "48000");

    const auto& angles = Items(D::AngleListId);
    ASSERT_EQ(angles.size(), 29u);
    EXPECT_EQ(angles.front(), "+60");
    EXPECT_EQ(angles[14], "-1");
    EXPECT_EQ(angles.back(), "-60");
    EXPECT_EQ(std::count(angles.begin(), angles.end(), "+40"), 0);
    EXPECT_EQ(std::count(angles.begin(), angles.end(), "-40"), 1);
    EXPECT_EQ(dialog.Selected(D::AngleListId), 0);
    EXPECT_EQ(Items(D::SurfaceListId), std::vector<std::string>{"+0"});
    EXPECT_EQ(Items(D::OverlayListId), std::vector<std::string>{"+0"});
    EXPECT_EQ(dialog.Selected(D::SurfaceListId), 0);

    EXPECT_EQ(Shown(D::PlaneId), "Vertical");
    EXPECT_EQ(Shown(D::InfiniteId), "on");
    EXPECT_EQ(Shown(D::SplRangeId), "30");
    EXPECT_EQ(Shown(D::TitleId), "");
}

TEST_F(TGeneralDialogTest, AutomaticSwitchesShowDashesInReadOnlyFields)
{
    struct Row {
        int toggle;
        std::vector<int> fields;
        std::vector<std::string> values; // shown when the switch is off
        std::string calls;               // what switching it off asks of the project
    };
    const Row rows[] = {
        {D::InfiniteId, {D::DistanceId}, {"1.0"}, "MRC"},
        {D::GroupDelayAutoId, {D::GroupDelayMaxId, D::GroupDelayMinId}, {"10.0", "-2.0"}, "RC"},
        {D::ImpedanceAutoId, {D::ImpedanceMaxId}, {"30"}, "RC"},
    };
    dialog.Show();
    for (const Row& row : rows) {
        for (int id : row.fields) {
            EXPECT_EQ(Shown(id), "---") << id;
            dialog.Type(id, "5");
            dialog.FocusField(0);
            EXPECT_EQ(Shown(id), "---") << id; // read only: the typing is not taken
        }
        listener.calls.clear();
        dialog.Toggle(row.toggle, false);
        EXPECT_EQ(listener.calls, row.calls) << row.toggle;
        for (std::size_t i = 0; i < row.fields.size(); ++i)
            EXPECT_EQ(Shown(row.fields[i]), row.values[i]) << row.fields[i];
        dialog.Toggle(row.toggle, true);
        for (int id : row.fields)
            EXPECT_EQ(Shown(id), "---") << id;
    }
}

TEST_F(TGeneralDialogTest, ValuesGoThroughTheSettings)
{
    dialog.Show();
    dialog.Toggle(D::InfiniteId, false);
    dialog.Toggle(D::GroupDelayAutoId, false);
    dialog.Toggle(D::ImpedanceAutoId, false);

    listener.calls.clear();
    Enter(D::DistanceId, "2,5");
    EXPECT_EQ(general.Distance(), 2.5);
    EXPECT_EQ(listener.calls, "MRC");
    Enter(D::DistanceId, "0.4"); // below the range: refused, nothing asked
    EXPECT_EQ(general.Distance(), 2.5);
    EXPECT_EQ(Shown(D::DistanceId), "2.5");

    listener.calls.clear();
    Enter(D::GroupDelayMaxId, "20");
    Enter(D::GroupDelayMinId, "-5");
    Enter(D::ImpedanceMaxId, "100");
    Enter(D::SplRangeId, "60");
    EXPECT_EQ(listener.calls, "RCRCRCRC");
    EXPECT_EQ(general.GroupDelayMaximum(), 20.0);
    EXPECT_EQ(general.GroupDelayMinimum(), -5.0);
    EXPECT_EQ(general.ImpedanceMaximum(), 100);
    EXPECT_EQ(general.SplRange(), 60);
    Enter(D::GroupDelayMinId, "1"); // above 0
    Enter(D::SplRangeId, "101");
    EXPECT_EQ(general.GroupDelayMinimum(), -5.0);
    EXPECT_EQ(general.SplRange(), 60);

    listener.calls.clear();
    dialog.Select(D::PointsId, 5); // "4096"
    EXPECT_EQ(general.TransformSize(), 8192);
    EXPECT_EQ(general.Log2TransformSize(), 13);
    EXPECT_EQ(listener.calls, "MRC");
    dialog.Select(D::LowerId, 3);
    dialog.Select(D::UpperId, 1);
    dialog.Select(D::SampleRateId, 0);
    EXPECT_EQ(general.LowerFrequency(), 100);
    EXPECT_EQ(general.UpperFrequency(), 5000);
    EXPECT_EQ(general.SampleRate(), 8000);

    dialog.Select(D::PlaneId, 1);
    EXPECT_FALSE(general.Vertical());
    dialog.Select(D::PlaneId, 0);
    EXPECT_TRUE(general.Vertical());
    for (int id : {D::DisableIfftId, D::FlipId, D::HideOnAxisId, D::InhibitId, D::HidePhaseId})
        dialog.Toggle(id, true);
    EXPECT_TRUE(general.DisableIfft() && general.FlipUpDown() && general.HideOnAxis() && general.Inhibit() &&
                general.HidePhase());

    listener.calls.clear();
    Enter(D::TitleId, std::string(120, 't'));
    EXPECT_EQ(general.Title(), std::string(99, 't'));
    EXPECT_EQ(listener.calls, "R"); // the title needs no calculation
}

TEST_F(TGeneralDialogTest, RayButtonsFillTheListsAndRefuseWithMessages)
{
    dialog.Show();
    AddSurface("+20");
    AddSurface("-10");
    AddSurface("+30");
    EXPECT_EQ(Items(D::SurfaceListId), (std::vector<std::string>{"+30", "+20", "+0", "-10"}));
    EXPECT_EQ(dialog.Selected(D::SurfaceListId), 0);
    EXPECT_EQ(general.OnAxisIndex(), 2);
    EXPECT_TRUE(host.Messages().empty());

    AddOverlay("+20");
    EXPECT_EQ(Items(D::OverlayListId), (std::vector<std::string>{"+0", "+20"}));
    EXPECT_EQ(dialog.Selected(D::OverlayListId), 0);

    struct Row {
        const char* what;
        void (*action)(TGeneralDialogTest&);
        const char* message;
    };
    const Row rows[] = {
        {"surface twice", [](TGeneralDialogTest& t) { t.AddSurface("+20"); }, "Ray already selected"},
        {"remove surface on axis",
         [](TGeneralDialogTest& t) {
             t.dialog.Select(D::SurfaceListId, 2);
             t.dialog.Press(D::SurfaceRemoveId);
         },
         "Can not remove on axis ray"},
        {"overlay twice", [](TGeneralDialogTest& t) { t.AddOverlay("+20"); }, "Ray already selected"},
        {"overlay on axis twice", [](TGeneralDialogTest& t) { t.AddOverlay("+0"); }, "Ray already selected"},
        {"remove overlay on axis",
         [](TGeneralDialogTest& t) {
             t.dialog.Select(D::OverlayListId, 0);
             t.dialog.Press(D::OverlayRemoveId);
         },
         "Can not remove on axis ray"},
    };
    for (const Row& row : rows) {
        host.ClearMessages();
        const auto surface = Items(D::SurfaceListId);
        const auto overlay = Items(D::OverlayListId);
        row.action(*this);
        ASSERT_EQ(host.Messages().size(), 1u) << row.what;
        EXPECT_EQ(host.LastMessage()->text, row.message) << row.what;
        EXPECT_EQ(host.LastMessage()->title, "") << row.what;
        EXPECT_EQ(host.LastMessage()->icon, TMsgIcon::Warning) << row.what;
        EXPECT_EQ(host.LastMessage()->buttons, TMsgButtons::Ok) << row.what;
        EXPECT_EQ(Items(D::SurfaceListId), surface) << row.what;
        EXPECT_EQ(Items(D::OverlayListId), overlay) << row.what;
    }

    // Removing +20 from the surface takes the overlay +20 along.
    host.ClearMessages();
    dialog.Select(D::SurfaceListId, 1);
    dialog.Press(D::SurfaceRemoveId);
    EXPECT_EQ(Items(D::SurfaceListId), (std::vector<std::string>{"+30", "+0", "-10"}));
    EXPECT_EQ(Items(D::OverlayListId), std::vector<std::string>{"+0"});
    EXPECT_EQ(general.OnAxisIndex(), 1);

    // While "Inhibit" is on the buttons do nothing at all.
    dialog.Toggle(D::InhibitId, true);
    listener.calls.clear();
    AddSurface("+5");
    AddOverlay("+30");
    dialog.Select(D::SurfaceListId, 0);
    dialog.Press(D::SurfaceRemoveId);
    EXPECT_EQ(Items(D::SurfaceListId), (std::vector<std::string>{"+30", "+0", "-10"}));
    EXPECT_EQ(Items(D::OverlayListId), std::vector<std::string>{"+0"});
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(listener.calls, "");
}

TEST_F(TGeneralDialogTest, FullListsRefuseMoreRays)
{
    dialog.Show();
    const auto& angles = Items(D::AngleListId);
    for (int i = 0; i < 16; ++i)
        AddSurface(angles[static_cast<std::size_t>(i)]);
    ASSERT_EQ(general.SurfaceRayCount(), 17);
    EXPECT_TRUE(host.Messages().empty());
    AddSurface("-60");
    EXPECT_EQ(LastMessage(), "Maximum number of surface plot rays selected");
    EXPECT_EQ(general.SurfaceRayCount(), 17);

    for (int i = 0; i < 7; ++i)
        AddOverlay(Items(D::SurfaceListId)[static_cast<std::size_t>(i)]);
    ASSERT_EQ(general.OverlayRayCount(), 8);
    host.ClearMessages();
    AddOverlay("-1");
    EXPECT_EQ(LastMessage(), "Maximum number of overlay plot rays selected");
    EXPECT_EQ(Items(D::OverlayListId).size(), 8u);
    // The overlay list's last entry goes with "&Remove".
    dialog.Select(D::OverlayListId, 7);
    dialog.Press(D::OverlayRemoveId);
    EXPECT_EQ(general.OverlayRayCount(), 7);
}

TEST_F(TGeneralDialogTest, ClosingKeepsPositionAndTitleAndGivesTheCommandBack)
{
    general.dialogX = 40;
    general.dialogY = 60;
    dialog.Show();
    EXPECT_EQ(dialog.position.x, 40);
    dialog.position = {200, 150};
    dialog.Type(D::TitleId, "Typed, not yet left");
    dialog.Close();
    EXPECT_EQ(host.CommandEnabled(13100), true);
    EXPECT_EQ(general.dialogX, 200);
    EXPECT_EQ(general.dialogY, 150);
    EXPECT_EQ(general.Title(), "Typed, not yet left");
    EXPECT_EQ(general.Dialog(), nullptr);
    // Opened again it shows the settings as they are now.
    general.SetTitle("Changed meanwhile");
    dialog.Show();
    EXPECT_EQ(Shown(D::TitleId), "Changed meanwhile");
    EXPECT_EQ(dialog.position.x, 200);
}

TEST_F(TGeneralDialogTest, ResetClosesTheOpenDialog)
{
    dialog.Show();
    dialog.position = {10, 20};
    dialog.Type(D::TitleId, "Lost with the project");
    general.Reset();
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_FALSE(host.IsDialogOpen(dialog));
    EXPECT_EQ(host.CommandEnabled(13100), true);
    EXPECT_EQ(general.Dialog(), nullptr);
    EXPECT_EQ(general.Title(), "");
    EXPECT_EQ(general.dialogX, 10);
    // A dialog that goes away while open unregisters itself.
    {
        TGeneralDialog second(host, general);
        second.Show();
        EXPECT_EQ(general.Dialog(), &second);
    }
    EXPECT_EQ(general.Dialog(), nullptr);
    general.Reset();
}

TEST_F(TGeneralDialogTest, AnOpenDialogFollowsSettingsReadFromAFile)
{
    dialog.Show();
    TGeneral other;
    ASSERT_EQ(other.AddSurfaceRay(15), TRayChange::Done);
    ASSERT_EQ(other.AddOverlayRay(15), TRayChange::Done);
    other.SetUpperFrequency(10000);
    other.SetTitle("From the file");
    TBinaryWriter out;
    ASSERT_TRUE(other.Write(out));
    TBinaryReader in(out.Bytes());
    ASSERT_TRUE(general.Read(in, 410));
    EXPECT_EQ(Items(D::SurfaceListId), (std::vector<std::string>{"+15", "+0"}));
    EXPECT_EQ(Items(D::OverlayListId), (std::vector<std::string>{"+0", "+15"}));
    EXPECT_EQ(Shown(D::UpperId), "10000");
    EXPECT_EQ(Shown(D::TitleId), "From the file");
    // Assigning settings keeps the registration: the dialog still belongs to these.
    general = TGeneral();
    EXPECT_EQ(general.Dialog(), &dialog);
    EXPECT_EQ(general.Listener(), &listener);
}
