#pragma once
// The "Closed box" dialog: the box volume element's values and the "&Optimize" menu.

#include "ui/TDialogModel.h"

#include <memory>

class TClosedBox;
class TOptClosedTableDialog;

class TClosedBoxDialog : public TDialogModel {
public:
    static constexpr int kVolume = 101, kQb = 102, kQl = 103, kFill = 104;
    static constexpr int kTableLookup = 12210, kFrequencyFit = 12211, kQuickBox = 12212;

    TClosedBoxDialog(THost& host, TClosedBox& box);
    ~TClosedBoxDialog() override;

    // "By &table lookup...": the table dialog, made when first opened.
    TOptClosedTableDialog* TableDialog() const { return table_.get(); }

private:
    TClosedBox& box_;
    std::unique_ptr<TOptClosedTableDialog> table_;
};
