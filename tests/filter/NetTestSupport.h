#pragma once
// A filter project reduced to what a simple network asks of it, and ideal networks to
// test the physics with.

#include "filter/TDetachedNetOwner.h"
#include "filter/TNet.h"

#include <cmath>
#include <initializer_list>
#include <string>

namespace nettest {

using FakeProject = TDetachedNetOwner;

// The grid point nearest f.
inline int NearestPoint(const TFilterGrid& grid, double f)
{
    int best = 0;
    for (int i = 1; i < grid.Count(); ++i)
        if (std::fabs(std::log(grid.Frequency(i) / f)) < std::fabs(std::log(grid.Frequency(best) / f)))
            best = i;
    return best;
}

// A network designed by its calculators for an ideal 8 ohm driver: Re 8, Rex 0, Le 1 mH
// with its Zobel, coils without resistance, no pad and no notch.
inline void MakeIdeal(TNet& net, int lowPassOrder, int highPassOrder, double fc)
{
    net.re = 8.0;
    net.rex = 0.0;
    net.le = 0.001;
    net.lowPassOrder = net.HasLowPass() ? lowPassOrder : 0;
    net.highPassOrder = net.HasHighPass() ? highPassOrder : 0;
    net.lowPassCutoff = fc;
    net.highPassCutoff = fc;
    if (net.HasLowPass())
        net.CalcLowPass();
    if (net.HasHighPass())
        net.CalcHighPass();
    net.CalcZobel();
    for (int b = 0; b < TNet::kBranches; ++b)
        net.SetCoilResistance(b, 0.0);
}

inline double LevelDb(const TComplex& z) { return 10.0 * std::log10(std::norm(z)); }

} // namespace nettest
