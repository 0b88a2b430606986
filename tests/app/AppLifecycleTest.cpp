// The program's life in the real main window: closing the frame ends the event loop
// whatever tool windows and dialogs are open.

#include "GuiTestUtil.h"

#include "app/TMainApp.h"
#include "app/TMainWindow.h"
#include "settings/TProgramContext.h"
#include "shell/TShell.h"
#include "ui/TCommandIds.h"
#include "ui/TProject.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A program folder of its own holding the example closed box and its unit, so the
// configuration written at exit lands in a temporary folder.
class AppLifecycleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("tonvek-life-" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "examples");
        for (const char* name : {"closed-10in.box", "woofer-10in.unt"})
            fs::copy_file(fs::path(TONVEK_BIN_DIR) / "examples" / name, dir_ / "examples" / name,
                          fs::copy_options::overwrite_existing);
        context_.SetFolder(dir_.string());
    }
    void TearDown() override { fs::remove_all(dir_); }
    QString Example() const { return QString::fromStdString((dir_ / "examples" / "closed-10in.box").string()); }

    // Runs the event loop until it ends by itself; false when a guard had to end it.
    static bool LoopEndsWithin(int ms)
    {
        bool guardFired = false;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            guardFired = true;
            QApplication::exit(1);
        });
        guard.start(ms);
        QApplication::exec();
        return !guardFired;
    }

    static int VisibleTopLevels()
    {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                ++n;
        return n;
    }

    TProgramContext context_;
    fs::path dir_;
};

TEST_F(AppLifecycleTest, ClosingTheFrameEndsTheProgramWithToolWindowsOpen)
{
    for (bool viaExit : {false, true}) {
        SCOPED_TRACE(viaExit ? "File > Exit" : "frame close button");
        TMainApp app(context_);
        app.Start({Example(), false});
        ASSERT_NE(app.Shell().Project(), nullptr);
        ASSERT_TRUE(app.Window().Trigger(TCmd::BoxDialog));
        ASSERT_TRUE(app.Window().Trigger(TCmd::MeasSetup));
        QApplication::processEvents();
        // Frame, cursor readout and the two dialogs at least.
        ASSERT_GE(VisibleTopLevels(), 4);

        QTimer::singleShot(0, &app, [&] {
            if (viaExit)
                app.Window().Trigger(TCmd::Exit);
            else
                app.Window().close();
        });
        EXPECT_TRUE(LoopEndsWithin(5000)) << "the event loop kept running after the frame closed";
        EXPECT_EQ(VisibleTopLevels(), 0);
        EXPECT_TRUE(fs::exists(dir_ / "tonvek.cfg"));
    }
}

TEST_F(AppLifecycleTest, RefusedSaveQuestionKeepsTheProgramRunning)
{
    TMainApp app(context_);
    app.Start({Example(), false});
    ASSERT_NE(app.Shell().Project(), nullptr);
    app.Shell().Project()->RecalcRequest(TRecalc::MarkChanged); // changed
    auto cancel = AnswerNextMessage(QMessageBox::Cancel);
    QTimer::singleShot(0, &app, [&] { app.Window().close(); });
    EXPECT_FALSE(LoopEndsWithin(1500)) << "Cancel must keep the program open";
    EXPECT_TRUE(cancel->seen);
    EXPECT_TRUE(app.Window().isVisible());
    EXPECT_NE(app.Shell().Project(), nullptr);
}

} // namespace
