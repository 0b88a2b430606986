#pragma once
// "Show diagrams" and "Print diagrams" of a box project.

#include "ui/TDialogModel.h"

class TBoxEmbryo;

// Lists the project's plot windows; "Show" brings the chosen one up, wherever it is.
class TShowDiagramsDialog : public TDialogModel {
public:
    static constexpr int kList = 102, kShow = 101;
    TShowDiagramsDialog(THost& host, TBoxEmbryo& box);

private:
    void Fill();
    void ShowSelected();
    TBoxEmbryo& box_;
};

// The pick list, the print list (at most eight), diagrams per page and the two
// heading options; OK prints.
class TPrintDiagramsDialog : public TDialogModel {
public:
    static constexpr int kPerPage = 101, kAdd = 105, kDate = 106, kName = 109, kRemove = 110;
    static constexpr int kPickList = 111, kPrintList = 112;
    TPrintDiagramsDialog(THost& host, TBoxEmbryo& box);

private:
    void FillPrintList();
    TBoxEmbryo& box_;
};
