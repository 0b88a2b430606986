// The box project file: common body, save commands and the save question.

#include "TBoxEmbryo.h"

#include "TBoxReport.h"
#include "box/elements/TBoxObject.h"
#include "core/TBinaryStream.h"
#include "core/TProgramFolder.h"
#include "core/TProjectRelative.h"
#include "driver/TSpeakerUnitDialog.h"
#include "measdata/TCurveExport.h"
#include "room/TRoomCabinet.h"
#include "ui/THost.h"

void TBoxEmbryo::WriteCommon(TBinaryWriter& out, const std::string& projectPath) const
{
    out.WriteInt32(type_.typeCode);
    out.WriteInt16(kFileVersion);
    out.WriteZeros(16);
    MeasSetup().WriteBlock(out);
    out.WriteText(TProjectRelative::Store(context_.Folder(), unitFile_.fileName, projectPath), kPathSize);
    out.WriteText(snapshotPath_, kPathSize);
    front_.WriteConfigBlock(out);
    boxVolume_->WriteRecord(out);
    transient_->WriteRecord(out);
    roomCabinet_->WriteRoom(out, false);
    infoWin_->SavePlacement(out);
    out.WriteInt16(optimiserIterations);
    out.WriteInt16(optimiserSpare);
    out.WriteBytes(optimiserOptions.data(), optimiserOptions.size());
    for (TStdPlot which : kStdPlotFileOrder)
        Plot(which).WriteWindowRecord(out);
    if (const TPlotXYEmbryo* plot = CommonBodyPlot())
        plot->WriteWindowRecord(out);
    infoWin_->SaveState(out);
    snapshot_->WriteWindowRecord(out);
}

bool TBoxEmbryo::ReadCommon(TBinaryReader& in, int& version)
{
    std::int32_t code = 0;
    std::int16_t v = 0;
    if (!in.ReadInt32(code) || !in.ReadInt16(v))
        return false;
    version = v;
    if (version <= 299)
        return false;
    if (version != kFileVersion)
        host_.Message("This project file was created with an\nolder version of Tonvek.\nRemenber that project files are not\n"
                      "backwards compatible",
                      "Old project file", TMsgButtons::Ok, TMsgIcon::Warning);
    TMeasSetup& setup = MeasSetup();
    setup.fileVersion = static_cast<std::int16_t>(version);
    if (!in.Skip(16) || !setup.ReadBlock(in, version))
        return false;
    std::string unitPath, snapshotPath;
    if (!in.ReadText(unitPath, kPathSize))
        return false;
    unitFile_.fileName = TProjectRelative::Locate(context_.Folder(), TProgramFolder::Normalise(unitPath),
                                                  projectFile_.fileName);
    if (!in.ReadText(snapshotPath, kPathSize))
        return false;
    snapshotPath_ = TProgramFolder::Normalise(snapshotPath);
    snapshotFile_.fileName = snapshotPath_;
    if (!front_.ReadConfigBlock(in, version) || !boxVolume_->ReadRecord(in) || !transient_->ReadRecord(in) ||
        !roomCabinet_->ReadRoom(in, false, version))
        return false;
    if (!infoWin_->LoadPlacement(in))
        return false;
    report_->SetNote(infoWin_->Notes());
    if (!in.ReadInt16(optimiserIterations) || !in.ReadInt16(optimiserSpare) ||
        !in.ReadBytes(optimiserOptions.data(), optimiserOptions.size()))
        return false;
    for (TStdPlot which : kStdPlotFileOrder)
        if (!Plot(which).ReadWindowRecord(in))
            return false;
    if (TPlotXYEmbryo* plot = CommonBodyPlot(); plot && !plot->ReadWindowRecord(in))
        return false;
    if (!infoWin_->LoadState(in))
        return false;
    if (!snapshot_->ReadWindowRecord(in))
        return false;
    for (TPlotXYEmbryo* plot : DiagramWindows())
        if (plot != transient_.get())
            plot->SetPointCount(setup.grid.Count());
    // A missing or damaged snapshot file leaves an empty snapshot and no name; nothing
    // else of the project is lost.
    if (snapshotPath_.empty() || !snapshot_->LoadFile(context_.Folder().Resolve(snapshotPath_))) {
        snapshotPath_.clear();
        snapshotFile_.fileName.clear();
        snapshot_->Reset();
    }
    LoadProjectUnit();
    EnableProjectCommands(true);
    return true;
}

bool TBoxEmbryo::ReadBody(TBinaryReader&, int) { return true; }
void TBoxEmbryo::WriteBody(TBinaryWriter&) const {}

bool TBoxEmbryo::Load(const std::string& path)
{
    projectFile_.fileName = path;
    TBinaryReader in;
    if (!in.Open(path, kMaxFileBytes))
        return false;
    return LoadFrom(in);
}

bool TBoxEmbryo::LoadFrom(TBinaryReader& in)
{
    int version = 0;
    bool ok = ReadCommon(in, version) && ReadBody(in, version);
    std::int16_t mark = 0;
    ok = ok && in.ReadInt16(mark) && mark == kEndMark;
    if (!ok) {
        // The older block sizes applied to this file only.
        MeasSetup().fileVersion = kFileVersion;
        return false;
    }
    if (front_.complete)
        Calculate(0);
    RecalcRequest(TRecalc::MarkUnchanged);
    MeasSetup().fileVersion = kFileVersion;
    return true;
}

bool TBoxEmbryo::WriteProject(const std::string& path)
{
    TBinaryWriter out;
    WriteCommon(out, path);
    writingPath_ = path;
    WriteBody(out);
    writingPath_.clear();
    out.WriteInt16(kEndMark);
    if (!out.SaveTo(path))
        return false;
    projectFile_.fileName = path;
    Calculate(0); // the report shows the new file name
    changed_ = false;
    return true;
}

bool TBoxEmbryo::SaveTo(const std::string& path)
{
    std::string previous = projectFile_.fileName;
    if (!WriteProject(path)) {
        projectFile_.fileName = previous;
        return false;
    }
    SetMainTitle(true);
    return true;
}

bool TBoxEmbryo::ChooseProjectFile(std::string& path)
{
    TFileRequest request{"Save project as", projectFile_.filter, projectFile_.extension, projectFile_.fileName, {}};
    return host_.ChooseSaveFile(request, path);
}

bool TBoxEmbryo::SaveReporting(const std::string& path, const char* title)
{
    if (SaveTo(path))
        return true;
    host_.Message("Could not open file.\nCheck if device is ready\nor if the disk is full.", title, TMsgButtons::Ok,
                  TMsgIcon::Warning);
    return false;
}

bool TBoxEmbryo::ConfirmUnitWithoutFile()
{
    // The project file names its unit; a unit made in the editor and never saved would
    // be lost, and the project would reopen without a driver.
    if (!unitFile_.fileName.empty() || front_.MissingParameters().size() == 13)
        return true;
    return host_.Message("The driver unit has not been saved to a unit file,\nso the project cannot name it and "
                         "will open without a driver.\n\nSave the unit first with Driver unit > Edit / create...,\n"
                         "File > Save as.\n\nSave the project anyway ?",
                         "Box project", TMsgButtons::YesNo, TMsgIcon::Warning) == TMsgAnswer::Yes;
}

bool TBoxEmbryo::Save()
{
    if (!ConfirmUnitWithoutFile())
        return false;
    // A project without a file asks for one, but it is still "Save" that failed.
    std::string path = projectFile_.fileName;
    if (path.empty() && !ChooseProjectFile(path))
        return false;
    return SaveReporting(path, "File save");
}

bool TBoxEmbryo::SaveAs()
{
    if (!ConfirmUnitWithoutFile())
        return false;
    std::string path;
    if (!ChooseProjectFile(path))
        return false;
    return SaveReporting(path, "File save as");
}

bool TBoxEmbryo::AskSaveChanges()
{
    // The unit editor asks about its own unsaved unit first.
    if (unitEditor_ && unitEditor_->IsOpen() && !unitEditor_->AskClose())
        return false;
    if (!changed_)
        return true;
    switch (host_.Message("Project has been changed.\r\nSave project ?", "Box project", TMsgButtons::YesNoCancel,
                          TMsgIcon::Question)) {
    // A save that was cancelled or failed keeps the project open: closing it now would
    // lose the changes the user just asked to keep.
    case TMsgAnswer::Yes: return Save();
    case TMsgAnswer::No: return true;
    default: return false;
    }
}

// ---------------------------------------------------------------- export

bool TBoxEmbryo::Export(TBoxExport kind)
{
    const TFileDialogSettings& settings = kind == TBoxExport::Impedance ? impedanceExport_ : splExport_;
    TFileRequest request{"Export", settings.filter, settings.extension, settings.fileName, {}};
    std::string path;
    if (!host_.ChooseSaveFile(request, path))
        return false;
    (kind == TBoxExport::Impedance ? impedanceExport_ : splExport_).fileName = path;
    return ExportTo(kind, path);
}

bool TBoxEmbryo::ExportTo(TBoxExport kind, const std::string& path)
{
    auto format = ExportFormatOf(path);
    if (!format) {
        host_.Message("No valid export format selected", "Export error", TMsgButtons::Ok, TMsgIcon::Warning);
        return false;
    }
    TExportCurve curve;
    curve.count = PointCount();
    curve.x = Grid().Frequencies().data();
    switch (kind) {
    case TBoxExport::Spl: curve.kind = TCurveKind::Spl; curve.y = splTotal.data(); curve.phase = splPhase.data(); break;
    case TBoxExport::ModesSpl: curve.kind = TCurveKind::SplStandingWaves; curve.y = splModes.data(); curve.phase = splPhase.data(); break;
    case TBoxExport::Impedance:
        curve.kind = TCurveKind::Impedance;
        curve.y = front_.impedanceMagnitude.data();
        curve.phase = impedancePhase.data();
        break;
    case TBoxExport::RoomSpl:
        curve.kind = TCurveKind::SplRoomCabinet;
        curve.y = roomCabinet_->Level();
        curve.phase = roomCabinet_->Phase();
        break;
    case TBoxExport::GroupDelay: curve.kind = TCurveKind::GroupDelay; curve.y = groupDelay.data(); break;
    case TBoxExport::Transient:
        // What the window shows: its caption, its points, time in ms.
        curve.kind = TCurveKind::TimeResponse;
        transient_->BringUpToDate();
        curve.caption = transient_->Caption();
        curve.count = transient_->PointCount();
        curve.x = transient_->Times().data();
        curve.y = transient_->Output().data();
        break;
    default: return false; // the room curve arrives with its window
    }
    exportKind_ = static_cast<int>(kind);
    exportFormat_ = static_cast<int>(*format);
    if (!WriteCurveFile(path, *format, curve)) {
        host_.Message("Could not open file.\nCheck if device is ready\nor if the disk is full.", "Export error",
                      TMsgButtons::Ok, TMsgIcon::Warning);
        return false;
    }
    return true;
}
