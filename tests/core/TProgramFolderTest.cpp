#include "core/TProgramFolder.h"

#include <gtest/gtest.h>

TEST(TProgramFolder, EndsInOneSlashAndStartsAsTheWorkingFolder)
{
    EXPECT_EQ(TProgramFolder("/opt/Tonvek").Path(), "/opt/Tonvek/");
    EXPECT_EQ(TProgramFolder("/opt/Tonvek/").Path(), "/opt/Tonvek/");
    EXPECT_EQ(TProgramFolder("\\opt\\Tonvek").Path(), "/opt/Tonvek/");
    EXPECT_EQ(TProgramFolder("").Path(), "./");
    EXPECT_EQ(TProgramFolder().Path(), "./");
}

TEST(TProgramFolder, RelativeNamesResolveInsideTheFolder)
{
    const TProgramFolder folder("/opt/Tonvek");
    EXPECT_EQ(folder.Resolve("units/w8.unt"), "/opt/Tonvek/units/w8.unt");
    EXPECT_EQ(folder.Resolve("units\\w8.unt"), "/opt/Tonvek/units/w8.unt");
    EXPECT_EQ(folder.Resolve("/home/a/w8.unt"), "/home/a/w8.unt");
}

TEST(TProgramFolder, StripsLeadingFolderIgnoringCase)
{
    const TProgramFolder folder("/opt/Tonvek/");
    EXPECT_EQ(folder.Strip("/opt/Tonvek/units/w8.unt"), "units/w8.unt");
    EXPECT_EQ(folder.Strip("/OPT/tonvek/w8.unt"), "w8.unt");
    // Only the whole folder including its final separator counts.
    EXPECT_EQ(folder.Strip("/opt/TonvekOther/w8.unt"), "/opt/TonvekOther/w8.unt");
    EXPECT_EQ(folder.Strip("/opt/Tonvek"), "/opt/Tonvek");
    EXPECT_EQ(folder.Strip("/home/a/w8.unt"), "/home/a/w8.unt");
}

TEST(TProgramFolder, TwoFoldersDoNotMeet)
{
    const TProgramFolder a("/opt/a"), b("/opt/b");
    EXPECT_EQ(a.Resolve("w.unt"), "/opt/a/w.unt");
    EXPECT_EQ(b.Resolve("w.unt"), "/opt/b/w.unt");
    EXPECT_EQ(a.Strip("/opt/b/w.unt"), "/opt/b/w.unt");
}

TEST(TProgramFolder, FolderOfRunningExecutableEndsInSlash)
{
    std::string f = TProgramFolder::FolderOfExecutable(nullptr);
    ASSERT_FALSE(f.empty());
    EXPECT_EQ(f.back(), '/');
}
