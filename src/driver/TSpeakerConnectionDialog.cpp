#include "TSpeakerConnectionDialog.h"

#include "driver/TSpeakerObject.h"

TSpeakerConnectionDialog::TSpeakerConnectionDialog(THost& host, TSpeakerObject& speaker)
    : TDialogModel(host, "Electrical connection", "elconn.txt"), speaker_(speaker)
{
    modal = true;
    AddList(kListId, "", {}, -1).Rows(8);
    AddOk();
    onLoad = [this] { Fill(); };
    onCommand = [this](int id) {
        if (id == kListId) {
            Store();
            Close();
        }
    };
    onClose = [this] {
        if (ReturnValue() == 1)
            Store();
    };
    Fill();
}

void TSpeakerConnectionDialog::Fill()
{
    entries_ = TSpeakerConnection::DriverConnectionList(speaker_.numberOfDrivers);
    std::vector<std::string> names;
    int selected = -1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        names.emplace_back(TSpeakerConnection::DriverConnection(entries_[i]).name);
        if (entries_[i] == speaker_.driverConnection)
            selected = static_cast<int>(i);
    }
    SetItems(kListId, std::move(names), selected);
}

void TSpeakerConnectionDialog::Store()
{
    int selected = Selected(kListId);
    if (selected < 0 || selected >= static_cast<int>(entries_.size()))
        return;
    speaker_.SetDriverConnection(entries_[static_cast<std::size_t>(selected)]);
    speaker_.outOfDate = true;
    if (onStored)
        onStored();
}
