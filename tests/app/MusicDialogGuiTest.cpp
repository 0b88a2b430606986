// Filter music in the real main window: "Filter &music" opens the dialog, "Start" runs
// blocks on the event loop while the window keeps answering, "Stop" ends the run at the
// next block with "Ready" and a complete WAV file.

#include "GuiTestUtil.h"

#include "app/QtHost.h"
#include "app/TMainApp.h"
#include "app/TMainWindow.h"
#include "filter/TXover.h"
#include "settings/TProgramContext.h"
#include "shell/TShell.h"
#include "timedomain/TSimDialog.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

TEST(MusicDialogGuiTest, StartRunsWhileTheWindowAnswersAndStopEndsTheRunAtTheNextBlock)
{
    namespace fs = std::filesystem;
    const std::string in = (fs::temp_directory_path() / "tonvek_gui_music_in.wav").string();
    const std::string out = (fs::temp_directory_path() / "tonvek_gui_music_out.wav").string();
    {
        // Two minutes of a tone: far more than the test lets run.
        std::vector<std::int16_t> s(2 * 44100 * 120);
        for (std::size_t i = 0; i < s.size(); ++i)
            s[i] = static_cast<std::int16_t>(8000 * std::sin(0.06 * static_cast<double>(i / 2)));
        TSoundWriter w;
        ASSERT_TRUE(w.Create(in, 44100) && w.Write(s.data(), s.size()) && w.Finish());
    }
    TProgramContext context{TONVEK_BIN_DIR};
    TMainApp app(context);
    app.Start({QString::fromStdString(std::string(TONVEK_BIN_DIR) + "/examples/advanced2-10in-1in.flt"), false});
    auto* project = dynamic_cast<TXover*>(app.Shell().Project());
    ASSERT_NE(project, nullptr);
    project->Impulse().musicInput.initialName = in;
    project->Impulse().musicOutput.initialName = out;
    ASSERT_TRUE(app.Window().Trigger(TSimDialog::kCommand));
    QApplication::processEvents();
    QWidget* view = ShownDialog(app, "Filter music");
    ASSERT_NE(view, nullptr);
    TSimDialog* dialog = project->MusicDialog();
    ASSERT_NE(dialog, nullptr);

    auto* start = view->findChild<QPushButton*>(QStringLiteral("field%1").arg(TSimDialog::kStartStop));
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->text(), "Start");
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(start, Qt::LeftButton);
    EXPECT_EQ(dialog->State(), TSimDialog::TState::Running);
    EXPECT_EQ(start->text(), "Stop");

    int answered = 0;
    QTimer::singleShot(0, [&answered] { ++answered; });
    ASSERT_TRUE(WaitFor([&] { return dialog->Elapsed() >= 2.0; }));
    std::printf("filter music on the event loop: %.0f times real time\n",
                dialog->Elapsed() / (static_cast<double>(clock.nsecsElapsed()) * 1e-9));
    EXPECT_EQ(answered, 1);
    EXPECT_EQ(dialog->State(), TSimDialog::TState::Running);
    auto* time = view->findChild<QLineEdit*>(QStringLiteral("field%1").arg(TSimDialog::kTime));
    ASSERT_NE(time, nullptr);
    EXPECT_NE(time->text(), "0.0");
    EXPECT_TRUE(view->grab().save(QStringLiteral("/tmp/tonvek-filter-music.png")));

    auto ready = AnswerNextMessage(QMessageBox::Ok);
    QTest::mouseClick(start, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return ready->seen; }));
    EXPECT_EQ(ready->text, "Ready");
    ASSERT_TRUE(WaitFor([&] { return dialog->State() == TSimDialog::TState::Idle; }));
    const double elapsed = dialog->Elapsed();
    EXPECT_LT(elapsed, 120.0);
    QTest::qWait(50);
    EXPECT_EQ(dialog->Elapsed(), elapsed); // no block after the stop
    EXPECT_EQ(start->text(), "Start");

    TSoundReader result;
    ASSERT_TRUE(result.Open(out));
    EXPECT_EQ(result.Rate(), 44100u);
    EXPECT_EQ(result.SamplesLeft(), static_cast<std::uint64_t>(std::llround(elapsed * 44100 * 2)) + 512);

    view->close();
    QApplication::processEvents();
    EXPECT_FALSE(dialog->IsOpen());
    fs::remove(in);
    fs::remove(out);
}
