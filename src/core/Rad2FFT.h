#pragma once
// Rad2FFT: the radix-2 transform. Holds the tables for one power-of-two
// length n and transforms a CVector forward or backward with the in-place
// decimation-in-time scheme, without scaling (a forward then an
// inverse transform returns n times the input).
//
// The tables: the bit-reversal table, the n + 1 twiddles W^k = (|W|^k, k arg W) in polar
// form with W = (cos(2 pi / n), -sin(2 pi / n)), and the work row. The transform reads
// the twiddles through per-stage copies laid out in the order the butterflies use them,
// does the permutation together with the first one to three stages, then runs three
// stages per pass over the data, each butterfly's product, sum and difference in one
// step, one to four butterflies per instruction. Every product, sum and difference is
// the one the four loops per group of the plain scheme form, with the same operands, so
// the results equal the plain scheme's bit for bit (one liberty: a product with a
// twiddle that is exactly 1 is left out, which can change nothing but the sign of a
// zero). A transform allocates nothing.

#include "CVector.h"

#include <cstdint>
#include <vector>

class Rad2FFT {
public:
    static constexpr int kMaxLength = 20000;

    // The butterfly code: one complex value per operation in plain C++ or in SSE2, two
    // per operation in AVX, four in AVX-512. All give the same results; the fastest one the
    // processor offers is the default.
    enum class Kernel { Portable, Sse2, Avx, Avx512 };

    Rad2FFT() = default;
    explicit Rad2FFT(int n) { create(n); }

    // Chooses the butterfly code (tests, benchmarks); one the processor lacks falls back
    // to the next below.
    void selectKernel(Kernel kernel);
    Kernel kernel() const { return kernel_; }

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
    static Kernel DefaultKernel();

    struct Direction {
        // The twiddle of position q in the stage of half-group size h (forward
        // twiddle[q * s], inverse twiddle[n - q * s], s = n / 2h) is entry e = h + q.
        // Entries are kept in blocks of four (e a multiple of 4), sixteen doubles per
        // block: re(e), re(e), re(e+1), re(e+1) ... re(e+3), re(e+3), then -im(e), im(e),
        // ... -im(e+3), im(e+3): the operands of complex products of one, two or four
        // values at a time, without shuffles or sign changes.
        std::vector<double> twiddles;
        bool firstIsOne = false; // the twiddle of position 0 is exactly (1, 0)
    };

    int n_ = 0;
    int stages_ = 0;
    Kernel kernel_ = DefaultKernel();
    std::vector<std::int32_t> bitReverse_;
    CVector twiddle_;
    CVector work_;
    Direction forward_;
    Direction inverse_;
};
