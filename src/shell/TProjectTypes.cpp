#include "TProjectTypes.h"

#include "TMenus.h"

namespace TProjectTypes {

bool IsBoxCode(int code) { return code >= 0 && code <= 9; }

bool IsFilterCode(int code) { return code == 15 || code == 16 || (code >= 20 && code <= 23) || (code >= 25 && code <= 28); }

int MenuOf(int code)
{
    if (code == 9)
        return TMenus::ReflexBandpass;
    if (IsBoxCode(code))
        return TMenus::Box;
    if (code == 15 || code == 16)
        return TMenus::SimpleFilter;
    if (IsFilterCode(code))
        return TMenus::AdvancedFilter;
    return 0;
}

} // namespace TProjectTypes
