#include "settings/TFreqGrid.h"

#include <cmath>

bool TFreqGrid::Layout(std::int32_t start, std::int32_t stop, std::int32_t count)
{
    if (count < 2 || count > kMaxPoints || start <= 0 || stop <= start)
        return false;
    const double fa = static_cast<double>(start);
    const double fb = static_cast<double>(stop);
    const double step = std::log10(fb / fa) / static_cast<double>(count - 1);
    for (int i = 0; i < count; ++i) {
        const double f = std::pow(10.0, static_cast<double>(i) * step) * fa;
        frequencies_[static_cast<std::size_t>(i)] = f;
        omegas_[static_cast<std::size_t>(i)] = f * kTwoPi;
    }
    count_ = count;
    return true;
}
