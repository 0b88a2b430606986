#include "TFieldInfo.h"

#include "TNumberText.h"

#include <cmath>

std::string TFieldInfo::Text(double shown) const
{
    if (kind == TValueKind::Real)
        return TNumberText::FormatDouble(format, shown);
    if (!std::isfinite(shown) || std::fabs(shown) > 2e9)
        return "?";
    return TNumberText::FormatLong(kind == TValueKind::Switch ? "%ld" : format, std::lround(shown));
}
