// The design calculators behind the network dialog's "Calc" buttons, and the rule that
// turns typed component values into branch types.
#include "filter/TNet.h"

#include <cmath>

namespace {
struct TCoefficients {
    double g, h, b, a;
};

// Normalised ladder elements by order, from the amplifier towards the load; an order
// outside 1..4 designs with the first-order row.
TCoefficients CoefficientsOf(int order)
{
    switch (order) {
    case 2: return {1.414, 0.707, 1.0, 1.0};
    case 3: return {1.5, 1.333, 0.5, 1.0};
    case 4: return {1.531, 1.577, 1.082, 0.383};
    default: return {1.0, 1.0, 1.0, 1.0};
    }
}

constexpr double kTwoPi = 6.283185307179586;
using T = TBranchType;

bool Even(int k) { return k % 2 == 0; }
} // namespace

double TNet::DesignLoad() const
{
    if (driverCount != 2)
        return re;
    return seriesConnection ? 2.0 * re : re / 2.0;
}

void TNet::CalcLowPass()
{
    const double r = DesignLoad();
    const double w = kTwoPi * lowPassCutoff;
    const TCoefficients k = CoefficientsOf(lowPassOrder);
    Branch(0).L().value = k.g * r / w;
    Branch(1).C().value = k.h / (r * w);
    Branch(2).L().value = k.b * r / w;
    Branch(3).C().value = k.a / (r * w);
    if (lowPassOrder >= 1 && lowPassOrder <= 3) {
        Branch(3).C().value = 0.0;
        if (lowPassOrder <= 2)
            Branch(2).L().value = 0.0;
        if (lowPassOrder == 1)
            Branch(1).C().value = 0.0;
    }
    // A branch that also holds the high-pass element (the midrange's interleaved ladder)
    // keeps it beside the low-pass one, or falls back to it beyond the order.
    for (int b = 0; b < 4; ++b) {
        const T type = Branch(b).Type();
        const bool holdsHighPass = Even(b) ? (type == T::C || type == T::LPlusC) : (type == T::L || type == T::LParC);
        T next = T::None;
        if (b < lowPassOrder)
            next = Even(b) ? (holdsHighPass ? T::LPlusC : T::L) : (holdsHighPass ? T::LParC : T::C);
        else if (holdsHighPass)
            next = Even(b) ? T::C : T::L;
        Branch(b).SetType(next);
    }
    MarkDirty();
}

void TNet::CalcHighPass()
{
    const double r = DesignLoad();
    const double w = kTwoPi * highPassCutoff;
    const TCoefficients k = CoefficientsOf(highPassOrder);
    Branch(0).C().value = 1.0 / (k.g * r * w);
    Branch(1).L().value = r / (k.h * w);
    Branch(2).C().value = 1.0 / (k.b * r * w);
    Branch(3).L().value = r / (k.a * w);
    if (highPassOrder >= 1 && highPassOrder <= 3) {
        Branch(3).L().value = 0.0;
        if (highPassOrder <= 2)
            Branch(2).C().value = 0.0;
        if (highPassOrder == 1)
            Branch(1).L().value = 0.0;
    }
    for (int b = 0; b < 4; ++b) {
        const T type = Branch(b).Type();
        const bool holdsLowPass = Even(b) ? (type == T::L || type == T::LPlusC) : (type == T::C || type == T::LParC);
        T next = T::None;
        if (b < highPassOrder)
            next = Even(b) ? (holdsLowPass ? T::LPlusC : T::C) : (holdsLowPass ? T::LParC : T::L);
        else if (holdsLowPass)
            next = Even(b) ? T::L : T::C;
        Branch(b).SetType(next);
    }
    MarkDirty();
}

void TNet::CalcAttenuator()
{
    TBranch& series = Branch(kPadSeries);
    TBranch& shunt = Branch(kPadShunt);
    if (attenuation > 0.0) {
        // Constant input resistance Re: the series part drops the voltage, the shunt part
        // brings the parallel with the driver back up to Re.
        const double k = std::pow(10.0, 0.05 * attenuation);
        series.R().value = (k - 1.0) * re / k;
        shunt.R().value = 1.0 / (1.0 / (re - series.R().value) - 1.0 / re);
        series.SetType(T::R);
        shunt.SetType(T::R);
    } else {
        series.R().value = 0.0;
        shunt.R().value = 0.0;
        series.SetType(T::None);
        shunt.SetType(T::None);
    }
    MarkDirty();
}

void TNet::CalcZobel()
{
    TBranch& zobel = Branch(kZobel);
    double r = re;
    double c = le / (re * re);
    if (driverCount == 2) {
        const double factor = seriesConnection ? 2.0 : 0.5;
        r *= factor;
        c /= factor;
    }
    zobel.R().value = r;
    zobel.C().value = c;
    zobel.SetType(T::RPlusC);
    MarkDirty();
}

void TNet::SetComponentValue(int branch, TCompKind kind, double value)
{
    if (branch < 0 || branch >= kBranches || !std::isfinite(value))
        return;
    TBranch& b = Branch(branch);
    TComp& comp = kind == TCompKind::Resistor ? b.R() : kind == TCompKind::Capacitor ? b.C() : b.L();
    const double before = comp.value;
    comp.value = value;
    MarkDirty();
    if (before != 0.0 && value != 0.0)
        return; // same parts, another value
    const bool r = b.R().value != 0.0, l = b.L().value != 0.0, c = b.C().value != 0.0;
    T type = T::None;
    if (branch < 4) {
        if (c && l)
            type = Even(branch) ? T::LPlusC : T::LParC;
        else if (c)
            type = T::C;
        else if (l)
            type = T::L;
    } else if (branch == kNotch) {
        if (r && l && c)
            type = T::RParLParC;
        else if (r && c)
            type = T::RParC;
        else if (r && l)
            type = T::RParL;
        else if (c && l)
            type = T::LParC;
        else if (c)
            type = T::C;
        else if (l)
            type = T::L;
        else if (r)
            type = T::R;
    } else if (branch == kZobel) {
        type = r && c ? T::RPlusC : T::None;
    } else {
        type = r ? T::R : T::None;
    }
    b.SetType(type);
}

void TNet::SetCoilResistance(int branch, double ohms)
{
    if (branch < 0 || branch >= kBranches || !std::isfinite(ohms) || ohms < 0.0)
        return;
    Branch(branch).L().seriesResistance = ohms;
    MarkDirty();
}
