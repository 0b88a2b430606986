#include "box/elements/TPortObjectFields.h"

#include "box/elements/TElementConstants.h"
#include "box/elements/TPortObject.h"
#include "ui/THost.h"

#include <array>
#include <cmath>
#include <strings.h>

namespace C = TElementConstants;

namespace {
using K = TValueKind;
const std::array<TFieldInfo, 8> kFields = {{
    {"Length", "cm", "%2.1f", 0.0, 1000.0, 0.01},
    {"Min dia.", "cm", "%2.1f", 1.0, 100.0, 0.01},
    // 0 stands for a straight port: the radius of its wall is infinite.
    {"Flare radius", "cm", "%2.1f", 0.0, 20000.0, 0.01, K::Real, false, 0.0, "inf."},
    {"Max dia.", "cm", "%2.1f", 0.0, 0.0, 0.01, K::Real, true},
    {"Min area", "cm\xC2\xB2", "%2.1f", 0.7853981633975, 7853.9816339750005, 0.0001},
    {"Res. freq.", "Hz", "%2.1f", 1.0, 1000.0},
    {"Number of vents", "", "%ld", 1.0, 9.0, 1.0, K::Whole},
    {"Sim. port nonlinearity", "", "", 0.0, 1.0, 1.0, K::Switch},
}};

constexpr std::uint32_t Bit(TPortField field)
{
    return 1u << static_cast<int>(field);
}

bool Same(std::string_view a, const char* b)
{
    const std::string_view other(b);
    return a.size() == other.size() && strncasecmp(a.data(), other.data(), a.size()) == 0;
}

void Warn(THost& host, const char* text)
{
    host.Message(text, "", TMsgButtons::Ok, TMsgIcon::Warning);
}

// The fields that show the length and what follows from it.
constexpr std::uint32_t kLengthFields =
    Bit(TPortField::Length) | Bit(TPortField::FlareRadius) | Bit(TPortField::MaxDiameter);
constexpr std::uint32_t kAreaFields =
    kLengthFields | Bit(TPortField::Diameter) | Bit(TPortField::Area);
} // namespace

const TFieldInfo& PortFieldInfo(TPortField field)
{
    return kFields[static_cast<std::size_t>(field)];
}

bool FindPortField(std::string_view label, TPortField& field)
{
    static constexpr struct {
        const char* label;
        TPortField field;
    } kLabels[] = {
        {"Length", TPortField::Length},         {"Min dia.", TPortField::Diameter},
        {"Diameter", TPortField::Diameter},     {"Flare radius", TPortField::FlareRadius},
        {"Max dia.", TPortField::MaxDiameter},  {"Min area", TPortField::Area},
        {"Area", TPortField::Area},             {"Res. freq.", TPortField::ResFreq},
        {"Number of vents", TPortField::Count}, {"Sim. port nonlinearity", TPortField::NonLinearity},
    };
    for (const auto& entry : kLabels) {
        if (Same(label, entry.label)) {
            field = entry.field;
            return true;
        }
    }
    return false;
}

double PortFieldStored(const TPortObject& port, TPortField field)
{
    switch (field) {
    case TPortField::Length: return port.L;
    case TPortField::Diameter: return port.D;
    case TPortField::FlareRadius: return port.FlareRadius();
    case TPortField::MaxDiameter: return port.MaxDiameter();
    case TPortField::Area: return port.S;
    case TPortField::ResFreq: return port.fp;
    case TPortField::Count: return port.n;
    case TPortField::NonLinearity: return port.NonLinearity() ? 1.0 : 0.0;
    }
    return 0.0;
}

double PortFieldValue(const TPortObject& port, TPortField field)
{
    return PortFieldInfo(field).Shown(PortFieldStored(port, field));
}

std::string PortFieldText(const TPortObject& port, TPortField field)
{
    if (field == TPortField::FlareRadius && port.c == 0.0)
        return "inf.";
    if (field == TPortField::NonLinearity)
        return port.NonLinearity() ? "1" : "0";
    return PortFieldInfo(field).Text(PortFieldValue(port, field));
}

TElementCommit CommitPortField(TPortObject& port, TPortField field, double shown, THost& host)
{
    const TFieldInfo& info = PortFieldInfo(field);
    if (!std::isfinite(shown) || !info.InRange(shown))
        return TElementCommit{false, Bit(field)};
    return CommitPortStored(port, field, info.Stored(shown), host);
}

TElementCommit CommitPortStored(TPortObject& port, TPortField field, double stored, THost& host)
{
    TElementCommit result;
    result.redraw = Bit(field);
    if (PortFieldInfo(field).readOnly || !std::isfinite(stored))
        return result;

    switch (field) {
    case TPortField::Length:
        port.L = stored;
        port.UpdateTuning();
        result.redraw |= kLengthFields | Bit(TPortField::ResFreq);
        break;
    case TPortField::Diameter: {
        const double d = stored;
        const double area = C::kPi * d * d / 4.0;
        if (!port.SetAreaKeepingTuning(area)) {
            Warn(host, kPortLengthAreaMessage);
            return result;
        }
        port.S = area;
        port.UpdateEffectiveArea();
        port.D = d;
        result.redraw |= kAreaFields;
        break;
    }
    case TPortField::Area: {
        const double area = stored;
        if (!port.SetAreaKeepingTuning(area)) {
            Warn(host, kPortLengthAreaMessage);
            return result;
        }
        port.S = area;
        port.UpdateEffectiveArea();
        port.D = 2.0 * std::sqrt(area / C::kPi);
        result.redraw |= kAreaFields;
        break;
    }
    case TPortField::FlareRadius: {
        const double r = stored;
        if (r != 0.0 && 2.0 * r < port.L) {
            Warn(host, kFlareRadiusMessage);
            return result;
        }
        port.c = r == 0.0 ? 0.0 : port.L / (2.0 * r);
        port.UpdateTuning();
        result.redraw |= Bit(TPortField::MaxDiameter) | Bit(TPortField::ResFreq);
        break;
    }
    case TPortField::ResFreq:
        if (!port.SetLengthFromTuning(stored)) {
            Warn(host, kPortLengthTuningMessage);
            return result;
        }
        result.redraw |= kLengthFields;
        break;
    case TPortField::Count:
        port.n = static_cast<std::int32_t>(std::lround(stored));
        port.UpdateTuning();
        result.redraw |= Bit(TPortField::ResFreq);
        break;
    case TPortField::NonLinearity:
        port.SetNonLinearity(stored != 0.0);
        break;
    case TPortField::MaxDiameter:
        return result;
    }
    port.dirty = true;
    result.accepted = true;
    return result;
}

TFieldBinding BindPortField(std::function<TPortObject&()> port, TPortField field, THost& host)
{
    return {
        .read = [port, field] { return PortFieldStored(port(), field); },
        .write = [port, field, &host](double stored) { return CommitPortStored(port(), field, stored, host).accepted; },
    };
}
