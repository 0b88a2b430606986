#pragma once
// One resistor, capacitor or inductor of an advanced network's branch. Values are kept
// in SI units. A component is passive in a passive network and in the shunt branches
// across the drivers; in an active network's sections it is an op-amp stage part with
// far wider limits and a unit chosen from its value each time it is shown.

#include "filter/TComp.h"

#include <string>

class TCompA {
public:
    // net 1..4, branch index 0..13, number 1 or 2 make the name: "R1011" is resistor 1
    // of branch 1 of Net 1, "C2111" capacitor 1 of branch 11 of Net 2.
    TCompA(TCompKind kind, int net, int branchIndex, int number);

    TCompKind Kind() const { return kind_; }
    const std::string& Name() const { return name_; }
    bool Passive() const { return passive_; }
    // Set by the branch when its network switches; the value is left alone.
    void SetPassive(bool passive) { passive_ = passive; }

    // Shown value = value * factor in the format, with the unit; the active units
    // follow the value ("kohm" from 1000 ohm, "pF"/"nF"/"uF"/"F", "uH"/"mH"/"H").
    const char* Unit() const;
    double DisplayFactor() const;
    const char* DisplayFormat() const;
    // The value as the dialog shows it, and its list line "name\tvalue\tunit".
    std::string DisplayText() const;
    std::string ListLine() const;
    // The value as the schematic prints it (passive components; active ones use the
    // display text).
    std::string SchematicText() const;

    double Minimum() const; // SI
    double Maximum() const;
    double ResetValue() const;

    double Value() const { return value_; }
    // False (nothing changes) outside [Minimum, Maximum] or not finite.
    bool SetValue(double value);
    // Times or divided by 1.05; false (nothing changes) when the step would cross a
    // limit, so the dialog can beep.
    bool StepUp();
    bool StepDown();
    // Stores a value without the range check: records and store slots, which were
    // checked when they were read.
    void Restore(double value);

    bool inUse = false;
    bool inOptimisation = false;

    bool Dirty() const { return dirty_; }
    void MarkDirty() { dirty_ = true; }
    void MarkClean() { dirty_ = false; }

    // The reset value of the current mode, dirty; the flags stay.
    void Reset();

    // Record: 1 byte in use, 1 byte in the optimisation list, 8 bytes value.
    static constexpr std::size_t kRecordSize = 10;

private:
    TCompKind kind_;
    std::string name_;
    bool passive_ = true;
    double value_ = 0.0;
    bool dirty_ = true;
};
