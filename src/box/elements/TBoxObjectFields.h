#pragma once
// The editing rules of an air volume, as every box dialog applies them.

#include "box/elements/TElementField.h"

#include <span>
#include <string_view>

class TAbrObject;
class TBoxObject;
class TPortObject;

enum class TBoxField { Volume, Qb, Ql, Fill };

// "Box volume" (l), "QB", "QL", "Fill" (%). Some dialogs label the absorption Q
// "Box Q" or "Box Q-value"; FindBoxField knows every label.
const TElementField& BoxFieldInfo(TBoxField field);
// The field with this label, compared without regard to letter case; false when none.
bool FindBoxField(std::string_view label, TBoxField& field);

// The value the field shows (Vb in litres).
double BoxFieldValue(const TBoxObject& box, TBoxField field);
std::string BoxFieldText(const TBoxObject& box, TBoxField field);

// Takes a shown value. Out of range: refused. Otherwise the box is marked dirty; a new
// volume or fill also gives every port in this box its new tuning volume (and tuning)
// and updates the box resonance of a radiator in it, so the shown tunings follow at
// once. The ports' and radiator's fields to redraw are their tuning fields.
TElementCommit CommitBoxField(TBoxObject& box, TBoxField field, double shown,
                              std::span<TPortObject* const> ports = {}, TAbrObject* radiator = nullptr);
