// The bandpass boxes' report with the pair of -3 dB points, the standing waves of
// their ports, and the quick box and table lookup that size them.

#include "TBandpassBox.h"

#include "TBoxReport.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TBoxObjectFields.h"
#include "box/elements/TElementConstants.h"
#include "box/elements/TPortObject.h"
#include "box/elements/TPortStandingWaves.h"
#include "ui/TDialogModel.h"
#include "ui/THost.h"
#include "ui/TNumberText.h"

#include <algorithm>
#include <cmath>

namespace C = TElementConstants;

// ---------------------------------------------------------------- report

void TBandpassBox::BuildReport()
{
    const TFreqGrid& grid = Grid();
    minus3dBPair_ = FindMinus3dBPair(splTotal.data(), grid.Frequencies().data(), grid.Count());
    TBoxReport& report = Report();
    std::string note = report.Note();
    report.Clear();
    report.SetNote(note);
    report.SetTitle(layout_.reportTitle);
    ReportFileName();
    std::vector<std::string> lines;
    BoxVolume().Report(lines);
    secondBox_->Report(lines);
    for (int k = 0; k < PortCount(); ++k)
        Port(k).Report(lines);
    report.Add(lines);
    // Only ports reach the room: the first group is the "A" ports of types 3 and 4, the
    // radiating port of types 1 and 2 the "B" ports.
    TRoomCounts counts{front_.numberOfDrivers, 0, 0, 0};
    if (PortCount() == 1)
        counts.portsB = Port(0).n;
    else if (layout_.coupledTuning)
        counts.portsB = Port(1).n;
    else {
        counts.portsA = Port(0).n;
        counts.portsB = Port(1).n;
    }
    ReportDriverSetupRoom(counts);
    report.Add("Additional details:");
    if (minus3dBPair_.lower != 0 && minus3dBPair_.upper != 0)
        report.Add(TNumberText::FormatDouble("  -3dB points: \t%3.2f Hz   ", minus3dBPair_.lower) +
                   TNumberText::FormatDouble(",   %3.2f Hz", minus3dBPair_.upper));
    report.Add("");
    ShowReport();
    ComputeStandingWaves();
}

double TBandpassBox::StandingWaveLength() const
{
    if (PortCount() == 1)
        return Port(0).L;
    if (layout_.coupledTuning)
        return Port(1).L; // only the front port radiates
    return std::max(Port(0).L, Port(1).L);
}

void TBandpassBox::ComputeStandingWaves()
{
    // Without an upper -3 dB point the curve is the SPL itself.
    PortStandingWaves(TElementGrid::Of(Grid()), splTotal.data(), minus3dBPair_.upper, StandingWaveLength(),
                      splModes.data());
    TPlotLogXLinY& modes = *modesPlot_;
    modes.FitXRange(0);
    modes.FitYRange(0);
    modes.DataReady();
    modes.Redraw();
}

// ---------------------------------------------------------------- sizing

bool TBandpassBox::SizePort(int k, double fp, double factor)
{
    TPortObject& port = Port(k);
    const double area = fp * 0.004 * front_.Sd * front_.numberOfDrivers / port.n * factor;
    return port.SizeForTuningFromArea(area, fp);
}

void TBandpassBox::FinishSizing()
{
    BoxVolume().dirty = true;
    secondBox_->dirty = true;
    UpdateCalculateCommand();
    for (int k = 0; k < PortCount(); ++k)
        Port(k).dirty = true;
    UpdateTuning();
    if (TDialogModel* dialog = ExistingBoxDialog(); dialog && dialog->IsOpen())
        dialog->Reload();
    RecalcRequest(TRecalc::Recalculate);
}

void TBandpassBox::QuickBox()
{
    // Without a complete unit there is nothing to size for.
    if (!front_.complete) {
        host_.Beep();
        return;
    }
    ComputeEffectiveDriver();
    if (!(std::isfinite(totalVas) && totalVas > 0.0 && std::isfinite(effectiveFs) && effectiveFs > 0.0)) {
        host_.Beep();
        return;
    }
    BoxVolume().Vb = BoxVolumeAdmitted(layout_.quickFirstVolume * totalVas);
    secondBox_->Vb = BoxVolumeAdmitted(layout_.quickSecondVolume * totalVas);
    bool sized = true;
    for (int k = 0; k < PortCount(); ++k) {
        const TQuickPort& rule = layout_.quickPorts[k];
        TPortObject& port = Port(k);
        if (rule.tuning > 0.0) {
            port.V = BoxOf(k).Vb;
            sized = SizePort(k, rule.tuning * effectiveFs, rule.factor) && sized;
        } else {
            const double area = rule.factor * effectiveFs * 0.004 * front_.Sd * front_.numberOfDrivers / port.n;
            if (std::isfinite(area) && area > 0.0) {
                port.S = area;
                port.D = std::sqrt(4.0 * area / C::kPi);
                port.L = rule.fixedLength;
                port.UpdateEffectiveArea();
            }
        }
    }
    if (!sized)
        host_.Beep();
    FinishSizing();
}

bool TBandpassBox::ApplyRearQTable(double qbc, double g)
{
    if (!front_.complete || PortCount() != 1)
        return false;
    ComputeEffectiveDriver();
    const double ratio = qbc / effectiveQts;
    const double rear = totalVas / (ratio * ratio - 1.0);
    const double frontVolume = 4.0 * g * g * effectiveQts * effectiveQts * totalVas;
    const double fb = qbc * effectiveFs / effectiveQts;
    if (!(effectiveQts * 1.01 < qbc) || !std::isfinite(rear) || !(rear > 0.0) || !std::isfinite(frontVolume) ||
        !(frontVolume > 0.0) || !std::isfinite(fb) || !(fb > 0.0))
        return false;
    BoxVolume().Qb = secondBox_->Qb = 15.0;
    BoxVolume().Vb = BoxVolumeAdmitted(rear);
    secondBox_->Vb = BoxVolumeAdmitted(frontVolume);
    TPortObject& port = Port(0);
    port.V = BoxOf(0).Vb;
    if (!port.SizeForTuning(fb))
        host_.Beep();
    MeasSetup().setupChanged = true;
    FinishSizing();
    return true;
}

int TBandpassBox::TableLookup()
{
    if (!layout_.tableLookup || PortCount() != 2 || !front_.complete) {
        host_.Beep();
        return -1;
    }
    ComputeEffectiveDriver();
    const int row = TableRow(effectiveQts);
    const TAlignment& a = Alignment(row);
    for (TBoxObject* box : {&BoxVolume(), secondBox_.get()}) {
        box->Qb = 15.0;
        box->fill = 0;
    }
    secondBox_->Vb = BoxVolumeAdmitted(totalVas * a.kf);
    BoxVolume().Vb = BoxVolumeAdmitted(layout_.tableFirstShare * totalVas * a.kr);
    Port(0).V = BoxVolume().Vb;
    Port(1).V = secondBox_->Vb;
    const bool sized = SizePort(0, effectiveFs * a.hr, layout_.quickPorts[0].factor) &&
                       SizePort(1, effectiveFs * a.hf, layout_.quickPorts[1].factor);
    if (!sized)
        host_.Beep();
    FinishSizing();
    // The nearest alignment is applied either way; the user should know it is not one
    // made for this driver.
    const double top = Alignment(0).qts, bottom = Alignment(kAlignmentRows - 1).qts;
    if (!(effectiveQts <= top && effectiveQts >= bottom))
        host_.Message(TNumberText::FormatDouble("The total Q of the driver (%.3f) lies outside the alignment table",
                                                effectiveQts) +
                          TNumberText::FormatDouble(" (%.3f", bottom) + TNumberText::FormatDouble(" .. %.3f).", top) +
                          "\nThe nearest alignment was used.",
                      "By table lookup", TMsgButtons::Ok, TMsgIcon::Information);
    return row;
}
