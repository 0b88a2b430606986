#pragma once
// CMatrix: the complex matrix, an array of CVector rows. The header of the complex
// types: including this header also gives CVector, FMatrix and FVector. Shared
// operations are described in TMatrixBase.h.

#include "CVector.h"
#include "FMatrix.h"
#include "TMatrixBase.h"

class CMatrix : public TMatrixBase<CMatrix, CVector> {
public:
    static constexpr const char* kClassName = "CMatrix";

    CMatrix() = default;
    // rows by cols, all 0.
    CMatrix(int rows, int cols) : TMatrixBase(rows, cols) {}
    // count rows copied from other, starting at row from.
    CMatrix(const CMatrix& other, int from, int count) : TMatrixBase(other, from, count) {}

    CMatrix(const CMatrix&) = default;
    CMatrix(CMatrix&&) noexcept = default;
    CMatrix& operator=(const CMatrix&) = default;
    CMatrix& operator=(CMatrix&&) noexcept = default;

    // A real matrix of this shape whose element (i, j) is f(this(i, j)).
    template <class F>
    FMatrix convert(F f) const
    {
        FMatrix r(rows(), cols());
        for (int i = 0; i < rows(); ++i)
            for (int j = 0; j < cols(); ++j)
                r(i, j) = f((*this)(i, j));
        return r;
    }
    // A complex matrix of this shape whose element (i, j) is f(this(i, j)).
    template <class F>
    CMatrix map(F f) const
    {
        CMatrix r(rows(), cols());
        for (int i = 0; i < rows(); ++i)
            for (int j = 0; j < cols(); ++j)
                r(i, j) = f((*this)(i, j));
        return r;
    }
};

// New matrices; + and - are fatal on different sizes like add and sub.
CMatrix operator+(const CMatrix& a, const CMatrix& b);
CMatrix operator-(const CMatrix& a, const CMatrix& b);
CMatrix operator*(const CMatrix& a, const CMatrix& b); // matrix product
