#pragma once
// Everything the engine asks of the desktop. The Qt front end implements it with real
// widgets; tests and tonvek-cli use THeadlessHost (messages recorded, answers
// scripted, windows rendered on request).

#include "TCanvas.h"
#include "TFieldView.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TWindowModel;
class TDialogModel;

enum class TMsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class TMsgIcon { None, Information, Warning, Error, Question };
enum class TMsgAnswer { Ok, Cancel, Yes, No, Retry };

// A file chooser request. The filter is "Name|*.ext|Name|*.ext" pairs.
struct TFileRequest {
    std::string title;
    std::string filter;
    std::string defaultExtension; // without the dot
    std::string initialName;
    std::string initialFolder;
};

// Paints page `page` (from 0) of a print job onto a canvas mapped onto the whole page.
using TPagePainter = std::function<void(TCanvas& canvas, int page)>;

class THost {
public:
    virtual ~THost() = default;

    // Messages
    virtual TMsgAnswer Message(const std::string& text, const std::string& title, TMsgButtons buttons,
                               TMsgIcon icon) = 0;
    virtual void Beep() = 0;
    // A modal note with an "&OK" button and one check box, whose state comes back in checked.
    virtual void MessageWithCheckBox(const std::string& text, const std::string& title,
                                     const std::string& checkText, bool& checked) = 0;
    // A one-line text input; false when cancelled. maxLength 0 means no limit.
    virtual bool InputText(const std::string& title, const std::string& prompt, std::string& value,
                           int maxLength) = 0;

    // File choosers: false when cancelled; the chosen path is absolute.
    virtual bool ChooseOpenFile(const TFileRequest& request, std::string& path) = 0;
    virtual bool ChooseSaveFile(const TFileRequest& request, std::string& path) = 0;

    // Busy pointer, nested.
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;

    // Menu commands by command id, and the menu bar by menu number.
    virtual void EnableCommand(int id, bool enabled) = 0;
    virtual void RemoveCommand(int id) = 0;
    // Shows again every command a project removed: the next project removes its own.
    virtual void RestoreRemovedCommands() {}
    virtual void SetCommandText(int id, const std::string& text) = 0;
    virtual void CheckCommand(int id, bool checked) = 0;
    virtual void SwitchMenu(int menu) = 0;
    virtual void SetMainTitle(const std::string& title) = 0;

    // Runs a step later on the user-interface thread (optimiser iterations, idle work).
    virtual void PostDeferred(std::function<void()> step) = 0;

    // Help text from the help folder, shown in a read-only viewer that does not block.
    virtual void OpenHelp(const std::string& fileName) = 0;
    // Starts the program's own executable again, detached; false on failure.
    virtual bool StartNewInstance() = 0;

    // Shows the print dialog and prints the pages; false when cancelled or failed.
    virtual bool PrintPages(const std::string& jobName, int pageCount, const TPagePainter& painter) = 0;

    // Clipboard
    virtual bool SetClipboardText(const std::string& text) = 0;
    // A bitmap of the window as shown on screen; false when no bitmap could be made.
    virtual bool CopyViewPicture(TWindowModel& window) = 0;

    // Child window views
    virtual void CreateView(TWindowModel& window) = 0;
    virtual void DestroyView(TWindowModel& window) = 0;
    virtual void ShowView(TWindowModel& window) = 0;
    virtual void HideView(TWindowModel& window) = 0;
    virtual void RedrawView(TWindowModel& window) = 0;
    virtual bool IsViewMinimised(const TWindowModel& window) const = 0;
    // The child window the user works in (the active MDI child), or nullptr.
    virtual TWindowModel* ActiveView() const = 0;
    // Client size in pixels of the view as shown.
    virtual void ViewClientSize(const TWindowModel& window, int& width, int& height) const = 0;

    // Modeless dialogs
    virtual void ShowDialog(TDialogModel& dialog) = 0;
    virtual void CloseDialog(TDialogModel& dialog) = 0;
    // The dialog model changed its values from outside: the view reloads them.
    virtual void RefreshDialog(TDialogModel& dialog) = 0;

    // The view of a tool window of read-only texts (the cursor readout), or nullptr
    // where none is shown. The source outlives the view it is given.
    virtual std::unique_ptr<TFieldView> CreateFieldView(TFieldSource& source) = 0;
};

// Wait cursor for a scope.
class TWaitCursor {
public:
    explicit TWaitCursor(THost& host) : host_(host) { host_.BeginWait(); }
    ~TWaitCursor() { host_.EndWait(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    THost& host_;
};
