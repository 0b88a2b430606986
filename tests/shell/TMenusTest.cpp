#include "shell/TMenus.h"
#include "ui/TCommandIds.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {
void Collect(const std::vector<TMenuItem>& items, std::map<int, std::string>& ids, std::vector<int>& duplicates)
{
    for (const TMenuItem& item : items) {
        if (item.id != 0 && !ids.emplace(item.id, item.text).second)
            duplicates.push_back(item.id);
        Collect(item.items, ids, duplicates);
    }
}
} // namespace

TEST(TMenus, EveryBarHasUniqueIdsAndTheCommonCommands)
{
    int count = 0;
    const int* menus = TMenus::AllMenus(count);
    for (int i = 0; i < count; ++i) {
        std::map<int, std::string> ids;
        std::vector<int> duplicates;
        Collect(TMenus::Bar(menus[i]), ids, duplicates);
        EXPECT_TRUE(duplicates.empty()) << "menu " << menus[i];
        EXPECT_EQ(ids[TCmd::YankeeTool], "&Yankee tool") << "menu " << menus[i];
        EXPECT_TRUE(ids.count(TCmd::Open)) << "menu " << menus[i];
        EXPECT_TRUE(ids.count(TCmd::Exit)) << "menu " << menus[i];
        EXPECT_TRUE(ids.count(TCmd::NewProjectBase)) << "menu " << menus[i];
    }
}

TEST(TMenus, BoxBarCarriesTheProjectCommands)
{
    std::map<int, std::string> ids;
    std::vector<int> duplicates;
    Collect(TMenus::Bar(TMenus::Box), ids, duplicates);
    const std::map<int, std::string> expected{
        {TCmd::Save, "&Save"}, {TCmd::SaveAs, "Save &as..."}, {TCmd::ShowDiagrams, "&Show..."},
        {TCmd::PrintDiagrams, "&Diagrams"}, {TCmd::ExportSpl, "&SPL"}, {TCmd::ExportRoomSpl, "SPL in &room/cabinet"},
        {TCmd::ExportModesSpl, "SPL with std &wave modes"}, {TCmd::ExportTransient, "&Transient response"},
        {TCmd::ExportImpedance, "&Input impedance"}, {TCmd::ExportGroupDelay, "&Group delay"},
        {TCmd::Snapshot, "&Snapshot"}, {TCmd::TransientResp, "&Transient resp"},
        {TCmd::RoomCabinet, "R&oom && Cabinet"}, {TCmd::UnitEditor, "&Edit / create..."},
        {TCmd::Calculate, "&Calculate"}, {TCmd::MeasSetup, "&Meas. setup"}};
    for (const auto& [id, text] : expected)
        EXPECT_EQ(ids[id], text) << id;
    // The reflex bandpass bar has two driver menus.
    ids.clear();
    Collect(TMenus::Bar(TMenus::ReflexBandpass), ids, duplicates);
    EXPECT_TRUE(ids.count(TCmd::RearDriverLoad));
    EXPECT_EQ(ids[TCmd::ReflexBandpassDialog], "&Reflex BandPass");
}
