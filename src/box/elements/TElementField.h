#pragma once
// How a box dialog shows and takes one parameter of an enclosure element: its label,
// shown unit, printf format, accepted range (in shown units) and the factor from the
// shown to the stored value (stored = shown · factor). A dialog builds its value
// entry fields from these and hands every committed value to the element's commit
// rule, which applies the change and says which other fields to redraw.

#include <cstdint>
#include <string>

struct TElementField {
    const char* label;
    const char* unit;   // "" when the value has no unit
    const char* format; // "%2.1f", "%ld", ...
    double minimum;     // shown units
    double maximum;
    double factor;      // stored = shown · factor
    bool integer;       // a whole-number field ("%ld", "%d")
    bool readOnly;

    bool InRange(double shown) const { return shown >= minimum && shown <= maximum; }
};

// The outcome of committing one field. A refused value leaves the element as it was;
// the field then shows the stored value again (its bit is set in redraw).
struct TElementCommit {
    bool accepted = false;   // the element changed: mark the project and recalculate
    std::uint32_t redraw = 0; // bit (1 << field) for every field whose display changed

    bool Redraws(int field) const { return field >= 0 && field < 32 && ((redraw >> field) & 1u); }
    template <class Field>
    bool Redraws(Field field) const { return Redraws(static_cast<int>(field)); }
};

// The text a field shows for a shown value, with its own format and a "." as the
// decimal point whatever the locale.
std::string FormatElementField(const TElementField& field, double shown);
