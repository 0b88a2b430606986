#pragma once
// "Snapshot": the modeless dialog of a project's snapshot window. Title, range, start and
// stop frequency, whether slot numbers are drawn, and for the chosen slot its offset,
// label and "&Hide". Its menu opens and saves the ".snp" file and copies the project's
// current curves into the chosen slot; the project says which curves it has (its
// sources) and what follows a copy or a file command.

#include "ui/TDialogModel.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TProgramFolder;
class TSnapshot;

class TSnapshotDialog : public TDialogModel {
public:
    static constexpr int kTitle = 101, kHide = 102, kHideNumbers = 103, kSlot = 104, kOffset = 105, kRange = 106,
                         kStart = 107, kStop = 108, kText = 109;
    static constexpr int kOpen = 10201, kSave = 10202, kSaveAs = 10203;
    // The copy commands of the menu.
    static constexpr int kFreeAirSpl = 10205, kRoomSpl = 10204, kSummedResponse = 11842;
    static constexpr const char* kFilter = "Snapshot files (*.snp)|*.snp|All files (*.*)|*.*|";

    // A curve of the project the menu copies into the chosen slot.
    struct TSource {
        int command = 0;
        std::string caption;
        // Fills the slot; false when the project has nothing to copy.
        std::function<bool(TSnapshot& window, int slot)> fill;
    };

    struct TOwner {
        const TProgramFolder* folder = nullptr; // names without ":" are taken in it
        std::string* fileName = nullptr;        // the project's snapshot file dialog name
        std::string* storedPath = nullptr;      // the path the project file keeps
        std::int16_t version = 410;             // written into the file
        std::vector<TSource> sources;
        std::function<void()> copied;   // after a copy (box projects calculate when changed)
        std::function<void()> fileDone; // after a successful save or load
    };

    TSnapshotDialog(THost& host, TSnapshot& window, TOwner owner, int mainMenuCommand);
    ~TSnapshotDialog() override;

    // The menu's file commands without the chooser (the command line, tests); the
    // messages of a failure are shown as for the menu.
    bool SaveTo(const std::string& name, const char* failTitle);
    bool OpenFrom(const std::string& name);
    bool CopyFrom(int command);

    static const std::vector<std::string>& SlotItems();

private:
    void MenuCommand(int id);
    bool ChooseFile(bool save, std::string& name);
    void Changed();

    TSnapshot& window_;
    TOwner owner_;
};
