// The room and cabinet dialog in the real main window: "R&oom && Cabinet" opens it with
// the example's elements, a typed length commits when the focus moves on and waits
// for "&Calc", and the command is greyed while the dialog is open.

#include "GuiTestUtil.h"

#include "app/TMainApp.h"
#include "app/TMainWindow.h"
#include "box/TBoxEmbryo.h"
#include "room/TRoomCabinet.h"
#include "room/TRoomCabinetDialog.h"
#include "settings/TProgramContext.h"
#include "shell/TShell.h"
#include "ui/TCommandIds.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using D = TRoomCabinetDialog;

QWidget* OpenWindow(const QString& title)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == title)
            return w;
    return nullptr;
}

template <class T = QWidget>
T* Field(QWidget* dialog, int id)
{
    return dialog->findChild<T*>(QStringLiteral("field%1").arg(id));
}

} // namespace

TEST(RoomDialogGuiTest, OpensFromTheMenuAndCommitsOnFocusChange)
{
    TProgramContext context{TONVEK_BIN_DIR};
    TMainApp app(context);
    app.Start({QString::fromStdString(std::string(TONVEK_BIN_DIR) + "/examples/reflex-7in.box"), false});
    auto* box = dynamic_cast<TBoxEmbryo*>(app.Shell().Project());
    ASSERT_NE(box, nullptr);
    app.Window().Trigger(TCmd::RoomCabinet);
    QApplication::processEvents();
    QWidget* dialog = OpenWindow("Room and cabinet effects");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(app.Window().Action(TCmd::RoomCabinet)->isEnabled());

    auto* list = Field<QListWidget>(dialog, D::kElements);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "Driver unit");
    EXPECT_EQ(list->item(1)->text(), "Port");

    auto* roof = Field<QLineEdit>(dialog, D::kRoofHeight);
    ASSERT_NE(roof, nullptr);
    roof->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    roof->selectAll();
    QTest::keyClicks(roof, "2,75");
    Field(dialog, D::kDepth)->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(box->Room().Hr, 2.75);
    EXPECT_EQ(roof->text(), "2.750");
    auto* calc = Field<QPushButton>(dialog, D::kCalc);
    ASSERT_NE(calc, nullptr);
    EXPECT_TRUE(calc->isEnabled());
    EXPECT_TRUE(box->RoomModel().NeedsRecompute());

    calc->click();
    QApplication::processEvents();
    EXPECT_FALSE(calc->isEnabled());
    EXPECT_FALSE(box->RoomModel().NeedsRecompute());
    if (const char* shot = std::getenv("TONVEK_ROOM_DIALOG_PNG"))
        dialog->grab().save(shot);

    dialog->close();
    QApplication::processEvents();
    EXPECT_EQ(OpenWindow("Room and cabinet effects"), nullptr);
    EXPECT_TRUE(app.Window().Action(TCmd::RoomCabinet)->isEnabled());
}
