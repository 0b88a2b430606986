#pragma once
// The two wizards a network dialog opens with "&Wizard", modally: the passive one writes
// a Butterworth low-pass and/or high-pass ladder into a passive network, the active one
// a Butterworth low-pass or high-pass as op-amp sections into an active network. Every
// change is stored into the network's wizard settings at once; "Calc" writes the
// branches (TNetAWizardDesign) and may be pressed again and again.

#include "ui/TDialogModel.h"

#include <functional>

class TNetA;

class TNetAWizard : public TDialogModel {
public:
    static constexpr int kInsertion = 101, kHighPassOrder = 108, kLowPassOrder = 109, kCalc = 126,
                         kHighPassCutoff = 128, kLowPassCutoff = 129, kLoad = 130;
    // applied runs after "Calc" wrote the branches: the owner recalculates the project
    // and refreshes its own lists.
    TNetAWizard(THost& host, TNetA& net, std::function<void()> applied);

private:
    TNetA& net_;
    std::function<void()> applied_;
};

class TNetACWizard : public TDialogModel {
public:
    static constexpr int kInsertion = 101, kFilter = 103, kOrder = 109, kCalc = 126, kCutoff = 129;
    // Choices of kFilter.
    static constexpr int kLowPass = 0, kHighPass = 1;
    TNetACWizard(THost& host, TNetA& net, std::function<void()> applied);

private:
    TNetA& net_;
    std::function<void()> applied_;
};
