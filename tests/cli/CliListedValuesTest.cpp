// Values a dialog shows in list lines are named, listed and set like its fields, and
// a second dialog's value of the same name carries that dialog's title.
#include "cli/CliFields.h"
#include "filter/TBranchA.h"
#include "filter/TDetachedNetOwner.h"
#include "filter/TNetA.h"
#include "filter/TNetADialogs.h"
#include "ui/THeadlessHost.h"

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Lines : public TDialogModel {
public:
    Lines(THost& host, std::string title) : TDialogModel(host, std::move(title))
    {
        AddCheck(101, "", "Disconnect", false);
        listedValues = [this] {
            return std::vector<TListedValue>{
                {"Branch 01", type, "", "None|R1", [this](const std::string& t) { return Take(t); }}};
        };
    }
    bool Take(const std::string& text)
    {
        if (text != "None" && text != "R1")
            return false;
        type = text;
        return true;
    }
    std::string type = "None";
};

TEST(CliListedValues, AreListedFoundAndSetThroughTheDialog)
{
    THeadlessHost host;
    Lines one(host, "Net 1"), two(host, "Net 2");
    const std::vector<TDialogModel*> dialogs = {&one, &two};
    std::vector<std::string> lines;
    for (const TNamedField& f : SettableFields(dialogs))
        lines.push_back(FieldLine(f));
    EXPECT_EQ(lines, (std::vector<std::string>{"Disconnect\toff\t\ton|off", "Branch 01\tNone\t\tNone|R1",
                                               "Net 2:Disconnect\toff\t\ton|off", "Net 2:Branch 01\tNone\t\tNone|R1"}));

    EXPECT_EQ(AssignField(dialogs, host, "branch  01 = R1", "p.flt"), "");
    EXPECT_EQ(one.type, "R1");
    EXPECT_EQ(AssignField(dialogs, host, "Net 2:Branch 01=R1", "p.flt"), "");
    EXPECT_EQ(two.type, "R1");
    EXPECT_EQ(AssignField(dialogs, host, "Branch 01=C", "p.flt"), "\"C\" was refused: Branch 01 takes None|R1");
    EXPECT_EQ(one.type, "R1");
    EXPECT_NE(AssignField(dialogs, host, "Branch 02=R1", "p.flt").find("Close matches: \"Branch 01\""),
              std::string::npos);
}

// What a user would guess for a network's dialogs reaches every value, and reads back.
TEST(CliListedValues, EveryValueOfTheNetworkDialogsHasAGuessableName)
{
    TDetachedNetOwner project;
    TNetA net(project, 0, false);
    TNetADialogs owner(project.host, net);
    owner.OpenNetDialog();
    owner.OpenDriverDialog();
    const auto dialogs = [&owner] { return WithOpenChildren(owner.OpenDialogs()); };
    const auto set = [&](const std::string& assignment) {
        return AssignField(dialogs(), project.host, assignment, "p.flt");
    };
    const auto shown = [&](const std::string& name) {
        for (const TNamedField& f : SettableFields(dialogs()))
            if (f.name == name)
                return FieldLine(f).substr(name.size() + 1);
        return std::string("(none)");
    };

    EXPECT_EQ(set("Branch 01= R1 + L"), "");
    EXPECT_EQ(set("R1011=6.8"), "");
    EXPECT_EQ(set("L1011 optimise=1"), "");
    EXPECT_EQ(shown("Branch 01"), "R1 + L\t\tShort circuit|R1|C|R1 + L|R1 + C|R1 + L + C|R1 // (L + R2)|R1 // C|"
                                  "C // (L + R1)|R1 // C // (L + R2)|R1 // (R2 + C)");
    EXPECT_EQ(shown("R1011"), "6.80\tohm\t0.01 .. 1000");
    EXPECT_EQ(shown("L1011 optimise"), "on\t\ton|off");
    EXPECT_NE(set("R1011=0.001").find("was refused: R1011 takes 0.01 .. 1000 ohm"), std::string::npos);
    EXPECT_NEAR(net.Branch(0)->Comp(TCompSlot::R1).Value(), 6.8, 1e-12);

    EXPECT_EQ(set("Disconnect=on"), "");
    EXPECT_TRUE(net.disconnect);
    EXPECT_EQ(shown("Gain"), "(none)"); // passive: no gain
    TNamedPress press;
    ASSERT_TRUE(FindPressable(PressableItems(dialogs()), "Net 1:Active", false, press));
    EXPECT_EQ(PressItem(press), "");
    EXPECT_TRUE(net.Active());
    EXPECT_EQ(set("Gain=-6"), "");
    EXPECT_NEAR(net.GainDb(), -6.0, 1e-9);
    EXPECT_EQ(set("Filter=Passive"), "");
    EXPECT_FALSE(net.Active());

    EXPECT_EQ(set("Re=6.2"), "");
    EXPECT_EQ(net.Drivers().re, 6.2);
    EXPECT_EQ(set("Drivers=4 driver units"), "");
    EXPECT_EQ(set("Connection=2_2"), "");
    EXPECT_EQ(net.Drivers().Connection(), TConnection::Pairs);
    EXPECT_EQ(set("Show=Driver unit 3"), "");
    EXPECT_EQ(set("dZ=340"), "");
    EXPECT_DOUBLE_EQ(net.Drivers().Driver(2).z, 0.34);
    // Driver 3 uses driver 1's data, and so its scalings.
    EXPECT_EQ(set("SPL data:Scaling=3"), "SPL data:Scaling cannot be changed now (the dialog has it disabled)");
    EXPECT_EQ(set("Impedance data:Scaling=2"),
              "Impedance data:Scaling cannot be changed now (the dialog has it disabled)");
    // The shunts across two pairs: branches 11 and 12.
    EXPECT_EQ(set("Branch 12=R1"), "");
    EXPECT_EQ(net.Branch(11)->Type(), 1);
}

} // namespace
