#pragma once
// The editing rules of a passive radiator group in the box dialog.

#include "box/elements/TElementField.h"

#include <functional>
#include <string>
#include <string_view>

class TAbrObject;

enum class TAbrField { Vap, Sd, Mmp, Fp, Fb, Xmax, Count, NonLinearity };

// "Vap" (l), "Sd" (cm²), "Mmp" (g), "Fp" (Hz), "Fb" (Hz), "Xmax" (mm), "# ABR units",
// "Simulate non lin.".
const TFieldInfo& AbrFieldInfo(TAbrField field);
bool FindAbrField(std::string_view label, TAbrField& field);

// fp and fb recomputed from the current parameters, as the dialog shows them.
void RefreshAbrResonances(TAbrObject& abr);

// The value as the radiator stores it (m³, m², kg, Hz, m; the check box 1 or 0: the
// stored byte), and as the field shows it (l, cm², g, Hz, mm).
double AbrFieldStored(const TAbrObject& abr, TAbrField field);
double AbrFieldValue(const TAbrObject& abr, TAbrField field);
std::string AbrFieldText(const TAbrObject& abr, TAbrField field);

// Limiting needs a limit: with Xmax = 0 the check box is disabled and shown cleared,
// while the stored byte is kept; it is usable again as soon as Xmax is not 0.
bool AbrNonLinearityEnabled(const TAbrObject& abr);
bool AbrNonLinearityChecked(const TAbrObject& abr);

// Takes a shown value (for the check box: 0 or 1); out of range: refused. Accepted
// changes mark the radiator dirty and update the resonances that depend on them.
TElementCommit CommitAbrField(TAbrObject& abr, TAbrField field, double shown);
// The same rule for a stored value whose shown value the field's range admitted.
TElementCommit CommitAbrStored(TAbrObject& abr, TAbrField field, double stored);

// What a dialog with a radiator binds the field to: the radiator as the project holds
// it when the field is loaded or committed. The check box is enabled and shown as
// AbrNonLinearityEnabled / AbrNonLinearityChecked say.
TFieldBinding BindAbrField(std::function<TAbrObject&()> abr, TAbrField field);
