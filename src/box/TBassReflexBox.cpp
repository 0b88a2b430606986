// The bass reflex box: its description, windows, calculation, file body and quick box.
// The report and the standing waves are in TBassReflexReport.cpp.

#include "TBassReflexBox.h"

#include "TBreflDialog.h"
#include "box/TBoxPipeline.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TBoxObjectFields.h"
#include "box/elements/TElementConstants.h"
#include "core/TBinaryStream.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

#include <algorithm>
#include <cmath>

const TBoxType& TBassReflexBox::Type()
{
    static const TBoxType type{
        .typeCode = kTypeCode,
        .title = "Bassreflex box",
        .cliName = "reflex",
        .menu = 4,
        .picture = 206,
        .frontAndRear = false,
        .unsupportedCommands = {TCmd::ExportModesSpl},
        .roomSources = {TRoomSources::DriverUnits, TRoomSources::Port},
        .make = MakeBox<TBassReflexBox>,
    };
    return type;
}

TBassReflexBox::TBassReflexBox(THost& host, TProgramContext& context) : TBoxEmbryo(host, context, Type())
{
    SetBoxVolume(std::make_unique<TBoxObject>("Box", true));
    SplPlot().AddCurve(splTotal.data(), thickBlack_, "Total", false);
    SplPlot().AddCurve(driverSpl.data(), driverStyle_, "Driver", false);
    SplPlot().AddCurve(portSpl.data(), portStyle_, "Port", false);
    SplPlot().AddCurve(target.data(), dottedBlack_, "Target", false);
    SplPlot().SetShownCurves(3); // the target shows only while an optimiser uses it

    // Under the excursion plot, where the two are read together.
    airSpeedPlot_ = MakeOwnPlot("Airspeed in port", "m/s", TRect{600, 290, 1200, 580});
    airSpeedPlot_->AddCurve(portAirSpeed.data(), thickBlack_, "", false);
    ShowOwnPlot(*airSpeedPlot_);
    Reset();
}

TBassReflexBox::~TBassReflexBox()
{
    // The dialog's bindings reach the port, which goes before the base's members.
    boxDialog_.reset();
    HideOwnPlot(*airSpeedPlot_);
}

void TBassReflexBox::Reset()
{
    TBoxEmbryo::Reset();
    port_.Reset();
    // The dialog shows the tuning against this box from the start.
    port_.V = BoxVolume().TuningVolume();
    port_.UpdateTuning();
}

// ---------------------------------------------------------------- calculation

void TBassReflexBox::PrepareCalculation()
{
    TBoxEmbryo::PrepareCalculation();
    const TMeasSetup& setup = MeasSetup();
    const TFreqGrid& grid = setup.grid;
    airSpeedPlot_->SetPointCount(grid.Count());
    if (setup.setupChanged)
        port_.dirty = true;
    port_.V = BoxVolume().TuningVolume();
    port_.UpdateTuning();
    if (port_.dirty)
        port_.UpdateImpedance(TElementGrid::Of(grid));
    // Box and port in parallel: 1 / (1/Zb + 1/Zp).
    const TBoxObject& box = BoxVolume();
    const int n = grid.Count();
    for (int i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(i);
        const TComplex zb = box.impedance[j], zp = port_.impedance[j];
        loadImpedance[j] = DivComplex(MulComplex(zb, zp), zb + zp);
    }
}

void TBassReflexBox::BuildLoad()
{
    // Every driver fills the same box: each cone sees nd times the load.
    LoadConesWith(loadImpedance);
}

void TBassReflexBox::BuildPressure()
{
    const TFreqGrid& grid = Grid();
    const int n = grid.Count();
    const double drivers = front_.numberOfDrivers;
    const double perArea = 1.0 / (port_.S * port_.n);
    // The driver and port curves are drawn with the SPL plot; an optimiser's steps that
    // do not redraw it skip their levels.
    const bool levels = !fastMode || splPlotRefresh;
    for (int i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(i);
        const double k = kPressureConstant * grid.Frequency(i);
        const TComplex cone = front_.volumeVelocity[j] * drivers;
        // j·K·f·q: a quarter turn of the scaled volume velocity.
        const TComplex qd = cone * k;
        const TComplex pd(-qd.imag(), qd.real());
        front_.auxPressure[j] = pd;
        // The cones' flow compresses the box; the port lets part of it out.
        const TComplex chamber = MulComplex(cone, loadImpedance[j]);
        const TComplex flow = DivComplex(chamber, port_.impedance[j]);
        const double speed = MagnitudeOf(flow) * perArea;
        portAirSpeed[j] = speed * port_.SetFlow(i, flow);
        const TComplex qp = port_.volumeVelocity[j] * k;
        const TComplex pp(-qp.imag(), qp.real());
        port_.pressure[j] = pp;
        // What leaves through the port leaves the box where the cones push into it.
        pressure[j] = pd - pp;
        if (levels) {
            driverSpl[j] = TBoxPipeline::LevelOf(pd);
            portSpl[j] = TBoxPipeline::LevelOf(pp);
        }
    }
}

void TBassReflexBox::RefreshResults()
{
    // Only a full calculation comes here; the report of a partial one reads the curves
    // as they are.
    if (!fastMode)
        ComputeStandingWaves();
    TBoxEmbryo::RefreshResults();
    if (!fastMode) {
        TPlotLogXLinY& plot = *airSpeedPlot_;
        plot.FitXRange(0);
        plot.FitYRange(0);
        plot.yMinimum = 0;
        plot.DataReady();
        plot.Redraw();
    }
    port_.dirty = false;
}

std::vector<TCurveColumn> TBassReflexBox::OwnCurves() const
{
    return {{"driver SPL/dB", driverSpl.data()},
            {"port SPL/dB", portSpl.data()},
            {"port air speed/m/s", portAirSpeed.data()},
            {"SPL with port modes/dB", splModes.data()}};
}

// ---------------------------------------------------------------- file body

bool TBassReflexBox::ReadBody(TBinaryReader& in, int version)
{
    return port_.ReadRecord(in, version) && airSpeedPlot_->ReadWindowRecord(in);
}

void TBassReflexBox::WriteBody(TBinaryWriter& out) const
{
    port_.WriteRecord(out);
    airSpeedPlot_->WriteWindowRecord(out);
}

// ---------------------------------------------------------------- quick box and dialog

void TBassReflexBox::QuickBox()
{
    // Without a complete unit there is nothing to size for.
    if (!front_.complete) {
        host_.Beep();
        return;
    }
    ComputeEffectiveDriver();
    const TFieldInfo& volume = BoxFieldInfo(TBoxField::Volume);
    const double litres = volume.Shown(1.5 * totalVas);
    const double area = 0.004 * front_.Sd * front_.numberOfDrivers / port_.n * effectiveFs;
    if (!std::isfinite(litres) || !(effectiveFs > 0) || !std::isfinite(area) || !(area > 0)) {
        host_.Beep();
        return;
    }
    TPortObject* ports[] = {&port_};
    // The dialog's own limits: the volume stays one the user could have typed.
    CommitBoxStored(BoxVolume(), TBoxField::Volume, volume.Stored(std::clamp(litres, volume.minimum, volume.maximum)),
                    ports);
    // The port is sized against the bare volume; the fill then lowers its tuning a little.
    port_.V = BoxVolume().Vb;
    if (!port_.SizeForTuningFromArea(area, effectiveFs))
        host_.Beep();
    UpdateCalculateCommand();
    BoxVolume().dirty = true;
    port_.dirty = true;
    port_.V = BoxVolume().TuningVolume();
    port_.UpdateTuning();
    if (TDialogModel* dialog = ExistingBoxDialog(); dialog && dialog->IsOpen())
        dialog->Reload();
    RecalcRequest(TRecalc::Recalculate);
}

bool TBassReflexBox::ApplyTableAlignment(TBreflAlignment alignment, int boxQ)
{
    if (!front_.complete || boxQ < 0 || boxQ > 2)
        return false;
    ComputeEffectiveDriver();
    const TBreflRow& row = TBreflAlignments::Row(alignment, TBreflAlignments::RowFor(alignment, effectiveQts));
    const std::size_t c = static_cast<std::size_t>(boxQ);
    // A fully filled box acts 1.2 times larger, so it is built that much smaller.
    double vb = totalVas / row.alpha[c];
    if (boxQ == 0)
        vb *= 0.8333333333333334;
    const double fb = effectiveFs * row.h[c];
    if (!std::isfinite(vb) || !(vb > 0.0) || !std::isfinite(fb) || !(fb > 0.0))
        return false;
    TBoxObject& box = BoxVolume();
    box.Qb = box.Ql = TBreflAlignments::kBoxQ[c];
    box.fill = std::array<std::int32_t, 3>{100, 50, 0}[c];
    box.Vb = BoxVolumeAdmitted(vb);
    box.dirty = true;
    port_.V = box.Vb;
    if (!port_.SizeForTuning(fb))
        host_.Beep();
    port_.V = box.TuningVolume();
    port_.UpdateTuning();
    port_.dirty = true;
    MeasSetup().setupChanged = true;
    if (TDialogModel* dialog = ExistingBoxDialog(); dialog && dialog->IsOpen())
        dialog->Reload();
    RecalcRequest(TRecalc::Recalculate);
    return true;
}

std::unique_ptr<TDialogModel> TBassReflexBox::MakeBoxDialog() { return std::make_unique<TBreflDialog>(host_, *this); }

TBreflDialog* TBassReflexBox::BoxDialog() const { return static_cast<TBreflDialog*>(ExistingBoxDialog()); }
