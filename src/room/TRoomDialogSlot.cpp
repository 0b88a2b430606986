#include "room/TRoomDialogSlot.h"

#include "room/TAbsDialog.h"
#include "room/TRoomCabinet.h"
#include "room/TRoomCabinetDialog.h"

#include <utility>

TRoomDialogSlot::TRoomDialogSlot() = default;
TRoomDialogSlot::~TRoomDialogSlot() = default;

void TRoomDialogSlot::Attach(THost& host, TRoomCabinet& model, const TProgramFolder& folder, int typeCode,
                             std::function<void(TRecalc)> request)
{
    model.openDialog = [this, &host, &folder, typeCode, request = std::move(request)](TRoomCabinet& m) {
        if (!dialog_) {
            dialog_ = std::make_unique<TRoomCabinetDialog>(host, m, folder, typeCode, request);
            dialog_->KeepPositionIn(x, y);
        }
        dialog_->Start();
    };
    // The model is going: no pending calculation may run on it.
    model.closeDialog = [this] { dialog_.reset(); };
    model.refreshDialog = [this] {
        if (TRoomCabinetDialog* d = OpenDialog())
            d->RefreshElements();
    };
}

TRoomCabinetDialog* TRoomDialogSlot::OpenDialog() const
{
    return dialog_ && dialog_->IsOpen() ? dialog_.get() : nullptr;
}

std::vector<TDialogModel*> TRoomDialogSlot::OpenDialogs() const
{
    std::vector<TDialogModel*> out;
    if (TRoomCabinetDialog* d = OpenDialog()) {
        out.push_back(d);
        if (TAbsDialog* a = d->Absorption())
            out.push_back(a);
    }
    return out;
}
