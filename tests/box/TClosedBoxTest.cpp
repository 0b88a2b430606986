// The closed box end to end: physics of the sealed box, the project file layout and
// its bad forms, the recalculation requests and the box commands.

#include "box/TBoxDiagramDialogs.h"
#include "box/TBoxReport.h"
#include "box/TClosedBox.h"
#include "box/TClosedBoxDialog.h"
#include "box/elements/TBoxObject.h"
#include "core/TBinaryStream.h"
#include "core/TProgramFolder.h"
#include "driver/TSpeakerConfigDialog.h"
#include "driver/TSpkCalcMissing.h"
#include "settings/TMeasSetup.h"
#include "ui/TCommandIds.h"
#include "ui/THeadlessHost.h"
#include "support/ExampleWoofer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class TClosedBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedFolder_ = TProgramFolder::Get();
        dir_ = fs::temp_directory_path() / ("tonvek-closed-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        TProgramFolder::Set(dir_.string());
        setup_ = std::make_unique<TScopedMeasSetup>();
    }
    void TearDown() override
    {
        setup_.reset();
        TProgramFolder::Set(savedFolder_);
        fs::remove_all(dir_);
    }

    static void FillWoofer(TSpkData& u, double le = 0.0) { FillExampleWoofer(u, le); }

    std::unique_ptr<TClosedBox> MakeBox(double vb, double le = 0.0)
    {
        auto box = std::make_unique<TClosedBox>(host_);
        FillWoofer(box->FrontDriver(), le);
        box->FrontDriver().EvaluateComplete();
        box->BoxVolume().Vb = vb;
        box->BoxVolume().dirty = true;
        box->FrontDriver().outOfDate = true;
        return box;
    }

    void SetGrid(int start, int stop, int points)
    {
        TMeasSetup& s = CurrentMeasSetup();
        s.startFrequency = start;
        s.stopFrequency = stop;
        s.pointCount = points;
        s.setupChanged = true;
    }

    std::string unitPath()
    {
        std::string path = (dir_ / "woofer.unt").string();
        TSpkData u;
        FillWoofer(u, 0.41e-3);
        EXPECT_TRUE(u.Save(path));
        return path;
    }

    std::string savedFolder_;
    fs::path dir_;
    std::unique_ptr<TScopedMeasSetup> setup_;
    THeadlessHost host_;
};

} // namespace

TEST_F(TClosedBoxTest, ImpedancePeakAtSystemResonance)
{
    for (double vb : {0.007, 0.014, 0.03}) {
        auto box = MakeBox(vb);
        SetGrid(10, 400, 500);
        ASSERT_TRUE(box->FrontDriver().complete);
        box->Calculate(0);
        const TSpeakerObject& d = box->FrontDriver();
        int peak = 0;
        for (int i = 1; i < box->PointCount(); ++i)
            if (d.impedanceMagnitude[static_cast<std::size_t>(i)] > d.impedanceMagnitude[static_cast<std::size_t>(peak)])
                peak = i;
        // The air load adds a little mass, so the measured fs of the unit is kept.
        const double fc = d.fs * std::sqrt(1.0 + d.Vas / vb);
        EXPECT_NEAR(box->Grid().Frequency(peak), fc, 0.02 * fc) << "Vb " << vb;
    }
}

TEST_F(TClosedBoxTest, MinusThreeDecibelsMatchesSecondOrderHighPass)
{
    const double vb = 0.014;
    auto box = MakeBox(vb);
    SetGrid(10, 2000, 500);
    box->Calculate(0);
    const TSpeakerObject& d = box->FrontDriver();
    const double alpha = d.Vas / vb;
    const double fc = d.fs * std::sqrt(1 + alpha);
    const double qtc = d.Qts * std::sqrt(1 + alpha);
    // -3 dB of a 2nd-order high-pass: (f/fc)^2 = x with x solving |H|^2 = 1/2.
    const double a = 1.0 / (qtc * qtc) - 2.0;
    const double x = (-a + std::sqrt(a * a + 4.0)) / 2.0; // (fc/f3)^2
    const double f3 = fc / std::sqrt(x);
    ASSERT_GT(box->minus3dB, 0);
    EXPECT_NEAR(box->minus3dB, f3, 0.03 * f3);
}

TEST_F(TClosedBoxTest, DoublingVoltageAddsSixDecibelsAndDoublesExcursion)
{
    auto box = MakeBox(0.02, 0.41e-3);
    box->Calculate(0);
    auto spl = box->splTotal;
    auto excursion = box->FrontDriver().excursion;
    CurrentMeasSetup().SetSourceLevel(2 * 2.83);
    box->FrontDriver().outOfDate = true;
    box->Calculate(0);
    for (int i = 0; i < box->PointCount(); ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        EXPECT_NEAR(box->splTotal[j] - spl[j], 6.0206, 1e-3);
        EXPECT_NEAR(box->FrontDriver().excursion[j] / excursion[j], 2.0, 1e-9);
    }
}

TEST_F(TClosedBoxTest, TwoDriversInSeriesDoubleTheImpedance)
{
    auto one = MakeBox(0.02, 0.41e-3);
    SetGrid(20, 2000, 50);
    one->Calculate(0);
    // Each driver keeps its own share of air: twice the drivers in twice the volume.
    auto two = MakeBox(0.04, 0.41e-3);
    two->FrontDriver().SetNumberOfDrivers(2);
    two->FrontDriver().SetDriverConnection(0); // "Series"
    two->Calculate(0);
    for (int i = 0; i < one->PointCount(); ++i)
        EXPECT_NEAR(two->FrontDriver().impedanceMagnitude[static_cast<std::size_t>(i)] /
                        one->FrontDriver().impedanceMagnitude[static_cast<std::size_t>(i)],
                    2.0, 1e-9);
}

TEST_F(TClosedBoxTest, IncompleteDriverCalculatesNothing)
{
    TClosedBox box(host_);
    box.Calculate(0);
    EXPECT_TRUE(box.Report().Lines().empty());
    EXPECT_EQ(box.splTotal[0], 0.0);
}

TEST_F(TClosedBoxTest, ReportListsBoxDriverSetupAndMinus3dB)
{
    auto box = MakeBox(0.02);
    box->Calculate(0);
    const TBoxReport& r = box->Report();
    EXPECT_EQ(r.Title(), "CLOSED BOX");
    ASSERT_GE(r.Lines().size(), 6u);
    EXPECT_EQ(r.Lines()[0], "Box");
    EXPECT_EQ(r.Lines()[1], " Vol\t\t20.00 l");
    bool found = false;
    for (const auto& l : r.Lines())
        found = found || l.rfind(" -3dB point: \t", 0) == 0;
    EXPECT_TRUE(found);
    EXPECT_EQ(r.Lines().back(), "");
    EXPECT_GE(r.SecondColumn(), 0);
    EXPECT_EQ(r.Lines()[static_cast<std::size_t>(r.SecondColumn())], "Room and Cabinet");
}

TEST_F(TClosedBoxTest, EffectiveDriverAndQuickBox)
{
    // Qes 0.6 and Qms 3 give Qts 0.5; Vas 40 l.
    struct Row {
        const char* name;
        void (*change)(TSpeakerObject&, TMeasSetup&);
        double fsFactor, qts, totalVas, quickLitres;
    };
    const double root2 = std::sqrt(2.0);
    const Row rows[] = {
        {"plain", [](TSpeakerObject&, TMeasSetup&) {}, 1.0, 0.5, 0.04, 20.0},
        {"extra mass = Mms", [](TSpeakerObject& d, TMeasSetup&) { d.extraMass = d.Mms; }, 1.0 / root2, 0.5 * root2,
         0.04, 20.0 * root2},
        {"Rg = Re", [](TSpeakerObject& d, TMeasSetup& s) { s.sourceResistance = d.Re; }, 1.0, 1.0 / (1 / 1.2 + 1 / 3.0),
         0.04, 40.0 / (1 / 1.2 + 1 / 3.0)},
        {"double voice coil", [](TSpeakerObject& d, TMeasSetup&) { d.doubleVoiceCoil = 1; }, 1.0,
         1.0 / (1 / 0.3 + 1 / 3.0), 0.04, 40.0 / (1 / 0.3 + 1 / 3.0)},
        {"three drivers", [](TSpeakerObject& d, TMeasSetup&) { d.SetNumberOfDrivers(3); }, 1.0, 0.5, 0.12, 60.0},
        // The isobaric pair halves the total Vas; the quick box takes Vas times N.
        {"isobaric pair", [](TSpeakerObject& d, TMeasSetup&) { d.SetNumberOfDrivers(2); d.SetIsobaric(true); }, 1.0,
         0.5, 0.04, 40.0},
        // Beyond the dialog's 10000 l the volume stays at the limit.
        {"huge Vas", [](TSpeakerObject& d, TMeasSetup&) { d.Vas = 50.0; }, 1.0, 0.5, 50.0, 10000.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TScopedMeasSetup setup;
        auto box = MakeBox(0.05);
        TSpeakerObject& d = box->FrontDriver();
        d.Qes = 0.6;
        d.Qms = 3.0;
        d.Vas = 0.04;
        row.change(d, CurrentMeasSetup());
        box->QuickBox();
        EXPECT_NEAR(box->effectiveFs, d.fs * row.fsFactor, 1e-9);
        EXPECT_NEAR(box->effectiveQts, row.qts, 1e-12);
        EXPECT_NEAR(box->totalVas, row.totalVas, 1e-12);
        EXPECT_NEAR(box->BoxVolume().Vb * 1000.0, row.quickLitres, 1e-9);
    }
}

TEST_F(TClosedBoxTest, QuickBoxWithoutACompleteUnitChangesNothing)
{
    // A project opened without its unit: an empty Vas would size a box of no volume,
    // and a file holding one could not be opened again.
    TClosedBox box(host_);
    box.BoxVolume().Vb = 0.03;
    box.QuickBox();
    EXPECT_DOUBLE_EQ(box.BoxVolume().Vb, 0.03);
    EXPECT_GT(host_.Beeps(), 0);
    std::string path = (dir_ / "nounit.box").string();
    ASSERT_TRUE(box.SaveTo(path));
    TClosedBox again(host_);
    EXPECT_TRUE(again.Load(path));
}

TEST_F(TClosedBoxTest, RecalculationKinds)
{
    auto box = MakeBox(0.02);
    box->RecalcRequest(TRecalc::MarkUnchanged);
    EXPECT_FALSE(box->Changed());
    box->RecalcRequest(TRecalc::MarkChanged); // marks changed, calculates nothing
    EXPECT_TRUE(box->Changed());
    EXPECT_TRUE(box->Report().Lines().empty());
    CurrentMeasSetup().hidePhase = true;
    box->RecalcRequest(TRecalc::MarkChanged);
    EXPECT_FALSE(box->SplPlot().PhaseShown());
    box->RecalcRequest(TRecalc::Recalculate); // calculate immediately is on by default
    ASSERT_FALSE(box->Report().Lines().empty());
    auto spl = box->splTotal;
    auto phase = box->splPhase;
    auto delay = box->groupDelay;
    auto excursion = box->FrontDriver().excursion;
    auto impedance = box->FrontDriver().impedanceMagnitude;
    box->BoxVolume().Vb = 0.04;
    box->BoxVolume().dirty = true;
    box->RecalcRequest(TRecalc::ReportOnly); // report only: the curves stay
    EXPECT_EQ(box->Report().Lines()[1], " Vol\t\t40.00 l");
    EXPECT_EQ(box->splTotal, spl);
    EXPECT_EQ(box->splPhase, phase);
    EXPECT_EQ(box->groupDelay, delay);
    EXPECT_EQ(box->FrontDriver().excursion, excursion);
    EXPECT_EQ(box->FrontDriver().impedanceMagnitude, impedance);
}

TEST_F(TClosedBoxTest, GroupDelayWrapsAcrossPlusMinus180)
{
    auto box = MakeBox(0.02);
    box->Calculate(0);
    // The phase of a closed box passes through +-180 degrees low in the band; the group
    // delay stays finite and positive-going there instead of jumping by 360 degrees.
    for (int i = 0; i < box->PointCount(); ++i)
        EXPECT_LT(std::fabs(box->groupDelay[static_cast<std::size_t>(i)]), 100.0) << i;
}

TEST_F(TClosedBoxTest, GroupDelayTakesTheShortWayRoundEitherWrap)
{
    TClosedBox box(host_);
    const TFreqGrid& g = box.Grid();
    ASSERT_GE(g.Count(), 20);
    box.pressure.fill(TComplex(1.0, 0.0));
    box.pressure[4] = std::polar(1.0, 170.0 / TBoxEmbryo::kDegrees);
    box.pressure[6] = std::polar(1.0, -170.0 / TBoxEmbryo::kDegrees);
    box.pressure[14] = std::polar(1.0, -170.0 / TBoxEmbryo::kDegrees);
    box.pressure[16] = std::polar(1.0, 170.0 / TBoxEmbryo::kDegrees);
    box.FinishResponse();
    // 170 to -170 is +20 degrees, -170 to 170 is -20 degrees: same size, opposite sign.
    EXPECT_NEAR(box.groupDelay[5], -2.7777777777777777 * 20.0 / (g.Frequency(6) - g.Frequency(4)), 1e-9);
    EXPECT_NEAR(box.groupDelay[15], 2.7777777777777777 * 20.0 / (g.Frequency(16) - g.Frequency(14)), 1e-9);
}

TEST_F(TClosedBoxTest, ImportedDataFromBelowTheGridTakeOverAtUnityLevel)
{
    auto box = MakeBox(0.02);
    SetGrid(20, 2000, 50);
    TSpeakerObject& d = box->FrontDriver();
    for (std::size_t i = 0; i < d.importedResponse.size(); ++i)
        d.importedResponse[i] = std::polar(10.0 + static_cast<double>(i), -0.01 * static_cast<double>(i));
    d.importValid = true;
    d.transitionFrequency = 10; // below the first grid frequency
    d.autoLevelOffset = true;
    d.levelFactor = 3.0; // left over from an earlier merge
    d.levelOffset = 9.54;
    box->Calculate(0);
    EXPECT_EQ(box->transitionIndex, -1);
    EXPECT_EQ(d.levelFactor, 1.0);
    EXPECT_EQ(d.levelOffset, 0.0);
    for (int i = 0; i < box->PointCount(); ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        EXPECT_NEAR(box->splTotal[j], 20.0 * std::log10(10.0 + i), 1e-9) << i;
        EXPECT_NEAR(box->splPhase[j], -0.01 * i * TBoxEmbryo::kDegrees, 1e-9) << i;
    }
}

TEST_F(TClosedBoxTest, GroupDelaySpikesAreClippedAgainstUnclippedNeighbours)
{
    TClosedBox box(host_);
    const TFreqGrid& g = box.Grid();
    const int n = g.Count();
    ASSERT_GE(n, 30);
    // Imported phases made to give these group delays (ms): 0 except at 7, 10 and 13.
    std::vector<double> wanted(static_cast<std::size_t>(n), 0.0);
    wanted[7] = 5.0;
    wanted[10] = 3.0;
    wanted[13] = -1.0;
    std::vector<double> phase(static_cast<std::size_t>(n), 0.0);
    for (int i = 1; i + 1 < n; ++i)
        phase[static_cast<std::size_t>(i + 1)] = phase[static_cast<std::size_t>(i - 1)] -
            wanted[static_cast<std::size_t>(i)] * (g.Frequency(i + 1) - g.Frequency(i - 1)) / 2.7777777777777777;
    TSpeakerObject& d = box.FrontDriver();
    for (int i = 0; i < n; ++i)
        d.importedResponse[static_cast<std::size_t>(i)] = std::polar(1.0, phase[static_cast<std::size_t>(i)] / TBoxEmbryo::kDegrees);
    d.importValid = true;
    d.transitionFrequency = 1;
    box.pressure.fill(TComplex(1.0, 0.0));
    box.FinishResponse();
    // g'[i] = min(g[i], g[i-3] + g[i+3]) of the values before clipping.
    EXPECT_NEAR(box.groupDelay[7], 3.0, 1e-9);   // min(5, 0 + 3)
    EXPECT_NEAR(box.groupDelay[10], 3.0, 1e-9);  // min(3, 5 - 1), not 3 - 1 from the clipped 7
    EXPECT_NEAR(box.groupDelay[13], -1.0, 1e-9); // min(-1, 3 + 0)
    EXPECT_NEAR(box.groupDelay[16], -1.0, 1e-9); // min(0, -1 + 0)
    EXPECT_NEAR(box.groupDelay[19], 0.0, 1e-9);  // min(0, 0 + 0), not -1 from the clipped 16
    EXPECT_NEAR(box.groupDelay[4], 0.0, 1e-9);
}

TEST_F(TClosedBoxTest, MinusThreeDecibelSearch)
{
    TClosedBox box(host_);
    const TFreqGrid& g = box.Grid();
    const int n = g.Count();
    struct Row {
        const char* name;
        double slope; // dB per grid point
        int transition;
        double expected; // Hz, 0 = none
    };
    const Row rows[] = {
        // Rising to the last point: the crossing of (last - 3 dB) lies halfway between
        // points n - 3 and n - 2.
        {"rising", 2.0, -1, 0.5 * (g.Frequency(n - 3) + g.Frequency(n - 2))},
        // The reference is the last simulated point below the transition.
        {"with transition", 2.0, 20, 0.5 * (g.Frequency(17) + g.Frequency(18))},
        {"within 3 dB from the first point", 0.05, -1, 0.0},
        {"falling", -1.0, -1, 0.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (int i = 0; i < n; ++i)
            box.splTotal[static_cast<std::size_t>(i)] =
                row.transition >= 0 && i >= row.transition ? 500.0 : row.slope * i;
        box.transitionIndex = row.transition;
        EXPECT_NEAR(box.SearchMinus3dB(), row.expected, 1e-9);
    }
}

TEST_F(TClosedBoxTest, ReportHasNoMinus3dBLineWhenTheLevelNeverFalls3dB)
{
    auto box = MakeBox(0.02);
    SetGrid(500, 2000, 50); // well above the box resonance: the response is flat
    box->Calculate(0);
    ASSERT_FALSE(box->Report().Lines().empty());
    EXPECT_EQ(box->minus3dB, 0.0);
    for (const auto& line : box->Report().Lines())
        EXPECT_EQ(line.find("-3dB"), std::string::npos) << line;
    // The details then hold only the system's resonance and Q.
    const auto& lines = box->Report().Lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines.back(), "");
    EXPECT_EQ(lines[lines.size() - 4], "Additional details:");
    EXPECT_EQ(lines[lines.size() - 3].rfind(" Fc:", 0), 0u);
    EXPECT_EQ(lines[lines.size() - 2].rfind(" Qtc:", 0), 0u);
}

TEST_F(TClosedBoxTest, RecalculationKeepsTheCommandsOfOpenDialogsDisabled)
{
    auto box = MakeBox(0.02);
    box->OpenBoxDialog();
    box->OpenSetupDialog();
    box->OpenDriverConfig();
    box->OpenShowDiagrams();
    box->Calculate(0);
    for (int id : {TCmd::BoxDialog, TCmd::MeasSetup, TCmd::DriverConfig, TCmd::ShowDiagrams})
        EXPECT_EQ(host_.CommandEnabled(id), std::optional<bool>(false)) << id;
    EXPECT_EQ(host_.CommandEnabled(TCmd::Save), std::optional<bool>(true));
    // The closed box has no standing-wave modes: the command stays off and unhandled.
    EXPECT_NE(host_.CommandEnabled(TCmd::ExportModesSpl), std::optional<bool>(true));
    EXPECT_FALSE(box->HandlesCommand(TCmd::ExportModesSpl));
    box->BoxDialog()->Close();
    box->Calculate(0);
    EXPECT_EQ(host_.CommandEnabled(TCmd::BoxDialog), std::optional<bool>(true));
    EXPECT_EQ(host_.CommandEnabled(TCmd::MeasSetup), std::optional<bool>(false));
}

TEST_F(TClosedBoxTest, OpenDriverConfigurationShowsTheLevelOffsetOfTheLastCalculation)
{
    auto box = MakeBox(0.02);
    TSpeakerObject& d = box->FrontDriver();
    d.importedResponse.fill(TComplex(1.0, 0.0));
    d.importValid = true;
    d.transitionFrequency = 200;
    d.autoLevelOffset = true;
    d.SetLevelOffset(0.0);
    box->OpenDriverConfig();
    box->Calculate(0);
    ASSERT_GT(d.levelOffset, 40.0); // the simulated level at the seam, re 0 dB data
    EXPECT_DOUBLE_EQ(box->DriverConfigDialog().Dbl(TSpeakerConfigDialog::kLevelOffset).Value(), d.levelOffset);
}

TEST_F(TClosedBoxTest, ShowDiagramsListsEveryPlotAndBringsUpTheChosenOne)
{
    auto box = MakeBox(0.02);
    box->Calculate(0);
    box->RestoreStartWindows();
    host_.HideView(box->ExcursionPlot());
    box->OpenShowDiagrams();
    TDialogModel* show = nullptr;
    for (TDialogModel* d : host_.Dialogs())
        if (d->title == "Show diagrams")
            show = d;
    ASSERT_NE(show, nullptr);
    const TField* list = show->Find(TShowDiagramsDialog::kList);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->items.size(), 4u);
    EXPECT_EQ(list->items[0], "Free air SPL at 1m distance");
    EXPECT_EQ(list->items[1], "Impedance");
    EXPECT_EQ(list->items[2], "Cone excursion");
    EXPECT_EQ(list->items[3], "Group delay");
    show->Select(TShowDiagramsDialog::kList, 2);
    show->Press(TShowDiagramsDialog::kShow);
    EXPECT_FALSE(host_.IsViewMinimised(box->ExcursionPlot()));
}

// ---------------------------------------------------------------- project file

namespace {
constexpr std::size_t kClosedBoxFileSize = 4 + 2 + 16 + 63 + 271 + 271 + 378 + 28 + 95 + 1672 + 620 + 8 + 4 * 70 + 1 +
                                           70 + 2;
}

TEST_F(TClosedBoxTest, SavedFileHasTheBlockLayout)
{
    TClosedBox box(host_);
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    std::string path = (dir_ / "p.box").string();
    ASSERT_TRUE(box.SaveTo(path));
    EXPECT_FALSE(box.Changed());
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    ASSERT_EQ(bytes.size(), kClosedBoxFileSize);
    EXPECT_EQ(bytes[0], 0);       // type code 0
    EXPECT_EQ(bytes[4], 410 & 0xFF);
    EXPECT_EQ(bytes[5], 410 >> 8);
    EXPECT_EQ(bytes[bytes.size() - 2], 0x39);
    EXPECT_EQ(bytes[bytes.size() - 1], 0x30);
    // The unit lies in the program folder: stored without it.
    std::string stored(reinterpret_cast<const char*>(&bytes[4 + 2 + 16 + 63]));
    EXPECT_EQ(stored, "woofer.unt");
}

TEST_F(TClosedBoxTest, SaveAndLoadRoundTripUnchanged)
{
    TClosedBox box(host_);
    SetGrid(20, 2000, 80);
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    box.BoxVolume().Vb = 0.0333;
    box.BoxVolume().fill = 40;
    box.BoxVolume().dirty = true;
    box.FrontDriver().SetNumberOfDrivers(2);
    box.Calculate(0);
    std::string path = (dir_ / "round.box").string();
    ASSERT_TRUE(box.SaveTo(path));

    TClosedBox again(host_);
    host_.ClearMessages();
    ASSERT_TRUE(again.Load(path));
    EXPECT_TRUE(host_.Messages().empty());
    EXPECT_FALSE(again.Changed()); // no question when it is closed
    EXPECT_TRUE(again.AskSaveChanges());
    EXPECT_DOUBLE_EQ(again.BoxVolume().Vb, 0.0333);
    EXPECT_EQ(again.BoxVolume().fill, 40);
    EXPECT_EQ(again.FrontDriver().numberOfDrivers, 2);
    EXPECT_EQ(again.PointCount(), 80);
    EXPECT_EQ(again.splTotal, box.splTotal);
}

TEST_F(TClosedBoxTest, EveryTruncationFailsWithoutCrashing)
{
    TClosedBox box(host_);
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    std::string path = (dir_ / "full.box").string();
    ASSERT_TRUE(box.SaveTo(path));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    TClosedBox reader(host_);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        TBinaryReader in(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
        EXPECT_FALSE(reader.LoadFrom(in)) << cut;
    }
    TBinaryReader whole(bytes);
    EXPECT_TRUE(reader.LoadFrom(whole));
}

TEST_F(TClosedBoxTest, VersionsAndEndMark)
{
    TClosedBox box(host_);
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    std::string path = (dir_ / "v.box").string();
    ASSERT_TRUE(box.SaveTo(path));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));

    auto withVersion = [&](int v) {
        auto b = bytes;
        b[4] = static_cast<std::uint8_t>(v & 0xFF);
        b[5] = static_cast<std::uint8_t>(v >> 8);
        std::string p = (dir_ / ("v" + std::to_string(v) + ".box")).string();
        EXPECT_TRUE(SaveFileSafely(p, b.data(), b.size()));
        return p;
    };
    TClosedBox reader(host_);
    host_.ClearMessages();
    EXPECT_FALSE(reader.Load(withVersion(299)));
    EXPECT_TRUE(host_.Messages().empty());

    auto bad = bytes;
    ASSERT_EQ(bad.size(), kClosedBoxFileSize);
    bad[kClosedBoxFileSize - 1] = 0;
    std::string badPath = (dir_ / "mark.box").string();
    ASSERT_TRUE(SaveFileSafely(badPath, bad.data(), bad.size()));
    EXPECT_FALSE(reader.Load(badPath));
}

TEST_F(TClosedBoxTest, MissingUnitOpensWithoutResults)
{
    std::string unit = unitPath();
    TClosedBox box(host_);
    ASSERT_TRUE(box.LoadFrontUnitFrom(unit));
    std::string path = (dir_ / "nounit.box").string();
    ASSERT_TRUE(box.SaveTo(path));
    fs::remove(unit);
    TClosedBox reader(host_);
    host_.ClearMessages();
    ASSERT_TRUE(reader.Load(path));
    ASSERT_NE(host_.LastMessage(), nullptr);
    EXPECT_EQ(host_.LastMessage()->text, "Could not open file : woofer.unt\nCheck if path and filename is correct.");
    EXPECT_EQ(host_.LastMessage()->title, "Speaker unit load");
    EXPECT_EQ(reader.Report().Title(), "DRIVER UNIT INCOMPLETE");
    EXPECT_FALSE(reader.SplPlot().HasData());
}

TEST_F(TClosedBoxTest, FailedSaveKeepsOldFileAndReports)
{
    TClosedBox box(host_);
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    host_.QueueFileName((dir_ / "missing-folder" / "x.box").string());
    host_.ClearMessages();
    EXPECT_FALSE(box.SaveAs());
    EXPECT_EQ(host_.LastMessage()->text, "Could not open file.\nCheck if device is ready\nor if the disk is full.");
    EXPECT_EQ(host_.LastMessage()->title, "File save as");
    EXPECT_TRUE(box.Changed());
}

TEST_F(TClosedBoxTest, SaveWithoutAFileReportsUnderFileSave)
{
    TClosedBox box(host_);
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    host_.QueueFileName((dir_ / "missing-folder" / "x.box").string());
    host_.ClearMessages();
    EXPECT_FALSE(box.Save());
    ASSERT_NE(host_.LastMessage(), nullptr);
    EXPECT_EQ(host_.LastMessage()->text, "Could not open file.\nCheck if device is ready\nor if the disk is full.");
    EXPECT_EQ(host_.LastMessage()->title, "File save");
    EXPECT_TRUE(box.ProjectFileName().empty());
    EXPECT_TRUE(box.Changed());
}

TEST_F(TClosedBoxTest, AskSaveAnswers)
{
    TClosedBox box(host_);
    host_.QueueAnswer(TMsgAnswer::Cancel);
    EXPECT_FALSE(box.AskSaveChanges());
    EXPECT_EQ(host_.LastMessage()->text, "Project has been changed.\r\nSave project ?");
    EXPECT_EQ(host_.LastMessage()->title, "Box project");
    host_.QueueAnswer(TMsgAnswer::No);
    EXPECT_TRUE(box.AskSaveChanges());

    // Yes, then the save chooser cancelled or the save failing: the project stays
    // open with its changes.
    host_.QueueAnswer(TMsgAnswer::Yes);
    host_.QueueFileName(std::nullopt);
    EXPECT_FALSE(box.AskSaveChanges());
    host_.QueueAnswer(TMsgAnswer::Yes);
    host_.QueueFileName((dir_ / "missing-folder" / "x.box").string());
    EXPECT_FALSE(box.AskSaveChanges());
    EXPECT_TRUE(box.Changed());
    host_.QueueAnswer(TMsgAnswer::Yes);
    host_.QueueFileName((dir_ / "kept.box").string());
    EXPECT_TRUE(box.AskSaveChanges());
    EXPECT_FALSE(box.Changed());
    EXPECT_TRUE(fs::exists(dir_ / "kept.box"));
}

TEST_F(TClosedBoxTest, MissingSnapshotFileLeavesAnEmptySnapshotPath)
{
    TClosedBox box(host_);
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    std::string path = (dir_ / "snap.box").string();
    ASSERT_TRUE(box.SaveTo(path));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    const std::size_t snapshotAt = 4 + 2 + 16 + 63 + 271;
    std::ofstream(dir_ / "here.snp") << "x";
    for (const std::string name : {"gone.snp", "here.snp"}) {
        SCOPED_TRACE(name);
        auto b = bytes;
        std::copy(name.begin(), name.end(), b.begin() + static_cast<long>(snapshotAt));
        std::string named = (dir_ / "named.box").string();
        ASSERT_TRUE(SaveFileSafely(named, b.data(), b.size()));
        TClosedBox reader(host_);
        host_.ClearMessages();
        ASSERT_TRUE(reader.Load(named));
        EXPECT_TRUE(host_.Messages().empty());
        // Saved again, the project names the snapshot file only when it was there.
        std::string again = (dir_ / "again.box").string();
        ASSERT_TRUE(reader.SaveTo(again));
        std::vector<std::uint8_t> out;
        ASSERT_TRUE(ReadWholeFile(again, out));
        std::string stored(reinterpret_cast<const char*>(&out[snapshotAt]));
        EXPECT_EQ(stored, name == "gone.snp" ? "" : name);
    }
}

TEST_F(TClosedBoxTest, FailedUnitLoadKeepsTheProjectsUnit)
{
    TClosedBox box(host_);
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    const auto spl = box.splTotal;
    const TSpkData before = box.FrontDriver();
    // Another unit, cut in the middle of its parameters.
    TSpkData other;
    FillWoofer(other);
    for (int i = 0; i < kSpkParamCount; ++i)
        other.Param(static_cast<TSpkParam>(i)) *= 1.5;
    std::string damaged = (dir_ / "damaged.unt").string();
    ASSERT_TRUE(other.Save(damaged));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(damaged, bytes));
    bytes.resize(bytes.size() / 2);
    ASSERT_TRUE(SaveFileSafely(damaged, bytes.data(), bytes.size()));
    for (const std::string& path : {damaged, (dir_ / "none.unt").string()}) {
        SCOPED_TRACE(path);
        host_.ClearMessages();
        EXPECT_FALSE(box.LoadFrontUnitFrom(path));
        EXPECT_EQ(host_.LastMessage()->text, "Could not open file.\nCheck if device is ready.");
        EXPECT_TRUE(box.FrontDriver().complete);
        for (int i = 0; i < kSpkParamCount; ++i)
            EXPECT_EQ(box.FrontDriver().Param(static_cast<TSpkParam>(i)), before.Param(static_cast<TSpkParam>(i))) << i;
        EXPECT_STREQ(box.FrontDriver().fileName, before.fileName);
        box.Calculate(0);
        EXPECT_EQ(box.splTotal, spl);
    }
}

TEST_F(TClosedBoxTest, UnitLoadMessages)
{
    TClosedBox box(host_);
    host_.ClearMessages();
    EXPECT_FALSE(box.LoadFrontUnitFrom((dir_ / "none.unt").string()));
    EXPECT_EQ(host_.LastMessage()->text, "Could not open file.\nCheck if device is ready.");
    TSpkData partial;
    partial.fs = 30;
    std::string p = (dir_ / "partial.unt").string();
    ASSERT_TRUE(partial.Save(p));
    EXPECT_TRUE(box.LoadFrontUnitFrom(p));
    EXPECT_EQ(host_.LastMessage()->text, "Too few speaker parameters are defined");
    EXPECT_EQ(host_.CommandEnabled(TCmd::Calculate), std::optional<bool>(false));
}

TEST_F(TClosedBoxTest, ExportChoosesFormatByExtension)
{
    auto box = MakeBox(0.02);
    box->Calculate(0);
    host_.ClearMessages();
    EXPECT_FALSE(box->ExportTo(TBoxExport::Spl, (dir_ / "curve.xyz").string()));
    EXPECT_EQ(host_.LastMessage()->text, "No valid export format selected");
    EXPECT_EQ(host_.LastMessage()->title, "Export error");
    EXPECT_TRUE(box->ExportTo(TBoxExport::Spl, (dir_ / "curve.frd").string()));
    EXPECT_TRUE(box->ExportTo(TBoxExport::Impedance, (dir_ / "curve.ZMA").string()));
    EXPECT_TRUE(fs::file_size(dir_ / "curve.frd") > 100);
}

TEST_F(TClosedBoxTest, PrintListRules)
{
    TClosedBox box(host_);
    EXPECT_TRUE(box.AddToPrintList(0));
    EXPECT_FALSE(box.AddToPrintList(0));
    EXPECT_EQ(host_.LastMessage()->text, "Item already selected");
    EXPECT_FALSE(box.AddToPrintList(4)); // no such window
    EXPECT_FALSE(box.AddToPrintList(-1));
    EXPECT_EQ(box.PrintList().size(), 1u);
    EXPECT_TRUE(box.RemoveFromPrintList());
    EXPECT_FALSE(box.RemoveFromPrintList());
    EXPECT_EQ(host_.LastMessage()->text, "No items left");
    EXPECT_EQ(host_.LastMessage()->title, "");
}

TEST_F(TClosedBoxTest, BoxDialogStoresLitresAndRecalculates)
{
    auto box = MakeBox(0.02);
    box->OpenBoxDialog();
    TClosedBoxDialog* d = box->BoxDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->IsOpen());
    EXPECT_EQ(host_.CommandEnabled(TCmd::BoxDialog), std::optional<bool>(false));
    d->Type(TClosedBoxDialog::kVolume, "35");
    d->FocusField(TClosedBoxDialog::kQb);
    EXPECT_DOUBLE_EQ(box->BoxVolume().Vb, 0.035);
    EXPECT_EQ(box->Report().Lines()[1], " Vol\t\t35.00 l");
    d->Type(TClosedBoxDialog::kQb, "2"); // below 3: refused
    d->FocusField(TClosedBoxDialog::kQl);
    EXPECT_DOUBLE_EQ(box->BoxVolume().Qb, 15.0);
    EXPECT_GT(host_.Beeps(), 0);
}

TEST_F(TClosedBoxTest, PrintDiagramsPagesFollowTheListAndPerPage)
{
    auto box = MakeBox(0.02);
    box->Calculate(0);
    TDiagramPages all = box->DiagramPages();
    EXPECT_EQ(all.diagrams.size(), 4u); // an empty list prints the four standard plots
    EXPECT_EQ(all.PageCount(), 1);
    EXPECT_EQ(all.heading, "CLOSED BOX");
    box->diagramsPerPage = 3;
    EXPECT_EQ(box->DiagramPages().PageCount(), 2);
    ASSERT_TRUE(box->AddToPrintList(2));
    ASSERT_TRUE(box->AddToPrintList(0));
    TDiagramPages chosen = box->DiagramPages();
    ASSERT_EQ(chosen.diagrams.size(), 2u);
    EXPECT_EQ(chosen.diagrams[0]->Title(), "Cone excursion");
    EXPECT_TRUE(box->PrintDiagrams());
    ASSERT_EQ(host_.PrintJobs().size(), 1u);
    EXPECT_EQ(host_.PrintJobs()[0].name, "Tonvek print job");
    host_.SetPrintConfirmed(false);
    EXPECT_FALSE(box->PrintDiagrams());
}

TEST_F(TClosedBoxTest, WindowCommandsGoToTheActivePlot)
{
    auto box = MakeBox(0.02);
    box->Calculate(0);
    host_.SetActiveView(&box->ImpedancePlot());
    box->ImpedancePlot().placement.show = TShowState::Normal;
    ASSERT_TRUE(box->HandleCommand(TCmd::CopyWindow));
    EXPECT_EQ(host_.PicturesCopied(), 1);
    host_.QueueInput(std::string("impedance note"));
    ASSERT_TRUE(box->HandleCommand(TCmd::UserNote));
    EXPECT_EQ(box->ImpedancePlot().Note(), "impedance note");
    EXPECT_TRUE(box->Report().Note().empty());
    host_.SetActiveView(nullptr);
    box->RecalcRequest(TRecalc::MarkUnchanged);
    ASSERT_TRUE(box->HandleCommand(TCmd::UserNote));
    TInfoDialog* note = box->NoteDialog();
    ASSERT_NE(note, nullptr);
    note->Type(TInfoDialog::NoteId, "project note");
    note->FocusField(TBaseDialog::OkId);
    note->Press(TBaseDialog::OkId);
    EXPECT_EQ(box->NoteDialog(), nullptr);
    EXPECT_EQ(box->Report().Note(), "project note");
    EXPECT_EQ(box->InfoWindow().Notes(), "project note");
    EXPECT_TRUE(box->Changed());
}

TEST_F(TClosedBoxTest, OlderVersionsReadTheirShorterBlocksWithAWarning)
{
    TClosedBox box(host_);
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    box.BoxVolume().Vb = 0.025;
    box.BoxVolume().dirty = true;
    std::string path = (dir_ / "new.box").string();
    ASSERT_TRUE(box.SaveTo(path));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    ASSERT_EQ(bytes.size(), kClosedBoxFileSize);

    // Version 409: the setup block without its high-pass (12 bytes) and the driver
    // block without its load resistor (8 bytes). Version 300 also lacks the measured
    // data part of the room block (292 bytes).
    auto older = [&](int version) {
        std::vector<std::uint8_t> b = bytes;
        const std::size_t room = 22 + 63 + 271 + 271 + 378 + 28 + 95;
        if (version <= 309)
            b.erase(b.begin() + static_cast<long>(room + 1672 - 292), b.begin() + static_cast<long>(room + 1672));
        b.erase(b.begin() + static_cast<long>(22 + 63 + 271 + 271 + 370), b.begin() + static_cast<long>(22 + 63 + 271 + 271 + 378));
        b.erase(b.begin() + 22 + 51, b.begin() + 22 + 63);
        b[4] = static_cast<std::uint8_t>(version & 0xFF);
        b[5] = static_cast<std::uint8_t>(version >> 8);
        return b;
    };
    for (int version : {409, 300}) {
        TClosedBox reader(host_);
        host_.ClearMessages();
        TBinaryReader in(older(version));
        ASSERT_TRUE(reader.LoadFrom(in)) << version;
        ASSERT_FALSE(host_.Messages().empty());
        EXPECT_EQ(host_.Messages()[0].title, "Old project file");
        EXPECT_EQ(host_.Messages()[0].text, "This project file was created with an\nolder version of Tonvek.\n"
                                            "Remenber that project files are not\nbackwards compatible");
        EXPECT_DOUBLE_EQ(reader.BoxVolume().Vb, 0.025) << version;
        EXPECT_FALSE(reader.Report().Lines().empty()) << version; // the unit was found and calculated
        EXPECT_EQ(CurrentMeasSetup().fileVersion, 410);
    }
}
