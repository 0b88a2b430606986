#pragma once
// The complex value of the whole program: two doubles, real then imaginary, with the
// usual arithmetic, magnitude (std::abs) and atan2 phase (std::arg).
// std::complex<double> has exactly that layout.
//
// Besides the alias this header holds the few helpers the numeric library shares:
// a multiplication without the C99 Annex G NaN recovery (same formula, same rounding
// for finite values, but inline instead of a libgcc call) and the text form of
// the vectors: "(re, im)" on output; on input "(re, im)", "(re)" or a plain number.

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
inline TComplex DivComplex(const TComplex& a, const TComplex& b)
{
    const double d = b.real() * b.real() + b.imag() * b.imag();
    return TComplex((a.real() * b.real() + a.imag() * b.imag()) / d, (a.imag() * b.real() - a.real() * b.imag()) / d);
}

inline TComplex DivComplex(double a, const TComplex& b)
{
    const double d = b.real() * b.real() + b.imag() * b.imag();
    return TComplex(a * b.real() / d, -a * b.imag() / d);
}

// |z| without hypot's guard against overflow; levels take 10 * log10 of the square.
inline double SquaredMagnitudeOf(const TComplex& z) { return z.real() * z.real() + z.imag() * z.imag(); }
inline double MagnitudeOf(const TComplex& z) { return std::sqrt(SquaredMagnitudeOf(z)); }

// "(" real ", " imaginary ")" with the stream's flags and precision; a width set on the
// stream applies to the whole text.
void WriteComplex(std::ostream& os, const TComplex& value);

// Reads "(re, im)", "(re)" (blanks allowed around the parts) or a plain number (a real
// value). On a malformed value the stream's failbit is set and value is unchanged.
std::istream& ReadComplex(std::istream& is, TComplex& value);
