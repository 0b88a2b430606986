#pragma once
// "Table optimize BP type 1": the total Q of the rear box system by passband ripple and
// sensitivity (the level against the driver in a closed box of the same cutoff); every
// choice sizes both boxes and the port at once.

#include "TOptTableDialog.h"

#include <array>

class TBandpassBox;

class TOptBP5TableDialog : public TOptTableDialog {
public:
    static constexpr int kRipple = 101, kSensitivity = 102;
    static constexpr int kRows = 17, kZeroDbRow = 8;
    // Qbc per sensitivity row (-8 dB .. +8 dB) and ripple column (0, 0.35, 1.25 dB).
    static const std::array<std::array<float, 3>, kRows> kQbc;
    // The front box factor g of each ripple column.
    static constexpr std::array<double, 3> kFrontFactor = {0.7, 0.6, 0.5};

    // The sensitivity rows a driver of effective total Q qts cannot reach in the 0 dB
    // ripple column (the first `disabled`) and the row offered first.
    struct TStart {
        int disabled;
        int selected;
    };
    static TStart StartFor(double qts);

    TOptBP5TableDialog(THost& host, TBandpassBox& box, TDialogModel& boxDialog);

protected:
    void Prepare() override;

private:
    void Apply();

    TBandpassBox& box_;
};
