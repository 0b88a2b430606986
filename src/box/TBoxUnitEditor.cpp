// The box project's side of the speaker unit editor.

#include "TBoxEmbryo.h"

#include "core/TProgramFolder.h"
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
        owner.setUnitPath = [this](const std::string& path) { unitFile_.fileName = TProgramFolder::Strip(path); };
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
    RecalcRequest(0);
    // A finished calculation enables the project's commands, these two included.
    if (unitEditor_ && unitEditor_->IsOpen())
        EnableUnitCommands(host_, false);
    if (configDialog_ && configDialog_->IsOpen())
        configDialog_->Reload();
}
