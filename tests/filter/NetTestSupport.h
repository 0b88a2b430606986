#pragma once
// A filter project reduced to what a simple network asks of it, and ideal networks to
// test the physics with.

#include "filter/TNet.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <cmath>
#include <initializer_list>
#include <string>

namespace nettest {

class FakeProject : public TNetOwner {
public:
    explicit FakeProject(const std::string& folder = "./") : context(folder) {}
    THost& Host() override { return host; }
    const TProgramContext& Context() const override { return context; }
    void MarkChanged() override { ++changed; }
    void Recalculate() override { ++recalculated; }
    int FileVersion() const override { return version; }

    const TFilterGrid& Grid() const { return context.General().FilterGrid(); }
    TGeneral& General() { return context.General(); }
    // Surface rays besides the on-axis one (the settings keep them in descending order).
    void AddRays(std::initializer_list<int> angles)
    {
        for (int a : angles)
            General().AddSurfaceRay(a);
    }

    TProgramContext context; // on axis only until rays are added
    THeadlessHost host;
    int version = 410;
    int changed = 0;
    int recalculated = 0;
};

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
