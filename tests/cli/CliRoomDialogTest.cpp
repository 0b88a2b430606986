// The room dialogs through tonvek-cli: set, fields and do reach them by their names,
// refuse what the dialog refuses, and the project file keeps what they stored.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

namespace {

class CliRoomDialogTest : public TScratchFolderTest {
protected:
    void SetUp() override
    {
        TScratchFolderTest::SetUp();
        std::filesystem::copy_file(std::string(TONVEK_BIN_DIR) + "/examples/reflex-7in.box", dir_ / "p.box");
        project_ = File("p.box");
    }
    TCliRun Cli(const std::string& args) { return RunTonvekCli(args, dir_); }
    TCliRun Set(const std::string& assignment) { return Cli("set '" + project_ + "' " + ShellQuote(assignment)); }
    // The listed line of a name, empty when it is not listed.
    std::string Line(const std::string& name)
    {
        const TCliRun r = Cli("fields '" + project_ + "'");
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string key = "\n" + name + "\t";
        const std::size_t at = ("\n" + r.out).find(key);
        if (at == std::string::npos)
            return {};
        const std::size_t end = r.out.find('\n', at);
        return r.out.substr(at, end == std::string::npos ? std::string::npos : end - at);
    }
    std::string project_;
};

} // namespace

TEST_F(CliRoomDialogTest, SetReachesRoomAndAbsorptionFieldsByName)
{
    EXPECT_EQ(Line("Roof height"), "Roof height\t2.400\tm\t0.01 .. 10");
    EXPECT_EQ(Line("Summation factor"), "Summation factor\t6.0\tdB\t3 .. 6");
    const struct {
        const char* assignment;
        const char* listed;
    } rows[] = {
        {"Room and cabinet effects:Roof height=2.75", "Roof height\t2.750\tm\t0.01 .. 10"},
        {"Front baffle dimensions:Width=0.4", "Front baffle dimensions:Width\t0.400\tm\t0.01 .. 2"},
        {"Listener position:Z=3,2", "Listener position:Z\t3.200\tm\t0 .. 20"},
        {"Floor=on", "Floor\ton\t\ton|off"},
        {"Summation factor=3", "Summation factor\t3.0\tdB\t3 .. 6"},
        {"Absorbtion coefficients:Floor=0.51", "Absorbtion coefficients:Floor\t0.51\t\t0.01 .. 0.99"},
    };
    for (const auto& row : rows) {
        const TCliRun r = Set(row.assignment);
        ASSERT_EQ(r.status, 0) << row.assignment << ": " << r.err;
        EXPECT_EQ(Line(std::string(row.listed).substr(0, std::string(row.listed).find('\t'))), row.listed);
    }
}

TEST_F(CliRoomDialogTest, SetRefusesWhatTheDialogRefuses)
{
    const char* refused[] = {"Roof height=10.5", "Summation factor=7", "Absorbtion coefficients:Floor=1",
                             "Room and cabinet effects:Transition freq.=0", "Element=Tweeter"};
    for (const char* assignment : refused) {
        const TCliRun r = Set(assignment);
        EXPECT_NE(r.status, 0) << assignment;
        EXPECT_NE(r.err.find("refused"), std::string::npos) << assignment << ": " << r.err;
    }
    EXPECT_EQ(Line("Roof height"), "Roof height\t2.400\tm\t0.01 .. 10");
}

TEST_F(CliRoomDialogTest, DoAndSetChooseTheShownCurve)
{
    const std::string choices = "\t\tImpact on freq. resp|Frequency response";
    EXPECT_EQ(Line("Show"), "Show\tFrequency response" + choices);
    const TCliRun r = Cli("do '" + project_ + "' " + ShellQuote("Room and cabinet effects:Impact on freq. resp"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Line("Show"), "Show\tImpact on freq. resp" + choices);
    ASSERT_EQ(Set("Show=Frequency response").status, 0);
    EXPECT_EQ(Line("Show"), "Show\tFrequency response" + choices);
}
