#include "core/FMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace {

FVector Make(const std::vector<double>& values, int base = 0)
{
    return FVector(values.data(), static_cast<int>(values.size()), base);
}

std::vector<double> Values(const FVector& v)
{
    return std::vector<double>(v.begin(), v.end());
}

// A value written in a field of the given width (right-aligned, default format).
std::string Field(const std::string& text, int width)
{
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

} // namespace

TEST(FVector, BaseSchemeAddressesElementsFromBaseThroughBasePlusNMinusOne)
{
    FVector v(4, 1);
    EXPECT_EQ(v.size(), 4);
    EXPECT_EQ(v.base(), 1);
    EXPECT_EQ(v.origin() + 1, v.data());
    for (int i = 1; i <= 4; ++i)
        v[i] = 10.0 * i;
    EXPECT_EQ(Values(v), (std::vector<double>{10, 20, 30, 40}));

    FVector empty(0, 3);
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(empty.data(), nullptr);
}

struct SearchCase {
    std::vector<double> values;
    int base;
    int minIndex, maxIndex, minAbsIndex, maxAbsIndex;
};

class FVectorSearch : public testing::TestWithParam<SearchCase> {};

TEST_P(FVectorSearch, ReportsTheFirstBestElementInTheBaseScheme)
{
    const SearchCase& c = GetParam();
    const FVector v = Make(c.values, c.base);
    EXPECT_EQ(v.minIndex(), c.minIndex);
    EXPECT_EQ(v.maxIndex(), c.maxIndex);
    EXPECT_EQ(v.minAbsIndex(), c.minAbsIndex);
    EXPECT_EQ(v.maxAbsIndex(), c.maxAbsIndex);
}

INSTANTIATE_TEST_SUITE_P(Cases, FVectorSearch, testing::Values(
    // base 1, largest at every position in turn
    SearchCase{{9, 1, 2, 3}, 1, 2, 1, 2, 1},
    SearchCase{{1, 9, 2, 3}, 1, 1, 2, 1, 2},
    SearchCase{{1, 2, 9, 3}, 1, 1, 3, 1, 3},
    SearchCase{{3, 1, 2, 9}, 1, 2, 4, 2, 4},
    // ties: the first one wins
    SearchCase{{5, 7, 7, 1, 1}, 0, 3, 1, 3, 1},
    SearchCase{{2, 2, 2}, 1, 1, 1, 1, 1},
    // absolute value differs from value
    SearchCase{{-8, 3, 0.5, 7}, 0, 0, 3, 2, 0},
    SearchCase{{4, -4, -1, 1}, -2, -1, -2, 0, -2},
    // one element; an empty vector reports its base
    SearchCase{{42}, 5, 5, 5, 5, 5},
    SearchCase{{}, 1, 1, 1, 1, 1}));

TEST(FVector, ElementWiseOperationsMayWriteIntoAnOperand)
{
    FVector a = Make({1, 2, 3, 4});
    const FVector b = Make({4, 3, 2, 1});
    a.add(a, b);
    EXPECT_EQ(Values(a), (std::vector<double>{5, 5, 5, 5}));
    a.sub(b, a);
    EXPECT_EQ(Values(a), (std::vector<double>{-1, -2, -3, -4}));
    a.mul(a, a);
    EXPECT_EQ(Values(a), (std::vector<double>{1, 4, 9, 16}));
    a.div(a, b);
    EXPECT_EQ(Values(a), (std::vector<double>{0.25, 4.0 / 3.0, 4.5, 16}));
    a.mul(2.0, b);
    EXPECT_EQ(Values(a), (std::vector<double>{8, 6, 4, 2}));
    a.mulAdd(0.5, a);
    EXPECT_EQ(Values(a), (std::vector<double>{12, 9, 6, 3}));
    a.add(a, 1.0);
    EXPECT_EQ(Values(a), (std::vector<double>{13, 10, 7, 4}));
    a.mul(a, -1.0);
    EXPECT_EQ(Values(a), (std::vector<double>{-13, -10, -7, -4}));
    a.apply([](double x) { return std::fabs(x); });
    EXPECT_EQ(Values(a), (std::vector<double>{13, 10, 7, 4}));
}

TEST(FVector, OperatorFormsReturnNewVectorsWithTheFirstOperandsBase)
{
    const FVector a = Make({1, 2, 3}, 1);
    const FVector b = Make({3, 2, 1}, 1);
    const FVector sum = a + b;
    EXPECT_EQ(sum.base(), 1);
    EXPECT_EQ(Values(sum), (std::vector<double>{4, 4, 4}));
    EXPECT_EQ(Values(a - b), (std::vector<double>{-2, 0, 2}));
    EXPECT_EQ(Values(a * b), (std::vector<double>{3, 4, 3}));
    EXPECT_EQ(Values(3.0 * a), (std::vector<double>{3, 6, 9}));
}

TEST(FVector, ReductionsSumAndDotWithOffset)
{
    const FVector a = Make({1, 2, 3});
    const FVector b = Make({10, 20, 30, 40, 50});
    EXPECT_DOUBLE_EQ(a.sum(), 6.0);
    EXPECT_DOUBLE_EQ(a.dot(b), 10 + 40 + 90);
    EXPECT_DOUBLE_EQ(a.dot(b, 2), 30 + 80 + 150);
}

TEST(FVector, ConstructionCopiesAssignsAndCompares)
{
    const float floats[] = {1.5f, -2.25f, 3.0f};
    const FVector f(floats, 3, 2);
    EXPECT_EQ(f.base(), 2);
    EXPECT_EQ(Values(f), (std::vector<double>{1.5, -2.25, 3.0}));

    const FVector copy(f);
    EXPECT_EQ(copy.base(), 2);
    EXPECT_NE(copy.data(), f.data());
    EXPECT_FALSE(copy.notEqual(f));

    // range: 2 elements of f from its index 3, new base 0
    const FVector range(f, 3, 2);
    EXPECT_EQ(range.base(), 0);
    EXPECT_EQ(Values(range), (std::vector<double>{-2.25, 3.0}));

    FVector assigned(7);
    assigned.assign(f);
    EXPECT_EQ(assigned.size(), 3);
    EXPECT_EQ(assigned.base(), 2);
    EXPECT_EQ(assigned[4], 3.0);

    FVector other = Make({1.5, -2.25, 3.5});
    EXPECT_TRUE(other.notEqual(f));
    EXPECT_TRUE(FVector(2).notEqual(FVector(3)));
    EXPECT_TRUE(FVector(2) == FVector(2));

    other.resize(2, 1);
    EXPECT_EQ(Values(other), (std::vector<double>{0, 0}));
    EXPECT_EQ(other.base(), 1);
    other.fill(7.0);
    EXPECT_EQ(Values(other), (std::vector<double>{7, 7}));
}

TEST(FVector, CopyValuesAndCopyRangeUseTheBaseScheme)
{
    FVector v(5, 1);
    v.copyValues(Make({1, 2, 3}));
    EXPECT_EQ(Values(v), (std::vector<double>{1, 2, 3, 0, 0}));

    const FVector src = Make({10, 20, 30, 40, 50}, 1);
    FVector dst(5, 0);
    dst.copyRange(src, 2, 2, 1); // src[2], src[3] -> dst[1], dst[2]
    EXPECT_EQ(Values(dst), (std::vector<double>{0, 20, 30, 0, 0}));
    dst.copyRange(src, 1, -1, 3); // to the end of dst
    EXPECT_EQ(Values(dst), (std::vector<double>{0, 20, 30, 10, 20}));
    dst.copyRange(src, 4, -1, 0); // -1 stops at the end of the source too
    EXPECT_EQ(Values(dst), (std::vector<double>{40, 50, 30, 10, 20}));

    FVector self = Make({1, 2, 3, 4, 5});
    self.copyRange(self, 0, 3, 2); // overlapping, toward the end
    EXPECT_EQ(Values(self), (std::vector<double>{1, 2, 1, 2, 3}));
    self.copyRange(self, 2, -1, 0); // overlapping, toward the front
    EXPECT_EQ(Values(self), (std::vector<double>{1, 2, 3, 2, 3}));
}

TEST(FVector, ShiftsValuesAndVectorsInAtBothEnds)
{
    const FVector start = Make({1, 2, 3, 4});
    const FVector two = Make({7, 8});
    const FVector seven = Make({11, 12, 13, 14, 15, 16, 17});
    struct Row {
        const char* name;
        void (*op)(FVector&, const FVector&, const FVector&);
        std::vector<double> expected;
    };
    const Row rows[] = {
        {"value at end", [](FVector& v, const FVector&, const FVector&) { v.shiftInAtEnd(9.0); }, {2, 3, 4, 9}},
        {"value at front", [](FVector& v, const FVector&, const FVector&) { v.shiftInAtFront(9.0); }, {9, 1, 2, 3}},
        {"short vector at end", [](FVector& v, const FVector& s, const FVector&) { v.shiftInAtEnd(s); }, {3, 4, 7, 8}},
        {"short vector at front", [](FVector& v, const FVector& s, const FVector&) { v.shiftInAtFront(s); }, {7, 8, 1, 2}},
        {"long vector at end", [](FVector& v, const FVector&, const FVector& l) { v.shiftInAtEnd(l); }, {14, 15, 16, 17}},
        {"long vector at front", [](FVector& v, const FVector&, const FVector& l) { v.shiftInAtFront(l); }, {11, 12, 13, 14}},
        {"itself at end", [](FVector& v, const FVector&, const FVector&) { v.shiftInAtEnd(v); }, {1, 2, 3, 4}},
    };
    for (const Row& row : rows) {
        FVector v(start);
        row.op(v, two, seven);
        EXPECT_EQ(Values(v), row.expected) << row.name;
    }
    FVector empty;
    empty.shiftInAtEnd(1.0);
    empty.shiftInAtFront(two);
    EXPECT_TRUE(empty.empty());
}

TEST(FVector, WritePutsFiveFieldsOfWidthFourteenOnALine)
{
    const FVector seven = Make({1, 2, 3, 4, 5, 6.5, -7});
    std::ostringstream os;
    seven.write(os);
    std::string line1;
    for (const char* t : {"1", "2", "3", "4", "5"})
        line1 += Field(t, 14) + " ";
    const std::string line2 = Field("6.5", 14) + " " + Field("-7", 14) + " ";
    EXPECT_EQ(os.str(), line1 + "\n" + line2 + "\n");

    std::ostringstream full;
    Make({1, 2, 3, 4, 5}).write(full);
    EXPECT_EQ(full.str(), line1 + "\n"); // no extra break after a full line

    std::ostringstream none;
    FVector().write(none);
    EXPECT_EQ(none.str(), "");
}

TEST(FVector, WriteWithWidthAndSeparatorAndReadBack)
{
    const FVector v = Make({1.25, -3, 1e-7});
    std::ostringstream os;
    v.write(os, 8, ";");
    EXPECT_EQ(os.str(), Field("1.25", 8) + ";" + Field("-3", 8) + ";" + Field("1e-07", 8));

    std::istringstream is("  4.5\t-1e3\n 7 extra");
    FVector r(3, 1);
    ASSERT_TRUE(r.read(is));
    EXPECT_EQ(Values(r), (std::vector<double>{4.5, -1000, 7}));

    std::istringstream shortInput("1 2");
    EXPECT_FALSE(r.read(shortInput));
    std::istringstream badInput("1 x 3");
    EXPECT_FALSE(r.read(badInput));
}

TEST(FVector, MovedFromVectorIsEmpty)
{
    FVector a = Make({1, 2}, 3);
    const double* storage = a.data();
    FVector b(std::move(a));
    EXPECT_EQ(b.data(), storage);
    EXPECT_EQ(b.base(), 3);
    EXPECT_EQ(b[4], 2.0);
    EXPECT_TRUE(a.empty()); // NOLINT(bugprone-use-after-move): the moved-from state is defined
}
