#pragma once
// "Table optimize closed box": nine system Q values, each a classic closed box
// response; choosing one sizes the box for it with the driver at hand.

#include "TOptTableDialog.h"

#include <array>

class TClosedBox;

class TOptClosedTableDialog : public TOptTableDialog {
public:
    static constexpr int kQtc = 101;
    static constexpr std::array<double, 9> kQtcValues = {0.5, 0.577, 0.707, 0.8, 0.9, 1.0, 1.1, 1.2, 1.5};

    // Which choices a driver of effective total Q qts cannot reach (the first
    // `disabled` ones) and the one offered first.
    struct TStart {
        int disabled;
        int selected;
    };
    static TStart StartFor(double qts);

    TOptClosedTableDialog(THost& host, TClosedBox& box, TDialogModel& boxDialog);

protected:
    void Prepare() override;

private:
    void Apply(int index);

    TClosedBox& box_;
};
