// The reflex bandpass box's report, file body and quick box.

#include "TBassReflexDorvelBox.h"

#include "TBoxReport.h"
#include "box/elements/TBoxObjectFields.h"
#include "box/elements/TElementConstants.h"
#include "core/TBinaryStream.h"
#include "core/TProgramFolder.h"
#include "core/TProjectRelative.h"
#include "ui/TDialogModel.h"
#include "ui/THost.h"
#include "ui/TNumberText.h"

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------- report

void TBassReflexDorvelBox::BuildReport()
{
    TBoxReport& report = Report();
    std::string note = report.Note();
    report.Clear();
    report.SetNote(note);
    report.SetTitle("REFLEXBANDPASS BOX");
    ReportFileName();
    std::vector<std::string> lines;
    BoxVolume().Report(lines);
    port_.Report(lines);
    rearBox_.Report(lines);
    report.Add(lines);
    report.Add(front_.ReportLines("Front driver"));
    if (RearActive()) {
        report.Add(rear_.ReportLines("Rear driver"));
    } else {
        // Said where the rear group's lines would be, so a missing unit is not mistaken
        // for a design choice.
        report.Add("Rear driver");
        report.Add(rearUnitFile_.fileName.empty() ? " No rear driver unit loaded:"
                                                  : " Rear driver unit " + rearUnitFile_.fileName + " not usable:");
        report.Add(" the front group works alone");
    }
    report.Add(MeasSetup().ReportLines());
    std::vector<std::string> room = room_.ReportLines(Type().roomSources,
                                                      TRoomCounts{front_.numberOfDrivers, 0, port_.n, 0});
    if (!room.empty()) {
        report.StartSecondColumn();
        report.Add(room);
    }
    report.Add("Additional details:");
    if (minus3dB != 0)
        report.Add(TNumberText::FormatDouble("  -3dB point: \t%3.2f Hz", minus3dB));
    report.Add("");
    ShowReport();
}

// ---------------------------------------------------------------- file body

bool TBassReflexDorvelBox::ReadBody(TBinaryReader& in, int version)
{
    double resistance = 0;
    if (!in.ReadDouble(resistance) || !std::isfinite(resistance))
        return false;
    if (!port_.ReadRecord(in, version) || !rearPort_.ReadRecord(in, version) || !rearBox_.ReadRecord(in))
        return false;
    std::string rearPath;
    if (!in.ReadText(rearPath, kPathSize))
        return false;
    if (!rear_.ReadConfigBlock(in, version) || !airSpeedPlot_->ReadWindowRecord(in))
        return false;
    // The dialog's range: anything else is not what the program writes.
    acousticResistance = std::clamp(resistance, 0.1, kResetResistance);
    rearUnitFile_.fileName = rearPath.empty()
                                 ? std::string()
                                 : TProjectRelative::Locate(context_.Folder(), TProgramFolder::Normalise(rearPath),
                                                            projectFile_.fileName);
    LoadProjectRearUnit();
    airSpeedPlot_->SetPointCount(PointCount());
    UpdateTunings();
    return true;
}

void TBassReflexDorvelBox::WriteBody(TBinaryWriter& out) const
{
    out.WriteDouble(acousticResistance);
    port_.WriteRecord(out);
    rearPort_.WriteRecord(out);
    rearBox_.WriteRecord(out);
    // Beside the project the name is relative to it, as the front unit's is.
    out.WriteText(TProjectRelative::Store(context_.Folder(), rearUnitFile_.fileName, writingPath_), kPathSize);
    rear_.WriteConfigBlock(out);
    airSpeedPlot_->WriteWindowRecord(out);
}

// ---------------------------------------------------------------- quick box

void TBassReflexDorvelBox::QuickBox()
{
    // Without a complete front unit there is nothing to size for.
    if (!front_.complete) {
        host_.Beep();
        return;
    }
    ComputeEffectiveDriver();
    const TFieldInfo& volume = BoxFieldInfo(TBoxField::Volume);
    const double frontLitres = volume.Shown(1.5 * totalVas);
    const double rearLitres = volume.Shown(totalVas);
    const double area = 0.004 * front_.Sd * front_.numberOfDrivers / port_.n * effectiveFs;
    if (!std::isfinite(frontLitres) || !(effectiveFs > 0) || !std::isfinite(area) || !(area > 0)) {
        host_.Beep();
        return;
    }
    // The dialog's own limits: each volume stays one the user could have typed.
    auto litres = [&volume](double l) { return volume.Stored(std::clamp(l, volume.minimum, volume.maximum)); };
    TPortObject* frontPorts[] = {&port_};
    TPortObject* rearPorts[] = {&rearPort_};
    CommitBoxStored(BoxVolume(), TBoxField::Volume, litres(frontLitres), frontPorts);
    CommitBoxStored(rearBox_, TBoxField::Volume, litres(rearLitres), rearPorts);
    // The port is sized against the bare volume; the fill then lowers its tuning a little.
    port_.V = BoxVolume().Vb;
    if (!port_.SizeForTuningFromArea(area, effectiveFs))
        host_.Beep();
    UpdateCalculateCommand();
    BoxVolume().dirty = true;
    rearBox_.dirty = true;
    port_.dirty = true;
    UpdateTunings();
    if (TDialogModel* dialog = ExistingBoxDialog(); dialog && dialog->IsOpen())
        dialog->Reload();
    RecalcRequest(TRecalc::Recalculate);
}
