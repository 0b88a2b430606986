#pragma once
// What a simple network needs from the filter project that holds it, beyond what its
// measured curves need (host, program context with the general settings, changed flag,
// recalculation): the version of the file its record is read from.

#include "measdata/TMeasDataOwner.h"

class TNetOwner : public TMeasDataOwner {
public:
    virtual int FileVersion() const = 0;
};
