#include "room/TRoomFields.h"

#include "room/TRoomSettings.h"

#include <array>
#include <cmath>

namespace {

using K = TValueKind;
constexpr double kOff = 0.0, kOn = 1.0;

const std::array<TFieldInfo, 29> kRoom = {{
    {"Roof height", "m", "%2.3f", 0.01, 10.0},
    {"Depth", "m", "%2.3f", 0.0, 45.0},
    {"Width", "m", "%2.3f", 0.0, 45.0},
    {"X", "m", "%2.3f", 0.0, 5.0},
    {"Y", "m", "%2.3f", 0.0, 5.0},
    {"Z", "m", "%2.3f", 0.0, 5.0},
    {"X", "m", "%2.3f", 0.0, 20.0},
    {"Y", "m", "%2.3f", 0.0, 20.0},
    {"Z", "m", "%2.3f", 0.0, 20.0},
    {"Width", "m", "%2.3f", 0.01, 2.0},
    {"Height", "m", "%2.3f", 0.01, 3.0},
    {"dX", "m", "%2.3f", 0.0, 2.0},
    {"dY", "m", "%2.3f", 0.0, 3.0},
    {"dZ", "m", "%2.3f", -5.0, 5.0},
    {"Summation factor", "dB", "%1.1f", 3.0, 6.0},
    {"Level offset", "dB", "%2.1f", -200.0, 200.0},
    {"Transition freq.", "Hz", "%d", 1.0, 20000.0, 1.0, K::Whole},
    {"Speaker back wall", "", "", kOff, kOn, 1.0, K::Switch},
    {"Left side wall", "", "", kOff, kOn, 1.0, K::Switch},
    {"Right side wall", "", "", kOff, kOn, 1.0, K::Switch},
    {"Floor", "", "", kOff, kOn, 1.0, K::Switch},
    {"Ceiling", "", "", kOff, kOn, 1.0, K::Switch},
    {"Listener backwall", "", "", kOff, kOn, 1.0, K::Switch},
    {"Cabinet edges", "", "", kOff, kOn, 1.0, K::Switch},
    {"1/3 octave smooth ", "", "", kOff, kOn, 1.0, K::Switch},
    {"Normalized SPL to 1m", "", "", kOff, kOn, 1.0, K::Switch},
    {"Calc. imm.", "", "", kOff, kOn, 1.0, K::Switch},
    {"&Automatic level offset", "", "", kOff, kOn, 1.0, K::Switch},
    {"&Disable", "", "", kOff, kOn, 1.0, K::Switch},
}};

const std::array<TFieldInfo, 6> kAbs = {{
    {"Speaker backwall", "", "%2.2f", 0.01, 0.99},
    {"Left sidewall", "", "%2.2f", 0.01, 0.99},
    {"Right sidewall", "", "%2.2f", 0.01, 0.99},
    {"Ceiling", "", "%2.2f", 0.01, 0.99},
    {"Floor", "", "%2.2f", 0.01, 0.99},
    {"Listener backwall", "", "%2.2f", 0.01, 0.99},
}};

constexpr TAbsField kAbsOrder[] = {TAbsField::SpeakerBackwall, TAbsField::LeftSidewall, TAbsField::RightSidewall,
                                   TAbsField::Ceiling,         TAbsField::Floor,        TAbsField::ListenerBackwall};

template <class Get, class Set>
TFieldBinding Through(Get get, Set set)
{
    return {.read = get, .write = [set](double value) {
                if (!std::isfinite(value))
                    return false;
                set(value);
                return true;
            }};
}

} // namespace

namespace TRoomConvert {
double SummationShown(double s) { return s > 0.0 ? 20.0 * std::log10(s) + 6.0 : 0.0; }
double SummationStored(double dB) { return std::pow(10.0, (dB - 6.0) * 0.05); }
double LevelFactor(double offsetDb) { return std::pow(10.0, 0.05 * offsetDb); }
double Absorption(double r) { return 1.0 - r * r; }
double Reflection(double alpha) { return std::sqrt(1.0 - alpha); }
} // namespace TRoomConvert

const TFieldInfo& RoomFieldInfo(TRoomField field) { return kRoom[static_cast<std::size_t>(field)]; }

TFieldBinding BindRoomField(TRoomSettings& s, TRoomField field)
{
    using F = TRoomField;
    const auto reflection = [&s](std::size_t i) {
        return Through([&s, i] { return s.reflections[i] ? 1.0 : 0.0; },
                       [&s, i](double v) { s.reflections[i] = v != 0.0; });
    };
    switch (field) {
    case F::RoofHeight: return BindMember(s.Hr);
    case F::Depth: return BindMember(s.Dr);
    case F::RoomWidth: return BindMember(s.Wr);
    case F::SpeakerX: return BindMember(s.X);
    case F::SpeakerY: return BindMember(s.Y);
    case F::SpeakerZ: return BindMember(s.Z);
    case F::ListenerX: return BindMember(s.Xl);
    case F::ListenerY: return BindMember(s.Yl);
    case F::ListenerZ: return BindMember(s.Zl);
    case F::BaffleWidth: return BindMember(s.W);
    case F::BaffleHeight: return BindMember(s.H);
    case F::SourceDX:
    case F::SourceDY:
    case F::SourceDZ: return {};
    case F::Summation:
        return Through([&s] { return TRoomConvert::SummationShown(s.summation); },
                       [&s](double v) { s.summation = TRoomConvert::SummationStored(v); });
    case F::LevelOffset:
        return Through([&s] { return s.measLevelOffset; },
                       [&s](double v) {
                           s.measLevelOffset = v;
                           s.measLevelFactor = TRoomConvert::LevelFactor(v);
                       });
    case F::Transition: return BindMember(s.measTransition);
    case F::ReflectBack: return reflection(0);
    case F::ReflectLeft: return reflection(1);
    case F::ReflectRight: return reflection(2);
    case F::ReflectFloor: return reflection(3);
    case F::ReflectCeiling: return reflection(4);
    case F::ReflectListenerBack: return reflection(5);
    case F::CabinetEdges: return BindMember(s.cabinetEdges);
    case F::Smoothing: return BindMember(s.smoothing);
    case F::Normalize: return BindMember(s.normalize);
    case F::CalcImmediately: return BindMember(s.calcImmediately);
    case F::AutoLevel: return BindMember(s.measAutoLevel);
    case F::Disable: return BindMember(s.measDisabled);
    }
    return {};
}

TFieldBinding BindSourceField(const std::function<TPosObject*()>& element, TRoomField field)
{
    double TPosObject::*member = field == TRoomField::SourceDX   ? &TPosObject::dX
                                 : field == TRoomField::SourceDY ? &TPosObject::dY
                                                                 : &TPosObject::dZ;
    return {.read =
                [element, member] {
                    const TPosObject* p = element();
                    return p ? p->*member : 0.0;
                },
            .write =
                [element, member](double value) {
                    TPosObject* p = element();
                    if (!p || !std::isfinite(value))
                        return false;
                    p->*member = value;
                    return true;
                }};
}

std::span<const TAbsField> AbsFields() { return kAbsOrder; }

const TFieldInfo& AbsFieldInfo(TAbsField field) { return kAbs[static_cast<std::size_t>(field)]; }

// TAbsField follows the factors' own order (roof before floor, unlike the switches).
std::size_t AbsFactorIndex(TAbsField field) { return static_cast<std::size_t>(field); }

TFieldBinding BindAbsField(TRoomSettings& s, TAbsField field)
{
    const std::size_t i = AbsFactorIndex(field);
    return Through([&s, i] { return TRoomConvert::Absorption(s.reflectionFactors[i]); },
                   [&s, i](double alpha) { s.reflectionFactors[i] = TRoomConvert::Reflection(alpha); });
}
