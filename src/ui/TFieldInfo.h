#pragma once
// How a dialog shows and takes one value, described once and shared by the dialog that
// edits it, the command line and the tests: label, shown unit, printf format, accepted
// range (in shown units), undefined marker and the scale between what the live object
// stores and what the field shows (stored = shown · scale).
//
// The element tables (box/elements), the unit parameter table (driver/TSpkFields) and
// the setup fields (settings/TMeasSetupFields) are arrays of these;
// TDialogModel::AddField builds the entry field from one.

#include <optional>
#include <string>

enum class TValueKind {
    Real,   // TDblEdit
    Whole,  // TLongEdit ("%ld", "%d")
    Switch, // check box: the label is its caption, the value 1 or 0
};

struct TFieldInfo {
    const char* label;
    const char* unit = "";   // "" when the value has no unit
    const char* format = ""; // "%2.1f", "%ld"; "" for a switch
    double minimum = 0.0;    // shown units
    double maximum = 0.0;
    double scale = 1.0;      // stored = shown · scale
    TValueKind kind = TValueKind::Real;
    bool readOnly = false;
    std::optional<double> undefined = std::nullopt; // the shown value that reads "undef."
    const char* undefinedText = "undef.";           // what it reads instead, for real values

    bool InRange(double shown) const { return shown >= minimum && shown <= maximum; }
    // One rule for both directions, so a stored value shows as what was typed.
    double Shown(double stored) const { return stored / scale; }
    double Stored(double shown) const { return shown * scale; }
    // The text the field shows for a shown value, in its own format with a "." as the
    // decimal point whatever the locale (whole numbers rounded to the nearest).
    std::string Text(double shown) const;
};
