#pragma once
// "Measurement setup": the modeless dialog that edits the program's measurement setup
// (the context's) for the open box project. Its fields are the setup fields
// (TMeasSetupFields), bound to the live TMeasSetup: every committed change goes
// straight into it, sets its setup changed flag and asks the project to react through
// the recalculation callback - box projects sit above this layer, so the dialog knows
// them only by that callback and by the TMeasureSetupObject where the project keeps
// the dialog's position. "&Save" writes into the context's program folder.
//
// Linked rules: start and stop keep at least 10 Hz apart (each one's value moves the
// other's limit); Ug and Pg follow each other (Pg = Ug² / 8) and pick their formats
// from their values; Autorange on empties and disables the range, off gives it 30 dB
// back; "Calculate immediately" sends kind 0 when switched on and kind 1 (only mark
// the project changed) when off.
// The "&Preferences" menu saves the setup to "msetup.prf" or restores the factory
// values.

#include "settings/TMeasSetup.h"
#include "ui/TDialogModel.h"
#include "ui/TRecalc.h"

#include <functional>

class TProgramContext;

class TMeasSetupDialog : public TDialogModel {
public:
    // Recalculation request kinds this dialog sends.
    using TRecalcRequest = std::function<void(TRecalc kind)>;

    // Control ids.
    static constexpr int StartId = 101, StopId = 102, PointsId = 103;
    static constexpr int LevelId = 104, PowerId = 105, ResistanceId = 106;
    static constexpr int CutoffId = 107, QId = 108;
    static constexpr int AutorangeId = 109, RangeId = 110, HidePhaseId = 111;
    static constexpr int CalcImmediatelyId = 112;
    // Commands of the "&Preferences" menu.
    static constexpr int SaveCommand = 10501, DefaultCommand = 10502;

    // owner: where the project keeps the dialog's position (may be null);
    // mainMenuCommand: the project's "&Meas. setup" command, disabled while open.
    TMeasSetupDialog(THost& host, TProgramContext& context, TRecalcRequest request,
                     TMeasureSetupObject* owner = nullptr, int mainMenuCommand = 0);

private:
    void Preferences(int command);
    void Request(TRecalc kind);

    TProgramContext& context_;
    TMeasSetup& setup_;
    TRecalcRequest request_;
};
