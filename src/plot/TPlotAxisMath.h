#pragma once
// The arithmetic shared by the axes of all plots: tick steps, the engineering
// multiplier of a linear axis and the label formats, positions kept as 16-bit values.

#include <cstdint>

namespace TPlotAxisMath {

// floor(value + 0.5) + offset, saturated to the 16-bit range; NaN lands far below.
std::int16_t Position16(double value, int offset);
// The same without the 16-bit limit, for axis offsets.
int RoundOffset(double value);

struct TMultiplier {
    int b = 0;          // decimal exponent of the larger magnitude
    int e = 0;          // engineering exponent shown as "*1.0E%1d"
    double factor = 1;  // 10^-e
    const char* format = "%3.2f";
};
TMultiplier Multiplier(double minimum, double maximum);

struct TYSteps {
    double major = 1, minor = 0.1;
};
TYSteps YSteps(double span);
// The x step of a linear x axis.
double XStep(double span);

// Makes a linear range drawable: finite, ascending and of a span the walks can step.
void GuardLinearRange(double& minimum, double& maximum);
// The same for a logarithmic range: both ends above 0 as well.
void GuardLogRange(double& minimum, double& maximum);

} // namespace TPlotAxisMath
