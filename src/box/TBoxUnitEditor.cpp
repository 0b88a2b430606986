// The box project's side of the speaker unit editor.

#include "TBoxEmbryo.h"

#include "core/TProgramFolder.h"
#include "driver/TSpeakerConfigDialog.h"
#include "driver/TSpeakerUnitDialog.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

void TBoxEmbryo::OpenUnitEditor()
{
    if (!unitEditor_) {
        TSpeakerUnitDialog::TOwner owner;
        owner.unitPath = [this] { return unitFile_.fileName; };
        owner.setUnitPath = [this](const std::string& path) { unitFile_.fileName = TProgramFolder::Strip(path); };
        owner.unitChanged = [this] { UnitChanged(); };
        owner.closed = [this] {
            host_.EnableCommand(TCmd::DriverLoad, true);
            host_.EnableCommand(TCmd::UnitEditor, true);
        };
        unitEditor_ = std::make_unique<TSpeakerUnitDialog>(host_, front_, std::move(owner));
    }
    host_.EnableCommand(TCmd::DriverLoad, false);
    host_.EnableCommand(TCmd::UnitEditor, false);
    unitEditor_->Reload();
    unitEditor_->Open();
}

void TBoxEmbryo::UnitChanged()
{
    front_.outOfDate = true;
    front_.EvaluateComplete();
    UpdateCalculateCommand();
    RecalcRequest(0);
    if (configDialog_ && configDialog_->IsOpen())
        configDialog_->Reload();
}
