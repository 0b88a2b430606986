#pragma once
// "Room and cabinet effects": the modeless dialog that edits a box project's room and
// cabinet model in place. Its values are the room fields (TRoomFields), bound to the
// model's live settings. Every edit is followed by one of two reactions:
//
//   change       "&Calc" enabled, the project rebuilds its report, the model's room
//                spectra are marked out of date; with "Calc. imm." on, compute now.
//   compute now  the model calculates; "&Calc" disabled.
//
// Normalising and smoothing compute at once and keep the stored spectra; the show
// radio marks the project changed and computes at once. Closing the dialog computes
// what is pending.
//
// The element list names the elements of the box type (as its room groups list them);
// the source offsets show the selected one's position. dZ is fixed for driver cones,
// which sit in the baffle. A box type without listed elements (the reflex bandpass box)
// has the three offsets disabled: its elements' positions keep their stored values.
//
// The menu saves the settings as preferences ("roomcabi.prf"), restores the defaults
// and opens the absorption coefficients (TAbsDialog, modal).
//
// At most one room dialog is open in the program (Current()).

#include "room/TRoomSource.h"
#include "ui/TDialogModel.h"
#include "ui/TRecalc.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class TAbsDialog;
class TProgramFolder;
class TRoomCabinet;

class TRoomCabinetDialog : public TDialogModel {
public:
    static constexpr const char* kTitle = "Room and cabinet effects";
    static constexpr const char* kHelpFile = "roomcabi.txt";
    static constexpr const char* kSaveError = "Could not save to file 'roomcabi.prf'";

    // Control ids.
    static constexpr int kCalc = 101, kSpeakerX = 102, kSpeakerY = 103, kSpeakerZ = 104, kCabinetEdges = 105,
                         kCalcImmediately = 106, kFloor = 107, kBaffleHeight = 108, kListenerBackwall = 109,
                         kListenerX = 110, kListenerY = 111, kListenerZ = 112, kNormalize = 113, kCeiling = 114,
                         kRoofHeight = 115, kDepth = 116, kRoomWidth = 117, kRightSideWall = 118, kShow = 119,
                         kSmoothing = 121, kElements = 122, kLeftSideWall = 123, kSpeakerBackWall = 124, kDisable = 125,
                         kSourceDX = 126, kSourceDY = 127, kSourceDZ = 128, kLevelOffset = 129, kSummation = 130,
                         kTransition = 131, kBaffleWidth = 133, kAutoLevel = 134, kBrowse = 135, kFileName = 137,
                         kLevelOffsetNone = 138;
    // The show choices: their index is the show mode.
    static constexpr int kImpact = 0, kFrequencyResponse = 1;
    // Menu commands.
    static constexpr int kSave = 10501, kDefault = 10502, kAbsorption = 11842;

    // typeCode: the box project's type code (which controls apply); request: the
    // project's recalculation request. The owner keeps the position (KeepPositionIn).
    TRoomCabinetDialog(THost& host, TRoomCabinet& model, const TProgramFolder& folder, int typeCode,
                       std::function<void(TRecalc)> request);
    ~TRoomCabinetDialog() override;

    // Fills every field from the model and shows the dialog (the first element chosen).
    void Start();
    // The project recalculated: the element list follows its counts, the measured-data
    // fields follow the model.
    void RefreshElements();
    // The open room dialog of the program, if any.
    static TRoomCabinetDialog* Current();

    // The list entries: which position each one edits.
    struct TEntry {
        TRoomSource source;
        int index = 0; // within its group
    };
    const std::vector<TEntry>& Entries() const { return entries_; }
    // The position the source fields edit; null when the list is empty.
    TPosObject* SelectedPosition();
    // "&Calc" is enabled exactly while a change waits for computing.
    bool CalcPending() const { return calcPending_; }
    // The absorption dialog while it runs.
    TAbsDialog* Absorption() const;
    // "&Absorbtion coeffs.": runs the absorption dialog; its return is a change.
    void OpenAbsorption();
    // What the file name field shows for a stored name.
    static std::string FileNameText(const TRoomSettings& settings);

private:
    void Request(TRecalc kind);
    void Change();
    void ComputeNow();
    void Fill();
    void Browse();
    void SavePreferences();

    TRoomCabinet& model_;
    const TProgramFolder& folder_;
    int typeCode_;
    std::function<void(TRecalc)> request_;
    std::vector<TEntry> entries_;
    int selected_ = -1;
    bool firstFill_ = true;
    bool calcPending_ = false;
    std::unique_ptr<TAbsDialog> absorption_;
    std::map<int, std::function<void()>> commands_; // buttons and menu commands
};
