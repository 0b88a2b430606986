// The driver terms of the box pipeline: mechanical impedance (with the damping of a
// shorted second voice coil), compliance reduction, coil, radiation and extra load.
#include "TSpeakerObject.h"

#include <algorithm>
#include <cmath>

namespace {
// 1/c for c = 344.7 m/s.
constexpr double kOneOverC = 0.002901073397156948;
// Temperature coefficient of copper (1/K) and the coil's temperature rise at Pmax (K).
constexpr double kCopperCoefficient = 0.0039;
constexpr double kRiseAtPmax = 230.0;

// The mechanical reactance over Sd², ω·m/Sd² - 1/(ω·Cms·Sd²), with the mass and the
// compliance scaled beforehand: one division per point. Every writer of the reactance
// goes through here, so an unchanged compliance gives the same bits.
inline double ReactancePerArea(double w, double massPerSd2, double cmsTimesSd2)
{
    return w * massPerSd2 - 1.0 / (w * cmsTimesSd2);
}
} // namespace

void TSpeakerObject::PrepareTerms(const TFreqGrid& grid, double ug)
{
    ResetForceFactor(grid);
    if (outOfDate) {
        ComputeCoilTerms(grid, ug);
        ComputeRadiationImpedance(grid);
        ClearExtraLoad(grid);
        if (ImportNeedsRead(grid))
            ReadImportedData(grid);
    }
    ComputeMechImpedance(grid);
}

void TSpeakerObject::ResetForceFactor(const TFreqGrid& grid)
{
    std::fill_n(forceFactor.begin(), grid.Count(), Bl);
}

void TSpeakerObject::ComputeMechImpedance(const TFreqGrid& grid)
{
    const int n = grid.Count();
    const double sd2 = Sd * Sd;
    const double mass = Mms + extraMass;
    // A second coil shorted by the load resistor brakes the cone like a resistance.
    const double coilLoad = Re + loadResistor;
    const bool damped = HasLoadResistor() && coilLoad > 0.0;
    const double massPerSd2 = mass / sd2, cmsTimesSd2 = Cms * sd2;
    const double undamped = Rms / sd2;
    for (int i = 0; i < n; ++i) {
        const double w = grid.Omega(i);
        const double resistance = damped ? (Rms + forceFactor[i] * forceFactor[i] / coilLoad) / sd2 : undamped;
        mechImpedance[i] = TComplex(resistance, ReactancePerArea(w, massPerSd2, cmsTimesSd2));
    }
}

void TSpeakerObject::ReduceCompliance(const TFreqGrid& grid)
{
    const double limit = Xmax * 0.5 * 1000.0; // mm, half the linear excursion
    if (!(limit > 0.0))
        return;
    const int n = grid.Count();
    const double sd2 = Sd * Sd;
    const double massPerSd2 = (Mms + extraMass) / sd2;
    for (int i = 0; i < n; ++i) {
        const double x = excursion[i];
        double cms = Cms;
        if (x > limit)
            cms = Cms / (std::min((x - limit) / limit, 2.0) + 1.0);
        mechImpedance[i].imag(ReactancePerArea(grid.Omega(i), massPerSd2, cms * sd2));
    }
}

double TSpeakerObject::HeatedCoilResistance(double uc) const
{
    if (!coilHeating || !(Pmax > 0.0) || !(Re > 0.0))
        return Re;
    // The coil heats with the power it takes; the second step uses the resistance the
    // first step found, which lowers that power again.
    const double heat = kCopperCoefficient * kRiseAtPmax * uc * uc;
    const double r1 = Re * (1.0 + heat / (Re * Pmax));
    return Re * (1.0 + heat / (r1 * Pmax));
}

void TSpeakerObject::ComputeCoilTerms(const TFreqGrid& grid, double ug)
{
    const double r = HeatedCoilResistance(ug * TotalFactors().kU);
    const int n = grid.Count();
    for (int i = 0; i < n; ++i) {
        coilResistance[i] = TComplex(r, 0.0);
        coilInductance[i] = TComplex(0.0, grid.Omega(i) * Le);
    }
}

void TSpeakerObject::ComputeRadiationImpedance(const TFreqGrid& grid)
{
    const double radius = RadiationRadius();
    // The reactance's 1/radius once: the loop is bound by its divisions.
    const double reactancePerHz = radius > 0.0 ? 1.45 / radius : 0.0;
    const double kaPerHz = radius * TFreqGrid::kTwoPi * kOneOverC;
    const int n = grid.Count();
    for (int i = 0; i < n; ++i) {
        const double f = grid.Frequency(i);
        const double ka = kaPerHz * f;
        radiationImpedance[i] = TComplex(0.04304 * f * f / (ka * ka + 4.0), f * reactancePerHz);
    }
}

void TSpeakerObject::ClearExtraLoad(const TFreqGrid& grid)
{
    std::fill_n(extraLoad.begin(), grid.Count(), TComplex());
}
