#pragma once
// The transform written out literally, four loops per group, with std::complex arithmetic: the
// yardstick the optimised Rad2FFT is compared against (tests and bench).

#include "core/CVector.h"

#include <cmath>
#include <complex>
#include <vector>

class Rad2FFTReference {
public:
    explicit Rad2FFTReference(int n)
        : n_(n), stages_(static_cast<int>(std::log(static_cast<double>(n)) / std::log(2.0) + 0.1)),
          rev_(20000, 0), twiddle_(n + 1), work_(n)
    {
        for (int i = 0; i < n; ++i) {
            int r = 0;
            for (int b = 0; b < stages_; ++b)
                if (i & (1 << b))
                    r |= 1 << (stages_ - 1 - b);
            rev_[i] = r;
        }
        const double pi = 3.141592653589793;
        const std::complex<double> w(std::cos(2 * pi / n), -std::sin(2 * pi / n));
        for (int k = 0; k <= n; ++k)
            twiddle_.data()[k] = std::polar(std::pow(std::abs(w), k), std::arg(w) * k);
    }

    void transform(const CVector& input, CVector& output, bool inverse)
    {
        const TComplex* x = input.data();
        TComplex* X = output.data();
        TComplex* work = work_.data();
        const TComplex* tw = twiddle_.data();
        for (int i = 0; i < n_; ++i)
            X[rev_[i]] = x[i];
        for (int st = 1; st <= stages_; ++st) {
            const int span = 1 << st;
            const int half = span / 2;
            const int s = n_ / span;
            for (int g = 0; g < n_ / span; ++g) {
                const int c = g * span;
                for (int q = 0; q < half; ++q)
                    X[c + half + q] = X[c + half + q] * tw[inverse ? n_ - q * s : q * s];
                for (int q = 0; q < half; ++q)
                    work[c + q] = X[c + q] + X[c + half + q];
                for (int q = 0; q < half; ++q)
                    X[c + half + q] = X[c + q] - X[c + half + q];
                for (int q = 0; q < half; ++q)
                    X[c + q] = work[c + q];
            }
        }
    }

private:
    int n_;
    int stages_;
    std::vector<int> rev_;
    CVector twiddle_;
    CVector work_;
};
