#pragma once
// How several drivers, an isobaric pair and the two coils of a double voice coil unit
// are wired, and the factors that scale the simulation of one driver on one coil to
// the whole wiring:
//   kZ  impedance of one driver -> input impedance of the wiring
//   kU  share of the generator voltage that reaches one voice coil
//   kR  the generator's source impedance as one voice coil sees it
// The three stages multiply.

#include <cstdint>
#include <vector>

struct TConnFactors {
    double kZ = 1.0;
    double kU = 1.0;
    double kR = 1.0;

    friend TConnFactors operator*(const TConnFactors& a, const TConnFactors& b)
    {
        return {a.kZ * b.kZ, a.kU * b.kU, a.kR * b.kR};
    }
    friend bool operator==(const TConnFactors&, const TConnFactors&) = default;
};

namespace TSpeakerConnection {

// Driver connections: index into the table, stored in project files.
inline constexpr std::int16_t kSeries = 0;
inline constexpr std::int16_t kParallel = 1;
inline constexpr std::int16_t kSeparateSources = 8;
inline constexpr int kDriverConnectionCount = 9;

struct TDriverConnectionRow {
    const char* name;  // also the text of the connection list
    int offeredFor;    // number of drivers it is offered for; 0 = any
    TConnFactors factors; // the series and parallel rows are scaled by N (DriverFactors)
};

// The row of a connection index; an index outside the table gives "Sep. sources".
const TDriverConnectionRow& DriverConnection(int index);
bool IsValidDriverConnection(int index);
// The factors of a connection for n drivers.
TConnFactors DriverFactors(int index, int n);
// The connection list for n drivers, as table indices in list order: "Series", the
// groupings made for exactly n drivers, "Parallell", "Sep. sources".
std::vector<int> DriverConnectionList(int n);

// Isobaric pair and double voice coil connections.
inline constexpr std::int16_t kPairSeries = 0;
inline constexpr std::int16_t kPairParallel = 1;
inline constexpr std::int16_t kPairSeparate = 2;
inline constexpr std::int16_t kLoadResistor = 3; // double voice coil only
inline constexpr int kIsobaricConnectionCount = 3;
inline constexpr int kDvcConnectionCount = 4;

// Series 2, 0.5, 0.5; parallel 0.5, 1, 2; every other value 1, 1, 1.
TConnFactors PairFactors(int connection);

} // namespace TSpeakerConnection
