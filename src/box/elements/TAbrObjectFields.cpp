#include "box/elements/TAbrObjectFields.h"

#include "box/elements/TAbrObject.h"

#include <array>
#include <cmath>
#include <strings.h>

namespace {
const std::array<TElementField, 8> kFields = {{
    {"Vap", "l", "%2.1f", 0.0001, 100000.0, 0.001, false, false},
    {"Sd", "cm\xC2\xB2", "%2.1f", 0.000001, 100000.0, 0.0001, false, false},
    {"Mmp", "g", "%3.1f", 0.001, 1000.0, 0.001, false, false},
    {"Fp", "Hz", "%2.1f", 0.1, 100000.0, 1.0, false, false},
    {"Fb", "Hz", "%2.1f", 0.1, 100000.0, 1.0, false, false},
    {"Xmax", "mm", "%2.1f", 0.0, 1000.0, 0.001, false, false},
    {"# ABR units", "", "%d", 1.0, 9.0, 1.0, true, false},
    {"Simulate non lin.", "", "", 0.0, 1.0, 1.0, true, false},
}};

constexpr std::uint32_t Bit(TAbrField field)
{
    return 1u << static_cast<int>(field);
}
} // namespace

const TElementField& AbrFieldInfo(TAbrField field)
{
    return kFields[static_cast<std::size_t>(field)];
}

bool FindAbrField(std::string_view label, TAbrField& field)
{
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const std::string_view name(kFields[i].label);
        if (name.size() == label.size() && strncasecmp(name.data(), label.data(), name.size()) == 0) {
            field = static_cast<TAbrField>(i);
            return true;
        }
    }
    return false;
}

void RefreshAbrResonances(TAbrObject& abr)
{
    abr.UpdateFreeAirResonance();
    abr.UpdateBoxResonance();
}

double AbrFieldValue(const TAbrObject& abr, TAbrField field)
{
    switch (field) {
    case TAbrField::Vap: return abr.Vap * 1000.0;
    case TAbrField::Sd: return abr.Sd * 10000.0;
    case TAbrField::Mmp: return abr.Mmp * 1000.0;
    case TAbrField::Fp: return abr.fp;
    case TAbrField::Fb: return abr.fb;
    case TAbrField::Xmax: return abr.Xmax * 1000.0;
    case TAbrField::Count: return abr.n;
    case TAbrField::NonLinearity: return abr.nonLinearity ? 1.0 : 0.0;
    }
    return 0.0;
}

std::string AbrFieldText(const TAbrObject& abr, TAbrField field)
{
    if (field == TAbrField::NonLinearity)
        return AbrNonLinearityChecked(abr) ? "1" : "0";
    return FormatElementField(AbrFieldInfo(field), AbrFieldValue(abr, field));
}

bool AbrNonLinearityEnabled(const TAbrObject& abr)
{
    return abr.Xmax != 0.0;
}

bool AbrNonLinearityChecked(const TAbrObject& abr)
{
    return abr.nonLinearity && abr.Xmax != 0.0;
}

TElementCommit CommitAbrField(TAbrObject& abr, TAbrField field, double shown)
{
    TElementCommit result;
    result.redraw = Bit(field);
    const TElementField& info = AbrFieldInfo(field);
    if (!std::isfinite(shown) || !info.InRange(shown))
        return result;
    constexpr std::uint32_t kResonances = Bit(TAbrField::Fp) | Bit(TAbrField::Fb);
    switch (field) {
    case TAbrField::Vap:
        abr.Vap = shown * info.factor;
        abr.UpdateFreeAirResonance();
        abr.UpdateBoxResonance();
        result.redraw |= kResonances;
        break;
    case TAbrField::Sd:
        abr.SetSd(shown * info.factor);
        abr.UpdateFreeAirResonance();
        abr.UpdateBoxResonance();
        result.redraw |= kResonances;
        break;
    case TAbrField::Mmp:
        abr.SetMmp(shown * info.factor);
        abr.UpdateFreeAirResonance();
        abr.UpdateBoxResonance();
        result.redraw |= kResonances;
        break;
    case TAbrField::Fp:
        abr.SetFp(shown);
        abr.UpdateBoxResonance();
        result.redraw |= Bit(TAbrField::Mmp) | Bit(TAbrField::Fb);
        break;
    case TAbrField::Fb:
        abr.SetFb(shown);
        result.redraw |= Bit(TAbrField::Mmp) | Bit(TAbrField::Fp);
        break;
    case TAbrField::Xmax:
        abr.Xmax = shown * info.factor;
        result.redraw |= Bit(TAbrField::NonLinearity);
        break;
    case TAbrField::Count:
        abr.n = static_cast<std::int32_t>(std::lround(shown));
        abr.UpdateBoxResonance();
        result.redraw |= Bit(TAbrField::Fb);
        break;
    case TAbrField::NonLinearity:
        // A disabled check box cannot be ticked; the stored byte stays as it is.
        if (!AbrNonLinearityEnabled(abr))
            return result;
        abr.nonLinearity = shown != 0.0;
        break;
    }
    abr.dirty = true;
    result.accepted = true;
    return result;
}
