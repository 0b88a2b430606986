#pragma once
// Double tuned bass reflex box type 1: the driver's rear chamber ("Rear box") vents
// through the "Rear port" into a second chamber ("Front box"), which vents through the
// "Front port" into the room.

#include "box/TDoubleTunedBox.h"

class TBassReflexDTBox : public TDoubleTunedBox {
public:
    static constexpr int kTypeCode = 2;
    static const TBoxType& Type();

    TBassReflexDTBox(THost& host, TProgramContext& context);

protected:
    void BuildNetwork() override;
    TComplex PortFlows(int i, const TComplex& coneFlow) override;
    double TuningCoefficient(double m1, double m2, double c1, double c2) const override;
};
