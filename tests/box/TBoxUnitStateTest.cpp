// What a box project shows and stores about its driver unit: an incomplete unit clears
// the results and says what it lacks, a unit without a file is not silently dropped
// from the project, unit names beside the project travel with it, and the closed box
// report gives the system's resonance and Q.

#include "box/TBoxReport.h"
#include "box/TClosedBox.h"
#include "box/elements/TBoxObject.h"
#include "driver/TSpeakerUnitDialog.h"
#include "settings/TProgramContext.h"
#include "support/ExampleWoofer.h"
#include "ui/TCommandIds.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class TBoxUnitStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("tonvek-unitstate-" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "program");
        fs::create_directories(dir_ / "work" / "units");
        context_.SetFolder((dir_ / "program").string());
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string SaveWoofer(const fs::path& path)
    {
        TSpkData u;
        FillExampleWoofer(u, 0.41e-3);
        EXPECT_TRUE(u.Save(path.string()));
        return path.string();
    }

    // A calculated closed box of `litres` on the example woofer read from a file.
    std::unique_ptr<TClosedBox> CalculatedBox(double litres, const fs::path& unit)
    {
        auto box = std::make_unique<TClosedBox>(host_, context_);
        box->BoxVolume().Vb = litres * 1e-3;
        box->BoxVolume().dirty = true;
        EXPECT_TRUE(box->LoadFrontUnitFrom(SaveWoofer(unit)));
        box->Calculate(0);
        return box;
    }

    static bool ReportHas(const TBoxReport& report, const std::string& text)
    {
        return std::any_of(report.Lines().begin(), report.Lines().end(),
                           [&](const std::string& l) { return l.find(text) != std::string::npos; });
    }

    static double ReportValue(const TBoxReport& report, const std::string& label)
    {
        for (const std::string& l : report.Lines())
            if (l.rfind(label, 0) == 0)
                return std::stod(l.substr(l.find('\t') + 1));
        ADD_FAILURE() << "no line " << label;
        return 0;
    }

    fs::path dir_;
    TProgramContext context_;
    THeadlessHost host_;
};

TEST_F(TBoxUnitStateTest, IncompleteUnitClearsResultsAndNamesWhatIsMissing)
{
    auto box = CalculatedBox(20, dir_ / "work" / "woofer.unt");
    ASSERT_TRUE(box->SplPlot().HasData());
    ASSERT_EQ(box->Report().Title(), "CLOSED BOX");

    // The editor's File > New, then fs, Qts and Vas typed and the missing fields
    // calculated: not enough for a simulation.
    TSpeakerObject& unit = box->FrontDriver();
    unit.Clear();
    unit.fs = 30;
    unit.Qts = 0.4;
    unit.Vas = 0.05;
    box->UnitChanged();

    EXPECT_EQ(host_.CommandEnabled(TCmd::Calculate), std::optional<bool>(false));
    for (TPlotXYEmbryo* plot : box->DiagramWindows())
        EXPECT_FALSE(plot->HasData()) << plot->Title();
    EXPECT_EQ(box->Report().Title(), "DRIVER UNIT INCOMPLETE");
    EXPECT_TRUE(ReportHas(box->Report(), "The driver unit is incomplete."));
    EXPECT_TRUE(ReportHas(box->Report(), "Missing: Qes, Qms, Re, Sd, Cms, Cas, Mms, Mmd, Rms, Bl"));
    EXPECT_EQ(box->InfoWindow().ReportTitle(), "DRIVER UNIT INCOMPLETE");

    // Completing it brings the results back.
    FillExampleWoofer(unit, 0.41e-3);
    box->UnitChanged();
    box->Calculate(0);
    EXPECT_TRUE(box->SplPlot().HasData());
    EXPECT_EQ(box->Report().Title(), "CLOSED BOX");
}

TEST_F(TBoxUnitStateTest, SavingAUnitWithoutFileAsksAndReopeningSaysSo)
{
    auto box = CalculatedBox(20, dir_ / "work" / "woofer.unt");
    // The editor's File > New forgets the unit's file; the unit is typed in again.
    box->OpenUnitEditor();
    ASSERT_NE(box->UnitEditor(), nullptr);
    ASSERT_TRUE(box->UnitEditor()->NewUnit());
    FillExampleWoofer(box->FrontDriver(), 0.41e-3);
    box->UnitChanged();

    const fs::path project = dir_ / "work" / "unsaved-unit.box";
    host_.ClearMessages();
    host_.QueueAnswer(TMsgAnswer::No);
    host_.QueueFileName(project.string());
    EXPECT_FALSE(box->SaveAs());
    ASSERT_NE(host_.LastMessage(), nullptr);
    EXPECT_NE(host_.LastMessage()->text.find("has not been saved to a unit file"), std::string::npos);
    EXPECT_FALSE(fs::exists(project)) << "No must not write the project";

    host_.QueueAnswer(TMsgAnswer::Yes);
    host_.QueueFileName(project.string());
    EXPECT_TRUE(box->SaveAs());
    EXPECT_TRUE(fs::exists(project));

    host_.ClearMessages();
    TClosedBox reopened(host_, context_);
    ASSERT_TRUE(reopened.Load(project.string()));
    ASSERT_FALSE(host_.Messages().empty());
    EXPECT_EQ(host_.Messages().front().text, "This project names no driver unit file.\nLoad a driver unit to calculate.");
    EXPECT_EQ(reopened.Report().Title(), "DRIVER UNIT INCOMPLETE");
    EXPECT_TRUE(ReportHas(reopened.Report(), "No driver unit is loaded."));
}

TEST_F(TBoxUnitStateTest, ProjectFolderMovesWithItsUnit)
{
    // The unit lies below the project's folder: the pair can be moved as a whole.
    auto box = CalculatedBox(20, dir_ / "work" / "units" / "woofer.unt");
    const fs::path project = dir_ / "work" / "moving.box";
    ASSERT_TRUE(box->SaveTo(project.string()));
    const double level = box->splTotal[100];

    fs::rename(dir_ / "work", dir_ / "moved");
    host_.ClearMessages();
    TClosedBox reopened(host_, context_);
    ASSERT_TRUE(reopened.Load((dir_ / "moved" / "moving.box").string()));
    EXPECT_TRUE(host_.Messages().empty()) << host_.Messages().front().text;
    ASSERT_TRUE(reopened.FrontDriver().complete);
    EXPECT_NEAR(reopened.splTotal[100], level, 1e-9);
}

TEST_F(TBoxUnitStateTest, ClosedBoxReportGivesFcAndQtcOfTheSealedBox)
{
    // Rg = 0 and no added mass: the effective driver is the data sheet's, and the
    // sealed box stiffens it by sqrt(1 + Vas/Vb).
    context_.MeasSetup().sourceResistance = 0;
    for (double litres : {7.0, 14.0, 40.0}) {
        auto box = CalculatedBox(litres, dir_ / "work" / "woofer.unt");
        const TSpkData& u = box->FrontDriver();
        const double k = std::sqrt(1 + u.Vas / (litres * 1e-3));
        EXPECT_NEAR(ReportValue(box->Report(), " Fc:"), u.fs * k, 0.01) << litres;
        EXPECT_NEAR(ReportValue(box->Report(), " Qtc:"), u.Qts * k, 0.002) << litres;
    }
}

} // namespace
