#include "CliFields.h"
#include "ui/TSwitchText.h"
#include "CliText.h"

#include "ui/TDialogModel.h"
#include "ui/THeadlessHost.h"
#include "ui/TNumberText.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

std::string Caption(const TField& field) { return field.label.empty() ? field.text : field.label; }

bool HoldsValue(const TField& field)
{
    switch (field.kind) {
    case TFieldKind::Double:
    case TFieldKind::Long:
    case TFieldKind::String:
    case TFieldKind::Note:
    case TFieldKind::Check:
    case TFieldKind::Radio:
    case TFieldKind::Combo:
    case TFieldKind::List: return true;
    default: return false;
    }
}

bool ReadOnly(const TField& field)
{
    return (field.kind == TFieldKind::Double && field.dbl.ReadOnly()) ||
           (field.kind == TFieldKind::Long && field.lng.ReadOnly());
}

// The field keeps the number before stray characters without a beep ("12x" stays what
// it was); on the command line that would pass for success, so such text is refused here.
bool WholeNumber(std::string text)
{
    std::replace(text.begin(), text.end(), ',', '.');
    double value = 0;
    return TNumberText::ReadDouble(text, value) == text.size() && std::isfinite(value);
}

std::string Refused(const std::string& value, const std::string& name, const TField& field)
{
    std::string text = "\"" + value + "\" was refused: " + name + " takes " + field.AcceptedText();
    if (!field.unit.empty() && (field.kind == TFieldKind::Double || field.kind == TFieldKind::Long))
        text += " " + field.unit;
    return text;
}

std::size_t EditDistance(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Whether another group of the dialog has a field of the same name: then each carries
// its group's caption. Hidden fields count too, so a name does not change with what a
// dialog shows at the moment.
bool InTwoGroups(const TDialogModel& dialog, const TField& field)
{
    const std::string key = CanonicalFieldName(Caption(field));
    for (const TField& other : dialog.Fields())
        if (other.group != field.group && CanonicalFieldName(Caption(other)) == key)
            return true;
    return false;
}

// The name with the group caption: "Rear port:Length".
std::string GroupedName(const TField& field) { return PlainCaption(field.group) + ":" + FieldName(field); }

// What a typed name is compared as: the canonical group and label around the first ":"
// ("Rear port : Length" and "rear port:length" are one name), or the canonical label.
std::string CanonicalQualifiedName(const std::string& text)
{
    const std::size_t colon = text.find(':');
    if (colon != std::string::npos) {
        const std::string label = CanonicalFieldName(text.substr(colon + 1));
        if (!label.empty())
            return CanonicalFieldName(text.substr(0, colon)) + ":" + label;
    }
    return CanonicalFieldName(text);
}

// A label that is in two groups of one dialog, typed without its group: the names
// that would reach it.
std::vector<std::string> GroupedNamesOf(const std::vector<TDialogModel*>& dialogs, const std::string& key)
{
    std::vector<std::string> out;
    for (TDialogModel* dialog : dialogs)
        for (const TField& field : dialog->Fields())
            if (field.visible && CanonicalFieldName(Caption(field)) == key && !field.group.empty() &&
                InTwoGroups(*dialog, field))
                out.push_back(GroupedName(field));
    return out;
}

std::string UnknownName(const std::string& name, const std::vector<TDialogModel*>& dialogs,
                        const std::string& project)
{
    const std::vector<std::string> grouped = GroupedNamesOf(dialogs, CanonicalQualifiedName(name));
    if (grouped.size() > 1) {
        std::string text = "\"" + CliTrim(name) + "\" is in more than one group; name the group:";
        for (std::size_t i = 0; i < grouped.size(); ++i)
            text += (i ? ", \"" : " \"") + grouped[i] + "\"";
        return text + ".";
    }
    std::vector<std::string> names;
    for (const TNamedField& f : SettableFields(dialogs))
        names.push_back(f.name);
    return NotFoundText("no field \"" + CliTrim(name) + "\".", name, names, project);
}

} // namespace

std::string CanonicalFieldName(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '&')
            continue;
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
            continue;
        }
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == ':'))
        out.pop_back();
    return out;
}

std::string FieldName(const TField& field)
{
    std::string out;
    for (char c : PlainCaption(Caption(field))) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += c;
        }
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == ':'))
        out.pop_back();
    return out;
}

std::string ListedFieldName(const TDialogModel& dialog, const TField& field)
{
    if (field.group.empty() || FieldName(field).empty() || !InTwoGroups(dialog, field))
        return FieldName(field);
    return GroupedName(field);
}

namespace {

// Every visible named field under the name that reaches it, in dialog order. The first
// field of a name owns it; a field whose name an earlier dialog already owns carries
// its dialog's title ("Rear driver unit configuration:Number of drivers"), so the
// second of two alike dialogs stays reachable; a repeat within one dialog has no name.
std::vector<TNamedField> NamedFields(const std::vector<TDialogModel*>& dialogs)
{
    std::vector<TNamedField> out;
    std::vector<std::string> seen;
    for (TDialogModel* dialog : dialogs) {
        std::vector<std::string> own;
        for (const TField& field : dialog->Fields()) {
            if (!field.visible || CanonicalFieldName(Caption(field)).empty())
                continue;
            std::string name = ListedFieldName(*dialog, field);
            std::string key = CanonicalQualifiedName(name);
            if (std::find(own.begin(), own.end(), key) != own.end())
                continue;
            own.push_back(key);
            if (std::find(seen.begin(), seen.end(), key) != seen.end()) {
                name = PlainCaption(dialog->title) + ":" + name;
                key = CanonicalQualifiedName(name);
                if (std::find(seen.begin(), seen.end(), key) != seen.end())
                    continue;
            }
            seen.push_back(key);
            out.push_back({dialog, &field, name, std::nullopt});
        }
        // The values of its list lines, after its fields, under the same rule.
        if (!dialog->listedValues)
            continue;
        for (TListedValue& value : dialog->listedValues()) {
            std::string name = value.name;
            std::string key = CanonicalQualifiedName(name);
            if (key.empty() || std::find(own.begin(), own.end(), key) != own.end())
                continue;
            own.push_back(key);
            if (std::find(seen.begin(), seen.end(), key) != seen.end()) {
                name = PlainCaption(dialog->title) + ":" + name;
                key = CanonicalQualifiedName(name);
                if (std::find(seen.begin(), seen.end(), key) != seen.end())
                    continue;
            }
            seen.push_back(key);
            out.push_back({dialog, nullptr, name, std::move(value)});
        }
    }
    return out;
}

} // namespace

bool FindNamedField(const std::vector<TDialogModel*>& dialogs, const std::string& name, TNamedField& found)
{
    const std::string key = CanonicalQualifiedName(name);
    if (key.empty())
        return false;
    for (const TNamedField& named : NamedFields(dialogs)) {
        if (CanonicalQualifiedName(named.name) == key) {
            found = named;
            return true;
        }
    }
    // A label with its group where the label alone is enough ("Enclosure:QB").
    for (TDialogModel* dialog : dialogs)
        for (const TField& field : dialog->Fields())
            if (field.visible && !field.group.empty() && CanonicalQualifiedName(GroupedName(field)) == key) {
                found = {dialog, &field, ListedFieldName(*dialog, field), std::nullopt};
                return true;
            }
    // A dialog's title in front of a name it has ("Room and cabinet effects:Roof height").
    for (TDialogModel* dialog : dialogs) {
        const std::string title = CanonicalFieldName(PlainCaption(dialog->title));
        const std::size_t colon = name.find(':');
        if (colon != std::string::npos && CanonicalFieldName(name.substr(0, colon)) == title &&
            FindNamedField({dialog}, name.substr(colon + 1), found))
            return true;
    }
    return false;
}

std::vector<TNamedField> SettableFields(const std::vector<TDialogModel*>& dialogs)
{
    std::vector<TNamedField> out;
    for (const TNamedField& named : NamedFields(dialogs)) {
        if (named.listed) {
            out.push_back(named);
            continue;
        }
        const TField& field = *named.field;
        if (field.enabled && HoldsValue(field) && !ReadOnly(field))
            out.push_back(named);
    }
    return out;
}

std::string FieldLine(const TNamedField& named)
{
    if (named.listed)
        return named.name + "\t" + named.listed->shown + "\t" + named.listed->unit + "\t" + named.listed->accepted;
    const TField& f = *named.field;
    return named.name + "\t" + f.ShownValue() + "\t" + f.unit + "\t" + f.AcceptedText();
}

std::string NotFoundText(std::string lead, const std::string& name, const std::vector<std::string>& names,
                         const std::string& project)
{
    const std::vector<std::string> close = CloseMatches(name, names);
    if (!close.empty()) {
        lead += " Close matches:";
        for (std::size_t i = 0; i < close.size(); ++i)
            lead += (i ? ", \"" : " \"") + close[i] + "\"";
        lead += ".";
    }
    return lead + " See: tonvek-cli fields " + project;
}

std::vector<std::string> CloseMatches(const std::string& name, const std::vector<std::string>& names,
                                      std::size_t most)
{
    const std::string key = CanonicalFieldName(name);
    if (key.empty())
        return {};
    const std::size_t allowed = std::max<std::size_t>(1, key.size() / 3);
    std::vector<std::pair<std::size_t, std::string>> scored;
    for (const std::string& candidate : names) {
        const std::string c = CanonicalFieldName(candidate);
        const std::size_t distance = EditDistance(key, c);
        const bool sameStart = c.rfind(key, 0) == 0 || key.rfind(c, 0) == 0;
        const bool contained = key.size() >= 3 && (c.find(key) != std::string::npos || key.find(c) != std::string::npos);
        if (distance <= allowed || sameStart || contained)
            scored.emplace_back(distance, candidate);
    }
    std::stable_sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> out;
    for (const auto& s : scored) {
        if (out.size() == most)
            break;
        if (std::find(out.begin(), out.end(), s.second) == out.end())
            out.push_back(s.second);
    }
    return out;
}

std::string AssignField(const std::vector<TDialogModel*>& dialogs, THeadlessHost& host,
                        const std::string& assignment, const std::string& project)
{
    const std::size_t eq = assignment.find('=');
    if (eq == std::string::npos)
        return "\"" + assignment + "\" is not NAME=VALUE";
    const std::string name = assignment.substr(0, eq);
    const std::string value = CliTrim(assignment.substr(eq + 1));
    TNamedField named;
    if (!FindNamedField(dialogs, name, named))
        return UnknownName(name, dialogs, project);
    if (named.listed) {
        const TListedValue& listed = *named.listed;
        if (listed.set && listed.set(value))
            return {};
        std::string text = "\"" + value + "\" was refused: " + named.name + " takes " + listed.accepted;
        return listed.unit.empty() ? text : text + " " + listed.unit;
    }
    const TField& field = *named.field;
    if (!HoldsValue(field))
        return named.name + " cannot be changed: the dialog only shows it";
    if (!field.enabled)
        return named.name + " cannot be changed now (the dialog has it disabled)";
    if (ReadOnly(field))
        return named.name + " cannot be changed now (the dialog shows it read-only)";
    TDialogModel& dialog = *named.dialog;
    const int id = field.id;
    switch (field.kind) {
    case TFieldKind::Double:
    case TFieldKind::Long:
    case TFieldKind::String:
    case TFieldKind::Note: {
        if (field.kind == TFieldKind::Double && !field.dbl.TwoValue() && !WholeNumber(value))
            return Refused(value, named.name, field);
        const int beeps = host.Beeps();
        dialog.Type(id, value);
        dialog.FocusLeft(id);
        if (host.Beeps() != beeps)
            return Refused(value, named.name, dialog.Field(id));
        return {};
    }
    case TFieldKind::Check: {
        bool on = false;
        if (!ParseSwitchText(value, on))
            return Refused(value, named.name, field);
        if (field.checked != on)
            dialog.Toggle(id, on);
        return {};
    }
    default: {
        for (std::size_t i = 0; i < field.items.size(); ++i) {
            if (CanonicalFieldName(field.items[i]) == CanonicalFieldName(value)) {
                if (field.kind == TFieldKind::Radio && !field.ItemEnabled(static_cast<int>(i)))
                    return named.name + " cannot be \"" + CliTrim(value) + "\" now (the dialog does not offer it)";
                dialog.Select(id, static_cast<int>(i));
                return {};
            }
        }
        return Refused(value, named.name, field);
    }
    }
}

std::vector<TDialogModel*> WithOpenChildren(const std::vector<TDialogModel*>& dialogs)
{
    std::vector<TDialogModel*> out;
    for (TDialogModel* dialog : dialogs) {
        out.push_back(dialog);
        if (dialog->openChildren)
            for (TDialogModel* child : WithOpenChildren(dialog->openChildren()))
                out.push_back(child);
    }
    return out;
}

namespace {

// A name as two names must share it to be the same, with trailing dots left out:
// "By table lookup" reaches "By &table lookup...".
std::string PressKey(const std::string& text)
{
    std::string key = CanonicalQualifiedName(text);
    while (!key.empty() && (key.back() == '.' || key.back() == ' '))
        key.pop_back();
    return key;
}

void AddMenu(TDialogModel& dialog, const std::vector<TMenuItem>& items, std::vector<TNamedPress>& out)
{
    for (const TMenuItem& item : items) {
        if (item.id == 0) {
            AddMenu(dialog, item.items, out);
            continue;
        }
        out.push_back({&dialog, TNamedPress::TKind::MenuCommand, item.id, -1, item.enabled,
                       PlainCaption(dialog.title) + ":" + PlainCaption(item.text)});
    }
}

} // namespace

std::vector<TNamedPress> PressableItems(const std::vector<TDialogModel*>& dialogs)
{
    std::vector<TNamedPress> all;
    for (TDialogModel* dialog : dialogs) {
        AddMenu(*dialog, dialog->menu, all);
        const std::string title = PlainCaption(dialog->title) + ":";
        for (const TField& field : dialog->Fields()) {
            if (!field.visible)
                continue;
            if (field.kind == TFieldKind::Button && !FieldName(field).empty())
                all.push_back(
                    {dialog, TNamedPress::TKind::Button, field.id, -1, field.enabled, title + FieldName(field)});
            if (field.kind == TFieldKind::Radio)
                for (std::size_t i = 0; i < field.items.size(); ++i)
                    if (field.ItemVisible(static_cast<int>(i)))
                        all.push_back({dialog, TNamedPress::TKind::Choice, field.id, static_cast<int>(i),
                                   field.ItemEnabled(static_cast<int>(i)), title + PlainCaption(field.items[i])});
        }
    }
    std::vector<TNamedPress> out;
    std::vector<std::string> seen;
    for (TNamedPress& item : all) {
        const std::string key = PressKey(item.name);
        if (std::find(seen.begin(), seen.end(), key) != seen.end())
            continue;
        seen.push_back(key);
        out.push_back(std::move(item));
    }
    return out;
}

std::string PressLine(const TNamedPress& item) { return item.name + "\t\t\tpress"; }

bool FindPressable(const std::vector<TNamedPress>& items, const std::string& name, bool prefix, TNamedPress& found)
{
    const std::string key = PressKey(name);
    if (key.empty())
        return false;
    for (const TNamedPress& item : items) {
        if (PressKey(item.name) == key) {
            found = item;
            return true;
        }
    }
    if (!prefix)
        return false;
    // A leading part ends where a word ends: "0.5" is the critically damped box, not
    // also the Bessel one at 0.577.
    const TNamedPress* match = nullptr;
    for (const TNamedPress& item : items) {
        const std::string candidate = PressKey(item.name);
        if (candidate.rfind(key, 0) != 0 ||
            (candidate.size() > key.size() && std::string(" ,/").find(candidate[key.size()]) == std::string::npos))
            continue;
        if (match)
            return false; // more than one: the name says too little
        match = &item;
    }
    if (match)
        found = *match;
    return match != nullptr;
}

std::string PressItem(const TNamedPress& item)
{
    if (!item.enabled)
        return item.name + " cannot be pressed now (the dialog has it disabled)";
    TDialogModel& dialog = *item.dialog;
    switch (item.kind) {
    case TNamedPress::TKind::Button: dialog.Press(item.id); break;
    case TNamedPress::TKind::MenuCommand: dialog.Command(item.id); break;
    case TNamedPress::TKind::Choice: dialog.Select(item.id, item.choice); break;
    }
    return {};
}
