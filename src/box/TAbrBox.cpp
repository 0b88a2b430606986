// The passive radiator box: its load, pressures, report and file body. The sizing
// rules are in TAbrBoxSizing.cpp, the dialog in TAbrBoxDialog.cpp.

#include "TAbrBox.h"

#include "TAbrBoxDialog.h"
#include "TBoxReport.h"
#include "box/TBoxPipeline.h"
#include "box/elements/TAbrObject.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TElementGrid.h"
#include "core/TBinaryStream.h"
#include "ui/TCommandIds.h"
#include "ui/TNumberText.h"

#include <cmath>

const TBoxType& TAbrBox::Type()
{
    static const TBoxType type{
        .typeCode = kTypeCode,
        .title = "Passive radiator box",
        .cliName = "abr",
        .menu = 4,
        .picture = 201,
        .frontAndRear = false,
        .unsupportedCommands = {TCmd::ExportModesSpl},
        .roomSources = {TRoomSources::DriverUnits, TRoomSources::Abr},
        .make = MakeBox<TAbrBox>,
    };
    return type;
}

TAbrBox::TAbrBox(THost& host, TProgramContext& context) : TBoxEmbryo(host, context, Type())
{
    SetBoxVolume(std::make_unique<TBoxObject>("Box", true));
    radiator_ = std::make_unique<TAbrObject>(BoxVolume());
    SplPlot().AddCurve(splTotal.data(), thickBlack_, "Total", false);
    SplPlot().AddCurve(driverSpl.data(), thinBlue_, "Driver", false);
    SplPlot().AddCurve(radiatorSpl.data(), thinRed_, "ABR unit", false);
    SplPlot().AddCurve(target.data(), dottedBlack_, "Target", false);
    SplPlot().SetShownCurves(3); // the target shows only while an optimiser uses it
    ExcursionPlot().AddCurve(radiator_->excursion.data(), thickRed_, "ABR unit", false);
    Reset();
}

TAbrBox::~TAbrBox() = default;

void TAbrBox::Reset()
{
    TBoxEmbryo::Reset();
    if (radiator_)
        radiator_->Reset();
}

void TAbrBox::PrepareCalculation()
{
    const bool setupChanged = MeasSetup().setupChanged;
    TBoxEmbryo::PrepareCalculation();
    TAbrObject& abr = *radiator_;
    if (setupChanged)
        abr.dirty = true;
    if (abr.dirty)
        abr.UpdateImpedances(TElementGrid::Of(Grid()));
    abr.UpdateBoxResonance();
    // The load of the radiators does not depend on the cone, so it is formed once for
    // all passes of a non-linear calculation.
    const int n = PointCount();
    const double units = abr.n;
    const TBoxObject& box = BoxVolume();
    for (int i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(i);
        const TComplex zu = abr.UnitImpedance(i);
        unitImpedance[j] = zu;
        // 1 / (1/Zb + na/Zu): the volume and the radiators share the cone's flow.
        loadImpedance[j] = DivComplex(1.0, DivComplex(1.0, box.impedance[j]) + DivComplex(units, zu));
    }
}

void TAbrBox::BuildLoad()
{
    // Every cone compresses the same box, so each sees nd times the shared load. The
    // isobaric pair's second moving system is added by CoupleDriver, as in every box.
    LoadConesWith(loadImpedance);
}

void TAbrBox::BuildPressure()
{
    const TFreqGrid& grid = Grid();
    const int n = grid.Count();
    const double drivers = front_.numberOfDrivers;
    const TComplex k(0.0, kPressureConstant);
    TAbrObject& abr = *radiator_;
    // The two levels are only drawn: an optimiser step that draws nothing skips them.
    const bool levels = !fastMode || splPlotRefresh;
    for (int i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(i);
        const TComplex cone = drivers * front_.volumeVelocity[j];
        const TComplex pd = MulComplex(k, grid.Frequency(i) * cone);
        front_.auxPressure[j] = pd;
        if (levels)
            driverSpl[j] = TBoxPipeline::LevelOf(pd);
        const TComplex chamber = MulComplex(cone, loadImpedance[j]);
        // With na > 1 each unit carries U1 = pb / Zu, and the radiators together move
        // na · U1: the cone's flow into the box is what the air compresses plus what
        // all radiators push out, so the radiated pressure is that of all na units
        // (na · K · f · U1) and the excursion that of one unit (from U1).
        abr.SetUnitFlow(i, DivComplex(chamber, unitImpedance[j]), grid.Omega(i));
    }
    abr.LimitExcursion(n);
    for (int i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(i);
        const TComplex pa = abr.Radiate(i, k, grid.Frequency(i));
        if (levels)
            radiatorSpl[j] = TBoxPipeline::LevelOf(pa);
        // The radiators' flow leaves the box where the cones' flow enters it.
        pressure[j] = front_.auxPressure[j] - pa;
    }
}

void TAbrBox::RefreshResults()
{
    TBoxEmbryo::RefreshResults();
    radiator_->dirty = false;
}

void TAbrBox::BuildReport()
{
    TBoxReport& report = Report();
    std::string note = report.Note();
    report.Clear();
    report.SetNote(note);
    report.SetTitle("ABR BOX");
    ReportFileName();
    std::vector<std::string> lines;
    BoxVolume().Report(lines);
    radiator_->Report(lines);
    report.Add(lines);
    ReportDriverSetupRoom(TRoomCounts{front_.numberOfDrivers, 0, 0, radiator_->n});
    report.Add("Additional details:");
    if (minus3dB != 0)
        report.Add(TNumberText::FormatDouble("  -3dB point: \t%3.2f Hz", minus3dB));
    report.Add("");
    ShowReport();
}

std::vector<TCurveColumn> TAbrBox::OwnCurves() const
{
    return {{"driver SPL/dB", driverSpl.data()},
            {"radiator SPL/dB", radiatorSpl.data()},
            {"radiator excursion/mm p-p", radiator_->excursion.data()}};
}

bool TAbrBox::ReadBody(TBinaryReader& in, int) { return radiator_->ReadRecord(in); }

void TAbrBox::WriteBody(TBinaryWriter& out) const { radiator_->WriteRecord(out); }

std::unique_ptr<TDialogModel> TAbrBox::MakeBoxDialog() { return std::make_unique<TAbrBoxDialog>(host_, *this); }

TAbrBoxDialog* TAbrBox::BoxDialog() const { return static_cast<TAbrBoxDialog*>(ExistingBoxDialog()); }
