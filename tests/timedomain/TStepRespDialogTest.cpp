#include "timedomain/TStepRespDialog.h"

#include "settings/TMeasSetup.h"
#include "timedomain/TStepResponse.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

using D = TStepRespDialog;
using TSettings = TStepRespSettings;

struct DialogBench {
    THeadlessHost host;
    TPlotStyles styles;
    TMeasSetup setup;
    std::array<TComplex, 500> response{};
    TStepResponse window{host, styles, nullptr, response.data(), setup};
    int changes = 0;
    std::filesystem::path dir = std::filesystem::temp_directory_path() / ("stepresp-" + std::to_string(::getpid()));
    D dialog{host, window,
             D::TOwner{.changed = [this] { ++changes; },
                       .hasResults = {},
                       .preferencesPath = (dir / "stepresp.prf").string()},
             10204};

    DialogBench()
    {
        std::filesystem::create_directories(dir);
        setup.LayoutGrid();
        response.fill(TComplex(1, 0));
        dialog.Open();
    }
    ~DialogBench() { std::filesystem::remove_all(dir); }
    void Enter(int id, const char* text)
    {
        dialog.Type(id, text);
        dialog.FocusField(D::kZoom);
    }
    const TSettings& S() const { return window.Settings(); }
};

} // namespace

TEST(TStepRespDialog, KindsEnableTheBurstControlsAndSetCaptionPointsAndCurves)
{
    DialogBench b;
    EXPECT_EQ(b.dialog.title, "Transient resp.");
    EXPECT_EQ(b.host.CommandEnabled(10204), std::optional<bool>(false));
    for (int id : {D::kFrequency, D::kPeriods, D::kShowInput})
        EXPECT_FALSE(b.dialog.Field(id).enabled) << id;

    b.dialog.Select(D::kKind, 2);
    EXPECT_EQ(b.S().kind, TSettings::ToneBurst);
    for (int id : {D::kFrequency, D::kPeriods, D::kShowInput})
        EXPECT_TRUE(b.dialog.Field(id).enabled) << id;
    EXPECT_EQ(b.window.Caption(), "Tone burst resp. 50.0 Hz, 3 periods");
    EXPECT_EQ(b.window.PointCount(), 1024);
    EXPECT_EQ(b.window.CurveCount(), 2); // show input is on by default
    EXPECT_TRUE(b.window.HasData());

    b.Enter(D::kFrequency, "123.45");
    b.Enter(D::kPeriods, "7");
    EXPECT_EQ(b.window.Caption(), "Tone burst resp. 123.5 Hz, 7 periods");
    b.dialog.Toggle(D::kShowInput, false);
    EXPECT_EQ(b.S().curvesShown, 1);
    EXPECT_EQ(b.window.CurveCount(), 1);
    b.dialog.Toggle(D::kZoom, true);
    EXPECT_EQ(b.window.PointCount(), 512);

    b.dialog.Select(D::kKind, 1);
    EXPECT_EQ(b.window.Caption(), "Step response");
    EXPECT_EQ(b.window.PointCount(), 256);
    EXPECT_FALSE(b.dialog.Field(D::kShowInput).enabled);
    EXPECT_GE(b.changes, 6);
}

TEST(TStepRespDialog, ValuesOutsideTheirRangesAreRefused)
{
    DialogBench b;
    b.dialog.Select(D::kKind, 2);
    struct Row {
        int id;
        const char* text;
    };
    for (const Row& r :
         {Row{D::kFrequency, "9.9"}, Row{D::kFrequency, "500.1"}, Row{D::kPeriods, "0"}, Row{D::kPeriods, "21"}})
        b.Enter(r.id, r.text);
    EXPECT_EQ(b.S().burstFrequency, 50.0);
    EXPECT_EQ(b.S().periods, 3);
    b.Enter(D::kFrequency, "500");
    b.Enter(D::kPeriods, "20");
    EXPECT_EQ(b.S().burstFrequency, 500.0);
    EXPECT_EQ(b.S().periods, 20);
}

TEST(TStepRespDialog, ResolutionSetsTheTimeStep)
{
    DialogBench b;
    ASSERT_EQ(D::ResolutionItems().size(), TStepResponse::kTimeSteps.size());
    for (int i = 6; i >= 0; --i) {
        b.dialog.Select(D::kResolution, i);
        EXPECT_EQ(b.S().timeStep, TStepResponse::kTimeSteps[static_cast<std::size_t>(i)]);
        EXPECT_DOUBLE_EQ(b.window.Times()[1], b.S().timeStep);
    }
    EXPECT_EQ(D::ResolutionIndex(0.2), 3);
    EXPECT_EQ(D::ResolutionIndex(0.0), 0);
}

TEST(TStepRespDialog, DisablingCalculationClearsTheWindowAndGreysTheControls)
{
    DialogBench b;
    b.dialog.Select(D::kKind, 2);
    ASSERT_TRUE(b.window.HasData());
    b.dialog.Toggle(D::kEnable, false);
    EXPECT_FALSE(b.window.HasData());
    for (int id : {D::kResolution, D::kKind, D::kFrequency, D::kPeriods, D::kShowInput, D::kZoom})
        EXPECT_FALSE(b.dialog.Field(id).enabled) << id;
    EXPECT_TRUE(b.dialog.Field(D::kEnable).enabled);
    b.window.Update(true); // a new calculation leaves it empty
    EXPECT_FALSE(b.window.HasData());
    b.dialog.Toggle(D::kEnable, true);
    EXPECT_TRUE(b.window.HasData());
    EXPECT_TRUE(b.dialog.Field(D::kFrequency).enabled);
}

TEST(TStepRespDialog, SaveWritesTheBlockAndDefaultRestores)
{
    DialogBench b;
    b.dialog.Select(D::kKind, 1);
    b.dialog.Command(D::kSave);
    EXPECT_EQ(std::filesystem::file_size(b.dir / "stepresp.prf"), TSettings::RecordSize);
    EXPECT_EQ(b.host.LastMessage(), nullptr);

    b.dialog.Command(D::kDefault);
    EXPECT_EQ(b.S().kind, TSettings::Impulse);
    EXPECT_EQ(b.dialog.Selected(D::kKind), 0);
    EXPECT_EQ(b.window.Caption(), "Impulse response");

    // A folder that is not there: the message, nothing else.
    std::filesystem::remove_all(b.dir);
    b.dialog.Command(D::kSave);
    ASSERT_NE(b.host.LastMessage(), nullptr);
    EXPECT_EQ(b.host.LastMessage()->text, "Could not save to file 'stepresp.prf'");
    EXPECT_EQ(b.host.LastMessage()->title, "Error");
}
