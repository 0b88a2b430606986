// The register of box types: each type adds its description here when it is built.

#include "box/TBoxType.h"

#include "box/TAbrBox.h"
#include "box/TBP5Box.h"
#include "box/TBP6Box.h"
#include "box/TBP7Box.h"
#include "box/TBP8Box.h"
#include "box/TBassReflexBox.h"
#include "box/TBassReflexDorvelBox.h"
#include "box/TBassReflexDT2Box.h"
#include "box/TBassReflexDTBox.h"
#include "box/TClosedBox.h"

#include <array>

namespace TBoxTypes {

std::span<const TBoxType* const> All()
{
    // One line a type, in type code order.
    static const std::array types{
        &TClosedBox::Type(),
        &TBassReflexBox::Type(),
        &TBassReflexDTBox::Type(),
        &TBassReflexDT2Box::Type(),
        &TAbrBox::Type(),
        &TBP5Box::Type(),
        &TBP6Box::Type(),
        &TBP7Box::Type(),
        &TBP8Box::Type(),
        &TBassReflexDorvelBox::Type(),
    };
    return types;
}

const TBoxType* ByCode(int typeCode)
{
    for (const TBoxType* t : All())
        if (t->typeCode == typeCode)
            return t;
    return nullptr;
}

const TBoxType* ByCliName(std::string_view name)
{
    for (const TBoxType* t : All())
        if (t->cliName == name)
            return t;
    return nullptr;
}

} // namespace TBoxTypes
