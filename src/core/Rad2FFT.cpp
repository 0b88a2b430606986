#include "Rad2FFT.h"

#include <cmath>
#include <cstddef>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define TONVEK_FFT_X86 1
// The wide kernels are compiled for their instruction set function by function, so
// the rest of the program runs on any x86-64 and the kernel is chosen at run time.
// Function attributes, unlike "#pragma GCC target", are honoured by GCC and Clang.
#define TONVEK_TARGET_AVX __attribute__((target("avx")))
#define TONVEK_TARGET_AVX512 __attribute__((target("avx512f")))
#endif

// Every path must round the same way, so no multiply-add may be fused: AVX-512F brings
// fused multiply-adds, and both compilers would otherwise contract a * b + c in the
// portable code too when built for a machine that has them.
#if defined(__clang__)
#pragma clang fp contract(off)
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif

namespace {

const double kPi = 3.141592653589793;

// Each product a * w is formed as (ar wr + ai (-wi), ai wr + ar wi), which is bit for bit
// the (ar wr - ai wi, ar wi + ai wr) of a complex multiplication: negation is exact, and
// x + (-y) = x - y, u + v = v + u hold exactly in IEEE arithmetic. Sums and differences
// are those of the butterflies themselves, so every path below gives the same results.

// Twiddle entry e of a direction table: re, re at ReIndex(e), -im, im kImag places on.
const int kImag = 8;
inline std::size_t ReIndex(int e)
{
    return 16 * static_cast<std::size_t>(e >> 2) + 2 * static_cast<std::size_t>(e & 3);
}
inline const double* Re(const double* table, int e)
{
    return table + ReIndex(e);
}

// ---- one complex value per operation: portable, and SSE2 on x86-64 ---------------------

struct ScalarOps {
    struct V {
        double re;
        double im;
    };
    static V Load(const TComplex* p) { return V{p->real(), p->imag()}; }
    static void Store(TComplex* p, V v) { *p = TComplex(v.re, v.im); }
    static V Add(V a, V b) { return V{a.re + b.re, a.im + b.im}; }
    static V Sub(V a, V b) { return V{a.re - b.re, a.im - b.im}; }
    static V Mul(V a, const double* w)
    {
        return V{a.re * w[0] + a.im * w[kImag], a.im * w[1] + a.re * w[kImag + 1]};
    }
};

#ifdef TONVEK_FFT_X86
struct Sse2Ops {
    using V = __m128d;
    static V Load(const TComplex* p) { return _mm_loadu_pd(reinterpret_cast<const double*>(p)); }
    static void Store(TComplex* p, V v) { _mm_storeu_pd(reinterpret_cast<double*>(p), v); }
    static V Add(V a, V b) { return _mm_add_pd(a, b); }
    static V Sub(V a, V b) { return _mm_sub_pd(a, b); }
    static V Mul(V a, const double* w)
    {
        const V swapped = _mm_shuffle_pd(a, a, 1);
        return _mm_add_pd(_mm_mul_pd(a, _mm_loadu_pd(w)), _mm_mul_pd(swapped, _mm_loadu_pd(w + kImag)));
    }
};
#endif

// One butterfly: t = hi * w; lo, hi = lo + t, lo - t. Skip means w is exactly 1.
template <class Ops, bool Skip = false>
inline void Butterfly(typename Ops::V& lo, typename Ops::V& hi, const double* w)
{
    const typename Ops::V t = Skip ? hi : Ops::Mul(hi, w);
    hi = Ops::Sub(lo, t);
    lo = Ops::Add(lo, t);
}

// The stages of halves h, 2h, ... 2^(k-1) h (k = Stages) on the elements v[m] =
// x[c + m h + q] of one group, m = 0 .. 2^k - 1. These elements meet only each other in
// these stages: the stage of half 2^s h pairs m with m + 2^s (bit s of m clear) at its
// position (m mod 2^s) h + q, whose twiddle is entry 2^s h + (m mod 2^s) h + q. With
// First (q = 0 and a twiddle of position 0 that is exactly 1) the products at position
// 0 are left out.
template <class Ops, int Stages, bool First>
inline void Group(typename Ops::V* v, const double* tw, int h, int q)
{
    Butterfly<Ops, First>(v[0], v[1], Re(tw, h + q));
    if constexpr (Stages == 1)
        return;
    else {
        Butterfly<Ops, First>(v[2], v[3], Re(tw, h + q));
        if constexpr (Stages == 3) {
            Butterfly<Ops, First>(v[4], v[5], Re(tw, h + q));
            Butterfly<Ops, First>(v[6], v[7], Re(tw, h + q));
        }
        Butterfly<Ops, First>(v[0], v[2], Re(tw, 2 * h + q));
        Butterfly<Ops>(v[1], v[3], Re(tw, 3 * h + q));
        if constexpr (Stages == 3) {
            Butterfly<Ops, First>(v[4], v[6], Re(tw, 2 * h + q));
            Butterfly<Ops>(v[5], v[7], Re(tw, 3 * h + q));
            Butterfly<Ops, First>(v[0], v[4], Re(tw, 4 * h + q));
            Butterfly<Ops>(v[1], v[5], Re(tw, 5 * h + q));
            Butterfly<Ops>(v[2], v[6], Re(tw, 6 * h + q));
            Butterfly<Ops>(v[3], v[7], Re(tw, 7 * h + q));
        }
    }
}

// The permutation together with the first Stages stages: each group of 2^Stages outputs
// is gathered from the input through the bit-reversal table, goes through the stages in
// registers and is stored once.
template <class Ops, int Stages, bool FirstIsOne>
inline void FirstGroup(const TComplex* in, TComplex* out, const std::int32_t* rev, int c, const double* tw)
{
    constexpr int count = 1 << Stages;
    typename Ops::V v[count];
    for (int m = 0; m < count; ++m)
        v[m] = Ops::Load(in + rev[c + m]);
    Group<Ops, Stages, FirstIsOne>(v, tw, 1, 0);
    for (int m = 0; m < count; ++m)
        Ops::Store(out + c + m, v[m]);
}

// The groups are independent, so their order is free. Taken in output order, the reads
// of consecutive outputs lie n / 2 apart and every input cache line is fetched again
// for each of its values. In tiles instead: the outputs t n / 8 + 8 m + l (t, l = 0 .. 7)
// of one m read the inputs rev(l) n / 8 + 8 rev(m) + rev(t), eight runs of eight
// neighbours, all used while the tile is worked on.
template <class Ops, int Stages, bool FirstIsOne>
void PermuteAndFirstStages(const TComplex* in, TComplex* out, const std::int32_t* rev, int n, const double* tw)
{
    constexpr int count = 1 << Stages;
    if (n < 64) {
        for (int c = 0; c < n; c += count)
            FirstGroup<Ops, Stages, FirstIsOne>(in, out, rev, c, tw);
        return;
    }
    const int eighth = n / 8;
    for (int m = 0; m < n / 64; ++m)
        for (int t = 0; t < 8; ++t) {
            const int start = t * eighth + 8 * m;
            for (int c = start; c < start + 8; c += count)
                FirstGroup<Ops, Stages, FirstIsOne>(in, out, rev, c, tw);
        }
}

// Three stages (halves h, 2h, 4h) in one pass over the data.
template <class Ops>
void ThreeStages(TComplex* x, int n, int h, const double* tw)
{
    for (int c = 0; c < n; c += 8 * h)
        for (int q = 0; q < h; ++q) {
            TComplex* p = x + c + q;
            typename Ops::V v[8];
            for (int m = 0; m < 8; ++m)
                v[m] = Ops::Load(p + m * h);
            Group<Ops, 3, false>(v, tw, h, q);
            for (int m = 0; m < 8; ++m)
                Ops::Store(p + m * h, v[m]);
        }
}

// ---- two complex values per operation (AVX, chosen at run time) -------------------------
// The three-stage pass with positions q and q + 1 side by side (h is even here). Only
// plain AVX is enabled, not FMA: a fused multiply-add would round differently.

#ifdef TONVEK_FFT_X86
TONVEK_TARGET_AVX inline void AvxButterfly(__m256d& lo, __m256d& hi, const double* w)
{
    const __m256d swapped = _mm256_permute_pd(hi, 0x5);
    const __m256d t =
        _mm256_add_pd(_mm256_mul_pd(hi, _mm256_loadu_pd(w)), _mm256_mul_pd(swapped, _mm256_loadu_pd(w + kImag)));
    hi = _mm256_sub_pd(lo, t);
    lo = _mm256_add_pd(lo, t);
}

TONVEK_TARGET_AVX void ThreeStagesAvx(TComplex* x, int n, int h, const double* tw)
{
    const std::ptrdiff_t step = 2 * static_cast<std::ptrdiff_t>(h); // h elements, in doubles
    for (int c = 0; c < n; c += 8 * h) {
        double* p = reinterpret_cast<double*>(x + c);
        for (int q = 0; q < h; q += 2, p += 4) {
            __m256d v0 = _mm256_loadu_pd(p);
            __m256d v1 = _mm256_loadu_pd(p + step);
            __m256d v2 = _mm256_loadu_pd(p + 2 * step);
            __m256d v3 = _mm256_loadu_pd(p + 3 * step);
            __m256d v4 = _mm256_loadu_pd(p + 4 * step);
            __m256d v5 = _mm256_loadu_pd(p + 5 * step);
            __m256d v6 = _mm256_loadu_pd(p + 6 * step);
            __m256d v7 = _mm256_loadu_pd(p + 7 * step);
            const double* wa = Re(tw, h + q);
            AvxButterfly(v0, v1, wa);
            AvxButterfly(v2, v3, wa);
            AvxButterfly(v4, v5, wa);
            AvxButterfly(v6, v7, wa);
            const double* wb0 = Re(tw, 2 * h + q);
            const double* wb1 = Re(tw, 3 * h + q);
            AvxButterfly(v0, v2, wb0);
            AvxButterfly(v1, v3, wb1);
            AvxButterfly(v4, v6, wb0);
            AvxButterfly(v5, v7, wb1);
            AvxButterfly(v0, v4, Re(tw, 4 * h + q));
            AvxButterfly(v1, v5, Re(tw, 5 * h + q));
            AvxButterfly(v2, v6, Re(tw, 6 * h + q));
            AvxButterfly(v3, v7, Re(tw, 7 * h + q));
            _mm256_storeu_pd(p, v0);
            _mm256_storeu_pd(p + step, v1);
            _mm256_storeu_pd(p + 2 * step, v2);
            _mm256_storeu_pd(p + 3 * step, v3);
            _mm256_storeu_pd(p + 4 * step, v4);
            _mm256_storeu_pd(p + 5 * step, v5);
            _mm256_storeu_pd(p + 6 * step, v6);
            _mm256_storeu_pd(p + 7 * step, v7);
        }
    }
}

// The same with four positions side by side (AVX-512F, h a multiple of 4).
TONVEK_TARGET_AVX512 inline void Avx512Butterfly(__m512d& lo, __m512d& hi, const double* w)
{
    const __m512d swapped = _mm512_shuffle_pd(hi, hi, 0x55);
    const __m512d t =
        _mm512_add_pd(_mm512_mul_pd(hi, _mm512_loadu_pd(w)), _mm512_mul_pd(swapped, _mm512_loadu_pd(w + kImag)));
    hi = _mm512_sub_pd(lo, t);
    lo = _mm512_add_pd(lo, t);
}

TONVEK_TARGET_AVX512 void ThreeStagesAvx512(TComplex* x, int n, int h, const double* tw)
{
    const std::ptrdiff_t step = 2 * static_cast<std::ptrdiff_t>(h);
    for (int c = 0; c < n; c += 8 * h) {
        double* p = reinterpret_cast<double*>(x + c);
        for (int q = 0; q < h; q += 4, p += 8) {
            __m512d v0 = _mm512_loadu_pd(p);
            __m512d v1 = _mm512_loadu_pd(p + step);
            __m512d v2 = _mm512_loadu_pd(p + 2 * step);
            __m512d v3 = _mm512_loadu_pd(p + 3 * step);
            __m512d v4 = _mm512_loadu_pd(p + 4 * step);
            __m512d v5 = _mm512_loadu_pd(p + 5 * step);
            __m512d v6 = _mm512_loadu_pd(p + 6 * step);
            __m512d v7 = _mm512_loadu_pd(p + 7 * step);
            const double* wa = Re(tw, h + q);
            Avx512Butterfly(v0, v1, wa);
            Avx512Butterfly(v2, v3, wa);
            Avx512Butterfly(v4, v5, wa);
            Avx512Butterfly(v6, v7, wa);
            const double* wb0 = Re(tw, 2 * h + q);
            const double* wb1 = Re(tw, 3 * h + q);
            Avx512Butterfly(v0, v2, wb0);
            Avx512Butterfly(v1, v3, wb1);
            Avx512Butterfly(v4, v6, wb0);
            Avx512Butterfly(v5, v7, wb1);
            Avx512Butterfly(v0, v4, Re(tw, 4 * h + q));
            Avx512Butterfly(v1, v5, Re(tw, 5 * h + q));
            Avx512Butterfly(v2, v6, Re(tw, 6 * h + q));
            Avx512Butterfly(v3, v7, Re(tw, 7 * h + q));
            _mm512_storeu_pd(p, v0);
            _mm512_storeu_pd(p + step, v1);
            _mm512_storeu_pd(p + 2 * step, v2);
            _mm512_storeu_pd(p + 3 * step, v3);
            _mm512_storeu_pd(p + 4 * step, v4);
            _mm512_storeu_pd(p + 5 * step, v5);
            _mm512_storeu_pd(p + 6 * step, v6);
            _mm512_storeu_pd(p + 7 * step, v7);
        }
    }
}

#endif

template <class Ops, int Stages>
void PermuteAndFirstStages(const TComplex* in, TComplex* out, const std::int32_t* rev, int n, const double* tw,
                           bool firstIsOne)
{
    if (firstIsOne)
        PermuteAndFirstStages<Ops, Stages, true>(in, out, rev, n, tw);
    else
        PermuteAndFirstStages<Ops, Stages, false>(in, out, rev, n, tw);
}

// How many positions the three-stage passes take side by side.
enum class Width { One, Two, Four };

// All passes of one transform: the permutation with the first one, two or three stages,
// so that the rest is a whole number of three-stage passes.
template <class Ops>
void RunPasses(const TComplex* in, TComplex* x, const std::int32_t* rev, int n, int stages, const double* tw,
               bool firstIsOne, [[maybe_unused]] Width width)
{
    const int first = (stages - 1) % 3 + 1;
    if (first == 1)
        PermuteAndFirstStages<Ops, 1>(in, x, rev, n, tw, firstIsOne);
    else if (first == 2)
        PermuteAndFirstStages<Ops, 2>(in, x, rev, n, tw, firstIsOne);
    else
        PermuteAndFirstStages<Ops, 3>(in, x, rev, n, tw, firstIsOne);
    for (int h = 1 << first; h < n; h *= 8) {
#ifdef TONVEK_FFT_X86
        if (width == Width::Four && h % 4 == 0) {
            ThreeStagesAvx512(x, n, h, tw);
            continue;
        }
        if (width != Width::One) {
            ThreeStagesAvx(x, n, h, tw);
            continue;
        }
#endif
        ThreeStages<Ops>(x, n, h, tw);
    }
}

Rad2FFT::Kernel BestAvailable(Rad2FFT::Kernel wanted)
{
#ifdef TONVEK_FFT_X86
    __builtin_cpu_init(); // may run before main, from a static object's constructor
    if (wanted == Rad2FFT::Kernel::Avx512 && !__builtin_cpu_supports("avx512f"))
        wanted = Rad2FFT::Kernel::Avx;
    if (wanted == Rad2FFT::Kernel::Avx && !__builtin_cpu_supports("avx"))
        wanted = Rad2FFT::Kernel::Sse2;
    return wanted;
#else
    (void)wanted;
    return Rad2FFT::Kernel::Portable;
#endif
}

} // namespace

void Rad2FFT::selectKernel(Kernel kernel)
{
    kernel_ = BestAvailable(kernel);
}

void Rad2FFT::create(int n)
{
    if (n < 0)
        n = 0;
    n_ = n;
    stages_ = n > 0 ? static_cast<int>(std::log(static_cast<double>(n)) / std::log(2.0) + 0.1) : 0;

    bitReverse_.assign(static_cast<std::size_t>(n), 0);
    for (int i = 0; i < n; ++i) {
        int r = 0;
        for (int b = 0; b < stages_; ++b)
            if (i & (1 << b))
                r |= 1 << (stages_ - 1 - b);
        bitReverse_[static_cast<std::size_t>(i)] = r;
    }

    // W^k in polar form: magnitude |W| to the power k, angle k arg W.
    twiddle_.resize(n > 0 ? n + 1 : 0);
    if (n > 0) {
        const TComplex w(std::cos(2 * kPi / n), -std::sin(2 * kPi / n));
        const double magnitude = std::abs(w);
        const double angle = std::arg(w);
        for (int k = 0; k <= n; ++k)
            twiddle_[k] = std::polar(std::pow(magnitude, k), angle * k);
    }

    work_.resize(n);

    for (Direction* d : {&forward_, &inverse_}) {
        const bool inverse = d == &inverse_;
        d->twiddles.assign(4 * static_cast<std::size_t>(n) + 16, 0.0);
        for (int h = 1; h < n; h *= 2) {
            const int s = n / (2 * h);
            for (int q = 0; q < h; ++q) {
                const TComplex t = twiddle_[inverse ? n - q * s : q * s];
                double* re = d->twiddles.data() + ReIndex(h + q);
                re[0] = re[1] = t.real();
                re[kImag] = -t.imag();
                re[kImag + 1] = t.imag();
            }
        }
        const TComplex first = n > 0 ? twiddle_[inverse ? n : 0] : TComplex();
        d->firstIsOne = first.real() == 1.0 && first.imag() == 0.0;
    }
}

void Rad2FFT::transform(const CVector& input, CVector& output, bool inverse)
{
    if (output.size() != n_)
        output.resize(n_, output.base());
    if (n_ < 2) {
        output.copyValues(input);
        return;
    }
    const TComplex* in = input.data();
    if (&input == &output) {
        // The permutation reads every element before the butterflies write: read a copy.
        work_.copyValues(input);
        in = work_.data();
    }
    TComplex* x = output.data();
    const Direction& d = inverse ? inverse_ : forward_;
    const double* tw = d.twiddles.data();
    const std::int32_t* rev = bitReverse_.data();
    switch (kernel_) {
#ifdef TONVEK_FFT_X86
    case Kernel::Avx512:
        RunPasses<Sse2Ops>(in, x, rev, n_, stages_, tw, d.firstIsOne, Width::Four);
        return;
    case Kernel::Avx:
        RunPasses<Sse2Ops>(in, x, rev, n_, stages_, tw, d.firstIsOne, Width::Two);
        return;
    case Kernel::Sse2:
        RunPasses<Sse2Ops>(in, x, rev, n_, stages_, tw, d.firstIsOne, Width::One);
        return;
#endif
    default:
        RunPasses<ScalarOps>(in, x, rev, n_, stages_, tw, d.firstIsOne, Width::One);
        return;
    }
}

Rad2FFT::Kernel Rad2FFT::DefaultKernel()
{
    return BestAvailable(Kernel::Avx512);
}
