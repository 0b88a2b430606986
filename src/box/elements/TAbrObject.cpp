#include "box/elements/TAbrObject.h"

#include "box/elements/TBoxObject.h"
#include "box/elements/TElementConstants.h"

#include <cmath>

namespace C = TElementConstants;

namespace {
constexpr double kInnerMass = 0.826;              // inner air mass: j·ω·0.826 / (π·a)
constexpr double kRadiationReal = 0.04304;
constexpr double kRadiationImag = 3.2624999999999997;
constexpr double kPeakToPeakMm = 1000.0 * 2.828;  // m RMS to mm peak to peak

bool PositiveNumber(double f)
{
    return std::isfinite(f) && f > 0.0;
}
} // namespace

TAbrObject::TAbrObject(const TBoxObject& box) : box_(box)
{
    Reset();
}

void TAbrObject::Reset()
{
    Sd = 0.03;
    a = std::sqrt(0.03 * C::kInvPi);
    Mmp = 0.01;
    Mms = AirLoad() + Mmp;
    Vap = 0.1;
    n = 1;
    Xmax = 0.01;
    UpdateCompliance();
    UpdateFreeAirResonance();
    Qmp = kQmp;
    nonLinearity = false;
    UpdateBoxResonance();
    dirty = true;
}

double TAbrObject::AirLoadOf(double radius)
{
    return C::kAirLoadFactor * radius * radius * radius;
}

double TAbrObject::AirLoad() const
{
    return AirLoadOf(a);
}

double TAbrObject::ComplianceOf(double vap, double sd)
{
    return vap * C::kInvRhoC2 / (sd * sd);
}

double TAbrObject::ResonanceOf(double mass, double compliance)
{
    return 1.0 / (std::sqrt(mass * compliance) * C::kTwoPi);
}

void TAbrObject::UpdateCompliance()
{
    Cap = Vap * C::kInvRhoC2;
    Cmp = ComplianceOf(Vap, Sd);
}

void TAbrObject::UpdateFreeAirResonance()
{
    UpdateCompliance();
    fp = ResonanceOf(Mms, Cmp);
}

bool TAbrObject::SetFp(double f)
{
    if (!PositiveNumber(f))
        return false;
    fp = f;
    UpdateCompliance();
    Mms = 1.0 / (f * f * C::kFourPi2 * Cmp);
    Mmp = Mms - AirLoad();
    return true;
}

double TAbrObject::BoxComplianceOf(double vap, double sd, std::int32_t count) const
{
    // Each unit sees its share of the box in series with its own suspension.
    const double share = box_.ComplianceFactor() * box_.Vb / count;
    return 1.0 / (1.0 / share + 1.0 / vap) * C::kInvRhoC2 / (sd * sd);
}

double TAbrObject::BoxCompliance() const
{
    return BoxComplianceOf(Vap, Sd, n);
}

void TAbrObject::UpdateBoxResonance()
{
    fb = ResonanceOf(BoxCompliance(), Mms);
}

bool TAbrObject::SetFb(double f)
{
    if (!PositiveNumber(f))
        return false;
    // The filled box, as UpdateBoxResonance sees it: otherwise a filled box would
    // read back a lower fb than the one entered.
    Mms = 1.0 / (f * f * C::kFourPi2 * BoxCompliance());
    Mmp = Mms - AirLoad();
    UpdateFreeAirResonance();
    fb = f;
    return true;
}

void TAbrObject::SetSd(double sd)
{
    Sd = sd;
    a = std::sqrt(Sd * C::kInvPi);
    UpdateCompliance();
    Mms = Mmp + AirLoad();
}

void TAbrObject::SetMmp(double mmp)
{
    Mmp = mmp;
    Mms = Mmp + AirLoad();
}

void TAbrObject::UpdateImpedances(const TElementGrid& grid)
{
    Mms = AirLoad() + Mmp;
    UpdateCompliance();
    const double sd2 = Sd * Sd;
    // Mms · ω0 / Qmp at the resonance ω0 = 1 / sqrt(Mms · Cmp) of the mass and
    // suspension the radiator has now: the same as Mms · 2π · fp for the fp they give,
    // without trusting a stored fp (a damaged file's would overflow the loss).
    const double rms = std::sqrt(Mms / Cmp) / Qmp;
    const double innerMass = kInnerMass / (C::kPi * a);
    const int count = grid.Points();
    for (int i = 0; i < count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const double w = grid.omegas[i];
        const double f = grid.frequencies[i];
        mechanicalImpedance[k] = TComplex(rms, Mms * w - 1.0 / (w * Cmp)) / sd2;
        const double ka = C::kTwoPi * a * C::kInvSoundSpeed * f;
        const double b = ka * ka;
        radiationImpedance[k] = TComplex(f * f * kRadiationReal / (b + 4.0), f * (kRadiationImag / a) / (b + 2.25));
        innerMassImpedance[k] = TComplex(0.0, w * innerMass);
    }
}

TComplex TAbrObject::UnitImpedance(int i) const
{
    const auto k = static_cast<std::size_t>(i);
    return mechanicalImpedance[k] + radiationImpedance[k] + innerMassImpedance[k];
}

void TAbrObject::SetUnitFlow(int i, const TComplex& unitFlow, double omega)
{
    const auto k = static_cast<std::size_t>(i);
    volumeVelocity[k] = unitFlow * static_cast<double>(n);
    excursion[k] = MagnitudeOf(unitFlow) / (Sd * omega) * kPeakToPeakMm;
}

void TAbrObject::LimitExcursion(int count)
{
    if (!nonLinearity || Xmax == 0.0)
        return;
    const double limit = Xmax * 1000.0;
    const int points = count < 0 ? 0 : (count > TElementGrid::kMaxPoints ? TElementGrid::kMaxPoints : count);
    for (int i = 0; i < points; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (excursion[k] > limit) {
            const double g = std::sqrt(limit / excursion[k]);
            excursion[k] *= g;
            volumeVelocity[k] *= g;
        }
    }
}

TComplex TAbrObject::Radiate(int i, const TComplex& pressureConstant, double frequency)
{
    const auto k = static_cast<std::size_t>(i);
    pressure[k] = MulComplex(pressureConstant, frequency * volumeVelocity[k]);
    return pressure[k];
}
