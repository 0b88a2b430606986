#pragma once
// What the element tables share: every parameter of an enclosure element is described
// once as a TFieldInfo (label, shown unit, format, range in shown units, scale from
// shown to stored), and every change goes through the element's commit rule, which
// applies it and says which other fields now show something new. Box dialogs build
// their fields from the descriptions and bind them to the rules (Bind...Field), so
// no dialog repeats a label, range or format or marks an element dirty by hand.

#include "ui/TFieldBinding.h"
#include "ui/TFieldInfo.h"

#include <cstdint>

// The outcome of committing one field. A refused value leaves the element as it was;
// the field then shows the stored value again (its bit is set in redraw).
struct TElementCommit {
    bool accepted = false;   // the element changed: mark the project and recalculate
    std::uint32_t redraw = 0; // bit (1 << field) for every field whose display changed

    bool Redraws(int field) const { return field >= 0 && field < 32 && ((redraw >> field) & 1u); }
    template <class Field>
    bool Redraws(Field field) const { return Redraws(static_cast<int>(field)); }
};
