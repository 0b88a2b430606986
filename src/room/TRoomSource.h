#pragma once
// What a box type shows the room model: groups of positioned acoustic elements (driver
// cones, ports, passive radiators), each with how many there are and how the report
// names them. A box type lists its groups in its type description.

#include "room/TRoomSettings.h"

// How many elements of each kind a box project has.
struct TRoomCounts {
    int drivers = 0, portsA = 0, portsB = 0, radiators = 0;
    bool operator==(const TRoomCounts&) const = default;
};

struct TRoomSource {
    enum Count { Drivers, PortsA, PortsB, Radiators };
    TRoomSettings::Group group; // its nine positions
    Count count;                // which of the project's counts it has
    const char* one;            // report label when there is one element
    const char* numbered;       // report label with "%d" when there are several

    int CountIn(const TRoomCounts& c) const
    {
        switch (count) {
        case Drivers: return c.drivers;
        case PortsA: return c.portsA;
        case PortsB: return c.portsB;
        case Radiators: return c.radiators;
        }
        return 0;
    }
};

// The element groups of the box types, as their reports name them.
namespace TRoomSources {
inline constexpr TRoomSource DriverUnits{TRoomSettings::DriverUnits, TRoomSource::Drivers, "  Driver unit\t",
                                         "  Driver unit %d\t"};
inline constexpr TRoomSource Port{TRoomSettings::PortsB, TRoomSource::PortsB, "  Port\t\t", "  Port %d\t"};
inline constexpr TRoomSource Abr{TRoomSettings::Radiators, TRoomSource::Radiators, "  Abr\t\t", "  Abr %d\t\t"};
inline constexpr TRoomSource FrontPort{TRoomSettings::PortsB, TRoomSource::PortsB, "  Front port\t",
                                       "  Front port %d\t"};
inline constexpr TRoomSource RearPort{TRoomSettings::PortsA, TRoomSource::PortsA, "  Rear port\t", "  Rear port %d\t"};
inline constexpr TRoomSource SidePorts{TRoomSettings::PortsA, TRoomSource::PortsA, "  Side port(s)\t",
                                       "  Side port(s) %d\t"};
inline constexpr TRoomSource MiddlePort{TRoomSettings::PortsB, TRoomSource::PortsB, "  Middle port\t",
                                        "  Middle port %d\t"};
} // namespace TRoomSources
