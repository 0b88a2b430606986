// tonvek-cli setup, run as a program against a private program folder.
#include "settings/TMeasSetupTestSupport.h"

#include "core/TBinaryStream.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace {

class TMeasSetupCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        cli_ = std::filesystem::path(TONVEK_BIN_DIR) / "tonvek-cli";
        if (!std::filesystem::exists(cli_))
            GTEST_SKIP() << "tonvek-cli not built";
    }

    TCliRun Run(const std::vector<std::string>& args)
    {
        std::string cmd = "setup --program-folder " + ShellQuote(folder.Path().string());
        for (const std::string& a : args)
            cmd += " " + ShellQuote(a);
        return RunTonvekCli(cmd, folder.Path());
    }

    TMeasSetup FromFile()
    {
        TMeasSetup s;
        EXPECT_TRUE(s.LoadFile(folder.Prefs()));
        return s;
    }

    TMeasSetupFolder folder;
    std::filesystem::path cli_;
};

} // namespace

TEST_F(TMeasSetupCli, SetChangesFieldsByTheirLabels)
{
    const TCliRun r = Run({"set", "Start frequency=30", "stop  FREQUENCY=5000", "Number of points=200",
                        "Source level=4", "Source resistance=-0,5", "Cutoff=25", "Q=0.5", "Range=45",
                        "Hide phase=on", "Calculate immediately=off"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const TMeasSetup s = FromFile();
    EXPECT_EQ(s.startFrequency, 30);
    EXPECT_EQ(s.stopFrequency, 5000);
    EXPECT_EQ(s.pointCount, 200);
    EXPECT_EQ(s.sourceLevel, 4.0);
    EXPECT_EQ(s.sourcePower, 2.0);
    EXPECT_EQ(s.sourceResistance, -0.5);
    EXPECT_EQ(s.highPassCutoff, 25);
    EXPECT_EQ(s.highPassQ, 0.5);
    EXPECT_EQ(s.splRange, 45);
    EXPECT_TRUE(s.hidePhase);
    EXPECT_FALSE(s.calculateImmediately);
}

TEST_F(TMeasSetupCli, LinkedFieldsFollow)
{
    ASSERT_EQ(Run({"set", "Watts into 8 ohm=1"}).status, 0);
    EXPECT_NEAR(FromFile().sourceLevel, 2.828427, 1e-6);
    ASSERT_EQ(Run({"set", "Ug=2.83"}).status, 0);
    EXPECT_NEAR(FromFile().sourcePower, 1.0011, 1e-4);
    ASSERT_EQ(Run({"set", "Autorange=on"}).status, 0);
    EXPECT_EQ(FromFile().splRange, 0);
    ASSERT_EQ(Run({"set", "Autorange=off"}).status, 0);
    EXPECT_EQ(FromFile().splRange, 30);
    // Moving both ends past each other works whatever their order on the line.
    ASSERT_EQ(Run({"set", "Start frequency=5000", "Stop frequency=9000"}).status, 0);
    EXPECT_EQ(FromFile().startFrequency, 5000);
}

TEST_F(TMeasSetupCli, BadInputIsOneLineAndLeavesTheFileAlone)
{
    ASSERT_EQ(Run({"set", "Start frequency=40", "Cutoff=30"}).status, 0);
    const std::vector<std::uint8_t> before = folder.ReadPrefs();
    const std::vector<std::vector<std::string>> rows = {
        {"set", "Start frequency=0"},
        {"set", "Stop frequency=20001"},
        {"set", "Stop frequency=45"},          // less than start + 10
        {"set", "Start frequency=1995"},       // more than stop - 10
        {"set", "Number of points=9"},
        {"set", "Number of points=501"},
        {"set", "Number of points=12.5"},
        {"set", "Source level=0.0005"},
        {"set", "Source level=abc"},
        {"set", "Source level=1e999"},
        {"set", "Watts into 8 ohm=125001"},
        {"set", "Source resistance=10001"},
        {"set", "Cutoff=-1"},
        {"set", "Q=0.05"},
        {"set", "Q=11"},
        {"set", "Range=0"},
        {"set", "Range=81"},
        {"set", "Hide phase=maybe"},
        {"set", "Colour=red"},
        {"set", "Q="},
        {"set", "Cutoff=50", "Q=nan"},         // a good value does not get through with a bad one
        {"set"},
        {"set", "Start"},
        {"default", "extra"},
        {"show", "extra"},
        {"frobnicate"},
        {},
    };
    for (const auto& args : rows) {
        std::string line;
        for (const auto& a : args)
            line += a + " ";
        SCOPED_TRACE(line);
        const TCliRun r = Run(args);
        EXPECT_NE(r.status, 0);
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.rfind("tonvek-cli: ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_EQ(folder.ReadPrefs(), before);
    }
}

TEST_F(TMeasSetupCli, DefaultAndShow)
{
    TCliRun r = Run({"show"});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("not found: factory values"), std::string::npos);
    EXPECT_NE(r.out.find("Watts into 8 ohm       1.00 W"), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(folder.Prefs())); // show writes nothing

    folder.WritePrefs({1, 2, 3});
    r = Run({"show"});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("damaged: factory values"), std::string::npos);

    ASSERT_EQ(Run({"set", "Cutoff=70"}).status, 0);
    ASSERT_EQ(Run({"default"}).status, 0);
    TMeasSetup factory;
    TBinaryWriter w;
    factory.WriteBlock(w);
    EXPECT_EQ(folder.ReadPrefs(), w.Bytes());

    r = Run({"show", "--grid"});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("  49     2000.0000 Hz"), std::string::npos) << r.out;
}

TEST_F(TMeasSetupCli, MissingProgramFolderIsReported)
{
    const TCliRun r =
        RunTonvekCli("setup --program-folder " + ShellQuote((folder.Path() / "nowhere").string()) + " show",
                     folder.Path());
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("tonvek-cli: "), std::string::npos) << r.err;
}
