#pragma once
// The passive radiator box: the drivers and na identical passive radiators ("ABR
// units") share one closed air volume. The radiators are mass-loaded membranes on the
// box's air spring; they take over from the cone around their tuning fb, where the
// cone barely moves, much as the air in a port does.

#include "box/TBoxEmbryo.h"

#include <memory>
#include <optional>

class TAbrBoxDialog;
class TAbrObject;

// One row of the passive radiator alignment table: the driver's total Q, the tuning
// ratio h = fb / fs and the compliance ratio α = Vas / Vb.
struct TAbrAlignment {
    double qts, h, alpha;
};

class TAbrBox : public TBoxEmbryo {
public:
    static constexpr int kTypeCode = 4;
    static const TBoxType& Type();

    // The alignment table covers drivers of total Q 0.20 .. 0.60 in steps of 0.01;
    // a Q up to 0.61 still takes the last row.
    static constexpr double kLowestQts = 0.2;
    static constexpr double kHighestQts = 0.61;
    // The row for an effective total Q: the first whose Q is not below it; none
    // outside kLowestQts .. kHighestQts.
    static std::optional<TAbrAlignment> AlignmentFor(double qts);

    TAbrBox(THost& host, TProgramContext& context);
    ~TAbrBox() override;

    void Reset() override;
    void PrepareCalculation() override;
    void RefreshResults() override;
    std::vector<TCurveColumn> OwnCurves() const override;
    void RoomGroup(const TRoomSource& source, TRoomGroupInput& group) const override;

    // "By &table lookup...": box volume, radiator compliance, count and tuning from the
    // alignment row of the effective driver's Q. False (with a message or a beep) when
    // there is no row or no complete unit; then nothing changes.
    bool TableLookup();
    // "&Quick box": a box of 1.5 · Vas with one radiator per driver that copies the
    // driver's cone (area, moving mass, suspension). False (with a beep) without a
    // complete unit.
    bool QuickBox();

    TAbrObject& Radiator() { return *radiator_; }
    const TAbrObject& Radiator() const { return *radiator_; }
    TAbrBoxDialog* BoxDialog() const;

    TRealBlock driverSpl{}, radiatorSpl{};
    // Zl: the box volume in parallel with the na radiators, as one cone sees it.
    TComplexBlock loadImpedance{};
    // Zu: one radiator's mechanical, radiation and inner air mass impedance.
    TComplexBlock unitImpedance{};

protected:
    void BuildLoad() override;
    void BuildPressure() override;
    void BuildReport() override;
    std::unique_ptr<TDialogModel> MakeBoxDialog() override;
    [[nodiscard]] bool ReadBody(TBinaryReader& in, int version) override;
    void WriteBody(TBinaryWriter& out) const override;

private:
    // After a sizing rule: the dialog shows the new values and the project recalculates.
    void Resized();

    std::unique_ptr<TAbrObject> radiator_;
    TLineStyle thinBlue_{TColors::Blue, 1, TDash::Solid};
    TLineStyle thinRed_{TColors::Red, 1, TDash::Solid};
};
