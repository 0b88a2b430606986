#include "box/elements/TPortObject.h"

#include "box/elements/TElementConstants.h"

#include <algorithm>
#include <cmath>

namespace C = TElementConstants;

namespace {
// End corrections of the acoustic mass: a single port, and each of two or more.
constexpr double kSingleEnd = 0.6;
constexpr double kMultiEnd = 1.7;
constexpr double kBoundaryLayer = 0.0018; // m off the radius
constexpr double kFlareGain = 0.576;      // area gained at c = 1
constexpr double kViscous = 3.12e-5;

} // namespace

double TPortObject::EffectiveArea(double area, double flare)
{
    const double r = std::sqrt(area * C::kInvPi) - kBoundaryLayer;
    return C::kPi * r * r * (1.0 + kFlareGain * flare);
}

TPortObject::TPortObject(std::string name, TPortNonLinearity& shared) : name_(std::move(name)), shared_(&shared)
{
    if (name_.size() >= kNameSize)
        name_.resize(kNameSize - 1);
    Reset();
}

TPortObject::TPortObject(std::string name) : TPortObject(std::move(name), own_) {}

void TPortObject::Reset()
{
    L = 0.1;
    S = 0.00196349540849375;
    UpdateEffectiveArea();
    D = 0.05;
    V = 0.1;
    n = 1;
    c = 0.0;
    UpdateTuning();
    shared_->on = false;
    dirty = true;
}

void TPortObject::UpdateEffectiveArea()
{
    Seff = EffectiveArea(S, c);
}

double TPortObject::AcousticMassOf(double length, double diameter, double seff, std::int32_t count)
{
    if (count <= 1)
        return (length + kSingleEnd * diameter) * C::kRho / seff;
    return (length + kMultiEnd * diameter) * C::kRho / seff / count;
}

double TPortObject::AcousticMass() const
{
    return AcousticMassOf(L, D, Seff, n);
}

double TPortObject::TuningOf(double mass, double volume)
{
    return 1.0 / (std::sqrt(mass * volume * C::kInvRhoC2) * C::kTwoPi);
}

void TPortObject::UpdateTuning()
{
    UpdateEffectiveArea();
    fp = TuningOf(AcousticMass(), V);
}

void TPortObject::UpdateImpedance(const TElementGrid& grid)
{
    UpdateEffectiveArea();
    const double mp = AcousticMass();
    // Viscous loss: grows with sqrt(ω) and with the length-to-diameter ratio.
    const double rk = std::sqrt(kViscous) * (C::kRho / Seff) * (1.0 + 2.0 * L / D) / n;
    const int count = grid.Points();
    for (int i = 0; i < count; ++i) {
        const double w = grid.omegas[i];
        impedance[static_cast<std::size_t>(i)] = TComplex(rk * std::sqrt(w), mp * w);
    }
}

double TPortObject::LengthForMass(double m, double seff, double d) const
{
    if (n <= 1)
        return m * seff * C::kInvRho - kSingleEnd * d;
    return m * seff * C::kInvRho * n - kMultiEnd * d;
}

bool TPortObject::SetLengthFromTuning(double f)
{
    UpdateEffectiveArea();
    if (!(std::isfinite(f) && f > 0.0 && std::isfinite(V) && V > 0.0))
        return false;
    const double m = 1.0 / (f * (f * C::kFourPi2) * (V * C::kInvRhoC2));
    const double length = LengthForMass(m, Seff, D);
    if (!std::isfinite(length) || length < 0.0)
        return false;
    L = length;
    fp = f;
    return true;
}

bool TPortObject::SetAreaKeepingTuning(double newArea)
{
    if (!(std::isfinite(newArea) && newArea > 0.0 && std::isfinite(fp) && fp > 0.0 && std::isfinite(V) &&
          V > 0.0))
        return false;
    // The flare factor belongs in the new effective area too: without it a flared port
    // would come out tuned by that factor away from fp.
    const double seff = EffectiveArea(newArea, c);
    const double d = 2.0 * std::sqrt(newArea * C::kInvPi);
    const double m = 1.0 / (C::kFourPi2 * fp * fp * V * C::kInvRhoC2);
    const double length = LengthForMass(m, seff, d);
    if (!std::isfinite(length) || length < 0.0)
        return false;
    L = length;
    S = newArea;
    Seff = seff;
    D = d;
    return true;
}

bool TPortObject::SizeForTuningFromArea(double area, double f)
{
    if (!(std::isfinite(area) && area > 0.0))
        return false;
    const double s0 = S, d0 = D, l0 = L;
    S = area;
    UpdateEffectiveArea();
    D = std::sqrt(4.0 * area / TElementConstants::kPi);
    if (SizeForTuning(f))
        return true;
    S = s0;
    D = d0;
    L = l0;
    UpdateEffectiveArea();
    return false;
}

bool TPortObject::SizeForTuning(double f)
{
    const double l0 = L, s0 = S, seff0 = Seff, d0 = D, fp0 = fp;
    // Bounded, so a tuning no port can reach ends instead of doubling for ever.
    constexpr int kMaxDoublings = 60;
    auto enlarge = [this] {
        S *= 2.0;
        UpdateEffectiveArea();
        D *= std::sqrt(2.0);
    };
    bool solved = SetLengthFromTuning(f);
    for (int k = 0; k < kMaxDoublings && (!solved || L < kMinSizedLength); ++k) {
        enlarge();
        solved = SetLengthFromTuning(f);
    }
    if (solved && L >= kMinSizedLength)
        return true;
    L = l0;
    S = s0;
    Seff = seff0;
    D = d0;
    fp = fp0;
    return false;
}

double TPortObject::SpeedLimit() const
{
    return 5.0 * std::max(1.0, 3.0 * c) + 15.3;
}

double TPortObject::AirSpeed(int i) const
{
    return MagnitudeOf(volumeVelocity[static_cast<std::size_t>(i)]) / (S * n);
}

double TPortObject::SetFlow(int i, const TComplex& flow)
{
    return SetFlow(i, flow, SpeedLimit());
}

double TPortObject::SetFlow(int i, const TComplex& flow, double speedLimit)
{
    TComplex& u = volumeVelocity[static_cast<std::size_t>(i)];
    u = flow;
    if (!shared_->on)
        return 1.0;
    const double v = AirSpeed(i);
    if (!(v > speedLimit))
        return 1.0;
    const double g = std::sqrt(speedLimit / v);
    u *= g;
    return g;
}

TComplex TPortObject::Radiate(int i, const TComplex& pressureConstant, double frequency)
{
    const auto k = static_cast<std::size_t>(i);
    pressure[k] = MulComplex(pressureConstant * frequency, volumeVelocity[k]);
    return pressure[k];
}

double TPortObject::FlareRadius() const
{
    return c != 0.0 ? L * 0.5 / c : 0.0;
}

double TPortObject::MaxDiameter() const
{
    if (c == 0.0)
        return D;
    const double r = FlareRadius();
    // A flare arc of radius R over the length L opens the mouth by R - sqrt(R² - L²/4)
    // on each side; the max() only guards against rounding at c = 1.
    return (r + D / 2.0 - std::sqrt(std::max(0.0, r * r - L * L / 4.0))) * 2.0;
}
