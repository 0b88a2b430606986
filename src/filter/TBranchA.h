#pragma once
// One branch position of an advanced network. In a passive network (and always in the
// shunt branches across the drivers, positions 10-13) it is a two-terminal impedance of
// up to four components; in an active network it is a filter section with a transfer.
// Its vector is recomputed only when it or one of its components is dirty.

#include "filter/TBranch.h"
#include "filter/TCompA.h"
#include "filter/TNetBase.h"

#include <array>
#include <cstdint>
#include <string>

// Passive types: the impedance each branch type stands for.
enum class TPassiveType : std::int16_t {
    None = 0, // short circuit in series, open circuit across
    R1 = 1,
    C = 2,
    R1PlusL = 3,
    R1PlusC = 4,
    R1PlusLPlusC = 5,
    R1ParLPlusR2 = 6,
    R1ParC = 7,
    CParLPlusR1 = 8,
    R1ParCParLPlusR2 = 9,
    R1ParR2PlusC = 10,
};
inline constexpr int kPassiveTypes = 11;

// Active section types.
enum class TActiveType : std::int16_t {
    None = 0,
    FirstOrderLowPass = 1,
    FirstOrderHighPass = 2,
    SecondOrderLowPass = 3,
    SecondOrderHighPass = 4,
    TrebleBoost = 5,
    TrebleCut = 6,
    QBoost = 7,
    QCut = 8,
};
inline constexpr int kActiveTypes = 9;

// The six components of a branch; C serves passive types, C1 and C2 active sections.
enum class TCompSlot { R1 = 0, R2 = 1, L = 2, C = 3, C1 = 4, C2 = 5 };
inline constexpr int kCompSlots = 6;

// The type list texts (" None" for type 0 in both lists).
const char* PassiveTypeText(int type);
const char* ActiveTypeText(int type);

// What a store slot keeps of a branch.
struct TBranchASet {
    struct TCompValues {
        double value = 0.0;
        TCompKind kind = TCompKind::Resistor;
        bool inUse = false;
        bool inOptimisation = false;
    };
    std::array<TCompValues, kCompSlots> comps{};
    std::int16_t type = 0;
};

// A branch record as read, before it is applied: the four slots (when the version has
// them) and the current type and components.
struct TBranchARecord {
    std::array<TBranchASet, 4> slots{};
    bool hasSlots = false;
    TBranchASet current{};
};

class TBranchA {
public:
    using TComplexRow = TNetBase::TComplexRow;
    static constexpr int kSlots = 4;
    // Components in a dialog list line order: at most five in use.
    static constexpr int kMaxListed = 5;

    // net 1..4, index 0-7 (ladder) or 10-13 (across the drivers, always passive).
    TBranchA(int net, int index, TPlacement placement, bool alwaysPassive);

    int Index() const { return index_; }
    int Number() const { return index_ + 1; }
    TPlacement Placement() const { return placement_; }
    bool AlwaysPassive() const { return alwaysPassive_; }
    bool Passive() const { return passive_; }
    // The mode of the network: passive or active components and types. Resets the
    // branch (type 0, reset values of the new mode). Shunt positions 10-13 stay passive.
    void SetNetworkActive(bool active);

    int Type() const { return type_; }
    int TypeCount() const { return passive_ ? kPassiveTypes : kActiveTypes; }
    // In-use flags follow the type. When the type changes, every component leaves the
    // optimisation list and becomes dirty. False (nothing changes) for a type outside
    // the current list.
    bool SetType(int type);
    // Type 0 counts as nothing at all: the solution skips the branch.
    bool InUse() const { return type_ != 0; }

    // The list texts of the current mode, the heading "* Branch 01 *", the type line
    // (" Short circuit"/" Open circuit"/" Nothing" for type 0) and the characteristic
    // text of the current values (empty when the type has none).
    const char* TypeText(int type) const;
    std::string Heading() const;
    std::string TypeLine() const;
    std::string CharacteristicText() const;

    TCompA& Comp(TCompSlot slot) { return comps_[static_cast<std::size_t>(slot)]; }
    const TCompA& Comp(TCompSlot slot) const { return comps_[static_cast<std::size_t>(slot)]; }
    // The components in use in dialog order (passive R1, R2, C, L; active R1, R2, C1,
    // C2, L); returns how many were written to list.
    int ListedComponents(std::array<TCompA*, kMaxListed>& list);
    int ListedComponents(std::array<const TCompA*, kMaxListed>& list) const;

    // Type 0, every component at the reset value of the mode, out of the optimisation
    // list, dirty.
    void Reset();

    bool Dirty() const;
    void MarkDirty();
    // Recomputes the impedance (passive) or transfer (active) when dirty; afterwards
    // the branch and its components are clean.
    void Update(const TFilterGrid& grid);
    const TComplexRow& Impedance() const { return impedance_; }
    const TComplexRow& Transfer() const { return transfer_; }
    // The same at one angular frequency, from the current values.
    TComplex ImpedanceAt(double omega) const;
    TComplex TransferAt(double omega) const;

    // Store slots 0-3.
    void Store(int slot);
    void Recall(int slot);
    const TBranchASet& Slot(int slot) const { return slots_[static_cast<std::size_t>(slot)]; }
    TBranchASet& Slot(int slot) { return slots_[static_cast<std::size_t>(slot)]; }

    // The record: four slots (410 on), the type, then the listed components of the mode.
    static constexpr std::size_t kSlotRecordSize = kCompSlots * TCompA::kRecordSize + 2;
    static std::size_t RecordSize(int version, bool passive);
    void Write(TBinaryWriter& out) const { WriteAs(out, 410); }
    // As a file of the given version held it: no slots before 410.
    void WriteAs(TBinaryWriter& out, int version) const;
    // Reads a record in the given mode; false when it is cut or holds a type outside the
    // lists or a value that is not a positive finite number. Nothing of a branch changes.
    static bool Read(TBinaryReader& in, int version, bool passive, TBranchARecord& record);
    // The mode first (no reset), then the record; slots only when it has them.
    void Apply(const TBranchARecord& record, bool passive);
    // The mode without the reset a switch does: a recall brings its own types and values.
    void SetPassiveMode(bool passive);
    // Every slot holds the branch as it is now.
    void FillSlots();

private:
    void SetInUseFromType();

    int index_;
    TPlacement placement_;
    bool alwaysPassive_;
    bool passive_ = true;
    std::int16_t type_ = 0;
    std::array<TCompA, kCompSlots> comps_;
    std::array<TBranchASet, kSlots> slots_{};
    TComplexRow impedance_{};
    TComplexRow transfer_{};
    bool dirty_ = true;
};
