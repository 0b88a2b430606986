#pragma once
// How the network and driver dialogs show and take each value of a simple network:
// label, unit, format, range and the scale between stored (SI) and shown values.

#include "ui/TFieldBinding.h"
#include "ui/TFieldInfo.h"

#include <functional>

enum class TNetField {
    Cutoff,          // Hz
    LadderInductor,  // mH, with the coil resistance as the second value
    LadderCapacitor, // uF
    NotchResistor,
    NotchInductor,
    NotchCapacitor,
    Attenuation, // dB
    PadResistor,
    ZobelResistor,
    ZobelCapacitor,
    Disconnect,
};

enum class TDriverField {
    Re,
    Le, // shown in mH
    Rex,
    X, // shown in mm
    Y,
    Z,
    PistonRadius,
    SplScaling,       // shown in dB, stored as a pressure factor
    ImpedanceScaling, // linear
    InvertPolarity,
};

// label replaces the description's own label (component fields are named after their
// component, "L11").
TFieldInfo NetFieldInfo(TNetField field, const char* label = nullptr);
TFieldInfo DriverFieldInfo(TDriverField field);

// The bindings of the driver dialogs, simple and advanced: a finite value at or above
// lowest, stored as it comes; a linear pressure factor shown in dB.
TFieldBinding Finite(std::function<double&()> target, double lowest = -1e300);
TFieldBinding DecibelFactor(std::function<double&()> factor);
