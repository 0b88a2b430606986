#include "TOptBreflTableDialog.h"

#include "TBassReflexBox.h"
#include "ui/THost.h"

TOptBreflTableDialog::TOptBreflTableDialog(THost& host, TBassReflexBox& box, TDialogModel& boxDialog)
    : TOptTableDialog(host, "Table opt. bassreflex box", "brefltab.txt", boxDialog), box_(box)
{
    Group("Alignment");
    AddRadio(kAlignment, "", {"&SBB4 / BB4", "&QB3 / SQB3", "S&C4 / C4"}, -1).OnChange([this](TField&) { Apply(); });
    Group("Box Q value", 1);
    AddRadio(kBoxQ, "", {"&3", "&7", "&15"}, 2).OnChange([this](TField&) { Apply(); });
    AddOk();
}

void TOptBreflTableDialog::Prepare()
{
    if (!box_.FrontDriver().complete) {
        Host().Beep();
        return;
    }
    box_.ComputeEffectiveDriver();
    const TBreflAlignments::TStart start = TBreflAlignments::Start(box_.effectiveQts);
    for (int i = 0; i < 3; ++i)
        SetItemEnabled(kAlignment, i, start.enabled[static_cast<std::size_t>(i)]);
    SetSelected(kAlignment, static_cast<int>(start.selected));
    SetSelected(kBoxQ, 2);
    fit_ = start.fit;
    Apply();
}

void TOptBreflTableDialog::Apply()
{
    if (fit_ == TBreflAlignments::TFit::TooHigh) {
        TooHighQts();
        return;
    }
    if (fit_ == TBreflAlignments::TFit::TooLow) {
        TooLowQts();
        return;
    }
    const int alignment = Selected(kAlignment), boxQ = Selected(kBoxQ);
    if (alignment < 0 || alignment > 2 || boxQ < 0 || boxQ > 2)
        return;
    if (!box_.ApplyTableAlignment(static_cast<TBreflAlignment>(alignment), boxQ))
        Host().Beep();
}
