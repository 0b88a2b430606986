#include "settings/TFilterGrid.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(TFilterGrid, SpansFiveHertzToTwentyKilohertz)
{
    const TFilterGrid grid;
    ASSERT_EQ(grid.Count(), 500);
    EXPECT_DOUBLE_EQ(grid.Frequency(0), 5.0);
    EXPECT_NEAR(grid.Frequency(1), 5.0838, 5e-5);
    EXPECT_NEAR(grid.Frequency(499), 20000.0, 1e-8);
}

TEST(TFilterGrid, EqualRatioBetweenNeighbours)
{
    const TFilterGrid grid;
    const double ratio = std::pow(4000.0, 1.0 / 499.0);
    for (int i = 1; i < grid.Count(); ++i)
        EXPECT_NEAR(grid.Frequency(i) / grid.Frequency(i - 1), ratio, 1e-12) << "point " << i;
}

TEST(TFilterGrid, LogarithmsAndJOmegaFollowTheFrequencies)
{
    const TFilterGrid grid;
    for (int i : {0, 1, 250, 498, 499}) {
        const double f = grid.Frequency(i);
        EXPECT_DOUBLE_EQ(grid.Logarithm(i), std::log(f));
        EXPECT_DOUBLE_EQ(grid.Omega(i), f * 2.0 * 3.141592653589793);
        EXPECT_EQ(grid.JOmega(i).real(), 0.0);
        EXPECT_DOUBLE_EQ(grid.JOmega(i).imag(), grid.Omega(i));
    }
}
