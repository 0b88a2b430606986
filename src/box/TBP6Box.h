#pragma once
// Bandpass box type 2: the driver sits between a "Rear box" and a "Front box"; the
// "Rear port" joins the two boxes and the "Front port" vents the front box into the
// room. The two ports and boxes form one coupled system with two resonances.

#include "box/TBandpassBox.h"

class TBP6Box : public TBandpassBox {
public:
    static constexpr int kTypeCode = 6;
    static const TBoxType& Type();

    TBP6Box(THost& host, TProgramContext& context);

protected:
    void BuildNetwork() override;
    TComplex PointPressure(int i, const TComplex& u, double kf) override;
};
