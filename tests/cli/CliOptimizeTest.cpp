// tonvek-cli optimize --fit, run as a process on copies of the example projects: one
// line per step, the same course for the same seed, the result saved, convergence
// with --until-stable, and refusals that leave the file as it was.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

class CliOptimizeTest : public TScratchFolderTest {
protected:
    std::string Copy(const char* example)
    {
        std::string path = File(example);
        std::filesystem::copy_file(std::string(TONVEK_SOURCE_DIR) + "/examples/" + example, path,
                                   std::filesystem::copy_options::overwrite_existing);
        return path;
    }
    TCliRun Optimize(const std::string& project, const std::string& options)
    {
        return RunTonvekCli("optimize '" + project + "' " + options, dir_);
    }
    // The step lines: step number, mean error, then the varied values.
    struct TLine {
        int step;
        double error;
        std::vector<std::string> values;
    };
    static std::vector<TLine> Steps(const std::string& out)
    {
        std::vector<TLine> lines;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("saved ", 0) == 0)
                continue;
            std::istringstream fields(line);
            TLine l{};
            std::string cell;
            std::getline(fields, cell, '\t');
            l.step = std::atoi(cell.c_str());
            std::getline(fields, cell, '\t');
            l.error = std::atof(cell.c_str());
            while (std::getline(fields, cell, '\t'))
                l.values.push_back(cell);
            lines.push_back(l);
        }
        return lines;
    }
    std::string Field(const std::string& project, const std::string& name)
    {
        std::istringstream in(RunTonvekCli("fields '" + project + "'", dir_).out);
        for (std::string line; std::getline(in, line);)
            if (line.rfind(name + "\t", 0) == 0)
                return line.substr(name.size() + 1, line.find('\t', name.size() + 1) - name.size() - 1);
        return {};
    }
};

} // namespace

TEST_F(CliOptimizeTest, FitPrintsEveryStepAndSavesTheLastState)
{
    const std::string project = Copy("closed-10in.box");
    TCliRun r = Optimize(project, "--fit --lower 50 --steps 30 --seed 3");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<TLine> steps = Steps(r.out);
    ASSERT_EQ(steps.size(), 30u) << r.out;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        EXPECT_EQ(steps[k].step, static_cast<int>(k) + 1);
        ASSERT_EQ(steps[k].values.size(), 1u); // the closed box varies its volume only
        EXPECT_EQ(steps[k].values[0].rfind("volume ", 0), 0u);
    }
    EXPECT_LT(steps.back().error, steps.front().error);
    EXPECT_NE(r.out.find("saved "), std::string::npos);
    // The file holds the volume of the last line, and the cutoff used.
    const double last = std::atof(steps.back().values[0].substr(7).c_str());
    EXPECT_NEAR(std::atof(Field(project, "Box volume").c_str()), last, 0.05 + 1e-9);

    // The same seed takes the same course; another seed another one. With --q the Q
    // is varied too.
    const std::string again = Copy("closed-10in.box");
    EXPECT_EQ(Optimize(again, "--fit --lower 50 --steps 30 --seed 3").out, r.out);
    const std::string other = Copy("closed-10in.box");
    EXPECT_NE(Optimize(other, "--fit --lower 50 --steps 30 --seed 4").out, r.out);
    const std::string withQ = Copy("closed-10in.box");
    TCliRun q = Optimize(withQ, "--fit --lower 50 --steps 5 --q");
    ASSERT_EQ(q.status, 0) << q.err;
    ASSERT_EQ(Steps(q.out).size(), 5u);
    EXPECT_EQ(Steps(q.out)[0].values.size(), 2u);
}

TEST_F(CliOptimizeTest, UntilStableStopsWhenTwentyStepsGainNothing)
{
    const std::string project = Copy("reflex-7in.box");
    TCliRun r = Optimize(project, "--fit --lower 40 --until-stable");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<TLine> steps = Steps(r.out);
    ASSERT_GT(steps.size(), 20u);
    ASSERT_LT(steps.size(), 5000u);
    EXPECT_EQ(steps[0].values.size(), 2u); // volume and port
    double before = 1e9;
    for (std::size_t k = 0; k + 20 < steps.size(); ++k)
        before = std::min(before, steps[k].error);
    double last20 = 1e9;
    for (std::size_t k = steps.size() - 20; k < steps.size(); ++k)
        last20 = std::min(last20, steps[k].error);
    EXPECT_GE(last20, before - 0.001);
    // Well below where it started: the port and volume found a fourth-order roll-off.
    EXPECT_LT(steps.back().error, 0.5 * steps.front().error);
}

TEST_F(CliOptimizeTest, EveryExampleTypeFits)
{
    for (const char* example : {"bandpass1-10in.box", "reflexbandpass-7in.box"}) {
        const std::string project = Copy(example);
        TCliRun r = Optimize(project, "--fit --lower 40 --steps 40");
        ASSERT_EQ(r.status, 0) << example << r.err;
        const std::vector<TLine> steps = Steps(r.out);
        ASSERT_EQ(steps.size(), 40u) << example;
        for (const TLine& l : steps)
            ASSERT_TRUE(std::isfinite(l.error)) << example << " step " << l.step;
        EXPECT_LT(steps.back().error, steps.front().error) << example;
    }
}

TEST_F(CliOptimizeTest, RefusalsLeaveTheFileAsItWas)
{
    const std::string project = Copy("closed-10in.box");
    const std::string before = ReadTextFile(project);
    struct Bad {
        const char* options;
        const char* why;
    };
    for (const Bad& bad :
         {Bad{"--fit --lower 5", "takes 10 .. 200 Hz"}, Bad{"--fit --lower 300", "takes 10 .. 200"},
          Bad{"--fit --upper 100", "bandpass"}, Bad{"--fit --front-q", "two volumes"},
          Bad{"--fit --steps 0", "--steps"}, Bad{"--fit --steps 5 --until-stable", "exclude"},
          Bad{"--fit --seed x", "--seed"}, Bad{"--lower 50", "--fit"}, Bad{"--fit --bogus", "unexpected"}}) {
        TCliRun r = Optimize(project, bad.options);
        EXPECT_NE(r.status, 0) << bad.options;
        EXPECT_NE(r.err.find(bad.why), std::string::npos) << bad.options << ": " << r.err;
        EXPECT_EQ(ReadTextFile(project), before) << bad.options;
    }
    // A project whose unit file is gone has nothing to fit, and says so.
    const std::string unit = Copy("woofer-6in.unt");
    const std::string orphan = File("orphan.box");
    ASSERT_EQ(RunTonvekCli("new closed --unit '" + unit + "' -o '" + orphan + "'", dir_).status, 0);
    std::filesystem::remove(unit);
    const std::string orphanBefore = ReadTextFile(orphan);
    TCliRun r = Optimize(orphan, "--fit --steps 3");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("not complete"), std::string::npos) << r.err;
    EXPECT_EQ(ReadTextFile(orphan), orphanBefore);
}
