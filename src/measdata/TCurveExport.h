#pragma once
// The text layouts in which simulated curves are written for measurement and design
// programs, and a CSV layout for spreadsheets. The layout follows the extension of the
// file name; files written with three columns read back through the measured data reader.

#include <complex>
#include <ctime>
#include <optional>
#include <string>

enum class TExportFormat : int { Frd = 0, Zma = 1, Gdt = 2, Fmp = 3, Fm = 4, Csv = 5 };

enum class TCurveKind {
    Spl,                 // frequency, dB, degrees
    SplRoomCabinet,      // the same, in room and cabinet (box projects)
    SplStandingWaves,    // the same, with the port standing-wave modes (box projects)
    FilterGain,          // frequency, 20 log10 of the gain, degrees
    Impedance,           // frequency, ohm, degrees
    GroupDelay,          // frequency, ms, 0
    TimeResponse,        // ms, amplitude, 0; titled with the response window's caption
};

// The columns to write. y and phase are read for count points; phase may be null (and
// is never written for group delays and time responses): the third column is then 0.
struct TExportCurve {
    TCurveKind kind = TCurveKind::Spl;
    std::string caption; // title of a time response, e.g. "Impulse response"
    int count = 0;
    const double* x = nullptr;
    const double* y = nullptr;
    const double* phase = nullptr;
};

// From the upper-cased extension of the name: ".FRD" 0, ".ZMA" 1, ".GDT" 2, ".FMP" 3,
// ".FM" 4, ".CSV" 5; nothing for any other extension or none.
[[nodiscard]] std::optional<TExportFormat> ExportFormatOf(const std::string& fileName);

// The title of a curve and the column header that heads its data in a format. The CSV
// header names each column with its unit, "Frequency (Hz),SPL (dB),Phase (deg)"; group
// delays and time responses have no phase column there.
std::string CurveTitle(const TExportCurve& curve);
std::string CurveColumnHeader(TCurveKind kind, TExportFormat format);

// The 24-character local date and time, "Wed Dec  9 15:28:20 2026".
std::string ExportDateTime(std::time_t when);

// The whole file text. dateTime is written into the GDT header.
std::string CurveFileText(TExportFormat format, const TExportCurve& curve, const std::string& dateTime);

// Writes the file through a temporary file, so that a failed export leaves an old file
// as it was.
[[nodiscard]] bool WriteCurveFile(const std::string& path, TExportFormat format, const TExportCurve& curve);

// Level in dB (20 log10 of the magnitude) or magnitude, and phase in degrees, of
// complex values, for the columns of an export.
void LevelAndPhase(const std::complex<double>* values, int count, double* levelDb, double* phaseDegrees);
void MagnitudeAndPhase(const std::complex<double>* values, int count, double* magnitude, double* phaseDegrees);
