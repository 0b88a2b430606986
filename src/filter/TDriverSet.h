#pragma once
// One store slot of a driver set: everything the driver set dialog edits, with the
// names of the measured files, kept so the user can go back to it later.

#include "core/TBinaryStream.h"

#include <array>
#include <cstdint>
#include <string>

class TDriverSet {
public:
    static constexpr int kDrivers = 4;
    static constexpr std::size_t kFileNameField = 271;
    // stored flag, Re, Rex, Le, six per-driver doubles, two flag groups, eight names,
    // count, size, connection.
    static constexpr std::size_t kRecordSize = 1 + 3 * 8 + 6 * 32 + 2 * 4 + 8 * kFileNameField + 2 + 4 + 4;

    TDriverSet() { Reset(); }
    // Not stored, one driver of 8 ohm at the origin, drivers 2-4 the same as driver 1.
    void Reset();

    bool stored = false;
    double re = 8.0, rex = 0.0, le = 0.001;
    std::array<double, kDrivers> x{}, y{}, z{}, radius{}, splScaling{}, impedanceScaling{};
    std::array<bool, kDrivers> splSameAs{}, impedanceSameAs{};
    std::array<std::string, kDrivers> splName, impedanceName;
    int count = 1;
    int size = 1;
    int connection = 0;
    bool invert = false; // kept in the slot, not in its record

    void Write(TBinaryWriter& out) const;
    // False when the record is cut or holds values the program never writes; the slot
    // is then left as it was.
    bool Read(TBinaryReader& in);
};
