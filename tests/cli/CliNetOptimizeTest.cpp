// tonvek-cli optimize on an advanced filter, run as a process: the targets and ticks
// set by the optimiser dialog's names, one line per sweep, the same course for the same
// seed, a second-order Linkwitz-Riley low-pass found again from 30 % off, the result
// saved, and refusals that leave the file as it was.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

class CliNetOptimizeTest : public TScratchFolderTest {
protected:
    TCliRun Cli(const std::string& args) { return RunTonvekCli(args, dir_); }
    // The value of a component line of `report`, e.g. "L1071 1.038 mH" -> 1.038.
    double Reported(const std::string& project, const std::string& name)
    {
        const std::string out = Cli("report '" + project + "'").out;
        const std::size_t at = out.find(name + " ");
        return at == std::string::npos ? -1.0 : std::atof(out.c_str() + at + name.size() + 1);
    }
};

TEST_F(CliNetOptimizeTest, FindsTheLinkwitzRileyLowPassAndSavesIt)
{
    const std::string p = File("lr.flt");
    // L = 0.3183 R / f and C = 0.0796 / (R f) for 8 ohm at 2500 Hz: 1.0186 mH, 3.980 uF;
    // started 30 % high and low.
    ASSERT_EQ(Cli("new advanced1 --set 'Net 1:Branch 07=R1 + L' --set 'Net 1:Branch 08=C' -o '" + p + "'").status, 0);
    const TCliRun set = Cli("set '" + p +
                            "' 'Net 1:R1071=0.01' 'Net 1:L1071=1.3241' 'Net 1:C1081=2.786'"
                            " 'Net 1, optimize:Lowpass:Fc=2500' 'Net 1, optimize:Lowpass:order=2'"
                            " 'Net 1, optimize:Lowpass:Type=Linkwitz' 'Net 1, optimize:Include:Lower=100'"
                            " 'Net 1, optimize:Include:Upper=10000' 'Net 1:L1071 optimise=on'"
                            " 'Net 1:C1081 optimise=on'");
    ASSERT_EQ(set.status, 0) << set.err;
    const std::string before = ReadTextFile(p);

    const TCliRun a = Cli("optimize '" + p + "' --net 1 --until-stable --seed 7");
    ASSERT_EQ(a.status, 0) << a.err;
    std::istringstream lines(a.out);
    std::string first, line, last;
    std::getline(lines, first);
    int count = 1;
    while (std::getline(lines, line))
        if (line.rfind("saved ", 0) != 0) {
            last = line;
            ++count;
        }
    // "1\t0.5831 dB\t-0.74 dB\tL1071 1.258 mH\tC1081 2.926 uF"
    EXPECT_EQ(first.rfind("1\t", 0), 0u) << first;
    EXPECT_NE(first.find("\tL1071 "), std::string::npos);
    EXPECT_NE(first.find(" mH\tC1081 "), std::string::npos);
    EXPECT_GT(count, 20);
    const double firstError = std::atof(first.c_str() + first.find('\t') + 1);
    const double lastError = std::atof(last.c_str() + last.find('\t') + 1);
    EXPECT_LT(lastError, firstError / 4);
    EXPECT_NEAR(Reported(p, "L1071") / 1.0186, 1.0, 0.05);
    EXPECT_NEAR(Reported(p, "C1081") / 3.980, 1.0, 0.05);

    // render draws the optimiser's plot beside the windows.
    const TCliRun render = Cli("render '" + p + "' --out '" + File("png") + "'");
    ASSERT_EQ(render.status, 0) << render.err;
    EXPECT_GT(std::filesystem::file_size(File("png") + "/Net_1_optimize.png"), 1000u);

    // The same seed from the same file takes the same course.
    const std::string again = File("again.flt");
    {
        std::ofstream out(again, std::ios::binary);
        out << before;
    }
    const TCliRun b = Cli("optimize '" + again + "' --net 1 --until-stable --seed 7");
    EXPECT_EQ(b.out.substr(0, b.out.find("saved ")), a.out.substr(0, a.out.find("saved ")));
}

TEST_F(CliNetOptimizeTest, RefusalsLeaveTheFileAlone)
{
    const std::string p = File("one.flt");
    ASSERT_EQ(Cli("new advanced1 --set 'Net 1:Branch 07=R1 + L' -o '" + p + "'").status, 0);
    const std::string before = ReadTextFile(p);
    struct Case {
        const char* options;
        const char* says;
    };
    const Case cases[] = {
        {"--net 2", "has 1 net"},
        {"--net 1", "optimisation list"},
        {"--net 1 --steps 3 --until-stable", "exclude each other"},
        {"--net 5", "--net takes 1 .. 4"},
        {"--steps 3", "--net N"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const TCliRun r = Cli("optimize '" + p + "' " + c.options);
        EXPECT_NE(r.status, 0);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_TRUE(ReadTextFile(p) == before);
    }
    // A refused range value names what the field takes.
    const TCliRun r = Cli("set '" + p + "' 'Net 1, optimize:Include:Upper=50'");
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(ReadTextFile(p) == before);
}

} // namespace
