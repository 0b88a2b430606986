// Opening a damaged project file must not cost the user the project that is open: the
// file is read and checked first, and the message names it.

#include "box/TClosedBox.h"
#include "core/TBinaryStream.h"
#include "settings/TProgramContext.h"
#include "shell/TShell.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

class TShellOpenCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("tonvek-opencheck-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    static std::string Example() { return std::string(TONVEK_BIN_DIR) + "/examples/closed-10in.box"; }
    std::string Write(const std::string& name, const std::vector<char>& bytes)
    {
        fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p.string();
    }
    static std::vector<char> ExampleBytes()
    {
        std::ifstream in(Example(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir_;
    // The examples name their unit relative to the program folder of the build.
    TProgramContext context_{TONVEK_BIN_DIR};
    THeadlessHost host_;
};

TEST_F(TShellOpenCheckTest, DamagedFileLeavesTheOpenProjectAsItWas)
{
    std::vector<char> example = ExampleBytes();
    ASSERT_GT(example.size(), 600u);
    std::vector<char> cut(example.begin(), example.begin() + 600);
    std::vector<char> unknownCode = example;
    unknownCode[0] = 10;
    const std::string text = "This is a text file someone renamed.\n";
    struct Case {
        const char* name;
        std::vector<char> bytes;
        const char* message;
    } cases[] = {
        {"empty.box", {}, "Could not read project.\nThe project file is corrupt."},
        {"renamed.box", {text.begin(), text.end()}, "Bad data in file.\nThe project file is corrupt."},
        {"cut.box", cut, "Error while reading box data.\nThe project file is corrupt."},
        {"code10.box", unknownCode, "Bad data in file.\nThe project file is corrupt."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TShell shell(host_, context_);
        shell.OpenProject(Example());
        auto* before = dynamic_cast<TClosedBox*>(shell.Project());
        ASSERT_NE(before, nullptr);
        ASSERT_TRUE(before->FrontDriver().complete);
        const double level = before->splTotal[50];
        const int setupPoints = context_.MeasSetup().pointCount;
        host_.ClearMessages();

        const std::string path = Write(c.name, c.bytes);
        shell.OpenProject(path);

        EXPECT_EQ(shell.Project(), before) << "the open project must stay";
        EXPECT_EQ(before->splTotal[50], level);
        EXPECT_TRUE(before->SplPlot().HasData());
        EXPECT_EQ(context_.MeasSetup().pointCount, setupPoints);
        EXPECT_EQ(shell.TypeCode(), 0);
        ASSERT_EQ(host_.Messages().size(), 1u);
        EXPECT_EQ(host_.Messages()[0].text, std::string(c.message) + "\n\n" + path);
    }
}

TEST_F(TShellOpenCheckTest, MissingFileIsNamedAndAGoodFileStillReplacesTheProject)
{
    TShell shell(host_, context_);
    const std::string missing = (dir_ / "nowhere.box").string();
    shell.OpenProject(missing);
    ASSERT_EQ(host_.Messages().size(), 1u);
    EXPECT_EQ(host_.Messages()[0].text,
              "Could not open project.\nThe filname probably points at\na nonexisting file.\n\n" + missing);
    EXPECT_EQ(shell.Project(), nullptr);

    shell.OpenProject(Example());
    TProject* first = shell.Project();
    ASSERT_NE(first, nullptr);
    host_.ClearMessages();
    const std::string copy = Write("copy.box", ExampleBytes());
    shell.OpenProject(copy);
    EXPECT_TRUE(host_.Messages().empty());
    ASSERT_NE(shell.Project(), nullptr);
    EXPECT_EQ(host_.MainTitle(), "Tonvek 4.10 Beta Closed box - copy.box");
}

} // namespace
