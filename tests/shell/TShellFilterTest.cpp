// The shell with filter projects: New for the simple kinds, opening a filter file by its
// type code, the menu commands reaching the networks, and the kinds still to come refused
// with a message.
#include "shell/TShell.h"

#include "core/TBinaryStream.h"
#include "filter/TXover.h"
#include "settings/TProgramContext.h"
#include "shell/TMenus.h"
#include "ui/TCommandIds.h"
#include "ui/TDialogModel.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class TShellFilterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("tonvek-shell-filter-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    TXover* Filter(TShell& shell) { return dynamic_cast<TXover*>(shell.Project()); }

    fs::path dir_;
    TProgramContext context_;
    THeadlessHost host_;
};

TEST_F(TShellFilterTest, NewMakesEachSimpleKindWithItsMenu)
{
    for (int code : {15, 16}) {
        SCOPED_TRACE(code);
        TShell shell(host_, context_);
        ASSERT_TRUE(shell.CommandAvailable(TCmd::NewProjectBase + code));
        ASSERT_TRUE(shell.HandleCommand(TCmd::NewProjectBase + code));
        TXover* filter = Filter(shell);
        ASSERT_NE(filter, nullptr);
        EXPECT_EQ(filter->TypeCode(), code);
        EXPECT_EQ(host_.Menu(), TMenus::SimpleFilter);
        EXPECT_EQ(host_.MainTitle(), filter->Title());
        EXPECT_EQ(context_.General().Listener(), filter);
    }
}

TEST_F(TShellFilterTest, SavedFilterOpensByItsTypeCode)
{
    const std::string path = (dir_ / "three.flt").string();
    {
        TShell shell(host_, context_);
        shell.NewProject(16);
        Filter(shell)->Net(1).lowPassCutoff = 777.0;
        ASSERT_TRUE(Filter(shell)->SaveTo(path));
    }
    TShell shell(host_, context_);
    shell.NewProject(15);
    host_.ClearMessages();
    shell.OpenProject(path);
    TXover* filter = Filter(shell);
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(filter->TypeCode(), 16);
    EXPECT_EQ(filter->Net(1).lowPassCutoff, 777.0);
    EXPECT_FALSE(filter->IsModified());
    EXPECT_TRUE(host_.Messages().empty());
    EXPECT_NE(host_.MainTitle().find("three.flt"), std::string::npos);
}

TEST_F(TShellFilterTest, AdvancedKindsAreRefusedWithAMessage)
{
    TShell shell(host_, context_);
    shell.NewProject(15);
    TProject* open = shell.Project();
    for (int code : {20, 23, 25, 28}) {
        SCOPED_TRACE(code);
        host_.ClearMessages();
        EXPECT_TRUE(shell.CommandAvailable(TCmd::NewProjectBase + code));
        EXPECT_TRUE(shell.HandleCommand(TCmd::NewProjectBase + code));
        ASSERT_NE(host_.LastMessage(), nullptr);
        EXPECT_NE(host_.LastMessage()->text.find("only the simple networks"), std::string::npos);
        EXPECT_EQ(shell.Project(), open);

        TBinaryWriter w;
        w.WriteInt32(code);
        w.WriteZeros(16);
        const std::string path = (dir_ / "advanced.flt").string();
        ASSERT_TRUE(w.SaveTo(path));
        shell.OpenProject(path);
        EXPECT_NE(host_.LastMessage()->text.find("only the simple networks"), std::string::npos);
        EXPECT_EQ(shell.Project(), open);
    }
}

TEST_F(TShellFilterTest, MenuCommandsOpenTheNetworkDriverAndGeneralDialogs)
{
    TShell shell(host_, context_);
    shell.NewProject(15);
    struct TCase {
        int command;
        const char* title;
    };
    const TCase cases[] = {{12101, "Bass network"},
                           {12103, "Treble network"},
                           {13000, "Bass driver"},
                           {13001, "Treble driver"},
                           {TCmd::GeneralSettings, "General settings"}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.command);
        ASSERT_TRUE(shell.CommandAvailable(c.command));
        ASSERT_TRUE(shell.HandleCommand(c.command));
        bool found = false;
        for (TDialogModel* d : host_.Dialogs())
            found = found || (d->title == c.title && d->IsOpen());
        EXPECT_TRUE(found);
    }
    // The two-way filter has no mid network.
    EXPECT_FALSE(shell.CommandAvailable(12102));
    EXPECT_FALSE(shell.CommandAvailable(13002));
}

} // namespace
