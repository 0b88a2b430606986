#include "FMatrix.h"

namespace {

template <class T>
void FillRowMajor(FMatrix& m, const T* values)
{
    for (int i = 0; i < m.rows(); ++i)
        for (int j = 0; j < m.cols(); ++j)
            m(i, j) = static_cast<double>(*values++);
}

double Identity(double x) { return x; }

} // namespace

FMatrix::FMatrix(const float* values, int rows, int cols) : TMatrixBase(rows, cols)
{
    FillRowMajor(*this, values);
}

FMatrix::FMatrix(const double* values, int rows, int cols) : TMatrixBase(rows, cols)
{
    FillRowMajor(*this, values);
}

double FMatrix::minValue() const
{
    return firstBest(Identity, [](double a, double b) { return a < b; });
}

double FMatrix::maxValue() const
{
    return firstBest(Identity, [](double a, double b) { return a > b; });
}

FMatrix operator+(const FMatrix& a, const FMatrix& b)
{
    FMatrix r(a.rows(), a.cols());
    r.add(a, b);
    return r;
}

FMatrix operator-(const FMatrix& a, const FMatrix& b)
{
    FMatrix r(a.rows(), a.cols());
    r.sub(a, b);
    return r;
}

FMatrix operator*(const FMatrix& a, const FMatrix& b)
{
    FMatrix r(a.rows(), b.cols());
    r.product(a, b);
    return r;
}
