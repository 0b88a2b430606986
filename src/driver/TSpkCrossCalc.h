#pragma once
// One committed entry of a speaker unit parameter. With the crosscalc flag clear the
// value is only stored (an Sd entry also sets a); with the flag set the dependent
// parameters are recomputed at once, overwriting defined values. Either way Bl^2 and
// Sd^2 follow; the rest of the change notification (changed flag, driver
// configuration, recalculation) is the caller's.

#include "TSpkData.h"

class THost;

struct TSpkEntryResult {
    // False: the entry was refused with a beep and nothing changed; the field shows
    // the stored value again.
    bool accepted = true;
};

// value in stored units (the field's entry times its factor).
TSpkEntryResult EnterParameter(TSpkData& unit, TSpkParam param, double value, THost& host);
