// tonvek-cli do: presses the buttons, menu commands and radio choices of a project's
// dialogs, in order, as a user clicks them, then saves the project. Each press sees
// the dialogs the presses before it opened ("Closed box:By table lookup..." opens the
// table dialog whose choices the next one may press).

#include "CliBoxSession.h"
#include "CliFilter.h"
#include "CliFields.h"
#include "TCliCommand.h"

#include "ui/TDialogModel.h"

#include <string>
#include <vector>

namespace {

std::string UnknownPress(const std::string& name, const std::vector<TNamedPress>& items, const std::string& project)
{
    std::vector<std::string> names;
    names.reserve(items.size());
    for (const TNamedPress& item : items)
        names.push_back(item.name);
    return NotFoundText("nothing to press named \"" + name + "\".", name, names, project);
}

int RunDo(TProgramContext& context, const TCliArgs& args)
{
    if (args.size() < 2)
        return CliFail("do: tonvek-cli do PROJECT.box|PROJECT.flt \"DIALOG:BUTTON\" ... (names: tonvek-cli fields PROJECT)");
    if (CliIsFilterFile(args[0]))
        return RunFilterDo(context, args);
    TBoxSession s{context};
    if (!OpenProject(s, args[0]))
        return 1;
    const std::vector<TDialogModel*> dialogs = OpenDialogs(s);
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::vector<TNamedPress> items = PressableItems(WithOpenChildren(dialogs));
        TNamedPress item;
        if (!FindPressable(items, args[i], false, item))
            return CliFail(UnknownPress(args[i], items, args[0]));
        const std::size_t messages = s.host.Messages().size();
        if (std::string error = PressItem(item); !error.empty())
            return CliFail(error);
        // A rule that refuses with a warning ("Too high Qts") changed nothing; nothing
        // is saved either.
        if (std::string warning = WarningsSince(s, messages); !warning.empty())
            return CliFail("\"" + args[i] + "\" was refused: " + warning);
    }
    s.project->Calculate(0);
    return SaveProject(s, args[0]) ? 0 : 1;
}

TCliRegistration doCommand{
    "do",
    "do PROJECT.box|PROJECT.flt \"DIALOG:BUTTON\" ...\n"
    "                       presses dialog buttons, menu commands and radio choices in\n"
    "                       order (\"Closed box:Quick box\", \"Closed box:By table lookup...\",\n"
    "                       \"Table optimize closed box:0.577 Bessel, max flat delay response\"),\n"
    "                       in a filter project also NAME=VALUE for a dialog a press opened\n"
    "                       (\"Net 1:Wizard\" \"Advanced network wizard:Nom. load=4\"\n"
    "                       \"Advanced network wizard:Calc\"),\n"
    "                       then saves the project and prints \"saved PROJECT.box\"",
    RunDo};

} // namespace
