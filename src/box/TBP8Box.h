#pragma once
// Bandpass box type 4: two drivers face a "Middle box" from two "Side boxes"; every
// box vents into the room ("Side ports", "Middle port"). The side elements describe
// one side each, so each driver carries half of the side load.

#include "box/TBandpassBox.h"

class TBP8Box : public TBandpassBox {
public:
    static constexpr int kTypeCode = 8;
    static const TBoxType& Type();

    TBP8Box(THost& host, TProgramContext& context);
    void Reset() override;

protected:
    void SeparateVolumes() override;
    TComplex DriverPressure(const TComplex& u, double kf) const override;

    void BuildNetwork() override;
    TComplex PointPressure(int i, const TComplex& u, double kf) override;
};
