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

// 10 · log10(m2): the level in dB of a squared magnitude. Through the natural logarithm,
// which glibc computes in a fraction of the time of its log10; the two differ by a unit
// in the last place at most.
inline double DecibelsOfSquared(double m2) { return 4.3429448190325175 * std::log(m2); }

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
    static constexpr double kAtanOfEighths[9] = {0.0,
                                                 0.12435499454676144,
                                                 0.24497866312686414,
                                                 0.35877067027057225,
                                                 0.4636476090008061,
                                                 0.5585993153435624,
                                                 0.6435011087932844,
                                                 0.7188299996216245,
                                                 0.7853981633974483};
    const bool steep = ay > ax;
    const double t = std::min(ax, ay) / std::max(ax, ay); // 0 <= t <= 1, one division
    const int k = static_cast<int>(t * 8.0 + 0.5);
    const double c = k * 0.125;
    const double u = (t - c) / (1.0 + t * c); // |u| <= 1/16
    const double u2 = u * u;
    const double series =
        u + u * u2 * (-1.0 / 3 + u2 * (1.0 / 5 + u2 * (-1.0 / 7 + u2 * (1.0 / 9 + u2 * (-1.0 / 11 + u2 * (1.0 / 13))))));
    double r = kAtanOfEighths[k] + series;
    if (steep)
        r = 1.5707963267948966 - r;
    if (x < 0)
        r = 3.141592653589793 - r;
    return std::signbit(y) ? -r : r;
}

// "(" real ", " imaginary ")" with the stream's flags and precision; a width set on the
// stream applies to the whole text.
void WriteComplex(std::ostream& os, const TComplex& value);

// Reads "(re, im)", "(re)" (blanks allowed around the parts) or a plain number (a real
// value). On a malformed value the stream's failbit is set and value is unchanged.
std::istream& ReadComplex(std::istream& is, TComplex& value);
