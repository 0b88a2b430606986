#include "core/CMatrix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path TempFile(const std::string& name)
{
    const fs::path dir = fs::temp_directory_path() / ("tonvek-matrix-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir / name;
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream os(path, std::ios::binary | std::ios::trunc);
    os.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream is(path, std::ios::binary);
    std::ostringstream all;
    all << is.rdbuf();
    return all.str();
}

std::string Field(const std::string& text, int width)
{
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

std::vector<double> Values(const FMatrix& m)
{
    std::vector<double> v;
    for (int i = 0; i < m.rows(); ++i)
        for (int j = 0; j < m.cols(); ++j)
            v.push_back(m(i, j));
    return v;
}

} // namespace

TEST(FMatrix, PrintShowsRowIndexAndBreaksAfterEveryFifthElement)
{
    FMatrix m(2, 6);
    for (int j = 0; j < 6; ++j) {
        m(0, j) = j + 1;
        m(1, j) = -(j + 1);
    }
    std::ostringstream os;
    m.print(os);
    std::string expected;
    for (int i = 0; i < 2; ++i) {
        expected += Field(std::to_string(i), 4) + ":";
        for (int j = 0; j < 6; ++j) {
            expected += Field((i == 0 ? "" : "-") + std::to_string(j + 1), 16) + " ";
            if (j == 4)
                expected += "\n      ";
        }
        expected += "\n";
    }
    EXPECT_EQ(os.str(), expected);
}

TEST(FMatrix, WriteSeparatesElementsAndRowsWithTheGivenTexts)
{
    const double v[] = {1, 2.5, -3, 4};
    const FMatrix m(v, 2, 2);
    std::ostringstream os;
    m.write(os, 5, ",", ";\n");
    EXPECT_EQ(os.str(), "    1,  2.5;\n   -3,    4");
}

struct MatrixFileCase {
    const char* name;
    std::string bytes;
    int rows;
    int cols;
    bool ok;
};

class MatrixFileRead : public testing::TestWithParam<MatrixFileCase> {};

// Each case completes at once: no byte may stall the token count.
TEST_P(MatrixFileRead, CountsTokensAndLineBreaks)
{
    const MatrixFileCase& c = GetParam();
    const fs::path path = TempFile(std::string(c.name) + ".txt");
    WriteBytes(path, c.bytes);
    FMatrix m;
    EXPECT_EQ(m.read(path.string()), c.ok);
    EXPECT_EQ(m.rows(), c.rows);
    EXPECT_EQ(m.cols(), c.cols);
    if (c.ok && c.rows * c.cols == 12) {
        std::vector<double> oneToTwelve;
        for (int k = 1; k <= 12; ++k)
            oneToTwelve.push_back(k);
        EXPECT_EQ(Values(m), oneToTwelve);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, MatrixFileRead, testing::Values(
    MatrixFileCase{"ThreeLines", "1 2 3 4\n5 6 7 8\n9 10 11 12\n", 3, 4, true},
    MatrixFileCase{"NoFinalBreak", "1 2 3 4\n5 6 7 8\n9 10 11 12", 2, 6, true},
    MatrixFileCase{"Tabs", "1\t2\t3\t4\n5\t6\t7\t8\n9\t10\t11\t12\n", 3, 4, true},
    MatrixFileCase{"CrLf", "1 2 3 4\r\n5 6 7 8\r\n9 10 11 12\r\n", 3, 4, true},
    MatrixFileCase{"LoneCr", "1 2 3 4\r5 6 7 8\r9 10 11 12\r", 1, 12, true},
    MatrixFileCase{"FormFeed", "1 2 3 4\n\f5 6 7 8\n9 10\f11 12\n", 3, 4, true},
    MatrixFileCase{"NulBytes", std::string("1 2 3 4\n5 6\0 7 8\n9 10 11 12\n\0", 29), 3, 4, true},
    MatrixFileCase{"OnlyControls", std::string("\r\f\0\v\x01", 5), 1, 0, true},
    MatrixFileCase{"Empty", "", 1, 0, true},
    MatrixFileCase{"NotANumber", "1 2\nx 4\n", 2, 2, false},
    MatrixFileCase{"UnclosedParenthesis", "1 (2 3\n4 5\n", 2, 1, false}));

TEST(FMatrix, ReadOfAMissingFileFails)
{
    FMatrix m(2, 2);
    EXPECT_FALSE(m.read(TempFile("does-not-exist").string() + "/x.txt"));
}

TEST(FMatrix, WrittenFileWithFinalBreakReadsBack)
{
    const double v[] = {0.125, -2, 3e-9, 4, 5.5, 6};
    const FMatrix m(v, 2, 3);
    const fs::path path = TempFile("roundtrip.txt");
    m.write(path.string(), 12, " ", "\n");
    EXPECT_EQ(ReadBytes(path), Field("0.125", 12) + " " + Field("-2", 12) + " " + Field("3e-09", 12) + "\n" +
                                   Field("4", 12) + " " + Field("5.5", 12) + " " + Field("6", 12));
    // The last row has no break after it, so the file reads as one row of six; with
    // the break appended it reads as written.
    FMatrix back;
    ASSERT_TRUE(back.read(path.string()));
    EXPECT_EQ(back.rows(), 1);
    EXPECT_EQ(back.cols(), 6);
    std::ofstream(path, std::ios::app) << "\n";
    ASSERT_TRUE(back.read(path.string()));
    EXPECT_EQ(back.rows(), 2);
    EXPECT_EQ(Values(back), Values(m));

    // writing again replaces the file
    FMatrix(1, 1).write(path.string(), 3, " ", "\n");
    EXPECT_EQ(ReadBytes(path), "  0");
}

TEST(CMatrix, ComplexFileCountsEachParenthesisedValueOnce)
{
    CMatrix m(2, 3);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j)
            m(i, j) = TComplex(i + 0.5, -j * 1.25);
    m(1, 2) = TComplex(7, 0);
    std::ostringstream os;
    m.write(os, 0, " ", "\n");
    const fs::path path = TempFile("complex.txt");
    WriteBytes(path, os.str() + "\n");

    CMatrix back;
    ASSERT_TRUE(back.read(path.string()));
    ASSERT_EQ(back.rows(), 2);
    ASSERT_EQ(back.cols(), 3);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(back(i, j), m(i, j)) << i << "," << j;

    // plain numbers and the short form are real values
    WriteBytes(path, "1 (2) (3, 4)\n");
    ASSERT_TRUE(back.read(path.string()));
    EXPECT_EQ(back.cols(), 3);
    EXPECT_EQ(back(0, 0), TComplex(1, 0));
    EXPECT_EQ(back(0, 1), TComplex(2, 0));
    EXPECT_EQ(back(0, 2), TComplex(3, 4));
}
