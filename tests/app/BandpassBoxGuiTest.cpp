// Bandpass projects in the real main window: the standing-wave export a closed box
// hides comes back for a bandpass box and goes again for the next closed box, and the
// example opens with its standing-wave window and the box dialog.

#include "GuiTestUtil.h"

#include "app/TMainApp.h"
#include "app/TMainWindow.h"
#include "box/TBP5Box.h"
#include "box/TBP8Box.h"
#include "box/TBandpassDialog.h"
#include "settings/TProgramContext.h"
#include "shell/TShell.h"
#include "ui/TCommandIds.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

class BandpassBoxGuiTest : public ::testing::Test {
protected:
    std::string Example() const { return std::string(TONVEK_BIN_DIR) + "/examples/bandpass1-10in.box"; }
    TProgramContext context_{TONVEK_BIN_DIR};
};

TEST_F(BandpassBoxGuiTest, StandingWaveExportFollowsTheProjectType)
{
    TMainApp app(context_);
    app.Start({QString(), false});
    app.Shell().SetShowUnitHint(false);
    struct Step {
        int typeCode;
        bool modes;
    };
    for (const Step& step :
         {Step{0, false}, Step{TBP8Box::kTypeCode, true}, Step{1, false}, Step{TBP5Box::kTypeCode, true}}) {
        SCOPED_TRACE(step.typeCode);
        std::shared_ptr<ModalAnswer> keep;
        if (app.Shell().Project())
            keep = AnswerNextMessage(QMessageBox::No); // "Save project ?" of the one before
        auto chooser = CancelNextDialog();             // the new project asks for its unit
        app.Window().Trigger(TCmd::NewProjectBase + step.typeCode);
        EXPECT_TRUE(chooser->seen);
        ASSERT_NE(app.Shell().Project(), nullptr);
        EXPECT_EQ(app.Shell().Project()->TypeCode(), step.typeCode);
        QAction* modes = app.Window().Action(TCmd::ExportModesSpl);
        ASSERT_NE(modes, nullptr);
        EXPECT_EQ(modes->isVisible(), step.modes);
        if (keep) {
            EXPECT_TRUE(keep->seen);
        }
    }
}

TEST_F(BandpassBoxGuiTest, ExampleOpensWithItsWindowsAndTheBoxDialog)
{
    TMainApp app(context_);
    app.Start({QString::fromStdString(Example()), false});
    auto* box = dynamic_cast<TBP5Box*>(app.Shell().Project());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(app.Window().windowTitle(), "Tonvek 4.10 Beta Bandpass box type 1 - bandpass1-10in.box[*]");
    QStringList titles;
    for (QMdiSubWindow* w : app.Window().MdiArea()->subWindowList())
        titles << w->windowTitle();
    for (const char* title : {"Free air SPL at 1m distance", "Airspeed in port", "SPL with port standing wave modes"})
        EXPECT_TRUE(titles.contains(title)) << title << ": " << titles.join(", ").toStdString();
    EXPECT_TRUE(app.Window().Action(TCmd::ExportModesSpl)->isVisible());
    EXPECT_TRUE(app.Window().Action(TCmd::ExportModesSpl)->isEnabled());

    app.Window().Trigger(TCmd::BoxDialog);
    TDialogModel* dialog = box->ExistingBoxDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->IsOpen());
    EXPECT_EQ(dialog->title, "Bandpass box type 1");
    using D = TBandpassDialog;
    EXPECT_EQ(dialog->Field(D::kFirstPort + 1 + 5).ShownValue(), "50.0"); // Res. freq.
    EXPECT_EQ(dialog->Field(D::kSecondBox + D::kVolume).ShownValue(), "20.0");
}
