#pragma once
// FVector: the real vector (declared with FMatrix.h). The storage, the index
// scheme (base, origin = data - base) and the shared operations are described in
// TVectorBase.h; this class adds what is particular to real values.

#include "TVectorBase.h"

class FVector : public TVectorBase<double> {
public:
    FVector() = default;
    // n elements, all 0, valid indices base .. base + n - 1; n = 0 makes an empty
    // vector without storage.
    explicit FVector(int n, int base = 0) : TVectorBase(n, base) {}
    // n elements copied from other starting at its index from, with a new base.
    FVector(const FVector& other, int from, int n, int base = 0) : TVectorBase(other, from, n, base) {}
    // n values converted to double.
    FVector(const float* values, int n, int base = 0);
    FVector(const double* values, int n, int base = 0) : TVectorBase(values, n, base) {}

    FVector(const FVector&) = default;
    FVector(FVector&&) noexcept = default;
    FVector& operator=(const FVector&) = default;
    FVector& operator=(FVector&&) noexcept = default;

    // Index (in the base scheme) of the first smallest / largest value.
    int minIndex() const;
    int maxIndex() const;
    // Index of the first element with the smallest / largest absolute value.
    int minAbsIndex() const;
    int maxAbsIndex() const;
    // An empty vector reports base().
};

// New vectors of a's size and base.
FVector operator+(const FVector& a, const FVector& b);
FVector operator-(const FVector& a, const FVector& b);
FVector operator*(const FVector& a, const FVector& b); // element-wise
FVector operator*(double x, const FVector& b);
