// The general settings dialog through the real widgets: the ray lists and their
// buttons, the "---" of the automatic switches, and a picture to look at.
#include "DialogTestUtil.h"

#include "app/QtHost.h"
#include "app/TMainApp.h"
#include "settings/TGeneral.h"
#include "settings/TGeneralDialog.h"
#include "settings/TProgramContext.h"
#include "shell/TShell.h"
#include "ui/TCommandIds.h"
#include "ui/THeadlessHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using D = TGeneralDialog;

struct GeneralView {
    GeneralView() { dialog.Show(); }
    THeadlessHost host;
    TGeneral general;
    TGeneralDialog dialog{host, general};
};

void ClickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    QApplication::processEvents();
}

QStringList Rows(QListWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

TEST(GeneralDialogView, RaysAreAddedWithTheButtons)
{
    GeneralView s;
    ShownDialog d(s.dialog);
    ASSERT_TRUE(d.ready);
    auto* angles = d.Field<QListWidget>(D::AngleListId);
    auto* surface = d.Field<QListWidget>(D::SurfaceListId);
    auto* overlay = d.Field<QListWidget>(D::OverlayListId);
    ASSERT_TRUE(angles && surface && overlay);
    EXPECT_EQ(angles->count(), 29);

    ClickRow(angles, 6); // "+20"
    QTest::mouseClick(d.Field<QPushButton>(D::SurfaceAddId), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Rows(surface), (QStringList{"+20", "+0"}));
    ClickRow(surface, 0);
    QTest::mouseClick(d.Field<QPushButton>(D::OverlayAddId), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Rows(overlay), (QStringList{"+0", "+20"}));
    EXPECT_EQ(s.general.OverlayRayCount(), 2);

    ClickRow(surface, 1); // "+0"
    QTest::mouseClick(d.Field<QPushButton>(D::SurfaceRemoveId), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_NE(s.host.LastMessage(), nullptr);
    EXPECT_EQ(s.host.LastMessage()->text, "Can not remove on axis ray");
    EXPECT_EQ(Rows(surface), (QStringList{"+20", "+0"}));
}

TEST(GeneralDialogView, InfiniteShowsDashesUntilSwitchedOff)
{
    GeneralView s;
    ShownDialog d(s.dialog);
    ASSERT_TRUE(d.ready);
    auto* distance = d.Field<QLineEdit>(D::DistanceId);
    ASSERT_NE(distance, nullptr);
    EXPECT_EQ(distance->text(), "---");
    EXPECT_TRUE(distance->isReadOnly());
    d.Field<QCheckBox>(D::InfiniteId)->click();
    QApplication::processEvents();
    EXPECT_FALSE(s.general.Infinite());
    EXPECT_EQ(distance->text(), "1.0");
    EXPECT_FALSE(distance->isReadOnly());
    d.TypeInto(D::DistanceId, "3");
    d.Field(D::TitleId)->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(s.general.Distance(), 3.0);
    EXPECT_EQ(d.Field<QComboBox>(D::PointsId)->currentText(), "256"); // N / 2
}

TEST(GeneralDialogView, LooksTidy)
{
    GeneralView s;
    ShownDialog d(s.dialog);
    ASSERT_TRUE(d.ready);
    for (QLabel* label : d.view->findChildren<QLabel*>())
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    for (QPushButton* button : d.view->findChildren<QPushButton*>()) {
        if (button->objectName() == "help")
            continue; // the frame's own small "?"
        EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
    }
    for (QComboBox* combo : d.view->findChildren<QComboBox*>())
        EXPECT_LT(combo->fontMetrics().horizontalAdvance("20000"), combo->contentsRect().width());
    EXPECT_TRUE(d.view->grab().save(QStringLiteral("/tmp/tonvek-general-dialog.png")));
}

TEST(GeneralDialogView, TheMainWindowOpensItOnItsCommand)
{
    TProgramContext context;
    TMainApp app(context);
    app.Start({QString(), false});
    EXPECT_TRUE(app.RunCommand(TCmd::GeneralSettings));
    QApplication::processEvents();
    std::vector<QWidget*> views = app.Host().DialogWidgets();
    ASSERT_EQ(views.size(), 1u);
    EXPECT_EQ(views[0]->windowTitle(), "General settings");
    EXPECT_EQ(context.General().Dialog(), &app.Shell().GeneralSettings());
    views[0]->close();
    QApplication::processEvents();
    EXPECT_EQ(context.General().Dialog(), nullptr);
    EXPECT_TRUE(app.Host().DialogWidgets().empty());
}

} // namespace
