#pragma once
// One resistor, capacitor or inductor of a simple network's branch. Values are kept in
// SI units (ohm, farad, henry); the dialogs and the schematic show ohm, uF and mH.

#include "core/TBinaryStream.h"

#include <string>

enum class TCompKind { Resistor = 0, Capacitor = 1, Inductor = 2 };

class TComp {
public:
    // net 1..3 (bass, mid, treble) and branch 1..8 make the name: "L11", "C32", "R18".
    TComp(TCompKind kind, int net, int branch);

    TCompKind Kind() const { return kind_; }
    const std::string& Name() const { return name_; }
    const char* Unit() const;          // "ohm", "uF", "mH"
    double DisplayFactor() const;      // shown = value * factor
    const char* DisplayFormat() const; // "%2.2f" resistor, "%2.3f" the others
    double Minimum() const;            // limits of the value, SI
    double Maximum() const;

    double value = 0.0;
    double seriesResistance = 0.5; // the coil's resistance; inductors only
    bool inUse = false;

    // Value 1 ohm, 1 uF or 1 mH, coil resistance 0.5 ohm, not in use.
    void Reset();
    // The value as the schematic prints it ("4.7", "0.600;0.5" for a coil).
    std::string SchematicText() const;

    // Files before version 310 have no coil resistance.
    static constexpr int kFirstVersionWithCoilResistance = 310;
    static std::size_t RecordSize(int version) { return version >= kFirstVersionWithCoilResistance ? 17 : 9; }
    void Write(TBinaryWriter& out) const;

private:
    TCompKind kind_;
    std::string name_;
};
