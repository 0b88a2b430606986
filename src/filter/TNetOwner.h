#pragma once
// What a simple network needs from the filter project that holds it, beyond what its
// measured curves need (host, program context, changed flag, recalculation): the file
// version its record is read with and the rays it computes.

#include "filter/TNetBase.h"
#include "measdata/TMeasDataOwner.h"
#include "measdata/TResponseAtPosition.h"

#include <array>

// The surface-plot ray list as a network computes it: the angles (degrees), which of
// them is on axis, whether off-axis rays are skipped ("Inhibit"), and how a driver's
// response reaches the listener.
struct TNetRays {
    std::array<double, TNetBase::kMaxRays> angles{};
    int count = 1;
    int onAxis = 0;
    bool inhibit = false;
    TListeningSetup listening;
};

class TNetOwner : public TMeasDataOwner {
public:
    // The version of the project file being read.
    virtual int FileVersion() const = 0;
    virtual TNetRays Rays() const = 0;
};
