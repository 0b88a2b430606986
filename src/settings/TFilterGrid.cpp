#include "settings/TFilterGrid.h"

#include <cmath>

TFilterGrid::TFilterGrid()
{
    // 1/499 written out, so the last point lands on 20 kHz exactly as stored projects
    // and exported files expect.
    constexpr double kStep = 0.002004008016032064;
    constexpr double kTwoPi = 2.0 * 3.141592653589793;
    const double decades = std::log10(4000.0);
    for (int i = 0; i < kPoints; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const double f = 5.0 * std::pow(10.0, i * decades * kStep);
        frequencies_[k] = f;
        logarithms_[k] = std::log(f);
        omegas_[k] = f * kTwoPi;
        jOmegas_[k] = {0.0, omegas_[k]};
    }
}
