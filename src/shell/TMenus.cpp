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

TMenuItem FileMenu()
{
    using namespace TCmd;
    std::vector<TMenuItem> items{NewMenu(), MenuCommand(NewInstance, "New &instance"), MenuCommand(Open, "&Open...")};
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
    return {FileMenu(), MenuCommand(TCmd::YankeeTool, "&Yankee tool"), WindowMenu(), HelpMenu()};
}

TMenuItem BoxFileMenu()
{
    using namespace TCmd;
    return SubMenu("&File", {
        NewMenu(), MenuCommand(NewInstance, "New &instance"), MenuCommand(Open, "&Open..."),
        MenuCommand(Save, "&Save"), MenuCommand(SaveAs, "Save &as..."), MenuSeparator(),
        SubMenu("&Print", {MenuCommand(PrintWindow, "&Window..."), MenuCommand(PrintDiagrams, "&Diagrams")}),
        SubMenu("&Export", {
            MenuCommand(ExportSpl, "&SPL"),
            MenuCommand(ExportRoomSpl, "SPL in &room/cabinet"),
            MenuCommand(ExportModesSpl, "SPL with std &wave modes"),
            MenuCommand(ExportTransient, "&Transient response"),
            MenuCommand(ExportImpedance, "&Input impedance"),
            MenuCommand(ExportGroupDelay, "&Group delay"),
        }),
        MenuSeparator(), MenuCommand(Exit, "E&xit"),
    });
}

TMenuItem EditMenu()
{
    using namespace TCmd;
    return SubMenu("&Edit", {MenuCommand(CopyWindow, "&Copy window"), MenuCommand(UserNote, "&User note..."),
                             MenuCommand(DefaultSize, "&Default size")});
}

TMenuItem DriverMenu(const char* title, int load, int edit, int config)
{
    return SubMenu(title, {MenuCommand(load, "&Load..."), MenuCommand(edit, "&Edit / create..."),
                           MenuCommand(config, "&Configuration...")});
}

TMenuItem BoxWindowMenu()
{
    using namespace TCmd;
    return SubMenu("&Window", {MenuCommand(ShowDiagrams, "&Show..."), MenuSeparator(), MenuCommand(Cascade, "&Cascade"),
                               MenuCommand(Tile, "&Tile"), MenuCommand(ArrangeIcons, "&Arrange icons")});
}

TMenuItem ToolsMenu()
{
    using namespace TCmd;
    return SubMenu("&Options", {MenuCommand(MeasSetup, "&Meas. setup"), MenuCommand(TransientResp, "&Transient resp"),
                                MenuCommand(RoomCabinet, "R&oom && Cabinet"), MenuCommand(Snapshot, "&Snapshot")});
}

TMenuBar BoxBar()
{
    using namespace TCmd;
    return {BoxFileMenu(), EditMenu(), MenuCommand(Calculate, "&Calculate"),
            DriverMenu("&Driver unit", DriverLoad, UnitEditor, DriverConfig), MenuCommand(BoxDialog, "&Box"),
            ToolsMenu(), MenuCommand(YankeeTool, "&Yankee tool"), BoxWindowMenu(), HelpMenu()};
}

TMenuBar ReflexBandpassBar()
{
    using namespace TCmd;
    return {BoxFileMenu(), EditMenu(), MenuCommand(Calculate, "&Calculate"),
            DriverMenu("&Rear driver unit", RearDriverLoad, RearUnitEditor, RearDriverConfig),
            DriverMenu("&Front driver unit", DriverLoad, UnitEditor, DriverConfig),
            MenuCommand(ReflexBandpassDialog, "&Reflex BandPass"), ToolsMenu(),
            MenuCommand(YankeeTool, "&Yankee tool"), BoxWindowMenu(), HelpMenu()};
}

TMenuItem FilterFileMenu(std::vector<TMenuItem> exports)
{
    using namespace TCmd;
    return SubMenu("&File", {
        NewMenu(), MenuCommand(NewInstance, "New &instance"), MenuCommand(Open, "&Open..."),
        MenuCommand(Save, "&Save"), MenuCommand(SaveAs, "Save &as..."), MenuSeparator(),
        SubMenu("&Print", {MenuCommand(PrintWindow, "&Window..."), MenuCommand(PrintDiagrams, "&Diagrams")}),
        SubMenu("&Export", std::move(exports)), MenuSeparator(), MenuCommand(Exit, "E&xit"),
    });
}

TMenuItem FilterOptionsMenu()
{
    return SubMenu("&Options", {MenuCommand(TCmd::GeneralSettings, "&General"),
                                MenuCommand(TCmd::Snapshot, "&Snapshot"), MenuCommand(13101, "Filter &music")});
}

TMenuBar SimpleFilterBar()
{
    auto sections = [](int bass, int mid, int treble) {
        return std::vector<TMenuItem>{MenuCommand(bass, "&Bass section"), MenuCommand(mid, "&Mid section"),
                                      MenuCommand(treble, "&Treble section")};
    };
    std::vector<TMenuItem> spl{MenuCommand(12021, "&Total...")};
    for (auto& item : sections(12024, 12023, 12022))
        spl.push_back(item);
    std::vector<TMenuItem> impedance{MenuCommand(12011, "&Total")};
    for (auto& item : sections(12014, 12013, 12012))
        impedance.push_back(item);
    std::vector<TMenuItem> delay{MenuCommand(12001, "&Total")};
    for (auto& item : sections(12004, 12003, 12002))
        delay.push_back(item);
    std::vector<TMenuItem> exports{SubMenu("&SPL", spl), SubMenu("&Filter gain", sections(12034, 12033, 12032)),
                                   SubMenu("&Input impedance", impedance), SubMenu("&Group delay", delay),
                                   MenuCommand(12025, "&Impulse response")};
    return {FilterFileMenu(exports), EditMenu(),
            SubMenu("&Network", {MenuCommand(12101, "&Bass..."), MenuCommand(12102, "&Mid..."),
                                 MenuCommand(12103, "&Treble...")}),
            SubMenu("&Driver", {MenuCommand(13000, "&Bass..."), MenuCommand(13002, "&Mid..."),
                                MenuCommand(13001, "&Treble...")}),
            FilterOptionsMenu(), MenuCommand(TCmd::YankeeTool, "&Yankee tool"), BoxWindowMenu(), HelpMenu()};
}

TMenuBar AdvancedFilterBar()
{
    auto nets = [](int first) {
        return std::vector<TMenuItem>{MenuCommand(first, "Net &1"), MenuCommand(first + 1, "Net &2"),
                                      MenuCommand(first + 2, "Net &3"), MenuCommand(first + 3, "Net &4")};
    };
    auto withTotal = [&](int total, const char* text, int first) {
        std::vector<TMenuItem> items{MenuCommand(total, text)};
        for (auto& item : nets(first))
            items.push_back(item);
        return items;
    };
    std::vector<TMenuItem> exports{SubMenu("&SPL", withTotal(12021, "&Total...", 13031)),
                                   SubMenu("&Filter gain", nets(13041)),
                                   SubMenu("&Input impedance", withTotal(12011, "&Total", 13051)),
                                   SubMenu("&Group delay", withTotal(12001, "&Total", 13061)),
                                   MenuCommand(12025, "&Impulse response")};
    // Store slots are labelled with their number until a nickname is given.
    auto slots = [](int first) {
        std::vector<TMenuItem> items;
        for (int i = 0; i < 4; ++i)
            items.push_back(MenuCommand(first + i, "&" + std::to_string(i + 1)));
        return items;
    };
    return {FilterFileMenu(exports), EditMenu(),
            SubMenu("&Network", {MenuCommand(13021, "Net &1..."), MenuCommand(13022, "Net &2..."),
                                 MenuCommand(13023, "Net &3..."), MenuCommand(13024, "Net &4..."),
                                 SubMenu("&Store as...", slots(11891)), SubMenu("&Recall...", slots(11865))}),
            SubMenu("&Driver", {MenuCommand(13011, "Net &1..."), MenuCommand(13012, "Net &2..."),
                                MenuCommand(13013, "Net &3..."), MenuCommand(13014, "Net &4..."),
                                SubMenu("&Store as...", slots(11881)), SubMenu("&Recall...", slots(11885))}),
            FilterOptionsMenu(), MenuCommand(TCmd::YankeeTool, "&Yankee tool"), BoxWindowMenu(), HelpMenu()};
}

} // namespace

namespace TMenus {

const TMenuBar& Bar(int menu)
{
    static const TMenuBar none = NoProjectBar();
    static const TMenuBar box = BoxBar();
    static const TMenuBar reflexBandpass = ReflexBandpassBar();
    static const TMenuBar simple = SimpleFilterBar();
    static const TMenuBar advanced = AdvancedFilterBar();
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
