// The shell with a reflex bandpass project: the "&Reflex BandPass" command makes it, its
// menu has both driver groups, and the rear group's commands reach the project.

#include "box/TBassReflexDorvelBox.h"
#include "box/TBoxReport.h"
#include "settings/TProgramContext.h"
#include "shell/TMenus.h"
#include "shell/TShell.h"
#include "support/ExampleWoofer.h"
#include "ui/TCommandIds.h"
#include "ui/TDialogModel.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class TShellReflexBandpassTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("tonvek-shell-rbp-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        context_ = TProgramContext(dir_.string());
        TSpkData unit;
        FillExampleWoofer(unit);
        unit_ = (dir_ / "woofer.unt").string();
        ASSERT_TRUE(unit.Save(unit_));
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
    TProgramContext context_;
    THeadlessHost host_;
    std::string unit_;
};

} // namespace

TEST_F(TShellReflexBandpassTest, RearGroupCommandsReachTheProject)
{
    TShell shell(host_, context_);
    shell.SetShowUnitHint(false);
    ASSERT_TRUE(shell.CommandAvailable(TCmd::NewProjectBase + TBassReflexDorvelBox::kTypeCode));
    host_.QueueFileName(unit_);
    ASSERT_TRUE(shell.HandleCommand(TCmd::NewProjectBase + TBassReflexDorvelBox::kTypeCode));
    auto* box = dynamic_cast<TBassReflexDorvelBox*>(shell.Project());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(host_.Menu(), 15);
    EXPECT_TRUE(box->FrontDriver().complete);
    // The front group works alone until the rear unit is loaded.
    EXPECT_FALSE(box->RearActive());
    EXPECT_EQ(box->Report().Title(), "REFLEXBANDPASS BOX");

    ASSERT_TRUE(shell.CommandAvailable(TCmd::RearDriverLoad));
    host_.QueueFileName(unit_);
    ASSERT_TRUE(shell.HandleCommand(TCmd::RearDriverLoad));
    EXPECT_TRUE(box->RearActive());
    EXPECT_EQ(box->RearUnitFileName(), "woofer.unt");
    EXPECT_EQ(host_.CommandEnabled(TCmd::RearDriverConfig), std::optional<bool>(true));

    ASSERT_TRUE(shell.HandleCommand(TCmd::RearDriverConfig));
    ASSERT_TRUE(shell.HandleCommand(TCmd::ReflexBandpassDialog));
    std::vector<std::string> titles;
    for (TDialogModel* d : host_.Dialogs())
        if (d->IsOpen())
            titles.push_back(d->title);
    EXPECT_NE(std::find(titles.begin(), titles.end(), "Rear driver unit configuration"), titles.end());
    EXPECT_NE(std::find(titles.begin(), titles.end(), "Dorvel's bassreflex box"), titles.end());
    EXPECT_EQ(host_.CommandEnabled(TCmd::ReflexBandpassDialog), std::optional<bool>(false));
}
