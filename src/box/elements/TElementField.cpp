#include "box/elements/TElementField.h"

#include "ui/TNumberText.h"

#include <cmath>

std::string FormatElementField(const TElementField& field, double shown)
{
    if (field.integer)
        return TNumberText::FormatLong(field.format, std::lround(shown));
    return TNumberText::FormatDouble(field.format, shown);
}
