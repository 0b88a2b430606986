#pragma once
// CVector: the complex vector (declared with CMatrix.h). The storage, the index
// scheme (base, origin = data - base) and the shared operations are described in
// TVectorBase.h; this class adds the parallel combination, the reciprocal, conversion
// to a real vector, magnitude searches and a fatal read.

#include "FVector.h"
#include "TVectorBase.h"

class CVector : public TVectorBase<TComplex> {
public:
    static constexpr const char* kClassName = "CVector";

    CVector() = default;
    // n elements, all 0, valid indices base .. base + n - 1.
    explicit CVector(int n, int base = 0) : TVectorBase(n, base) {}
    // n elements copied from other starting at its index from, with a new base.
    CVector(const CVector& other, int from, int n, int base = 0) : TVectorBase(other, from, n, base) {}
    CVector(const TComplex* values, int n, int base = 0) : TVectorBase(values, n, base) {}
    // Element i is (re[i], im[i]), with re's base. Fatal when the sizes differ.
    CVector(const FVector& re, const FVector& im);

    CVector(const CVector&) = default;
    CVector(CVector&&) noexcept = default;
    CVector& operator=(const CVector&) = default;
    CVector& operator=(CVector&&) noexcept = default;

    // this = 1 / (1 / a + 1 / b): impedances in parallel. b may be a scalar.
    void parallel(const CVector& a, const CVector& b);
    void parallel(const CVector& a, const TComplex& b);
    // this[i] = 1 / this[i]
    void reciprocal();

    // A real vector of this size and base whose element i is f(this[i]).
    template <class F>
    FVector convert(F f) const
    {
        FVector r(size(), base());
        double* out = r.data();
        const TComplex* in = data();
        for (int i = 0; i < size(); ++i)
            out[i] = f(in[i]);
        return r;
    }

    // Index (in the base scheme) of the first element with the smallest / largest
    // magnitude; the Abs forms are the same search. An empty vector reports base().
    int minIndex() const;
    int maxIndex() const;
    int minAbsIndex() const { return minIndex(); }
    int maxAbsIndex() const { return maxIndex(); }

    // n values in the form "(re, im)", "(re)" or a plain number; fatal
    // "CVector::read: file error" when the stream fails.
    bool read(std::istream& is) override;
};

// New vectors of a's size and base.
CVector operator+(const CVector& a, const CVector& b);
CVector operator-(const CVector& a, const CVector& b);
