#pragma once
// The "Bassreflex box" dialog: the box volume and the port group with the editing
// rules of the elements, and the "&Optimize" menu.

#include "ui/TDialogModel.h"

#include <memory>

class TBassReflexBox;
class TOptBreflTableDialog;
class TPortObject;

class TBreflDialog : public TDialogModel {
public:
    static constexpr int kVolume = 101, kQb = 102, kQl = 103, kFill = 104;
    // The port fields, in TPortField order from kLength.
    static constexpr int kLength = 111, kDiameter = 112, kFlareRadius = 113, kMaxDiameter = 114, kArea = 115,
                         kResFreq = 116, kCount = 117, kNonLinearity = 118;
    static constexpr int kTableLookup = 12210, kFrequencyFit = 12211, kQuickBox = 12212;

    TBreflDialog(THost& host, TBassReflexBox& box);
    ~TBreflDialog() override;

    // "By &table lookup...": the table dialog, made when first opened.
    TOptBreflTableDialog* TableDialog() const { return table_.get(); }

private:
    TBassReflexBox& box_;
    std::unique_ptr<TOptBreflTableDialog> table_;
    // The ports in the box, as the volume's editing rule retunes them.
    TPortObject* ports_[1];
};
