#pragma once
// Bandpass box type 1: the driver sits between a closed "Rear box" and a "Front box"
// that vents through one port group into the room. Only the port radiates.

#include "box/TBandpassBox.h"

class TBP5Box : public TBandpassBox {
public:
    static constexpr int kTypeCode = 5;
    static const TBoxType& Type();

    TBP5Box(THost& host, TProgramContext& context);

protected:
    void BuildNetwork() override;
    TComplex PointPressure(int i, const TComplex& u, double kf) override;
};
