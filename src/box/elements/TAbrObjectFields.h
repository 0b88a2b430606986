#pragma once
// The editing rules of a passive radiator group in the box dialog.

#include "box/elements/TElementField.h"

#include <string>
#include <string_view>

class TAbrObject;

enum class TAbrField { Vap, Sd, Mmp, Fp, Fb, Xmax, Count, NonLinearity };

// "Vap" (l), "Sd" (cm²), "Mmp" (g), "Fp" (Hz), "Fb" (Hz), "Xmax" (mm), "# ABR units",
// "Simulate non lin.".
const TElementField& AbrFieldInfo(TAbrField field);
bool FindAbrField(std::string_view label, TAbrField& field);

// fp and fb recomputed from the current parameters, as the dialog shows them.
void RefreshAbrResonances(TAbrObject& abr);

// The value a field shows (the check box 1 or 0: the stored byte).
double AbrFieldValue(const TAbrObject& abr, TAbrField field);
std::string AbrFieldText(const TAbrObject& abr, TAbrField field);

// Limiting needs a limit: with Xmax = 0 the check box is disabled and shown cleared,
// while the stored byte is kept; it is usable again as soon as Xmax is not 0.
bool AbrNonLinearityEnabled(const TAbrObject& abr);
bool AbrNonLinearityChecked(const TAbrObject& abr);

// Takes a shown value (for the check box: 0 or 1); out of range: refused. Accepted
// changes mark the radiator dirty and update the resonances that depend on them.
TElementCommit CommitAbrField(TAbrObject& abr, TAbrField field, double shown);
