// Box project commands take bare file names from the working folder, as a shell user
// expects, not from the program folder the desktop program uses for stored names.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

namespace {

class CliBoxPathsTest : public TScratchFolderTest {
protected:
    void SetUp() override
    {
        TScratchFolderTest::SetUp();
        std::filesystem::copy_file(std::string(TONVEK_SOURCE_DIR) + "/examples/woofer-6in.unt", dir_ / "w.unt");
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_); // popen's shell starts here
    }
    void TearDown() override
    {
        std::filesystem::current_path(previous_);
        TScratchFolderTest::TearDown();
    }
    std::filesystem::path previous_;
};

} // namespace

TEST_F(CliBoxPathsTest, BareNamesAreInTheWorkingFolder)
{
    TCliRun made = RunTonvekCli("new closed --unit w.unt -o p.box", dir_);
    ASSERT_EQ(made.status, 0) << made.err;
    ASSERT_TRUE(std::filesystem::exists(dir_ / "p.box"));
    EXPECT_EQ(RunTonvekCli("set p.box 'Box volume=15'", dir_).status, 0);
    TCliRun report = RunTonvekCli("report p.box", dir_);
    ASSERT_EQ(report.status, 0) << report.err;
    EXPECT_NE(report.out.find(" Vol\t\t15.00 l\n"), std::string::npos) << report.out;
    EXPECT_EQ(RunTonvekCli("export p.box --kind spl -o spl.frd", dir_).status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "spl.frd"));
}
