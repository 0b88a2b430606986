#include "box/elements/TPortStandingWaves.h"

#include "box/elements/TElementConstants.h"

#include <algorithm>
#include <cmath>

namespace C = TElementConstants;

namespace {
// Level added at f before the reference is taken off, dB. cos(2πf/f1 + π) + 1.1 falls
// to 0.1 at every multiple of f1 = c / (2·Lref). The phase is written as f · 2·Lref / c
// so a port of length 0 gives no resonance instead of a division by zero.
double ModeLevel(double f, double fu, double portLength)
{
    const double ratio = f / fu;
    const double phase = C::kTwoPi * f * (2.0 * portLength) / C::kSoundSpeed + C::kPi;
    return 20.0 * std::log10((ratio * ratio + 1.0) / (std::cos(phase) + 1.1)) - 20.0;
}
} // namespace

void PortStandingWaves(const TElementGrid& grid, const double* spl, double fu, double portLength, double* modes)
{
    const int count = grid.Points();
    if (!spl || !modes)
        return;
    if (modes != spl)
        std::copy(spl, spl + count, modes);
    if (count == 0 || !(fu > 0.0) || !std::isfinite(fu) || !std::isfinite(portLength))
        return;
    int m = 0;
    while (m < count - 1 && grid.frequencies[m] < fu)
        ++m;
    const double ref = std::max(0.0, ModeLevel(grid.frequencies[m], fu, portLength));
    for (int i = m; i < count; ++i)
        modes[i] += std::max(0.0, ModeLevel(grid.frequencies[i], fu, portLength) - ref);
}
