// The closed box itself: physics of the sealed box, its report, quick box and dialog,
// and its project file layout. What all box types share is in BoxFrameTest.

#include "box/TClosedBox.h"
#include "box/TBoxDiagramDialogs.h"
#include "box/TBoxReport.h"
#include "box/TClosedBoxDialog.h"
#include "box/elements/TBoxObject.h"
#include "core/TBinaryStream.h"
#include "driver/TSpeakerConfigDialog.h"
#include "driver/TSpkCalcMissing.h"
#include "settings/TProgramContext.h"
#include "support/BoxTestBench.h"
#include "support/ExampleWoofer.h"
#include "ui/TCommandIds.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class TClosedBoxTest : public ::testing::Test, protected BoxTestBench {
protected:
    void SetUp() override { Enter("tonvek-closed"); }
    void TearDown() override { Leave(); }

    std::unique_ptr<TClosedBox> MakeBox(double vb, double le = 0.0)
    {
        auto box = std::make_unique<TClosedBox>(host_, context_);
        Prepare(*box, vb, le);
        return box;
    }
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
    context_.MeasSetup().SetSourceLevel(2 * 2.83);
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
        context_.MeasSetup() = TMeasSetup();
        auto box = MakeBox(0.05);
        TSpeakerObject& d = box->FrontDriver();
        d.Qes = 0.6;
        d.Qms = 3.0;
        d.Vas = 0.04;
        row.change(d, context_.MeasSetup());
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
    TClosedBox box(host_, context_);
    box.BoxVolume().Vb = 0.03;
    box.QuickBox();
    EXPECT_DOUBLE_EQ(box.BoxVolume().Vb, 0.03);
    EXPECT_GT(host_.Beeps(), 0);
    std::string path = (dir_ / "nounit.box").string();
    ASSERT_TRUE(box.SaveTo(path));
    TClosedBox again(host_, context_);
    EXPECT_TRUE(again.Load(path));
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
    TClosedBox box(host_, context_);
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
    TClosedBox box(host_, context_);
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

// ---------------------------------------------------------------- project file

namespace {
constexpr std::size_t kClosedBoxFileSize = 4 + 2 + 16 + 63 + 271 + 271 + 378 + 28 + 95 + 1672 + 620 + 8 + 4 * 70 + 1 +
                                           70 + 2;
}

TEST_F(TClosedBoxTest, SavedFileHasTheBlockLayout)
{
    TClosedBox box(host_, context_);
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

TEST_F(TClosedBoxTest, VersionsAndEndMark)
{
    TClosedBox box(host_, context_);
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
    TClosedBox reader(host_, context_);
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

TEST_F(TClosedBoxTest, OlderVersionsReadTheirShorterBlocksWithAWarning)
{
    TClosedBox box(host_, context_);
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
        TClosedBox reader(host_, context_);
        host_.ClearMessages();
        TBinaryReader in(older(version));
        ASSERT_TRUE(reader.LoadFrom(in)) << version;
        ASSERT_FALSE(host_.Messages().empty());
        EXPECT_EQ(host_.Messages()[0].title, "Old project file");
        EXPECT_EQ(host_.Messages()[0].text, "This project file was created with an\nolder version of Tonvek.\n"
                                            "Remenber that project files are not\nbackwards compatible");
        EXPECT_DOUBLE_EQ(reader.BoxVolume().Vb, 0.025) << version;
        EXPECT_FALSE(reader.Report().Lines().empty()) << version; // the unit was found and calculated
        EXPECT_EQ(context_.MeasSetup().fileVersion, 410);
    }
}
