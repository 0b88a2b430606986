#include "filter/TNetFields.h"

#include <cmath>

TFieldInfo NetFieldInfo(TNetField field, const char* label)
{
    TFieldInfo info{"", "ohm", "%2.1f", 0.0, 1000.0};
    switch (field) {
    case TNetField::Cutoff: info = {"Cutoff", "Hz", "%2.0f", 20.0, 20000.0}; break;
    case TNetField::LadderInductor:
    case TNetField::NotchInductor: info = {"", "mH", "%2.3f", 0.0, 1000.0, 1e-3}; break;
    case TNetField::LadderCapacitor: info = {"", "uF", "%2.2f", 0.0, 1000.0, 1e-6}; break;
    case TNetField::NotchCapacitor: info = {"", "uF", "%2.3f", 0.0, 1000.0, 1e-6}; break;
    case TNetField::ZobelCapacitor: info = {"", "uF", "%2.1f", 0.0, 1000.0, 1e-6}; break;
    case TNetField::Attenuation: info = {"Attenuation", "dB", "%2.1f", -1000.0, 1000.0}; break;
    case TNetField::NotchResistor:
    case TNetField::PadResistor:
    case TNetField::ZobelResistor: break;
    case TNetField::Disconnect:
        info = {.label = "Disconnect", .unit = "", .format = "", .kind = TValueKind::Switch};
        break;
    }
    if (label)
        info.label = label;
    return info;
}

TFieldInfo DriverFieldInfo(TDriverField field)
{
    switch (field) {
    case TDriverField::Re: return {"Re", "ohm", "%2.1f", 0.1, 1000.0};
    case TDriverField::Le: return {"Le", "mH", "%2.3f", 0.01, 100.0, 1e-3};
    case TDriverField::Rex: return {"Rex", "ohm", "%2.1f", 0.0, 1000.0};
    case TDriverField::X: return {"dX", "mm", "%2.1f", -5000.0, 5000.0, 1e-3};
    case TDriverField::Y: return {"dY", "mm", "%2.1f", -5000.0, 5000.0, 1e-3};
    case TDriverField::Z: return {"dZ", "mm", "%2.1f", -5000.0, 5000.0, 1e-3};
    case TDriverField::PistonRadius: return {"Piston radius", "mm", "%2.1f", 0.0, 1000.0, 1e-3};
    case TDriverField::SplScaling: return {"Scaling", "dB", "%2.1f", -100.0, 100.0};
    case TDriverField::ImpedanceScaling: return {"Scaling", "", "%2.2f", 0.01, 100.0};
    case TDriverField::InvertPolarity:
        return {.label = "Invert polarity", .unit = "", .format = "", .kind = TValueKind::Switch};
    }
    return {""};
}

TFieldBinding Finite(std::function<double&()> target, double lowest)
{
    return {.read = [target] { return target(); },
            .write =
                [target, lowest](double v) {
                    if (!std::isfinite(v) || v < lowest)
                        return false;
                    target() = v;
                    return true;
                }};
}

TFieldBinding DecibelFactor(std::function<double&()> factor)
{
    return {.read = [factor] { return 20.0 * std::log10(factor()); },
            .write =
                [factor](double db) {
                    if (!std::isfinite(db))
                        return false;
                    factor() = std::pow(10.0, 0.05 * db);
                    return true;
                }};
}
