#include "plot/TPlotAxisMath.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace TPlotAxisMath {

std::int16_t Position16(double value, int offset)
{
    if (value != value)
        return 32767;
    double p = std::floor(value + 0.5) + offset;
    return static_cast<std::int16_t>(std::clamp(p, -32768.0, 32767.0));
}

int RoundOffset(double value)
{
    if (value != value)
        return 1 << 20;
    return static_cast<int>(std::clamp(std::floor(value + 0.5), -1e9, 1e9));
}

TMultiplier Multiplier(double minimum, double maximum)
{
    TMultiplier m;
    double big = std::max(std::fabs(minimum), std::fabs(maximum));
    if (!(big > 0) || !std::isfinite(big))
        return m;
    m.b = big >= 1 ? static_cast<int>(std::floor(std::log10(big))) : -static_cast<int>(std::floor(-std::log10(big)));
    m.e = m.b / 3 * 3;
    if (big < 0.1)
        m.e -= 3;
    m.factor = std::pow(10.0, -m.e);
    switch (m.b - m.e) {
    case -1:
    case 0: m.format = "%4.3f"; break;
    case 1: m.format = "%3.2f"; break;
    case 2: m.format = "%2.1f"; break;
    default: m.format = "%3.2f"; break;
    }
    return m;
}

TYSteps YSteps(double span)
{
    double base = std::pow(10.0, std::floor(std::log10(span)) - 1);
    double m = span / base;
    TYSteps s;
    if (m > 40) {
        s.major = 10 * base;
        s.minor = 0.2 * s.major;
    } else if (m > 20) {
        s.major = 5 * base;
        s.minor = 0.2 * s.major;
    } else {
        s.major = 5 * base;
        s.minor = 0.1 * s.major;
    }
    return s;
}

double XStep(double span)
{
    double base = std::pow(10.0, std::floor(std::log10(span)) - 1);
    double m = span / base;
    if (m > 60)
        return 10 * base;
    if (m > 30)
        return 5 * base;
    if (m > 24)
        return 4 * base;
    if (m > 12)
        return 2 * base;
    return base;
}

void GuardLinearRange(double& minimum, double& maximum)
{
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || std::fabs(minimum) > 1e150 ||
        std::fabs(maximum) > 1e150) {
        minimum = 0;
        maximum = 1;
        return;
    }
    if (maximum < minimum)
        std::swap(minimum, maximum);
    double big = std::max(std::fabs(minimum), std::fabs(maximum));
    // Below this a span cannot be stepped in doubles, or the labels would all read alike.
    if (maximum - minimum <= std::max(1e-100, big * 1e-9)) {
        double half = big > 1e-100 ? big * 0.1 : 1.0;
        minimum -= half;
        maximum += half;
    }
}

void GuardLogRange(double& minimum, double& maximum)
{
    bool finite = std::isfinite(minimum) && std::isfinite(maximum);
    if (!finite || maximum <= 0 || maximum > 1e150) {
        minimum = 1;
        maximum = 10;
        return;
    }
    if (minimum <= 0 || minimum < maximum * 1e-60)
        minimum = maximum * 1e-3;
    if (maximum < minimum)
        std::swap(minimum, maximum);
    if (maximum <= minimum * (1 + 1e-9)) {
        minimum /= 2;
        maximum *= 2;
    }
}

} // namespace TPlotAxisMath
