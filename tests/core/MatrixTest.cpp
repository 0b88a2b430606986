#include "core/CMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Row-major values of a matrix.
std::vector<double> Values(const FMatrix& m)
{
    std::vector<double> v;
    for (int i = 0; i < m.rows(); ++i)
        for (int j = 0; j < m.cols(); ++j)
            v.push_back(m(i, j));
    return v;
}

std::vector<double> Values(const FVector& v)
{
    return std::vector<double>(v.begin(), v.end());
}

FMatrix Make(int rows, int cols, const std::vector<double>& values)
{
    return FMatrix(values.data(), rows, cols);
}

} // namespace

TEST(FMatrix, ConstructsFromRowMajorArraysAndRowRanges)
{
    const float f[] = {1, 2, 3, 4, 5, 6};
    const FMatrix m(f, 2, 3);
    EXPECT_EQ(m.rows(), 2);
    EXPECT_EQ(m.cols(), 3);
    EXPECT_EQ(m(1, 0), 4.0);
    EXPECT_EQ(m[1][2], 6.0);

    const FMatrix big = Make(4, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    const FMatrix middle(big, 1, 2);
    EXPECT_EQ(Values(middle), (std::vector<double>{3, 4, 5, 6}));

    FMatrix copy(big);
    EXPECT_EQ(Values(copy), Values(big));
    copy.resize(17, 500);
    EXPECT_EQ(copy.rows(), 17);
    EXPECT_EQ(copy.cols(), 500);
    EXPECT_EQ(copy.maxAbsValue(), 0.0);
    copy.assign(middle);
    EXPECT_EQ(Values(copy), Values(middle));
    copy.fill(2.5);
    EXPECT_EQ(Values(copy), (std::vector<double>{2.5, 2.5, 2.5, 2.5}));

    EXPECT_EQ(FMatrix().cols(), 0);
}

TEST(FMatrix, ElementWiseOperationsOnMatchingSizes)
{
    const FMatrix a = Make(2, 2, {1, 2, 3, 4});
    const FMatrix b = Make(2, 2, {4, 3, 2, 1});
    FMatrix c(2, 2);
    c.add(a, b);
    EXPECT_EQ(Values(c), (std::vector<double>{5, 5, 5, 5}));
    c.sub(a, b);
    EXPECT_EQ(Values(c), (std::vector<double>{-3, -1, 1, 3}));
    c.mul(a, b);
    EXPECT_EQ(Values(c), (std::vector<double>{4, 6, 6, 4}));
    c.div(c, b);
    EXPECT_EQ(Values(c), Values(a));
    c.mulAdd(2.0, b);
    EXPECT_EQ(Values(c), (std::vector<double>{9, 8, 7, 6}));
    c.mul(-1.0, a);
    EXPECT_EQ(Values(c), (std::vector<double>{-1, -2, -3, -4}));
    EXPECT_EQ(Values(a + b), (std::vector<double>{5, 5, 5, 5}));
    EXPECT_EQ(Values(a - b), (std::vector<double>{-3, -1, 1, 3}));
}

TEST(FMatrix, ScalarProductPairsElementsInRowMajorOrderAcrossShapes)
{
    const FMatrix b = Make(3, 2, {1, 2, 3, 4, 5, 6});
    FMatrix c(2, 3);
    c.mul(10.0, b);
    EXPECT_EQ(Values(c), (std::vector<double>{10, 20, 30, 40, 50, 60}));
}

TEST(FMatrix, MatrixProductTransposeAndColumnSums)
{
    const FMatrix a = Make(2, 3, {1, 2, 3, 4, 5, 6});
    const FMatrix b = Make(3, 2, {7, 8, 9, 10, 11, 12});
    const FMatrix p = a * b;
    EXPECT_EQ(p.rows(), 2);
    EXPECT_EQ(p.cols(), 2);
    EXPECT_EQ(Values(p), (std::vector<double>{58, 64, 139, 154}));

    FMatrix q = Make(2, 2, {1, 1, 0, 1});
    q.product(q, q); // may be an operand
    EXPECT_EQ(Values(q), (std::vector<double>{1, 2, 0, 1}));

    const FMatrix t = a.transpose();
    EXPECT_EQ(t.rows(), 3);
    EXPECT_EQ(Values(t), (std::vector<double>{1, 4, 2, 5, 3, 6}));
    EXPECT_EQ(Values(a.columnSums()), (std::vector<double>{5, 7, 9}));
}

TEST(FMatrix, SmallestAndLargestValuesAndMagnitudes)
{
    const FMatrix m = Make(2, 3, {3, -7, 2, 7, -0.5, 1});
    EXPECT_EQ(m.minValue(), -7.0);
    EXPECT_EQ(m.maxValue(), 7.0);
    EXPECT_EQ(m.maxAbsValue(), -7.0); // first of the two magnitudes 7, with its sign
    EXPECT_EQ(m.minAbsValue(), -0.5);
}

TEST(FMatrix, ShiftsRowsInAtBothEnds)
{
    FMatrix m = Make(3, 2, {1, 2, 3, 4, 5, 6});
    const double row[] = {8, 9};
    const FVector r(row, 2);
    m.shiftInRowAtFront(r);
    EXPECT_EQ(Values(m), (std::vector<double>{8, 9, 1, 2, 3, 4}));
    m.shiftInRowAtEnd(r);
    EXPECT_EQ(Values(m), (std::vector<double>{1, 2, 3, 4, 8, 9}));

    // a row of the matrix itself: its values as they were before the shift
    m.shiftInRowAtFront(m[1]);
    EXPECT_EQ(Values(m), (std::vector<double>{3, 4, 1, 2, 3, 4}));
    m.shiftInRowAtEnd(m[0]);
    EXPECT_EQ(Values(m), (std::vector<double>{1, 2, 3, 4, 3, 4}));
    m.shiftInRowAtFront(m[2]);
    EXPECT_EQ(Values(m), (std::vector<double>{3, 4, 1, 2, 3, 4}));
}

TEST(FMatrix, TrianglesOfASquareMatrixRowByRow)
{
    const FMatrix m = Make(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_EQ(Values(m.upperTriangle()), (std::vector<double>{1, 2, 3, 5, 6, 9}));
    EXPECT_EQ(Values(m.lowerTriangle()), (std::vector<double>{1, 4, 5, 7, 8, 9}));
}

TEST(CMatrix, ComplexOperationsConvertAndMap)
{
    CMatrix a(2, 2);
    a(0, 0) = TComplex(1, 1);
    a(0, 1) = TComplex(0, 2);
    a(1, 0) = TComplex(3, -4);
    a(1, 1) = TComplex(-1, 0);

    CMatrix c(2, 2);
    c.mul(a, a);
    EXPECT_EQ(c(0, 0), TComplex(0, 2));
    EXPECT_EQ(c(1, 0), TComplex(-7, -24));
    c.mulAdd(TComplex(0, 1), a);
    EXPECT_EQ(c(0, 1), TComplex(-4, 0) + TComplex(-2, 0));

    const CMatrix p = a * a; // (1+j)(1+j) + 2j(3-4j) = 2j + 8 + 6j
    EXPECT_EQ(p(0, 0), TComplex(8, 8));

    const CMatrix t = a.transpose(); // no conjugation
    EXPECT_EQ(t(0, 1), TComplex(3, -4));
    EXPECT_EQ(a.columnSums()[0], TComplex(4, -3));
    EXPECT_EQ(a.maxAbsValue(), TComplex(3, -4));
    EXPECT_EQ(a.minAbsValue(), TComplex(-1, 0));
    EXPECT_EQ(a.upperTriangle()[1], TComplex(0, 2));

    const FMatrix magnitude = a.convert([](const TComplex& z) { return std::abs(z); });
    EXPECT_EQ(magnitude(1, 0), 5.0);
    const CMatrix conjugate = a.map([](const TComplex& z) { return std::conj(z); });
    EXPECT_EQ(conjugate(0, 1), TComplex(0, -2));
    EXPECT_EQ((a + conjugate)(0, 1), TComplex(0, 0));
    EXPECT_EQ((a - conjugate)(0, 1), TComplex(0, 4));
}
