// The advanced network dialog driven as a user drives it: the branch list of each mode
// and connection, the optimisation list with its message, type and value changes
// through the dialogs a double click opens, arrow-key steps at the limits, the gain of
// active networks, and the names the command line sets.
#include "filter/TNetADialog.h"
#include "filter/TBranchA.h"
#include "filter/TCompA.h"
#include "filter/TDetachedNetOwner.h"
#include "filter/TDriverADialog.h"
#include "filter/TNetA.h"
#include "filter/TNetADialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using D = TNetADialog;
using Kind = TNetADialog::TLineKind;

struct Fixture {
    explicit Fixture(bool active = false) : net(project, 0, active), d(project.host, net) { d.Open(); }
    TDetachedNetOwner project;
    TNetA net;
    TNetADialog d;

    const std::vector<std::string>& Items(int list) { return d.Field(list).items; }
    // Double-clicks a line of list 101 as a user does.
    TDialogModel* DoubleClick(int line)
    {
        d.Select(D::kBranches, line);
        d.Activate(D::kBranches);
        return d.OpenSubDialog();
    }
    void SetType(int position, int type)
    {
        TDialogModel* t = DoubleClick(d.LineOf(Kind::Heading, position));
        ASSERT_NE(t, nullptr);
        t->Select(TBranchTypeDialog::kTypes, type);
        t->Press(TBaseDialog::OkId);
    }
    TCompA& Comp(int position, TCompSlot slot) { return net.Branch(position)->Comp(slot); }
    int CompLine(int position, TCompSlot slot) { return d.LineOf(Kind::Component, position, &Comp(position, slot)); }
    std::string Named(const std::string& name)
    {
        for (const TListedValue& v : d.listedValues())
            if (v.name == name)
                return v.shown;
        return "(none)";
    }
    bool SetNamed(const std::string& name, const std::string& text)
    {
        for (const TListedValue& v : d.listedValues())
            if (v.name == name)
                return v.set(text);
        ADD_FAILURE() << "no listed value " << name;
        return false;
    }
};

TEST(NetADialog, TitleHelpAndMenuCommandWhileOpen)
{
    TDetachedNetOwner project;
    TNetA net(project, 2, false);
    TNetADialog d(project.host, net);
    EXPECT_EQ(d.title, "Net 3");
    EXPECT_EQ(d.HelpFile(), "net.txt");
    d.Open();
    EXPECT_EQ(project.host.CommandEnabled(13023), false);
    d.Press(TBaseDialog::OkId);
    EXPECT_EQ(project.host.CommandEnabled(13023), true);
    EXPECT_TRUE(d.Field(D::kOptimize).enabled);
    EXPECT_TRUE(d.Field(D::kWizard).enabled);
}

TEST(NetADialog, ListOfEachModeShowsHeadingsTypesAndComponents)
{
    struct Row {
        bool active;
        const char* series0; // type 0 of position 0
        const char* shunt1;  // of position 1
        int type;            // given to position 0
        std::vector<std::string> comps;
    };
    const Row rows[] = {
        {false,
         " Short circuit",
         " Open circuit",
         9,
         {"R1011\t1.00\tohm", "R1012\t1.00\tohm", "C1011\t1.000\tuF", "L1011\t1.000\tmH"}},
        {true,
         " Nothing",
         " Nothing",
         3,
         {"R1011\t10.0\tkohm", "R1012\t10.0\tkohm", "C1011\t10.0\tnF", "C1012\t10.0\tnF"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.active ? "active" : "passive");
        Fixture f(row.active);
        const auto& items = f.Items(D::kBranches);
        // Eight ladder positions and the one shunt across a single driver: a heading, the
        // type and a blank line each while no component is in use.
        ASSERT_EQ(items.size(), 9u * 3u);
        EXPECT_EQ(items[0], "* Branch 01 *");
        EXPECT_EQ(items[1], row.series0);
        EXPECT_EQ(items[2], "  ");
        EXPECT_EQ(items[3], "* Branch 02 *");
        EXPECT_EQ(items[4], row.shunt1);
        EXPECT_EQ(items[24], "* Branch 11 *");
        EXPECT_EQ(items[25], " Open circuit"); // across the drivers: always passive
        f.SetType(0, row.type);
        ASSERT_EQ(f.Items(D::kBranches).size(), 9u * 3u + row.comps.size());
        EXPECT_EQ(f.Items(D::kBranches)[1], f.net.Branch(0)->TypeText(row.type));
        for (std::size_t c = 0; c < row.comps.size(); ++c)
            EXPECT_EQ(f.Items(D::kBranches)[2 + c], row.comps[c]);
    }
}

TEST(NetADialog, ShuntPositionsFollowTheConnection)
{
    struct Row {
        int count;
        TConnection connection;
        std::vector<std::string> shunts;
    };
    const Row rows[] = {{1, TConnection::Series, {"* Branch 11 *"}},
                        {3, TConnection::Series, {"* Branch 11 *", "* Branch 12 *", "* Branch 13 *"}},
                        {4, TConnection::Series, {"* Branch 11 *", "* Branch 12 *", "* Branch 13 *", "* Branch 14 *"}},
                        {3, TConnection::Parallel, {"* Branch 11 *"}},
                        {4, TConnection::Pairs, {"* Branch 11 *", "* Branch 12 *"}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.count);
        Fixture f;
        f.net.Drivers().SetCount(row.count);
        ASSERT_TRUE(f.net.Drivers().SetConnection(row.connection));
        f.d.Rebuild();
        std::vector<std::string> headings;
        for (const std::string& item : f.Items(D::kBranches))
            if (item.rfind("* Branch 1", 0) == 0 && item != "* Branch 1 *")
                headings.push_back(item);
        EXPECT_EQ(headings, row.shunts);
    }
}

TEST(NetADialog, AddAndRemoveWithTheirMessages)
{
    Fixture f;
    f.SetType(0, 3);             // R1 + L
    f.d.Select(D::kBranches, 0); // a heading: only a beep
    f.d.Press(D::kAdd);
    EXPECT_EQ(f.project.host.Beeps(), 1);
    EXPECT_TRUE(f.Items(D::kOptimisation).empty());

    f.d.Select(D::kBranches, f.CompLine(0, TCompSlot::L));
    f.d.Press(D::kAdd);
    f.d.Select(D::kBranches, f.CompLine(0, TCompSlot::R1));
    f.d.Press(D::kAdd);
    // In list order, not in the order added.
    EXPECT_EQ(f.Items(D::kOptimisation), (std::vector<std::string>{"R1011\t1.00\tohm", "L1011\t1.000\tmH"}));
    f.d.Press(D::kAdd);
    ASSERT_EQ(f.project.host.Messages().size(), 1u);
    EXPECT_EQ(f.project.host.Messages()[0].text, "Item already selected");
    EXPECT_EQ(f.Items(D::kOptimisation).size(), 2u);

    f.d.Select(D::kOptimisation, 0);
    f.d.Press(D::kRemove);
    EXPECT_EQ(f.Items(D::kOptimisation), std::vector<std::string>{"L1011\t1.000\tmH"});
    EXPECT_FALSE(f.Comp(0, TCompSlot::R1).inOptimisation);
    EXPECT_TRUE(f.Comp(0, TCompSlot::L).inOptimisation);
}

TEST(NetADialog, TypeChangeClearsTheOptimisationTicksAndRecalculates)
{
    Fixture f;
    f.SetType(2, 4); // R1 + C
    f.d.Select(D::kBranches, f.CompLine(2, TCompSlot::C));
    f.d.Press(D::kAdd);
    const int recalculated = f.project.recalculated;

    // Cancel changes nothing.
    TDialogModel* t = f.DoubleClick(f.d.LineOf(Kind::Type, 2));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->title, "Passive branch type");
    EXPECT_EQ(t->Selected(TBranchTypeDialog::kTypes), 4);
    t->Select(TBranchTypeDialog::kTypes, 1);
    t->Press(TBaseDialog::CancelId);
    EXPECT_EQ(f.net.Branch(2)->Type(), 4);
    EXPECT_TRUE(f.Comp(2, TCompSlot::C).inOptimisation);

    f.net.Calculate();
    EXPECT_FALSE(f.net.Branch(2)->Dirty());
    f.SetType(2, 7); // R1 // C: the same components, still a new type
    EXPECT_EQ(f.net.Branch(2)->Type(), 7);
    EXPECT_FALSE(f.Comp(2, TCompSlot::C).inOptimisation);
    EXPECT_TRUE(f.Items(D::kOptimisation).empty());
    EXPECT_TRUE(f.net.Branch(2)->Dirty());
    EXPECT_GT(f.project.recalculated, recalculated);
}

TEST(NetADialog, ValueDialogTakesTheShownUnitAndRefusesOutOfRange)
{
    Fixture f;
    f.SetType(0, 2); // C
    TDialogModel* v = f.DoubleClick(f.CompLine(0, TCompSlot::C));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->Field(TCompValueDialog::kValue).label, "C1011");
    EXPECT_EQ(v->Field(TCompValueDialog::kValue).unit, "uF");
    v->Type(TCompValueDialog::kValue, "6,8");
    v->Press(TBaseDialog::OkId);
    EXPECT_NEAR(f.Comp(0, TCompSlot::C).Value(), 6.8e-6, 1e-15);
    EXPECT_EQ(f.Items(D::kBranches)[2], "C1011\t6.800\tuF");

    v = f.DoubleClick(f.CompLine(0, TCompSlot::C));
    ASSERT_NE(v, nullptr);
    v->Type(TCompValueDialog::kValue, "2000000"); // 2 F: above 1 F
    v->Press(TBaseDialog::OkId);
    EXPECT_GE(f.project.host.Beeps(), 1);
    EXPECT_NEAR(f.Comp(0, TCompSlot::C).Value(), 6.8e-6, 1e-15);

    // The limits themselves are taken, whatever the unit's rounding.
    for (const char* text : {"0.001", "1000000"}) {
        v = f.DoubleClick(f.CompLine(0, TCompSlot::C));
        ASSERT_NE(v, nullptr);
        v->Type(TCompValueDialog::kValue, text);
        v->Press(TBaseDialog::OkId);
        EXPECT_NEAR(f.Comp(0, TCompSlot::C).Value(), std::stod(text) * 1e-6, 1e-18) << text;
    }
}

TEST(NetADialog, ArrowsStepTheSelectedComponentAndBeepAtALimit)
{
    Fixture f;
    f.SetType(1, 1); // R1 across
    TCompA& r = f.Comp(1, TCompSlot::R1);
    f.d.Select(D::kBranches, f.CompLine(1, TCompSlot::R1));
    f.d.StepList(D::kBranches, 1);
    EXPECT_DOUBLE_EQ(r.Value(), 1.05);
    f.d.StepList(D::kBranches, -1);
    EXPECT_NEAR(r.Value(), 1.0, 1e-12);
    EXPECT_EQ(f.project.host.Beeps(), 0);

    struct Row {
        double value;
        int direction;
    };
    for (const Row& row : {Row{r.Maximum() / 1.04, 1}, Row{r.Minimum() * 1.04, -1}}) {
        r.Restore(row.value);
        const int beeps = f.project.host.Beeps();
        f.d.StepList(D::kBranches, row.direction);
        EXPECT_EQ(f.project.host.Beeps(), beeps + 1);
        EXPECT_EQ(r.Value(), row.value);
    }
    // The optimisation list steps its entries too.
    f.d.Press(D::kAdd);
    f.d.Select(D::kOptimisation, 0);
    r.Restore(2.0);
    f.d.StepList(D::kOptimisation, 1);
    EXPECT_DOUBLE_EQ(r.Value(), 2.1);
}

TEST(NetADialog, GainShowsOnlyForActiveAndSwitchingResetsTheLadder)
{
    Fixture f;
    EXPECT_FALSE(f.d.Field(D::kGain).visible);
    f.SetType(0, 3);
    f.d.Select(D::kMode, D::kActive);
    EXPECT_TRUE(f.net.Active());
    EXPECT_TRUE(f.d.Field(D::kGain).visible);
    EXPECT_EQ(f.net.Branch(0)->Type(), 0);
    EXPECT_EQ(f.Items(D::kBranches)[1], " Nothing");

    f.d.Type(D::kGain, "6");
    f.d.FocusLeft(D::kGain);
    EXPECT_NEAR(f.net.Gain(), 1.9952623, 1e-6);
    f.d.Type(D::kGain, "91");
    f.d.FocusLeft(D::kGain);
    EXPECT_NEAR(f.net.Gain(), 1.9952623, 1e-6);

    f.d.Select(D::kMode, D::kPassive);
    EXPECT_FALSE(f.d.Field(D::kGain).visible);
    EXPECT_EQ(f.Items(D::kBranches)[1], " Short circuit");
}

TEST(NetADialog, CharacteristicTextFollowsTheSelectedLine)
{
    Fixture f;
    f.SetType(0, 3); // R1 + L: 1 ohm, 1 mH
    f.d.Select(D::kBranches, f.CompLine(0, TCompSlot::L));
    EXPECT_EQ(f.d.Field(D::kCharacteristic).text, "Fc = 159 Hz");
    f.d.Select(D::kBranches, f.d.LineOf(Kind::Heading, 1));
    EXPECT_EQ(f.d.Field(D::kCharacteristic).text, "");
    // Lines added above keep the selection on what it showed.
    f.net.Branch(0)->SetType(9);
    f.d.Rebuild();
    EXPECT_EQ(f.d.Selected(D::kBranches), f.d.LineOf(Kind::Heading, 1));
}

TEST(NetADialog, CommandLineNamesSetAndReadBack)
{
    Fixture f;
    EXPECT_EQ(f.Named("Branch 01"), "Short circuit");
    EXPECT_EQ(f.Named("Branch 02"), "Open circuit");
    EXPECT_TRUE(f.SetNamed("Branch 01", " r1 +  L"));
    EXPECT_EQ(f.net.Branch(0)->Type(), 3);
    EXPECT_EQ(f.Named("Branch 01"), "R1 + L");
    EXPECT_FALSE(f.SetNamed("Branch 01", "R3"));

    EXPECT_TRUE(f.SetNamed("R1011", "6.8"));
    EXPECT_NEAR(f.Comp(0, TCompSlot::R1).Value(), 6.8, 1e-12);
    EXPECT_EQ(f.Named("R1011"), "6.80");
    EXPECT_FALSE(f.SetNamed("R1011", "1001"));
    EXPECT_FALSE(f.SetNamed("R1011", "6.8x"));
    EXPECT_NEAR(f.Comp(0, TCompSlot::R1).Value(), 6.8, 1e-12);

    EXPECT_TRUE(f.SetNamed("L1011 optimise", "1"));
    EXPECT_TRUE(f.Comp(0, TCompSlot::L).inOptimisation);
    EXPECT_EQ(f.Named("L1011 optimise"), "on");
    EXPECT_TRUE(f.SetNamed("L1011 optimise", "on")); // already: no message
    EXPECT_TRUE(f.project.host.Messages().empty());
    EXPECT_TRUE(f.SetNamed("L1011 optimise", "off"));
    EXPECT_FALSE(f.Comp(0, TCompSlot::L).inOptimisation);
    EXPECT_FALSE(f.SetNamed("L1011 optimise", "maybe"));

    // Back to type 0 by the text the list shows.
    EXPECT_TRUE(f.SetNamed("Branch 01", "Short circuit"));
    EXPECT_EQ(f.net.Branch(0)->Type(), 0);
    EXPECT_EQ(f.Named("R1011"), "(none)");
    EXPECT_EQ(f.d.OpenSubDialog(), nullptr);
}

TEST(NetADialogs, ADriverCountChangeRefreshesTheOpenNetworkDialogAndPositionsAreKept)
{
    TDetachedNetOwner project;
    TNetA net(project, 0, false);
    TNetADialogs dialogs(project.host, net);
    dialogs.OpenNetDialog();
    dialogs.OpenDriverDialog();
    EXPECT_EQ(dialogs.OpenDialogs().size(), 2u);
    const std::size_t lines = dialogs.NetDialog().Field(D::kBranches).items.size();
    dialogs.DriverDialog().Select(TDriverADialog::kCount, 2); // three in series: shunts 11-13
    EXPECT_EQ(dialogs.NetDialog().Field(D::kBranches).items.size(), lines + 2 * 3);

    dialogs.NetDialog().position = {120, 80};
    dialogs.NetDialog().Press(TBaseDialog::OkId);
    dialogs.NetDialog().position = {};
    dialogs.OpenNetDialog();
    EXPECT_EQ(dialogs.NetDialog().position.x, 120);
    EXPECT_EQ(dialogs.NetDialog().position.y, 80);
    dialogs.CloseAll();
    EXPECT_TRUE(dialogs.OpenDialogs().empty());
}

} // namespace
