// tonvek-cli measdata read: the curve on stdout in the FRD/ZMA layout, remarks on
// stderr, a failing status for files that hold no curve.
#include "measdata/MeasTestSupport.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

using namespace meastest;

namespace {

using CliRun = TCliRun;

class CliMeasData : public ::testing::Test {
protected:
    void SetUp() override
    {
        cli_ = std::string(TONVEK_BIN_DIR) + "/tonvek-cli";
        if (!std::filesystem::exists(cli_))
            GTEST_SKIP() << "tonvek-cli is not built";
    }

    CliRun Run(const std::string& arguments) { return RunTonvekCli(arguments, dir_.Path()); }

    static std::vector<std::string> Lines(const std::string& text)
    {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    std::string cli_;
    TempDir dir_;
};

TEST_F(CliMeasData, PrintsTheCurveOnTheBoxGrid)
{
    const CliRun run = Run("measdata read '" + std::string(TONVEK_REFDATA) + "/measured/sample.zma' --grid box");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 51u);
    EXPECT_EQ(lines[0], "   Hz\t\tohm\t\tdeg");
    EXPECT_EQ(lines[1].substr(0, 11), " 20.000000\t");
    EXPECT_EQ(lines[50].substr(0, 13), " 2000.000000\t");
    EXPECT_NE(run.err.find("read as impedance"), std::string::npos);
    EXPECT_NE(run.err.find("5 comment or header lines skipped"), std::string::npos);
}

TEST_F(CliMeasData, OutputReadsBackAsTheSameCurve)
{
    const std::string source = std::string(TONVEK_REFDATA) + "/measured/TCP115-8@0.frd";
    const CliRun run = Run("measdata read '" + source + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out).size(), 501u);
    Curve direct{}, back{};
    ASSERT_EQ(ReadMeasCurveFile(source, OnFilterGrid(), TMeasKind::Spl, direct.data()), TMeasReadResult::Loaded);
    ASSERT_EQ(ReadMeasCurveText(run.out, OnFilterGrid(), TMeasKind::Spl, back.data()), TMeasReadResult::Loaded);
    for (std::size_t k = 0; k < 500; ++k)
        ASSERT_LT(std::abs(back[k] - direct[k]), 2e-5 * std::abs(direct[k])) << k;
}

TEST_F(CliMeasData, FailuresAreOneLineAndNonZero)
{
    const std::string empty = dir_.Write("empty.frd", "* nothing\n");
    struct Case {
        std::string args;
        const char* message;
    };
    for (const Case& c : {Case{"measdata read '" + empty + "'", "holds no curve"},
                          Case{"measdata read '" + dir_.File("missing.frd") + "'", "Could not open file"},
                          Case{"measdata read '" + empty + "' --grid fine", "--grid must be"},
                          Case{"measdata read '" + empty + "' --kind", "needs a value"},
                          Case{"measdata show", "expected"}}) {
        const CliRun run = Run(c.args);
        EXPECT_NE(run.status, 0) << c.args;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

} // namespace
