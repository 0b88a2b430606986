#pragma once
// The reflex bandpass box dialog: the front and rear box, the front port and the rear
// port/variovent with its acoustic resistance, the port non-linearity switch and the
// shared "&Optimize" menu. A volume or fill change retunes the port group in that box.

#include "ui/TDialogModel.h"

class TBassReflexDorvelBox;
class TPortObject;

class TBreflDorvelDialog : public TDialogModel {
public:
    // Field ids: a group's base plus the field's offset ("Rear box" "QL" is
    // kRearBox + kQl).
    static constexpr int kFrontBox = 100, kRearBox = 110, kFrontPort = 120, kRearPort = 130;
    static constexpr int kVolume = 1, kQl = 2, kQb = 3, kFill = 4;
    static constexpr int kLength = 1, kDiameter = 2, kArea = 3, kResFreq = 4, kCount = 5, kResistance = 6;
    static constexpr int kNonLinearity = 141;
    static constexpr int kTableLookup = 12210, kFrequencyFit = 12211, kQuickBox = 12212;

    // The rear box's leakage Q goes lower than the front box's: the variovent box leaks
    // on purpose.
    static const TFieldInfo& RearQlInfo();
    static const TFieldInfo& ResistanceInfo();

    TBreflDorvelDialog(THost& host, TBassReflexDorvelBox& box);

private:
    void AddBoxGroup(const char* caption, int base, bool rear);
    void AddPortGroup(const char* caption, int base, bool rear);

    TBassReflexDorvelBox& box_;
    TPortObject* frontPorts_[1];
    TPortObject* rearPorts_[1];
};
