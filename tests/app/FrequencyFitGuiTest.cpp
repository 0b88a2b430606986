// The frequency fit in the real main window: opened from the box dialog's "&Optimize"
// menu, "&Run" lets steps run on the event loop while the window keeps answering,
// "&Halt" ends the run at the next step with the report and plots of the final box.

#include "GuiTestUtil.h"

#include "app/QtHost.h"
#include "app/TMainApp.h"
#include "app/TMainWindow.h"
#include "app/TScreenshot.h"
#include "box/TBassReflexBox.h"
#include "box/TBoxReport.h"
#include "box/TBreflDialog.h"
#include "box/elements/TBoxObject.h"
#include "box/optimize/TOptFitDialog.h"
#include "settings/TProgramContext.h"
#include "shell/TShell.h"
#include "ui/TCommandIds.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The box dialog's menu entry with this text (mnemonics left out).
QAction* MenuAction(QWidget* dialog, const QString& text)
{
    for (QMenu* menu : dialog->findChildren<QMenu*>())
        for (QAction* a : menu->actions())
            if (a->text().remove('&') == text)
                return a;
    return nullptr;
}

} // namespace

TEST(FrequencyFitGuiTest, RunKeepsTheWindowLiveAndHaltShowsTheFinalBox)
{
    TProgramContext context{TONVEK_BIN_DIR}; // the examples name their unit in the build's folder
    TMainApp app(context);
    app.Start({QString::fromStdString(std::string(TONVEK_BIN_DIR) + "/examples/reflex-7in.box"), false});
    auto* box = dynamic_cast<TBassReflexBox*>(app.Shell().Project());
    ASSERT_NE(box, nullptr);
    app.Window().Trigger(TCmd::BoxDialog);
    QWidget* boxView = ShownDialog(app, "Bassreflex box");
    ASSERT_NE(boxView, nullptr);

    QAction* fitCommand = MenuAction(boxView, "By frequency fit...");
    ASSERT_NE(fitCommand, nullptr);
    fitCommand->trigger();
    QApplication::processEvents();
    QWidget* fitView = ShownDialog(app, "Frequency fit opt.");
    ASSERT_NE(fitView, nullptr);
    auto* fit = dynamic_cast<TOptFitDialog*>(box->OptimiserDialog());
    ASSERT_NE(fit, nullptr);
    // While it is open, the box dialog's optimise commands are not offered.
    for (QMenu* menu : boxView->findChildren<QMenu*>())
        emit menu->aboutToShow();
    EXPECT_FALSE(MenuAction(boxView, "Quick box")->isEnabled());

    auto* run = fitView->findChild<QPushButton*>(QStringLiteral("field%1").arg(TOptFitDialog::kRun));
    auto* halt = fitView->findChild<QPushButton*>(QStringLiteral("field%1").arg(TOptFitDialog::kHalt));
    ASSERT_NE(run, nullptr);
    ASSERT_NE(halt, nullptr);
    EXPECT_FALSE(halt->isEnabled());
    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_TRUE(fit->Running());
    EXPECT_TRUE(halt->isEnabled());
    EXPECT_FALSE(run->isEnabled());

    // Other events are handled between the steps: a timer posted now fires while the
    // fit goes on.
    int answered = 0;
    QTimer::singleShot(0, [&answered] { ++answered; });
    ASSERT_TRUE(WaitFor([&] { return fit->Fit().Steps() >= 5; }));
    EXPECT_EQ(answered, 1);
    EXPECT_TRUE(fit->Running());
    EXPECT_TRUE(box->fastMode);

    // For a look: the dialog, and the main window with the target on the SPL plot.
    EXPECT_TRUE(fitView->grab().save(QStringLiteral("/tmp/tonvek-frequency-fit.png")));
    EXPECT_TRUE(TScreenshot::Save(app, QStringLiteral("/tmp/tonvek-frequency-fit-main.png")));
    QTest::mouseClick(halt, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return !fit->Running(); }));
    const int steps = fit->Fit().Steps();
    QTest::qWait(50);
    EXPECT_EQ(fit->Fit().Steps(), steps); // no step after the halt
    EXPECT_FALSE(box->fastMode);
    EXPECT_TRUE(run->isEnabled());
    EXPECT_FALSE(halt->isEnabled());

    // The report is of the final box: its volume is the one the fit left.
    char volume[32];
    std::snprintf(volume, sizeof volume, " Vol\t\t%.2f l", box->BoxVolume().Vb * 1000);
    bool found = false;
    for (const std::string& line : box->Report().Lines())
        found = found || line == volume;
    EXPECT_TRUE(found) << volume;
    auto* error = fitView->findChild<QLabel*>(QStringLiteral("field%1").arg(TOptFitDialog::kMeanError));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->text().toStdString(), fit->Field(TOptFitDialog::kMeanError).text);
    EXPECT_EQ(error->text().size(), 6);

    fitView->close();
    QApplication::processEvents();
    EXPECT_EQ(box->OptimiserDialog(), nullptr);
}

// The program closes the project with a run going: the queued step finds no dialog.
TEST(FrequencyFitGuiTest, ClosingTheProjectDuringARun)
{
    TProgramContext context{TONVEK_BIN_DIR};
    TMainApp app(context);
    app.Start({QString::fromStdString(std::string(TONVEK_BIN_DIR) + "/examples/reflex-7in.box"), false});
    auto* box = dynamic_cast<TBassReflexBox*>(app.Shell().Project());
    ASSERT_NE(box, nullptr);
    TOptFitDialog* fit = OpenFrequencyFit(app.Host(), *box, *box->BoxDialogModel());
    ASSERT_NE(fit, nullptr);
    fit->Press(TOptFitDialog::kRun);
    ASSERT_TRUE(WaitFor([&] { return fit->Fit().Steps() >= 2; }));
    app.Shell().CloseProject();
    EXPECT_EQ(app.Shell().Project(), nullptr);
    QTest::qWait(50); // a step posted before the close runs now and does nothing
}
