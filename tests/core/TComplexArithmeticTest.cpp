// The inline division, magnitude and phase agree with the library's within rounding over
// every direction and the magnitudes the simulations meet, and leave the special values
// to the library.

#include "core/TComplex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

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

// Random arguments over the whole normal range and dense ones around 1 and the powers
// of two, where the slices and the exponent meet: within 2 units in the last place of
// std::log. Arguments outside the normal range give what std::log gives.
TEST(TComplexArithmeticTest, NaturalLogMatchesTheLibrary)
{
    std::uint64_t state = 0x243f6a8885a308d3u;
    std::vector<double> xs;
    for (int i = 0; i < 200000; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        const std::uint64_t bits = 0x0010000000000000u + state % (0x7fe0000000000000u - 0x0010000000000000u);
        double x;
        std::memcpy(&x, &bits, sizeof x);
        xs.push_back(x);
    }
    for (double centre : {0.25, 0.5, 0.6875, 1.0, 1.375, 2.0, 1024.0}) {
        double x = centre;
        for (int i = 0; i < 2000; ++i)
            x = std::nextafter(x, 0.0);
        for (int i = 0; i < 4000; ++i, x = std::nextafter(x, 10.0))
            xs.push_back(x);
        for (int i = -300; i <= 300; ++i)
            xs.push_back(centre * (1.0 + i / 4096.0));
    }
    for (double x : xs) {
        const double expected = std::log(x), got = NaturalLog(x);
        const double ulp = std::nextafter(std::fabs(expected), 1e300) - std::fabs(expected);
        ASSERT_LE(std::fabs(got - expected), 2 * ulp) << x;
    }
    EXPECT_EQ(NaturalLog(1.0), 0.0);
    const double inf = std::numeric_limits<double>::infinity();
    for (double x : {0.0, -0.0, -1.0, 5e-324, 2e-308, std::numeric_limits<double>::max(), inf, -inf}) {
        const double expected = std::log(x), got = NaturalLog(x);
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(got)) << x;
        else
            EXPECT_EQ(got, expected) << x;
    }
    EXPECT_TRUE(std::isnan(NaturalLog(std::nan(""))));
}

// The block form gives each value what the single call gives, bit for bit, with values
// that are not positive and normal anywhere in a pair, and lengths even and odd.
TEST(TComplexArithmeticTest, LevelsInPlaceMatchTheSingleCalls)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double odd[] = {0.0, -0.0, -3.0, 5e-324, 2e-310, inf, std::nan(""), 1.0, 2.0};
    std::uint64_t state = 0x13198a2e03707344u;
    for (int n : {0, 1, 2, 3, 17, 500, 501}) {
        std::vector<double> values(static_cast<std::size_t>(n));
        for (double& v : values) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            v = state % 11 == 0
                    ? odd[state % 9]
                    : std::ldexp(static_cast<double>(state >> 11), -53 + static_cast<int>(state % 120) - 60);
        }
        std::vector<double> levels = values;
        DecibelsOfSquaredInPlace(levels.data(), n);
        for (std::size_t i = 0; i < values.size(); ++i) {
            const double expected = values[i] > 0 ? DecibelsOfSquared(values[i]) : 0.0;
            if (std::isnan(expected))
                EXPECT_TRUE(std::isnan(levels[i]));
            else
                EXPECT_EQ(std::memcmp(&levels[i], &expected, sizeof expected), 0)
                    << values[i] << ": " << levels[i] << " against " << expected;
        }
    }
}

// The block form of the phase gives what the single call gives, bit for bit, in every
// direction and with special values anywhere, for lengths even and odd.
TEST(TComplexArithmeticTest, PhasesInBlocksMatchTheSingleCalls)
{
    const double inf = std::numeric_limits<double>::infinity();
    const TComplex odd[] = {{0, 0}, {-0.0, 0}, {0, -0.0}, {inf, 1}, {1, -inf}, {std::nan(""), 1}, {1e301, 1}, {-1, 0}};
    std::uint64_t state = 0xa4093822299f31d0u;
    for (int n : {0, 1, 2, 3, 64, 499, 500}) {
        for (int withOdd = 0; withOdd < 2; ++withOdd) {
            std::vector<TComplex> z(static_cast<std::size_t>(n));
            for (std::size_t i = 0; i < z.size(); ++i) {
                state ^= state << 13;
                state ^= state >> 7;
                state ^= state << 17;
                const double angle = -kPi + 2 * kPi * static_cast<double>(state % 100000) / 100000.0;
                const double size = std::ldexp(1.0, static_cast<int>(state % 80) - 40);
                z[i] = withOdd && state % 13 == 0 ? odd[state % 8] : std::polar(size, angle);
                if (state % 17 == 0) // exactly on an axis or a diagonal
                    z[i] = TComplex(state % 2 ? size : -size, state % 3 ? 0.0 : size);
            }
            std::vector<double> phases(z.size());
            PhasesOf(z.data(), phases.data(), n, 57.29577951307855);
            for (std::size_t i = 0; i < z.size(); ++i) {
                const double expected = PhaseOf(z[i]) * 57.29577951307855;
                if (std::isnan(expected))
                    EXPECT_TRUE(std::isnan(phases[i]));
                else
                    EXPECT_EQ(std::memcmp(&phases[i], &expected, sizeof expected), 0)
                        << z[i].real() << ", " << z[i].imag() << ": " << phases[i] << " against " << expected;
            }
        }
    }
}

} // namespace
