// tonvek-cli optimize --table / --quick and tonvek-cli do, run as a process on copies of
// the example projects: what they set, what they refuse, and that a refusal leaves the
// project file as it was.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

namespace {

class CliOptimizeTableTest : public TScratchFolderTest {
protected:
    // A copy of an example project with the units beside it, where some examples
    // name them.
    std::string Example(const std::string& name)
    {
        const std::filesystem::path examples = std::string(TONVEK_BIN_DIR) + "/examples";
        std::filesystem::copy_file(examples / name, dir_ / name);
        for (const auto& entry : std::filesystem::directory_iterator(examples))
            if (entry.path().extension() == ".unt" && !std::filesystem::exists(dir_ / entry.path().filename()))
                std::filesystem::copy_file(entry.path(), dir_ / entry.path().filename());
        return File(name);
    }
    TCliRun Cli(const std::string& args) { return RunTonvekCli(args, dir_); }
    std::string Report(const std::string& project) { return Cli("report " + ShellQuote(project)).out; }
    void ExpectRefused(const std::string& project, const std::string& args, const std::string& why)
    {
        const std::string before = ReadTextFile(project);
        TCliRun r = Cli(args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_NE(r.err.find(why), std::string::npos) << args << "\n" << r.err;
        EXPECT_TRUE(ReadTextFile(project) == before) << "changed by " << args;
    }
};

} // namespace

TEST_F(CliOptimizeTableTest, TableByChoiceOrItsLeadingPart)
{
    const std::string closed = Example("closed-10in.box");
    struct Case {
        const char* name;
        const char* chosen;
        const char* qtc;
    };
    const Case cases[] = {
        {"0.707", "0.707 Butterworth, max flat amplitude response", "0.707"},
        {"0.577 Bessel, max flat delay response", "0.577 Bessel, max flat delay response", "0.577"},
        {"1.0", "1.0 Chebychev, equal ripple response", "1.000"},
        {"1.5 chebychev", "1.5 Chebychev, equal ripple response", "1.500"},
    };
    for (const Case& c : cases) {
        TCliRun r = Cli("optimize " + ShellQuote(closed) + " --table " + ShellQuote(c.name));
        ASSERT_EQ(r.status, 0) << c.name << r.err;
        EXPECT_EQ(r.out, std::string("table Table optimize closed box:") + c.chosen + "\nsaved " + closed + "\n");
        const std::string report = Report(closed);
        EXPECT_NE(report.find(std::string(" Qtc: \t") + c.qtc + "\n"), std::string::npos) << c.name << report;
        EXPECT_NE(report.find(" Qb\t\t15.0\n"), std::string::npos) << report;
    }
}

TEST_F(CliOptimizeTableTest, ReflexAndBandpassTablesTakeTheirOtherGroups)
{
    const std::string reflex = Example("reflex-7in.box");
    TCliRun r = Cli("optimize " + ShellQuote(reflex) + " --table 'SBB4 / BB4' --box-q 3");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "table Table opt. bassreflex box:SBB4 / BB4\nsaved " + reflex + "\n");
    std::string report = Report(reflex);
    EXPECT_NE(report.find(" Fill\t\t100 %\n"), std::string::npos) << report;
    EXPECT_NE(report.find(" Qb\t\t3.0\n"), std::string::npos) << report;
    ASSERT_EQ(Cli("optimize " + ShellQuote(reflex) + " --table qb3").status, 0);
    report = Report(reflex);
    EXPECT_NE(report.find(" Fill\t\t0 %\n"), std::string::npos) << report;

    const std::string bandpass = Example("bandpass1-10in.box");
    r = Cli("optimize " + ShellQuote(bandpass) + " --table +2dB --ripple '0.35 dB'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "table Table optimize BP type 1:+2dB\nsaved " + bandpass + "\n");
    r = Cli("optimize " + ShellQuote(bandpass) + " --table -3 --ripple 1.25");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "table Table optimize BP type 1:-3dB\nsaved " + bandpass + "\n");
}

TEST_F(CliOptimizeTableTest, TablesWithoutADialogTakeNoChoice)
{
    const std::string abr = Example("abr-10in.box");
    TCliRun r = Cli("optimize " + ShellQuote(abr) + " --table");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "saved " + abr + "\n");
    ExpectRefused(abr, "optimize " + ShellQuote(abr) + " --table SBB4", "takes no choice");
    const std::string rbp = Example("reflexbandpass-7in.box");
    ExpectRefused(rbp, "optimize " + ShellQuote(rbp) + " --table", "no table lookup was made");
}

TEST_F(CliOptimizeTableTest, RefusalsLeaveTheProjectAsItWas)
{
    const std::string closed = Example("closed-10in.box");
    const std::string reflex = Example("reflex-7in.box");
    const std::string q = ShellQuote(closed), r = ShellQuote(reflex);
    struct Case {
        std::string args, why;
    };
    const Case cases[] = {
        {"optimize " + q + " --table 0.6", "is not one choice of \"Table optimize closed box\""},
        {"optimize " + q + " --table 1.", "is not one choice"}, // 1.0, 1.1, 1.2 and 1.5 all start so
        {"optimize " + q + " --table", "--table needs a choice"},
        {"optimize " + q + " --table 0.707 --box-q 7", "--box-q is not a setting"},
        {"optimize " + r + " --table SBB4 --box-q 5", "--box-q takes 3|7|15, not \"5\""},
        {"optimize " + q + " --table 0.707 --fine", "unexpected argument \"--fine\""},
        {"optimize " + q, "--fit"}, // neither a table, the quick box nor a fit
    };
    for (const Case& c : cases)
        ExpectRefused(c.args.find(r) != std::string::npos ? reflex : closed, c.args, c.why);

    // A little source resistance lifts the woofer's total Q from 0.40 to about 0.55: no
    // closed box of it is critically damped.
    ASSERT_EQ(Cli("set " + q + " 'Source resistance=2.25'").status, 0);
    ExpectRefused(closed, "optimize " + q + " --table 0.5", "0.5 Critically damped cannot be pressed now");
    ASSERT_EQ(Cli("optimize " + q + " --table 0.577").status, 0);

    // A source resistance lifts the driver's total Q beyond every closed box.
    ASSERT_EQ(Cli("set " + q + " 'Source resistance=40'").status, 0);
    ExpectRefused(closed, "optimize " + q + " --table 1.5", "Too high Qts");
    ExpectRefused(closed, "do " + q + " 'Closed box:By table lookup...'", "was refused: Too high Qts");
}

TEST_F(CliOptimizeTableTest, QuickBoxOfEveryExample)
{
    for (const char* name : {"closed-10in.box", "closed-6in.box", "reflex-7in.box", "abr-10in.box",
                             "bandpass1-10in.box", "reflexbandpass-7in.box"}) {
        const std::string project = Example(name);
        TCliRun r = Cli("optimize " + ShellQuote(project) + " --quick");
        ASSERT_EQ(r.status, 0) << name << r.err;
        EXPECT_EQ(r.out, "saved " + project + "\n");
    }
    // The closed box's rule: Vb = Qts · Vas · N, 0.40 · 150 l for the 10 inch woofer.
    EXPECT_NE(Report(File("closed-10in.box")).find(" Vol\t\t60."), std::string::npos)
        << Report(File("closed-10in.box"));
}

TEST_F(CliOptimizeTableTest, DoPressesMenuCommandsAndTheDialogsTheyOpen)
{
    const std::string closed = Example("closed-6in.box");
    const std::string q = ShellQuote(closed);
    TCliRun listed = Cli("fields " + q);
    ASSERT_EQ(listed.status, 0);
    for (const char* line : {"Closed box:By table lookup...\t\t\tpress\n", "Closed box:Quick box\t\t\tpress\n"})
        EXPECT_NE(listed.out.find(line), std::string::npos) << line << listed.out;

    TCliRun r = Cli("do " + q +
                    " 'Closed box:By table lookup' 'Table optimize closed box:0.577 Bessel, max flat "
                    "delay response'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "saved " + closed + "\n");
    EXPECT_NE(Report(closed).find(" Qtc: \t0.577\n"), std::string::npos) << Report(closed);

    // While the table dialog is open the box dialog's optimise commands wait.
    ExpectRefused(closed, "do " + q + " 'Closed box:By table lookup...' 'Closed box:Quick box'",
                  "Closed box:Quick box cannot be pressed now");
    ExpectRefused(closed, "do " + q + " 'Closed box:Quick bx'", "Close matches: \"Closed box:Quick box\"");
    ExpectRefused(closed, "do " + q + " 'Table optimize closed box:0.707'", "nothing to press named");
    ExpectRefused(closed, "do " + q, "tonvek-cli do PROJECT.box");

    ASSERT_EQ(Cli("do " + q + " 'closed BOX:quick box'").status, 0);
    EXPECT_EQ(Report(closed).find(" Qtc: \t0.577\n"), std::string::npos);
}
