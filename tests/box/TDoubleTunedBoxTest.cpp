// The double tuned bass reflex boxes, both types: the coupled tunings against their
// networks, the ports' output, compression, quick box, dialog, report, windows, file
// layout and damaged input. What every box type shares is in BoxFrameTest.

#include "box/TBassReflexDT2Box.h"
#include "box/TBassReflexDTBox.h"
#include "box/TBoxReport.h"
#include "box/TDoubleTunedDialog.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TElementConstants.h"
#include "box/elements/TPortObject.h"
#include "core/TBinaryStream.h"
#include "support/BoxTestBench.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using D = TDoubleTunedDialog;
namespace C = TElementConstants;

class TDoubleTunedBoxTest : public ::testing::TestWithParam<int>, protected BoxTestBench {
protected:
    void SetUp() override { Enter("tonvek-dt"); }
    void TearDown() override { Leave(); }

    bool TypeOne() const { return GetParam() == TBassReflexDTBox::kTypeCode; }
    std::unique_ptr<TDoubleTunedBox> Make()
    {
        if (TypeOne())
            return std::make_unique<TBassReflexDTBox>(host_, context_);
        return std::make_unique<TBassReflexDT2Box>(host_, context_);
    }
    // The example woofer, a 20 l rear box and an 8 l front box with the reset ports.
    std::unique_ptr<TDoubleTunedBox> MakeBox()
    {
        auto box = Make();
        Prepare(*box, 0.02);
        box->RearBox().Vb = 0.02;
        box->FrontBox().Vb = 0.008;
        return box;
    }
    static std::vector<double> Peaks(const TDoubleTunedBox& box, const std::vector<double>& values)
    {
        std::vector<double> at;
        for (std::size_t i = 1; i + 1 < values.size(); ++i)
            if (values[i] > values[i - 1] && values[i] >= values[i + 1])
                at.push_back(box.Grid().Frequency(static_cast<int>(i)));
        return at;
    }
    static bool Near(const std::vector<double>& at, double f, double tolerance)
    {
        for (double x : at)
            if (std::fabs(x - f) <= tolerance * f)
                return true;
        return false;
    }
};

std::vector<double> Column(const double* values, int n) { return std::vector<double>(values, values + n); }

} // namespace

TEST_P(TDoubleTunedBoxTest, CoupledTuningsAreTheResonancesOfTheLosslessNetwork)
{
    struct Row {
        double first, second; // volumes, m³
        int fill1, fill2;
        double l1, l2; // port lengths, m
        int n2;
    };
    const Row rows[] = {{0.02, 0.008, 0, 0, 0.1, 0.1, 1},
                        {0.05, 0.05, 0, 0, 0.2, 0.05, 1}, // equal volumes
                        {0.01, 0.04, 100, 30, 0.0, 0.3, 3}};
    for (const Row& row : rows) {
        auto box = Make();
        box->BoxVolume().Vb = row.first;
        box->SecondBox().Vb = row.second;
        box->BoxVolume().fill = row.fill1;
        box->SecondBox().fill = row.fill2;
        box->FirstPort().L = row.l1;
        box->SecondPort().L = row.l2;
        box->SecondPort().n = row.n2;
        box->UpdateCoupledTuning();
        const double m1 = box->FirstPort().AcousticMass(), m2 = box->SecondPort().AcousticMass();
        const double c1 = box->BoxVolume().Compliance(), c2 = box->SecondBox().Compliance();
        // The admittance the driver's chamber sees through the network (masses and
        // compliances only) vanishes at a tuning: the load on the cone is infinite.
        auto chamber = [&](double f) {
            const TComplex jw(0.0, C::kTwoPi * f);
            const TComplex y1 = jw * c1;
            if (TypeOne())
                return y1 + 1.0 / (jw * m1 + 1.0 / (jw * c2 + 1.0 / (jw * m2)));
            return y1 + 1.0 / (jw * m1) + 1.0 / (jw * m2 + 1.0 / (jw * c2));
        };
        for (const TPortObject* port : {&box->FirstPort(), &box->SecondPort()}) {
            const double f = port->fp;
            ASSERT_GT(f, 0.0);
            EXPECT_LT(std::abs(chamber(f)), 1e-6 * std::abs(TComplex(0, C::kTwoPi * f * c1))) << port->Name();
            // The volume set back from the tuning, with its box's fill, tunes the port
            // alone to the same value.
            const TBoxObject& in = port == &box->FirstPort() ? box->BoxVolume() : box->SecondBox();
            TPortObject alone("check");
            alone.L = port->L, alone.S = port->S, alone.D = port->D, alone.n = port->n;
            alone.V = port->V * in.ComplianceFactor();
            alone.UpdateTuning();
            EXPECT_NEAR(alone.fp, f, 1e-9 * f);
        }
        EXPECT_LT(box->FirstPort().fp, box->SecondPort().fp);
    }
}

TEST_P(TDoubleTunedBoxTest, EachPortPeaksNearItsOwnTuningAndTheConeRestsAtTheLowOne)
{
    // Type 1: the rear port joins the driver's chamber to the front box and tunes low,
    // the front port tunes high; type 2: the front port on the driver's chamber tunes
    // low, the rear port with the closed box high. Each port's output rises to a peak
    // near its own tuning; as in a single-tuned box, the cone's roll-off pulls the low
    // peak a little below the tuning. The cone rests near the low tuning, less exactly
    // when the closed box of type 2's quick box is filled and damped.
    struct Row {
        const char* name;
        bool quick;
        double portTolerance, coneTolerance;
    };
    for (const Row& row : {Row{"20 l and 8 l", false, 0.08, 0.02}, Row{"quick box", true, 0.08, 0.06}}) {
        SCOPED_TRACE(row.name);
        auto box = MakeBox();
        SetGrid(10, 1000, 500);
        if (row.quick)
            box->QuickBox();
        box->Calculate(0);
        const int n = box->PointCount();
        std::vector<double> rearSpl(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            rearSpl[static_cast<std::size_t>(i)] = 20.0 * std::log10(std::abs(
                                                              box->RearPort().pressure[static_cast<std::size_t>(i)]));
        const double rearTuning = box->RearPort().fp, frontTuning = box->FrontPort().fp;
        ASSERT_GT(std::max(rearTuning, frontTuning), 3 * std::min(rearTuning, frontTuning));
        EXPECT_TRUE(Near(Peaks(*box, Column(box->frontPortSpl.data(), n)), frontTuning, row.portTolerance))
            << frontTuning;
        EXPECT_TRUE(Near(Peaks(*box, rearSpl), rearTuning, row.portTolerance)) << rearTuning;
        std::vector<double> excursion = Column(box->FrontDriver().excursion.data(), n);
        for (double& x : excursion)
            x = -x;
        EXPECT_TRUE(Near(Peaks(*box, excursion), box->FirstPort().fp, row.coneTolerance)) << box->FirstPort().fp;
        // Far below both tunings the front port carries the cone's flow in antiphase:
        // the total falls well below the driver alone.
        EXPECT_LT(box->splTotal[0], box->driverSpl[0] - 6.0);
    }
}

TEST_P(TDoubleTunedBoxTest, WithTheSecondPortClosedTheFirstChamberIsAPlainReflexBox)
{
    if (!TypeOne()) {
        // Type 2 without its rear port: the front box and front port alone.
        auto box = MakeBox();
        box->SecondPort().S = 0.0;
        box->SecondPort().D = 0.0;
        SetGrid(10, 400, 500);
        box->Calculate(0);
        const double helmholtz = 1.0 / (C::kTwoPi *
                                        std::sqrt(box->FirstPort().AcousticMass() * box->BoxVolume().Compliance()));
        std::vector<double> excursion = Column(box->FrontDriver().excursion.data(), box->PointCount());
        for (double& x : excursion)
            x = -x;
        EXPECT_TRUE(Near(Peaks(*box, excursion), helmholtz, 0.02)) << helmholtz;
        for (int i = 0; i < box->PointCount(); ++i)
            EXPECT_EQ(box->secondPortSpeed[static_cast<std::size_t>(i)], 0.0);
        return;
    }
    // Type 1 with a closed front port: the rear port only moves air between two sealed
    // chambers, so nothing reaches the room but the cone.
    auto box = MakeBox();
    box->SecondPort().S = 0.0;
    box->SecondPort().D = 0.0;
    box->Calculate(0);
    for (int i = 0; i < box->PointCount(); ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        EXPECT_EQ(box->frontPortSpl[j], 0.0) << i; // no pressure: 0 dB, as the total shows it
        EXPECT_NEAR(box->splTotal[j], box->driverSpl[j], 1e-9) << i;
    }
}

TEST_P(TDoubleTunedBoxTest, AirSpeedIsFlowOverAreaAndCompressesAboveFifteenPointThree)
{
    auto box = MakeBox();
    box->SecondPort().n = 2;
    context_.MeasSetup().SetSourceLevel(40.0); // far beyond what the ports take
    box->Calculate(0);
    const int n = box->PointCount();
    const auto first = box->firstPortSpeed, second = box->secondPortSpeed;
    double highest = 0;
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        const TPortObject& p1 = box->FirstPort();
        const TPortObject& p2 = box->SecondPort();
        EXPECT_DOUBLE_EQ(first[j], std::abs(p1.volumeVelocity[j]) / (p1.S * p1.n));
        EXPECT_DOUBLE_EQ(second[j], std::abs(p2.volumeVelocity[j]) / (p2.S * 2));
        highest = std::max(highest, first[j]);
    }
    ASSERT_GT(highest, 16.0);
    box->FirstPort().SetNonLinearity(true);
    box->Calculate(0);
    // A port fed straight from the driver's chamber: v > 15.3 m/s becomes
    // sqrt(15.3 · v) (16 m/s reads 15.65), slower speeds stay. Type 2 feeds both ports
    // from that chamber; type 1's front port takes the already compressed rear flow.
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        auto compressed = [](double v) { return v > 15.3 ? std::sqrt(15.3 * v) : v; };
        EXPECT_NEAR(box->firstPortSpeed[j], compressed(first[j]), 1e-9 * first[j]) << i;
        if (TypeOne())
            EXPECT_LE(box->secondPortSpeed[j], second[j] * (1 + 1e-12)) << i;
        else
            EXPECT_NEAR(box->secondPortSpeed[j], compressed(second[j]), 1e-9 * second[j]) << i;
    }
}

TEST_P(TDoubleTunedBoxTest, EqualVolumesAreToldApartBeforeTheCalculation)
{
    auto box = MakeBox();
    box->BoxVolume().Vb = 0.03;
    box->SecondBox().Vb = 0.03;
    box->Calculate(0);
    EXPECT_DOUBLE_EQ(box->BoxVolume().Vb, 0.03);
    EXPECT_DOUBLE_EQ(box->SecondBox().Vb, 0.03 * 1.001);
    box->Calculate(0); // once apart, they stay as they are
    EXPECT_DOUBLE_EQ(box->SecondBox().Vb, 0.03 * 1.001);
}

TEST_P(TDoubleTunedBoxTest, QuickBoxSizesBothChambersAndPorts)
{
    auto box = MakeBox();
    TSpeakerObject& d = box->FrontDriver();
    d.SetNumberOfDrivers(2);
    box->SecondPort().n = 3;
    box->QuickBox();
    const double vas = d.Vas, area = box->effectiveFs * 0.004 * d.Sd * 2;
    EXPECT_NEAR(box->BoxVolume().Vb, 2 * vas, 1e-15);
    EXPECT_NEAR(box->SecondBox().Vb, vas, 1e-15);
    EXPECT_NEAR(box->FirstPort().S, area, 1e-15);
    EXPECT_NEAR(box->SecondPort().S, 2 * area / 3, 1e-15);
    EXPECT_NEAR(box->SecondPort().D, std::sqrt(4 * box->SecondPort().S / C::kPi), 1e-15);
    EXPECT_DOUBLE_EQ(box->FirstPort().L, 0.2);
    EXPECT_DOUBLE_EQ(box->SecondPort().L, 0.1);
    // Type 2's second chamber is the closed rear box: filled and damped.
    EXPECT_EQ(box->SecondBox().fill, TypeOne() ? 0 : 100);
    EXPECT_DOUBLE_EQ(box->SecondBox().Qb, TypeOne() ? 15.0 : 3.0);
    const double low = box->FirstPort().fp, high = box->SecondPort().fp;
    box->UpdateCoupledTuning();
    EXPECT_DOUBLE_EQ(box->FirstPort().fp, low);
    EXPECT_DOUBLE_EQ(box->SecondPort().fp, high);
    EXPECT_FALSE(box->Report().Lines().empty()); // recalculated

    // Without a complete unit nothing changes.
    auto empty = Make();
    const double before = empty->SecondBox().Vb;
    empty->QuickBox();
    EXPECT_DOUBLE_EQ(empty->SecondBox().Vb, before);
    EXPECT_GT(host_.Beeps(), 0);
}

TEST_P(TDoubleTunedBoxTest, DialogGroupsEditTheElementsOfTheirNames)
{
    auto box = MakeBox();
    box->OpenBoxDialog();
    auto& dialog = static_cast<TDoubleTunedDialog&>(*box->ExistingBoxDialog());
    EXPECT_EQ(dialog.title, "Double tuned bassreflex box");
    EXPECT_EQ(dialog.Field(D::kRearPort + D::kLength).group, "Rear port");
    auto type = [&dialog](int id, const char* text) {
        dialog.Type(id, text);
        dialog.FocusField(D::kNonLinearity);
    };
    // Volumes and fills move both shown tunings; nothing else does that in this dialog.
    const double low = box->FirstPort().fp, high = box->SecondPort().fp;
    type(D::kRearBox + D::kVolume, "30");
    EXPECT_DOUBLE_EQ(box->RearBox().Vb, 0.03);
    EXPECT_NE(dialog.Dbl(D::kRearPort + D::kResFreq).Value(), 0.0);
    EXPECT_NE(box->FirstPort().fp, low);
    EXPECT_NE(box->SecondPort().fp, high);
    const double afterVolume = box->SecondPort().fp;
    type(D::kFrontBox + D::kFill, "50");
    EXPECT_EQ(box->FrontBox().fill, 50);
    EXPECT_NE(box->SecondPort().fp, afterVolume);
    EXPECT_DOUBLE_EQ(dialog.Dbl(D::kFrontPort + D::kResFreq).Value(), box->FrontPort().fp);
    EXPECT_TRUE(dialog.Field(D::kFrontPort + D::kResFreq).dbl.ReadOnly());
    type(D::kRearBox + D::kQb, "4");
    EXPECT_DOUBLE_EQ(box->RearBox().Qb, 4.0);

    // A cross-section never solves a length: a zero-length port takes a wide diameter
    // (the single-port dialogs would refuse it: "Portlength < 0").
    type(D::kFrontPort + D::kLength, "0");
    host_.ClearMessages();
    type(D::kFrontPort + D::kDiameter, "20");
    EXPECT_TRUE(host_.Messages().empty());
    EXPECT_DOUBLE_EQ(box->FrontPort().L, 0.0);
    EXPECT_DOUBLE_EQ(box->FrontPort().D, 0.2);
    EXPECT_NEAR(dialog.Dbl(D::kFrontPort + D::kArea).Value(), C::kPi * 100.0, 1e-9);
    type(D::kRearPort + D::kArea, "50");
    EXPECT_DOUBLE_EQ(box->RearPort().S, 0.005);
    EXPECT_NEAR(box->RearPort().D, 2 * std::sqrt(0.005 / C::kPi), 1e-15);
    type(D::kRearPort + D::kCount, "4");
    EXPECT_EQ(box->RearPort().n, 4);
    type(D::kRearPort + D::kDiameter, "0.5"); // below 1 cm: refused
    EXPECT_NEAR(box->RearPort().S, 0.005, 1e-15);

    context_.MeasSetup().calculateImmediately = false; // a calculation would use the dirty marks up
    box->RearPort().dirty = box->FrontPort().dirty = false;
    dialog.Toggle(D::kNonLinearity, true);
    EXPECT_TRUE(box->RearPort().NonLinearity());
    EXPECT_TRUE(box->RearPort().dirty && box->FrontPort().dirty);

    context_.MeasSetup().calculateImmediately = true;
    dialog.Command(D::kFrequencyFit);
    ASSERT_NE(box->OptimiserDialog(), nullptr);
    EXPECT_EQ(box->OptimiserDialog()->title, "Frequency fit opt.");
    box->OptimiserDialog()->Close();
    dialog.Command(D::kQuickBox);
    EXPECT_DOUBLE_EQ(box->FirstPort().L, 0.2);
    EXPECT_DOUBLE_EQ(dialog.Dbl(D::kRearPort + D::kLength).Value(), TypeOne() ? 20.0 : 10.0);
}

TEST_P(TDoubleTunedBoxTest, ReportWindowsAndOwnCurves)
{
    auto box = MakeBox();
    box->Calculate(0);
    const TBoxReport& r = box->Report();
    EXPECT_EQ(r.Title(), TypeOne() ? "DOUBLE TUNED BASSREFLEX BOX 1" : "DOUBLE TUNED BASSREFLEX BOX 2");
    const std::vector<std::string>& lines = r.Lines();
    // First volume, second volume (no Ql lines), first port, second port.
    const char* first = TypeOne() ? "Rear" : "Front";
    const char* second = TypeOne() ? "Front" : "Rear";
    ASSERT_GE(lines.size(), 26u);
    EXPECT_EQ(lines[0], std::string(first) + " box");
    EXPECT_EQ(lines[4], std::string(second) + " box");
    EXPECT_EQ(lines[8], std::string(first) + " port");
    EXPECT_EQ(lines[16], std::string(second) + " port");
    EXPECT_EQ(lines[15].rfind(" Res freq.\t", 0), 0u);
    EXPECT_EQ(lines[23].rfind(" Res freq.\t", 0), 0u);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  Front port\tdX=0.15m\tdY=0.40m\tdZ=0.00m"), lines.end());
    ASSERT_GT(box->minus3dB, 0.0);
    EXPECT_EQ(lines[lines.size() - 2].rfind("  -3dB point: \t", 0), 0u);

    std::vector<TPlotXYEmbryo*> windows = box->DiagramWindows();
    ASSERT_EQ(windows.size(), 7u); // the room window and the transient window among the standard plots
    TPlotLogXLinY& speed = box->AirSpeedPlot();
    EXPECT_EQ(windows[6], &speed);
    EXPECT_EQ(speed.Title(), "Airspeed in port");
    EXPECT_EQ(speed.YUnit(), "m/s");
    ASSERT_EQ(speed.CurveCount(), 2);
    EXPECT_EQ(speed.Curve(0).label, std::string(first) + " port");
    EXPECT_EQ(speed.Curve(1).label, std::string(second) + " port");
    EXPECT_TRUE(speed.HasData());
    ASSERT_EQ(box->SplPlot().CurveCount(), 3); // Total, Driver, Front port; the target hidden
    EXPECT_EQ(box->SplPlot().Curve(2).label, "Front port");

    std::vector<TCurveColumn> own = box->OwnCurves();
    ASSERT_EQ(own.size(), 4u);
    EXPECT_EQ(own[0].header, "driver SPL/dB");
    EXPECT_EQ(own[1].header, "front port SPL/dB");
    EXPECT_EQ(own[2].header, TypeOne() ? "rear port air speed/m/s" : "front port air speed/m/s");
    EXPECT_EQ(own[3].values, box->secondPortSpeed.data());
}

// ---------------------------------------------------------------- project file

namespace {
// The closed box's file and the body: second volume, two port records, the air speed
// window.
constexpr std::size_t kCommonSize = 4 + 2 + 16 + 63 + 271 + 271 + 378 + 28 + 95 + 1672 + 620 + 8 + 4 * 70 + 1 + 70;
constexpr std::size_t kBodySize = 28 + 53 + 53 + 70;
} // namespace

TEST_P(TDoubleTunedBoxTest, SavedFileHasTheBlockLayoutAndReadsBack)
{
    auto box = Make();
    ASSERT_TRUE(box->LoadFrontUnitFrom(unitPath()));
    box->SecondBox().Vb = 0.0123;
    box->SecondBox().fill = 70;
    box->FirstPort().L = 0.17;
    box->SecondPort().n = 3;
    box->FrontPort().SetNonLinearity(true);
    box->SecondBox().dirty = box->FirstPort().dirty = box->SecondPort().dirty = true;
    std::string path = (dir_ / "dt.box").string();
    ASSERT_TRUE(box->SaveTo(path));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    ASSERT_EQ(bytes.size(), kCommonSize + kBodySize + 2);
    EXPECT_EQ(bytes[0], GetParam());
    EXPECT_EQ(bytes[bytes.size() - 2], 0x39);
    EXPECT_EQ(bytes[bytes.size() - 1], 0x30);

    auto again = Make();
    ASSERT_TRUE(again->Load(path));
    EXPECT_DOUBLE_EQ(again->SecondBox().Vb, 0.0123);
    EXPECT_EQ(again->SecondBox().fill, 70);
    EXPECT_DOUBLE_EQ(again->FirstPort().L, 0.17);
    EXPECT_EQ(again->SecondPort().n, 3);
    EXPECT_TRUE(again->RearPort().NonLinearity());
    EXPECT_EQ(again->splTotal, box->splTotal);
    EXPECT_FALSE(again->Changed());

    // A version 300 .. 399 file has 45-byte port records: straight ports. The older
    // common blocks as the closed box test builds them: setup without the high-pass
    // (12 bytes), driver without the load resistor (8), room without measured data (292).
    std::vector<std::uint8_t> old = bytes;
    const std::size_t body = kCommonSize + 28;
    old.erase(old.begin() + static_cast<long>(body + 53 + 45), old.begin() + static_cast<long>(body + 53 + 53));
    old.erase(old.begin() + static_cast<long>(body + 45), old.begin() + static_cast<long>(body + 53));
    const std::size_t room = 22 + 63 + 271 + 271 + 378 + 28 + 95;
    old.erase(old.begin() + static_cast<long>(room + 1672 - 292), old.begin() + static_cast<long>(room + 1672));
    old.erase(old.begin() + 22 + 63 + 271 + 271 + 370, old.begin() + 22 + 63 + 271 + 271 + 378);
    old.erase(old.begin() + 22 + 51, old.begin() + 22 + 63);
    old[4] = 300 & 0xFF;
    old[5] = 300 >> 8;
    auto reader = Make();
    TBinaryReader in(old);
    ASSERT_TRUE(reader->LoadFrom(in));
    EXPECT_DOUBLE_EQ(reader->FirstPort().L, 0.17);
    EXPECT_EQ(reader->SecondPort().n, 3);
    EXPECT_EQ(reader->FirstPort().c, 0.0);
    EXPECT_EQ(reader->SecondPort().c, 0.0);
}

// ---------------------------------------------------------------- damaged input

TEST_P(TDoubleTunedBoxTest, OddElementsGiveFiniteCurves)
{
    struct Row {
        const char* name;
        void (*change)(TDoubleTunedBox&);
    };
    const Row rows[] = {
        {"zero-length ports", [](TDoubleTunedBox& b) { b.FirstPort().L = 0, b.SecondPort().L = 0; }},
        {"zero-area first port", [](TDoubleTunedBox& b) { b.FirstPort().S = 0, b.FirstPort().D = 0; }},
        {"zero-area second port", [](TDoubleTunedBox& b) { b.SecondPort().S = 0; }},
        {"both ports closed",
         [](TDoubleTunedBox& b) {
             b.FirstPort().S = 0, b.FirstPort().D = 0, b.SecondPort().S = 0, b.SecondPort().D = 0;
         }},
        {"1e9 l boxes", [](TDoubleTunedBox& b) { b.BoxVolume().Vb = 1e6, b.SecondBox().Vb = 1e6; }},
        {"1e9 l second box, tiny first", [](TDoubleTunedBox& b) { b.BoxVolume().Vb = 1e-4, b.SecondBox().Vb = 1e6; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto box = MakeBox();
        row.change(*box);
        box->FirstPort().SetNonLinearity(true);
        box->Calculate(0);
        ASSERT_FALSE(box->Report().Lines().empty());
        std::vector<const double*> curves = {box->splTotal.data(), box->splPhase.data(), box->groupDelay.data(),
                                             box->FrontDriver().excursion.data(),
                                             box->FrontDriver().impedanceMagnitude.data()};
        for (const TCurveColumn& c : box->OwnCurves())
            curves.push_back(c.values);
        for (std::size_t k = 0; k < curves.size(); ++k)
            for (int i = 0; i < box->PointCount(); ++i)
                ASSERT_TRUE(std::isfinite(curves[k][i])) << "curve " << k << " point " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(BothTypes, TDoubleTunedBoxTest,
                         ::testing::Values(TBassReflexDTBox::kTypeCode, TBassReflexDT2Box::kTypeCode),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "type" + std::to_string(info.param - 1);
                         });
