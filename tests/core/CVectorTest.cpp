#include "core/CMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace {

CVector Make(const std::vector<TComplex>& values, int base = 0)
{
    return CVector(values.data(), static_cast<int>(values.size()), base);
}

std::vector<TComplex> Values(const CVector& v)
{
    return std::vector<TComplex>(v.begin(), v.end());
}

void ExpectNear(const TComplex& actual, const TComplex& expected, double tolerance = 1e-12)
{
    EXPECT_NEAR(actual.real(), expected.real(), tolerance);
    EXPECT_NEAR(actual.imag(), expected.imag(), tolerance);
}

} // namespace

TEST(CVector, ParallelOfEightAndEightOhmIsFourOhm)
{
    const CVector eight = Make({8.0, 8.0, TComplex(3, 4)});
    CVector z(3);
    z.parallel(eight, eight);
    EXPECT_EQ(z[0], TComplex(4.0, 0.0));
    ExpectNear(z[2], TComplex(1.5, 2.0));

    z.parallel(eight, TComplex(8.0, 0.0));
    EXPECT_EQ(z[1], TComplex(4.0, 0.0));

    // R parallel to jX: 1 / (1/R + 1/(jX)) for R = 2, X = 2 gives 1 + j
    const CVector r = Make({2.0});
    CVector p(1);
    p.parallel(r, TComplex(0.0, 2.0));
    ExpectNear(p[0], TComplex(1.0, 1.0));
}

TEST(CVector, ReciprocalAndComplexElementWiseArithmetic)
{
    CVector v = Make({TComplex(0, 2), TComplex(3, 4)});
    v.reciprocal();
    ExpectNear(v[0], TComplex(0, -0.5));
    ExpectNear(v[1], TComplex(0.12, -0.16));

    const CVector a = Make({TComplex(1, 2), TComplex(-1, 0.5)});
    const CVector b = Make({TComplex(3, -1), TComplex(0, 1)});
    CVector c(2);
    c.mul(a, b);
    EXPECT_EQ(Values(c), (std::vector<TComplex>{TComplex(5, 5), TComplex(-0.5, -1)}));
    c.div(c, b); // back to a
    ExpectNear(c[0], a[0]);
    ExpectNear(c[1], a[1]);
    c.copyValues(a);
    c.mulAdd(TComplex(0, 1), b); // c = a + j b
    EXPECT_EQ(Values(c), (std::vector<TComplex>{TComplex(2, 5), TComplex(-2, 0.5)}));
    c.mul(TComplex(2, 0), a);
    EXPECT_EQ(Values(c), (std::vector<TComplex>{TComplex(2, 4), TComplex(-2, 1)}));
    c.sub(a, TComplex(1, 1));
    EXPECT_EQ(Values(c), (std::vector<TComplex>{TComplex(0, 1), TComplex(-2, -0.5)}));
    c.div(a, TComplex(0, 1));
    ExpectNear(c[0], TComplex(2, -1));
    ExpectNear(c[1], TComplex(0.5, 1));
    EXPECT_EQ(Values(a + b), (std::vector<TComplex>{TComplex(4, 1), TComplex(-1, 1.5)}));
    EXPECT_EQ(Values(a - b), (std::vector<TComplex>{TComplex(-2, 3), TComplex(-1, -0.5)}));

    // dot without conjugation
    EXPECT_EQ(a.dot(b), TComplex(5, 5) + TComplex(-0.5, -1));
    EXPECT_EQ(a.sum(), TComplex(0, 2.5));
}

TEST(CVector, BuildsFromRealAndImaginaryParts)
{
    const double re[] = {1, 2, 3};
    const double im[] = {-1, 0, 5};
    const CVector z(FVector(re, 3, 1), FVector(im, 3, 1));
    EXPECT_EQ(z.base(), 1);
    EXPECT_EQ(z[1], TComplex(1, -1));
    EXPECT_EQ(z[3], TComplex(3, 5));
}

TEST(CVector, SearchesCompareMagnitudesAndReportTheFirstInTheBaseScheme)
{
    // magnitudes 5, 1, 5, 0.5
    const CVector z = Make({TComplex(3, 4), TComplex(0, -1), TComplex(-5, 0), TComplex(0.3, 0.4)}, 1);
    EXPECT_EQ(z.maxIndex(), 1);
    EXPECT_EQ(z.minIndex(), 4);
    EXPECT_EQ(z.maxAbsIndex(), 1);
    EXPECT_EQ(z.minAbsIndex(), 4);
}

TEST(CVector, ConvertAndApplyWorkPerElement)
{
    CVector z = Make({TComplex(3, 4), TComplex(0, -2)}, 2);
    const FVector magnitude = z.convert([](const TComplex& x) { return std::abs(x); });
    EXPECT_EQ(magnitude.base(), 2);
    EXPECT_EQ(magnitude[2], 5.0);
    EXPECT_EQ(magnitude[3], 2.0);
    z.apply([](const TComplex& x) { return std::conj(x); });
    EXPECT_EQ(Values(z), (std::vector<TComplex>{TComplex(3, -4), TComplex(0, 2)}));
    EXPECT_TRUE(z.notEqual(Make({TComplex(3, -4), TComplex(0, 2.5)})));
    EXPECT_FALSE(z.notEqual(Make({TComplex(3, -4), TComplex(0, 2)}, 7)));
}

TEST(CVector, WritesTheParenthesisedForm)
{
    const CVector z = Make({TComplex(1, -2), TComplex(0.5, 0)});
    std::ostringstream os;
    z.write(os, 10, " | ");
    EXPECT_EQ(os.str(), "   (1, -2) |   (0.5, 0)");

    std::ostringstream lines;
    Make({TComplex(1, 2)}).write(lines);
    EXPECT_EQ(lines.str(), "        (1, 2) \n");
}

struct ComplexTextCase {
    const char* text;
    TComplex value;
};

class ComplexText : public testing::TestWithParam<ComplexTextCase> {};

TEST_P(ComplexText, ReadsEveryAcceptedForm)
{
    std::istringstream is(GetParam().text);
    TComplex value(99, 99);
    ASSERT_TRUE(ReadComplex(is, value));
    EXPECT_EQ(value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Forms, ComplexText, testing::Values(
    ComplexTextCase{"(1, 2)", TComplex(1, 2)},
    ComplexTextCase{"(1,2)", TComplex(1, 2)},
    ComplexTextCase{"  ( -1.5e2 ,\t3 ) ", TComplex(-150, 3)},
    ComplexTextCase{"(7)", TComplex(7, 0)},
    ComplexTextCase{"( 7 )", TComplex(7, 0)},
    ComplexTextCase{"4.25", TComplex(4.25, 0)},
    ComplexTextCase{"-3e-3 (1, 1)", TComplex(-0.003, 0)}));

TEST(ComplexText, MalformedValuesFailTheStream)
{
    for (const char* text : {"(1; 2)", "(1, 2", "(1, x)", "(", "abc", "", "(1 2)"}) {
        std::istringstream is(text);
        TComplex value(99, 99);
        EXPECT_FALSE(ReadComplex(is, value)) << text;
        EXPECT_EQ(value, TComplex(99, 99)) << text;
    }
}

TEST(CVector, TextRoundTripKeepsEveryValue)
{
    const CVector z = Make({TComplex(1.0 / 3.0, -2.0 / 7.0), TComplex(1e300, -1e-300), TComplex(0, 2.5e-300),
                            TComplex(-0.0, 12345.678), TComplex(5, 6), TComplex(-1, 0)});
    std::ostringstream os;
    os.precision(17);
    z.write(os);
    std::istringstream is(os.str());
    CVector back(z.size());
    ASSERT_TRUE(back.read(is));
    EXPECT_FALSE(back.notEqual(z)) << os.str();
}
