#pragma once
// Advanced networks without a project: building branches from values, and reading the
// results at a frequency.

#include "NetTestSupport.h"
#include "filter/TNetA.h"
#include "measdata/TResponseAtPosition.h"

#include <initializer_list>
#include <utility>

namespace netatest {

using nettest::FakeProject;
using nettest::LevelDb;
using nettest::NearestPoint;
using S = TCompSlot;

// Sets a branch to a type and its components to values (SI); false when any is refused.
inline bool SetBranch(TNetA& net, int position, int type, std::initializer_list<std::pair<S, double>> values)
{
    TBranchA* b = net.Branch(position);
    if (!b || !b->SetType(type))
        return false;
    for (const auto& [slot, value] : values)
        if (!b->Comp(slot).SetValue(value))
            return false;
    return true;
}

inline double PhaseDeg(const TComplex& z) { return std::arg(z) * 57.29577951308232; }

// The smallest coil resistance the passive R1 + L allows, so "an inductor" is nearly one.
inline constexpr double kWire = 0.01;

} // namespace netatest
