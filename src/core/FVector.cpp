#include "FVector.h"

#include <cmath>

namespace {

// Index, in the base scheme, of the first element whose key beats every earlier one.
template <class Key, class Better>
int FirstBest(const FVector& v, Key key, Better better)
{
    const double* d = v.data();
    int best = 0;
    for (int i = 1; i < v.size(); ++i)
        if (better(key(d[i]), key(d[best])))
            best = i;
    return best + v.base();
}

double Value(double x) { return x; }
double Magnitude(double x) { return std::fabs(x); }
bool Less(double a, double b) { return a < b; }
bool Greater(double a, double b) { return a > b; }

} // namespace

FVector::FVector(const float* values, int n, int base) : TVectorBase(n, base)
{
    double* d = data();
    for (int i = 0; i < size(); ++i)
        d[i] = static_cast<double>(values[i]);
}

int FVector::minIndex() const { return FirstBest(*this, Value, Less); }
int FVector::maxIndex() const { return FirstBest(*this, Value, Greater); }
int FVector::minAbsIndex() const { return FirstBest(*this, Magnitude, Less); }
int FVector::maxAbsIndex() const { return FirstBest(*this, Magnitude, Greater); }

FVector operator+(const FVector& a, const FVector& b)
{
    FVector r(a.size(), a.base());
    r.add(a, b);
    return r;
}

FVector operator-(const FVector& a, const FVector& b)
{
    FVector r(a.size(), a.base());
    r.sub(a, b);
    return r;
}

FVector operator*(const FVector& a, const FVector& b)
{
    FVector r(a.size(), a.base());
    r.mul(a, b);
    return r;
}

FVector operator*(double x, const FVector& b)
{
    FVector r(b.size(), b.base());
    r.mul(x, b);
    return r;
}
