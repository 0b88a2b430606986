#pragma once
// The measured drivers of the filter benchmarks: the 10" woofer on the bass network,
// the 1" tweeter on the treble one and, when asked, the 4.5" mid on the mid network.

#include "filter/TNet.h"
#include "filter/TXover.h"
#include "measdata/TMeasCurveReader.h"

#include <string>

inline const std::string kMeasuredFolder = TONVEK_REFDATA "/measured/";

inline void LoadMeasuredDrivers(TXover& p, bool withMid = false)
{
    (void)p.Net(0).SetMeasFile(0, TMeasKind::Spl, kMeasuredFolder + "DCS255-4@0.frd");
    (void)p.Net(0).SetMeasFile(0, TMeasKind::Impedance, kMeasuredFolder + "DCS255-4.zma");
    if (withMid)
        (void)p.Net(1).SetMeasFile(0, TMeasKind::Spl, kMeasuredFolder + "TCP115-8@0.frd");
    (void)p.Net(2).SetMeasFile(0, TMeasKind::Spl, kMeasuredFolder + "ND25FA-4@0.frd");
    (void)p.Net(2).SetMeasFile(0, TMeasKind::Impedance, kMeasuredFolder + "ND25FA-4.zma");
}
