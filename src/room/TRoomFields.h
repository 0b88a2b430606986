#pragma once
// The values of the room and cabinet settings as the room dialogs show and take them,
// described once: label, unit, format, range, and the read and write of the live
// settings. The room dialog, the absorption dialog, tonvek-cli set and the tests all
// take them from here.
//
// Two values are not stored as shown: the summation factor is a linear factor s shown
// as 20 · log10 s + 6 dB, and each reflection factor r is shown as the absorption
// coefficient 1 − r². The level offset carries its level factor along.

#include "ui/TFieldBinding.h"
#include "ui/TFieldInfo.h"

#include <functional>
#include <span>

struct TPosObject;
struct TRoomSettings;

enum class TRoomField {
    RoofHeight,
    Depth,
    RoomWidth,
    SpeakerX,
    SpeakerY,
    SpeakerZ,
    ListenerX,
    ListenerY,
    ListenerZ,
    BaffleWidth,
    BaffleHeight,
    SourceDX, // of the selected element
    SourceDY,
    SourceDZ,
    Summation,
    LevelOffset,
    Transition,
    // Reflections from: speaker backwall, left, right, floor, ceiling (roof), listener backwall
    ReflectBack,
    ReflectLeft,
    ReflectRight,
    ReflectFloor,
    ReflectCeiling,
    ReflectListenerBack,
    CabinetEdges,
    Smoothing,
    Normalize,
    CalcImmediately,
    AutoLevel,
    Disable,
};

const TFieldInfo& RoomFieldInfo(TRoomField field);

// Reads and writes the value in the settings. The source offsets are not settings
// fields; bind them with BindSourceField.
TFieldBinding BindRoomField(TRoomSettings& settings, TRoomField field);
// An offset of the element that `element` names when the field is loaded or
// committed; no element: nothing to show, every write refused.
TFieldBinding BindSourceField(const std::function<TPosObject*()>& element, TRoomField field);

// The six absorption coefficients, in the absorption dialog's order.
enum class TAbsField { SpeakerBackwall, LeftSidewall, RightSidewall, Ceiling, Floor, ListenerBackwall };

std::span<const TAbsField> AbsFields();
const TFieldInfo& AbsFieldInfo(TAbsField field);
// Its reflection factor among the settings' six (roof before floor there).
std::size_t AbsFactorIndex(TAbsField field);
// Shows 1 − r²; a committed α stores r = sqrt(1 − α).
TFieldBinding BindAbsField(TRoomSettings& settings, TAbsField field);

namespace TRoomConvert {
// The summation factor as shown (dB) and as stored (linear).
double SummationShown(double s);
double SummationStored(double dB);
double LevelFactor(double offsetDb);
double Absorption(double r);
double Reflection(double alpha);
} // namespace TRoomConvert
