#pragma once
// Double tuned bass reflex box type 2: the driver's rear chamber ("Front box") vents
// through the "Front port" into the room and through the "Rear port" into a closed
// second chamber ("Rear box").

#include "box/TDoubleTunedBox.h"

class TBassReflexDT2Box : public TDoubleTunedBox {
public:
    static constexpr int kTypeCode = 3;
    static const TBoxType& Type();

    TBassReflexDT2Box(THost& host, TProgramContext& context);

protected:
    void BuildNetwork() override;
    TComplex PortFlows(int i, const TComplex& coneFlow) override;
    double TuningCoefficient(double m1, double m2, double c1, double c2) const override;
};
