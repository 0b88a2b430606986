#pragma once
// The complex value of the whole program: two doubles, real then imaginary, with the
// usual arithmetic, magnitude (std::abs) and atan2 phase (std::arg).
// std::complex<double> has exactly that layout.
//
// Besides the alias this header holds the few helpers the numeric library shares:
// a multiplication without the C99 Annex G NaN recovery (same formula, same rounding
// for finite values, but inline instead of a libgcc call) and the text form of
// the vectors: "(re, im)" on output; on input "(re, im)", "(re)" or a plain number.

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <iosfwd>

using TComplex = std::complex<double>;

// a * b as (ar*br - ai*bi, ar*bi + ai*br): what operator* computes for finite operands,
// without the library call that repairs infinities and NaNs.
inline TComplex MulComplex(const TComplex& a, const TComplex& b)
{
    return TComplex(a.real() * b.real() - a.imag() * b.imag(),
                    a.real() * b.imag() + a.imag() * b.real());
}

// a / b as a * conj(b) / |b|^2: the plain algebra, inline. The library's division
// rescales against overflow and repairs infinities and NaNs in a call per division;
// the simulations divide finite impedances of ordinary size, where both agree within
// rounding.
// One division per quotient: a divide costs several multiplications' time, and the
// per-point loops are bound by them.
inline TComplex DivComplex(const TComplex& a, const TComplex& b)
{
    const double r = 1.0 / (b.real() * b.real() + b.imag() * b.imag());
    return TComplex((a.real() * b.real() + a.imag() * b.imag()) * r, (a.imag() * b.real() - a.real() * b.imag()) * r);
}

inline TComplex DivComplex(double a, const TComplex& b)
{
    const double r = a / (b.real() * b.real() + b.imag() * b.imag());
    return TComplex(b.real() * r, -b.imag() * r);
}

// |z| without hypot's guard against overflow; levels take 10 * log10 of the square.
inline double SquaredMagnitudeOf(const TComplex& z) { return z.real() * z.real() + z.imag() * z.imag(); }
inline double MagnitudeOf(const TComplex& z) { return std::sqrt(SquaredMagnitudeOf(z)); }

// The natural logarithm inline, for the level of every grid point: x = 2^k · z with z in
// [0.6875, 1.375), c the centre of the one of 128 slices of that range z falls in, and
// log z = log c + log(1 + r) with r = (z - c) / c, |r| < 1/128, from a short series.
// Within a unit or two in the last place of std::log; exact at 1. Zero, negative,
// subnormal and special arguments go to std::log.
namespace TLogTable {
struct TSlice {
    double c, invc, logc; // the centre, 1 / c and log c
};
struct TSlices {
    TSlices();
    TSlice slice[128];
};
// ln 2 split so that k times its first part is exact; 10 / ln 10.
constexpr double kLn2Hi = 0.6931471805598903, kLn2Lo = 5.497923018708371e-14;
constexpr double kDecibels = 4.3429448190325175;
inline const TSlices& Slices()
{
    static const TSlices slices;
    return slices;
}
} // namespace TLogTable

inline double NaturalLog(double x)
{
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    // Positive normal numbers only: the exponent field between 1 and 2046, no sign.
    if (bits - 0x0010000000000000u >= 0x7fe0000000000000u - 0x0010000000000000u)
        return std::log(x);
    constexpr std::uint64_t kOffset = 0x3fe6000000000000u; // 0.6875
    const std::uint64_t shifted = bits - kOffset;
    const int slice = static_cast<int>((shifted >> 45) & 127u);
    const double k = static_cast<double>(static_cast<std::int64_t>(shifted) >> 52);
    const std::uint64_t zBits = bits - (shifted & 0xfff0000000000000u);
    double z;
    std::memcpy(&z, &zBits, sizeof z);
    const TLogTable::TSlice& s = TLogTable::Slices().slice[slice];
    const double r = (z - s.c) * s.invc; // z - c is exact, so r errs by its own rounding only
    const double r2 = r * r;
    const double series =
        r2 * (-0.5 + r * (1.0 / 3 + r * (-0.25 + r * (0.2 + r * (-1.0 / 6 + r * (1.0 / 7 + r * -0.125))))));
    return (k * TLogTable::kLn2Hi + s.logc) + (r + (series + k * TLogTable::kLn2Lo));
}

// 10 · log10(m2): the level in dB of a squared magnitude, through the natural logarithm.
inline double DecibelsOfSquared(double m2) { return TLogTable::kDecibels * NaturalLog(m2); }

// Each of values[0, n) replaced by its level, DecibelsOfSquared, or 0 where it is not
// above 0 (no pressure: the level reads 0). Bit for bit what the single calls give, two
// values at a time.
void DecibelsOfSquaredInPlace(double* values, int n);

// atan(k/8) for k = 0 .. 8.
inline constexpr double kAtanOfEighths[9] = {0.0,
                                             0.12435499454676144,
                                             0.24497866312686414,
                                             0.35877067027057225,
                                             0.4636476090008061,
                                             0.5585993153435624,
                                             0.6435011087932844,
                                             0.7188299996216245,
                                             0.7853981633974483};

// arg(z) in radians, as std::arg gives it to within a few units in the last place, but
// inline: the phase curves take two per grid point, and glibc's atan2 call costs more
// than the rest of a point's arithmetic. The ratio of the smaller to the larger part is
// reduced against the nearest k/8, leaving an argument below 1/16 for a short series.
inline double PhaseOf(const TComplex& z)
{
    const double x = z.real(), y = z.imag();
    const double ax = std::fabs(x), ay = std::fabs(y);
    // One test for all: the sum is NaN with a NaN, huge with an infinity, 0 at the origin.
    const double sum = ax + ay;
    if (!(sum <= 1e300) || sum == 0)
        return std::atan2(y, x); // infinities, NaNs and signed zeros as the library treats them
    const bool steep = ay > ax;
    const double t = std::min(ax, ay) / std::max(ax, ay); // 0 <= t <= 1, one division
    const int k = static_cast<int>(t * 8.0 + 0.5);
    const double c = k * 0.125;
    const double u = (t - c) / (1.0 + t * c); // |u| <= 1/16
    const double u2 = u * u;
    // The odd series in pairs of terms, whose sum waits on fewer products in turn than
    // nested multiplication does: the block form is bound by that wait, not by the work.
    const double u4 = u2 * u2, u8 = u4 * u4;
    const double pa = -1.0 / 3 + u2 * (1.0 / 5), pb = -1.0 / 7 + u2 * (1.0 / 9), pc = -1.0 / 11 + u2 * (1.0 / 13);
    const double series = u + u * u2 * ((pa + u4 * pb) + u8 * pc);
    double r = kAtanOfEighths[k] + series;
    if (steep)
        r = 1.5707963267948966 - r;
    if (x < 0)
        r = 3.141592653589793 - r;
    return std::signbit(y) ? -r : r;
}

// phase[i] = PhaseOf(z[i]) * scale for i in [0, n), bit for bit, two at a time.
void PhasesOf(const TComplex* z, double* phase, int n, double scale);

// "(" real ", " imaginary ")" with the stream's flags and precision; a width set on the
// stream applies to the whole text.
void WriteComplex(std::ostream& os, const TComplex& value);

// Reads "(re, im)", "(re)" (blanks allowed around the parts) or a plain number (a real
// value). On a malformed value the stream's failbit is set and value is unchanged.
std::istream& ReadComplex(std::istream& is, TComplex& value);
