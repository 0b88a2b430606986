#include "CVector.h"

#include "TFatal.h"

namespace {

template <class Better>
int FirstBestMagnitude(const CVector& v, Better better)
{
    const TComplex* d = v.data();
    int best = 0;
    double bestMagnitude = v.size() > 0 ? std::abs(d[0]) : 0.0;
    for (int i = 1; i < v.size(); ++i) {
        const double m = std::abs(d[i]);
        if (better(m, bestMagnitude)) {
            best = i;
            bestMagnitude = m;
        }
    }
    return best + v.base();
}

} // namespace

CVector::CVector(const FVector& re, const FVector& im)
{
    if (re.size() != im.size())
        FatalError(kClassName, "CVector(const FVector& re, const FVector& im), Input vectors have different sizes!");
    resize(re.size(), re.base());
    TComplex* d = data();
    for (int i = 0; i < size(); ++i)
        d[i] = TComplex(re.data()[i], im.data()[i]);
}

void CVector::parallel(const CVector& a, const CVector& b)
{
    TComplex* d = data();
    for (int i = 0; i < size(); ++i)
        d[i] = 1.0 / (1.0 / a.data()[i] + 1.0 / b.data()[i]);
}

void CVector::parallel(const CVector& a, const TComplex& b)
{
    TComplex* d = data();
    const TComplex inverseB = 1.0 / b;
    for (int i = 0; i < size(); ++i)
        d[i] = 1.0 / (1.0 / a.data()[i] + inverseB);
}

void CVector::reciprocal()
{
    for (TComplex& z : *this)
        z = 1.0 / z;
}

int CVector::minIndex() const
{
    return FirstBestMagnitude(*this, [](double a, double b) { return a < b; });
}

int CVector::maxIndex() const
{
    return FirstBestMagnitude(*this, [](double a, double b) { return a > b; });
}

bool CVector::read(std::istream& is)
{
    if (!TVectorBase::read(is))
        FatalError(kClassName, "read: file error");
    return true;
}

CVector operator+(const CVector& a, const CVector& b)
{
    CVector r(a.size(), a.base());
    r.add(a, b);
    return r;
}

CVector operator-(const CVector& a, const CVector& b)
{
    CVector r(a.size(), a.base());
    r.sub(a, b);
    return r;
}
