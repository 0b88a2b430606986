#pragma once
// The fields of the measurement setup, described once for the setup dialog, tonvek-cli
// setup and the tests: label, unit, format, range, and the plain read and write of the
// live setup (a level sets its partner power too, autorange sets the range).
// Rules that tie one field to another on screen - start and stop keeping 10 Hz
// apart, the formats that follow the values, the range disabled under autorange -
// are the dialog's.

#include "ui/TFieldBinding.h"
#include "ui/TFieldInfo.h"

#include <span>

class TMeasSetup;

enum class TSetupField {
    Start,
    Stop,
    Points,
    Level,
    Power,
    Resistance,
    Cutoff,
    Q,
    Autorange,
    Range,
    HidePhase,
    CalcImmediately,
};

// Every field, in the dialog's order.
std::span<const TSetupField> SetupFields();
// "Start frequency" (Hz), ..., "Calculate immediately" (a switch). The ranges of start
// and stop are the widest either can have; each narrows the other's.
const TFieldInfo& SetupFieldInfo(TSetupField field);
// Reads and writes the field's value in setup (whole numbers rounded, switches 1 or 0).
TFieldBinding BindSetupField(TMeasSetup& setup, TSetupField field);
