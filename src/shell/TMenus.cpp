#include "TMenus.h"

#include "ui/TCommandIds.h"

namespace {

TMenuItem NewMenu()
{
    using namespace TCmd;
    return SubMenu("&New", {
        SubMenu("&Box", {
            MenuCommand(NewProjectBase + 0, "&Closed"),
            MenuCommand(NewProjectBase + 1, "&Bass reflex"),
            MenuCommand(NewProjectBase + 2, "&Double tuned bass reflex &1"),
            MenuCommand(NewProjectBase + 3, "D&ouble tuned bass reflex &2"),
            MenuCommand(NewProjectBase + 4, "&Passive radiator"),
            MenuCommand(NewProjectBase + 5, "Bandpass &1"),
            MenuCommand(NewProjectBase + 6, "Bandpass &2"),
            MenuCommand(NewProjectBase + 7, "Bandpass &3"),
            MenuCommand(NewProjectBase + 8, "Bandpass &4"),
            MenuCommand(NewProjectBase + 9, "&Reflex BandPass"),
        }),
        SubMenu("&Filter", {
            MenuCommand(NewProjectBase + 15, "2 way simple"),
            MenuCommand(NewProjectBase + 16, "3 way simple"),
            MenuSeparator(),
            MenuCommand(NewProjectBase + 20, "1 way advanced"),
            MenuCommand(NewProjectBase + 21, "2 way advanced"),
            MenuCommand(NewProjectBase + 22, "3 way advanced"),
            MenuCommand(NewProjectBase + 23, "4 way advanced"),
            MenuSeparator(),
            SubMenu("&Active filter", {
                MenuCommand(NewProjectBase + 25, "&1 way"),
                MenuCommand(NewProjectBase + 26, "&2 way"),
                MenuCommand(NewProjectBase + 27, "&3 way"),
                MenuCommand(NewProjectBase + 28, "&4 way"),
            }),
        }),
    });
}

TMenuItem FileMenu(bool withProject)
{
    using namespace TCmd;
    std::vector<TMenuItem> items{NewMenu(), MenuCommand(NewInstance, "New &instance"), MenuCommand(Open, "&Open...")};
    if (withProject) {
        items.push_back(MenuCommand(Save, "&Save"));
        items.push_back(MenuCommand(SaveAs, "Save &as..."));
    }
    items.push_back(MenuSeparator());
    items.push_back(MenuCommand(Exit, "E&xit"));
    return SubMenu("&File", std::move(items));
}

TMenuItem WindowMenu()
{
    using namespace TCmd;
    return SubMenu("&Window", {MenuCommand(Cascade, "&Cascade"), MenuCommand(Tile, "&Tile"),
                               MenuCommand(ArrangeIcons, "&Arrange icons")});
}

TMenuItem HelpMenu() { return SubMenu("&Help", {MenuCommand(TCmd::About, "&About")}); }

TMenuBar NoProjectBar()
{
    return {FileMenu(false), MenuCommand(TCmd::YankeeTool, "&Yankee tool"), WindowMenu(), HelpMenu()};
}

TMenuBar ProjectBar()
{
    return {FileMenu(true), MenuCommand(TCmd::YankeeTool, "&Yankee tool"), WindowMenu(), HelpMenu()};
}

} // namespace

namespace TMenus {

const TMenuBar& Bar(int menu)
{
    static const TMenuBar none = NoProjectBar();
    static const TMenuBar box = ProjectBar();
    static const TMenuBar reflexBandpass = ProjectBar();
    static const TMenuBar simple = ProjectBar();
    static const TMenuBar advanced = ProjectBar();
    switch (menu) {
    case Box: return box;
    case ReflexBandpass: return reflexBandpass;
    case SimpleFilter: return simple;
    case AdvancedFilter: return advanced;
    default: return none;
    }
}

const int* AllMenus(int& count)
{
    static const int menus[] = {NoProject, Box, ReflexBandpass, SimpleFilter, AdvancedFilter};
    count = 5;
    return menus;
}

} // namespace TMenus
