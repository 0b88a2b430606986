#pragma once
// The filter project's small dialogs: "Show diagrams" (the plot windows that are
// hidden), "Print diagrams" (the pick list, the print list and the page settings) and
// "Export SPL Total" (the ray whose summed response is written).

#include "ui/TDialogModel.h"

class TXover;

class TXoverShowDiagrams : public TDialogModel {
public:
    static constexpr int kShow = 101, kList = 102;
    TXoverShowDiagrams(THost& host, TXover& project);

private:
    void ShowSelected();
    TXover& project_;
};

class TXoverPrintDiagrams : public TDialogModel {
public:
    static constexpr int kPerPage = 101, kAdd = 105, kDate = 106, kName = 109, kRemove = 110;
    static constexpr int kPickList = 111, kPrintList = 112;
    TXoverPrintDiagrams(THost& host, TXover& project);

private:
    void FillPrintList();
    TXover& project_;
};

class TExportRayDialog : public TDialogModel {
public:
    static constexpr int kList = 101;
    TExportRayDialog(THost& host, TXover& project);

private:
    TXover& project_;
};
