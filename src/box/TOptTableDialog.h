#pragma once
// What the table lookup dialogs share: they are opened from a box dialog's "&Optimize"
// menu, whose three commands stay disabled while one is open, and every choice is
// applied at once. A driver outside a table's range gets "Too high Qts" or "Too low
// Qts" and nothing changes.

#include "ui/TDialogModel.h"

class TOptTableDialog : public TDialogModel {
public:
    // The optimise commands every box dialog has in its "&Optimize" menu.
    static constexpr int kTableLookup = 12210, kFrequencyFit = 12211, kQuickBox = 12212;

    // Opens the dialog for the driver as it is now: the choices that do not suit it
    // disabled, the first that does chosen and applied. Raises an open dialog.
    void Start();

protected:
    TOptTableDialog(THost& host, std::string title, std::string helpFile, TDialogModel& boxDialog);

    // Enables and selects the choices for the driver, then applies the selection.
    virtual void Prepare() = 0;
    void TooHighQts();
    void TooLowQts();
    TDialogModel& BoxDialog() { return boxDialog_; }

private:
    void EnableOptimise(bool enabled);

    TDialogModel& boxDialog_;
};
