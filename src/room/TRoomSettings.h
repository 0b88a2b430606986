#pragma once
// The stored settings of a box project's room and cabinet model: the room, the baffle,
// the listener, the 36 element positions, reflections and the measured-data fields.
// Kept in box project files (project form, with the plot's window record and the
// measured-data part) and in "roomcabi.prf" (preferences form, 1310 bytes).

#include <array>
#include <span>
#include <cstdint>
#include <string>
#include <vector>

class TBinaryReader;
class TBinaryWriter;
struct TRoomCounts;
struct TRoomSource;

// One acoustic element's place on the baffle; also its 32-byte file form.
struct TPosObject {
    double dX = 0.15, dY = 0.4, dZ = 0.0, radius = 0.1;
    bool operator==(const TPosObject&) const = default;
};

struct TRoomSettings {
    // Groups of nine positions, in file order.
    enum Group { DriverUnits = 0, Radiators = 1, PortsA = 2, PortsB = 3 };
    std::array<TPosObject, 36> positions{};

    double W = 0.3, H = 1.0;          // baffle
    double Hr = 2.4, Dr = 3.5, Wr = 5.0; // room
    double X = 1.5, Y = 0.0, Z = 0.8;    // lower left baffle corner
    double Xl = 3.0, Yl = 0.8, Zl = 2.5; // listener
    bool cabinetEdges = true;
    std::int32_t showMode = 1; // 1 frequency response, 0 impact
    bool smoothing = false;
    bool normalize = false;
    double summation = 1.0;
    bool calcImmediately = false;
    // speaker backwall, left, right, floor, roof, listener backwall
    std::array<bool, 6> reflections{true, false, false, false, false, false};
    // speaker backwall, left, right, roof, floor, listener backwall (roof before floor)
    std::array<double, 6> reflectionFactors{0.9, 0.9, 0.9, 0.8, 0.9, 0.9};

    // Measured data merged in the room response.
    bool measLoaded = false;
    std::string measFileName; // at most 270 characters
    bool measDisabled = false;
    std::int16_t measTransition = 300;
    bool measAutoLevel = true;
    double measLevelOffset = 0.0;
    double measLevelFactor = 1.0;

    // The plot's window record, kept as stored.
    std::array<std::uint8_t, 70> windowRecord{};

    void Reset();
    bool operator==(const TRoomSettings&) const = default;

    static constexpr std::size_t PreferencesSize = 1310;
    static constexpr std::size_t ProjectSize = 70 + 1310 + 292;
    static constexpr const char* PreferencesFile = "roomcabi.prf";

    // Project form: item 8 only for file versions above 309. False when the window
    // record, the summation factor or (version > 309) the level factor is short.
    [[nodiscard]] bool ReadProject(TBinaryReader& in, int version);
    void WriteProject(TBinaryWriter& out) const;
    // Preferences form: false when the summation factor is short.
    [[nodiscard]] bool ReadPreferences(TBinaryReader& in);
    void WritePreferences(TBinaryWriter& out) const;

    // Loads "roomcabi.prf"; a missing or short file leaves all defaults.
    void LoadPreferences(const std::string& path);

    // Absorption coefficient shown for a reflection factor.
    static double Absorption(double r) { return 1.0 - r * r; }

    // The report lines for a box with these element groups, without line ends. The
    // first line, "Room and Cabinet", starts the report's second column.
    std::vector<std::string> ReportLines(std::span<const TRoomSource> sources, const TRoomCounts& counts) const;

private:
    void ReadBody(TBinaryReader& in);
    void WriteBody(TBinaryWriter& out) const;
};
