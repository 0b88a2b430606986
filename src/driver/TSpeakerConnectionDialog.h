#pragma once
// The "Electrical connection" list of the driver configuration: the wirings offered for
// the current number of drivers. "&OK" stores the chosen one with its factors; a
// double click on an entry does the same.

#include "ui/TDialogModel.h"

#include <functional>
#include <vector>

class TSpeakerObject;

class TSpeakerConnectionDialog : public TDialogModel {
public:
    static constexpr int kListId = 101;

    TSpeakerConnectionDialog(THost& host, TSpeakerObject& speaker);

    // Called after a connection was stored (the configuration then recalculates).
    std::function<void()> onStored;

    // The table indices behind the list entries, in list order.
    const std::vector<int>& Entries() const { return entries_; }

private:
    void Fill();
    void Store();

    TSpeakerObject& speaker_;
    std::vector<int> entries_;
};
