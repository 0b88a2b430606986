#include "box/elements/TPortSectionFields.h"

#include "box/elements/TElementConstants.h"
#include "box/elements/TPortObject.h"

#include <cmath>

namespace C = TElementConstants;

TElementCommit CommitPortSection(TPortObject& port, TPortField field, double stored)
{
    TElementCommit result;
    result.redraw = 1u << static_cast<int>(field);
    if (!(std::isfinite(stored) && stored > 0.0))
        return result;
    switch (field) {
    case TPortField::Diameter:
        port.D = stored;
        port.S = C::kPi * stored * stored / 4.0;
        break;
    case TPortField::Area:
        port.S = stored;
        port.D = 2.0 * std::sqrt(stored / C::kPi);
        break;
    default: return result;
    }
    port.UpdateEffectiveArea();
    port.dirty = true;
    result.accepted = true;
    result.redraw |= (1u << static_cast<int>(TPortField::Diameter)) | (1u << static_cast<int>(TPortField::Area));
    return result;
}

TFieldBinding BindPortSection(const std::function<TPortObject&()>& port, TPortField field)
{
    return {
        .read = [port, field] { return PortFieldStored(port(), field); },
        .write = [port, field](double stored) { return CommitPortSection(port(), field, stored).accepted; },
    };
}
