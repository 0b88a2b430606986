#include "filter/TXoverDialogs.h"

#include "filter/TXover.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

#include <algorithm>
#include <cstdio>

namespace {
std::vector<std::string> Titles(const std::vector<TPlotXYEmbryo*>& windows)
{
    std::vector<std::string> titles;
    for (const TPlotXYEmbryo* w : windows)
        titles.push_back(w->Title());
    return titles;
}
} // namespace

TXoverShowDiagrams::TXoverShowDiagrams(THost& host, TXover& project)
    : TDialogModel(host, "Show diagrams", "showdiag.txt"), project_(project)
{
    menuCommand = TCmd::ShowDiagrams;
    AddList(kList, "Diagrams", {}, -1).Rows(8);
    AddButton(kShow, "Show", true);
    onLoad = [this] {
        const std::vector<std::string> titles = Titles(project_.HiddenDiagrams());
        SetItems(kList, titles, titles.empty() ? -1 : 0);
    };
    onCommand = [this](int id) {
        if (id == kShow || id == kList)
            ShowSelected();
    };
}

void TXoverShowDiagrams::ShowSelected()
{
    const std::vector<TPlotXYEmbryo*> hidden = project_.HiddenDiagrams();
    const int selected = Selected(kList);
    if (selected < 0 || selected >= static_cast<int>(hidden.size()))
        return;
    project_.ShowDiagram(*hidden[static_cast<std::size_t>(selected)]);
    RequestClose();
}

TXoverPrintDiagrams::TXoverPrintDiagrams(THost& host, TXover& project)
    : TDialogModel(host, "Print diagrams", "printdia.txt"), project_(project)
{
    menuCommand = TCmd::PrintDiagrams;
    Group("Diagrams");
    AddList(kPickList, "Windows", Titles(project.DiagramWindows()), 0).Rows(8);
    AddButton(kAdd, "&Add -->");
    AddList(kPrintList, "Print list", {}, -1).Rows(8);
    AddButton(kRemove, "&Remove");
    Group("Page", 1);
    AddRadio(kPerPage, "Per page", {"&3", "&4", "&8"}, 2)
        .Bind(
            {.read = [this] { return project_.diagramsPerPage == 3   ? 0.0
                                     : project_.diagramsPerPage == 4 ? 1.0
                                                                     : 2.0; },
             .write =
                 [this](double choice) {
                     project_.diagramsPerPage = static_cast<std::int16_t>(choice == 0 ? 3 : choice == 1 ? 4 : 8);
                     return true;
                 }});
    AddCheck(kDate, "", "Print &date", true).Bind(BindMember(project_.printDate));
    AddCheck(kName, "", "Print projekt &name", true).Bind(BindMember(project_.printProjectName));
    AddOk("&Print");
    onLoad = [this] { FillPrintList(); };
    onCommand = [this](int id) {
        if (id == kAdd && Selected(kPickList) >= 0) {
            (void)project_.AddToPrintList(Selected(kPickList));
            FillPrintList();
        } else if (id == kRemove) {
            (void)project_.RemoveFromPrintList(Selected(kPrintList));
            FillPrintList();
        }
    };
    onClose = [this] {
        if (ReturnValue() == OkId)
            (void)project_.PrintDiagrams();
    };
}

void TXoverPrintDiagrams::FillPrintList()
{
    const std::vector<std::string> titles = Titles(project_.DiagramWindows());
    std::vector<std::string> items;
    for (int index : project_.printList)
        items.push_back(titles[static_cast<std::size_t>(index)]);
    const int keep = std::min(Selected(kPrintList), static_cast<int>(items.size()) - 1);
    SetItems(kPrintList, items, items.empty() ? -1 : std::max(keep, 0));
}

TExportRayDialog::TExportRayDialog(THost& host, TXover& project)
    : TDialogModel(host, "Export SPL Total", "expray.txt"), project_(project)
{
    AddList(kList, "Ray", {}, -1).Rows(8);
    AddOk();
    onLoad = [this] {
        const TGeneral& g = project_.Context().General();
        std::vector<std::string> angles;
        for (int r = 0; r < g.SurfaceRayCount(); ++r) {
            char text[16];
            std::snprintf(text, sizeof text, "%+d", g.SurfaceRay(r));
            angles.push_back(text);
        }
        SetItems(kList, angles, g.OnAxisIndex());
    };
    onClose = [this] {
        if (ReturnValue() == OkId && Selected(kList) >= 0)
            project_.ExportSplForRay(Selected(kList));
    };
}
