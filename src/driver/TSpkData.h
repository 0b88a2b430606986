#pragma once
// One loudspeaker driver ("speaker unit"): its small-signal parameters, a few
// large-signal limits and its texts, with the ".unt" unit file.
//
// Every parameter is stored in SI base units; a parameter equal to 0 is undefined
// (not given), and every derivation treats a nonzero value as defined.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TBinaryReader;
class TBinaryWriter;

// The 19 stored parameters, in the order of the unit file.
enum class TSpkParam : int {
    Sd,   // effective cone area, m^2
    a,    // effective cone radius, m; kept with Sd
    Vas,  // equivalent compliance volume, m^3
    Cms,  // mechanical compliance, m/N
    Cas,  // acoustic compliance, m^5/N
    Qms,
    Qes,
    Qts,
    Pmax, // rated power, W
    Xmax, // linear excursion peak to peak, m
    h,    // air gap height, m
    l,    // voice coil winding height, m
    Mmd,  // moving mass without air load, kg
    Mms,  // moving mass with air load, kg
    Rms,  // mechanical resistance, N s/m
    fs,   // free-air resonance, Hz
    Bl,   // force factor, N/A
    Re,   // voice coil DC resistance, ohm
    Le,   // voice coil inductance, H
};
inline constexpr int kSpkParamCount = 19;

// Speaker types: the index kept in the record and the name used in reports.
inline constexpr int kSpeakerTypeCount = 6;
// The report name of a type; "" for an index outside 0..5 (a foreign file may hold one).
const char* SpeakerTypeName(int type);

// How a unit file load failed; kept for callers that can say more than the message box.
enum class TSpkLoadError {
    None,
    CannotOpen,
    WrongVersion,
    BadNoteLength, // negative or above the 600-byte note field
    Truncated,
    WrongEndMark,
    BadValue, // a parameter that is not a finite number
};

class TSpkData {
public:
    static constexpr std::int16_t kFileVersion = 100;
    static constexpr std::int16_t kEndMark = 12345;
    static constexpr std::size_t kTextSize = 100;     // manufacturer, model
    static constexpr std::size_t kNoteSize = 600;     // user note, at most 599 characters
    static constexpr std::size_t kFileNameSize = 522; // name and extension only
    static constexpr std::size_t kFixedFileBytes = 380; // the file is this plus the note length N
    // The longest unit file, with a note that fills its field; load reads no further.
    static constexpr std::size_t kMaxFileBytes = kFixedFileBytes + kNoteSize;
    static constexpr const char* kFileFilter = "Unit files (*.unt)|*.unt|All files (*.*)|*.*|";
    static constexpr const char* kFileExtension = "unt";

    TSpkData();
    virtual ~TSpkData() = default;
    TSpkData(const TSpkData&) = default;
    TSpkData& operator=(const TSpkData&) = default;

    // Every parameter, Bl^2, Sd^2, both flags and the speaker type to 0, every text empty.
    // The editor position stays.
    virtual void Clear();
    // Writes the unit file at path (as given: the unit of a project, TSpeakerObject,
    // takes a relative path in the program folder); true when the whole file was
    // written. A failed save leaves an existing file as it was.
    [[nodiscard]] virtual bool Save(const std::string& path);
    // Reads the unit file at path (as given, as for Save). Items read before a failure
    // stay in the record; texts are always terminated.
    [[nodiscard]] virtual bool Load(const std::string& path);

    // Why the last Load failed (None after a successful one).
    TSpkLoadError LastLoadError() const { return lastLoadError_; }

    // The unit file as bytes, and the reading of such bytes (what Save writes and Load reads).
    std::vector<std::uint8_t> FileBytes() const;
    [[nodiscard]] bool ReadFileBytes(std::vector<std::uint8_t> bytes);

    double& Param(TSpkParam p);
    double Param(TSpkParam p) const;
    static bool IsDefined(double value) { return value != 0.0; }
    bool IsDefined(TSpkParam p) const { return IsDefined(Param(p)); }

    // Sd with the cone radius a = sqrt(Sd / pi) that belongs to it.
    void SetSd(double sd);
    // Bl^2 and Sd^2 from Bl and Sd.
    void UpdateSquares();
    // All of Sd, Vas, Cms, Cas, Qes, Qms, Qts, Re, Mms, Mmd, Rms, fs and Bl defined.
    bool IsComplete() const;
    // The names of the parameters IsComplete misses (all of them for an empty unit).
    std::vector<std::string> MissingParameters() const;

    void SetManufacturer(std::string_view text);
    void SetModel(std::string_view text);
    void SetUserNote(std::string_view text);
    // Takes the name and extension of a path (no folder).
    void SetFileNameFromPath(std::string_view path);

    // Parameters, stored units
    double Sd = 0, a = 0, Vas = 0, Cms = 0, Cas = 0, Qms = 0, Qes = 0, Qts = 0, Pmax = 0, Xmax = 0;
    double h = 0, l = 0, Mmd = 0, Mms = 0, Rms = 0, fs = 0, Bl = 0, Re = 0, Le = 0;
    double Bl2 = 0, Sd2 = 0;        // derived, never stored in the file
    std::int16_t crossCalc = 0;       // nonzero: live cross-calculation in the editor
    std::int16_t doubleVoiceCoil = 0; // nonzero: two voice coils
    char manufacturer[kTextSize] = {};
    char model[kTextSize] = {};
    char userNote[kNoteSize] = {};
    char fileName[kFileNameSize] = {};
    std::int16_t speakerType = 0;
    // Where the unit editor was last placed; 0, 0 = not yet. Not in the file.
    std::int16_t editorX = 0, editorY = 0;

private:
    [[nodiscard]] bool Read(TBinaryReader& in);
    void Write(TBinaryWriter& out) const;

    TSpkLoadError lastLoadError_ = TSpkLoadError::None;
};

// 1/pi to 16 digits, the factor of the cone radius.
inline constexpr double kOneOverPi = 0.3183098861837697;
