#pragma once
// The parameter fields of the speaker unit editor, without any widget: label, shown
// unit, printf format, maximum and the factor from the shown to the stored value
// (stored = entry * factor). Every field has minimum 0, and 0 shows as "undef.".
// Used by the editor dialog and by tonvek-cli.

#include "TSpkData.h"
#include "ui/TFieldInfo.h"

#include <span>
#include <string>
#include <string_view>

struct TSpkField {
    TSpkParam param;
    const char* label;
    const char* unit; // "" when the value has no unit
    const char* format;
    double maximum;   // in shown units
    double factor;    // stored = shown * factor

    // The entry field this row describes: minimum 0, and 0 shows as "undef.".
    TFieldInfo Info() const { return {label, unit, format, 0.0, maximum, factor, TValueKind::Real, false, 0.0}; }
};

inline constexpr const char* kUndefinedText = "undef.";

// The 18 fields in the editor's order (Re first, Voicecoil height last).
std::span<const TSpkField> SpkFields();
// The field with this label, compared without regard to letter case; nullptr when none.
const TSpkField* FindSpkField(std::string_view label);
const TSpkField& SpkField(TSpkParam param); // param must be an editor field (not a)

// The stored value as the field shows it: "undef." for 0, else value / factor in the
// field's format.
std::string FormatSpkField(const TSpkField& field, double stored);
// Why a shown value cannot be entered, or "" when it can (minimum 0, the field's maximum).
std::string SpkFieldRangeError(const TSpkField& field, double shown);

// The speaker type choice of the editor (shorter than the report names).
const char* SpeakerTypeChoice(int type);
