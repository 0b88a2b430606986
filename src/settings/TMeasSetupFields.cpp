#include "settings/TMeasSetupFields.h"

#include "settings/TMeasSetup.h"

#include <array>

namespace {

namespace L = TMeasSetupLimits;
using K = TValueKind;

const std::array<TFieldInfo, 12> kInfo = {{
    {"Start frequency", "Hz", "%ld", L::kMinStart, L::kMaxStop - L::kMinSpan, 1.0, K::Whole},
    {"Stop frequency", "Hz", "%ld", L::kMinStart + L::kMinSpan, L::kMaxStop, 1.0, K::Whole},
    {"Number of points", "", "%ld", L::kMinPoints, L::kMaxPoints, 1.0, K::Whole},
    {"Source level", "V", "%3.2f", L::kMinLevel, L::kMaxLevel},
    {"Watts into 8 ohm", "W", "%3.2f", L::kMinPower, L::kMaxPower},
    {"Source resistance", "ohm", "%3.2f", L::kMinResistance, L::kMaxResistance},
    {"Cutoff", "Hz", "%ld", L::kMinCutoff, L::kMaxCutoff, 1.0, K::Whole},
    {"Q", "", "%2.1f", L::kMinQ, L::kMaxQ},
    {"Autorange", "", "", 0, 1, 1.0, K::Switch},
    {"Range", "dB", "%ld", L::kMinRange, L::kMaxRange, 1.0, K::Whole},
    {"Hide phase", "", "", 0, 1, 1.0, K::Switch},
    {"Calculate immediately", "", "", 0, 1, 1.0, K::Switch},
}};

constexpr TSetupField kOrder[] = {
    TSetupField::Start,  TSetupField::Stop,      TSetupField::Points, TSetupField::Level,
    TSetupField::Power,  TSetupField::Resistance, TSetupField::Cutoff, TSetupField::Q,
    TSetupField::Autorange, TSetupField::Range,  TSetupField::HidePhase, TSetupField::CalcImmediately,
};

// A setter as a write that takes every value the field admits.
template <class Set>
TFieldBinding Through(TMeasSetup& setup, double (*get)(const TMeasSetup&), Set set)
{
    return {.read = [&setup, get] { return get(setup); },
            .write = [&setup, set](double value) {
                set(setup, value);
                return true;
            }};
}

} // namespace

std::span<const TSetupField> SetupFields() { return kOrder; }

const TFieldInfo& SetupFieldInfo(TSetupField field) { return kInfo[static_cast<std::size_t>(field)]; }

TFieldBinding BindSetupField(TMeasSetup& s, TSetupField field)
{
    switch (field) {
    case TSetupField::Start: return BindMember(s.startFrequency);
    case TSetupField::Stop: return BindMember(s.stopFrequency);
    case TSetupField::Points: return BindMember(s.pointCount);
    case TSetupField::Level:
        return Through(s, [](const TMeasSetup& m) { return m.sourceLevel; },
                       [](TMeasSetup& m, double v) { m.SetSourceLevel(v); });
    case TSetupField::Power:
        return Through(s, [](const TMeasSetup& m) { return m.sourcePower; },
                       [](TMeasSetup& m, double v) { m.SetSourcePower(v); });
    case TSetupField::Resistance: return BindMember(s.sourceResistance);
    case TSetupField::Cutoff: return BindMember(s.highPassCutoff);
    case TSetupField::Q: return BindMember(s.highPassQ);
    case TSetupField::Autorange:
        return Through(s, [](const TMeasSetup& m) { return m.autorange ? 1.0 : 0.0; },
                       [](TMeasSetup& m, double v) { m.SetAutorange(v != 0.0); });
    case TSetupField::Range: return BindMember(s.splRange);
    case TSetupField::HidePhase: return BindMember(s.hidePhase);
    case TSetupField::CalcImmediately: return BindMember(s.calculateImmediately);
    }
    return {};
}
