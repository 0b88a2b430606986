// The shell with filter projects: New for the simple kinds, opening a filter file by its
// type code (advanced and active ones too), and the menu commands reaching the networks.
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

TEST_F(TShellFilterTest, NewAndOpenMakeEveryAdvancedAndActiveKindWithMenu21)
{
    struct TCase {
        int code, ways, heldCode;
        bool active;
    };
    // The active kinds are written with the advanced codes; a file keeps the code it has.
    const TCase cases[] = {{20, 1, 20, false}, {23, 4, 23, false}, {25, 1, 20, true}, {28, 4, 23, true}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.code);
        TShell shell(host_, context_);
        ASSERT_TRUE(shell.CommandAvailable(TCmd::NewProjectBase + c.code));
        ASSERT_TRUE(shell.HandleCommand(TCmd::NewProjectBase + c.code));
        TXover* filter = Filter(shell);
        ASSERT_NE(filter, nullptr);
        EXPECT_EQ(filter->TypeCode(), c.heldCode);
        EXPECT_EQ(filter->Ways(), c.ways);
        EXPECT_EQ(filter->NetA(0).Active(), c.active);
        EXPECT_EQ(host_.Menu(), TMenus::AdvancedFilter);

        // A file with an active code opens active and is written back with its code.
        TBinaryWriter w;
        filter->WriteFile(w);
        std::vector<std::uint8_t> bytes = w.Bytes();
        bytes[0] = static_cast<std::uint8_t>(c.code);
        const std::string path = (dir_ / "advanced.flt").string();
        ASSERT_TRUE(SaveFileSafely(path, bytes.data(), bytes.size()));
        host_.ClearMessages();
        shell.OpenProject(path);
        filter = Filter(shell);
        ASSERT_NE(filter, nullptr);
        EXPECT_TRUE(host_.Messages().empty());
        EXPECT_EQ(filter->TypeCode(), c.code);
        EXPECT_FALSE(filter->IsModified());
        EXPECT_EQ(host_.Menu(), TMenus::AdvancedFilter);
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
