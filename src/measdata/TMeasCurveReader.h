#pragma once
// The one reader of measured responses and impedance curves. A text file whose data
// lines begin with frequency, level (dB) or impedance (ohm) and phase (degrees) is
// turned into one complex value per point of a frequency grid:
// - below the first data line every grid point takes the first line's value;
// - between lines the level (in dB) or the impedance (in ohm) is interpolated on the
//   logarithm of the frequency, the phase linearly while both phases have the same
//   sign and otherwise taken from the nearer line, so no average is formed across the
//   wrap at +-180 degrees;
// - above the last line the grid points keep the last interpolated value (a last line
//   that sits on a grid point, within printing precision, gives that point its value).
// A grid point lies between the last line at or below it and the first line above
// it, so data denser than the grid is sampled there (not averaged), and a curve
// written on a grid reads back onto that grid unchanged.
//
// Lines that are not data (comments, headers, blank, binary or over-long lines, a
// frequency of 0 or below, a level that is not a number) are passed over; the first
// data line needs a level, and a missing phase counts as 0 there and as the phase
// of the line before further down. A file whose frequencies fall is sorted first; in
// a rising file a stray line below the one before is passed over.
//
// The grid is any ascending list of up to 500 frequencies, so the filter grid and the
// box grid read through the same code.

#include "measdata/TMeasReadReport.h"

#include <complex>
#include <cstdint>
#include <string>
#include <string_view>

enum class TMeasKind : std::int32_t { Spl = 0, Impedance = 1 };

struct TMeasGrid {
    static constexpr int kMaxPoints = 500;
    const double* frequencies = nullptr;
    // Natural logarithms of the frequencies, when the grid keeps them; otherwise the
    // reader takes them itself.
    const double* logarithms = nullptr;
    int count = 0;
};

enum class TMeasReadResult { NotOpened, NotLoaded, Loaded };

// Reads the file at path (used as given; a stored name goes through
// TProgramFolder::Resolve first). The response receives grid.count values,
// and only when the result is Loaded; otherwise it keeps what it held. SPL comes out
// as a pressure ratio (0 dB is magnitude 1) times the phase, impedance in complex ohms.
[[nodiscard]] TMeasReadResult ReadMeasCurveFile(const std::string& path, const TMeasGrid& grid, TMeasKind kind,
                                                std::complex<double>* response, TMeasReadReport* report = nullptr);
// The same for text in memory.
[[nodiscard]] TMeasReadResult ReadMeasCurveText(std::string_view text, const TMeasGrid& grid, TMeasKind kind,
                                                std::complex<double>* response, TMeasReadReport* report = nullptr);
