#include "room/TAbsDialog.h"

#include "room/TRoomFields.h"
#include "room/TRoomSettings.h"

namespace {
constexpr int IdOf(TAbsField field)
{
    switch (field) {
    case TAbsField::SpeakerBackwall: return TAbsDialog::kSpeakerBackwall;
    case TAbsField::LeftSidewall: return TAbsDialog::kLeftSidewall;
    case TAbsField::RightSidewall: return TAbsDialog::kRightSidewall;
    case TAbsField::Ceiling: return TAbsDialog::kCeiling;
    case TAbsField::Floor: return TAbsDialog::kFloor;
    case TAbsField::ListenerBackwall: return TAbsDialog::kListenerBackwall;
    }
    return 0;
}
} // namespace

TAbsDialog::TAbsDialog(THost& host, TRoomSettings& settings) : TDialogModel(host, kTitle, kHelpFile)
{
    modal = true;
    for (TAbsField field : AbsFields())
        AddField(IdOf(field), AbsFieldInfo(field), BindAbsField(settings, field)).Width(6);
    AddOk();
    // Stored and nothing more: the room dialog reacts once, when this one returns.
    afterCommit = [] {};
    onClose = [this] {
        // Moved out first: the callback may destroy this dialog.
        std::function<void()> returned = std::move(returned_);
        returned_ = nullptr;
        if (returned)
            returned();
    };
}

void TAbsDialog::Run(std::function<void()> returned)
{
    if (IsOpen())
        return;
    returned_ = std::move(returned);
    TDialogModel::Open();
}
