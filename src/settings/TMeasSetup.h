#pragma once
// The measurement setup: the virtual measurement every box simulation shares - the
// frequency range and grid, the generator (level, source resistance and inductance),
// the optional 2nd-order high-pass in front of the speaker, how the SPL plot is
// scaled - and its preferences file "msetup.prf". The same 63-byte block is embedded
// in box project files.
//
// Ownership: there is one setup for the whole program; box projects come and go and
// the setup stays. The program's context (TProgramContext) owns it and hands it to
// the projects, their dialogs and the command line.

#include "settings/TFreqGrid.h"

#include <complex>
#include <cstdint>
#include <string>
#include <vector>

class TBinaryReader;
class TBinaryWriter;
class TProgramFolder;

// Ranges the setup dialog and the command line enforce, and that a stored block must
// meet to be accepted.
namespace TMeasSetupLimits {
inline constexpr std::int32_t kMinStart = 1;
inline constexpr std::int32_t kMaxStop = 20000;
inline constexpr std::int32_t kMinSpan = 10; // stop - start
inline constexpr std::int32_t kMinPoints = 10;
inline constexpr std::int32_t kMaxPoints = TFreqGrid::kMaxPoints;
inline constexpr double kMinLevel = 0.001;
inline constexpr double kMaxLevel = 1000.0;
inline constexpr double kMinPower = 1.25e-7;
inline constexpr double kMaxPower = 125000.0;
inline constexpr double kMinResistance = -10000.0;
inline constexpr double kMaxResistance = 10000.0;
// Lg is not editable and written as 0; a stored value beyond this (H, either sign) is
// no generator and would make the source impedance infinite.
inline constexpr double kMaxInductance = 1.0;
inline constexpr std::int32_t kMinCutoff = 0;
inline constexpr std::int32_t kMaxCutoff = 10000;
inline constexpr double kMinQ = 0.1;
inline constexpr double kMaxQ = 10.0;
inline constexpr std::int32_t kMinRange = 1;
inline constexpr std::int32_t kMaxRange = 80;
// The range the SPL plot gets back when autorange is switched off.
inline constexpr std::int32_t kDefaultRange = 30;
} // namespace TMeasSetupLimits

class TMeasSetup {
public:
    static constexpr const char* kPreferencesFile = "msetup.prf";
    static constexpr std::int16_t kCurrentVersion = 410;
    // Versions before this one store the block without the high-pass fields.
    static constexpr int kHighPassVersion = 410;
    static constexpr std::size_t kBlockSize = 63;
    static constexpr std::size_t kOldBlockSize = 51;

    TMeasSetup();

    // Stored fields, in SI units.
    std::int32_t startFrequency;   // Hz
    std::int32_t stopFrequency;    // Hz
    std::int32_t pointCount;
    double sourceLevel;            // Ug, V RMS
    double sourcePower;            // Pg = Ug² / 8, W
    double sourceResistance;       // Rg, ohm, may be negative
    double sourceInductance;       // Lg, H; not editable, kept in files and reports
    std::int32_t highPassCutoff;   // Hz, 0 = no filter
    double highPassQ;
    bool calculateImmediately;
    bool autorange;
    std::int32_t splRange;         // dB; 0 while autorange is on
    bool hidePhase;

    // State, not stored in the block.
    bool setupChanged;             // the next calculation lays out the grid again
    std::int16_t fileVersion;      // version of the project file being read

    TFreqGrid grid;

    // Every stored field to its factory value; file version 410, setup changed set, and
    // the grid laid out for the default range.
    void SetDefaults();
    // Lays out the grid from start, stop and point count.
    void LayoutGrid();

    // Linked fields: entering Ug sets Pg and the other way round.
    void SetSourceLevel(double ug);
    void SetSourcePower(double pg);
    // Autorange on: SPL range 0; off: back to 30.
    void SetAutorange(bool on);

    static double PowerFromLevel(double ug) { return ug * ug * 0.125; }
    static double LevelFromPower(double pg);

    // The block. Reading takes the whole block first and changes nothing unless it was
    // complete and every value is one the dialog could have produced; then it lays out
    // the grid and sets the setup changed flag. Before version 410 the high-pass fields
    // are absent and keep their values.
    [[nodiscard]] bool ReadBlock(TBinaryReader& in, int version);
    void WriteBlock(TBinaryWriter& out) const;

    // A block file such as "msetup.prf" (always read as version 410).
    [[nodiscard]] bool LoadFile(const std::string& path);
    [[nodiscard]] bool SaveFile(const std::string& path) const;

    // Preferences: sets file version 410 and the setup changed flag, then takes
    // "msetup.prf" from the program folder; a missing, short or garbage file, or
    // forceDefaults, gives the factory values. Returns true when the file was used.
    bool LoadPreferences(const TProgramFolder& folder, bool forceDefaults);
    // Writes "msetup.prf" into the program folder by a safe save.
    [[nodiscard]] bool SavePreferences(const TProgramFolder& folder) const;
    static std::string PreferencesPath(const TProgramFolder& folder);

    // The generator as the driver sees it at angular frequency omega: Ug, through the
    // high-pass when its cutoff is not 0. No allocation; called per grid point.
    std::complex<double> SourceVoltage(double omega) const;
    // Zs = Rg·kR + j·ω·Lg·kR, kR being the source impedance factor of the wiring.
    std::complex<double> SourceImpedance(double omega, double kR = 1.0) const;

    // The "Setup" lines of the information window.
    std::vector<std::string> ReportLines() const;

    // printf formats of the dialog fields, chosen again for every value.
    static const char* LevelFormat(double value);      // Ug and Pg
    static const char* ResistanceFormat(double value); // Rg
    static const char* QFormat() { return "%2.1f"; }
};

// Base of every box project and box element: where the project's setup dialog was
// last closed (0, 0 = not placed yet). Each new box project loads the preferences
// into the program's setup when it is made (TBoxEmbryo), so it starts from them.
class TMeasureSetupObject {
public:
    std::int16_t x = 0;
    std::int16_t y = 0;
};
