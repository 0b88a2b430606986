#pragma once
// The speaker unit editor: edits the front driver's unit record in place.

#include "ui/TDialogModel.h"

#include <functional>
#include <string>

class TSpeakerObject;

class TSpeakerUnitDialog : public TDialogModel {
public:
    // The owner's side: the project's stored front unit path, and what an accepted
    // change does (recalculate and redraw the open project).
    struct TOwner {
        std::function<std::string()> unitPath;
        std::function<void(const std::string&)> setUnitPath;
        std::function<void()> unitChanged;
        std::function<void()> closed;
    };

    TSpeakerUnitDialog(THost& host, TSpeakerObject& unit, TOwner owner);
    ~TSpeakerUnitDialog() override;

    // Asks about unsaved changes and closes; false when the user cancelled.
    bool AskClose();

private:
    TSpeakerObject& unit_;
    TOwner owner_;
};
