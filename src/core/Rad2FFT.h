#pragma once
// Rad2FFT: the radix-2 transform. Holds the tables for one power-of-two
// length n and transforms a CVector forward or backward with the in-place
// decimation-in-time scheme, without scaling (a forward then an
// inverse transform returns n times the input).
//
// The tables: the bit-reversal table, the n + 1
// twiddles W^k = (|W|^k, k arg W) in polar form with W = (cos(2 pi / n), -sin(2 pi / n)),
// and the work row. The transform reads them through per-stage copies laid out in the
// order the butterflies use them, runs two stages per pass over the data, and forms
// each butterfly's product, sum and difference in one step. Every product, sum and
// difference is the one the four-loop scheme forms, with the same operands in the same
// order, so the results equal those of the literal scheme (the only liberty: a product
// with a twiddle that is exactly 1 is left out, which can change nothing but the sign
// of a zero). A transform allocates nothing.

#include "CVector.h"

#include <cstdint>
#include <vector>

class Rad2FFT {
public:
    static constexpr int kMaxLength = 20000;

    Rad2FFT() = default;
    explicit Rad2FFT(int n) { create(n); }

    // Fills all tables for length n, a power of two not above kMaxLength (not guarded;
    // callers use 256 to 8192).
    void create(int n);

    int length() const { return n_; }
    // log2 n, computed as the integer part of log(n) / log(2) + 0.1.
    int stages() const { return stages_; }
    // i with its lowest log2 n bits reversed, for i < n.
    int bitReverse(int i) const { return bitReverse_[static_cast<std::size_t>(i)]; }
    // Twiddle k = W^k for k = 0 .. n.
    const CVector& twiddles() const { return twiddle_; }

    // output = the unscaled forward transform of input, or the inverse one. input must
    // have n elements; output is resized to n elements when it has another size. output
    // may be input itself.
    void transform(const CVector& input, CVector& output, bool inverse);

private:
    struct Direction {
        // stage with half-group size h: entry h + q is the twiddle of position q
        // (forward twiddle[q * s], inverse twiddle[n - q * s]), as (re, im) pairs.
        std::vector<double> twiddles;
        bool firstIsOne = false; // the twiddle of position 0 is exactly (1, 0)
    };

    void permute(const TComplex* in, TComplex* out) const;
    void butterflies(double* x, const Direction& d) const;

    int n_ = 0;
    int stages_ = 0;
    std::vector<std::int32_t> bitReverse_;
    CVector twiddle_;
    CVector work_;
    Direction forward_;
    Direction inverse_;
};
