#pragma once
// The editing rules of a port group, as every box dialog with ports applies them,
// with the warnings they show for lengths that cannot be built.

#include "box/elements/TElementField.h"

#include <functional>
#include <string>
#include <string_view>

class THost;
class TPortObject;

enum class TPortField { Length, Diameter, FlareRadius, MaxDiameter, Area, ResFreq, Count, NonLinearity };

inline constexpr const char* kPortLengthAreaMessage = "Portlength < 0";
inline constexpr const char* kPortLengthTuningMessage = "Port length < 0";
inline constexpr const char* kFlareRadiusMessage = "Flare radius must be greater than half the port length";

// "Length" (cm), "Min dia." (cm), "Flare radius" (cm), "Max dia." (cm, read only),
// "Min area" (cm²), "Res. freq." (Hz), "Number of vents", "Sim. port nonlinearity".
// Some dialogs label the diameter "Diameter" and the area "Area"; FindPortField knows
// every label.
const TFieldInfo& PortFieldInfo(TPortField field);
bool FindPortField(std::string_view label, TPortField& field);

// The value as the port stores it (m, m², Hz), and as the field shows it (cm, cm², Hz;
// the flare radius 0 for a straight port; the check box 1 or 0).
double PortFieldStored(const TPortObject& port, TPortField field);
double PortFieldValue(const TPortObject& port, TPortField field);
// The text a field shows; a straight port's flare radius shows "inf.".
std::string PortFieldText(const TPortObject& port, TPortField field);

// Takes a shown value (for the check box: 0 or 1). Refused entries leave the port
// unchanged; a length that would come out negative, or a flare radius shorter than
// half the port, is reported through host as a warning with an empty title.
TElementCommit CommitPortField(TPortObject& port, TPortField field, double shown, THost& host);
// The same rule for a stored value whose shown value the field's range admitted.
TElementCommit CommitPortStored(TPortObject& port, TPortField field, double stored, THost& host);

// What a dialog with ports binds the field to: the port group as the project holds it
// when the field is loaded or committed; warnings go to host.
TFieldBinding BindPortField(std::function<TPortObject&()> port, TPortField field, THost& host);
