#include "Rad2FFT.h"

#include <cmath>

namespace {

const double kPi = 3.141592653589793;

// One complex value as two doubles; the arithmetic is the one of TComplex written out
// so that the compiler keeps everything in registers.
struct Cx {
    double re;
    double im;
};

inline Cx Load(const double* p) { return Cx{p[0], p[1]}; }
inline void Store(double* p, Cx v)
{
    p[0] = v.re;
    p[1] = v.im;
}
inline Cx Add(Cx a, Cx b) { return Cx{a.re + b.re, a.im + b.im}; }
inline Cx Sub(Cx a, Cx b) { return Cx{a.re - b.re, a.im - b.im}; }
// a * w as MulComplex forms it: (ar wr - ai wi, ar wi + ai wr).
inline Cx Mul(Cx a, Cx w) { return Cx{a.re * w.re - a.im * w.im, a.re * w.im + a.im * w.re}; }

// One stage with half-group size h: for each pair (c + q, c + h + q)
// t = x[c + h + q] * w[q]; x[c + q] = u + t; x[c + h + q] = u - t, with u = x[c + q].
void Stage(double* x, int n, int h, const double* w, bool firstIsOne)
{
    const int span = 2 * h;
    for (int c = 0; c < n; c += span) {
        double* lo = x + 2 * c;
        double* hi = lo + 2 * h;
        int q = 0;
        if (firstIsOne) {
            const Cx u = Load(lo);
            const Cx t = Load(hi);
            Store(lo, Add(u, t));
            Store(hi, Sub(u, t));
            q = 1;
        }
        for (; q < h; ++q) {
            const Cx u = Load(lo + 2 * q);
            const Cx t = Mul(Load(hi + 2 * q), Load(w + 2 * q));
            Store(lo + 2 * q, Add(u, t));
            Store(hi + 2 * q, Sub(u, t));
        }
    }
}

// Two stages in one pass: the stage with half-group size h (twiddles wa) and the next
// one (half 2h, twiddles wb). The four elements c + q, c + h + q, c + 2h + q and
// c + 3h + q meet only each other in these two stages, so they are loaded once, go
// through both stages' butterflies exactly as the stages would form them, and are
// stored once.
inline void TwoStageKernel(double* p0, double* p1, double* p2, double* p3, Cx wa, Cx wb0, Cx wb1)
{
    const Cx a0 = Load(p0);
    const Cx t1 = Mul(Load(p1), wa);
    const Cx a2 = Load(p2);
    const Cx t3 = Mul(Load(p3), wa);
    const Cx b0 = Add(a0, t1);
    const Cx b1 = Sub(a0, t1);
    const Cx b2 = Add(a2, t3);
    const Cx b3 = Sub(a2, t3);
    const Cx u2 = Mul(b2, wb0);
    const Cx u3 = Mul(b3, wb1);
    Store(p0, Add(b0, u2));
    Store(p2, Sub(b0, u2));
    Store(p1, Add(b1, u3));
    Store(p3, Sub(b1, u3));
}

void TwoStages(double* x, int n, int h, const double* wa, const double* wb, bool firstIsOne)
{
    const int span = 4 * h;
    for (int c = 0; c < n; c += span) {
        double* p0 = x + 2 * c;
        double* p1 = p0 + 2 * h;
        double* p2 = p1 + 2 * h;
        double* p3 = p2 + 2 * h;
        int q = 0;
        if (firstIsOne) {
            // Position 0 of both stages: wa[0] = wb[0] = (1, 0) exactly.
            const Cx a0 = Load(p0);
            const Cx a1 = Load(p1);
            const Cx a2 = Load(p2);
            const Cx a3 = Load(p3);
            const Cx b0 = Add(a0, a1);
            const Cx b1 = Sub(a0, a1);
            const Cx b2 = Add(a2, a3);
            const Cx b3 = Sub(a2, a3);
            const Cx u3 = Mul(b3, Load(wb + 2 * h));
            Store(p0, Add(b0, b2));
            Store(p2, Sub(b0, b2));
            Store(p1, Add(b1, u3));
            Store(p3, Sub(b1, u3));
            q = 1;
        }
        for (; q < h; ++q)
            TwoStageKernel(p0 + 2 * q, p1 + 2 * q, p2 + 2 * q, p3 + 2 * q, Load(wa + 2 * q), Load(wb + 2 * q),
                           Load(wb + 2 * (h + q)));
    }
}

} // namespace

void Rad2FFT::create(int n)
{
    n_ = n;
    stages_ = static_cast<int>(std::log(static_cast<double>(n)) / std::log(2.0) + 0.1);

    bitReverse_.assign(static_cast<std::size_t>(n), 0);
    for (int i = 0; i < n; ++i) {
        int r = 0;
        for (int b = 0; b < stages_; ++b)
            if (i & (1 << b))
                r |= 1 << (stages_ - 1 - b);
        bitReverse_[static_cast<std::size_t>(i)] = r;
    }

    twiddle_.resize(n + 1);
    const TComplex w(std::cos(2 * kPi / n), -std::sin(2 * kPi / n));
    const double magnitude = std::abs(w);
    const double angle = std::arg(w);
    for (int k = 0; k <= n; ++k)
        twiddle_[k] = std::polar(std::pow(magnitude, k), angle * k);

    work_.resize(n);

    // Per-stage rows: the stage of half h (stride s = n / 2h) uses twiddle q * s
    // (forward) or n - q * s (inverse) at position q; entry h + q holds it.
    for (Direction* d : {&forward_, &inverse_}) {
        const bool inverse = d == &inverse_;
        d->twiddles.assign(2 * static_cast<std::size_t>(n > 0 ? n : 1), 0.0);
        for (int h = 1; h < n; h *= 2) {
            const int s = n / (2 * h);
            for (int q = 0; q < h; ++q) {
                const TComplex t = twiddle_[inverse ? n - q * s : q * s];
                d->twiddles[2 * static_cast<std::size_t>(h + q)] = t.real();
                d->twiddles[2 * static_cast<std::size_t>(h + q) + 1] = t.imag();
            }
        }
        const TComplex first = n > 0 ? twiddle_[inverse ? n : 0] : TComplex();
        d->firstIsOne = first.real() == 1.0 && first.imag() == 0.0;
    }
}

void Rad2FFT::permute(const TComplex* in, TComplex* out) const
{
    // X[bitreverse(i)] = x[i] for all i; the table is its own inverse, so this is
    // X[i] = x[bitreverse(i)], which writes in order.
    const std::int32_t* rev = bitReverse_.data();
    for (int i = 0; i < n_; ++i)
        out[i] = in[rev[i]];
}

void Rad2FFT::butterflies(double* x, const Direction& d) const
{
    const double* w = d.twiddles.data();
    int h = 1;
    if (stages_ % 2 == 1) {
        Stage(x, n_, h, w + 2 * h, d.firstIsOne);
        h *= 2;
    }
    for (; h < n_; h *= 4)
        TwoStages(x, n_, h, w + 2 * h, w + 4 * h, d.firstIsOne);
}

void Rad2FFT::transform(const CVector& input, CVector& output, bool inverse)
{
    if (output.size() != n_)
        output.resize(n_, output.base());
    if (&input == &output) {
        work_.copyValues(input);
        permute(work_.data(), output.data());
    } else {
        permute(input.data(), output.data());
    }
    butterflies(reinterpret_cast<double*>(output.data()), inverse ? inverse_ : forward_);
}
