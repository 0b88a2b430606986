#include "TSpeakerUnitDialog.h"

#include "driver/TSpeakerObject.h"

TSpeakerUnitDialog::TSpeakerUnitDialog(THost& host, TSpeakerObject& unit, TOwner owner)
    : TDialogModel(host, "Speaker unit editor", "spkedit.txt"), unit_(unit), owner_(std::move(owner))
{
}

TSpeakerUnitDialog::~TSpeakerUnitDialog() = default;

bool TSpeakerUnitDialog::AskClose()
{
    Close();
    if (owner_.closed)
        owner_.closed();
    return true;
}
