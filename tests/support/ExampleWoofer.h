#pragma once
// The 6.5" woofer of the reference driver table (tests/data/refdata/drivers.csv, row
// seas_w16nx001) from the six parameters a data sheet always gives; the rest derived.

#include "driver/TSpkCalcMissing.h"
#include "driver/TSpkData.h"

inline void FillExampleWoofer(TSpkData& u, double le = 0.0)
{
    u.Clear();
    u.fs = 39.0;
    u.Qms = 2.16;
    u.Qes = 0.41;
    u.Vas = 0.014;
    u.Re = 6.2;
    u.Cms = 1.2e-3;
    u.Le = le;
    CalcMissingFields(u);
    u.UpdateSquares();
}
