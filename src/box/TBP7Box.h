#pragma once
// Bandpass box type 3: the driver sits between a "Rear box" and a "Front box", each
// venting into the room through its own port ("Rear port", "Front port"). The two
// ports radiate in opposite phase.

#include "box/TBandpassBox.h"

class TBP7Box : public TBandpassBox {
public:
    static constexpr int kTypeCode = 7;
    static const TBoxType& Type();

    TBP7Box(THost& host, TProgramContext& context);
    void Reset() override;

protected:
    void SeparateVolumes() override;

    void BuildNetwork() override;
    TComplex PointPressure(int i, const TComplex& u, double kf) override;
};
