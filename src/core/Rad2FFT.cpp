#include "Rad2FFT.h"

#include <cmath>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define TONVEK_FFT_X86 1
#endif

namespace {

const double kPi = 3.141592653589793;

// Each product a * w is formed as (ar wr + ai (-wi), ai wr + ar wi), which is bit for bit
// the (ar wr - ai wi, ar wi + ai wr) of a complex multiplication: negation is exact, and
// x + (-y) = x - y, u + v = v + u hold exactly in IEEE arithmetic. Sums and differences
// are those of the butterflies themselves, so every path below gives the same results.

// Twiddle entry e of a direction table: re, re at ReIndex(e), -im, im four places on.
inline std::size_t ReIndex(int e)
{
    return 8 * static_cast<std::size_t>(e >> 1) + 2 * static_cast<std::size_t>(e & 1);
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
    static V Mul(V a, const double* w) { return V{a.re * w[0] + a.im * w[4], a.im * w[1] + a.re * w[5]}; }
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
        return _mm_add_pd(_mm_mul_pd(a, _mm_loadu_pd(w)), _mm_mul_pd(swapped, _mm_loadu_pd(w + 4)));
    }
};
#endif

// Stage 1 together with the permutation: out[c], out[c + 1] come from in[rev[c]],
// in[rev[c + 1]] through one butterfly with the twiddle of position 0.
template <class Ops, bool FirstIsOne>
void PermuteAndStage1(const TComplex* in, TComplex* out, const std::int32_t* rev, int n, const double* tw)
{
    const double* w = Re(tw, 1);
    for (int c = 0; c < n; c += 2) {
        const auto u = Ops::Load(in + rev[c]);
        auto t = Ops::Load(in + rev[c + 1]);
        if constexpr (!FirstIsOne)
            t = Ops::Mul(t, w);
        Ops::Store(out + c, Ops::Add(u, t));
        Ops::Store(out + c + 1, Ops::Sub(u, t));
    }
}

// Stages 1 and 2 together with the permutation: the four elements of each group of four
// are gathered, go through both stages' butterflies in registers and are stored once.
template <class Ops, bool FirstIsOne>
void PermuteAndStages12(const TComplex* in, TComplex* out, const std::int32_t* rev, int n, const double* tw)
{
    const double* wa = Re(tw, 1);  // stage 1, position 0
    const double* wb0 = Re(tw, 2); // stage 2, position 0
    const double* wb1 = Re(tw, 3); // stage 2, position 1
    for (int c = 0; c < n; c += 4) {
        const auto a0 = Ops::Load(in + rev[c]);
        auto t1 = Ops::Load(in + rev[c + 1]);
        const auto a2 = Ops::Load(in + rev[c + 2]);
        auto t3 = Ops::Load(in + rev[c + 3]);
        if constexpr (!FirstIsOne) {
            t1 = Ops::Mul(t1, wa);
            t3 = Ops::Mul(t3, wa);
        }
        const auto b0 = Ops::Add(a0, t1);
        const auto b1 = Ops::Sub(a0, t1);
        const auto b2 = Ops::Add(a2, t3);
        const auto b3 = Ops::Sub(a2, t3);
        auto u2 = b2;
        if constexpr (!FirstIsOne)
            u2 = Ops::Mul(b2, wb0);
        const auto u3 = Ops::Mul(b3, wb1);
        Ops::Store(out + c, Ops::Add(b0, u2));
        Ops::Store(out + c + 2, Ops::Sub(b0, u2));
        Ops::Store(out + c + 1, Ops::Add(b1, u3));
        Ops::Store(out + c + 3, Ops::Sub(b1, u3));
    }
}

// The stage of half h and the next one (half 2h) in one pass. In a group of 4h elements
// from c, the elements c + q, c + h + q, c + 2h + q and c + 3h + q meet only each
// other in these two stages: the first stage pairs (0, 1) and (2, 3) with the twiddle
// of its position q, the second pairs (0, 2) with its position q and (1, 3) with its
// position h + q.
template <class Ops>
void TwoStages(TComplex* x, int n, int h, const double* tw)
{
    for (int c = 0; c < n; c += 4 * h) {
        TComplex* p0 = x + c;
        TComplex* p1 = p0 + h;
        TComplex* p2 = p1 + h;
        TComplex* p3 = p2 + h;
        for (int q = 0; q < h; ++q) {
            const double* wa = Re(tw, h + q);
            const auto a0 = Ops::Load(p0 + q);
            const auto t1 = Ops::Mul(Ops::Load(p1 + q), wa);
            const auto a2 = Ops::Load(p2 + q);
            const auto t3 = Ops::Mul(Ops::Load(p3 + q), wa);
            const auto b0 = Ops::Add(a0, t1);
            const auto b1 = Ops::Sub(a0, t1);
            const auto b2 = Ops::Add(a2, t3);
            const auto b3 = Ops::Sub(a2, t3);
            const auto u2 = Ops::Mul(b2, Re(tw, 2 * h + q));
            const auto u3 = Ops::Mul(b3, Re(tw, 3 * h + q));
            Ops::Store(p0 + q, Ops::Add(b0, u2));
            Ops::Store(p2 + q, Ops::Sub(b0, u2));
            Ops::Store(p1 + q, Ops::Add(b1, u3));
            Ops::Store(p3 + q, Ops::Sub(b1, u3));
        }
    }
}

// ---- two complex values per operation (AVX, chosen at run time) -------------------------
// The same two-stage pass for even h, positions q and q + 1 side by side. Only plain AVX
// is enabled here, not FMA: a fused multiply-add would round differently.

#ifdef TONVEK_FFT_X86
#pragma GCC push_options
#pragma GCC target("avx")

inline __m256d AvxMul(__m256d a, const double* w)
{
    const __m256d swapped = _mm256_permute_pd(a, 0x5);
    return _mm256_add_pd(_mm256_mul_pd(a, _mm256_loadu_pd(w)), _mm256_mul_pd(swapped, _mm256_loadu_pd(w + 4)));
}

void TwoStagesAvx(TComplex* x, int n, int h, const double* tw)
{
    for (int c = 0; c < n; c += 4 * h) {
        double* p0 = reinterpret_cast<double*>(x + c);
        double* p1 = p0 + 2 * h;
        double* p2 = p1 + 2 * h;
        double* p3 = p2 + 2 * h;
        for (int q = 0; q < h; q += 2) {
            const int k = 2 * q;
            const __m256d a0 = _mm256_loadu_pd(p0 + k);
            const __m256d t1 = AvxMul(_mm256_loadu_pd(p1 + k), Re(tw, h + q));
            const __m256d a2 = _mm256_loadu_pd(p2 + k);
            const __m256d t3 = AvxMul(_mm256_loadu_pd(p3 + k), Re(tw, h + q));
            const __m256d b0 = _mm256_add_pd(a0, t1);
            const __m256d b1 = _mm256_sub_pd(a0, t1);
            const __m256d b2 = _mm256_add_pd(a2, t3);
            const __m256d b3 = _mm256_sub_pd(a2, t3);
            const __m256d u2 = AvxMul(b2, Re(tw, 2 * h + q));
            const __m256d u3 = AvxMul(b3, Re(tw, 3 * h + q));
            _mm256_storeu_pd(p0 + k, _mm256_add_pd(b0, u2));
            _mm256_storeu_pd(p2 + k, _mm256_sub_pd(b0, u2));
            _mm256_storeu_pd(p1 + k, _mm256_add_pd(b1, u3));
            _mm256_storeu_pd(p3 + k, _mm256_sub_pd(b1, u3));
        }
    }
}

#pragma GCC pop_options

#endif

// All passes of one transform with the given one-value operations; the two-stage passes
// of two values at a time when useAvx is set.
template <class Ops>
void RunPasses(const TComplex* in, TComplex* x, const std::int32_t* rev, int n, int stages, const double* tw,
               bool firstIsOne, [[maybe_unused]] bool useAvx)
{
    int h;
    if (stages % 2 == 1) {
        if (firstIsOne)
            PermuteAndStage1<Ops, true>(in, x, rev, n, tw);
        else
            PermuteAndStage1<Ops, false>(in, x, rev, n, tw);
        h = 2;
    } else {
        if (firstIsOne)
            PermuteAndStages12<Ops, true>(in, x, rev, n, tw);
        else
            PermuteAndStages12<Ops, false>(in, x, rev, n, tw);
        h = 4;
    }
    for (; h < n; h *= 4) {
#ifdef TONVEK_FFT_X86
        if (useAvx) {
            TwoStagesAvx(x, n, h, tw);
            continue;
        }
#endif
        TwoStages<Ops>(x, n, h, tw);
    }
}

Rad2FFT::Kernel BestAvailable(Rad2FFT::Kernel wanted)
{
#ifdef TONVEK_FFT_X86
    __builtin_cpu_init(); // may run before main, from a static object's constructor
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
    twiddle_.resize(n + 1);
    const TComplex w(std::cos(2 * kPi / n), -std::sin(2 * kPi / n));
    const double magnitude = std::abs(w);
    const double angle = std::arg(w);
    for (int k = 0; k <= n; ++k)
        twiddle_[k] = std::polar(std::pow(magnitude, k), angle * k);

    work_.resize(n);

    for (Direction* d : {&forward_, &inverse_}) {
        const bool inverse = d == &inverse_;
        d->twiddles.assign(4 * static_cast<std::size_t>(n > 1 ? n : 2), 0.0);
        for (int h = 1; h < n; h *= 2) {
            const int s = n / (2 * h);
            for (int q = 0; q < h; ++q) {
                const TComplex t = twiddle_[inverse ? n - q * s : q * s];
                double* re = d->twiddles.data() + ReIndex(h + q);
                re[0] = re[1] = t.real();
                re[4] = -t.imag();
                re[5] = t.imag();
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
    case Kernel::Avx:
        RunPasses<Sse2Ops>(in, x, rev, n_, stages_, tw, d.firstIsOne, true);
        return;
    case Kernel::Sse2:
        RunPasses<Sse2Ops>(in, x, rev, n_, stages_, tw, d.firstIsOne, false);
        return;
#endif
    default:
        RunPasses<ScalarOps>(in, x, rev, n_, stages_, tw, d.firstIsOne, false);
        return;
    }
}

Rad2FFT::Kernel Rad2FFT::DefaultKernel()
{
    return BestAvailable(Kernel::Avx);
}
