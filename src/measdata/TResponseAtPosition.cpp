#include "measdata/TResponseAtPosition.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.141592653589793;
constexpr double kSoundSpeedDelay = 340.0;        // m/s, for the delays of measured responses
constexpr double kSoundSpeedDirectivity = 344.7;  // m/s, inside the directivity
// A listener closer than this to a driver is taken to be this far away, so that a
// driver placed on the listening point gives a finite level.
constexpr double kMinDistance = 1e-3;
} // namespace

double PistonDirectivity(double f, double r)
{
    const double x = 6.28318530718 * f * r / kSoundSpeedDirectivity;
    if (x < 0.1)
        return 1.0;
    if (x >= 10.0)
        return 0.0001;
    const double x2 = x * x;
    const double x3 = x2 * x;
    const double x4 = x3 * x;
    const double x5 = x4 * x;
    const double x6 = x5 * x;
    const double x7 = x6 * x;
    const double p = 0.5145569695737198 - 0.0009372764250588446 / x - 0.04323232845879938 * x -
                     0.01114776570548265 * x2 - 0.03088107103632868 * x3 + 0.01294351468631708 * x4 -
                     0.00194825958778522 * x5 + 0.0001297416684277242 * x6 - 0.000003243294897905338 * x7;
    return std::fabs(2.0 * p);
}

void ResponseAtPosition(const std::complex<double>* source, double angle, double radius, double first, double second,
                        double depth, std::complex<double>* result, const TFilterGrid& grid,
                        const TListeningSetup& setup)
{
    const double theta = angle * kPi / 180.0;
    const double u = setup.vertical ? second : first;
    const double w = setup.vertical ? first : second;

    double tau = 0.0;
    double pistonRadius = 0.0;
    double gain = 1.0;
    if (setup.infinite) {
        tau = (depth * std::cos(theta) + u * std::sin(-theta)) / kSoundSpeedDelay;
        pistonRadius = radius * std::fabs(std::sin(theta));
    } else {
        const double d = setup.distance;
        const double u1 = u - d * std::sin(theta);
        const double z1 = depth + d * std::cos(theta);
        const double r = std::sqrt(w * w + u1 * u1 + z1 * z1);
        const double rho = std::sqrt(w * w + u1 * u1);
        const double alpha = r > 0.0 ? std::asin(std::min(1.0, rho / r)) : 0.0;
        tau = (r - d) / kSoundSpeedDelay;
        pistonRadius = radius * std::fabs(std::sin(alpha));
        // Sound pressure falls as 1/r (the inverse square law holds for intensity).
        gain = 1.0 / std::max(r, kMinDistance);
    }
    for (int i = 0; i < grid.Count(); ++i) {
        const double f = grid.Frequency(i);
        const double phi = -tau * f * 2.0 * kPi;
        const double magnitude = PistonDirectivity(f, pistonRadius) * gain;
        result[i] = source[i] * std::complex<double>(magnitude * std::cos(phi), magnitude * std::sin(phi));
    }
}
