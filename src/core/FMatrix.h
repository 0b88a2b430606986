#pragma once
// FMatrix: the real matrix, an array of FVector rows. The header of the real
// types: including this header also gives FVector. Shared operations (size
// checks, product, transpose, shifting rows, triangles, text forms) are described in
// TMatrixBase.h.

#include "FVector.h"
#include "TMatrixBase.h"

class FMatrix : public TMatrixBase<FMatrix, FVector> {
public:
    static constexpr const char* kClassName = "FMatrix";

    FMatrix() = default;
    // rows by cols, all 0.
    FMatrix(int rows, int cols) : TMatrixBase(rows, cols) {}
    // count rows copied from other, starting at row from.
    FMatrix(const FMatrix& other, int from, int count) : TMatrixBase(other, from, count) {}
    // rows * cols values in row-major order, converted to double.
    FMatrix(const float* values, int rows, int cols);
    FMatrix(const double* values, int rows, int cols);

    FMatrix(const FMatrix&) = default;
    FMatrix(FMatrix&&) noexcept = default;
    FMatrix& operator=(const FMatrix&) = default;
    FMatrix& operator=(FMatrix&&) noexcept = default;

    // The first smallest / largest element (row-major); 0 for an empty matrix.
    double minValue() const;
    double maxValue() const;
};

// New matrices; + and - are fatal on different sizes like add and sub.
FMatrix operator+(const FMatrix& a, const FMatrix& b);
FMatrix operator-(const FMatrix& a, const FMatrix& b);
FMatrix operator*(const FMatrix& a, const FMatrix& b); // matrix product
