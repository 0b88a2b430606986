#pragma once
// The sealed enclosure: one or more identical drivers in one closed air volume. The
// plainest box type and the pattern the others extend.

#include "box/TBoxEmbryo.h"

class TClosedBoxDialog;

class TClosedBox : public TBoxEmbryo {
public:
    static constexpr int kTypeCode = 0;
    static const TBoxType& Type();

    TClosedBox(THost& host, TProgramContext& context);
    ~TClosedBox() override;

    // "&Quick box": Vb = effective Qts · Vas · N.
    void QuickBox();
    // The table lookup's box for a system Q: Qb = 15 and the volume that gives qtc with
    // the effective driver (Vb = Vas_eff / ((qtc / Qts_eff)² - 1)). False, changing
    // nothing, when no closed box reaches qtc with this driver.
    bool ApplyTableQtc(double qtc);
    TClosedBoxDialog* BoxDialog() const;

protected:
    void BuildLoad() override;
    void BuildPressure() override;
    void BuildReport() override;
    std::unique_ptr<TDialogModel> MakeBoxDialog() override;
};
