// tonvek-cli unit, run as a process: a unit written from display units reads back with
// the same values, and a bad file gives one line on stderr and a failing exit status.
#include "driver/TSpkData.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace {
using CliUnitTest = TScratchFolderTest;
} // namespace

TEST_F(CliUnitTest, NewThenShowInDisplayUnits)
{
    // SEAS W18E001 (drivers.csv row seas_w18e001) in the editor's units.
    const std::string unit = File("w18.unt");
    TCliRun made = RunTonvekCli("unit new --set Re=6.1 --set fs=34 --set Qms=2.91 --set Qes=0.49 --set Vas=30 "
                       "--set Cms=1.4e-3 --set Le=0.65 --set Xmax=10 --set h=6 --calc-missing "
                       "--manufacturer Example --model '7 inch woofer' -o '" + unit + "'",
                       dir_);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(std::filesystem::file_size(unit), 381u); // no note: N = 1

    TSpkData u;
    ASSERT_TRUE(u.Load(unit));
    EXPECT_DOUBLE_EQ(u.Vas, 0.030);
    EXPECT_DOUBLE_EQ(u.Le, 0.00065);
    EXPECT_DOUBLE_EQ(u.Xmax, 0.010);
    EXPECT_NEAR(u.l, 0.004, 1e-15); // |Xmax - h|
    EXPECT_TRUE(u.IsComplete());
    EXPECT_STREQ(u.model, "7 inch woofer");

    TCliRun shown = RunTonvekCli("unit show '" + unit + "'", dir_);
    ASSERT_EQ(shown.status, 0) << shown.err;
    for (const char* line : {"Model               7 inch woofer\n", "Vas                 30.00 l\n",
                             "Cms                 1.4e-03 m/N\n", "Xmax                10.0 mm p-p\n",
                             "Pmax                undef.\n", "Efficiency          0.23 %\n",
                             "Sensitivity         85.7 dB/1W/1m\n", "Speaker type        Bass\n"})
        EXPECT_NE(shown.out.find(line), std::string::npos) << line << "in\n" << shown.out;
}

TEST_F(CliUnitTest, ErrorsAreOneLineOnStderr)
{
    const std::string bad = File("bad.unt");
    std::ofstream(bad) << "not a unit file";
    struct Case {
        std::string args;
        std::string says;
    };
    const Case cases[] = {
        {"unit show '" + bad + "'", "Could not open file. Check path and filename."},
        {"unit new --set Qms=101 -o '" + File("x.unt") + "'", "Qms"},
        {"unit new --set Sd=abc -o '" + File("x.unt") + "'", "not a number"},
        {"unit new --set Re=6 -o '" + File("no/folder/x.unt") + "'", "Could not open file. Check if device is ready"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        TCliRun run = RunTonvekCli(c.args, dir_);
        EXPECT_NE(run.status, 0);
        const std::string& err = run.err;
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        ASSERT_FALSE(err.empty());
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    }
    EXPECT_FALSE(std::filesystem::exists(File("x.unt")));
}
