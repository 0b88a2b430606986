#pragma once
// The cross-section fields of dialogs that solve no port length: the two-chamber boxes,
// whose tunings follow from the coupled system. A new diameter or area changes only
// the cross-section; the length stays as the user typed it, so no entry can call for
// a negative length.

#include "box/elements/TPortObjectFields.h"

#include <functional>

// TPortField::Diameter (D in m; S = πD²/4) or TPortField::Area (S in m²; D = 2·sqrt(S/π)),
// each with the effective area updated. Any other field, or a value that is not a
// positive number, is refused and changes nothing.
TElementCommit CommitPortSection(TPortObject& port, TPortField field, double stored);

TFieldBinding BindPortSection(const std::function<TPortObject&()>& port, TPortField field);
