// The network wizard in real widgets: the network dialog's "&Wizard" opens it as a
// modal window over the frame, "Calc" changes the network's schematic, and closing it
// leaves the network dialog usable. With TONVEK_LOOK_DIR set, pictures of both dialogs
// and of the screen are written there to look at.
// The engine headers come first: TBranchA has a member named like Qt's "slots" keyword.
#include "filter/TBranchA.h"
#include "filter/TNetA.h"
#include "filter/TNetADialog.h"
#include "filter/TNetAWizard.h"
#include "filter/TXover.h"
#include "settings/TProgramContext.h"

#include "app/QtHost.h"
#include "app/TDialogWindow.h"
#include "app/TMainWindow.h"
#include "app/TPlotRender.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Pump()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

TDialogWindow* ShownWindow(const QString& title)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = dynamic_cast<TDialogWindow*>(w); d && d->isVisible() && d->windowTitle() == title)
            return d;
    return nullptr;
}

TEST(NetAWizardGui, OpensModallyFromTheNetworkDialogAndCalcRedrawsTheSchematic)
{
    // Both wizards share the ids of the order, insertion and "Calc" fields.
    static_assert(TNetAWizard::kLowPassOrder == TNetACWizard::kOrder && TNetAWizard::kCalc == TNetACWizard::kCalc &&
                  TNetAWizard::kInsertion == TNetACWizard::kInsertion);
    struct Row {
        int kind; // a one-way passive or active filter
        const char* title;
        int points;        // insertion points below order 3
        int written;       // the last position order 3 writes from branch 1
        const char* shown; // what it holds then
    };
    for (const Row& row : {Row{3, "Advanced network wizard", 4, 2, " R1 + L"},
                           Row{8, "Active crossover wizard", 7, 1, " 1st order LP"}}) {
        SCOPED_TRACE(row.title);
        TProgramContext context(TONVEK_BIN_DIR);
        TMainWindow window;
        QtHost host(window, context.Folder());
        window.show();
        TXover project(host, context, row.kind);
        project.NetADialogs(0).OpenNetDialog();
        Pump();
        TDialogWindow* net = ShownWindow("Net 1");
        ASSERT_NE(net, nullptr);
        TDrawingWinA& schematic = project.SchematicA(0);
        const QImage before = TPlotRender::RenderImage(schematic, schematic.LogicalWidth(), schematic.LogicalHeight());

        auto* button = net->findChild<QPushButton*>(QStringLiteral("field%1").arg(TNetADialog::kWizard));
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        Pump();
        TDialogWindow* wizard = ShownWindow(row.title);
        ASSERT_NE(wizard, nullptr);
        EXPECT_EQ(wizard->windowModality(), Qt::ApplicationModal);

        auto* order = wizard->findChild<QComboBox*>(QStringLiteral("field%1").arg(TNetAWizard::kLowPassOrder));
        auto* insertion = wizard->findChild<QComboBox*>(QStringLiteral("field%1").arg(TNetAWizard::kInsertion));
        ASSERT_NE(order, nullptr);
        ASSERT_NE(insertion, nullptr);
        EXPECT_EQ(insertion->count(), row.points);
        order->setCurrentIndex(3); // as a choice from the drop-down list does
        emit order->activated(3);
        Pump();
        EXPECT_EQ(insertion->count(), row.points - 1); // "Branch 7" left out at order 3
        auto* calc = wizard->findChild<QPushButton*>(QStringLiteral("field%1").arg(TNetAWizard::kCalc));
        ASSERT_NE(calc, nullptr);
        QTest::mouseClick(calc, Qt::LeftButton);
        Pump();
        EXPECT_EQ(project.NetA(0).Branch(row.written)->TypeLine(), row.shown);
        const QImage after = TPlotRender::RenderImage(schematic, schematic.LogicalWidth(), schematic.LogicalHeight());
        EXPECT_NE(before, after);

        if (const QString look = qEnvironmentVariable("TONVEK_LOOK_DIR"); !look.isEmpty()) {
            QDir().mkpath(look);
            const QString stem = look + "/" + QString::number(row.kind) + "-";
            (void)net->grab().save(stem + "net-dialog.png");
            (void)wizard->grab().save(stem + "wizard.png");
            (void)after.save(stem + "schematic-after-calc.png");
            if (QScreen* screen = QApplication::primaryScreen())
                (void)screen->grabWindow(0).save(stem + "screen.png");
        }

        auto* close = wizard->findChild<QPushButton*>(QStringLiteral("field1"));
        ASSERT_NE(close, nullptr);
        QTest::mouseClick(close, Qt::LeftButton);
        Pump();
        EXPECT_EQ(ShownWindow(row.title), nullptr);
        EXPECT_NE(ShownWindow("Net 1"), nullptr);
    }
}

} // namespace
