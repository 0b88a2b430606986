#include "box/elements/TAbrObjectFields.h"

#include "box/elements/TAbrObject.h"

#include <array>
#include <cmath>
#include <strings.h>

namespace {
using K = TValueKind;
const std::array<TFieldInfo, 8> kFields = {{
    {"Vap", "l", "%2.1f", 0.0001, 100000.0, 0.001},
    {"Sd", "cm\xC2\xB2", "%2.1f", 0.000001, 100000.0, 0.0001},
    {"Mmp", "g", "%3.1f", 0.001, 1000.0, 0.001},
    {"Fp", "Hz", "%2.1f", 0.1, 100000.0},
    {"Fb", "Hz", "%2.1f", 0.1, 100000.0},
    {"Xmax", "mm", "%2.1f", 0.0, 1000.0, 0.001},
    {"# ABR units", "", "%d", 1.0, 9.0, 1.0, K::Whole},
    {"Simulate non lin.", "", "", 0.0, 1.0, 1.0, K::Switch},
}};

constexpr std::uint32_t Bit(TAbrField field)
{
    return 1u << static_cast<int>(field);
}
} // namespace

const TFieldInfo& AbrFieldInfo(TAbrField field)
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

double AbrFieldStored(const TAbrObject& abr, TAbrField field)
{
    switch (field) {
    case TAbrField::Vap: return abr.Vap;
    case TAbrField::Sd: return abr.Sd;
    case TAbrField::Mmp: return abr.Mmp;
    case TAbrField::Fp: return abr.fp;
    case TAbrField::Fb: return abr.fb;
    case TAbrField::Xmax: return abr.Xmax;
    case TAbrField::Count: return abr.n;
    case TAbrField::NonLinearity: return abr.nonLinearity ? 1.0 : 0.0;
    }
    return 0.0;
}

double AbrFieldValue(const TAbrObject& abr, TAbrField field)
{
    return AbrFieldInfo(field).Shown(AbrFieldStored(abr, field));
}

std::string AbrFieldText(const TAbrObject& abr, TAbrField field)
{
    if (field == TAbrField::NonLinearity)
        return AbrNonLinearityChecked(abr) ? "1" : "0";
    return AbrFieldInfo(field).Text(AbrFieldValue(abr, field));
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
    const TFieldInfo& info = AbrFieldInfo(field);
    if (!std::isfinite(shown) || !info.InRange(shown))
        return TElementCommit{false, Bit(field)};
    return CommitAbrStored(abr, field, info.Stored(shown));
}

TElementCommit CommitAbrStored(TAbrObject& abr, TAbrField field, double stored)
{
    TElementCommit result;
    result.redraw = Bit(field);
    if (!std::isfinite(stored))
        return result;
    constexpr std::uint32_t kResonances = Bit(TAbrField::Fp) | Bit(TAbrField::Fb);
    switch (field) {
    case TAbrField::Vap:
        abr.Vap = stored;
        abr.UpdateFreeAirResonance();
        abr.UpdateBoxResonance();
        result.redraw |= kResonances;
        break;
    case TAbrField::Sd:
        abr.SetSd(stored);
        abr.UpdateFreeAirResonance();
        abr.UpdateBoxResonance();
        result.redraw |= kResonances;
        break;
    case TAbrField::Mmp:
        abr.SetMmp(stored);
        abr.UpdateFreeAirResonance();
        abr.UpdateBoxResonance();
        result.redraw |= kResonances;
        break;
    case TAbrField::Fp:
        abr.SetFp(stored);
        abr.UpdateBoxResonance();
        result.redraw |= Bit(TAbrField::Mmp) | Bit(TAbrField::Fb);
        break;
    case TAbrField::Fb:
        abr.SetFb(stored);
        result.redraw |= Bit(TAbrField::Mmp) | Bit(TAbrField::Fp);
        break;
    case TAbrField::Xmax:
        abr.Xmax = stored;
        result.redraw |= Bit(TAbrField::NonLinearity);
        break;
    case TAbrField::Count:
        abr.n = static_cast<std::int32_t>(std::lround(stored));
        abr.UpdateBoxResonance();
        result.redraw |= Bit(TAbrField::Fb);
        break;
    case TAbrField::NonLinearity:
        // A disabled check box cannot be ticked; the stored byte stays as it is.
        if (!AbrNonLinearityEnabled(abr))
            return result;
        abr.nonLinearity = stored != 0.0;
        break;
    }
    abr.dirty = true;
    result.accepted = true;
    return result;
}

TFieldBinding BindAbrField(std::function<TAbrObject&()> abr, TAbrField field)
{
    TFieldBinding binding{
        .read = [abr, field] { return AbrFieldStored(abr(), field); },
        .write = [abr, field](double stored) { return CommitAbrStored(abr(), field, stored).accepted; },
    };
    if (field == TAbrField::NonLinearity) {
        binding.read = [abr] { return AbrNonLinearityChecked(abr()) ? 1.0 : 0.0; };
        binding.enabled = [abr] { return AbrNonLinearityEnabled(abr()); };
    }
    return binding;
}
