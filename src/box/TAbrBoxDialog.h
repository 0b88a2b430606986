#pragma once
// The "ABR box" dialog: the box volume and the passive radiators, with the
// "&Optimize" menu of the passive radiator box.

#include "ui/TDialogModel.h"

class TAbrBox;

class TAbrBoxDialog : public TDialogModel {
public:
    static constexpr int kVolume = 101, kQl = 102, kQb = 103, kFill = 104;
    static constexpr int kVap = 201, kSd = 202, kMmp = 203, kFp = 204, kFb = 205, kXmax = 206, kCount = 207,
                         kNonLinearity = 208;
    static constexpr int kTableLookup = 12210, kFrequencyFit = 12211, kQuickBox = 12212;

    TAbrBoxDialog(THost& host, TAbrBox& box);

private:
    TAbrBox& box_;
};
