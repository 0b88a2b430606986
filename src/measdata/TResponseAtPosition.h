#pragma once
// A measured driver response as heard at a listening position: the piston directivity
// of the driver and the delay (and, near the speaker, the distance loss) between the
// driver and the listener.

#include "settings/TFilterGrid.h"
#include "settings/TListeningSetup.h"

#include <complex>

// Directivity of a rigid piston of effective radius r (m) at frequency f (Hz): 1 at
// low frequencies, falling to 0.0001 where the piston is large against the wavelength.
double PistonDirectivity(double f, double r);

// result = source as heard along the ray at angle degrees off axis, for a driver of
// effective radius radius at (first, second) on the baffle and depth behind it, all in
// metres. source and result hold one value per grid point; result may be source.
void ResponseAtPosition(const std::complex<double>* source, double angle, double radius, double first, double second,
                        double depth, std::complex<double>* result, const TFilterGrid& grid,
                        const TListeningSetup& setup);
