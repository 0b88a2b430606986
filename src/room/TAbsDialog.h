#pragma once
// "Absorbtion coefficients": the six surfaces' absorption coefficients α = 1 − r² of
// the room model's reflection factors r. Modal, with "&OK". A committed α stores
// r = sqrt(1 − α) at once and nothing more; what follows the edit is the caller's,
// when the dialog closes.

#include "ui/TDialogModel.h"

#include <functional>

struct TRoomSettings;

class TAbsDialog : public TDialogModel {
public:
    static constexpr const char* kTitle = "Absorbtion coefficients";
    static constexpr const char* kHelpFile = "roomabs.txt";
    // Control ids of the surfaces.
    static constexpr int kSpeakerBackwall = 106, kLeftSidewall = 103, kRightSidewall = 105, kCeiling = 104,
                         kFloor = 101, kListenerBackwall = 102;

    TAbsDialog(THost& host, TRoomSettings& settings);

    // Shows the current coefficients; returned runs once, when the dialog closes.
    void Run(std::function<void()> returned);

private:
    using TDialogModel::Open;
    std::function<void()> returned_;
};
