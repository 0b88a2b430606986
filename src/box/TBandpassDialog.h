#pragma once
// The dialog of the four bandpass boxes: two air volume groups ("Box volume", "Box
// Q-value", "Fill"), one or two port groups with the element editing rules, the port
// non-linearity switch and the "&Optimize" menu. A new volume or fill retunes the port
// in that box; in type 2 the two tunings follow from the coupled system and show
// read-only.

#include "ui/TDialogModel.h"

#include <memory>
#include <vector>

class TBandpassBox;
class TOptBP5TableDialog;
class TPortObject;

class TBandpassDialog : public TDialogModel {
public:
    // Field ids: a group's base plus the field's offset ("Front box" "Fill" is
    // kSecondBox + kFill); ports' fields in TPortField order from their base + 1.
    static constexpr int kFirstBox = 100, kSecondBox = 110, kFirstPort = 120, kSecondPort = 140;
    static constexpr int kVolume = 1, kQb = 2, kFill = 3;
    static constexpr int kNonLinearity = 161;
    static constexpr int kTableLookup = 12210, kFrequencyFit = 12211, kQuickBox = 12212;

    TBandpassDialog(THost& host, TBandpassBox& box);
    ~TBandpassDialog() override;

    // "By &table lookup..." of type 1: its table dialog, made when first opened.
    TOptBP5TableDialog* TableDialog() const { return table_.get(); }

private:
    void AddBoxGroup(int base, bool first, int column);
    void AddPortGroup(int base, int k, int column);

    TBandpassBox& box_;
    // The ports in each box, as the volume's editing rule retunes them.
    std::vector<TPortObject*> firstBoxPorts_, secondBoxPorts_;
    std::unique_ptr<TOptBP5TableDialog> table_;
};
