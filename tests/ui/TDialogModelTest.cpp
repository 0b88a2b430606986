// The shared dialog protocol: focus and commits, Enter, Escape, close, help, the
// other field kinds and the menu command of a dialog.
#include "ui/TDialogModel.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A small dialog like the parameter dialogs: two value fields, a check box, a
// disabled field, a button and OK.
class Sample : public TDialogModel {
public:
    explicit Sample(THost& host, bool withOk = true) : TDialogModel(host, "Sample", "sample.txt")
    {
        menuCommand = 4711;
        menu = {SubMenu("&Preferences", {MenuCommand(501, "&Save")})};
        AddDouble(101, "Level", "V", "%3.2f", 0.001, 1000, 2.83);
        AddLong(102, "Points", "", "%ld", 10, 500, 50);
        AddCheck(103, "", "&Hide phase", false);
        AddDouble(104, "Unused", "", "%2.1f", 0, 1, 0.5).Disabled();
        AddButton(105, "&Browse");
        if (withOk)
            AddOk();
        onFieldChanged = [this](int id) { changed.push_back(id); };
        onCommand = [this](int id) { commands.push_back(id); };
        onClose = [this] { ++closes; };
    }
    std::vector<int> changed;
    std::vector<int> commands;
    int closes = 0;
};

TEST(TDialogModel, OpenShowsTheViewAndDisablesItsMenuCommandUntilClosed)
{
    THeadlessHost host;
    Sample d(host);
    d.Open();
    EXPECT_TRUE(host.IsDialogOpen(d));
    EXPECT_EQ(host.CommandEnabled(4711), false);
    EXPECT_EQ(d.FocusedId(), 101); // the first field has the focus
    EXPECT_EQ(d.ReturnValue(), 2);
    d.Open(); // already open: still one view
    EXPECT_EQ(host.Dialogs().size(), 1u);
    d.RequestClose();
    EXPECT_FALSE(host.IsDialogOpen(d));
    EXPECT_EQ(host.CommandEnabled(4711), true);
    EXPECT_EQ(d.closes, 1);
}

TEST(TDialogModel, MovingTheFocusCommitsTheFieldThatHadIt)
{
    THeadlessHost host;
    Sample d(host);
    d.Open();
    d.Type(101, "5");
    EXPECT_TRUE(d.changed.empty()); // nothing before the field loses the focus
    d.FocusField(102);
    EXPECT_EQ(d.changed, std::vector<int>{101});
    EXPECT_DOUBLE_EQ(d.Dbl(101).Value(), 5.0);
    EXPECT_EQ(d.Field(101).EditText(), "5.00");
    // Focus into and out of a field without typing is not a change.
    d.FocusField(101);
    d.FocusField(102);
    EXPECT_EQ(d.changed.size(), 1u);
    EXPECT_EQ(host.Beeps(), 0);
}

TEST(TDialogModel, ARefusedValueBeepsAndShowsTheOldValue)
{
    THeadlessHost host;
    Sample d(host);
    d.Open();
    d.Type(102, "7"); // below 10
    d.FocusField(101);
    EXPECT_EQ(host.Beeps(), 1);
    EXPECT_EQ(d.Long(102).Value(), 50);
    EXPECT_EQ(d.Field(102).EditText(), "50");
    EXPECT_TRUE(d.changed.empty());
}

TEST(TDialogModel, FocusLeavingTheDialogCommitsToo)
{
    THeadlessHost host;
    Sample d(host);
    d.Open();
    d.Type(101, "1,5");
    d.FocusLeft(102); // not the focused field: ignored
    EXPECT_TRUE(d.changed.empty());
    d.FocusLeft(101);
    EXPECT_EQ(d.FocusedId(), 0);
    EXPECT_EQ(d.changed, std::vector<int>{101});
    EXPECT_DOUBLE_EQ(d.Dbl(101).Value(), 1.5);
}

TEST(TDialogModel, EnterMovesToTheNextFieldAndClosesFromOk)
{
    THeadlessHost host;
    Sample d(host);
    d.Open();
    d.Type(101, "10");
    d.Enter();
    EXPECT_TRUE(d.IsOpen());
    EXPECT_EQ(d.FocusedId(), 102);
    EXPECT_EQ(d.changed, std::vector<int>{101});
    EXPECT_EQ(d.ReturnValue(), 1);
    d.Enter();
    EXPECT_EQ(d.FocusedId(), 103);
    d.Enter(); // the disabled field 104 is skipped
    EXPECT_EQ(d.FocusedId(), 105);
    d.Enter();
    EXPECT_EQ(d.FocusedId(), TBaseDialog::OkId);
    EXPECT_TRUE(d.IsOpen());
    d.Enter();
    EXPECT_FALSE(d.IsOpen());
    EXPECT_EQ(d.closes, 1);
    EXPECT_TRUE(d.commands.empty()); // passing a button with Enter does not press it
}

TEST(TDialogModel, EnterWithoutOkWrapsAroundAndNeverCloses)
{
    THeadlessHost host;
    Sample d(host, false);
    d.Open();
    d.FocusField(105);
    d.Enter();
    EXPECT_EQ(d.FocusedId(), 101);
    EXPECT_TRUE(d.IsOpen());
}

TEST(TDialogModel, EscapeCommitsTheFieldBeingEditedThenCloses)
{
    THeadlessHost host;
    Sample d(host);
    d.Open();
    d.Type(102, "47");
    d.Escape();
    EXPECT_EQ(d.changed, std::vector<int>{102});
    EXPECT_EQ(d.Long(102).Value(), 47);
    EXPECT_FALSE(d.IsOpen());
    EXPECT_EQ(d.ReturnValue(), 2);
    EXPECT_EQ(host.CommandEnabled(4711), true);
}

TEST(TDialogModel, EscapeWithoutOkCommitsAndClosesToo)
{
    THeadlessHost host;
    Sample d(host, false);
    d.Open();
    d.Type(101, "3");
    d.Escape();
    EXPECT_EQ(d.changed, std::vector<int>{101});
    EXPECT_FALSE(d.IsOpen());
}

TEST(TDialogModel, CloseRequestCommitsTheFieldBeingEdited)
{
    THeadlessHost host;
    Sample d(host);
    d.Open();
    d.Type(101, "999");
    d.RequestClose();
    EXPECT_EQ(d.changed, std::vector<int>{101});
    EXPECT_FALSE(d.IsOpen());
    // Reopening starts a fresh protocol.
    d.Open();
    EXPECT_FALSE(d.Closing());
    EXPECT_EQ(d.ReturnValue(), 2);
    EXPECT_EQ(d.FocusedId(), 101);
}

TEST(TDialogModel, ADialogMayDeclineAUserClose)
{
    THeadlessHost host;
    Sample d(host);
    bool allow = false;
    int asked = 0;
    d.canClose = [&] {
        ++asked;
        return allow;
    };
    d.Open();
    d.Type(101, "8");
    d.Escape();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(d.IsOpen());
    EXPECT_FALSE(d.Closing());
    EXPECT_EQ(d.changed, std::vector<int>{101}); // the entry still counted
    EXPECT_EQ(d.FocusedId(), TBaseDialog::OkId);
    EXPECT_EQ(host.CommandEnabled(4711), false);
    allow = true;
    d.RequestClose();
    EXPECT_FALSE(d.IsOpen());
    EXPECT_EQ(d.closes, 1);
}

TEST(TDialogModel, ADialogWithOneFieldTakesOverTheEntryOnEnter)
{
    THeadlessHost host;
    TDialogModel d(host, "One");
    std::vector<int> changed;
    d.AddDouble(7, "x", "", "%2.1f", 0, 10, 1);
    d.onFieldChanged = [&](int id) { changed.push_back(id); };
    d.Open();
    d.Type(7, "4");
    d.Enter();
    EXPECT_EQ(changed, std::vector<int>{7});
    EXPECT_EQ(d.FocusedId(), 7);
}

TEST(TDialogModel, ACancelButtonActsAsEscape)
{
    THeadlessHost host;
    Sample d(host);
    d.AddButton(TBaseDialog::CancelId, "&Cancel", true);
    d.Open();
    d.Type(101, "6");
    d.Press(TBaseDialog::CancelId);
    EXPECT_FALSE(d.IsOpen());
    EXPECT_EQ(d.ReturnValue(), 2);
    EXPECT_EQ(d.changed, std::vector<int>{101});
    EXPECT_TRUE(d.commands.empty());
}

TEST(TDialogModel, HelpOpensTheDialogsHelpText)
{
    THeadlessHost host;
    Sample d(host);
    d.Help();
    ASSERT_EQ(host.HelpOpened().size(), 1u);
    EXPECT_EQ(host.HelpOpened()[0], "sample.txt");
    TDialogModel none(host, "No help");
    none.Help();
    EXPECT_EQ(host.HelpOpened().size(), 1u);
}

TEST(TDialogModel, ArrowKeysStepAndNotifyAtOnce)
{
    THeadlessHost host;
    Sample d(host);
    d.Open();
    d.Key(102, TEditKey::Up);
    EXPECT_EQ(d.Long(102).Value(), 55);
    EXPECT_EQ(d.changed, std::vector<int>{102});
    d.Long(102).SetValue(500);
    d.Key(102, TEditKey::Up);
    EXPECT_EQ(host.Beeps(), 1);
    EXPECT_EQ(d.Long(102).Value(), 500);
    EXPECT_EQ(d.changed.size(), 1u);
}

TEST(TDialogModel, ListArrowsReachTheDialogOnlyFromAnEnabledList)
{
    THeadlessHost host;
    TDialogModel d(host, "Lists");
    d.AddList(101, "Lines", {"a", "b"}, 0);
    d.AddDouble(102, "Value", "", "%2.1f", 0, 10, 1);
    std::vector<int> steps;
    d.onListStep = [&steps](int id, int direction) { steps.push_back(id * direction); };
    d.Open();
    d.StepList(101, -5);
    d.StepList(101, 1);
    d.StepList(102, 1); // not a list
    d.SetEnabled(101, false);
    d.StepList(101, 1);
    EXPECT_EQ(steps, (std::vector<int>{-101, 101}));
}

TEST(TDialogModel, CheckBoxesChoicesAndButtonsReportAtOnce)
{
    THeadlessHost host;
    Sample d(host);
    d.AddRadio(106, "Mode", {"A", "B", "C"}, 0);
    d.AddCombo(107, "Type", {"x", "y"}, 0);
    d.Open();
    d.Toggle(103, true);
    EXPECT_TRUE(d.Checked(103));
    d.Select(106, 2);
    d.Select(106, 2); // no change: no notification
    d.Select(107, 5); // no such entry: ignored
    EXPECT_EQ(d.changed, (std::vector<int>{103, 106}));
    EXPECT_EQ(d.Selected(106), 2);
    EXPECT_EQ(d.Selected(107), 0);

    d.Type(101, "3");
    d.Press(105); // a click commits the field being edited first
    EXPECT_EQ(d.changed, (std::vector<int>{103, 106, 101}));
    EXPECT_EQ(d.commands, std::vector<int>{105});
    EXPECT_EQ(d.FocusedId(), 105);
}

TEST(TDialogModel, DisabledFieldsIgnoreUserEvents)
{
    THeadlessHost host;
    Sample d(host);
    d.Open();
    d.SetEnabled(103, false);
    d.Toggle(103, true);
    d.Edit(104, "1");
    d.Press(105);
    EXPECT_FALSE(d.Checked(103));
    EXPECT_EQ(d.Field(104).EditText(), "0.5");
    EXPECT_EQ(d.commands.size(), 1u); // the button is still enabled
}

TEST(TDialogModel, GreyedChoicesAndMenuCommandsIgnoreUserEvents)
{
    THeadlessHost host;
    Sample d(host);
    d.AddRadio(106, "Mode", {"A", "B", "C"}, 0);
    d.Open();
    d.SetItemEnabled(106, 1, false);
    d.SetItemEnabled(106, 7, false); // no such choice: ignored
    d.Select(106, 1);
    EXPECT_EQ(d.Selected(106), 0);
    EXPECT_FALSE(d.Field(106).ItemEnabled(1));
    EXPECT_TRUE(d.Field(106).ItemEnabled(2));
    d.Select(106, 2);
    EXPECT_EQ(d.Selected(106), 2);
    // A disabled group greys every choice.
    d.SetEnabled(106, false);
    EXPECT_FALSE(d.Field(106).ItemEnabled(0));

    EXPECT_TRUE(d.CommandEnabled(501));
    EXPECT_FALSE(d.CommandEnabled(777)); // not in the menu
    d.EnableCommand(501, false);
    d.Command(501);
    EXPECT_TRUE(d.commands.empty());
    d.EnableCommand(501, true);
    d.Command(501);
    EXPECT_EQ(d.commands, std::vector<int>{501});
}

TEST(TDialogModel, MenuCommandsCommitTheFieldBeingEditedFirst)
{
    THeadlessHost host;
    Sample d(host);
    d.Open();
    d.Type(101, "12");
    d.Command(501);
    EXPECT_EQ(d.changed, std::vector<int>{101});
    EXPECT_EQ(d.commands, std::vector<int>{501});
    EXPECT_TRUE(d.IsOpen());
    EXPECT_EQ(d.FocusedId(), 101);
}

TEST(TDialogModel, ReloadFillsFromTheLiveObjectAndRefreshesTheView)
{
    THeadlessHost host;
    Sample d(host);
    double live = 7.5;
    d.onLoad = [&] { d.Dbl(101).SetValue(live); };
    d.Open();
    d.Reload();
    EXPECT_EQ(d.Field(101).EditText(), "7.50");
}

TEST(TDialogModel, LayoutRecordsGroupsColumnsAndRows)
{
    THeadlessHost host;
    TDialogModel d(host, "Layout");
    d.Group("Frequency range");
    d.AddLong(1, "Start", "Hz", "%ld", 1, 10, 1);
    d.AddLong(2, "Stop", "Hz", "%ld", 1, 10, 1).Beside();
    d.Group("Generator", 1);
    d.AddDouble(3, "Ug", "V", "%2.1f", 0, 1, 0);
    const TField& a = d.Field(1);
    const TField& b = d.Field(2);
    const TField& c = d.Field(3);
    EXPECT_EQ(a.group, "Frequency range");
    EXPECT_EQ(a.section, b.section);
    EXPECT_TRUE(b.beside);
    EXPECT_EQ(c.group, "Generator");
    EXPECT_EQ(c.column, 1);
    EXPECT_NE(c.section, a.section);
}

TEST(TDialogModel, DestroyingAnOpenDialogClosesItsViewAndEndsItsLifeToken)
{
    THeadlessHost host;
    auto d = std::make_unique<Sample>(host);
    d->Open();
    std::weak_ptr<const int> token = d->LifeToken();
    EXPECT_FALSE(token.expired());
    d.reset();
    EXPECT_TRUE(token.expired());
    EXPECT_TRUE(host.Dialogs().empty());
    EXPECT_EQ(host.CommandEnabled(4711), true);
}

TEST(TDialogModel, TheOwnerMayDestroyTheDialogWhenItCloses)
{
    THeadlessHost host;
    auto d = std::make_unique<Sample>(host);
    d->onClose = [&] { d.reset(); };
    d->Open();
    d->Type(101, "4");
    d->Escape();
    EXPECT_EQ(d, nullptr);
    EXPECT_TRUE(host.Dialogs().empty());
}

} // namespace
