// The network wizards run through tonvek-cli do: opened by the network dialog's button,
// filled in by name, "Calc" pressed, the project saved; refusals keep the file.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

namespace {

class CliWizardTest : public TScratchFolderTest {
protected:
    std::string Make(const char* type)
    {
        std::string project = File(std::string(type) + ".flt");
        TCliRun r = RunTonvekCli(std::string("new ") + type + " -o " + ShellQuote(project), dir_);
        EXPECT_EQ(r.status, 0) << r.err;
        return project;
    }
};

} // namespace

TEST_F(CliWizardTest, DoRunsBothWizardsAndRefusesWhatTheirFieldsRefuse)
{
    const std::string passive = Make("advanced1");
    TCliRun fields = RunTonvekCli("fields " + ShellQuote(passive) + " 'Net 1:Wizard'", dir_);
    ASSERT_EQ(fields.status, 0) << fields.err;
    for (const char* line :
         {"Advanced network wizard:LP Filter section:Filter order\tN=0\t\tN=0|N=1|N=2|N=3|N=4",
          "Advanced network wizard:Insertion point\tBranch 1", "Advanced network wizard:Calc\t(button)"})
        EXPECT_NE(fields.out.find(line), std::string::npos) << line << "\n" << fields.out;

    TCliRun run = RunTonvekCli("do " + ShellQuote(passive) +
                                   " 'Net 1:Wizard' 'Advanced network wizard:LP Filter section:Filter order=N=2'"
                                   " 'Advanced network wizard:LP Filter section:Cutoff=1000'"
                                   " 'Advanced network wizard:Calc'",
                               dir_);
    ASSERT_EQ(run.status, 0) << run.err;
    TCliRun report = RunTonvekCli("report " + ShellQuote(passive), dir_);
    ASSERT_EQ(report.status, 0) << report.err;
    EXPECT_NE(report.out.find("* Branch 01 * R1 + L: R1011 0.10 ohm, L1011 1.800 mH"), std::string::npos) << report.out;
    EXPECT_NE(report.out.find("* Branch 02 * C: C1021 14.065 uF"), std::string::npos) << report.out;

    const std::string before = ReadTextFile(passive);
    for (const char* bad : {"'Advanced network wizard:Nom. load=0'",
                            "'Advanced network wizard:Insertion point=Branch 2'", "'Active crossover wizard:Calc'"}) {
        TCliRun r = RunTonvekCli("do " + ShellQuote(passive) + " 'Net 1:Wizard' " + bad, dir_);
        EXPECT_NE(r.status, 0) << bad;
        EXPECT_EQ(ReadTextFile(passive), before) << bad;
    }

    const std::string active = Make("active1");
    TCliRun a = RunTonvekCli("do " + ShellQuote(active) +
                                 " 'Net 1:Wizard' 'Active crossover wizard:Filter order=N=3'"
                                 " 'Active crossover wizard:HP' 'Active crossover wizard:Calc'",
                             dir_);
    ASSERT_EQ(a.status, 0) << a.err;
    report = RunTonvekCli("report " + ShellQuote(active), dir_);
    EXPECT_NE(report.out.find("* Branch 01 * 2nd order HP"), std::string::npos) << report.out;
    EXPECT_NE(report.out.find("* Branch 02 * 1st order HP"), std::string::npos) << report.out;
}
