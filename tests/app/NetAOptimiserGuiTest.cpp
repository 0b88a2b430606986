// The network optimiser in the real main window: opened by the network dialog's
// "Optimize" button, modal, "Start" lets sweeps run on the event loop while other
// events are still handled, "Stop" ends them at the next sweep, and the plot is drawn.
// The engine headers come first: TBranchA has a member named like Qt's "slots" keyword.
#include "filter/TBranchA.h"
#include "filter/TNetA.h"
#include "filter/TNetADialog.h"
#include "filter/TNetAOptDialog.h"
#include "filter/TXover.h"

#include "GuiTestUtil.h"
#include "app/QtHost.h"
#include "app/TMainApp.h"
#include "app/TMainWindow.h"
#include "settings/TProgramContext.h"
#include "shell/TShell.h"

#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(NetAOptimiserGuiTest, StartRunsSweepsOnTheEventLoopAndStopEndsThem)
{
    TProgramContext context{TONVEK_BIN_DIR};
    TMainApp app(context);
    app.Start({QString::fromStdString(std::string(TONVEK_BIN_DIR) + "/examples/advanced2-10in-1in.flt"), false});
    auto* project = dynamic_cast<TXover*>(app.Shell().Project());
    ASSERT_NE(project, nullptr);
    ASSERT_FALSE(project->AdvancedNets().empty());
    TNetA& net = project->NetA(0);
    // Tick every component in use of the ladder.
    int ticked = 0;
    for (int p = 0; p < TNetA::kLadder; ++p)
        for (int c = 0; c < kCompSlots; ++c) {
            TCompA& comp = net.Branch(p)->Comp(static_cast<TCompSlot>(c));
            if (comp.inUse && comp.Kind() != TCompKind::Resistor) {
                comp.inOptimisation = true;
                ++ticked;
            }
        }
    ASSERT_GT(ticked, 0);
    project->NetADialogs(0).OpenNetDialog();
    TNetADialog& netDialog = project->NetADialogs(0).NetDialog();
    netDialog.Rebuild();
    QApplication::processEvents();
    QWidget* netView = ShownDialog(app, QString::fromStdString(net.Name()));
    ASSERT_NE(netView, nullptr);
    auto* optimize = netView->findChild<QPushButton*>(QStringLiteral("field%1").arg(TNetADialog::kOptimize));
    ASSERT_NE(optimize, nullptr);
    ASSERT_TRUE(optimize->isEnabled());
    QTest::mouseClick(optimize, Qt::LeftButton);
    QApplication::processEvents();
    TNetAOptDialog* opt = netDialog.OptimiserDialog();
    ASSERT_NE(opt, nullptr);
    QWidget* optView = ShownDialog(app, QString::fromStdString(opt->title));
    ASSERT_NE(optView, nullptr);
    EXPECT_TRUE(optView->isModal());
    EXPECT_EQ(net.optimiser.state, TNetAOptimiserFields::kOpen);

    // The plot is painted: red level pixels inside the plot's area.
    QWidget* plot = optView->findChild<QWidget*>(QStringLiteral("field%1").arg(TNetAOptDialog::kPlot));
    ASSERT_NE(plot, nullptr);
    const QImage picture = plot->grab().toImage();
    int red = 0;
    for (int y = 40; y < 200; ++y)
        for (int x = 40; x < 360; ++x) {
            const QColor c = picture.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_GT(red, 100);

    auto* start = optView->findChild<QPushButton*>(QStringLiteral("field%1").arg(TNetAOptDialog::kStart));
    auto* stop = optView->findChild<QPushButton*>(QStringLiteral("field%1").arg(TNetAOptDialog::kStop));
    ASSERT_NE(start, nullptr);
    ASSERT_NE(stop, nullptr);
    EXPECT_FALSE(stop->isEnabled());
    QTest::mouseClick(start, Qt::LeftButton);
    EXPECT_EQ(net.optimiser.state, TNetAOptimiserFields::kRunning);
    EXPECT_TRUE(stop->isEnabled());
    EXPECT_FALSE(start->isEnabled());

    // Other events are handled between the sweeps.
    int answered = 0;
    QTimer::singleShot(0, [&answered] { ++answered; });
    ASSERT_TRUE(WaitFor([&] { return opt->Optimiser().Sweeps() >= 5; }));
    EXPECT_EQ(answered, 1);
    EXPECT_TRUE(optView->grab().save(QStringLiteral("/tmp/tonvek-net-optimiser.png")));

    QTest::mouseClick(stop, Qt::LeftButton);
    EXPECT_EQ(net.optimiser.state, TNetAOptimiserFields::kOpen);
    const int sweeps = opt->Optimiser().Sweeps();
    QTest::qWait(50);
    EXPECT_EQ(opt->Optimiser().Sweeps(), sweeps); // none after the stop
    EXPECT_TRUE(start->isEnabled());

    optView->close();
    QApplication::processEvents();
    EXPECT_EQ(net.optimiser.state, TNetAOptimiserFields::kClosed);
    EXPECT_EQ(netDialog.OptimiserDialog(), nullptr);
}

} // namespace
