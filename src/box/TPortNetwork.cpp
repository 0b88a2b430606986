#include "box/TPortNetwork.h"

#include "box/elements/TBoxObject.h"
#include "box/elements/TElementConstants.h"
#include "box/elements/TPortObject.h"

#include <cmath>
#include <limits>

namespace C = TElementConstants;

namespace TPortNetwork {

bool Open(const TPortObject& port) { return port.S > 0.0 && port.D > 0.0 && port.n > 0; }

TComplex Impedance(const TPortObject& port, int i)
{
    if (!Open(port))
        return TComplex(std::numeric_limits<double>::infinity(), 0.0);
    return port.impedance[static_cast<std::size_t>(i)];
}

TComplex Admittance(const TComplex& z)
{
    if (!(std::isfinite(z.real()) && std::isfinite(z.imag())))
        return TComplex(0.0, 0.0);
    return DivComplex(1.0, z);
}

void SetTuningBack(TPortObject& port, const TBoxObject& box, double fp)
{
    if (!(std::isfinite(fp) && fp > 0.0))
        return;
    const double w = C::kTwoPi * fp;
    const double volume = 1.0 / (port.AcousticMass() * (w * w)) * C::kRhoC2 / box.ComplianceFactor();
    if (!(std::isfinite(volume) && volume > 0.0))
        return;
    port.fp = fp;
    port.V = volume;
}

bool CoupledTunings(double a, double b, double& fLow, double& fHigh)
{
    constexpr double kInvTwoPi = 0.15915494309188485;
    // b² − 4a is never negative for positive masses and compliances.
    const double d = b * b - 4.0 * a;
    if (!(a > 0.0) || !(d >= 0.0) || !std::isfinite(d))
        return false;
    const double root = std::sqrt(d);
    const double low = (-b - root) / (2.0 * a);
    const double high = (root - b) / (2.0 * a);
    if (!(low > 0.0 && high > 0.0))
        return false;
    fLow = std::sqrt(low) * kInvTwoPi;
    fHigh = std::sqrt(high) * kInvTwoPi;
    return true;
}

} // namespace TPortNetwork
