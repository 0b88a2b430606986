#include "GuiTestUtil.h"

#include "app/TMainApp.h"
#include "app/TMainWindow.h"
#include "core/TBinaryStream.h"
#include "settings/TProgramContext.h"
#include "shell/TShell.h"
#include "ui/TCommandIds.h"
#include "ui/TProject.h"

#include <QAction>
#include <QMenuBar>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("tonvek-gui-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        context_.SetFolder(dir_.string());
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string WriteCode(std::int32_t code)
    {
        TBinaryWriter w;
        w.WriteInt32(code);
        w.WriteZeros(8);
        std::string path = (dir_ / ("code" + std::to_string(code) + ".box")).string();
        EXPECT_TRUE(w.SaveTo(path));
        return path;
    }

    TProgramContext context_;
    fs::path dir_;
};

TEST_F(MainWindowTest, StartsWithTitleAndNoProjectMenu)
{
    TMainApp app(context_);
    app.Start({QString(), false});
    EXPECT_EQ(app.Window().windowTitle(), "Tonvek 4.10 Beta [*]");
    QStringList titles;
    for (QAction* a : app.Window().menuBar()->actions())
        titles << a->text();
    EXPECT_TRUE(titles.contains("&File"));
    EXPECT_TRUE(titles.contains("&Yankee tool"));
    // Every command stays visible; the advanced filters, whose networks are not built
    // yet, stay enabled to say so.
    QAction* open = app.Window().ActionByPath("File>Open...");
    ASSERT_NE(open, nullptr);
    EXPECT_TRUE(open->isEnabled());
    for (const char* path : {"File>New>Filter>2 way simple", "File>New>Filter>2 way advanced"}) {
        QAction* filter = app.Window().ActionByPath(path);
        ASSERT_NE(filter, nullptr) << path;
        EXPECT_TRUE(filter->isEnabled()) << path;
    }
}

TEST_F(MainWindowTest, OpenOfCodesWithoutProjectShowsBadData)
{
    for (std::int32_t code : {10, 17, -1}) {
        TMainApp app(context_);
        app.Start({QString(), false});
        auto answer = AnswerNextMessage(QMessageBox::Ok);
        const std::string path = WriteCode(code);
        app.Shell().OpenProject(path);
        EXPECT_TRUE(answer->seen) << code;
        EXPECT_EQ(answer->text, QString::fromStdString("Bad data in file.\nThe project file is corrupt.\n\n" + path))
            << code;
        EXPECT_EQ(answer->title, "Error");
        EXPECT_EQ(app.Shell().Project(), nullptr);
        EXPECT_EQ(app.Window().windowTitle(), "Tonvek 4.10 Beta [*]");
    }
}

TEST_F(MainWindowTest, ConfigWrittenAtExitAndReadAtStart)
{
    {
        // 16 bytes: the rectangle only; the hint flag stays on.
        TBinaryWriter w;
        for (int v : {40, 30, 840, 630})
            w.WriteInt32(v);
        ASSERT_TRUE(w.SaveTo((dir_ / "tonvek.cfg").string()));
    }
    {
        TMainApp app(context_);
        app.Start({QString(), false});
        EXPECT_EQ(app.Window().width(), 800);
        EXPECT_EQ(app.Window().height(), 600);
        EXPECT_TRUE(app.Shell().ShowUnitHint());
        app.Shell().SetShowUnitHint(false);
        EXPECT_TRUE(app.Window().close());
    }
    EXPECT_EQ(fs::file_size(dir_ / "tonvek.cfg"), 17u);
    TMainApp again(context_);
    again.Start({QString(), false});
    EXPECT_FALSE(again.Shell().ShowUnitHint());
}

TEST_F(MainWindowTest, CommandLineProjectOpensWithoutQuestion)
{
    std::string path = WriteCode(10);
    auto answer = AnswerNextMessage(QMessageBox::Ok);
    TMainApp app(context_);
    app.Start({QString::fromStdString(path), false});
    // The only message is the one about the unknown type; no save question came first.
    EXPECT_TRUE(answer->seen);
    EXPECT_TRUE(answer->text.startsWith("Bad data in file.\nThe project file is corrupt.\n\n"));
}

TEST_F(MainWindowTest, ACommandTheFirstProjectRemovesStaysHidden)
{
    // The closed box has no standing-wave SPL to export; the first project of a session
    // removes that command before its menu exists.
    TMainApp app(context_);
    app.Start({QString(), false});
    app.Shell().SetShowUnitHint(false);
    auto chooser = CancelNextDialog(); // the new project asks for its unit
    app.Window().Trigger(TCmd::NewProjectBase + 0);
    EXPECT_TRUE(chooser->seen);
    QAction* modes = app.Window().Action(TCmd::ExportModesSpl);
    ASSERT_NE(modes, nullptr);
    EXPECT_FALSE(modes->isVisible());
    QAction* spl = app.Window().Action(TCmd::ExportSpl);
    ASSERT_NE(spl, nullptr);
    EXPECT_TRUE(spl->isVisible());
}

TEST_F(MainWindowTest, TwoWayFilterHidesTheMidCommandsAndOpensItsNetworkDialog)
{
    TMainApp app(context_);
    app.Start({QString(), false});
    app.Window().Trigger(TCmd::NewProjectBase + 15);
    ASSERT_NE(app.Shell().Project(), nullptr);
    EXPECT_EQ(app.Shell().Project()->TypeCode(), 15);
    for (int id : {12102, 13002, 12023}) {
        QAction* mid = app.Window().Action(id);
        ASSERT_NE(mid, nullptr) << id;
        EXPECT_FALSE(mid->isVisible()) << id;
    }
    QAction* bass = app.Window().Action(12101);
    ASSERT_NE(bass, nullptr);
    EXPECT_TRUE(bass->isVisible());
    app.Window().Trigger(12101);
    // Its dialog is open, so its command is disabled meanwhile.
    EXPECT_FALSE(bass->isEnabled());
    // A three-way filter brings the mid commands back.
    auto question = AnswerNextMessage(QMessageBox::No);
    app.Window().Trigger(TCmd::NewProjectBase + 16);
    EXPECT_TRUE(question->seen);
    QAction* mid = app.Window().Action(12102);
    ASSERT_NE(mid, nullptr);
    EXPECT_TRUE(mid->isVisible());
}
