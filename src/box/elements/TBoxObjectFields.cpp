#include "box/elements/TBoxObjectFields.h"

#include "box/elements/TAbrObject.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TPortObject.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <strings.h>

namespace {
using K = TValueKind;
const std::array<TFieldInfo, 4> kFields = {{
    {"Box volume", "l", "%2.1f", 0.1, 10000.0, 0.001},
    {"QB", "", "%2.1f", 3.0, 15.0},
    {"QL", "", "%2.1f", 3.0, 15.0},
    {"Fill", "%", "%ld", 0.0, 100.0, 1.0, K::Whole},
}};

bool Same(std::string_view a, const char* b)
{
    const std::string_view other(b);
    return a.size() == other.size() && strncasecmp(a.data(), other.data(), a.size()) == 0;
}
} // namespace

const TFieldInfo& BoxFieldInfo(TBoxField field)
{
    return kFields[static_cast<std::size_t>(field)];
}

bool FindBoxField(std::string_view label, TBoxField& field)
{
    static constexpr struct {
        const char* label;
        TBoxField field;
    } kLabels[] = {{"Box volume", TBoxField::Volume}, {"QB", TBoxField::Qb},       {"Box Q", TBoxField::Qb},
                   {"Box Q-value", TBoxField::Qb},    {"QL", TBoxField::Ql},       {"Fill", TBoxField::Fill}};
    for (const auto& entry : kLabels) {
        if (Same(label, entry.label)) {
            field = entry.field;
            return true;
        }
    }
    return false;
}

double BoxFieldStored(const TBoxObject& box, TBoxField field)
{
    switch (field) {
    case TBoxField::Volume: return box.Vb;
    case TBoxField::Qb: return box.Qb;
    case TBoxField::Ql: return box.Ql;
    case TBoxField::Fill: return box.fill;
    }
    return 0.0;
}

double BoxFieldValue(const TBoxObject& box, TBoxField field)
{
    return BoxFieldInfo(field).Shown(BoxFieldStored(box, field));
}

double BoxVolumeAdmitted(double m3)
{
    const TFieldInfo& volume = BoxFieldInfo(TBoxField::Volume);
    const double shown = volume.Shown(m3);
    if (!std::isfinite(shown))
        return volume.Stored(volume.minimum);
    return volume.Stored(std::clamp(shown, volume.minimum, volume.maximum));
}

std::string BoxFieldText(const TBoxObject& box, TBoxField field)
{
    return BoxFieldInfo(field).Text(BoxFieldValue(box, field));
}

TElementCommit CommitBoxField(TBoxObject& box, TBoxField field, double shown, std::span<TPortObject* const> ports,
                              TAbrObject* radiator)
{
    const TFieldInfo& info = BoxFieldInfo(field);
    if (!std::isfinite(shown) || !info.InRange(shown))
        return TElementCommit{false, 1u << static_cast<int>(field)};
    return CommitBoxStored(box, field, info.Stored(shown), ports, radiator);
}

TElementCommit CommitBoxStored(TBoxObject& box, TBoxField field, double stored, std::span<TPortObject* const> ports,
                               TAbrObject* radiator)
{
    TElementCommit result;
    result.redraw = 1u << static_cast<int>(field);
    if (!std::isfinite(stored))
        return result;
    switch (field) {
    case TBoxField::Volume: box.Vb = stored; break;
    case TBoxField::Qb: box.Qb = stored; break;
    case TBoxField::Ql: box.Ql = stored; break;
    case TBoxField::Fill: box.fill = static_cast<std::int32_t>(std::lround(stored)); break;
    }
    box.dirty = true;
    result.accepted = true;
    if (field == TBoxField::Volume || field == TBoxField::Fill) {
        for (TPortObject* port : ports) {
            if (!port)
                continue;
            port->V = box.TuningVolume();
            port->UpdateTuning();
            port->dirty = true;
        }
        if (radiator) {
            radiator->UpdateBoxResonance();
            radiator->dirty = true;
        }
    }
    return result;
}

TFieldBinding BindBoxField(TBoxElements elements, TBoxField field)
{
    return {
        .read = [box = elements.box, field] { return BoxFieldStored(box(), field); },
        .write =
            [elements, field](double stored) {
                std::span<TPortObject* const> ports;
                if (elements.ports)
                    ports = elements.ports();
                return CommitBoxStored(elements.box(), field, stored, ports,
                                       elements.radiator ? elements.radiator() : nullptr)
                    .accepted;
            },
    };
}
