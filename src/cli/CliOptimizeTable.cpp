#include "CliOptimizeTable.h"

#include "CliBoxSession.h"
#include "CliFields.h"
#include "CliText.h"

#include "box/TOptTableDialog.h"
#include "ui/TDialogModel.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

struct TTableArgs {
    std::string project;
    std::optional<std::string> table; // the choice; empty for the tables without a dialog
    std::optional<std::string> boxQ, ripple;
    bool quick = false;
};

// Reads the arguments of both forms; an error text, or empty.
std::string ParseArgs(const TCliArgs& args, TTableArgs& out)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0;
        if (a == "--table")
            out.table = hasValue ? args[++i] : std::string();
        else if (a == "--box-q" && hasValue)
            out.boxQ = args[++i];
        else if (a == "--ripple" && hasValue)
            out.ripple = args[++i];
        else if (a == "--quick")
            out.quick = true;
        else if (out.project.empty() && a.rfind("--", 0) != 0)
            out.project = a;
        else
            return "unexpected argument \"" + a + "\"";
    }
    if (out.project.empty())
        return "which project?";
    return {};
}

// "0.35 dB", "0.35dB" and "0.35" are one ripple; "15" and "&15" one box Q.
std::string ChoiceKey(const std::string& text)
{
    std::string key;
    for (char c : CanonicalFieldName(text))
        if (c != ' ')
            key += c;
    if (key.size() > 2 && key.compare(key.size() - 2, 2, "db") == 0)
        key.resize(key.size() - 2);
    return key;
}

// Chooses the item of the radio group captioned `group` that `value` names; an error
// text, or empty.
std::string ChooseInGroup(TDialogModel& dialog, const char* group, const char* option, const std::string& value)
{
    for (const TField& field : dialog.Fields()) {
        if (field.kind != TFieldKind::Radio || PlainCaption(field.group) != group)
            continue;
        std::string choices;
        for (std::size_t i = 0; i < field.items.size(); ++i) {
            choices += (i ? "|" : "") + PlainCaption(field.items[i]);
            if (ChoiceKey(field.items[i]) != ChoiceKey(value))
                continue;
            if (!field.ItemEnabled(static_cast<int>(i)))
                return std::string(option) + " " + value + " is disabled for this driver";
            dialog.Select(field.id, static_cast<int>(i));
            return {};
        }
        return std::string(option) + " takes " + choices + ", not \"" + value + "\"";
    }
    return std::string(option) + " is not a setting of the " + dialog.title + " dialog";
}

std::string Choices(const std::vector<TNamedPress>& items)
{
    std::string text;
    for (const TNamedPress& item : items)
        if (item.enabled)
            text += (text.empty() ? "\"" : ", \"") + item.name.substr(item.name.find(':') + 1) + "\"";
    return text;
}

int TableWithDialog(TBoxSession& s, TDialogModel& table, const TTableArgs& a)
{
    std::size_t messages = s.host.Messages().size();
    if (a.boxQ)
        if (std::string error = ChooseInGroup(table, "Box Q value", "--box-q", *a.boxQ); !error.empty())
            return CliFail("optimize: " + error);
    if (a.ripple)
        if (std::string error = ChooseInGroup(table, "Passband ripple", "--ripple", *a.ripple); !error.empty())
            return CliFail("optimize: " + error);
    if (std::string warning = WarningsSince(s, messages); !warning.empty())
        return CliFail("optimize: " + warning);
    // The table's own choices: the radio group that is neither box Q nor ripple.
    std::vector<TNamedPress> rows;
    for (const TNamedPress& item : PressableItems({&table}))
        if (item.kind == TNamedPress::TKind::Choice) {
            const TField& field = table.Field(item.id);
            if (field.group != "Box Q value" && field.group != "Passband ripple")
                rows.push_back(item);
        }
    if (a.table->empty())
        return CliFail("optimize: --table needs a choice of \"" + table.title + "\": " + Choices(rows));
    // A sensitivity may be named without its unit: "-3" is "-3dB".
    TNamedPress row;
    const std::string title = PlainCaption(table.title) + ":";
    if (!FindPressable(rows, title + *a.table, true, row) && !FindPressable(rows, title + *a.table + "dB", false, row))
        return CliFail("optimize: \"" + *a.table + "\" is not one choice of \"" + table.title + "\": " + Choices(rows));
    messages = s.host.Messages().size();
    if (std::string error = PressItem(row); !error.empty())
        return CliFail("optimize: " + error);
    if (std::string warning = WarningsSince(s, messages); !warning.empty())
        return CliFail("optimize: " + warning);
    std::printf("table %s\n", row.name.c_str());
    return 0;
}

} // namespace

int RunOptimizeTable(TProgramContext& context, const TCliArgs& args)
{
    TTableArgs a;
    if (std::string error = ParseArgs(args, a); !error.empty() || !a.table)
        return CliFail("optimize: " + (error.empty() ? std::string("--table is missing") : error));
    TBoxSession s{context};
    if (!OpenProject(s, a.project))
        return 1;
    if (!s.project->FrontDriver().complete)
        return CliFail("optimize: the project's unit is missing or incomplete; a table needs the driver's parameters");
    OpenDialogs(s);
    TDialogModel& box = *s.project->BoxDialogModel();
    if (!box.CommandEnabled(TOptTableDialog::kTableLookup))
        return CliFail("optimize: a " + s.project->Type().title + " has no table lookup");
    const std::size_t messages = s.host.Messages().size();
    box.Command(TOptTableDialog::kTableLookup);
    if (std::string warning = WarningsSince(s, messages); !warning.empty())
        return CliFail("optimize: " + warning);
    const std::vector<TDialogModel*> opened = box.openChildren ? box.openChildren() : std::vector<TDialogModel*>{};
    if (opened.empty()) {
        // The lookup without a dialog has been made now, or the type has none (the
        // dialog said so, and the project is as it was).
        if (!s.project->Changed())
            return CliFail("optimize: no table lookup was made for this " + s.project->Type().cliName + " project");
        if (!a.table->empty() || a.boxQ || a.ripple)
            return CliFail("optimize: a " + s.project->Type().title +
                           " has one table, chosen by the driver: --table takes no choice here");
    } else if (int status = TableWithDialog(s, *opened.front(), a); status != 0) {
        return status;
    }
    s.project->Calculate(0);
    return SaveProject(s, a.project) ? 0 : 1;
}

int RunOptimizeQuick(TProgramContext& context, const TCliArgs& args)
{
    TTableArgs a;
    if (std::string error = ParseArgs(args, a); !error.empty() || !a.quick || a.table || a.boxQ || a.ripple)
        return CliFail("optimize: " + (error.empty() ? std::string("tonvek-cli optimize PROJECT.box --quick") : error));
    TBoxSession s{context};
    if (!OpenProject(s, a.project))
        return 1;
    if (!s.project->FrontDriver().complete)
        return CliFail("optimize: the project's unit is missing or incomplete; the quick box needs the driver's "
                       "parameters");
    OpenDialogs(s);
    TDialogModel& box = *s.project->BoxDialogModel();
    const std::size_t messages = s.host.Messages().size();
    const int beeps = s.host.Beeps();
    box.Command(TOptTableDialog::kQuickBox);
    if (std::string warning = WarningsSince(s, messages); !warning.empty())
        return CliFail("optimize: " + warning);
    if (s.host.Beeps() != beeps)
        return CliFail("optimize: the quick box found no box for this driver (no port length fits)");
    s.project->Calculate(0);
    return SaveProject(s, a.project) ? 0 : 1;
}
