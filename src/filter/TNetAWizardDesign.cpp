#include "filter/TNetAWizardDesign.h"

#include "filter/TBranchA.h"
#include "filter/TNetA.h"

#include <algorithm>

namespace wizard {
namespace {

constexpr double kTwoPi = 6.28318530718;

// Normalised Butterworth ladder elements (g values) per order, from the amplifier side.
constexpr double kLadder[kMaxOrder + 1][kMaxOrder] = {
    {0, 0, 0, 0}, {1.0, 0, 0, 0}, {1.414, 0.707, 0, 0}, {1.5, 1.333, 0.5, 0}, {1.531, 1.577, 1.082, 0.383}};

// The op-amp sections: equal resistors (low-pass) or equal capacitors (high-pass), a
// larger value below 100 Hz so the other parts stay practical.
constexpr double kLowCutoff = 100.0;
constexpr double kResistor = 10000.0, kLowResistor = 470000.0;
constexpr double kCapacitor = 1e-8, kLowCapacitor = 4.7e-7;

// A second-order section by its 2Q and (2Q)^2 (rounded as the Butterworth Q values
// 0.707, 1, 0.541 and 1.307 are).
struct TQ {
    double twoQ, twoQSquared;
};
constexpr TQ kQ0707{2 * 0.707, 1.999396}, kQ1{2 * 1.0, 4.0}, kQ0541{2 * 0.541, 1.170724}, kQ1307{2 * 1.307, 6.832996};

int Order(int order) { return std::clamp(order, 0, kMaxOrder); }
double Cutoff(int hz) { return std::clamp(hz, kMinCutoff, kMaxCutoff); }

// Values the component cannot hold (a tiny coil for a very low load at a high cutoff)
// are taken to its nearest limit.
void Put(TCompA& comp, double value)
{
    comp.SetValue(std::clamp(value, comp.Minimum(), comp.Maximum()));
    comp.MarkDirty();
}

void FirstOrder(TBranchA& b, bool lowPass, double w, double fc)
{
    using S = TCompSlot;
    if (lowPass) {
        const double r = fc < kLowCutoff ? kLowResistor : kResistor;
        b.SetType(static_cast<int>(TActiveType::FirstOrderLowPass));
        Put(b.Comp(S::R1), r);
        Put(b.Comp(S::C1), 1.0 / (w * r));
    } else {
        const double c = fc < kLowCutoff ? kLowCapacitor : kCapacitor;
        b.SetType(static_cast<int>(TActiveType::FirstOrderHighPass));
        Put(b.Comp(S::C1), c);
        Put(b.Comp(S::R1), 1.0 / (w * c));
    }
    b.MarkDirty();
}

void SecondOrder(TBranchA& b, bool lowPass, double w, double fc, TQ q)
{
    using S = TCompSlot;
    if (lowPass) {
        const double r = fc < kLowCutoff ? kLowResistor : kResistor;
        const double c2 = 1.0 / (w * r * q.twoQ);
        b.SetType(static_cast<int>(TActiveType::SecondOrderLowPass));
        Put(b.Comp(S::R1), r);
        Put(b.Comp(S::R2), r);
        Put(b.Comp(S::C2), c2);
        Put(b.Comp(S::C1), q.twoQSquared * c2);
    } else {
        const double c = fc < kLowCutoff ? kLowCapacitor : kCapacitor;
        const double r1 = 1.0 / (w * c * q.twoQ);
        b.SetType(static_cast<int>(TActiveType::SecondOrderHighPass));
        Put(b.Comp(S::C1), c);
        Put(b.Comp(S::C2), c);
        Put(b.Comp(S::R1), r1);
        Put(b.Comp(S::R2), q.twoQSquared * r1);
    }
    b.MarkDirty();
}

} // namespace

int PassiveInsertionCount(const TNetAWizardSettings& s)
{
    return std::max(Order(s.lowPassOrder), Order(s.highPassOrder)) < 3 ? 4 : 3;
}

int ActiveInsertionCount(const TNetAWizardSettings& s) { return Order(s.order) < 3 ? 7 : 6; }

int PassiveInsertionIndex(const TNetAWizardSettings& s)
{
    int k = std::max<int>(s.insertion, 0);
    if (k > 3)
        k /= 2;
    return std::min(k, PassiveInsertionCount(s) - 1);
}

int ActiveInsertionIndex(const TNetAWizardSettings& s)
{
    return std::clamp<int>(s.insertion, 0, ActiveInsertionCount(s) - 1);
}

TLadderElement LowPassElement(int order, int i, double fc, double load)
{
    const double g = kLadder[Order(order)][std::clamp(i, 0, kMaxOrder - 1)];
    const double w = kTwoPi * fc;
    // Series coils and shunt capacitors, starting with a coil.
    if (i % 2 == 0)
        return {true, g * load / w};
    return {false, g / (load * w)};
}

TLadderElement HighPassElement(int order, int i, double fc, double load)
{
    const double g = kLadder[Order(order)][std::clamp(i, 0, kMaxOrder - 1)];
    const double w = kTwoPi * fc;
    // Series capacitors and shunt coils, starting with a capacitor.
    if (i % 2 == 0)
        return {false, 1.0 / (g * load * w)};
    return {true, load / (g * w)};
}

bool ApplyPassive(TNetA& net, const TNetAWizardSettings& s)
{
    if (net.Active())
        return false;
    using S = TCompSlot;
    const int nL = Order(s.lowPassOrder), nH = Order(s.highPassOrder);
    const double load = std::clamp(s.nominalLoad, kMinLoad, kMaxLoad);
    const int first = 2 * PassiveInsertionIndex(s);
    for (int i = 0; i < std::max(nL, nH); ++i) {
        TBranchA* b = net.Branch(first + i);
        if (!b || first + i >= TNetA::kLadder)
            break;
        double coil = 0.0, cap = 0.0;
        for (const TLadderElement& e :
             {i < nL ? LowPassElement(nL, i, Cutoff(s.lowPassCutoff), load) : TLadderElement{},
              i < nH ? HighPassElement(nH, i, Cutoff(s.highPassCutoff), load) : TLadderElement{}}) {
            if (e.value <= 0.0)
                continue;
            (e.inductor ? coil : cap) = e.value;
        }
        TPassiveType type = TPassiveType::R1PlusL;
        if (coil > 0.0 && cap > 0.0)
            type = b->Placement() == TPlacement::Series ? TPassiveType::R1PlusLPlusC : TPassiveType::CParLPlusR1;
        else if (cap > 0.0)
            type = TPassiveType::C;
        b->SetType(static_cast<int>(type));
        if (coil > 0.0) {
            Put(b->Comp(S::R1), kCoilResistance);
            Put(b->Comp(S::L), coil);
        }
        if (cap > 0.0)
            Put(b->Comp(S::C), cap);
        b->MarkDirty();
    }
    return true;
}

bool ApplyActive(TNetA& net, const TNetAWizardSettings& s)
{
    if (!net.Active())
        return false;
    const int n = Order(s.order);
    const double fc = Cutoff(s.cutoff);
    const double w = kTwoPi * fc;
    const bool lowPass = s.lowPass != 0;
    const int at = ActiveInsertionIndex(s);
    TBranchA* b = net.Branch(at);
    TBranchA* next = net.Branch(at + 1);
    if (!b || (n >= 3 && (!next || at + 1 >= TNetA::kLadder)))
        return false;
    switch (n) {
    case 0:
        b->SetType(static_cast<int>(TActiveType::None));
        b->MarkDirty();
        break;
    case 1: FirstOrder(*b, lowPass, w, fc); break;
    case 2: SecondOrder(*b, lowPass, w, fc, kQ0707); break;
    case 3:
        SecondOrder(*b, lowPass, w, fc, kQ1);
        FirstOrder(*next, lowPass, w, fc);
        break;
    default:
        SecondOrder(*b, lowPass, w, fc, kQ0541);
        SecondOrder(*next, lowPass, w, fc, kQ1307);
        break;
    }
    return true;
}

} // namespace wizard
