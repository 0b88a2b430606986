// The bass reflex alignment tables: the rows they must pass through, their smoothness
// between them, and the rules that choose a table and a row for a driver.

#include "box/TBreflAlignments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using A = TBreflAlignment;
namespace T = TBreflAlignments;

struct TKnotRow {
    A alignment;
    double qts;
    TBreflRow row;
};

const TKnotRow kKnots[] = {
    {A::SBB4, 0.20, {{5.4444, 5.898, 6.0844}, {1, 1, 1}}},
    {A::SBB4, 0.40, {{1.1736, 1.389, 1.4803}, {1, 1, 1}}},
    {A::SBB4, 0.70, {{0.2999, 0.4144, 0.4637}, {1, 1, 1}}},
    {A::QB3, 0.10, {{31.2904, 34.3925, 35.4793}, {4.3303, 3.8416, 3.6841}}},
    {A::QB3, 0.30, {{2.5666, 2.8421, 2.9455}, {1.4512, 1.3145, 1.2703}}},
    {A::QB3, 0.56, {{0.0033, 0.0111, 0.0128}, {0.7911, 0.7677, 0.7635}}},
    {A::SC4, 0.25, {{3.408, 3.8961, 4.089}, {1.0093, 1.0338, 1.042}}},
    {A::SC4, 0.40, {{1.0187, 1.1146, 1.1591}, {1.0758, 1.0103, 0.984}}},
    {A::SC4, 0.70, {{0.0096, 0.1946, 0.2823}, {0.584, 0.6116, 0.6271}}},
};

} // namespace

TEST(TBreflAlignmentsTest, TablesSpanTheirQRangeInHundredths)
{
    EXPECT_EQ(T::RowCount(A::SBB4), 51);
    EXPECT_EQ(T::RowCount(A::QB3), 47);
    EXPECT_EQ(T::RowCount(A::SC4), 46);
    EXPECT_DOUBLE_EQ(T::FirstQts(A::SBB4), 0.20);
    EXPECT_DOUBLE_EQ(T::FirstQts(A::QB3), 0.10);
    EXPECT_DOUBLE_EQ(T::FirstQts(A::SC4), 0.25);
}

TEST(TBreflAlignmentsTest, PassExactlyThroughTheTellingRows)
{
    for (const TKnotRow& k : kKnots) {
        const TBreflRow& row = T::Row(k.alignment, T::RowFor(k.alignment, k.qts));
        for (std::size_t c = 0; c < 3; ++c) {
            EXPECT_EQ(row.alpha[c], k.row.alpha[c])
                << static_cast<int>(k.alignment) << " Qts " << k.qts << " col " << c;
            EXPECT_EQ(row.h[c], k.row.h[c]) << static_cast<int>(k.alignment) << " Qts " << k.qts << " col " << c;
        }
    }
}

// Between the telling rows every column moves one way at a pace that changes
// gradually: no step departs from the mean of its neighbours by more than half the
// larger of them, no value leaves the range of the rows around it, and α stays positive.
TEST(TBreflAlignmentsTest, ColumnsAreSmoothAndMonotoneBetweenTellingRows)
{
    for (A a : {A::SBB4, A::QB3, A::SC4}) {
        const int n = T::RowCount(a);
        for (std::size_t c = 0; c < 3; ++c) {
            for (bool alpha : {true, false}) {
                auto value = [&](int i) { return alpha ? T::Row(a, i).alpha[c] : T::Row(a, i).h[c]; };
                for (int i = 0; i < n; ++i)
                    EXPECT_GT(value(i), 0.0);
                for (int i = 1; i + 2 < n; ++i) {
                    const double before = value(i) - value(i - 1), step = value(i + 1) - value(i),
                                 after = value(i + 2) - value(i + 1);
                    const double trend = 0.5 * (before + after);
                    EXPECT_LE(std::fabs(step - trend), 0.5 * std::max(std::fabs(before), std::fabs(after)) + 1e-12)
                        << "alignment " << static_cast<int>(a) << " col " << c << (alpha ? " alpha" : " h") << " row "
                        << i;
                }
                // Monotone between neighbouring knots: every value lies between them.
                for (std::size_t k = 0; k + 1 < std::size(kKnots); ++k) {
                    if (kKnots[k].alignment != a || kKnots[k + 1].alignment != a)
                        continue;
                    const int r0 = T::RowFor(a, kKnots[k].qts), r1 = T::RowFor(a, kKnots[k + 1].qts);
                    const double lo = std::min(value(r0), value(r1)), hi = std::max(value(r0), value(r1));
                    for (int i = r0; i <= r1; ++i) {
                        EXPECT_GE(value(i), lo - 1e-12) << "row " << i;
                        EXPECT_LE(value(i), hi + 1e-12) << "row " << i;
                    }
                }
            }
        }
    }
}

TEST(TBreflAlignmentsTest, RowIsTheRoundedHundredthWithinTheTable)
{
    struct Case {
        A alignment;
        double qts;
        int row;
    };
    const Case cases[] = {
        {A::SBB4, 0.2049, 0},
        {A::SBB4, 0.2051, 1},
        {A::SBB4, 0.4, 20},
        {A::SBB4, 0.05, 0},
        {A::SBB4, 0.9, 50},
        {A::QB3, 0.1, 0},
        {A::QB3, 0.3149, 21},
        {A::QB3, 0.3151, 22},
        {A::QB3, 0.7, 46},
        {A::SC4, 0.26, 1},
        {A::SC4, 0.7, 45},
        {A::SC4, 0.1, 0},
        {A::SC4, std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(T::RowFor(c.alignment, c.qts), c.row) << c.qts;
}

TEST(TBreflAlignmentsTest, StartChoosesTheTableByTheDriversQ)
{
    using F = T::TFit;
    struct Case {
        double qts;
        std::array<bool, 3> enabled; // SBB4, QB3, SC4
        A selected;
        F fit;
    };
    const Case cases[] = {
        {0.30, {true, true, true}, A::QB3, F::Fits},        {0.60, {true, false, true}, A::SBB4, F::Fits},
        {0.71, {false, false, false}, A::SBB4, F::TooHigh}, {0.705, {true, false, true}, A::SBB4, F::Fits},
        {0.565, {true, true, true}, A::QB3, F::Fits},       {0.245, {true, true, true}, A::QB3, F::Fits},
        {0.20, {true, true, false}, A::QB3, F::Fits},       {0.19, {false, true, false}, A::QB3, F::Fits},
        {0.095, {false, true, false}, A::QB3, F::Fits},     {0.09, {false, false, false}, A::QB3, F::TooLow},
    };
    for (const Case& c : cases) {
        const T::TStart s = T::Start(c.qts);
        EXPECT_EQ(s.enabled, c.enabled) << c.qts;
        EXPECT_EQ(s.selected, c.selected) << c.qts;
        EXPECT_EQ(s.fit, c.fit) << c.qts;
    }
}
