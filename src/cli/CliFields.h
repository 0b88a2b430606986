#pragma once
// The names under which tonvek-cli set reaches a project's dialog fields. A name is the
// field's label (or a check box's caption), without mnemonics, case and runs of blanks,
// with its group's caption in front where the dialog has the label in two groups;
// the first visible field of a name in dialog order owns it, as a user scanning the
// dialogs would find it, and the same label in a later dialog carries that dialog's
// title ("Rear driver unit configuration:Number of drivers"). `fields` lists what `set` takes, from the same descriptions,
// so the two cannot drift apart.

#include "ui/TDialogModel.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class THeadlessHost;

// A field, or a value the dialog shows in a list line (TDialogModel::listedValues:
// a network's branch types and component values), which then has no field.
struct TNamedField {
    TDialogModel* dialog = nullptr;
    const TField* field = nullptr;
    std::string name; // as listed: "Box volume", "BL nonlinearity", "Front port:Length"
    std::optional<TListedValue> listed;
};

// "Box  Volume:" -> "box volume": what two names must share to be the same.
std::string CanonicalFieldName(const std::string& text);
// The name of a field's label: "&Yes" -> "Yes", "Isobarik:" -> "Isobarik"; empty for a
// field without label or caption, which no name reaches.
std::string FieldName(const TField& field);
// The name a field is listed and reached by: its label's name, or, where the label is
// in two groups of the dialog, the group caption and the label ("Rear box:Box volume",
// "Front port:Length"). The label with its group reaches a field whose label alone is
// enough as well; a label in two groups alone reaches neither.
std::string ListedFieldName(const TDialogModel& dialog, const TField& field);

// The field a name reaches, if any (it may be disabled or not hold a value). A dialog's
// title in front of a name that dialog has reaches it as well ("Closed box:QB").
[[nodiscard]] bool FindNamedField(const std::vector<TDialogModel*>& dialogs, const std::string& name,
                                  TNamedField& found);

// The fields set can change now, in dialog order: visible, enabled, writable value
// fields, one per name.
std::vector<TNamedField> SettableFields(const std::vector<TDialogModel*>& dialogs);

// One line of the listing: "NAME\tVALUE\tUNIT\tACCEPTED" (no line break).
std::string FieldLine(const TNamedField& named);

// Up to `most` of names that look like name: sharing its start, containing it, or a
// few letters apart; the closest first.
std::vector<std::string> CloseMatches(const std::string& name, const std::vector<std::string>& names,
                                      std::size_t most = 5);

// "LEAD Close matches: "a", "b". See: tonvek-cli fields PROJECT": what a name that is not
// there gets, with the names that come close to it.
std::string NotFoundText(std::string lead, const std::string& name, const std::vector<std::string>& names,
                         const std::string& project);

// Applies "NAME=VALUE" as a user would type it into the field; an error text, or empty
// on success. project is named in the hint an unknown name gets.
std::string AssignField(const std::vector<TDialogModel*>& dialogs, THeadlessHost& host,
                        const std::string& assignment, const std::string& project);

// Every dialog of the list, each followed by the dialogs it opened that are open now
// (a table dialog opened from a box dialog's menu).
std::vector<TDialogModel*> WithOpenChildren(const std::vector<TDialogModel*>& dialogs);

// What tonvek-cli do presses: a button, a command of a dialog's menu or one choice of
// a radio group, named "DIALOG TITLE:CAPTION" without mnemonics ("Closed box:Quick box",
// "Closed box:By table lookup...", "Table opt. bassreflex box:SBB4 / BB4").
struct TNamedPress {
    enum class TKind { Button, MenuCommand, Choice };
    TDialogModel* dialog = nullptr;
    TKind kind = TKind::Button;
    int id = 0;
    int choice = -1; // Choice: the index in its group
    bool enabled = true;
    std::string name;
};

// Every pressable item of the dialogs, in dialog order, one per name (the first of a
// name owns it), disabled ones included.
std::vector<TNamedPress> PressableItems(const std::vector<TDialogModel*>& dialogs);

// One line of the listing: "NAME\t\t\tpress" (no line break).
std::string PressLine(const TNamedPress& item);

// The item a name reaches: the whole name (trailing dots may be left out) or, when
// prefix is set and nothing matches whole, the one item whose name starts with it.
[[nodiscard]] bool FindPressable(const std::vector<TNamedPress>& items, const std::string& name, bool prefix,
                                 TNamedPress& found);

// Presses the item as a user would click it; an error text, or empty on success. A
// disabled item is refused.
std::string PressItem(const TNamedPress& item);
