#include "TComplex.h"

#include <cmath>
#include <cstring>
#include <istream>
#include <limits>
#include <ostream>
#include <sstream>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

TLogTable::TSlices::TSlices()
{
    // Slice i holds the z whose bits lie in [0.6875 + i · 2^45, 0.6875 + (i + 1) · 2^45);
    // its centre divides them. The two slices that meet at 1 are divided by 1 itself:
    // no cancellation of log c against the series near 1, and the logarithm of 1 is 0.
    for (std::uint64_t i = 0; i < 128; ++i) {
        const std::uint64_t lowBits = 0x3fe6000000000000u + (i << 45), highBits = lowBits + (std::uint64_t{1} << 45);
        double low, high;
        std::memcpy(&low, &lowBits, sizeof low);
        std::memcpy(&high, &highBits, sizeof high);
        const double centre = low == 1.0 || high == 1.0 ? 1.0 : 0.5 * (low + high);
        slice[i].c = centre;
        slice[i].invc = 1.0 / centre;
        slice[i].logc = std::log(centre);
    }
}

namespace {
inline double LevelOrZero(double m2) { return m2 > 0 ? DecibelsOfSquared(m2) : 0.0; }
} // namespace

void DecibelsOfSquaredInPlace(double* values, int n)
{
    int i = 0;
#if defined(__SSE2__)
    // NaturalLog on two lanes, operation for operation, so each lane rounds as the
    // single call does.
    const TLogTable::TSlice* slices = TLogTable::Slices().slice;
    // Constants as aligned pairs, which the arithmetic takes straight from memory.
    struct alignas(16) TPair {
        double lo, hi;
        __m128d Load() const { return _mm_load_pd(&lo); }
    };
    static const TPair kSeries[] = {{-0.125, -0.125}, {1.0 / 7, 1.0 / 7}, {-1.0 / 6, -1.0 / 6}, {0.2, 0.2},
                                    {-0.25, -0.25},   {1.0 / 3, 1.0 / 3}, {-0.5, -0.5}};
    static const TPair kLn2Hi{TLogTable::kLn2Hi, TLogTable::kLn2Hi}, kLn2Lo{TLogTable::kLn2Lo, TLogTable::kLn2Lo},
        kDecibels{TLogTable::kDecibels, TLogTable::kDecibels};
    // 2^52 + j as a double has j in its low bits; less 2^52 + 1024 it is the exponent k.
    static const TPair kExponentBase{4503599627371520.0, 4503599627371520.0};
    const __m128i offset = _mm_set1_epi64x(0x3fe6000000000000);
    const __m128i exponentMask = _mm_set1_epi64x(static_cast<long long>(0xfff0000000000000u));
    const __m128i exponentBias = _mm_set1_epi64x(0x4000000000000000); // 1024 << 52
    const __m128i magic = _mm_set1_epi64x(0x4330000000000000);        // 2^52 as a double
    const __m128d smallest = _mm_set1_pd(std::numeric_limits<double>::min());
    const __m128d largest = _mm_set1_pd(std::numeric_limits<double>::max());
    for (; i + 1 < n; i += 2) {
        const __m128d x = _mm_loadu_pd(values + i);
        // Both positive and normal, else the single calls take the rest: no call in this
        // loop, so its constants stay in registers.
        const __m128d normal = _mm_and_pd(_mm_cmpge_pd(x, smallest), _mm_cmple_pd(x, largest));
        if (_mm_movemask_pd(normal) != 3)
            break;
        const __m128i bits = _mm_castpd_si128(x);
        const __m128i shifted = _mm_sub_epi64(bits, offset);
        const __m128i slice = _mm_srli_epi64(shifted, 45);
        const long long s0 = _mm_cvtsi128_si64(slice) & 127,
                        s1 = _mm_cvtsi128_si64(_mm_unpackhi_epi64(slice, slice)) & 127;
        const __m128i kBits = _mm_or_si128(_mm_srli_epi64(_mm_add_epi64(shifted, exponentBias), 52), magic);
        const __m128d k = _mm_sub_pd(_mm_castsi128_pd(kBits), kExponentBase.Load());
        const __m128d z = _mm_castsi128_pd(_mm_sub_epi64(bits, _mm_and_si128(shifted, exponentMask)));
        const TLogTable::TSlice& a = slices[s0];
        const TLogTable::TSlice& b = slices[s1];
        const __m128d c = _mm_set_pd(b.c, a.c), invc = _mm_set_pd(b.invc, a.invc), logc = _mm_set_pd(b.logc, a.logc);
        const __m128d r = _mm_mul_pd(_mm_sub_pd(z, c), invc);
        const __m128d r2 = _mm_mul_pd(r, r);
        __m128d p = _mm_mul_pd(r, kSeries[0].Load());
        for (int term = 1; term < 6; ++term)
            p = _mm_mul_pd(r, _mm_add_pd(kSeries[term].Load(), p));
        const __m128d series = _mm_mul_pd(r2, _mm_add_pd(kSeries[6].Load(), p));
        const __m128d high = _mm_add_pd(_mm_mul_pd(k, kLn2Hi.Load()), logc);
        const __m128d low = _mm_add_pd(r, _mm_add_pd(series, _mm_mul_pd(k, kLn2Lo.Load())));
        _mm_storeu_pd(values + i, _mm_mul_pd(kDecibels.Load(), _mm_add_pd(high, low)));
    }
#endif
    for (; i < n; ++i)
        values[i] = LevelOrZero(values[i]);
}

void PhasesOf(const TComplex* z, double* phase, int n, double scale)
{
    int i = 0;
#if defined(__SSE2__)
    // PhaseOf on two lanes, operation for operation; the branches become selections.
    const __m128d signBit = _mm_set1_pd(-0.0);
    const __m128d huge = _mm_set1_pd(1e300), zero = _mm_setzero_pd();
    const __m128d eight = _mm_set1_pd(8.0), half = _mm_set1_pd(0.5), eighth = _mm_set1_pd(0.125);
    const __m128d one = _mm_set1_pd(1.0), halfPi = _mm_set1_pd(1.5707963267948966);
    const __m128d pi = _mm_set1_pd(3.141592653589793), scales = _mm_set1_pd(scale);
    const double* pair = reinterpret_cast<const double*>(z);
    for (; i + 1 < n; i += 2) {
        const __m128d a = _mm_loadu_pd(pair + 2 * i), b = _mm_loadu_pd(pair + 2 * i + 2);
        const __m128d x = _mm_unpacklo_pd(a, b), y = _mm_unpackhi_pd(a, b);
        const __m128d ax = _mm_andnot_pd(signBit, x), ay = _mm_andnot_pd(signBit, y);
        const __m128d sum = _mm_add_pd(ax, ay);
        // Special values anywhere in the pair: the single calls take the rest.
        if (_mm_movemask_pd(_mm_and_pd(_mm_cmple_pd(sum, huge), _mm_cmpneq_pd(sum, zero))) != 3)
            break;
        const __m128d steep = _mm_cmpgt_pd(ay, ax);
        const __m128d t = _mm_div_pd(_mm_min_pd(ax, ay), _mm_max_pd(ax, ay));
        const __m128i k = _mm_cvttpd_epi32(_mm_add_pd(_mm_mul_pd(t, eight), half));
        const __m128d c = _mm_mul_pd(_mm_cvtepi32_pd(k), eighth);
        const __m128d u = _mm_div_pd(_mm_sub_pd(t, c), _mm_add_pd(one, _mm_mul_pd(t, c)));
        const __m128d u2 = _mm_mul_pd(u, u);
        const __m128d u4 = _mm_mul_pd(u2, u2), u8 = _mm_mul_pd(u4, u4);
        const __m128d pa = _mm_add_pd(_mm_set1_pd(-1.0 / 3), _mm_mul_pd(u2, _mm_set1_pd(1.0 / 5)));
        const __m128d pb = _mm_add_pd(_mm_set1_pd(-1.0 / 7), _mm_mul_pd(u2, _mm_set1_pd(1.0 / 9)));
        const __m128d pc = _mm_add_pd(_mm_set1_pd(-1.0 / 11), _mm_mul_pd(u2, _mm_set1_pd(1.0 / 13)));
        const __m128d p = _mm_add_pd(_mm_add_pd(pa, _mm_mul_pd(u4, pb)), _mm_mul_pd(u8, pc));
        const __m128d series = _mm_add_pd(u, _mm_mul_pd(_mm_mul_pd(u, u2), p));
        const int k0 = _mm_cvtsi128_si32(k), k1 = _mm_cvtsi128_si32(_mm_shuffle_epi32(k, 1));
        __m128d r = _mm_add_pd(_mm_set_pd(kAtanOfEighths[k1], kAtanOfEighths[k0]), series);
        r = _mm_or_pd(_mm_and_pd(steep, _mm_sub_pd(halfPi, r)), _mm_andnot_pd(steep, r));
        const __m128d left = _mm_cmplt_pd(x, zero);
        r = _mm_or_pd(_mm_and_pd(left, _mm_sub_pd(pi, r)), _mm_andnot_pd(left, r));
        r = _mm_xor_pd(r, _mm_and_pd(y, signBit));
        _mm_storeu_pd(phase + i, _mm_mul_pd(r, scales));
    }
#endif
    for (; i < n; ++i)
        phase[i] = PhaseOf(z[i]) * scale;
}

void WriteComplex(std::ostream& os, const TComplex& value)
{
    std::ostringstream text;
    text.flags(os.flags());
    text.precision(os.precision());
    text.imbue(os.getloc());
    text << '(' << value.real() << ", " << value.imag() << ')';
    os << text.str();
}

std::istream& ReadComplex(std::istream& is, TComplex& value)
{
    std::istream::sentry ok(is); // skips leading white space
    if (!ok)
        return is;
    if (is.peek() != '(') {
        double re = 0.0;
        if (is >> re)
            value = TComplex(re, 0.0);
        return is;
    }
    is.get();
    double re = 0.0;
    double im = 0.0;
    if (!(is >> re))
        return is;
    char c = 0;
    if (!(is >> c))
        return is;
    if (c == ',') {
        if (!(is >> im >> c))
            return is;
    }
    if (c != ')') {
        is.setstate(std::ios::failbit);
        return is;
    }
    value = TComplex(re, im);
    return is;
}
