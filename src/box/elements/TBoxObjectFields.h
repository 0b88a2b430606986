#pragma once
// The editing rules of an air volume, as every box dialog applies them.

#include "box/elements/TElementField.h"

#include <functional>
#include <span>
#include <string_view>

class TAbrObject;
class TBoxObject;
class TPortObject;

enum class TBoxField { Volume, Qb, Ql, Fill };

// "Box volume" (l), "QB", "QL", "Fill" (%). Some dialogs label the absorption Q
// "Box Q" or "Box Q-value"; FindBoxField knows every label.
const TFieldInfo& BoxFieldInfo(TBoxField field);
// The field with this label, compared without regard to letter case; false when none.
bool FindBoxField(std::string_view label, TBoxField& field);

// The value as the box stores it (Vb in m³), and as the field shows it (in litres).
double BoxFieldStored(const TBoxObject& box, TBoxField field);
double BoxFieldValue(const TBoxObject& box, TBoxField field);
std::string BoxFieldText(const TBoxObject& box, TBoxField field);

// A volume (m³) as the volume field admits it: within the field's range, the least one
// for a value that is not a number. What the optimisers set stays one a user could type.
double BoxVolumeAdmitted(double m3);

// Takes a shown value. Out of range: refused. Otherwise the box is marked dirty; a new
// volume or fill also gives every port in this box its new tuning volume (and tuning)
// and updates the box resonance of a radiator in it, so the shown tunings follow at
// once. The ports' and radiator's fields to redraw are their tuning fields.
TElementCommit CommitBoxField(TBoxObject& box, TBoxField field, double shown,
                              std::span<TPortObject* const> ports = {}, TAbrObject* radiator = nullptr);
// The same rule for a stored value whose shown value the field's range admitted.
TElementCommit CommitBoxStored(TBoxObject& box, TBoxField field, double stored,
                               std::span<TPortObject* const> ports = {}, TAbrObject* radiator = nullptr);

// What a box dialog binds the field to: the box (and the ports and radiator in it)
// as the project holds them when the field is loaded or committed.
struct TBoxElements {
    std::function<TBoxObject&()> box = {};
    std::function<std::span<TPortObject* const>()> ports = {}; // may be empty
    std::function<TAbrObject*()> radiator = {};                // may be empty
};
TFieldBinding BindBoxField(TBoxElements elements, TBoxField field);
