// A bass reflex project in the real main window: the "&Bass reflex" command makes one
// and asks for a unit, the example opens with its windows where it keeps them, and the
// box dialog shows the port.

#include "GuiTestUtil.h"

#include "app/TMainApp.h"
#include "app/TMainWindow.h"
#include "box/TBassReflexBox.h"
#include "box/TBreflDialog.h"
#include "box/TOptBreflTableDialog.h"
#include "box/elements/TBoxObject.h"
#include "settings/TProgramContext.h"
#include "shell/TShell.h"
#include "ui/TCommandIds.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

class ReflexBoxGuiTest : public ::testing::Test {
protected:
    std::string Example() const { return std::string(TONVEK_BIN_DIR) + "/examples/reflex-7in.box"; }
    // The examples store their unit relative to the program folder of the build.
    TProgramContext context_{TONVEK_BIN_DIR};
};

TEST_F(ReflexBoxGuiTest, NewBassReflexShowsTheUnitHintThenTheChooser)
{
    TMainApp app(context_);
    app.Start({QString(), false});
    auto hint = AnswerNextMessage(QMessageBox::Ok);
    auto chooser = CancelNextDialog();
    app.Window().Trigger(TCmd::NewProjectBase + TBassReflexBox::kTypeCode);
    EXPECT_TRUE(hint->seen);
    EXPECT_EQ(hint->title, "Load a driver unit");
    EXPECT_TRUE(chooser->seen);
    ASSERT_NE(dynamic_cast<TBassReflexBox*>(app.Shell().Project()), nullptr);
    EXPECT_EQ(app.Window().windowTitle(), "Tonvek 4.10 Beta Bassreflex box[*]");
    EXPECT_FALSE(app.Window().Action(TCmd::Calculate)->isEnabled());
}

TEST_F(ReflexBoxGuiTest, ExampleOpensWithItsWindowsAndTheBoxDialog)
{
    TMainApp app(context_);
    app.Start({QString::fromStdString(Example()), false});
    auto* box = dynamic_cast<TBassReflexBox*>(app.Shell().Project());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(app.Window().windowTitle(), "Tonvek 4.10 Beta Bassreflex box - reflex-7in.box[*]");
    QStringList shown;
    for (QMdiSubWindow* w : app.Window().MdiArea()->subWindowList())
        if (w->isVisible() && !w->isMinimized())
            shown << w->windowTitle();
    for (const char* title :
         {"Free air SPL at 1m distance", "Cone excursion", "Airspeed in port", "Impedance", "Information"})
        EXPECT_TRUE(shown.contains(title)) << title << ": " << shown.join(", ").toStdString();
    EXPECT_FALSE(box->HandlesCommand(TCmd::ExportModesSpl));

    app.Window().Trigger(TCmd::BoxDialog);
    TBreflDialog* dialog = box->BoxDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->IsOpen());
    EXPECT_FALSE(app.Window().Action(TCmd::BoxDialog)->isEnabled());
    EXPECT_EQ(dialog->Field(TBreflDialog::kFlareRadius).ShownValue(), "inf.");
    EXPECT_EQ(dialog->Field(TBreflDialog::kResFreq).ShownValue(), "36.0");
}

namespace {
QWidget* ShownWindow(const QString& title)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == title)
            return w;
    return nullptr;
}

QAction* MenuAction(QWidget* window, const QString& text)
{
    for (QAction* action : window->findChildren<QAction*>())
        if (action->text() == text)
            return action;
    return nullptr;
}
} // namespace

TEST_F(ReflexBoxGuiTest, TableLookupOpensItsDialogAndGreysTheOptimiseCommands)
{
    TMainApp app(context_);
    app.Start({QString::fromStdString(Example()), false});
    auto* box = dynamic_cast<TBassReflexBox*>(app.Shell().Project());
    ASSERT_NE(box, nullptr);
    app.Window().Trigger(TCmd::BoxDialog);
    QWidget* boxWindow = ShownWindow("Bassreflex box");
    ASSERT_NE(boxWindow, nullptr);
    QAction* table = MenuAction(boxWindow, "By &table lookup...");
    QAction* quick = MenuAction(boxWindow, "&Quick box");
    ASSERT_NE(table, nullptr);
    ASSERT_NE(quick, nullptr);
    table->trigger();
    QWidget* tableWindow = ShownWindow("Table opt. bassreflex box");
    ASSERT_NE(tableWindow, nullptr);
    EXPECT_FALSE(table->isEnabled());
    EXPECT_FALSE(quick->isEnabled());
    // The 7 inch woofer suits every alignment; the quasi-Butterworth one comes first.
    auto* sbb4 = tableWindow->findChild<QRadioButton*>("field101_0");
    auto* qb3 = tableWindow->findChild<QRadioButton*>("field101_1");
    ASSERT_NE(sbb4, nullptr);
    ASSERT_NE(qb3, nullptr);
    EXPECT_TRUE(qb3->isChecked());
    EXPECT_TRUE(sbb4->isEnabled());
    const double before = box->BoxVolume().Vb;
    QTest::mouseClick(sbb4, Qt::LeftButton, {}, QPoint(6, sbb4->height() / 2));
    EXPECT_EQ(box->BoxDialog()->TableDialog()->Selected(TOptBreflTableDialog::kAlignment), 0);
    EXPECT_NE(box->BoxVolume().Vb, before);
    // The box dialog shows the new volume at once.
    auto* volume = boxWindow->findChild<QLineEdit*>(QStringLiteral("field%1").arg(TBreflDialog::kVolume));
    ASSERT_NE(volume, nullptr);
    EXPECT_EQ(volume->text().toStdString(), box->BoxDialog()->Field(TBreflDialog::kVolume).ShownValue());
    tableWindow->close();
    QApplication::processEvents();
    EXPECT_TRUE(table->isEnabled());
    EXPECT_TRUE(quick->isEnabled());
}
