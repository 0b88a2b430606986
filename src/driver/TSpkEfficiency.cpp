#include "TSpkEfficiency.h"

#include "TSpkData.h"

#include <cmath>
#include <cstdio>

bool ReferenceEfficiency(const TSpkData& u, double& eta0)
{
    eta0 = 0.0;
    if (!TSpkData::IsDefined(u.Qes) || !TSpkData::IsDefined(u.Vas) || !TSpkData::IsDefined(u.fs))
        return false;
    double value = 9.64e-7 * u.fs * u.fs * u.fs * u.Vas / u.Qes;
    // A negative or infinite value would have no level.
    if (!std::isfinite(value) || value <= 0.0)
        return false;
    eta0 = value;
    return true;
}

bool Sensitivity(const TSpkData& u, double& dB)
{
    double eta0 = 0.0;
    dB = 0.0;
    if (!ReferenceEfficiency(u, eta0))
        return false;
    dB = 10.0 * std::log10(eta0) + 112.0;
    return true;
}

std::string EfficiencyText(const TSpkData& u)
{
    double eta0 = 0.0;
    if (!ReferenceEfficiency(u, eta0))
        return "--";
    char text[64];
    std::snprintf(text, sizeof text, "%3.2f", 100.0 * eta0);
    return text;
}

std::string SensitivityText(const TSpkData& u)
{
    double dB = 0.0;
    if (!Sensitivity(u, dB))
        return "--";
    char text[64];
    std::snprintf(text, sizeof text, "%3.1f", dB);
    return text;
}
