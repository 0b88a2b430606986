// The passive radiator box: its physics (tuning, flows, excursion and its limit), the
// alignment table lookup with its refusals, the quick box, the dialog's rules, the
// report, the file layout and bad input. What all box types share is in BoxFrameTest.

#include "box/TAbrBox.h"
#include "box/TAbrBoxDialog.h"
#include "box/TBoxReport.h"
#include "box/elements/TAbrObject.h"
#include "box/elements/TBoxObject.h"
#include "core/TBinaryStream.h"
#include "settings/TMeasSetup.h"
#include "support/BoxTestBench.h"
#include "ui/TCommandIds.h"
#include "ui/TNumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace {

class TAbrBoxTest : public ::testing::Test, protected BoxTestBench {
protected:
    void SetUp() override { Enter("tonvek-abr"); }
    void TearDown() override { Leave(); }

    std::unique_ptr<TAbrBox> MakeBox(double vb)
    {
        auto box = std::make_unique<TAbrBox>(host_, context_);
        Prepare(*box, vb);
        return box;
    }

    // Grid indices where the curve is lower than both neighbours, between f0 and f1.
    static std::vector<int> LocalMinima(const TAbrBox& box, const double* y, double f0, double f1)
    {
        std::vector<int> found;
        const TFreqGrid& g = box.Grid();
        for (int i = 1; i + 1 < g.Count(); ++i)
            if (g.Frequency(i) > f0 && g.Frequency(i) < f1 && y[i] < y[i - 1] && y[i] < y[i + 1])
                found.push_back(i);
        return found;
    }

    // Every per-point curve the project shows or exports.
    static void ExpectFiniteCurves(const TAbrBox& box)
    {
        const double* curves[] = {box.splTotal.data(),
                                  box.splPhase.data(),
                                  box.groupDelay.data(),
                                  box.impedancePhase.data(),
                                  box.driverSpl.data(),
                                  box.radiatorSpl.data(),
                                  box.Radiator().excursion.data(),
                                  box.FrontDriver().excursion.data(),
                                  box.FrontDriver().impedanceMagnitude.data()};
        for (std::size_t c = 0; c < std::size(curves); ++c)
            for (int i = 0; i < box.PointCount(); ++i)
                ASSERT_TRUE(std::isfinite(curves[c][i])) << "curve " << c << " point " << i;
    }

    // A driver whose effective total Q is q: Qms 3 and the Qes that gives q with it.
    static void SetEffectiveQts(TSpeakerObject& d, double q)
    {
        d.Qms = 3.0;
        d.Qes = 1.0 / (1.0 / q - 1.0 / 3.0);
        d.Qts = q;
    }
};

} // namespace

// ---------------------------------------------------------------- physics

TEST_F(TAbrBoxTest, TunedWithFbTheConeRestsAtFbAndTheTotalDipsAtFp)
{
    struct Row {
        double vb, vap, sdCm2, fb;
        int units;
    };
    const Row rows[] = {
        {0.020, 0.100, 300.0, 35.0, 1}, // the reset radiator, tuned low
        {0.014, 0.020, 200.0, 45.0, 1}, // a stiffer suspension: fp closer to fb
        {0.030, 0.040, 150.0, 28.0, 2}, // two units sharing the box
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.fb);
        auto box = MakeBox(r.vb);
        SetGrid(5, 400, 500);
        box->OpenBoxDialog();
        TAbrBoxDialog& d = *box->BoxDialog();
        d.Type(TAbrBoxDialog::kVap, std::to_string(r.vap * 1000.0));
        d.Type(TAbrBoxDialog::kSd, std::to_string(r.sdCm2));
        d.Type(TAbrBoxDialog::kCount, std::to_string(r.units));
        d.Type(TAbrBoxDialog::kFb, std::to_string(r.fb));
        d.FocusField(TAbrBoxDialog::kXmax);
        const TAbrObject& abr = box->Radiator();
        ASSERT_NEAR(abr.fb, r.fb, 1e-9);
        ASSERT_LT(abr.fp, 0.8 * r.fb);
        // fb is the radiator's mass on its own suspension and its share of the box.
        EXPECT_NEAR(abr.fb, abr.fp * std::sqrt(1.0 + r.vap * r.units / r.vb), 1e-9 * r.fb);

        // The cone's excursion has one minimum above fp, at fb; the radiators' air
        // loads pull it a little lower.
        const auto cone = LocalMinima(*box, box->FrontDriver().excursion.data(), 1.2 * abr.fp, 400.0);
        ASSERT_EQ(cone.size(), 1u);
        const double fCone = box->Grid().Frequency(cone[0]);
        EXPECT_NEAR(fCone, r.fb, 0.05 * r.fb);
        // The radiators' flow cancels the cone's where the radiator resonates on its
        // own: the total response has its one dip below fb there.
        const auto dip = LocalMinima(*box, box->splTotal.data(), 0.0, r.fb);
        ASSERT_EQ(dip.size(), 1u);
        EXPECT_NEAR(box->Grid().Frequency(dip[0]), abr.fp, 0.10 * abr.fp);
        // At fb the radiators play louder than the cone.
        const std::size_t at = static_cast<std::size_t>(cone[0]);
        EXPECT_GT(box->radiatorSpl[at], box->driverSpl[at]);
    }
}

TEST_F(TAbrBoxTest, FlowIsConservedAndEachUnitCarriesItsShare)
{
    for (int units : {1, 3}) {
        SCOPED_TRACE(units);
        auto box = MakeBox(0.02);
        box->FrontDriver().SetNumberOfDrivers(2);
        box->Radiator().n = units;
        box->Radiator().dirty = true;
        SetGrid(10, 1000, 60);
        box->Calculate(0);
        const TAbrObject& abr = box->Radiator();
        const TFreqGrid& g = box->Grid();
        for (int i = 0; i < g.Count(); ++i) {
            const auto j = static_cast<std::size_t>(i);
            const TComplex cone = 2.0 * box->FrontDriver().volumeVelocity[j];
            const TComplex chamber = cone * box->loadImpedance[j];
            // What the cones push in is what the air takes up plus what the radiators
            // push out.
            const TComplex balance = cone - chamber / box->BoxVolume().impedance[j] - abr.volumeVelocity[j];
            EXPECT_LT(std::abs(balance), 1e-9 * std::abs(cone)) << i;
            // One unit's excursion from its own flow, 1/units of the total.
            const double x = std::abs(abr.volumeVelocity[j]) / units / (abr.Sd * g.Omega(i)) * 2828.0;
            EXPECT_NEAR(abr.excursion[j], x, 1e-9 * x) << i;
            // The radiated pressure is that of all units.
            const TComplex k(0.0, TBoxEmbryo::kPressureConstant);
            EXPECT_NEAR(box->radiatorSpl[j], 20.0 * std::log10(std::abs(k * g.Frequency(i) * abr.volumeVelocity[j])),
                        1e-9);
            EXPECT_NEAR(box->driverSpl[j], 20.0 * std::log10(std::abs(k * g.Frequency(i) * cone)), 1e-9);
            EXPECT_LT(std::abs(box->pressure[j] - (box->FrontDriver().auxPressure[j] - abr.pressure[j])),
                      1e-9 * std::abs(box->pressure[j]));
        }
    }
}

TEST_F(TAbrBoxTest, ExcursionLimitNeedsTheSwitchAndAnXmax)
{
    struct Row {
        bool on;
        double xmaxMm;
        bool limited;
    };
    const Row rows[] = {{false, 1.0, false}, {true, 0.0, false}, {true, 1.0, true}};
    auto free = MakeBox(0.02);
    SetGrid(10, 400, 100);
    free->Calculate(0);
    const auto freeExcursion = free->Radiator().excursion;
    const auto freeSpl = free->radiatorSpl;
    double largest = 0;
    for (double x : freeExcursion)
        largest = std::max(largest, x);
    ASSERT_GT(largest, 2.0) << "the example must drive the radiator beyond the limit";
    for (const Row& r : rows) {
        SCOPED_TRACE(r.xmaxMm);
        auto box = MakeBox(0.02);
        SetGrid(10, 400, 100);
        box->Radiator().nonLinearity = r.on;
        box->Radiator().Xmax = r.xmaxMm * 0.001;
        box->Calculate(0);
        for (int i = 0; i < box->PointCount(); ++i) {
            const auto j = static_cast<std::size_t>(i);
            const double x = box->Radiator().excursion[j];
            if (r.limited && freeExcursion[j] > r.xmaxMm) {
                // sqrt(Xmax / x) applied to the excursion and the flow.
                EXPECT_NEAR(x, std::sqrt(r.xmaxMm * freeExcursion[j]), 1e-9 * x) << i;
                EXPECT_NEAR(box->radiatorSpl[j], freeSpl[j] + 10.0 * std::log10(r.xmaxMm / freeExcursion[j]), 1e-9);
            } else {
                EXPECT_DOUBLE_EQ(x, freeExcursion[j]) << i;
            }
        }
    }
}

// ---------------------------------------------------------------- table lookup

TEST_F(TAbrBoxTest, AlignmentRowsByEffectiveQts)
{
    struct Row {
        double qts;
        bool found;
        double rowQts, h, alpha;
    };
    const Row rows[] = {
        {0.2, true, 0.20, 2.10, 8.21},
        {0.19999, false, 0, 0, 0},
        {0.405, true, 0.41, 1.21, 1.30},
        {0.41, true, 0.41, 1.21, 1.30},
        {0.4100000000001, true, 0.41, 1.21, 1.30},
        {0.411, true, 0.42, 1.19, 1.22},
        {0.48, true, 0.48, 1.00, 0.73},
        {0.6 + 0.005, true, 0.60, 0.68, 0.28},
        {0.61, true, 0.60, 0.68, 0.28},
        {0.6100001, false, 0, 0, 0},
        {std::nan(""), false, 0, 0, 0},
        {0.0, false, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.qts);
        const auto row = TAbrBox::AlignmentFor(r.qts);
        ASSERT_EQ(row.has_value(), r.found);
        if (!row)
            continue;
        EXPECT_DOUBLE_EQ(row->qts, r.rowQts);
        EXPECT_DOUBLE_EQ(row->h, r.h);
        EXPECT_DOUBLE_EQ(row->alpha, r.alpha);
    }
}

TEST_F(TAbrBoxTest, TableLookupSizesTheBoxFromTheRow)
{
    struct Row {
        const char* name;
        double qts;
        int drivers;
        bool isobaric;
        double h, alpha;
    };
    const Row rows[] = {
        {"one driver", 0.35, 1, false, 1.39, 2.06},
        {"three drivers", 0.5, 3, false, 0.95, 0.65},
        {"isobaric pair", 0.3, 2, true, 1.56, 3.08},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        auto box = MakeBox(0.05);
        TSpeakerObject& d = box->FrontDriver();
        SetEffectiveQts(d, r.qts);
        d.SetNumberOfDrivers(r.drivers);
        if (r.isobaric)
            d.SetIsobaric(true);
        box->BoxVolume().Qb = 5.0;
        box->Radiator().SetSd(0.02);
        box->OpenBoxDialog();
        host_.ClearMessages();
        box->BoxDialog()->Command(TAbrBoxDialog::kTableLookup);
        EXPECT_TRUE(host_.Messages().empty());
        const double half = r.isobaric ? 0.5 : 1.0;
        const TAbrObject& abr = box->Radiator();
        EXPECT_NEAR(box->BoxVolume().Vb, r.drivers * d.Vas / r.alpha * half, 1e-12);
        EXPECT_EQ(box->BoxVolume().Qb, 15.0);
        EXPECT_NEAR(abr.Vap, d.Vas * half, 1e-12);
        EXPECT_EQ(abr.n, r.drivers);
        EXPECT_EQ(abr.Sd, 0.02) << "the radiator keeps its area";
        EXPECT_NEAR(abr.fb, box->effectiveFs * r.h, 1e-9);
        // The dialog shows the sized box, and the project was calculated with it.
        EXPECT_NEAR(std::stod(box->BoxDialog()->Field(TAbrBoxDialog::kFb).ShownValue()), box->effectiveFs * r.h, 0.051);
        EXPECT_NE(box->Report().Lines()[1].find(TNumberText::FormatDouble("%3.2f", box->BoxVolume().Vb * 1000)),
                  std::string::npos);
    }
}

TEST_F(TAbrBoxTest, TableLookupOutsideTheTableChangesNothing)
{
    struct Row {
        double qts;
        const char* text;
        const char* title;
    };
    const Row rows[] = {
        {0.19, "Minimum value 0.20", "Qts value too low"},
        {0.62, "Maximum value 0.61", "Qts value too high"},
        {0.9, "Maximum value 0.61", "Qts value too high"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.qts);
        auto box = MakeBox(0.033);
        SetEffectiveQts(box->FrontDriver(), r.qts);
        box->Calculate(0);
        box->RecalcRequest(TRecalc::MarkUnchanged);
        const double vap = box->Radiator().Vap, mms = box->Radiator().Mms, fb = box->Radiator().fb;
        const auto spl = box->splTotal;
        host_.ClearMessages();
        EXPECT_FALSE(box->TableLookup());
        ASSERT_EQ(host_.Messages().size(), 1u);
        EXPECT_EQ(host_.Messages()[0].text, r.text);
        EXPECT_EQ(host_.Messages()[0].title, r.title);
        EXPECT_EQ(box->BoxVolume().Vb, 0.033);
        EXPECT_EQ(box->Radiator().Vap, vap);
        EXPECT_EQ(box->Radiator().Mms, mms);
        EXPECT_EQ(box->Radiator().fb, fb);
        EXPECT_EQ(box->splTotal, spl);
        EXPECT_FALSE(box->Changed());
    }
    // Without a complete unit there is no Q: a beep, no message.
    TAbrBox empty(host_, context_);
    host_.ClearMessages();
    const int beeps = host_.Beeps();
    EXPECT_FALSE(empty.TableLookup());
    EXPECT_FALSE(empty.QuickBox());
    EXPECT_TRUE(host_.Messages().empty());
    EXPECT_EQ(host_.Beeps(), beeps + 2);
}

// ---------------------------------------------------------------- quick box

TEST_F(TAbrBoxTest, QuickBoxCopiesTheConeIntoOneRadiatorPerDriver)
{
    struct Row {
        const char* name;
        int drivers;
        bool isobaric;
        double totalVas;
        double fpRatio; // fp / fs
    };
    // A radiator with the cone's mass and suspension resonates near the driver's fs;
    // each unit of an isobaric pair gets half the suspension volume, so sqrt(2) higher.
    const Row rows[] = {
        {"one driver", 1, false, 0.014, 1.0},
        {"two drivers", 2, false, 0.028, 1.0},
        {"isobaric pair", 2, true, 0.014, std::sqrt(2.0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        auto box = MakeBox(0.05);
        TSpeakerObject& d = box->FrontDriver();
        d.SetNumberOfDrivers(r.drivers);
        if (r.isobaric)
            d.SetIsobaric(true);
        box->OpenBoxDialog();
        box->BoxDialog()->Command(TAbrBoxDialog::kQuickBox);
        const TAbrObject& abr = box->Radiator();
        EXPECT_NEAR(box->totalVas, r.totalVas, 1e-12);
        EXPECT_NEAR(box->BoxVolume().Vb, 1.5 * r.totalVas, 1e-12);
        EXPECT_DOUBLE_EQ(abr.Sd, d.Sd);
        EXPECT_NEAR(abr.a, std::sqrt(d.Sd / 3.14159265359), 1e-12);
        EXPECT_DOUBLE_EQ(abr.Mmp, d.Mmd);
        EXPECT_NEAR(abr.Mms, d.Mmd + 3.15 * std::pow(abr.a, 3), 1e-15);
        EXPECT_NEAR(abr.Vap, r.totalVas / r.drivers, 1e-12);
        EXPECT_EQ(abr.n, r.drivers);
        EXPECT_NEAR(abr.fp, d.fs * r.fpRatio, 0.1 * d.fs * r.fpRatio);
        EXPECT_FALSE(box->Report().Lines().empty());
    }
}

// ---------------------------------------------------------------- dialog

TEST_F(TAbrBoxTest, DialogFieldsFollowEachOther)
{
    auto box = MakeBox(0.05);
    box->OpenBoxDialog();
    TAbrBoxDialog& d = *box->BoxDialog();
    EXPECT_EQ(d.title, "ABR box");
    EXPECT_EQ(host_.CommandEnabled(TCmd::BoxDialog), std::optional<bool>(false));
    const TAbrObject& abr = box->Radiator();
    EXPECT_EQ(d.Field(TAbrBoxDialog::kFp).ShownValue(), "50.0");
    EXPECT_EQ(d.Field(TAbrBoxDialog::kMmp).ShownValue(), "10.0");

    // Fb sets the mass, which the Fp and Mmp fields show.
    d.Type(TAbrBoxDialog::kFb, "30");
    d.FocusField(TAbrBoxDialog::kXmax);
    EXPECT_NEAR(abr.fb, 30.0, 1e-9);
    EXPECT_EQ(d.Field(TAbrBoxDialog::kFp).ShownValue(), TNumberText::FormatDouble("%2.1f", 30.0 / std::sqrt(3.0)));
    EXPECT_EQ(d.Field(TAbrBoxDialog::kMmp).ShownValue(), TNumberText::FormatDouble("%3.1f", abr.Mmp * 1000.0));
    EXPECT_GT(abr.Mmp, 0.01);

    // A larger box softens the spring: Fb falls at once.
    d.Type(TAbrBoxDialog::kVolume, "100");
    d.FocusField(TAbrBoxDialog::kQb);
    EXPECT_NEAR(abr.fb, abr.fp * std::sqrt(2.0), 1e-9);
    EXPECT_EQ(d.Field(TAbrBoxDialog::kFb).ShownValue(), TNumberText::FormatDouble("%2.1f", abr.fb));

    // Out of range: refused with a beep, nothing changes.
    const int beeps = host_.Beeps();
    d.Type(TAbrBoxDialog::kMmp, "0"); // a radiator without mass
    d.FocusField(TAbrBoxDialog::kQb);
    d.Type(TAbrBoxDialog::kCount, "10");
    d.FocusField(TAbrBoxDialog::kQb);
    EXPECT_EQ(host_.Beeps(), beeps + 2);
    EXPECT_GT(abr.Mmp, 0.01);
    EXPECT_EQ(abr.n, 1);

    // Xmax 0 clears and disables the check box; the setting is kept for later.
    d.Toggle(TAbrBoxDialog::kNonLinearity, true);
    EXPECT_TRUE(abr.nonLinearity);
    d.Type(TAbrBoxDialog::kXmax, "0");
    d.FocusField(TAbrBoxDialog::kQb);
    EXPECT_FALSE(d.Field(TAbrBoxDialog::kNonLinearity).enabled);
    EXPECT_FALSE(d.Checked(TAbrBoxDialog::kNonLinearity));
    EXPECT_TRUE(abr.nonLinearity);
    d.Type(TAbrBoxDialog::kXmax, "5");
    d.FocusField(TAbrBoxDialog::kQb);
    EXPECT_TRUE(d.Field(TAbrBoxDialog::kNonLinearity).enabled);
    EXPECT_TRUE(d.Checked(TAbrBoxDialog::kNonLinearity));
    EXPECT_NE(std::find(box->Report().Lines().begin(), box->Report().Lines().end(),
                        " Simulation of abr unit non linearity ON"),
              box->Report().Lines().end());

    // The frequency fit opens its dialog, which holds the optimise commands until it closes.
    d.Command(TAbrBoxDialog::kFrequencyFit);
    ASSERT_NE(box->OptimiserDialog(), nullptr);
    EXPECT_EQ(box->OptimiserDialog()->title, "Frequency fit opt.");
    EXPECT_FALSE(d.CommandEnabled(TAbrBoxDialog::kQuickBox));
    box->OptimiserDialog()->Close();
    EXPECT_TRUE(d.CommandEnabled(TAbrBoxDialog::kQuickBox));

    d.Close();
    EXPECT_EQ(box->BoxDialog()->IsOpen(), false);
}

// ---------------------------------------------------------------- report

TEST_F(TAbrBoxTest, ReportListsBoxRadiatorDriverSetupAndRoom)
{
    auto box = MakeBox(0.02);
    box->Radiator().n = 2;
    SetGrid(10, 1000, 200);
    box->Calculate(0);
    const TBoxReport& r = box->Report();
    EXPECT_EQ(r.Title(), "ABR BOX");
    const auto& lines = r.Lines();
    ASSERT_GE(lines.size(), 14u);
    const std::vector<std::string> head = {
        "Box",      " Vol\t\t20.00 l",  " Qb\t\t15.0",         " Ql\t\t15.0",     " Fill\t\t0 %",
        "Abr unit", " Vap\t\t100.00 l", " Sd\t\t300.00 sq.cm", " Mmp\t\t10.00 g", " # units\t2"};
    for (std::size_t i = 0; i < head.size(); ++i)
        EXPECT_EQ(lines[i], head[i]) << i;
    EXPECT_EQ(lines[10], " Res freq.\t50.02 Hz (free air)");
    EXPECT_EQ(lines[11].rfind(" Res freq.\t", 0), 0u);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Additional details:"), lines.end());
    bool minus3 = false, abr1 = false, abr2 = false;
    for (const auto& l : lines) {
        minus3 = minus3 || l.rfind("  -3dB point: \t", 0) == 0;
        abr1 = abr1 || l.rfind("  Abr 1\t\t", 0) == 0;
        abr2 = abr2 || l.rfind("  Abr 2\t\t", 0) == 0;
    }
    EXPECT_TRUE(minus3);
    EXPECT_TRUE(abr1 && abr2) << "the room lines name both radiators";
    EXPECT_EQ(lines.back(), "");
}

// ---------------------------------------------------------------- project file

namespace {
constexpr std::size_t kClosedBoxFileSize = 4 + 2 + 16 + 63 + 271 + 271 + 378 + 28 + 95 + 1672 + 620 + 8 + 4 * 70 + 1 +
                                           70 + 2;
constexpr std::size_t kAbrBoxFileSize = kClosedBoxFileSize + TAbrObject::kRecordSize;
} // namespace

TEST_F(TAbrBoxTest, SavedFileIsTheCommonBodyAndTheRadiatorRecord)
{
    TAbrBox box(host_, context_);
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    TAbrObject& abr = box.Radiator();
    abr.SetSd(0.02);
    abr.SetMmp(0.035);
    abr.Vap = 0.03;
    abr.n = 3;
    abr.Xmax = 0.006;
    abr.nonLinearity = true;
    abr.UpdateFreeAirResonance();
    abr.dirty = true;
    box.Calculate(0);
    std::string path = (dir_ / "abr.box").string();
    ASSERT_TRUE(box.SaveTo(path));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    ASSERT_EQ(bytes.size(), kAbrBoxFileSize);
    EXPECT_EQ(bytes[0], 4); // type code
    EXPECT_EQ(bytes[1] | bytes[2] | bytes[3], 0);
    EXPECT_EQ(bytes[bytes.size() - 2], 0x39);
    EXPECT_EQ(bytes[bytes.size() - 1], 0x30);
    // The record right before the end mark is the radiator's, as it writes itself.
    TBinaryWriter record;
    abr.WriteRecord(record);
    const std::size_t at = kAbrBoxFileSize - 2 - TAbrObject::kRecordSize;
    EXPECT_TRUE(std::equal(record.Bytes().begin(), record.Bytes().end(), bytes.begin() + static_cast<long>(at)));

    TAbrBox again(host_, context_);
    ASSERT_TRUE(again.Load(path));
    EXPECT_FALSE(again.Changed());
    EXPECT_EQ(again.Radiator().Sd, 0.02);
    EXPECT_EQ(again.Radiator().Mmp, 0.035);
    EXPECT_EQ(again.Radiator().n, 3);
    EXPECT_TRUE(again.Radiator().nonLinearity);
    EXPECT_EQ(again.splTotal, box.splTotal);
    EXPECT_EQ(again.Radiator().excursion, box.Radiator().excursion);

    // A damaged radiator record (no area) fails the load rather than opening a
    // radiator that would compute NaN.
    std::fill(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + 8), 0);
    TBinaryReader in(bytes);
    TAbrBox reader(host_, context_);
    EXPECT_FALSE(reader.LoadFrom(in));
}

TEST_F(TAbrBoxTest, ResetGivesTheDefaultRadiatorAndTitle)
{
    auto box = MakeBox(0.02);
    box->Radiator().n = 4;
    box->Radiator().SetMmp(0.2);
    box->Reset();
    EXPECT_EQ(box->Radiator().n, 1);
    EXPECT_EQ(box->Radiator().Mmp, 0.01);
    EXPECT_NEAR(box->Radiator().fp, 50.02, 0.005);
    EXPECT_EQ(box->BaseTitle(), "Tonvek 4.10 Beta Passive radiator box");
    EXPECT_EQ(box->SplPlot().CurveCount(), 3); // Total, Driver, ABR unit; the target hidden
    EXPECT_EQ(box->SplPlot().Curve(2).label, "ABR unit");
    ASSERT_EQ(box->ExcursionPlot().CurveCount(), 2);
    EXPECT_EQ(box->ExcursionPlot().Curve(1).label, "ABR unit");
    const auto own = box->OwnCurves();
    ASSERT_EQ(own.size(), 3u);
    EXPECT_EQ(own[0].header, "driver SPL/dB");
    EXPECT_EQ(own[1].header, "radiator SPL/dB");
    EXPECT_EQ(own[2].header, "radiator excursion/mm p-p");
}

// ---------------------------------------------------------------- bad input

TEST_F(TAbrBoxTest, ExtremeElementsGiveNoNaN)
{
    struct Row {
        const char* name;
        std::function<void(TAbrBox&)> change;
    };
    const Row rows[] = {
        {"radiator without mass", [](TAbrBox& b) { b.Radiator().SetMmp(0.0); }},
        {"radiator mass only its air load", [](TAbrBox& b) { b.Radiator().SetFp(100000.0); }},
        {"1e9 l box", [](TAbrBox& b) { b.BoxVolume().Vb = 1e6; }},
        {"1e9 l box, filled, nine units",
         [](TAbrBox& b) {
             b.BoxVolume().Vb = 1e6;
             b.BoxVolume().fill = 100;
             b.Radiator().n = 9;
         }},
        {"smallest radiator area", [](TAbrBox& b) { b.Radiator().SetSd(1e-10); }},
        {"largest radiator and limit at work",
         [](TAbrBox& b) {
             b.Radiator().SetSd(10.0);
             b.Radiator().nonLinearity = true;
             b.Radiator().Xmax = 1e-6;
         }},
        {"smallest box", [](TAbrBox& b) { b.BoxVolume().Vb = 0.0001; }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        auto box = MakeBox(0.02);
        SetGrid(10, 20000, 300);
        r.change(*box);
        box->Radiator().UpdateFreeAirResonance();
        box->Radiator().dirty = true;
        box->BoxVolume().dirty = true;
        box->Calculate(0);
        ExpectFiniteCurves(*box);
        EXPECT_TRUE(std::isfinite(box->Radiator().fb));
        // What was saved opens again.
        std::string path = (dir_ / "extreme.box").string();
        ASSERT_TRUE(box->SaveTo(path));
        TAbrBox again(host_, context_);
        EXPECT_TRUE(again.Load(path));
    }
}

// The example project is what the table lookup makes of its unit (as its README says),
// with the radiator's area and limit chosen by hand.
TEST_F(TAbrBoxTest, ExampleProjectIsTheTableLookupOfItsUnit)
{
    TAbrBox example(host_, context_);
    ASSERT_TRUE(example.Load(TONVEK_SOURCE_DIR "/examples/abr-10in.box"));
    ASSERT_TRUE(example.FrontDriver().complete);
    TAbrBox sized(host_, context_);
    ASSERT_TRUE(sized.LoadFrontUnitFrom(TONVEK_SOURCE_DIR "/examples/woofer-10in-4ohm.unt"));
    ASSERT_TRUE(sized.TableLookup());
    // Qes 0.5 and Qms 7.42 give 0.468 (the datasheet rounds it to 0.46): row 0.47.
    EXPECT_NEAR(sized.effectiveQts, 0.468, 0.0005);
    EXPECT_NEAR(sized.BoxVolume().Vb, 0.0321 / 0.80, 1e-12);
    EXPECT_NEAR(sized.Radiator().fb, 37.7 * 1.03, 1e-9);
    EXPECT_NEAR(example.BoxVolume().Vb, sized.BoxVolume().Vb, 1e-12);
    EXPECT_NEAR(example.Radiator().Vap, sized.Radiator().Vap, 1e-12);
    EXPECT_EQ(example.Radiator().n, sized.Radiator().n);
    EXPECT_EQ(example.BoxVolume().Qb, sized.BoxVolume().Qb);
    EXPECT_NEAR(example.Radiator().fb, sized.Radiator().fb, 1e-3);
}

// A radiator record with values no dialog makes, each finite: the project either
// refuses the file or opens it and calculates without NaN or infinity.
TEST_F(TAbrBoxTest, ExtremeRadiatorRecordsAreRefusedOrCalculateFinitely)
{
    TAbrBox box(host_, context_);
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    const std::string path = (dir_ / "record.box").string();
    ASSERT_TRUE(box.SaveTo(path));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    const std::size_t record = bytes.size() - 2 - TAbrObject::kRecordSize;
    const struct {
        const char* what;
        std::size_t at;
        double value;
    } rows[] = {
        {"stored compliance at the smallest double", 60, 5e-324}, {"stored compliance huge", 60, 1e300},
        {"free-air resonance huge", 76, 1e308},                  {"free-air resonance negative", 76, -50.0},
        {"moving mass huge", 16, 1e300},                          {"suspension volume huge", 32, 1e300},
        {"area tiny", 0, 1e-150},                                 {"radius tiny", 8, 1e-300},
        {"excursion limit huge", 44, 1e300},                      {"box resonance huge", 68, 1e300},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        std::vector<std::uint8_t> damaged = bytes;
        std::uint64_t bits;
        std::memcpy(&bits, &r.value, sizeof bits);
        for (int k = 0; k < 8; ++k)
            damaged[record + r.at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(bits >> (8 * k));
        TAbrBox reader(host_, context_);
        TBinaryReader in(damaged);
        if (!reader.LoadFrom(in))
            continue;
        reader.Radiator().nonLinearity = true;
        reader.Calculate(0);
        ExpectFiniteCurves(reader);
    }
}
