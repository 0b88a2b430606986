#pragma once
// One of the eight branch positions of a simple network: in series with the signal path
// or across it, holding a resistor, an inductor and a capacitor of which its type uses
// some. Its impedance over the filter grid is recomputed only when it is dirty.

#include "filter/TComp.h"
#include "filter/TNetBase.h"

#include <array>
#include <cstdint>

enum class TPlacement { Series = 0, Shunt = 1 };

enum class TBranchType : std::int16_t {
    None = 0, // short circuit in series, open circuit across
    R = 1,
    L = 2,
    C = 3,
    RPlusC = 4,
    LPlusC = 5,
    LParC = 6,
    RParL = 7,
    RParC = 8,
    RParLParC = 9,
};
inline constexpr int kBranchTypes = 10;

// The type's text in the schematic and the type list (" None", " R // L // C").
const char* BranchTypeText(TBranchType type);

// Impedance of an open circuit across the signal path, and what stands for an open
// circuit where the ideal formula would divide by zero.
inline constexpr double kOpenCircuit = 1e9;

// 1 / (1/a + 1/b), with a short circuit on either side giving 0 and an ideal tank at
// resonance giving an open circuit instead of a division by zero.
TComplex ParallelOf(const TComplex& a, const TComplex& b);

class TBranch {
public:
    using TComplexRow = TNetBase::TComplexRow;

    // net 1..3 and index 0..7 name the components ("L11" is net 1, index 0).
    TBranch(int net, int index, TPlacement placement);

    int Index() const { return index_; }
    TPlacement Placement() const { return placement_; }
    TBranchType Type() const { return type_; }
    // Sets the in-use flags from the type and marks the branch dirty.
    void SetType(TBranchType type);

    TComp& R() { return resistor_; }
    TComp& L() { return inductor_; }
    TComp& C() { return capacitor_; }
    const TComp& R() const { return resistor_; }
    const TComp& L() const { return inductor_; }
    const TComp& C() const { return capacitor_; }

    bool Dirty() const { return dirty_; }
    void MarkDirty() { dirty_ = true; }
    // Recomputes the impedance when dirty, over the grid's jw; afterwards clean.
    void Update(const TFilterGrid& grid);
    const TComplexRow& Impedance() const { return impedance_; }
    // The impedance at one angular frequency, from the current values.
    TComplex ImpedanceAt(double omega) const;

    // Type 16-bit, then resistor, capacitor and inductor.
    static std::size_t RecordSize(int version) { return 2 + 3 * TComp::RecordSize(version); }
    void Write(TBinaryWriter& out) const;

private:
    int index_;
    TPlacement placement_;
    TBranchType type_ = TBranchType::None;
    TComp resistor_;
    TComp inductor_;
    TComp capacitor_;
    TComplexRow impedance_{};
    bool dirty_ = true;
};
