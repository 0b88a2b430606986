// A closed box project in the real main window: opening it shows its windows, the save
// question guards New, and New asks for a unit.

#include "GuiTestUtil.h"

#include "app/QtHost.h"
#include "app/TMainApp.h"
#include "app/TMainWindow.h"
#include "box/TClosedBox.h"
#include "settings/TProgramContext.h"
#include "shell/TShell.h"
#include "ui/TCommandIds.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

class BoxProjectGuiTest : public ::testing::Test {
protected:
    std::string Example() const { return std::string(TONVEK_BIN_DIR) + "/examples/closed-10in.box"; }
    // The examples store their unit relative to the program folder of the build.
    TProgramContext context_{TONVEK_BIN_DIR};
};

TEST_F(BoxProjectGuiTest, OpeningShowsPlotsReportAndBoxMenu)
{
    TMainApp app(context_);
    app.Start({QString::fromStdString(Example()), false});
    ASSERT_NE(app.Shell().Project(), nullptr);
    EXPECT_EQ(app.Window().windowTitle(), "Tonvek 4.10 Beta Closed box - closed-10in.box[*]");
    QStringList titles;
    for (QMdiSubWindow* w : app.Window().MdiArea()->subWindowList())
        if (w->isVisible() && !w->isMinimized())
            titles << w->windowTitle();
    EXPECT_TRUE(titles.contains("Free air SPL at 1m distance")) << titles.join(", ").toStdString();
    EXPECT_TRUE(titles.contains("Impedance"));
    EXPECT_TRUE(titles.contains("Information"));
    QAction* calculate = app.Window().Action(TCmd::Calculate);
    ASSERT_NE(calculate, nullptr);
    EXPECT_TRUE(calculate->isEnabled());
    QAction* editor = app.Window().ActionByPath("Driver unit>Edit / create...");
    ASSERT_NE(editor, nullptr);
}

TEST_F(BoxProjectGuiTest, SaveQuestionGuardsNew)
{
    TMainApp app(context_);
    app.Start({QString::fromStdString(Example()), false});
    TProject* first = app.Shell().Project();
    ASSERT_NE(first, nullptr);
    first->RecalcRequest(TRecalc::MarkChanged); // changed

    auto cancel = AnswerNextMessage(QMessageBox::Cancel);
    app.Window().Trigger(TCmd::NewProjectBase + 0);
    EXPECT_TRUE(cancel->seen);
    EXPECT_EQ(cancel->text, "Project has been changed.\nSave project ?");
    EXPECT_EQ(cancel->title, "Box project");
    EXPECT_EQ(app.Shell().Project(), first);

    // No: the project is replaced; the new one asks for its unit (cancelled here).
    app.Shell().SetShowUnitHint(false);
    auto no = AnswerNextMessage(QMessageBox::No);
    auto chooser = CancelNextDialog();
    app.Window().Trigger(TCmd::NewProjectBase + 0);
    EXPECT_TRUE(no->seen);
    EXPECT_TRUE(chooser->seen);
    auto* box = dynamic_cast<TClosedBox*>(app.Shell().Project());
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->FrontDriver().complete);
}

TEST_F(BoxProjectGuiTest, NewClosedBoxShowsTheUnitHintThenTheChooser)
{
    TMainApp app(context_);
    app.Start({QString(), false});
    auto hint = AnswerNextMessage(QMessageBox::Ok);
    auto chooser = CancelNextDialog();
    app.Window().Trigger(TCmd::NewProjectBase + 0);
    EXPECT_TRUE(hint->seen);
    EXPECT_EQ(hint->title, "Load a driver unit");
    EXPECT_TRUE(chooser->seen);
    ASSERT_NE(app.Shell().Project(), nullptr);
    EXPECT_EQ(app.Window().windowTitle(), "Tonvek 4.10 Beta Closed box[*]");
    EXPECT_FALSE(app.Window().Action(TCmd::Calculate)->isEnabled()); // no unit yet
}
