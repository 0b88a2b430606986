#include "core/TProgramFolder.h"

#include <gtest/gtest.h>

class TProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = TProgramFolder::Get(); }
    void TearDown() override { TProgramFolder::Set(saved_); }
    std::string saved_;
};

TEST_F(TProgramFolderTest, RelativeNamesResolveInsideTheFolder)
{
    TProgramFolder::Set("/opt/Tonvek");
    EXPECT_EQ(TProgramFolder::Get(), "/opt/Tonvek/");
    EXPECT_EQ(TProgramFolder::Resolve("units/w8.unt"), "/opt/Tonvek/units/w8.unt");
    EXPECT_EQ(TProgramFolder::Resolve("units\\w8.unt"), "/opt/Tonvek/units/w8.unt");
    EXPECT_EQ(TProgramFolder::Resolve("/home/a/w8.unt"), "/home/a/w8.unt");
}

TEST_F(TProgramFolderTest, StripsLeadingFolderIgnoringCase)
{
    TProgramFolder::Set("/opt/Tonvek/");
    EXPECT_EQ(TProgramFolder::Strip("/opt/Tonvek/units/w8.unt"), "units/w8.unt");
    EXPECT_EQ(TProgramFolder::Strip("/OPT/tonvek/w8.unt"), "w8.unt");
    // Only the whole folder including its final separator counts.
    EXPECT_EQ(TProgramFolder::Strip("/opt/TonvekOther/w8.unt"), "/opt/TonvekOther/w8.unt");
    EXPECT_EQ(TProgramFolder::Strip("/opt/Tonvek"), "/opt/Tonvek");
    EXPECT_EQ(TProgramFolder::Strip("/home/a/w8.unt"), "/home/a/w8.unt");
}

TEST_F(TProgramFolderTest, FolderOfRunningExecutableEndsInSlash)
{
    std::string f = TProgramFolder::FolderOfExecutable(nullptr);
    ASSERT_FALSE(f.empty());
    EXPECT_EQ(f.back(), '/');
}
