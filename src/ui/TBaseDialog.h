#pragma once
// The keyboard, focus and close protocol every parameter dialog shares, without a
// window. Focus is tracked here (the view reports where the focus went, or follows
// when the protocol moves it), so "Enter moves to the next field" and "Escape commits
// the field being edited, then closes" are testable headlessly.
//
//   Enter (also the OK button): return value 1; when OK has the focus the dialog
//          closes, otherwise the focus moves to the next field in tab order (which
//          commits the field that had it).
//   Escape: the focus moves to OK (or the next field), then the close request runs.
//   Close request (window close button too): the field being edited commits first,
//          then the dialog closes with its return value (unless it declines).
//   Help ("?"): opens the dialog's help text through THost::OpenHelp.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class THost;

struct TDialogPosition {
    int x = 0;
    int y = 0;
    bool Placed() const { return x != 0 || y != 0; } // 0, 0 = not placed yet
};

class TBaseDialog {
public:
    static constexpr int OkId = 1;     // "&OK": Enter on it closes with return value 1
    static constexpr int CancelId = 2; // a cancel button acts as Escape
    static constexpr int HelpId = 9;

    TBaseDialog(THost& host, std::string helpFile);
    virtual ~TBaseDialog();
    TBaseDialog(const TBaseDialog&) = delete;
    TBaseDialog& operator=(const TBaseDialog&) = delete;

    THost& Host() const { return host_; }
    // The help file name in the help folder ("yankee.txt"); empty: the "?" does nothing.
    const std::string& HelpFile() const { return helpFile_; }
    void SetHelpFile(std::string name) { helpFile_ = std::move(name); }
    bool HasOk() const { return hasOk_; }
    bool IsOpen() const { return open_; }
    bool Closing() const { return closing_; }
    // 2 until the user confirmed with Enter or OK, then 1.
    int ReturnValue() const { return returnValue_; }

    // Focus: the field id that has it, 0 for none (focus outside the dialog).
    int FocusedId() const { return focused_; }
    // The focus went to field id (0: left the dialog). The field that had it commits.
    void FocusField(int id);
    // Field id lost the focus to something that is not a field (menu, other window).
    void FocusLeft(int id);

    void Enter();
    void Escape();
    void RequestClose();
    void Help();

    // Where the view stands on screen; the view keeps it up to date.
    TDialogPosition position;
    // Where the owner keeps the position between openings: an int16 pair, as its file
    // stores it. Opening a closed dialog places it there when it was placed (not 0, 0);
    // closing it stores the position back, clamped to the int16 range.
    void KeepPositionIn(std::int16_t& x, std::int16_t& y);
    // The one rule for putting a screen coordinate into a file's int16.
    static std::int16_t FileCoordinate(int coordinate);

    // Lets a view notice that its model is gone before touching it.
    std::weak_ptr<const int> LifeToken() const { return life_; }

protected:
    // Ids of the fields that take the focus, in tab order.
    virtual std::vector<int> TabOrder() const = 0;
    // Field id loses the focus: commit what was typed.
    virtual void CommitField(int id) = 0;
    // Field id receives the focus.
    virtual void FieldFocused(int id) = 0;
    // The close protocol finished: close the dialog with its return value. False
    // keeps it open (the dialog declined, e.g. the user cancelled a save question).
    virtual bool Finish() = 0;

    void SetHasOk(bool hasOk) { hasOk_ = hasOk; }
    // State at opening: no close pending, return value 2, focus on the first field.
    void ResetProtocol();
    void SetOpen(bool open) { open_ = open; }
    // The owner's saved position into position (when placed), and back.
    void RestorePosition();
    void SavePosition();

private:
    int NextInTabOrder(int from) const;
    void MoveFocusForClose();

    THost& host_;
    std::string helpFile_;
    std::shared_ptr<const int> life_ = std::make_shared<const int>(0);
    std::int16_t* keptX_ = nullptr;
    std::int16_t* keptY_ = nullptr;
    int focused_ = 0;
    int returnValue_ = 2;
    bool hasOk_ = false;
    bool closing_ = false;
    bool open_ = false;
};
