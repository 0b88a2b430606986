#include "shell/TShell.h"
#include "box/TBoxReport.h"
#include "box/TClosedBox.h"
#include "core/TBinaryStream.h"
#include "settings/TGeneralDialog.h"
#include "settings/TProgramContext.h"
#include "shell/TMainConfig.h"
#include "shell/TMenus.h"
#include "support/ExampleWoofer.h"
#include "ui/TCommandIds.h"
#include "ui/THeadlessHost.h"
#include "ui/TProject.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// A project that records what the shell asks of it.
struct FakeProject : TProject {
    int code;
    THost& host;
    bool loadResult = true;
    bool askResult = true;
    int resets = 0, starts = 0, asks = 0;
    int serial;
    static inline int alive = 0;
    static inline int made = 0;
    FakeProject(int c, THost& h, bool load) : code(c), host(h), loadResult(load), serial(++made) { ++alive; }
    ~FakeProject() override { --alive; }
    int TypeCode() const override { return code; }
    int MenuNumber() const override { return TMenus::Box; }
    bool IsBoxProject() const override { return code <= 9; }
    bool AskSaveChanges() override { ++asks; return askResult; }
    // Loads fail from the failFrom-th on (counted over all projects); 0: per loadResult.
    static inline int loads = 0;
    static inline int failFrom = 0;
    bool Load(const std::string&) override
    {
        ++loads;
        return failFrom > 0 ? loads < failFrom : loadResult;
    }
    void Reset() override { ++resets; }
    void SetMainTitle(bool withFile) override { host.SetMainTitle(withFile ? "Closed box - file" : "Closed box"); }
    void StartNew(bool) override { ++starts; }
    bool HandlesCommand(int id) const override { return id == TCmd::Save; }
    bool HandleCommand(int) override { return true; }
    void RecalcRequest(TRecalc) override {}
};

class TShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("tonvek-shell-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        factory_.Register(0, [this](THost& h, TProgramContext&) {
            auto p = std::make_unique<FakeProject>(0, h, loadOk_);
            last_ = p.get();
            return p;
        });
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return p.string();
    }
    std::string WriteCode(const std::string& name, std::int32_t code)
    {
        TBinaryWriter w;
        w.WriteInt32(code);
        w.WriteZeros(16);
        return WriteFile(name, w.Bytes());
    }

    fs::path dir_;
    TProgramContext context_;
    THeadlessHost host_;
    TProjectFactory factory_;
    FakeProject* last_ = nullptr;
    bool loadOk_ = true;
};

} // namespace

TEST_F(TShellTest, CodesWithoutProjectGiveBadDataAndChangeNothing)
{
    for (std::int32_t code : {10, 17, -1, 14, 24, 1000}) {
        TShell shell(host_, context_, factory_);
        host_.ClearMessages();
        host_.SwitchMenu(TMenus::NoProject);
        const std::string path = WriteCode("code.box", code);
        shell.OpenProject(path);
        ASSERT_NE(host_.LastMessage(), nullptr) << code;
        EXPECT_EQ(host_.LastMessage()->text, "Bad data in file.\nThe project file is corrupt.\n\n" + path) << code;
        EXPECT_EQ(host_.LastMessage()->title, "Error");
        EXPECT_EQ(shell.Project(), nullptr);
        EXPECT_EQ(host_.Menu(), TMenus::NoProject);
    }
    // An open project stays open.
    TShell shell(host_, context_, factory_);
    shell.NewProject(0);
    FakeProject* open = last_;
    shell.OpenProject(WriteCode("code.box", 10));
    EXPECT_EQ(shell.Project(), open);
}

TEST_F(TShellTest, MissingAndUnreadableFiles)
{
    TShell shell(host_, context_, factory_);
    shell.NewProject(0);
    FakeProject* open = last_;
    host_.ClearMessages();
    const std::string missing = (dir_ / "nothing.box").string();
    shell.OpenProject(missing);
    EXPECT_EQ(host_.LastMessage()->text,
              "Could not open project.\nThe filname probably points at\na nonexisting file.\n\n" + missing);
    EXPECT_EQ(host_.LastMessage()->title, "Tonvek project");
    EXPECT_EQ(shell.Project(), open); // nothing else changes

    const std::string shortFile = WriteFile("short.box", {1, 0});
    shell.OpenProject(shortFile);
    EXPECT_EQ(host_.LastMessage()->text, "Could not read project.\nThe project file is corrupt.\n\n" + shortFile);
    EXPECT_EQ(host_.LastMessage()->title, "Box project");
    EXPECT_EQ(shell.Project(), open);
}

TEST_F(TShellTest, FileFailingItsCheckKeepsTheOpenProject)
{
    TShell shell(host_, context_, factory_);
    shell.NewProject(0);
    FakeProject* open = last_;
    loadOk_ = false;
    const std::string cut = WriteCode("cut.box", 0);
    shell.OpenProject(cut);
    EXPECT_EQ(shell.Project(), open);
    EXPECT_EQ(open->resets, 0);
    EXPECT_EQ(host_.LastMessage()->text, "Error while reading box data.\nThe project file is corrupt.\n\n" + cut);
    EXPECT_EQ(host_.LastMessage()->title, "");
}

TEST_F(TShellTest, FileChangedAfterItsCheckLeavesEmptyProjectOfThatType)
{
    TShell shell(host_, context_, factory_);
    FakeProject::loads = 0;
    FakeProject::failFrom = 2; // the check reads it, the real open does not
    shell.OpenProject(WriteCode("cut.box", 0));
    FakeProject::failFrom = 0;
    ASSERT_NE(shell.Project(), nullptr);
    EXPECT_EQ(shell.TypeCode(), 0);
    EXPECT_EQ(last_->resets, 1);
    EXPECT_EQ(host_.LastMessage()->title, "");
    EXPECT_EQ(host_.Menu(), TMenus::Box);
}

TEST_F(TShellTest, SuccessfulOpenSetsTitleWithFileName)
{
    TShell shell(host_, context_, factory_);
    shell.OpenProject(WriteCode("good.box", 0));
    ASSERT_NE(shell.Project(), nullptr);
    EXPECT_EQ(host_.MainTitle(), "Closed box - file");
    EXPECT_TRUE(host_.Messages().empty());
}

TEST_F(TShellTest, NewAsksToSaveAndShowsUnitHint)
{
    TShell shell(host_, context_, factory_);
    host_.QueueCheckBox(true); // "Don't show this message later" ticked
    shell.NewProject(0);
    ASSERT_NE(shell.Project(), nullptr);
    EXPECT_EQ(host_.LastMessage()->title, "Load a driver unit");
    EXPECT_FALSE(shell.ShowUnitHint());
    EXPECT_EQ(last_->starts, 1);

    // A refused save question keeps the open project.
    FakeProject* first = last_;
    first->askResult = false;
    shell.NewProject(0);
    EXPECT_EQ(shell.Project(), first);
    EXPECT_EQ(first->asks, 1);

    first->askResult = true;
    int firstSerial = first->serial;
    host_.ClearMessages();
    shell.NewProject(0);
    EXPECT_NE(last_->serial, firstSerial);
    EXPECT_TRUE(host_.Messages().empty()); // hint switched off
    EXPECT_EQ(FakeProject::alive, 1);
}

TEST_F(TShellTest, CommandsOfUnbuiltProjectsAreUnavailable)
{
    TShell shell(host_, context_, factory_);
    EXPECT_TRUE(shell.CommandAvailable(TCmd::NewProjectBase + 0));
    EXPECT_FALSE(shell.CommandAvailable(TCmd::NewProjectBase + 1));
    EXPECT_FALSE(shell.HandleCommand(TCmd::NewProjectBase + 1));
    EXPECT_FALSE(shell.CommandAvailable(TCmd::Save));
    shell.NewProject(0);
    EXPECT_TRUE(shell.CommandAvailable(TCmd::Save));
}

TEST_F(TShellTest, ConfigFileForms)
{
    // 16 bytes: the rectangle, the hint stays on.
    TBinaryWriter w;
    for (int v : {10, 20, 810, 620})
        w.WriteInt32(v);
    TMainConfig c = TMainConfig::Read(WriteFile("a.cfg", w.Bytes()));
    ASSERT_TRUE(c.rect.has_value());
    EXPECT_EQ(c.rect->right - c.rect->left, 800);
    EXPECT_TRUE(c.showUnitHint);

    w.WriteUInt8(0);
    c = TMainConfig::Read(WriteFile("b.cfg", w.Bytes()));
    EXPECT_FALSE(c.showUnitHint);

    c = TMainConfig::Read(WriteFile("c.cfg", {1, 2, 3}));
    EXPECT_FALSE(c.rect.has_value());
    EXPECT_TRUE(c.showUnitHint);
    c = TMainConfig::Read((dir_ / "none.cfg").string());
    EXPECT_FALSE(c.rect.has_value());

    TMainConfig out;
    out.rect = TWindowRect{1, 2, 3, 4};
    out.showUnitHint = false;
    ASSERT_TRUE(out.Write((dir_ / "d.cfg").string()));
    EXPECT_EQ(fs::file_size(dir_ / "d.cfg"), 17u);
    TMainConfig back = TMainConfig::Read((dir_ / "d.cfg").string());
    EXPECT_EQ(back.rect->bottom, 4);
    EXPECT_FALSE(back.showUnitHint);
}

namespace {
// Notes what the project looks like when the unit hint comes up.
struct HintProbeHost : THeadlessHost {
    std::function<void()> onHint;
    void MessageWithCheckBox(const std::string& text, const std::string& title, const std::string& checkText,
                             bool& checked) override
    {
        if (onHint)
            onHint();
        THeadlessHost::MessageWithCheckBox(text, title, checkText, checked);
    }
};

class TShellClosedBoxTest : public TShellTest {
protected:
    void SetUp() override
    {
        TShellTest::SetUp();
        context_.SetFolder(dir_.string());
        TSpkData unit;
        FillExampleWoofer(unit);
        unit_ = (dir_ / "woofer.unt").string();
        ASSERT_TRUE(unit.Save(unit_));
    }
    std::string unit_;
};
} // namespace

TEST_F(TShellClosedBoxTest, NewShowsThePlotsThenTheHintThenTheUnitChooser)
{
    HintProbeHost host;
    TShell shell(host, context_);
    bool plotsUp = false, chooserAsked = true;
    host.onHint = [&] {
        auto* box = dynamic_cast<TBoxEmbryo*>(shell.Project());
        ASSERT_NE(box, nullptr);
        plotsUp = !host.IsViewMinimised(box->SplPlot()) && !host.IsViewMinimised(box->ImpedancePlot());
        chooserAsked = !host.FileRequests().empty();
    };
    host.QueueFileName(unit_);
    shell.NewProject(TClosedBox::kTypeCode);
    EXPECT_TRUE(plotsUp);
    EXPECT_FALSE(chooserAsked);
    ASSERT_EQ(host.FileRequests().size(), 1u);
    auto* box = dynamic_cast<TBoxEmbryo*>(shell.Project());
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->FrontDriver().complete);
    EXPECT_FALSE(box->Report().Lines().empty());
}

TEST_F(TShellClosedBoxTest, SavedAndReopenedProjectClosesWithoutAQuestion)
{
    TShell shell(host_, context_);
    shell.SetShowUnitHint(false);
    host_.QueueFileName(unit_);
    shell.NewProject(TClosedBox::kTypeCode);
    const std::string path = (dir_ / "saved.box").string();
    host_.QueueFileName(path);
    ASSERT_TRUE(shell.HandleCommand(TCmd::Save));
    ASSERT_TRUE(fs::exists(path));
    host_.ClearMessages();
    host_.QueueFileName(path);
    shell.OpenWithChooser(); // unchanged since the save: no question
    ASSERT_NE(shell.Project(), nullptr);
    EXPECT_EQ(host_.MainTitle(), "Tonvek 4.10 Beta Closed box - saved.box");
    EXPECT_TRUE(shell.CanClose());
    EXPECT_TRUE(host_.Messages().empty());
}

TEST_F(TShellClosedBoxTest, FileCutAfterItsHeaderKeepsTheOpenClosedBox)
{
    TShell shell(host_, context_);
    shell.SetShowUnitHint(false);
    host_.QueueFileName(unit_);
    shell.NewProject(TClosedBox::kTypeCode);
    const std::string path = (dir_ / "whole.box").string();
    host_.QueueFileName(path);
    ASSERT_TRUE(shell.HandleCommand(TCmd::Save));
    TProject* open = shell.Project();
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    bytes.resize(4 + 2 + 16);
    const std::string cut = WriteFile("cut.box", bytes);
    host_.ClearMessages();
    shell.OpenProject(cut);
    ASSERT_NE(host_.LastMessage(), nullptr);
    EXPECT_EQ(host_.LastMessage()->text, "Error while reading box data.\nThe project file is corrupt.\n\n" + cut);
    auto* box = dynamic_cast<TClosedBox*>(shell.Project());
    ASSERT_EQ(box, open);
    EXPECT_EQ(box->ProjectFileName(), path); // "&Save" still writes the good file, never the cut one
    EXPECT_EQ(box->Report().Title(), "CLOSED BOX");
}

TEST_F(TShellTest, NewProjectResetsTheGeneralSettingsOpeningKeepsThem)
{
    TShell shell(host_, context_, factory_);
    TGeneral& general = context_.General();
    general.SetTitle("from before");
    ASSERT_EQ(general.AddSurfaceRay(10), TRayChange::Done);
    shell.OpenProject(WriteCode("good.box", 0));
    ASSERT_NE(shell.Project(), nullptr);
    EXPECT_EQ(general.Title(), "from before");
    shell.NewProject(0);
    EXPECT_EQ(general.Title(), "");
    EXPECT_EQ(general.SurfaceRayCount(), 1);
}

TEST_F(TShellTest, GeneralCommandOpensTheSettingsDialogUntilTheNextNewProject)
{
    TShell shell(host_, context_, factory_);
    EXPECT_TRUE(shell.CommandAvailable(TCmd::GeneralSettings));
    EXPECT_TRUE(shell.HandleCommand(TCmd::GeneralSettings));
    EXPECT_TRUE(host_.IsDialogOpen(shell.GeneralSettings()));
    EXPECT_EQ(host_.CommandEnabled(TCmd::GeneralSettings), false);
    EXPECT_TRUE(shell.HandleCommand(TCmd::GeneralSettings)); // raised, not made twice
    shell.NewProject(0);
    EXPECT_FALSE(shell.GeneralSettings().IsOpen());
    EXPECT_EQ(host_.CommandEnabled(TCmd::GeneralSettings), true);
}
