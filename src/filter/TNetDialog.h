#pragma once
// The dialog of one simple network: the low-pass and high-pass sections with their order,
// cutoff and "Calc" buttons, the notch, the attenuator, the Zobel and "Disconnect".

#include "ui/TDialogModel.h"

class TNet;

class TNetDialog : public TDialogModel {
public:
    // Control ids.
    static constexpr int kDisconnect = 102, kAttenuation = 101, kNotchR = 104, kPadSeries = 105, kPadShunt = 106,
                         kZobelR = 107, kHighPassOrder = 108, kLowPassOrder = 109, kLowPassL0 = 111, kHighPassL1 = 112,
                         kLowPassL2 = 113, kHighPassL3 = 114, kNotchL = 115, kNotchC = 116, kHighPassC0 = 118,
                         kLowPassC1 = 119, kHighPassC2 = 120, kLowPassC3 = 121, kZobelC = 122, kCalcAttenuator = 123,
                         kCalcHighPass = 124, kCalcLowPass = 125, kCalcZobel = 126, kHighPassCutoff = 128,
                         kLowPassCutoff = 129;

    TNetDialog(THost& host, TNet& net);

private:
    void AddComponent(int id, int branch, int kind, int field);
    TNet& net_;
};
