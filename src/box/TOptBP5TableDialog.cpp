#include "TOptBP5TableDialog.h"

#include "TBandpassBox.h"
#include "ui/THost.h"

#include <string>

// Kept in single precision, as the alignment figures were tabulated.
const std::array<std::array<float, 3>, TOptBP5TableDialog::kRows> TOptBP5TableDialog::kQbc = {{
    {0.4507f, 0.5258f, 0.631f},
    {0.4774f, 0.557f, 0.6683f},
    {0.5057f, 0.59f, 0.7079f},
    {0.5356f, 0.6249f, 0.7499f},
    {0.5674f, 0.6619f, 0.7943f},
    {0.601f, 0.7012f, 0.8414f},
    {0.6366f, 0.7427f, 0.8913f},
    {0.6743f, 0.7867f, 0.9441f},
    {0.7143f, 0.8333f, 1.0f},
    {0.7566f, 0.8827f, 1.0593f},
    {0.8014f, 0.935f, 1.122f},
    {0.8429f, 0.9904f, 1.1885f},
    {0.8772f, 1.0491f, 1.2589f},
    {0.9525f, 1.1113f, 1.3335f},
    {1.009f, 1.1771f, 1.4125f},
    {1.0687f, 1.2469f, 1.4962f},
    {1.1321f, 1.3207f, 1.5849f},
}};

TOptBP5TableDialog::TStart TOptBP5TableDialog::StartFor(double qts)
{
    int count = 0;
    while (count < kRows && kQbc[static_cast<std::size_t>(count)][0] < qts * 1.01)
        ++count;
    // The flat 0 dB row is the first offer unless the driver needs a louder one.
    if (count == kRows)
        return {count, kZeroDbRow};
    return {count, count < kZeroDbRow ? kZeroDbRow : count};
}

TOptBP5TableDialog::TOptBP5TableDialog(THost& host, TBandpassBox& box, TDialogModel& boxDialog)
    : TOptTableDialog(host, "Table optimize BP type 1", "bp1tab.txt", boxDialog), box_(box)
{
    Group("Passband ripple");
    AddRadio(kRipple, "", {"0 dB", "0.35 dB", "1.25 dB"}, 0).OnChange([this](TField&) { Apply(); });
    std::vector<std::string> rows;
    for (int db = -8; db <= 8; ++db)
        rows.push_back((db > 0 ? "+" : "") + std::to_string(db) + "dB");
    Group("Sensitivity", 1);
    AddRadio(kSensitivity, "", rows, kZeroDbRow).OnChange([this](TField&) { Apply(); });
    AddOk();
}

void TOptBP5TableDialog::Prepare()
{
    if (!box_.FrontDriver().complete) {
        Host().Beep();
        return;
    }
    box_.ComputeEffectiveDriver();
    const TStart start = StartFor(box_.effectiveQts);
    for (int i = 0; i < kRows; ++i)
        SetItemEnabled(kSensitivity, i, i >= start.disabled);
    SetSelected(kRipple, 0);
    SetSelected(kSensitivity, start.selected);
    Apply();
    // The dialog opens on a calculated box, whether or not "Calculate immediately" is on.
    box_.Calculate(0);
    if (BoxDialog().IsOpen())
        BoxDialog().Reload();
}

void TOptBP5TableDialog::Apply()
{
    const int column = Selected(kRipple), row = Selected(kSensitivity);
    if (column < 0 || column > 2 || row < 0 || row >= kRows)
        return;
    const std::size_t c = static_cast<std::size_t>(column);
    if (!box_.ApplyRearQTable(kQbc[static_cast<std::size_t>(row)][c], kFrontFactor[c])) {
        if (box_.FrontDriver().complete)
            TooHighQts();
        else
            Host().Beep();
    }
}
