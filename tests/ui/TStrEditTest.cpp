// Text fields and the user note dialog.
#include "ui/THeadlessHost.h"
#include "ui/TInfoDialog.h"
#include "ui/TStrEdit.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TStrEdit, KeepsAtMostTheLimitWithoutSplittingACharacter)
{
    struct Row {
        const char* text;
        std::size_t limit;
        const char* kept;
    } rows[] = {
        {"abcdef", 4, "abcd"},
        {"abc", 4, "abc"},
        {"ab\xC3\xA4x", 3, "ab"},           // "ä" is two bytes and does not fit
        {"ab\xC3\xA4x", 4, "ab\xC3\xA4"},
        {"\xE2\x82\xAC\xE2\x82\xAC", 5, "\xE2\x82\xAC"}, // two euro signs, three bytes each
        {"", 0, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        TStrEdit e(r.limit);
        bool whole = e.Edit(r.text);
        EXPECT_EQ(e.Text(), r.kept);
        EXPECT_EQ(whole, std::string(r.text) == r.kept);
    }
}

TEST(TStrEdit, EveryLossOfFocusNotifiesAndEditsMarkModified)
{
    TStrEdit e(10, "name");
    EXPECT_FALSE(e.Modified());
    EXPECT_TRUE(e.Commit().notify);
    e.Edit("name"); // same text: not a change
    EXPECT_FALSE(e.Modified());
    e.Edit("other");
    EXPECT_TRUE(e.Modified());
    e.SetText("again");
    EXPECT_FALSE(e.Modified());
}

TEST(TInfoDialog, EditsTheNoteUpTo599CharactersAndReportsAChange)
{
    THeadlessHost host;
    TInfoDialog note(host);
    EXPECT_EQ(note.title, "User note");
    EXPECT_TRUE(note.modal);
    std::string result;
    bool modified = true;
    int calls = 0;
    note.Open("first line\r\nsecond", [&](const std::string& text, bool changed) {
        result = text;
        modified = changed;
        ++calls;
    });
    ASSERT_TRUE(host.IsDialogOpen(note));
    EXPECT_EQ(note.NoteText(), "first line\r\nsecond");
    EXPECT_EQ(note.FocusedId(), TInfoDialog::NoteId);

    note.Edit(TInfoDialog::NoteId, std::string(700, 'x'));
    EXPECT_EQ(note.NoteText().size(), 599u);
    note.Press(TBaseDialog::OkId);
    EXPECT_FALSE(host.IsDialogOpen(note));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(result, std::string(599, 'x'));
    EXPECT_TRUE(modified);
    EXPECT_EQ(note.ReturnValue(), 1);
}

TEST(TInfoDialog, ClosingWithoutEditingIsNotAChange)
{
    THeadlessHost host;
    TInfoDialog note(host);
    bool modified = true;
    std::string result;
    note.Open("kept", [&](const std::string& text, bool changed) {
        result = text;
        modified = changed;
    });
    note.Escape();
    EXPECT_FALSE(host.IsDialogOpen(note));
    EXPECT_EQ(result, "kept");
    EXPECT_FALSE(modified);
}

TEST(TInfoDialog, ALongerStartTextIsCut)
{
    THeadlessHost host;
    TInfoDialog note(host);
    note.Open(std::string(650, 'y'), nullptr);
    EXPECT_EQ(note.NoteText().size(), 599u);
    note.RequestClose(); // no callback given: closing still works
    EXPECT_FALSE(note.IsOpen());
}

} // namespace
