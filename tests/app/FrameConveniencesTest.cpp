// What a desktop user expects of the frame: the usual shortcuts, the modified marker
// in the title, the recent projects, and file choosers that start where the work is.

#include "GuiTestUtil.h"

#include "app/QtHost.h"
#include "app/TMainApp.h"
#include "app/TMainWindow.h"
#include "core/TProgramFolder.h"
#include "settings/TProgramContext.h"
#include "shell/TRecentProjects.h"
#include "shell/TShell.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"
#include "ui/TProject.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class FrameConveniencesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings().remove("recentProjects");
        dir_ = fs::temp_directory_path() / ("tonvek-frame-" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "examples");
        for (const char* name : {"closed-10in.box", "woofer-10in.unt"})
            fs::copy_file(fs::path(TONVEK_BIN_DIR) / "examples" / name, dir_ / "examples" / name,
                          fs::copy_options::overwrite_existing);
        fs::copy_file(dir_ / "examples" / "closed-10in.box", dir_ / "examples" / "second.box");
        context_.SetFolder(dir_.string());
    }
    void TearDown() override
    {
        QSettings().remove("recentProjects");
        fs::remove_all(dir_);
    }
    QString Project(const char* name) const { return QString::fromStdString((dir_ / "examples" / name).string()); }

    TProgramContext context_;
    fs::path dir_;
};

TEST_F(FrameConveniencesTest, UsualShortcutsSitOnTheirCommands)
{
    TMainApp app(context_);
    app.Start({QString(), false});
    struct Row {
        int id;
        QKeySequence keys;
    } rows[] = {
        {TCmd::Open, QKeySequence("Ctrl+O")},
        {TCmd::Exit, QKeySequence("Ctrl+Q")},
        {TCmd::NewProjectBase + 0, QKeySequence("Ctrl+N")},
    };
    for (const Row& r : rows) {
        ASSERT_NE(app.Window().Action(r.id), nullptr) << r.id;
        EXPECT_EQ(app.Window().Action(r.id)->shortcut(), r.keys) << r.id;
    }
    app.Shell().OpenProject(Project("closed-10in.box").toStdString());
    for (const Row& r : {Row{TCmd::Save, QKeySequence("Ctrl+S")}, Row{TCmd::SaveAs, QKeySequence("Ctrl+Shift+S")},
                         Row{TCmd::PrintWindow, QKeySequence("Ctrl+P")}}) {
        ASSERT_NE(app.Window().Action(r.id), nullptr) << r.id;
        EXPECT_EQ(app.Window().Action(r.id)->shortcut(), r.keys) << r.id;
    }
}

TEST_F(FrameConveniencesTest, TitleMarksUnsavedChanges)
{
    TMainApp app(context_);
    app.Start({Project("closed-10in.box"), false});
    EXPECT_TRUE(app.Window().windowTitle().endsWith("[*]"));
    EXPECT_FALSE(app.Window().isWindowModified());
    app.Shell().Project()->RecalcRequest(TRecalc::MarkChanged);
    QTest::qWait(400);
    EXPECT_TRUE(app.Window().isWindowModified());
    app.Shell().Project()->RecalcRequest(TRecalc::MarkUnchanged);
    QTest::qWait(400);
    EXPECT_FALSE(app.Window().isWindowModified());
}

TEST_F(FrameConveniencesTest, RecentProjectsListOpenedFilesAndReopenThem)
{
    {
        TMainApp app(context_);
        app.Start({Project("closed-10in.box"), false});
        app.Shell().OpenProject(Project("second.box").toStdString());
        QTest::qWait(400);
        QMenu* recent = app.Window().RecentMenu();
        ASSERT_NE(recent, nullptr);
        ASSERT_EQ(recent->actions().size(), 2);
        EXPECT_EQ(recent->actions()[0]->toolTip(), Project("second.box"));
        EXPECT_EQ(recent->actions()[1]->toolTip(), Project("closed-10in.box"));
    }
    // Kept across runs; choosing an entry opens it.
    TMainApp app(context_);
    app.Start({QString(), false});
    QMenu* recent = app.Window().RecentMenu();
    ASSERT_NE(recent, nullptr);
    ASSERT_EQ(recent->actions().size(), 2);
    recent->actions()[1]->trigger();
    ASSERT_NE(app.Shell().Project(), nullptr);
    EXPECT_EQ(QString::fromStdString(app.Shell().Project()->FileName()), Project("closed-10in.box"));
    ASSERT_NE(app.Window().RecentMenu(), nullptr);
    EXPECT_EQ(app.Window().RecentMenu()->actions()[0]->toolTip(), Project("closed-10in.box"));
}

TEST(RecentProjects, NewestFirstEachOnceAtMostEight)
{
    TRecentProjects r({"a", "b", "a", "", "c"});
    EXPECT_EQ(r.Items(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_FALSE(r.Add("a"));
    EXPECT_TRUE(r.Add("c"));
    EXPECT_EQ(r.Items(), (std::vector<std::string>{"c", "a", "b"}));
    for (int i = 0; i < 10; ++i)
        r.Add("p" + std::to_string(i));
    EXPECT_EQ(r.Items().size(), TRecentProjects::kMaxItems);
    EXPECT_EQ(r.Items().front(), "p9");
    EXPECT_TRUE(r.Remove("p5"));
    EXPECT_FALSE(r.Remove("p5"));
}

TEST(FileChooserStart, BesideTheProjectElseWhereTheUserWasNeverTheProgramFolder)
{
    const TProgramFolder program("/opt/tonvek");
    struct Row {
        const char* name;
        const char* initialFolder;
        const char* project;
        const char* last;
        QString expected;
    } rows[] = {
        {"", "", "/home/u/boxes", "/home/u/else", "/home/u/boxes"},
        {"", "", "", "/home/u/else", "/home/u/else"},
        {"", "", "", "", QDir::currentPath()},
        {"my.box", "", "/home/u/boxes", "", "/home/u/boxes/my.box"},
        {"/data/w.unt", "", "/home/u/boxes", "", "/data/w.unt"},
        {"examples/w.unt", "", "/home/u/boxes", "", "/opt/tonvek/examples/w.unt"},
        {"", "/given", "/home/u/boxes", "", "/given"},
    };
    for (const Row& r : rows) {
        TFileRequest request{"t", "", "box", r.name, r.initialFolder};
        EXPECT_EQ(QtHost::StartPath(program, request, r.project, r.last), r.expected) << r.name << " " << r.project;
    }
}

} // namespace
