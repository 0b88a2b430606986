#pragma once
// The "User note" dialog: one multi-line field of at most 599 characters and "&OK".
// It blocks the other windows while open (the view makes it application modal); when
// it closes it hands the text back and says whether the user changed it, so callers
// mark their project as changed only then.

#include "TDialogModel.h"

#include <functional>
#include <string>

class TInfoDialog : public TDialogModel {
public:
    static constexpr int NoteId = 101;
    static constexpr std::size_t Limit = 599; // a 600-byte text field with its terminator

    using Done = std::function<void(const std::string& text, bool modified)>;

    explicit TInfoDialog(THost& host);

    // Shows the text (caret at the start); done runs once, when the dialog closes.
    void Open(const std::string& text, Done done);

    std::string NoteText() const { return Field(NoteId).str.Text(); }

private:
    using TDialogModel::Open;
    Done done_;
};
