// The fatal size and stream checks: each ends the program after writing exactly one
// line "<class>::<message>" to the standard error stream.

#include "core/CMatrix.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

namespace {

struct FatalCase {
    const char* name;
    std::function<void()> action;
    const char* stderrText;
};

void PrintTo(const FatalCase& c, std::ostream* os) { *os << c.name; }

class NumericFatal : public testing::TestWithParam<FatalCase> {};

TEST_P(NumericFatal, WritesOneLineAndEndsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(GetParam().action(), testing::ExitedWithCode(1), testing::StrEq(GetParam().stderrText));
}

FatalCase MatrixCase(const char* name, std::function<void()> action, const char* text)
{
    return FatalCase{name, std::move(action), text};
}

INSTANTIATE_TEST_SUITE_P(Checks, NumericFatal, testing::Values(
    MatrixCase("AddColumnMismatch", [] { FMatrix a(17, 500), b(17, 499); a.add(a, b); },
               "FMatrix::add called with different sizes\n"),
    MatrixCase("AddThisMismatch", [] { FMatrix c(17, 499), a(17, 500); c.add(a, a); },
               "FMatrix::add called with different sizes\n"),
    MatrixCase("SubRowMismatch", [] { FMatrix a(17, 500), b(16, 500); a.sub(a, b); },
               "FMatrix::sub called with different sizes\n"),
    MatrixCase("MulMismatch", [] { FMatrix a(2, 3), b(3, 2); a.mul(a, b); },
               "FMatrix::mul called with different sizes\n"),
    MatrixCase("DivMismatch", [] { FMatrix a(2, 3), b(2, 2); a.div(b, a); },
               "FMatrix::div called with different sizes\n"),
    MatrixCase("MulAddMismatch", [] { FMatrix a(2, 3), b(3, 2); a.mulAdd(2.0, b); },
               "FMatrix::mulAdd called with different sizes\n"),
    MatrixCase("ScalarMulTotalMismatch", [] { FMatrix a(2, 3), b(2, 2); a.mul(2.0, b); },
               "FMatrix::mul called with different sizes\n"),
    MatrixCase("OperatorPlusMismatch", [] { FMatrix a(2, 3), b(2, 2); (void)(a + b); },
               "FMatrix::add called with different sizes\n"),
    MatrixCase("ComplexAddMismatch", [] { CMatrix a(17, 500), b(17, 499); a.add(a, b); },
               "CMatrix::add called with different sizes\n"),
    MatrixCase("ComplexMulAddMismatch", [] { CMatrix a(1, 2), b(2, 1); a.mulAdd(TComplex(0, 1), b); },
               "CMatrix::mulAdd called with different sizes\n"),
    MatrixCase("ComplexFromParts", [] { CVector z{FVector(3), FVector(4)}; },
               "CVector::CVector(const FVector& re, const FVector& im), Input vectors have different sizes!\n"),
    MatrixCase("ComplexRead", [] { std::istringstream is("(1, 2) (3; 4)"); CVector z(2); (void)z.read(is); },
               "CVector::read: file error\n"),
    MatrixCase("ComplexReadShort", [] { std::istringstream is("1 2"); CVector z(3); (void)z.read(is); },
               "CVector::read: file error\n"),
    MatrixCase("WriteToFailedStream", [] { std::ostringstream os; os.setstate(std::ios::badbit); FMatrix(2, 2).write(os, 8, " ", "\n"); },
               "FMatrix::unable to write file\n"),
    MatrixCase("WriteToUnopenableFile", [] { CMatrix(1, 1).write("/nonexistent-folder/m.txt", 8, " ", "\n"); },
               "CMatrix::unable to write file\n")),
    [](const testing::TestParamInfo<FatalCase>& info) { return std::string(info.param.name); });

} // namespace
