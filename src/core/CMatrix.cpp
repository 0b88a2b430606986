#include "CMatrix.h"

CMatrix operator+(const CMatrix& a, const CMatrix& b)
{
    CMatrix r(a.rows(), a.cols());
    r.add(a, b);
    return r;
}

CMatrix operator-(const CMatrix& a, const CMatrix& b)
{
    CMatrix r(a.rows(), a.cols());
    r.sub(a, b);
    return r;
}

CMatrix operator*(const CMatrix& a, const CMatrix& b)
{
    CMatrix r(a.rows(), b.cols());
    r.product(a, b);
    return r;
}
