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

void EnableRearUnitCommands(THost& host, bool enabled)
{
    host.EnableCommand(TCmd::RearDriverLoad, enabled);
    host.EnableCommand(TCmd::RearUnitEditor, enabled);
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

void TBoxEmbryo::OpenRearUnitEditor()
{
    if (!type_.frontAndRear)
        return;
    if (!rearUnitEditor_) {
        TSpeakerUnitDialog::TOwner owner;
        owner.unitPath = [this] { return rearUnitFile_.fileName; };
        owner.setUnitPath = [this](const std::string& path) { rearUnitFile_.fileName = context_.Folder().Strip(path); };
        owner.unitChanged = [this] {
            rear_.UnitChanged();
            RecalcRequest(TRecalc::Recalculate);
            if (rearUnitEditor_ && rearUnitEditor_->IsOpen())
                EnableRearUnitCommands(host_, false);
            RefreshDriverConfig();
        };
        owner.closed = [this] { EnableRearUnitCommands(host_, true); };
        rearUnitEditor_ = std::make_unique<TSpeakerUnitDialog>(host_, rear_, std::move(owner));
    }
    EnableRearUnitCommands(host_, false);
    rearUnitEditor_->OpenAtSavedPosition();
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

bool TBoxEmbryo::LoadFrontUnitFrom(const std::string& path) { return LoadUnitInto(front_, unitFile_, path); }

void TBoxEmbryo::LoadRearUnit()
{
    if (!type_.frontAndRear)
        return;
    TFileRequest request{
        "Load rear driver unit", rearUnitFile_.filter, rearUnitFile_.extension, rearUnitFile_.fileName, {}};
    std::string path;
    if (!host_.ChooseOpenFile(request, path))
        return;
    (void)LoadRearUnitFrom(path);
}

bool TBoxEmbryo::LoadRearUnitFrom(const std::string& path)
{
    return type_.frontAndRear && LoadUnitInto(rear_, rearUnitFile_, path);
}

bool TBoxEmbryo::LoadUnitInto(TSpeakerObject& driver, TFileDialogSettings& file, const std::string& path)
{
    // A damaged file is read straight into the unit; a failed load must leave the
    // project's unit as it was, so it keeps calculating.
    const TSpkData previous = driver;
    if (!driver.Load(path)) {
        static_cast<TSpkData&>(driver) = previous;
        driver.EvaluateComplete();
        host_.Message("Could not open file.\nCheck if device is ready.", "Speaker unit load", TMsgButtons::Ok,
                      TMsgIcon::Warning);
        return false;
    }
    changed_ = true;
    driver.EvaluateComplete();
    if (driver.complete) {
        file.fileName = context_.Folder().Strip(path);
        EnableProjectCommands(true);
    } else {
        host_.Message("Too few speaker parameters are defined", "Speaker unit load", TMsgButtons::Ok,
                      TMsgIcon::Warning);
    }
    driver.outOfDate = true;
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

void TBoxEmbryo::LoadProjectRearUnit()
{
    if (rearUnitFile_.fileName.empty())
        return;
    if (!rear_.Load(context_.Folder().Resolve(rearUnitFile_.fileName))) {
        host_.Message("Could not open file : " + rearUnitFile_.fileName + "\nCheck if path and filename is correct.",
                      "Speaker unit load", TMsgButtons::Ok, TMsgIcon::Warning);
        return;
    }
    rear_.EvaluateComplete();
    if (!rear_.complete)
        host_.Message("Too few speaker parameters are defined", "Speaker unit load", TMsgButtons::Ok,
                      TMsgIcon::Warning);
    MeasSetup().setupChanged = true;
    UpdateCalculateCommand();
}
