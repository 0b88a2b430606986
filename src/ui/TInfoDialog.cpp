#include "TInfoDialog.h"

TInfoDialog::TInfoDialog(THost& host) : TDialogModel(host, "User note")
{
    modal = true;
    AddNote(NoteId, "", Limit).Width(48).Rows(10);
    AddOk();
    onClose = [this] {
        // Moved out first: the callback may destroy this dialog.
        Done done = std::move(done_);
        done_ = nullptr;
        std::string text = Field(NoteId).str.Text();
        bool modified = Field(NoteId).str.Modified();
        if (done)
            done(text, modified);
    };
}

void TInfoDialog::Open(const std::string& text, Done done)
{
    if (IsOpen())
        return;
    done_ = std::move(done);
    SetText(NoteId, text);
    TDialogModel::Open();
}
