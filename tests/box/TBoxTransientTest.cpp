// The transient response window as a box project has it: fed by every calculation, its
// command and dialog, its block in the project file and its export.

#include "box/TBassReflexBox.h"
#include "box/TClosedBox.h"
#include "box/elements/TBoxObject.h"
#include "core/TBinaryStream.h"
#include "room/TRoomCabinet.h"
#include "support/BoxTestBench.h"
#include "timedomain/TStepRespDialog.h"
#include "ui/TCommandIds.h"
#include "ui/TRecordingCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class TBoxTransientTest : public ::testing::Test, protected BoxTestBench {
protected:
    void SetUp() override { Enter("tonvek-transient"); }
    void TearDown() override { Leave(); }

    std::unique_ptr<TClosedBox> MakeClosed(double vb)
    {
        auto box = std::make_unique<TClosedBox>(host_, context_);
        Prepare(*box, vb);
        return box;
    }

    std::string Read(const fs::path& path)
    {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

} // namespace

TEST_F(TBoxTransientTest, ClosedBoxStepResponseReturnsToZero)
{
    auto box = MakeClosed(0.02);
    SetGrid(10, 1000, 300);
    TStepRespSettings& s = box->StepResponse();
    s.kind = TStepRespSettings::Step;
    s.timeStep = 1.0; // 512 ms: long enough for the box to settle
    box->TransientWindow().ApplySettings();
    box->Calculate(0);
    TStepResponse& w = box->TransientWindow();
    w.BringUpToDate(); // minimised: its first reader calculates it
    ASSERT_TRUE(w.HasData());
    EXPECT_EQ(w.Caption(), "Step response");
    EXPECT_DOUBLE_EQ(*std::max_element(w.Output().begin(), w.Output().begin() + 512), 1.0);
    for (std::size_t i = 400; i < 512; ++i)
        ASSERT_LT(std::fabs(w.Output()[i]), 0.02) << i;
}

TEST_F(TBoxTransientTest, CommandOpensTheDialogAndFastModeLeavesTheWindowAlone)
{
    auto box = MakeClosed(0.02);
    box->Calculate(0);
    EXPECT_EQ(host_.CommandEnabled(TCmd::TransientResp), std::optional<bool>(true));
    ASSERT_TRUE(box->HandlesCommand(TCmd::TransientResp));
    ASSERT_TRUE(box->HandleCommand(TCmd::TransientResp));
    EXPECT_TRUE(box->TransientDialog().IsOpen());
    EXPECT_EQ(host_.CommandEnabled(TCmd::TransientResp), std::optional<bool>(false));
    box->Calculate(0); // the dialog's command stays greyed while it is open
    EXPECT_EQ(host_.CommandEnabled(TCmd::TransientResp), std::optional<bool>(false));
    box->TransientDialog().Close();

    const double before = box->TransientWindow().Output()[10];
    box->BoxVolume().Vb = 0.005;
    box->BoxVolume().dirty = true;
    box->fastMode = true;
    box->Calculate(0);
    EXPECT_EQ(box->TransientWindow().Output()[10], before);
    box->fastMode = false;
    box->Calculate(0);
    EXPECT_NE(box->TransientWindow().Output()[10], before);
}

TEST_F(TBoxTransientTest, SettingsTravelWithTheProjectFile)
{
    auto box = std::make_unique<TBassReflexBox>(host_, context_);
    ASSERT_TRUE(box->LoadFrontUnitFrom(unitPath()));
    box->TransientDialog().Open();
    box->TransientDialog().Select(TStepRespDialog::kKind, 1);
    box->TransientDialog().Toggle(TStepRespDialog::kZoom, true);
    EXPECT_TRUE(box->Changed());
    const std::string path = (dir_ / "step.box").string();
    ASSERT_TRUE(box->SaveTo(path));

    auto back = std::make_unique<TBassReflexBox>(host_, context_);
    ASSERT_TRUE(back->Load(path));
    TStepResponse& w = back->TransientWindow();
    w.BringUpToDate();
    EXPECT_EQ(w.Caption(), "Step response");
    EXPECT_EQ(w.PointCount(), 256);
    EXPECT_TRUE(w.HasData());
    EXPECT_EQ(back->TransientDialog().Selected(TStepRespDialog::kKind), 1);

    // A new project starts from the defaults again.
    back->Reset();
    EXPECT_EQ(back->TransientWindow().Caption(), "Impulse response");
    EXPECT_FALSE(back->TransientWindow().HasData());
}

TEST_F(TBoxTransientTest, ExportWritesTheShownCurveInEveryLayout)
{
    auto box = std::make_unique<TBassReflexBox>(host_, context_);
    ASSERT_TRUE(box->LoadFrontUnitFrom(unitPath()));
    TStepResponse& w = box->TransientWindow();
    ASSERT_EQ(w.PointCount(), 512);
    struct Row {
        const char* name;
        const char* firstLines; // the header as written
        int headerLines;
        int columns;
    };
    const Row rows[] = {
        {"t.frd", "   ms\n", 1, 3},
        {"t.ZMA", "   ms\n", 1, 3},
        {"t.fmp", "Impulse response\n   ms\n", 2, 3},
        {"t.fm", "Impulse response\n   ms\n", 2, 2},
        {"t.gdt", "* LEAP Version 4.00", 7, 3},
    };
    for (const Row& r : rows) {
        ASSERT_TRUE(box->ExportTo(TBoxExport::Transient, (dir_ / r.name).string())) << r.name;
        const std::string text = Read(dir_ / r.name);
        EXPECT_EQ(text.rfind(r.firstLines, 0), 0u) << r.name;
        std::istringstream lines(text);
        std::string line;
        int n = 0, data = 0;
        while (std::getline(lines, line)) {
            if (n++ < r.headerLines || line[0] == '*')
                continue;
            ++data;
            int tabs = static_cast<int>(std::count(line.begin(), line.end(), '\t'));
            ASSERT_EQ(tabs, r.columns - 1) << r.name << ": " << line;
            if (data == 2) { // time in ms, amplitude
                double t = 0, y = 0;
                ASSERT_EQ(std::sscanf(line.c_str(), " %lf\t%lf", &t, &y), 2);
                EXPECT_NEAR(t, 0.025, 1e-6);
                EXPECT_NEAR(y, w.Output()[1], 1e-6);
            }
        }
        EXPECT_EQ(data, 512) << r.name;
    }
    EXPECT_NE(Read(dir_ / "t.gdt").find("* Number of Points : 512\n*  Graph 1 > Impulse response\n"),
              std::string::npos);
    EXPECT_TRUE(box->HandlesCommand(TCmd::ExportTransient));
}

// The room and transient windows cost as much as the box itself: minimised, they wait
// for their first reader; shown, they follow every calculation; a fast calculation, which
// overwrites the box response, first gives them the response they were waiting for.
TEST_F(TBoxTransientTest, MinimisedRoomAndTransientWaitForTheirFirstReader)
{
    auto box = MakeClosed(0.02);
    TRoomCabinet& room = box->RoomModel();
    TStepResponse& transient = box->TransientWindow();
    box->Calculate(0);
    ASSERT_TRUE(host_.IsViewMinimised(room));
    EXPECT_TRUE(room.Deferred());
    EXPECT_TRUE(transient.Deferred());
    TRecordingCanvas canvas;
    room.Paint(canvas);
    transient.Paint(canvas);
    EXPECT_FALSE(room.Deferred());
    EXPECT_FALSE(transient.Deferred());
    const double level = room.Level()[10], output = transient.Output()[10];

    // A deferred window read after fast steps shows the last full calculation.
    box->Calculate(0);
    box->BoxVolume().Vb = 0.005;
    box->BoxVolume().dirty = true;
    box->fastMode = true;
    box->Calculate(0);
    EXPECT_EQ(room.Level()[10], level);
    EXPECT_EQ(transient.Output()[10], output);

    box->fastMode = false;
    host_.ShowView(room);
    host_.ShowView(transient);
    box->Calculate(0);
    EXPECT_FALSE(room.Deferred());
    EXPECT_FALSE(transient.Deferred());
    EXPECT_NE(room.Level()[10], level);
    EXPECT_NE(transient.Output()[10], output);
}
