#include "TComplex.h"

#include <istream>
#include <ostream>
#include <sstream>

void WriteComplex(std::ostream& os, const TComplex& value)
{
    std::ostringstream text;
    text.flags(os.flags());
    text.precision(os.precision());
    text.imbue(os.getloc());
    text << '(' << value.real() << ", " << value.imag() << ')';
    os << text.str();
}

std::istream& ReadComplex(std::istream& is, TComplex& value)
{
    std::istream::sentry ok(is); // skips leading white space
    if (!ok)
        return is;
    if (is.peek() != '(') {
        double re = 0.0;
        if (is >> re)
            value = TComplex(re, 0.0);
        return is;
    }
    is.get();
    double re = 0.0;
    double im = 0.0;
    if (!(is >> re))
        return is;
    char c = 0;
    if (!(is >> c))
        return is;
    if (c == ',') {
        if (!(is >> im >> c))
            return is;
    }
    if (c != ')') {
        is.setstate(std::ios::failbit);
        return is;
    }
    value = TComplex(re, im);
    return is;
}
