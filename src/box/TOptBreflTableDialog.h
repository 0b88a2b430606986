#pragma once
// "Table opt. bassreflex box": an alignment table chosen by the driver's total Q and
// a box Q (with its leakage and fill); every choice sizes box and port at once.

#include "TBreflAlignments.h"
#include "TOptTableDialog.h"

class TBassReflexBox;

class TOptBreflTableDialog : public TOptTableDialog {
public:
    static constexpr int kAlignment = 101, kBoxQ = 102;

    TOptBreflTableDialog(THost& host, TBassReflexBox& box, TDialogModel& boxDialog);

protected:
    void Prepare() override;

private:
    void Apply();

    TBassReflexBox& box_;
    TBreflAlignments::TFit fit_ = TBreflAlignments::TFit::Fits;
};
