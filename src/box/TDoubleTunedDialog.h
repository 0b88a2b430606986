#pragma once
// The "Double tuned bassreflex box" dialog of both double tuned types: four groups,
// "Rear box", "Rear port", "Front box" and "Front port", each editing the element of
// that name, the port non-linearity switch, and the "&Optimize" menu. No entry solves
// a port length: the two tunings follow from the coupled system and show read-only.

#include "ui/TDialogModel.h"

class TDoubleTunedBox;

class TDoubleTunedDialog : public TDialogModel {
public:
    // Field ids: a group's base plus the field's offset ("Front port" "Area" is
    // kFrontPort + kArea).
    static constexpr int kRearBox = 100, kRearPort = 110, kFrontBox = 120, kFrontPort = 130;
    static constexpr int kVolume = 1, kQb = 2, kFill = 3;
    static constexpr int kLength = 1, kDiameter = 2, kArea = 3, kResFreq = 4, kCount = 5;
    static constexpr int kNonLinearity = 141;
    static constexpr int kFrequencyFit = 12211, kQuickBox = 12212;

    TDoubleTunedDialog(THost& host, TDoubleTunedBox& box);

private:
    void AddBoxGroup(const char* caption, int column, int base, bool rear);
    void AddPortGroup(const char* caption, int column, int base, bool rear);

    TDoubleTunedBox& box_;
};
