#pragma once
// The "Closed box" dialog: the box volume element's values and the "&Optimize" menu.

#include "ui/TDialogModel.h"

class TClosedBox;

class TClosedBoxDialog : public TDialogModel {
public:
    static constexpr int kVolume = 101, kQb = 102, kQl = 103, kFill = 104;
    static constexpr int kTableLookup = 12210, kFrequencyFit = 12211, kQuickBox = 12212;

    TClosedBoxDialog(THost& host, TClosedBox& box);

private:
    TClosedBox& box_;
};
