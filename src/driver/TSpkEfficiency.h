#pragma once
// Reference efficiency and sensitivity of a speaker unit; not stored, shown only.

#include <string>

class TSpkData;

// eta0 = 9.64e-7 fs^3 Vas / Qes; false when Qes, Vas or fs is undefined or the
// result is not a positive number.
[[nodiscard]] bool ReferenceEfficiency(const TSpkData& unit, double& eta0);
// 10 log10(eta0) + 112 dB at 1 W, 1 m.
[[nodiscard]] bool Sensitivity(const TSpkData& unit, double& dB);
// 100 eta0 with "%3.2f", or "--".
std::string EfficiencyText(const TSpkData& unit);
// "%3.1f", or "--".
std::string SensitivityText(const TSpkData& unit);
