#include "TClosedBox.h"

#include "TBoxReport.h"
#include "TClosedBoxDialog.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TBoxObjectFields.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"
#include "ui/TNumberText.h"

#include <algorithm>
#include <cmath>

const TBoxType& TClosedBox::Type()
{
    static const TBoxType type{
        .typeCode = kTypeCode,
        .title = "Closed box",
        .cliName = "closed",
        .menu = 4,
        .picture = 210,
        .frontAndRear = false,
        .unsupportedCommands = {TCmd::ExportModesSpl},
        .roomSources = {TRoomSources::DriverUnits},
        .roomConesAreTotal = true,
        .make = MakeBox<TClosedBox>,
    };
    return type;
}

TClosedBox::TClosedBox(THost& host, TProgramContext& context) : TBoxEmbryo(host, context, Type())
{
    SetBoxVolume(std::make_unique<TBoxObject>("Box", true));
    SplPlot().AddCurve(splTotal.data(), thickBlack_, "Total", false);
    SplPlot().AddCurve(target.data(), dottedBlack_, "Target", false);
    SplPlot().SetShownCurves(1); // the target shows only while an optimiser uses it
    Reset();
}

TClosedBox::~TClosedBox() = default;

void TClosedBox::BuildLoad() { LoadConesWith(BoxVolume().impedance); }

void TClosedBox::BuildPressure()
{
    const TFreqGrid& grid = Grid();
    const int n = grid.Count();
    const double drivers = front_.numberOfDrivers;
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        // j·k·f·q: a rotation by 90 degrees of the scaled volume velocity.
        const TComplex q = front_.volumeVelocity[j] * (kPressureConstant * (grid.Frequency(i) * drivers));
        pressure[j] = TComplex(-q.imag(), q.real());
    }
}

void TClosedBox::BuildReport()
{
    TBoxReport& report = Report();
    std::string note = report.Note();
    report.Clear();
    report.SetNote(note);
    report.SetTitle("CLOSED BOX");
    ReportFileName();
    std::vector<std::string> lines;
    BoxVolume().Report(lines);
    report.Add(lines);
    ReportDriverSetupRoom(TRoomCounts{front_.numberOfDrivers, 0, 0, 0});
    report.Add("Additional details:");
    if (minus3dB != 0)
        report.Add(TNumberText::FormatDouble(" -3dB point: \t%3.2f Hz", minus3dB));
    // The system's resonance and Q, what builders compare first: the effective driver
    // on the box volume the dialog shows.
    ComputeEffectiveDriver();
    const double vb = BoxVolume().Vb;
    if (vb > 0 && effectiveFs > 0 && effectiveQts < 100) {
        const double stiffening = std::sqrt(1.0 + totalVas / vb);
        report.Add(TNumberText::FormatDouble(" Fc: \t%3.2f Hz", effectiveFs * stiffening));
        report.Add(TNumberText::FormatDouble(" Qtc: \t%1.3f", effectiveQts * stiffening));
    }
    report.Add("");
    ShowReport();
}

void TClosedBox::QuickBox()
{
    // Without a complete unit there is nothing to size for: an undefined Vas would give
    // a box of no volume, which the project file could not be read back with.
    if (!front_.complete) {
        host_.Beep();
        return;
    }
    ComputeEffectiveDriver();
    const TFieldInfo& volume = BoxFieldInfo(TBoxField::Volume);
    const double litres = volume.Shown(effectiveQts * front_.Vas * front_.numberOfDrivers);
    if (!std::isfinite(litres)) {
        host_.Beep();
        return;
    }
    // The dialog's own limits: the volume stays one the user could have typed.
    CommitBoxStored(BoxVolume(), TBoxField::Volume, volume.Stored(std::clamp(litres, volume.minimum, volume.maximum)));
    if (TDialogModel* dialog = ExistingBoxDialog(); dialog && dialog->IsOpen())
        dialog->Reload();
    RecalcRequest(TRecalc::Recalculate);
}

bool TClosedBox::ApplyTableQtc(double qtc)
{
    if (!front_.complete)
        return false;
    ComputeEffectiveDriver();
    const double ratio = qtc / effectiveQts;
    const double vb = totalVas / (ratio * ratio - 1.0);
    if (!(effectiveQts * 1.01 < qtc) || !std::isfinite(vb) || !(vb > 0.0))
        return false;
    BoxVolume().Qb = 15.0;
    BoxVolume().Vb = BoxVolumeAdmitted(vb);
    BoxVolume().dirty = true;
    MeasSetup().setupChanged = true;
    if (TDialogModel* dialog = ExistingBoxDialog(); dialog && dialog->IsOpen())
        dialog->Reload();
    RecalcRequest(TRecalc::Recalculate);
    return true;
}

std::unique_ptr<TDialogModel> TClosedBox::MakeBoxDialog() { return std::make_unique<TClosedBoxDialog>(host_, *this); }

TClosedBoxDialog* TClosedBox::BoxDialog() const { return static_cast<TClosedBoxDialog*>(ExistingBoxDialog()); }
