#include "filter/TBranch.h"

#include <algorithm>

namespace {
// Below this a capacitor is treated as this small: 1/(jwC) stays finite and its square
// far from overflow, so an empty capacitor reads as an open circuit.
constexpr double kSmallestCapacitance = 1e-18;

bool UsesR(TBranchType t)
{
    return t == TBranchType::R || t == TBranchType::RPlusC || t == TBranchType::RParL || t == TBranchType::RParC ||
           t == TBranchType::RParLParC;
}
bool UsesL(TBranchType t)
{
    return t == TBranchType::L || t == TBranchType::LPlusC || t == TBranchType::LParC || t == TBranchType::RParL ||
           t == TBranchType::RParLParC;
}
bool UsesC(TBranchType t)
{
    return t == TBranchType::C || t == TBranchType::RPlusC || t == TBranchType::LPlusC || t == TBranchType::LParC ||
           t == TBranchType::RParC || t == TBranchType::RParLParC;
}
} // namespace

const char* BranchTypeText(TBranchType type)
{
    static constexpr const char* kTexts[kBranchTypes] = {" None",  " R",      " L",      " C",      " R + C",
                                                         " L + C", " L // C", " R // L", " R // C", " R // L // C"};
    const int i = static_cast<int>(type);
    return i >= 0 && i < kBranchTypes ? kTexts[i] : "";
}

TComplex ParallelOf(const TComplex& a, const TComplex& b)
{
    const TComplex sum = a + b;
    if (SquaredMagnitudeOf(sum) < 1e-200) {
        if (SquaredMagnitudeOf(a) < 1e-200 || SquaredMagnitudeOf(b) < 1e-200)
            return {};
        return {kOpenCircuit, 0.0};
    }
    return DivComplex(MulComplex(a, b), sum);
}

TBranch::TBranch(int net, int index, TPlacement placement)
    : index_(index), placement_(placement), resistor_(TCompKind::Resistor, net, index + 1),
      inductor_(TCompKind::Inductor, net, index + 1), capacitor_(TCompKind::Capacitor, net, index + 1)
{}

void TBranch::SetType(TBranchType type)
{
    type_ = type;
    resistor_.inUse = UsesR(type);
    inductor_.inUse = UsesL(type);
    capacitor_.inUse = UsesC(type);
    dirty_ = true;
}

TComplex TBranch::ImpedanceAt(double omega) const
{
    const double r = resistor_.value;
    const TComplex zl(inductor_.seriesResistance, omega * inductor_.value);
    const TComplex zc(0.0, -1.0 / (omega * std::max(capacitor_.value, kSmallestCapacitance)));
    switch (type_) {
    case TBranchType::None: return placement_ == TPlacement::Series ? TComplex() : TComplex(kOpenCircuit, 0.0);
    case TBranchType::R: return {r, 0.0};
    case TBranchType::L: return zl;
    case TBranchType::C: return zc;
    case TBranchType::RPlusC: return zc + r;
    case TBranchType::LPlusC: return zl + zc;
    case TBranchType::LParC: return ParallelOf(zl, zc);
    case TBranchType::RParL: return ParallelOf(TComplex(r, 0.0), zl);
    case TBranchType::RParC: return ParallelOf(TComplex(r, 0.0), zc);
    case TBranchType::RParLParC: return ParallelOf(ParallelOf(TComplex(r, 0.0), zl), zc);
    }
    return {};
}

void TBranch::Update(const TFilterGrid& grid)
{
    if (!dirty_)
        return;
    const auto& omegas = grid.Omegas();
    for (std::size_t i = 0; i < impedance_.size(); ++i)
        impedance_[i] = ImpedanceAt(omegas[i]);
    dirty_ = false;
}

void TBranch::Write(TBinaryWriter& out) const
{
    out.WriteInt16(static_cast<std::int16_t>(type_));
    resistor_.Write(out);
    capacitor_.Write(out);
    inductor_.Write(out);
}
