#include "filter/TBranchA.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr double kTwoPi = 6.28318530718;
constexpr double kInverseTwoPi = 0.159154943091884854;
// Values a record may hold: the widest limits of any mode.
constexpr double kSmallestValue = 1e-12, kLargestValue = 1e12;

constexpr const char* kPassiveTexts[kPassiveTypes] = {" None",
                                                      " R1",
                                                      " C",
                                                      " R1 + L",
                                                      " R1 + C",
                                                      " R1 + L + C",
                                                      " R1 // (L + R2)",
                                                      " R1 // C",
                                                      " C // (L + R1)",
                                                      " R1 // C // (L + R2)",
                                                      " R1 // (R2 + C)"};
constexpr const char* kActiveTexts[kActiveTypes] = {" None",         " 1st order LP", " 1st order HP",
                                                    " 2nd order LP", " 2nd order HP", " Treble boost",
                                                    " Treble cut",   " Q-boost",      " Q-cut"};

using S = TCompSlot;
// Components in use per type, as bit masks over the slots.
constexpr unsigned Bit(S s) { return 1u << static_cast<unsigned>(s); }
constexpr unsigned kPassiveUse[kPassiveTypes] = {0,
                                                 Bit(S::R1),
                                                 Bit(S::C),
                                                 Bit(S::R1) | Bit(S::L),
                                                 Bit(S::R1) | Bit(S::C),
                                                 Bit(S::R1) | Bit(S::L) | Bit(S::C),
                                                 Bit(S::R1) | Bit(S::L) | Bit(S::R2),
                                                 Bit(S::R1) | Bit(S::C),
                                                 Bit(S::R1) | Bit(S::L) | Bit(S::C),
                                                 Bit(S::R1) | Bit(S::R2) | Bit(S::L) | Bit(S::C),
                                                 Bit(S::R1) | Bit(S::R2) | Bit(S::C)};
constexpr unsigned kActiveUse[kActiveTypes] = {0,
                                               Bit(S::R1) | Bit(S::C1),
                                               Bit(S::R1) | Bit(S::C1),
                                               Bit(S::R1) | Bit(S::R2) | Bit(S::C1) | Bit(S::C2),
                                               Bit(S::R1) | Bit(S::R2) | Bit(S::C1) | Bit(S::C2),
                                               Bit(S::R1) | Bit(S::R2) | Bit(S::C1),
                                               Bit(S::R1) | Bit(S::R2) | Bit(S::C1),
                                               Bit(S::R1) | Bit(S::R2) | Bit(S::C1) | Bit(S::L),
                                               Bit(S::R1) | Bit(S::R2) | Bit(S::C1) | Bit(S::L)};

// Dialog and record order of the components of each mode.
constexpr S kPassiveOrder[4] = {S::R1, S::R2, S::C, S::L};
constexpr S kActiveOrder[5] = {S::R1, S::R2, S::C1, S::C2, S::L};

std::string Format(const char* format, double a)
{
    char text[128];
    std::snprintf(text, sizeof text, format, a);
    return text;
}

std::string Format(const char* format, double a, double b)
{
    char text[128];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

std::string Format(const char* format, double a, double b, double c)
{
    char text[128];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

bool ReadComp(TBinaryReader& in, TBranchASet::TCompValues& c)
{
    std::uint8_t inUse = 0, inOptimisation = 0;
    if (!(in.ReadUInt8(inUse) && in.ReadUInt8(inOptimisation) && in.ReadDouble(c.value)))
        return false;
    c.inUse = inUse != 0;
    c.inOptimisation = inOptimisation != 0;
    return c.value >= kSmallestValue && c.value <= kLargestValue;
}

void WriteComp(TBinaryWriter& out, const TBranchASet::TCompValues& c)
{
    out.WriteUInt8(c.inUse ? 1 : 0);
    out.WriteUInt8(c.inOptimisation ? 1 : 0);
    out.WriteDouble(c.value);
}

TBranchASet::TCompValues ValuesOf(const TCompA& c) { return {c.Value(), c.Kind(), c.inUse, c.inOptimisation}; }
} // namespace

const char* PassiveTypeText(int type) { return type >= 0 && type < kPassiveTypes ? kPassiveTexts[type] : ""; }
const char* ActiveTypeText(int type) { return type >= 0 && type < kActiveTypes ? kActiveTexts[type] : ""; }

TBranchA::TBranchA(int net, int index, TPlacement placement, bool alwaysPassive)
    : index_(index), placement_(placement),
      alwaysPassive_(alwaysPassive), comps_{TCompA(TCompKind::Resistor, net, index, 1),
                                            TCompA(TCompKind::Resistor, net, index, 2),
                                            TCompA(TCompKind::Inductor, net, index, 1),
                                            TCompA(TCompKind::Capacitor, net, index, 1),
                                            TCompA(TCompKind::Capacitor, net, index, 1),
                                            TCompA(TCompKind::Capacitor, net, index, 2)}
{
    Reset();
    FillSlots();
}

void TBranchA::SetPassiveMode(bool passive)
{
    passive_ = passive || alwaysPassive_;
    for (TCompA& c : comps_)
        c.SetPassive(passive_);
    if (type_ >= TypeCount())
        type_ = 0;
    SetInUseFromType();
    MarkDirty();
}

void TBranchA::SetNetworkActive(bool active)
{
    SetPassiveMode(!active);
    Reset();
}

void TBranchA::SetInUseFromType()
{
    const unsigned mask = passive_ ? kPassiveUse[type_] : kActiveUse[type_];
    for (int s = 0; s < kCompSlots; ++s)
        comps_[static_cast<std::size_t>(s)].inUse = (mask >> s) & 1u;
}

bool TBranchA::SetType(int type)
{
    if (type < 0 || type >= TypeCount())
        return false;
    if (type != type_) {
        for (TCompA& c : comps_) {
            c.inOptimisation = false;
            c.MarkDirty();
        }
    }
    type_ = static_cast<std::int16_t>(type);
    SetInUseFromType();
    dirty_ = true;
    return true;
}

const char* TBranchA::TypeText(int type) const { return passive_ ? PassiveTypeText(type) : ActiveTypeText(type); }

std::string TBranchA::Heading() const
{
    return Format(Number() <= 9 ? "* Branch 0%.0f *" : "* Branch %.0f *", Number());
}

std::string TBranchA::TypeLine() const
{
    if (type_ != 0)
        return TypeText(type_);
    if (!passive_)
        return " Nothing";
    return placement_ == TPlacement::Series ? " Short circuit" : " Open circuit";
}

std::string TBranchA::CharacteristicText() const
{
    const double r1 = Comp(S::R1).Value(), r2 = Comp(S::R2).Value(), l = Comp(S::L).Value();
    if (passive_) {
        const double c = Comp(S::C).Value();
        const double resonance = kInverseTwoPi / std::sqrt(l * c);
        switch (static_cast<TPassiveType>(type_)) {
        case TPassiveType::R1PlusL:
        case TPassiveType::R1ParLPlusR2: return Format("Fc = %1.0f Hz", r1 * kInverseTwoPi / l);
        case TPassiveType::R1PlusC:
        case TPassiveType::R1ParC:
        case TPassiveType::R1ParR2PlusC: return Format("Fc = %1.0f Hz", kInverseTwoPi / (r1 * c));
        case TPassiveType::CParLPlusR1: return Format("Fc = %1.0f Hz", resonance);
        case TPassiveType::R1PlusLPlusC:
            return Format("Fc = %1.0f Hz\nQ  = %1.1f", resonance, kTwoPi * resonance * l / r1);
        case TPassiveType::R1ParCParLPlusR2:
            return Format("Fc = %1.0f Hz\nQ  = %1.1f", resonance, r1 / (kTwoPi * resonance * l));
        default: return {};
        }
    }
    const double c1 = Comp(S::C1).Value(), c2 = Comp(S::C2).Value();
    const double ratio = r1 / (r1 + r2);
    switch (static_cast<TActiveType>(type_)) {
    case TActiveType::FirstOrderLowPass:
    case TActiveType::FirstOrderHighPass: return Format("Fc=%1.0f Hz", kInverseTwoPi / (r1 * c1));
    case TActiveType::SecondOrderLowPass:
    case TActiveType::SecondOrderHighPass: {
        const double w0 = 1.0 / std::sqrt(r1 * r2 * c1 * c2);
        const double q = type_ == static_cast<int>(TActiveType::SecondOrderLowPass) ? 1.0 / (w0 * (r1 + r2) * c2)
                                                                                    : 1.0 / (w0 * (c1 + c2) * r1);
        return Format("Fc=\t%1.0f Hz\nQ=\t%1.1f", w0 * kInverseTwoPi, q);
    }
    case TActiveType::TrebleBoost:
        return Format("Fo=\t%1.0f Hz %+1.1fdB max amp.", kInverseTwoPi / (r2 * c1), -20.0 * std::log10(ratio));
    case TActiveType::TrebleCut:
        return Format("Fo=\t%1.0f Hz %+1.1fdB max att.", kInverseTwoPi / (r2 * c1), 20.0 * std::log10(ratio));
    case TActiveType::QBoost:
    case TActiveType::QCut: {
        const double w0 = 1.0 / std::sqrt(l * c1);
        const bool boost = type_ == static_cast<int>(TActiveType::QBoost);
        return Format(boost ? "Fo=\t%1.0f Hz %+1.1fdB at Fo\nQ=\t%1.1f" : "Fo=\t%1.0f Hz %+1.1fdB at Fo\nQ=\t%1.1f\n",
                      w0 * kInverseTwoPi, (boost ? -20.0 : 20.0) * std::log10(ratio), w0 * l / r1);
    }
    default: return {};
    }
}

int TBranchA::ListedComponents(std::array<TCompA*, kMaxListed>& list)
{
    int n = 0;
    const S* order = passive_ ? kPassiveOrder : kActiveOrder;
    const int count = passive_ ? 4 : 5;
    for (int k = 0; k < count; ++k)
        if (Comp(order[k]).inUse)
            list[static_cast<std::size_t>(n++)] = &Comp(order[k]);
    return n;
}

int TBranchA::ListedComponents(std::array<const TCompA*, kMaxListed>& list) const
{
    std::array<TCompA*, kMaxListed> mutableList{};
    const int n = const_cast<TBranchA*>(this)->ListedComponents(mutableList);
    for (int k = 0; k < n; ++k)
        list[static_cast<std::size_t>(k)] = mutableList[static_cast<std::size_t>(k)];
    return n;
}

void TBranchA::Reset()
{
    type_ = 0;
    for (TCompA& c : comps_) {
        c.Reset();
        c.inOptimisation = false;
    }
    SetInUseFromType();
    dirty_ = true;
}

bool TBranchA::Dirty() const
{
    if (dirty_)
        return true;
    for (const TCompA& c : comps_)
        if (c.Dirty())
            return true;
    return false;
}

void TBranchA::MarkDirty()
{
    dirty_ = true;
    for (TCompA& c : comps_)
        c.MarkDirty();
}

TComplex TBranchA::ImpedanceAt(double omega) const
{
    const TComplex r1(Comp(S::R1).Value(), 0.0), r2(Comp(S::R2).Value(), 0.0);
    const TComplex zl(0.0, omega * Comp(S::L).Value());
    const TComplex zc = DivComplex(1.0, TComplex(0.0, omega * Comp(S::C).Value()));
    switch (static_cast<TPassiveType>(type_)) {
    case TPassiveType::None: return placement_ == TPlacement::Series ? TComplex{} : TComplex(1e12, 0.0);
    case TPassiveType::R1: return r1;
    case TPassiveType::C: return zc;
    case TPassiveType::R1PlusL: return r1 + zl;
    case TPassiveType::R1PlusC: return r1 + zc;
    case TPassiveType::R1PlusLPlusC: return r1 + zl + zc;
    case TPassiveType::R1ParLPlusR2: return ParallelOf(r1, zl + r2);
    case TPassiveType::R1ParC: return ParallelOf(r1, zc);
    case TPassiveType::CParLPlusR1: return ParallelOf(zl + r1, zc);
    case TPassiveType::R1ParCParLPlusR2: return ParallelOf(ParallelOf(zl + r2, zc), r1);
    case TPassiveType::R1ParR2PlusC: return ParallelOf(r2 + zc, r1);
    }
    return {};
}

TComplex TBranchA::TransferAt(double omega) const
{
    const double r1 = Comp(S::R1).Value(), r2 = Comp(S::R2).Value(), l = Comp(S::L).Value();
    const double c1 = Comp(S::C1).Value(), c2 = Comp(S::C2).Value();
    const TComplex s(0.0, omega);
    switch (static_cast<TActiveType>(type_)) {
    case TActiveType::None: return {1.0, 0.0};
    case TActiveType::FirstOrderLowPass:
    case TActiveType::FirstOrderHighPass: {
        // x = f / fc with fc = 1 / (2 pi R1 C1): the constant is the one the texts use.
        const double x = omega * kInverseTwoPi * r1 * kTwoPi * c1;
        const TComplex jx(0.0, x);
        const TComplex h = DivComplex(1.0, TComplex(1.0, x));
        return type_ == static_cast<int>(TActiveType::FirstOrderLowPass) ? h : MulComplex(jx, h);
    }
    case TActiveType::SecondOrderLowPass: {
        const TComplex den = 1.0 + s * ((r1 + r2) * c2) - omega * omega * (r1 * r2 * c1 * c2);
        return DivComplex(1.0, den);
    }
    case TActiveType::SecondOrderHighPass: {
        const double s2 = -omega * omega * (r1 * r2 * c1 * c2);
        const TComplex den = 1.0 + s * ((c1 + c2) * r1) + s2;
        return DivComplex(TComplex(s2, 0.0), den);
    }
    case TActiveType::TrebleBoost:
    case TActiveType::TrebleCut:
    case TActiveType::QBoost:
    case TActiveType::QCut: {
        const bool resonant = type_ >= static_cast<int>(TActiveType::QBoost);
        // R1 + sL + 1/(sC1): the divider's leg without R2.
        TComplex leg = r1 + DivComplex(1.0, s * c1);
        if (resonant)
            leg += s * l;
        const TComplex full = leg + r2;
        const bool boost = type_ == static_cast<int>(TActiveType::TrebleBoost) ||
                           type_ == static_cast<int>(TActiveType::QBoost);
        return boost ? DivComplex(full, leg) : DivComplex(leg, full);
    }
    }
    return {1.0, 0.0};
}

void TBranchA::Update(const TFilterGrid& grid)
{
    if (!Dirty())
        return;
    const auto& omegas = grid.Omegas();
    if (passive_) {
        for (std::size_t i = 0; i < impedance_.size(); ++i)
            impedance_[i] = ImpedanceAt(omegas[i]);
    } else {
        for (std::size_t i = 0; i < transfer_.size(); ++i)
            transfer_[i] = TransferAt(omegas[i]);
    }
    dirty_ = false;
    for (TCompA& c : comps_)
        c.MarkClean();
}

void TBranchA::Store(int slot)
{
    TBranchASet& set = slots_[static_cast<std::size_t>(std::clamp(slot, 0, kSlots - 1))];
    for (int s = 0; s < kCompSlots; ++s)
        set.comps[static_cast<std::size_t>(s)] = ValuesOf(comps_[static_cast<std::size_t>(s)]);
    set.type = type_;
}

void TBranchA::Recall(int slot)
{
    const TBranchASet& set = slots_[static_cast<std::size_t>(std::clamp(slot, 0, kSlots - 1))];
    type_ = set.type >= 0 && set.type < TypeCount() ? set.type : std::int16_t{0};
    for (int s = 0; s < kCompSlots; ++s) {
        TCompA& c = comps_[static_cast<std::size_t>(s)];
        const TBranchASet::TCompValues& v = set.comps[static_cast<std::size_t>(s)];
        c.Restore(std::clamp(v.value, c.Minimum(), c.Maximum()));
        c.inOptimisation = v.inOptimisation;
    }
    SetInUseFromType();
    for (TCompA& c : comps_)
        c.inOptimisation = c.inOptimisation && c.inUse;
    MarkDirty();
}

void TBranchA::FillSlots()
{
    for (int s = 0; s < kSlots; ++s)
        Store(s);
}

std::size_t TBranchA::RecordSize(int version, bool passive)
{
    const std::size_t slots = version >= 410 ? kSlots * kSlotRecordSize : 0;
    return slots + 2 + (passive ? 4 : 5) * TCompA::kRecordSize;
}

void TBranchA::WriteAs(TBinaryWriter& out, int version) const
{
    for (const TBranchASet& set : slots_) {
        if (version < 410)
            break;
        for (const auto& c : set.comps)
            WriteComp(out, c);
        out.WriteInt16(set.type);
    }
    out.WriteInt16(type_);
    const S* order = passive_ ? kPassiveOrder : kActiveOrder;
    const int count = passive_ ? 4 : 5;
    for (int k = 0; k < count; ++k)
        WriteComp(out, ValuesOf(Comp(order[k])));
}

bool TBranchA::Read(TBinaryReader& in, int version, bool passive, TBranchARecord& record)
{
    // The record leaves the kinds out: they follow from the component's place.
    static constexpr TCompKind kKinds[kCompSlots] = {TCompKind::Resistor,  TCompKind::Resistor,  TCompKind::Inductor,
                                                     TCompKind::Capacitor, TCompKind::Capacitor, TCompKind::Capacitor};
    for (TBranchASet* set : {&record.current, &record.slots[0], &record.slots[1], &record.slots[2], &record.slots[3]})
        for (int k = 0; k < kCompSlots; ++k)
            set->comps[static_cast<std::size_t>(k)].kind = kKinds[k];
    record.hasSlots = version >= 410;
    if (record.hasSlots) {
        for (TBranchASet& set : record.slots) {
            for (auto& c : set.comps)
                if (!ReadComp(in, c))
                    return false;
            // The slot's mode is the net set's: either list may be meant.
            if (!in.ReadInt16(set.type) || set.type < 0 || set.type >= kPassiveTypes)
                return false;
        }
    }
    if (!in.ReadInt16(record.current.type) || record.current.type < 0 ||
        record.current.type >= (passive ? kPassiveTypes : kActiveTypes))
        return false;
    const S* order = passive ? kPassiveOrder : kActiveOrder;
    const int count = passive ? 4 : 5;
    for (int k = 0; k < count; ++k)
        if (!ReadComp(in, record.current.comps[static_cast<std::size_t>(order[k])]))
            return false;
    return true;
}

void TBranchA::Apply(const TBranchARecord& record, bool passive)
{
    passive_ = passive || alwaysPassive_;
    for (TCompA& c : comps_) {
        c.SetPassive(passive_);
        c.Reset();
        c.inOptimisation = false;
    }
    const S* order = passive_ ? kPassiveOrder : kActiveOrder;
    const int count = passive_ ? 4 : 5;
    for (int k = 0; k < count; ++k) {
        TCompA& c = Comp(order[k]);
        const TBranchASet::TCompValues& v = record.current.comps[static_cast<std::size_t>(order[k])];
        c.Restore(std::clamp(v.value, c.Minimum(), c.Maximum()));
        c.inOptimisation = v.inOptimisation;
    }
    type_ = record.current.type < TypeCount() ? record.current.type : std::int16_t{0};
    SetInUseFromType();
    for (TCompA& c : comps_)
        c.inOptimisation = c.inOptimisation && c.inUse;
    if (record.hasSlots)
        slots_ = record.slots;
    MarkDirty();
}
