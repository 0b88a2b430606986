#pragma once
// The sealed enclosure: one or more identical drivers in one closed air volume. The
// plainest box type and the pattern the others extend.

#include "box/TBoxEmbryo.h"

class TClosedBoxDialog;

class TClosedBox : public TBoxEmbryo {
public:
    static constexpr int kTypeCode = 0;

    explicit TClosedBox(THost& host);
    ~TClosedBox() override;

    void Reset() override;
    bool HandlesCommand(int id) const override;
    bool HandleCommand(int id) override;

    // "&Quick box": Vb = effective Qts · Vas · N.
    void QuickBox();
    void OpenBoxDialog() override;
    TDialogModel* BoxDialogModel() override;
    const TDialogModel* ExistingBoxDialog() const override;
    TClosedBoxDialog* BoxDialog() const { return dialog_.get(); }

protected:
    void BuildLoad() override;
    void BuildPressure() override;
    void BuildReport() override;
    std::vector<int> UnsupportedCommands() const override;

private:
    std::unique_ptr<TClosedBoxDialog> dialog_;
};
