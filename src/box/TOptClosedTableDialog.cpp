#include "TOptClosedTableDialog.h"

#include "TClosedBox.h"
#include "ui/THost.h"

#include <algorithm>

TOptClosedTableDialog::TStart TOptClosedTableDialog::StartFor(double qts)
{
    int count = 0;
    while (count < static_cast<int>(kQtcValues.size()) && kQtcValues[static_cast<std::size_t>(count)] < qts * 1.01)
        ++count;
    // Below Butterworth only on purpose: the first offer is never an overdamped box.
    return {count, std::clamp(count, 2, static_cast<int>(kQtcValues.size()) - 1)};
}

TOptClosedTableDialog::TOptClosedTableDialog(THost& host, TClosedBox& box, TDialogModel& boxDialog)
    : TOptTableDialog(host, "Table optimize closed box", "closedtb.txt", boxDialog), box_(box)
{
    Group("Qtc");
    AddRadio(kQtc, "",
             {"0.5 Critically damped", "0.577 Bessel, max flat delay response",
              "0.707 Butterworth, max flat amplitude response", "0.8 Equal ripple response",
              "0.9 Chebychev, equal ripple response", "1.0 Chebychev, equal ripple response",
              "1.1 Chebyshev, equal ripple response", "1.2 Chebychev, equal ripple response",
              "1.5 Chebychev, equal ripple response"},
             -1)
        .OnChange([this](TField& f) { Apply(f.selected); });
    AddOk();
}

void TOptClosedTableDialog::Prepare()
{
    if (!box_.FrontDriver().complete) {
        Host().Beep();
        return;
    }
    box_.ComputeEffectiveDriver();
    const TStart start = StartFor(box_.effectiveQts);
    for (int i = 0; i < static_cast<int>(kQtcValues.size()); ++i)
        SetItemEnabled(kQtc, i, i >= start.disabled);
    SetSelected(kQtc, start.selected);
    Apply(start.selected);
}

void TOptClosedTableDialog::Apply(int index)
{
    if (index < 0 || index >= static_cast<int>(kQtcValues.size()))
        return;
    if (!box_.ApplyTableQtc(kQtcValues[static_cast<std::size_t>(index)])) {
        if (box_.FrontDriver().complete)
            TooHighQts();
        else
            Host().Beep();
    }
}
