// tonvek-cli for filter projects, run as a process: names with their dialog's caption,
// the calculators pressed by name, curves per ray, exports and refusals.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class CliFilterTest : public TScratchFolderTest {
protected:
    // A two-way second-order filter at 3 kHz, the treble inverted.
    std::string MakeFilter()
    {
        std::string project = File("p.flt");
        TCliRun r = RunTonvekCli(
            "new simple2 --set 'Bass network:Order=N=2' --set 'Bass network:Cutoff=3000' "
            "--do 'Bass network:Low-pass:Calc' --set 'Treble network:Order=N=2' --set 'Treble network:Cutoff=3000' "
            "--do 'Treble network:High-pass:Calc' --set 'Treble driver:Invert polarity=on' -o '" +
                project + "'",
            dir_);
        EXPECT_EQ(r.status, 0) << r.err;
        return project;
    }
    static int Rows(const std::string& text)
    {
        int rows = 0;
        for (char c : text)
            rows += c == '\n';
        return rows;
    }
};

} // namespace

TEST_F(CliFilterTest, CalculatorsPressedByNameGiveTheButterworthParts)
{
    const std::string project = MakeFilter();
    TCliRun r = RunTonvekCli("report '" + project + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Tonvek 4.10 Beta 2 way simple filter\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("C12 4.688 uF"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("L32 0.6003 mH"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Treble network (inverted)"), std::string::npos);
    EXPECT_EQ(r.out.find("Midrange"), std::string::npos);
}

TEST_F(CliFilterTest, FieldsCarryTheirDialogAndListTheButtons)
{
    const std::string project = MakeFilter();
    TCliRun r = RunTonvekCli("fields '" + project + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line : {"Bass network:Cutoff\t3000\tHz", "Treble driver:Invert polarity\ton",
                             "Bass network:Zobel:Calc\t(button)", "General settings:Inhibit\toff"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
    EXPECT_EQ(r.out.find("Midrange network:"), std::string::npos);
}

TEST_F(CliFilterTest, SetAndNewRefuseWhatTheDialogsRefuseAndKeepTheFile)
{
    const std::string project = MakeFilter();
    const std::string before = ReadTextFile(project);
    for (const char* bad :
         {"set '%s' 'Bass network:Cutoff=5'", "set '%s' 'Cutoff=3000'", "set '%s' 'Midrange network:Cutoff=300'",
          "set '%s' 'Treble driver:SPL data:File=/no/such.frd'"}) {
        std::string command = bad;
        command.replace(command.find("%s"), 2, project);
        TCliRun r = RunTonvekCli(command, dir_);
        EXPECT_NE(r.status, 0) << command;
        EXPECT_NE(r.err.find("tonvek-cli: "), std::string::npos) << command << r.err;
        EXPECT_EQ(ReadTextFile(project), before) << command;
    }
    TCliRun ok = RunTonvekCli("set '" + project + "' 'Treble network:Cutoff=2500'", dir_);
    ASSERT_EQ(ok.status, 0) << ok.err;
    TCliRun noButton = RunTonvekCli("new simple3 --do 'Midrange network:Nothing:Calc' -o '" + File("n.flt") + "'",
                                    dir_);
    EXPECT_NE(noButton.status, 0);
    EXPECT_NE(noButton.err.find("no button"), std::string::npos) << noButton.err;
}

TEST_F(CliFilterTest, CurvesHaveAHeaderAndOneRowPerGridPointPerRay)
{
    const std::string project = MakeFilter();
    TCliRun r = RunTonvekCli("curves '" + project + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Rows(r.out), 501);
    EXPECT_EQ(r.out.rfind("# f/Hz\tsum/dB\tsum phase/deg\tgroup delay/ms\t|Z|/ohm\tZ phase/deg\tbass gain/dB", 0), 0u);
    TCliRun onAxis = RunTonvekCli("curves '" + project + "' --ray 0", dir_);
    EXPECT_EQ(onAxis.out, r.out);
    TCliRun missing = RunTonvekCli("curves '" + project + "' --ray 10", dir_);
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.err.find("no ray at 10 degrees"), std::string::npos);
}

TEST_F(CliFilterTest, ImpulseCurvesAreTheShownHalfAndDisableIfftRefusesThem)
{
    const std::string project = MakeFilter();
    TCliRun r = RunTonvekCli("curves '" + project + "' --impulse", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("# Impulse response\n# t/ms\tOutput\n", 0), 0u) << r.out.substr(0, 80);
    EXPECT_EQ(Rows(r.out), 2 + 256); // N = 512
    // The peak is scaled to exactly 1.
    EXPECT_NE(r.out.find("\t1\n"), std::string::npos);
    TCliRun exported = RunTonvekCli("export '" + project + "' --kind impulse -o '" + File("i.frd") + "'", dir_);
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(Rows(ReadTextFile(File("i.frd"))), 1 + 256);
    ASSERT_EQ(RunTonvekCli("set '" + project + "' 'General settings:Disable IFFT=on'", dir_).status, 0);
    TCliRun disabled = RunTonvekCli("curves '" + project + "' --impulse", dir_);
    EXPECT_NE(disabled.status, 0);
    EXPECT_NE(disabled.err.find("Disable IFFT"), std::string::npos) << disabled.err;
}

TEST_F(CliFilterTest, ExportsTotalsAndSections)
{
    const std::string project = MakeFilter();
    for (const char* kind : {"spl", "impedance", "groupdelay", "bass-spl", "treble-gain", "treble-impedance"}) {
        const std::string out = File(std::string(kind) + ".frd");
        TCliRun r = RunTonvekCli("export '" + project + "' --kind " + kind + " -o '" + out + "'", dir_);
        ASSERT_EQ(r.status, 0) << kind << r.err;
        EXPECT_GE(Rows(ReadTextFile(out)), 500) << kind;
    }
    TCliRun ray = RunTonvekCli("export '" + project + "' --kind spl --ray 15 -o '" + File("r.frd") + "'", dir_);
    EXPECT_NE(ray.status, 0);
    EXPECT_NE(ray.err.find("no ray at 15 degrees"), std::string::npos) << ray.err;
    TCliRun mid = RunTonvekCli("export '" + project + "' --kind mid-spl -o '" + File("m.frd") + "'", dir_);
    EXPECT_NE(mid.status, 0);
}

TEST_F(CliFilterTest, DoPressesACalculatorOfASavedFilterAndSavesIt)
{
    const std::string project = MakeFilter();
    ASSERT_EQ(RunTonvekCli("set '" + project + "' 'Bass driver:Re=4'", dir_).status, 0);
    TCliRun r = RunTonvekCli("do '" + project + "' 'Bass network:Zobel:Calc'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(RunTonvekCli("report '" + project + "'", dir_).out.find("R18 4 ohm"), std::string::npos);

    r = RunTonvekCli("do '" + project + "' 'Bass network:Zobel:Calx'", dir_);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("no button \"Bass network:Zobel:Calx\""), std::string::npos) << r.err;
}

namespace {

// The columns of one `curves` line.
std::vector<double> Columns(const std::string& line)
{
    std::vector<double> values;
    std::istringstream in(line);
    for (double v; in >> v;)
        values.push_back(v);
    return values;
}

} // namespace

TEST_F(CliFilterTest, AdvancedExamplesSumWithinTwoDbOverTheCrossoverRegion)
{
    // Both cross near 1.8 kHz; the band runs from two thirds of an octave below to an
    // octave above, where both drivers contribute.
    for (const char* name : {"advanced2-10in-1in.flt", "active2-10in-1in.flt"}) {
        SCOPED_TRACE(name);
        TCliRun r = RunTonvekCli(std::string("curves '") + TONVEK_BIN_DIR + "/examples/" + name + "'", dir_);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(r.err.empty()) << r.err; // both drivers' files were found
        std::istringstream lines(r.out);
        std::string line;
        std::getline(lines, line);
        EXPECT_NE(line.find("net1 level/dB\tnet1 |Z|/ohm\tnet2 gain/dB"), std::string::npos) << line;
        double lo = 1e9, hi = -1e9, crossover = 0;
        while (std::getline(lines, line)) {
            const std::vector<double> c = Columns(line);
            ASSERT_EQ(c.size(), 12u);
            // Columns: f, sum, phase, delay, |Z|, Z phase, then gain, level, |Z| per net.
            if (crossover == 0 && c[0] > 1000 && c[10] >= c[7])
                crossover = c[0];
            if (c[0] >= 1200 && c[0] <= 3500) {
                lo = std::min(lo, c[1]);
                hi = std::max(hi, c[1]);
            }
        }
        EXPECT_GT(crossover, 1600);
        EXPECT_LT(crossover, 2000);
        EXPECT_LE(hi - lo, 4.0) << lo << " .. " << hi;
        EXPECT_GT(lo, 80.0);
    }
}

TEST_F(CliFilterTest, AdvancedFiltersAreMadeStoredRecalledAndExportedPerNet)
{
    const std::string project = File("a.flt");
    TCliRun made = RunTonvekCli("new advanced3 --set 'Net 2:Branch 03=R1 + L' --set 'Net 2:L2031=0.5' -o '" +
                                    project + "'",
                                dir_);
    ASSERT_EQ(made.status, 0) << made.err;
    ASSERT_EQ(RunTonvekCli("set '" + project + "' 'Net 3:Filter=Active' 'Driver unit(s) net 1:Re=6.2'", dir_).status,
              0);
    TCliRun report = RunTonvekCli("report '" + project + "'", dir_);
    ASSERT_EQ(report.status, 0) << report.err;
    EXPECT_NE(report.out.find("3 way advanced filter"), std::string::npos);
    EXPECT_NE(report.out.find("Net 3, active"), std::string::npos);
    EXPECT_NE(report.out.find("L2031 0.500 mH"), std::string::npos) << report.out;
    EXPECT_NE(report.out.find("Re 6.2 ohm"), std::string::npos) << report.out;

    TCliRun store = RunTonvekCli("do '" + project + "' 'Network:Store as:2=Quiet' 'Driver:Store as:4=Apart'", dir_);
    ASSERT_EQ(store.status, 0) << store.err;
    TCliRun recall = RunTonvekCli("do '" + project + "' 'Network:Recall:2' 'Driver:Recall:4'", dir_);
    EXPECT_EQ(recall.status, 0) << recall.err;
    TCliRun never = RunTonvekCli("do '" + project + "' 'Driver:Recall:1'", dir_);
    EXPECT_NE(never.status, 0);
    EXPECT_NE(never.err.find("never stored"), std::string::npos) << never.err;
    TCliRun slot = RunTonvekCli("do '" + project + "' 'Network:Store as:5'", dir_);
    EXPECT_NE(slot.status, 0);

    for (const char* kind : {"net1-spl", "net2-gain", "net3-impedance", "net3-groupdelay"}) {
        const std::string out = File(std::string(kind) + ".frd");
        TCliRun r = RunTonvekCli("export '" + project + "' --kind " + kind + " -o '" + out + "'", dir_);
        ASSERT_EQ(r.status, 0) << kind << r.err;
        EXPECT_GE(Rows(ReadTextFile(out)), 500) << kind;
    }
    EXPECT_NE(RunTonvekCli("export '" + project + "' --kind net4-spl -o '" + File("x.frd") + "'", dir_).status, 0);

    const std::string active = File("b.flt");
    ASSERT_EQ(RunTonvekCli("new active1 -o '" + active + "'", dir_).status, 0);
    TCliRun curves = RunTonvekCli("curves '" + active + "'", dir_);
    ASSERT_EQ(curves.status, 0);
    // An active net does not load the amplifier: the input is open.
    std::istringstream lines(curves.out);
    std::string line;
    std::getline(lines, line);
    std::getline(lines, line);
    EXPECT_EQ(Columns(line)[4], 1e9);
    EXPECT_NE(RunTonvekCli("new active5 -o '" + active + "'", dir_).status, 0);

    // The network type is a radio choice: pressed by its name, as a user clicks it.
    ASSERT_EQ(RunTonvekCli("do '" + active + "' 'Net 1:Passive'", dir_).status, 0);
    EXPECT_NE(RunTonvekCli("fields '" + active + "'", dir_).out.find("Net 1:Filter\tPassive"), std::string::npos);
}
