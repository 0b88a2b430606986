#pragma once
// Where a box project keeps its room and cabinet dialog: made when the model's
// ShowRoomDialog first asks for it, kept (with its position) while the project lives,
// destroyed without computing when the model goes. The project attaches it to its
// model once; the model's refresh hook (the project's recalculations of kinds 0 and 2)
// refreshes the open dialog's element list.
//
// Declare it before the model it serves, so the model, destroyed first, can still
// close the dialog through it.

#include "ui/TRecalc.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class THost;
class TProgramFolder;
class TRoomCabinet;
class TRoomCabinetDialog;
class TDialogModel;

class TRoomDialogSlot {
public:
    TRoomDialogSlot();
    ~TRoomDialogSlot();
    TRoomDialogSlot(const TRoomDialogSlot&) = delete;
    TRoomDialogSlot& operator=(const TRoomDialogSlot&) = delete;

    // Sets the model's dialog hooks. typeCode: the box project's; request: its
    // recalculation request.
    void Attach(THost& host, TRoomCabinet& model, const TProgramFolder& folder, int typeCode,
                std::function<void(TRecalc)> request);

    // The dialog while it is open, else null.
    TRoomCabinetDialog* OpenDialog() const;
    // The open dialog and the absorption dialog it runs, for listings of open dialogs.
    std::vector<TDialogModel*> OpenDialogs() const;

    // Where the dialog was last closed; 0, 0 = not placed yet.
    std::int16_t x = 0, y = 0;

private:
    std::unique_ptr<TRoomCabinetDialog> dialog_;
};
