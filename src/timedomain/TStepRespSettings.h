#pragma once
// The stored settings of a box project's transient response window: 95 bytes in box
// project files, the same record that "stepresp.prf" receives.

#include <array>
#include <cstdint>

class TBinaryReader;
class TBinaryWriter;

struct TStepRespSettings {
    enum Kind : std::int16_t { Impulse = 0, Step = 1, ToneBurst = 2 };

    std::array<std::uint8_t, 70> windowRecord{}; // the plot's window record, kept as stored
    bool zoom = false;
    bool enabled = true;
    bool showInput = true;
    std::int16_t kind = Impulse;
    double burstFrequency = 50.0; // Hz, 10 .. 500
    std::int16_t periods = 3;     // 1 .. 20
    std::int16_t curvesShown = 1; // 1 output, 2 output and input
    double timeStep = 0.025;      // ms

    static constexpr std::size_t RecordSize = 95;
    static constexpr const char* PreferencesFile = "stepresp.prf";

    void Reset() { *this = TStepRespSettings{}; }
    // False on a short record; what was read before stays.
    [[nodiscard]] bool Read(TBinaryReader& in);
    void Write(TBinaryWriter& out) const;
    // Points shown: 512 for impulse and step, 1024 for a tone burst; half with zoom.
    int ShownPoints() const { return (kind == ToneBurst ? 1024 : 512) / (zoom ? 2 : 1); }
};
