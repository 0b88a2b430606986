// The inline division, magnitude and phase agree with the library's within rounding over
// every direction and the magnitudes the simulations meet, and leave the special values
// to the library.

#include "core/TComplex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kPi = 3.141592653589793;

TEST(TComplexArithmeticTest, PhaseMatchesAtan2AllRound)
{
    double worst = 0;
    for (double scale : {1e-12, 1e-3, 1.0, 7.5e4, 1e12}) {
        for (int i = 0; i <= 20000; ++i) {
            const double angle = -kPi + 2 * kPi * i / 20000.0;
            const TComplex z(scale * std::cos(angle), scale * std::sin(angle));
            const double expected = std::atan2(z.imag(), z.real());
            worst = std::max(worst, std::fabs(PhaseOf(z) - expected));
        }
    }
    EXPECT_LT(worst, 4 * std::numeric_limits<double>::epsilon());
}

TEST(TComplexArithmeticTest, PhaseKeepsTheLibraryAtAxesAndSpecialValues)
{
    const double inf = std::numeric_limits<double>::infinity();
    const TComplex cases[] = {{1, 0},   {-1, 0},   {-1, -0.0}, {0, 1},      {0, -1},     {0.0, 0.0},
                              {-0.0, 0.0}, {-0.0, -0.0}, {1, 1e-300}, {-1, 1e-300}, {inf, 1},   {1, inf},
                              {-inf, -inf}};
    for (const TComplex& z : cases)
        EXPECT_EQ(PhaseOf(z), std::atan2(z.imag(), z.real())) << z.real() << ", " << z.imag();
    EXPECT_TRUE(std::isnan(PhaseOf(TComplex(std::nan(""), 1))));
}

TEST(TComplexArithmeticTest, DivisionAndMagnitudeMatchTheLibrary)
{
    const TComplex values[] = {{3, -4}, {1e-6, 2e-7}, {-250, 1e4}, {0.5, 0}, {0, -8}};
    for (const TComplex& a : values) {
        for (const TComplex& b : values) {
            const TComplex q = DivComplex(a, b), expected = a / b;
            EXPECT_NEAR(q.real(), expected.real(), 1e-15 * std::abs(expected));
            EXPECT_NEAR(q.imag(), expected.imag(), 1e-15 * std::abs(expected));
            EXPECT_NEAR(std::abs(DivComplex(2.5, b) - 2.5 / b), 0, 1e-15 * std::abs(2.5 / b));
        }
        EXPECT_NEAR(MagnitudeOf(a), std::abs(a), 1e-15 * std::abs(a));
    }
}

TEST(TComplexArithmeticTest, DecibelsMatchTenLog10)
{
    for (double m2 : {1e-30, 3.7e-9, 0.5, 1.0, 2.0, 10.0, 4.2e5, 1e30}) {
        const double expected = 10.0 * std::log10(m2);
        EXPECT_NEAR(DecibelsOfSquared(m2), expected, 4 * std::numeric_limits<double>::epsilon() * std::fabs(expected) + 1e-15)
            << m2;
    }
}

} // namespace
