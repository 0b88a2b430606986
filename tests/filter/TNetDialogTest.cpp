// The network and driver dialogs driven as a user drives them: which fields each role
// shows, typed values and their rules, the "Calc" buttons, and measured files chosen by
// browsing or by name.
#include "filter/TNetDialog.h"
#include "NetTestSupport.h"
#include "filter/TDriverDialog.h"
#include "measdata/MeasTestSupport.h"

#include <gtest/gtest.h>

using namespace nettest;

namespace {

using D = TNetDialog;
using V = TDriverDialog;

// Types a value and moves on, which commits it.
void Enter(TDialogModel& d, int id, const std::string& text)
{
    d.Type(id, text);
    d.FocusLeft(id);
}

TEST(NetDialog, EachRoleShowsItsSections)
{
    const std::vector<int> lowPass = {D::kLowPassOrder, D::kLowPassCutoff, D::kCalcLowPass, D::kLowPassL0,
                                      D::kLowPassC1,    D::kLowPassL2,     D::kLowPassC3};
    const std::vector<int> highPass = {D::kHighPassOrder, D::kHighPassCutoff, D::kCalcHighPass, D::kHighPassC0,
                                       D::kHighPassL1,    D::kHighPassC2,     D::kHighPassL3};
    const std::vector<int> always = {D::kNotchR,         D::kNotchL,    D::kNotchC,    D::kAttenuation,
                                     D::kCalcAttenuator, D::kPadSeries, D::kPadShunt,  D::kZobelR,
                                     D::kZobelC,         D::kCalcZobel, D::kDisconnect};
    struct Row {
        int index;
        const char* title;
        int command;
        bool low, high;
        const char* firstLabel; // of the first ladder field
    };
    const Row rows[] = {{0, "Bass network", 12101, true, false, "L11"},
                        {1, "Midrange network", 12102, true, true, "L21"},
                        {2, "Treble network", 12103, false, true, "C31"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title);
        FakeProject project;
        TNet net(project, row.index);
        TNetDialog& d = net.NetDialog();
        EXPECT_EQ(d.title, row.title);
        EXPECT_EQ(d.HelpFile(), "net_n.txt");
        EXPECT_EQ(d.menuCommand, row.command);
        for (int id : lowPass)
            EXPECT_EQ(d.Find(id) != nullptr, row.low) << id;
        for (int id : highPass)
            EXPECT_EQ(d.Find(id) != nullptr, row.high) << id;
        for (int id : always)
            EXPECT_NE(d.Find(id), nullptr) << id;
        EXPECT_EQ(d.Field(row.low ? D::kLowPassL0 : D::kHighPassC0).label, row.firstLabel);
        d.Open();
        EXPECT_EQ(project.host.CommandEnabled(row.command), false);
        d.RequestClose();
        EXPECT_EQ(project.host.CommandEnabled(row.command), true);
    }
}

TEST(NetDialog, LoadsTheNetworkInShownUnits)
{
    FakeProject project;
    TNet net(project, 1);
    TNetDialog& d = net.NetDialog();
    d.Open();
    EXPECT_EQ(d.Selected(D::kLowPassOrder), 3);
    EXPECT_EQ(d.Field(D::kLowPassCutoff).dbl.Text(), "5000");
    EXPECT_NEAR(d.Field(D::kLowPassL0).dbl.Value(), net.Branch(0).L().value * 1000, 1e-12);
    EXPECT_EQ(d.Field(D::kLowPassL0).dbl.Text().substr(d.Field(D::kLowPassL0).dbl.Text().find(';')), ";0.5");
    EXPECT_NEAR(d.Field(D::kZobelC).dbl.Value(), 15.625, 1e-9);
    EXPECT_EQ(d.Field(D::kZobelC).dbl.Text(), "15.6");
    EXPECT_FALSE(d.Checked(D::kDisconnect));
    // Order 0 shows no selection.
    TNet bass(project, 0);
    bass.lowPassOrder = 0;
    bass.NetDialog().Open();
    EXPECT_EQ(bass.NetDialog().Selected(D::kLowPassOrder), -1);
}

TEST(NetDialog, CalcButtonsDesignFromTheTypedInputs)
{
    FakeProject project;
    TNet net(project, 0);
    TNetDialog& d = net.NetDialog();
    d.Open();
    d.Select(D::kLowPassOrder, 1);
    Enter(d, D::kLowPassCutoff, "3000");
    EXPECT_EQ(net.lowPassOrder, 2);
    EXPECT_EQ(net.lowPassCutoff, 3000.0);
    const int recalculated = project.recalculated;
    d.Press(D::kCalcLowPass);
    EXPECT_EQ(project.recalculated, recalculated + 1);
    EXPECT_GT(project.changed, 0);
    EXPECT_NEAR(net.Branch(1).C().value, 4.688e-6, 0.005e-6);
    EXPECT_EQ(net.Branch(2).Type(), TBranchType::None);
    EXPECT_EQ(d.Field(D::kLowPassC1).dbl.Text(), "4.69");
    EXPECT_EQ(d.Field(D::kLowPassL2).dbl.Value(), 0.0);

    Enter(d, D::kAttenuation, "6");
    d.Press(D::kCalcAttenuator);
    EXPECT_EQ(d.Field(D::kPadSeries).dbl.Text(), "4.0");
    EXPECT_EQ(d.Field(D::kPadShunt).dbl.Text(), "8.0");
    EXPECT_EQ(net.Branch(TNet::kPadSeries).Type(), TBranchType::R);

    // Two drivers in parallel: the Zobel for 4 ohm.
    net.driverCount = 2;
    d.Press(D::kCalcZobel);
    EXPECT_EQ(d.Field(D::kZobelR).dbl.Text(), "4.0");
}

TEST(NetDialog, TypedComponentsFollowTheirRules)
{
    FakeProject project;
    TNet net(project, 0);
    TNetDialog& d = net.NetDialog();
    d.Open();
    Enter(d, D::kLowPassL0, "0.700;0.2");
    EXPECT_DOUBLE_EQ(net.Branch(0).L().value, 0.0007);
    EXPECT_DOUBLE_EQ(net.Branch(0).L().seriesResistance, 0.2);
    EXPECT_EQ(net.Branch(0).Type(), TBranchType::L);
    Enter(d, D::kLowPassC3, "0");
    EXPECT_EQ(net.Branch(3).Type(), TBranchType::None);
    Enter(d, D::kNotchR, "10");
    Enter(d, D::kNotchC, "22");
    EXPECT_EQ(net.Branch(TNet::kNotch).Type(), TBranchType::RParC);
    EXPECT_DOUBLE_EQ(net.Branch(TNet::kNotch).C().value, 22e-6);
    // Out of range or not a number: refused with a beep, nothing changes.
    struct Row {
        int id;
        const char* text;
    };
    for (const Row row : {Row{D::kLowPassCutoff, "10"}, Row{D::kLowPassCutoff, "30000"}, Row{D::kNotchR, "-1"},
                          Row{D::kLowPassC1, "1001"}, Row{D::kAttenuation, "abc"}, Row{D::kLowPassL2, "1;20"}}) {
        SCOPED_TRACE(row.text);
        const auto before = [&] {
            TBinaryWriter out;
            net.WriteRecord(out);
            return out.Bytes();
        };
        const auto bytes = before();
        const int beeps = project.host.Beeps();
        Enter(d, row.id, row.text);
        EXPECT_EQ(project.host.Beeps(), beeps + 1);
        EXPECT_EQ(before(), bytes);
    }
    d.Toggle(D::kDisconnect, true);
    EXPECT_TRUE(net.disconnect);
    EXPECT_TRUE(net.Dirty());
}

TEST(DriverDialog, CaptionsCommandsAndTheSecondDriver)
{
    struct Row {
        int index;
        const char* caption;
        int command;
    };
    for (const Row row :
         {Row{0, "Bass driver", 13000}, Row{1, "Midrange driver", 13002}, Row{2, "Treble driver", 13001}}) {
        FakeProject project;
        TNet net(project, row.index);
        EXPECT_EQ(net.DriverDialog().title, row.caption);
        EXPECT_EQ(net.DriverDialog().menuCommand, row.command);
        EXPECT_EQ(net.DriverDialog().HelpFile(), "net_d.txt");
    }
    FakeProject project;
    TNet net(project, 0);
    TDriverDialog& d = net.DriverDialog();
    d.Open();
    EXPECT_FALSE(d.Field(V::kSelector).visible);
    EXPECT_FALSE(d.Field(V::kConnection).visible);
    EXPECT_EQ(d.Selected(V::kConnection), 1); // parallel
    d.Select(V::kCount, 1);
    EXPECT_EQ(net.driverCount, 2);
    EXPECT_TRUE(d.Field(V::kSelector).visible);
    EXPECT_TRUE(d.Field(V::kConnection).visible);
    d.Select(V::kConnection, 0);
    EXPECT_TRUE(net.seriesConnection);

    Enter(d, V::kX, "25");
    d.Select(V::kSelector, 1);
    EXPECT_EQ(d.Field(V::kX).dbl.Value(), 0.0);
    Enter(d, V::kX, "-40");
    Enter(d, V::kPistonRadius, "12.5");
    EXPECT_DOUBLE_EQ(net.Driver(0).x, 0.025);
    EXPECT_DOUBLE_EQ(net.Driver(1).x, -0.04);
    EXPECT_DOUBLE_EQ(net.Driver(1).pistonRadius, 0.0125);
    // Back to one driver: the first is shown again.
    d.Select(V::kCount, 0);
    EXPECT_EQ(d.SelectedDriver(), 0);
    EXPECT_EQ(d.Field(V::kX).dbl.Value(), 25.0);
}

TEST(DriverDialog, ValuesInShownUnits)
{
    FakeProject project;
    TNet net(project, 2);
    TDriverDialog& d = net.DriverDialog();
    d.Open();
    EXPECT_EQ(d.Field(V::kLe).dbl.Text(), "1.000");
    EXPECT_EQ(d.Field(V::kSplScaling).dbl.Text(), "0.0");
    Enter(d, V::kLe, "0.05");
    Enter(d, V::kRe, "6.4");
    Enter(d, V::kSplScaling, "-6");
    Enter(d, V::kImpedanceScaling, "1.1");
    d.Toggle(V::kInvert, true);
    EXPECT_DOUBLE_EQ(net.le, 0.00005);
    EXPECT_DOUBLE_EQ(net.re, 6.4);
    EXPECT_NEAR(net.Driver(0).splScaling, 0.501187, 1e-6);
    EXPECT_EQ(d.Field(V::kSplScaling).dbl.Text(), "-6.0");
    EXPECT_DOUBLE_EQ(net.Driver(0).impedanceScaling, 1.1);
    EXPECT_TRUE(net.invertPolarity);
    // Re below 0.1 ohm would let a calculator divide by nothing.
    const int beeps = project.host.Beeps();
    Enter(d, V::kRe, "0");
    EXPECT_EQ(project.host.Beeps(), beeps + 1);
    EXPECT_DOUBLE_EQ(net.re, 6.4);
}

TEST(DriverDialog, MeasuredFilesByNameAndByBrowsing)
{
    meastest::TempDir dir;
    const std::string frd = dir.Write("t.frd", "10 90 0\n30000 90 0\n");
    const std::string zma = dir.Write("t.zma", "10 6 0\n30000 6 0\n");
    FakeProject project;
    TNet net(project, 2);
    TDriverDialog& d = net.DriverDialog();
    d.Open();
    EXPECT_EQ(d.Field(V::kSplFile).str.Text(), V::kNotInUse);
    Enter(d, V::kSplFile, frd);
    EXPECT_TRUE(net.Driver(0).spl.Loaded());
    EXPECT_EQ(d.Field(V::kSplFile).str.Text(), frd);
    EXPECT_GT(project.recalculated, 0);

    // A name that cannot be opened: the message, and the driver keeps its file.
    Enter(d, V::kSplFile, dir.File("gone.frd"));
    EXPECT_EQ(project.host.Messages().size(), 1u);
    EXPECT_TRUE(net.Driver(0).spl.Loaded());
    EXPECT_EQ(d.Field(V::kSplFile).str.Text(), frd);

    project.host.QueueFileName(zma);
    d.Press(V::kImpedanceBrowse);
    EXPECT_TRUE(net.Driver(0).impedance.Loaded());
    EXPECT_EQ(d.Field(V::kImpedanceFile).str.Text(), zma);
    EXPECT_TRUE(net.Dirty());
    ASSERT_EQ(project.host.FileRequests().size(), 1u);
    EXPECT_EQ(project.host.FileRequests()[0].defaultExtension, "zma");
    // Browsing to a file that is gone, or cancelling, keeps the file too.
    project.host.QueueFileName(dir.File("gone.zma"));
    d.Press(V::kImpedanceBrowse);
    project.host.QueueFileName(std::nullopt);
    d.Press(V::kImpedanceBrowse);
    EXPECT_EQ(project.host.Messages().size(), 2u);
    EXPECT_TRUE(net.Driver(0).impedance.Loaded());
    EXPECT_EQ(net.Driver(0).impedance.FileName(), zma);

    Enter(d, V::kSplFile, V::kNotInUse);
    EXPECT_FALSE(net.Driver(0).spl.Loaded());
    EXPECT_TRUE(net.Driver(0).spl.FileName().empty());
    // The second driver's files are its own.
    d.Select(V::kCount, 1);
    d.Select(V::kSelector, 1);
    EXPECT_EQ(d.Field(V::kImpedanceFile).str.Text(), V::kNotInUse);
    Enter(d, V::kImpedanceFile, zma);
    EXPECT_TRUE(net.Driver(1).impedance.Loaded());
}

} // namespace
