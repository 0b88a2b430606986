#pragma once
// Pieces of the acoustic networks that the box types with several chambers and ports
// share: a port that may be closed (no cross-section), the parallel admittance that
// copes with it, the pressure a flow radiates, and the tuning of two ports coupled
// through two chambers.

#include "core/TComplex.h"

#include <limits>

class TBoxObject;
class TPortObject;

namespace TPortNetwork {

// A port without cross-section (or without ports) carries nothing.
bool Open(const TPortObject& port);
// Zp[i] of a port; infinite for a closed port.
TComplex Impedance(const TPortObject& port, int i);
// 1 / z, and 0 for an infinite z (a closed port, or one behind it).
TComplex Admittance(const TComplex& z);
// a ∥ b where either may be infinite (a closed branch).
inline TComplex Parallel(const TComplex& a, const TComplex& b)
{
    // Two closed branches stay closed.
    const TComplex y = Admittance(a) + Admittance(b);
    return y.real() == 0.0 && y.imag() == 0.0 ? TComplex(std::numeric_limits<double>::infinity(), 0.0)
                                              : DivComplex(1.0, y);
}
// j · kf · q: the pressure at 1 m (re 20 µPa) of volume velocity q, kf = K · f.
inline TComplex Radiated(const TComplex& q, double kf) { return TComplex(-q.imag() * kf, q.real() * kf); }

// Sets a port's tuning fp and the volume that tunes it in box, so that the port's own
// rule (fp from its mass and box.TuningVolume()) gives fp back. Nothing changes for
// an fp or volume that is not a positive finite number.
void SetTuningBack(TPortObject& port, const TBoxObject& box, double fp);

// The two tunings of ports coupled through two chambers: the roots x (squared angular
// frequencies) of a · x² + b · x + 1 = 0 as frequencies, lower first. False when they
// are not real and positive (a port or volume of size 0).
bool CoupledTunings(double a, double b, double& fLow, double& fHigh);

} // namespace TPortNetwork
