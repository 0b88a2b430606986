#include "TOptTableDialog.h"

#include "ui/THost.h"

TOptTableDialog::TOptTableDialog(THost& host, std::string title_, std::string helpFile, TDialogModel& boxDialog)
    : TDialogModel(host, std::move(title_), std::move(helpFile)), boxDialog_(boxDialog)
{
    onClose = [this] { EnableOptimise(true); };
}

void TOptTableDialog::Start()
{
    if (IsOpen()) {
        Open();
        return;
    }
    EnableOptimise(false);
    Prepare();
    Open();
}

void TOptTableDialog::EnableOptimise(bool enabled)
{
    for (int id : {kTableLookup, kFrequencyFit, kQuickBox})
        boxDialog_.EnableCommand(id, enabled);
    if (boxDialog_.IsOpen())
        Host().RefreshDialog(boxDialog_);
}

void TOptTableDialog::TooHighQts() { Host().Message("Too high Qts", "", TMsgButtons::Ok, TMsgIcon::Warning); }

void TOptTableDialog::TooLowQts() { Host().Message("Too low Qts", "", TMsgButtons::Ok, TMsgIcon::Warning); }
