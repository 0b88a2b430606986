// The box project's driver unit: loading it from a file or with the project, and the
// speaker unit editor working on it.

#include "TBoxEmbryo.h"

#include "driver/TSpeakerConfigDialog.h"
#include "driver/TSpeakerUnitDialog.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"


namespace {
// While the editor is open the unit must not be replaced behind its back.
void EnableUnitCommands(THost& host, bool enabled)
{
    host.EnableCommand(TCmd::DriverLoad, enabled);
    host.EnableCommand(TCmd::UnitEditor, enabled);
}
} // namespace

void TBoxEmbryo::OpenUnitEditor()
{
    if (!unitEditor_) {
        TSpeakerUnitDialog::TOwner owner;
        owner.unitPath = [this] { return unitFile_.fileName; };
        owner.setUnitPath = [this](const std::string& path) { unitFile_.fileName = context_.Folder().Strip(path); };
        owner.unitChanged = [this] { UnitChanged(); };
        owner.closed = [this] { EnableUnitCommands(host_, true); };
        unitEditor_ = std::make_unique<TSpeakerUnitDialog>(host_, front_, std::move(owner));
    }
    EnableUnitCommands(host_, false);
    unitEditor_->OpenAtSavedPosition();
}

void TBoxEmbryo::UnitChanged()
{
    // Out of date, complete again, and the coil factors follow the double voice coil flag.
    front_.UnitChanged();
    UpdateCalculateCommand();
    RecalcRequest(TRecalc::Recalculate);
    // A finished calculation enables the project's commands, these two included.
    if (unitEditor_ && unitEditor_->IsOpen())
        EnableUnitCommands(host_, false);
    if (configDialog_ && configDialog_->IsOpen())
        configDialog_->Reload();
}

void TBoxEmbryo::LoadFrontUnit()
{
    TFileRequest request{"Load driver unit", unitFile_.filter, unitFile_.extension, unitFile_.fileName, {}};
    std::string path;
    if (!host_.ChooseOpenFile(request, path))
        return;
    (void)LoadFrontUnitFrom(path);
}

bool TBoxEmbryo::LoadFrontUnitFrom(const std::string& path)
{
    // A damaged file is read straight into the unit; a failed load must leave the
    // project's unit as it was, so it keeps calculating.
    const TSpkData previous = front_;
    if (!front_.Load(path)) {
        static_cast<TSpkData&>(front_) = previous;
        front_.EvaluateComplete();
        host_.Message("Could not open file.\nCheck if device is ready.", "Speaker unit load", TMsgButtons::Ok,
                      TMsgIcon::Warning);
        return false;
    }
    changed_ = true;
    front_.EvaluateComplete();
    if (front_.complete) {
        unitFile_.fileName = context_.Folder().Strip(path);
        EnableProjectCommands(true);
    } else {
        host_.Message("Too few speaker parameters are defined", "Speaker unit load", TMsgButtons::Ok,
                      TMsgIcon::Warning);
    }
    front_.outOfDate = true;
    RecalcRequest(TRecalc::Recalculate);
    UpdateCalculateCommand();
    RefreshDriverConfig();
    return true;
}

void TBoxEmbryo::LoadProjectUnit()
{
    if (unitFile_.fileName.empty()) {
        // Saved while its unit had no file: say so rather than name an empty file.
        host_.Message("This project names no driver unit file.\nLoad a driver unit to calculate.",
                      "Speaker unit load", TMsgButtons::Ok, TMsgIcon::Warning);
        UpdateCalculateCommand();
        return;
    }
    if (!front_.Load(context_.Folder().Resolve(unitFile_.fileName))) {
        host_.Message("Could not open file : " + unitFile_.fileName + "\nCheck if path and filename is correct.",
                      "Speaker unit load", TMsgButtons::Ok, TMsgIcon::Warning);
        UpdateCalculateCommand();
        return;
    }
    front_.EvaluateComplete();
    if (!front_.complete)
        host_.Message("Too few speaker parameters are defined", "Speaker unit load", TMsgButtons::Ok,
                      TMsgIcon::Warning);
    MeasSetup().setupChanged = true;
    UpdateCalculateCommand();
}
