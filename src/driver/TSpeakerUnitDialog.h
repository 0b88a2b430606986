#pragma once
// The speaker unit editor: edits the front driver's unit record in place. Every
// accepted entry tells the owner at once (the project recalculates and redraws); the
// editor keeps its own changed flag for the unit file and asks before anything would
// discard unsaved changes.

#include "driver/TSpkData.h"
#include "ui/TDialogModel.h"

#include <functional>
#include <memory>
#include <string>

class TCanvas;
class TInfoDialog;
class TSpeakerObject;

class TSpeakerUnitDialog : public TDialogModel {
public:
    static constexpr const char* kTitle = "Speaker unit editor";
    static constexpr const char* kHelpFile = "spkedit.txt";
    static constexpr const char* kPrintJob = "Tonvek print job";
    static constexpr const char* kPrintHeading = "Speaker unit data";
    static constexpr const char* kPrintFailed = "Unable to print window";
    static constexpr const char* kPrintFailedTitle = "Printer failure";
    static constexpr const char* kCopyFailed = "Out of memory";
    static constexpr const char* kCopyFailedTitle = "Copy window";
    static constexpr std::size_t kTextLimit = 99; // manufacturer and model

    // Menu commands.
    enum : int {
        kNew = 12300,
        kOpen,
        kSave,
        kSaveAs,
        kPrint,
        kCopy,
        kUserNote,
        kCalcMissing,
    };

    // The field id of a parameter (0 when it has no field).
    static int FieldIdOf(TSpkParam param);

    // Field ids. The parameter fields are kFirstParam + their index in SpkFields().
    enum : int {
        kFirstParam = 101,
        kManufacturer = 130,
        kModel,
        kFileName,
        kSpeakerType,
        kCrossCalc = 140,
        kDoubleVoiceCoil,
        kEfficiency = 150,
        kSensitivity,
    };

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

    // Opens with the unit's values, at the position kept in the unit if it has one.
    void OpenAtSavedPosition();
    // Asks about unsaved changes and closes; false when the user cancelled (the
    // editor stays open).
    bool AskClose();

    // The unit differs from its file.
    bool UnitChangedSinceSave() const { return changed_; }

    // The commands, as the menu runs them. The file commands return false when they
    // were cancelled or failed.
    bool NewUnit();
    bool OpenUnit();
    bool SaveUnit();
    bool SaveUnitAs();
    bool PrintUnit();
    bool CopyUnit();
    void EditUserNote();
    void CalcMissing();

    // The user note dialog while it is open, else nullptr.
    TInfoDialog* NoteDialog() const;

    // The printed page: the heading and the unit text on a 1200 x 1200 logical page.
    static void PaintPage(TCanvas& canvas, const std::string& unitText);

private:
    void Load();
    void RunCommand(int id);
    // Takes the manufacturer and model texts and the speaker type from the fields.
    void TakeTexts();
    // After any change of the unit: changed flag, squares, the owner recalculates.
    void Notify();
    // When the unit has unsaved changes: asks, and saves on Yes. False: stop.
    bool AskSave(const char* question);
    bool WriteUnit(const std::string& path, bool saveAs);

    TSpeakerObject& unit_;
    TOwner owner_;
    std::unique_ptr<TInfoDialog> note_;
    bool changed_ = false;
};
