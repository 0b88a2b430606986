#pragma once
// The names under which tonvek-cli set reaches a project's dialog fields. A name is the
// field's label (or a check box's caption), without mnemonics, case and runs of blanks,
// with its group's caption in front where the dialog has the label in two groups;
// the first visible field of a name in dialog order owns it, as a user scanning the
// dialogs would find it, and the same label in a later dialog carries that dialog's
// title ("Rear driver unit configuration:Number of drivers"). `fields` lists what `set` takes, from the same descriptions,
// so the two cannot drift apart.

#include <cstddef>
#include <string>
#include <vector>

class TDialogModel;
class THeadlessHost;
struct TField;

struct TNamedField {
    TDialogModel* dialog = nullptr;
    const TField* field = nullptr;
    std::string name; // as listed: "Box volume", "BL nonlinearity", "Front port:Length"
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

// The field a name reaches, if any (it may be disabled or not hold a value).
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

// Applies "NAME=VALUE" as a user would type it into the field; an error text, or empty
// on success. project is named in the hint an unknown name gets.
std::string AssignField(const std::vector<TDialogModel*>& dialogs, THeadlessHost& host,
                        const std::string& assignment, const std::string& project);
