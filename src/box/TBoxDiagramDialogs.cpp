#include "TBoxDiagramDialogs.h"

#include "TBoxEmbryo.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

namespace {
std::vector<std::string> Titles(TBoxEmbryo& box)
{
    std::vector<std::string> titles;
    for (TPlotXYEmbryo* w : box.DiagramWindows())
        titles.push_back(w->Title());
    return titles;
}
} // namespace

TShowDiagramsDialog::TShowDiagramsDialog(THost& host, TBoxEmbryo& box)
    : TDialogModel(host, "Show diagrams", "showdiag.txt"), box_(box)
{
    menuCommand = TCmd::ShowDiagrams;
    AddList(kList, "Diagrams", {}, -1).Rows(6);
    AddButton(kShow, "Show", true);
    onLoad = [this] { Fill(); };
    onCommand = [this](int id) {
        if (id == kShow || id == kList)
            ShowSelected();
    };
}

void TShowDiagramsDialog::Fill()
{
    std::vector<std::string> titles = Titles(box_);
    SetItems(kList, titles, titles.empty() ? -1 : 0);
}

void TShowDiagramsDialog::ShowSelected()
{
    std::vector<TPlotXYEmbryo*> windows = box_.DiagramWindows();
    int selected = Selected(kList);
    if (selected < 0 || selected >= static_cast<int>(windows.size()))
        return;
    Host().ShowView(*windows[static_cast<std::size_t>(selected)]);
    RequestClose();
}

TPrintDiagramsDialog::TPrintDiagramsDialog(THost& host, TBoxEmbryo& box)
    : TDialogModel(host, "Print diagrams", "printdia.txt"), box_(box)
{
    menuCommand = TCmd::PrintDiagrams;
    Group("Diagrams");
    AddList(kPickList, "Windows", Titles(box), 0).Rows(6);
    AddButton(kAdd, "&Add -->");
    AddList(kPrintList, "Print list", {}, -1).Rows(6);
    AddButton(kRemove, "&Remove");
    Group("Page", 1);
    // The choices stand for 3, 4 and 8 diagrams a page; other counts show as 8.
    AddRadio(kPerPage, "Per page", {"&3", "&4", "&8"}, 2)
        .Bind({.read = [this] { return box_.diagramsPerPage == 3 ? 0.0 : box_.diagramsPerPage == 4 ? 1.0 : 2.0; },
               .write =
                   [this](double choice) {
                       box_.diagramsPerPage = static_cast<std::int16_t>(choice == 0 ? 3 : choice == 1 ? 4 : 8);
                       return true;
                   }});
    AddCheck(kDate, "", "Print &date", true).Bind(BindMember(box_.printDate));
    AddCheck(kName, "", "Print projekt &name", true).Bind(BindMember(box_.printProjectName));
    AddOk("&Print");
    onLoad = [this] { FillPrintList(); };
    onCommand = [this](int id) {
        if (id == kAdd && Selected(kPickList) >= 0) {
            box_.AddToPrintList(Selected(kPickList));
            FillPrintList();
        } else if (id == kRemove) {
            int at = Selected(kPrintList);
            box_.RemoveFromPrintList(at);
            FillPrintList();
        }
    };
    onClose = [this] {
        if (ReturnValue() == OkId)
            box_.PrintDiagrams();
    };
}

void TPrintDiagramsDialog::FillPrintList()
{
    std::vector<std::string> titles = Titles(box_), items;
    for (int index : box_.PrintList())
        items.push_back(titles[static_cast<std::size_t>(index)]);
    int keep = std::min(Selected(kPrintList), static_cast<int>(items.size()) - 1);
    SetItems(kPrintList, items, items.empty() ? -1 : std::max(keep, 0));
}
