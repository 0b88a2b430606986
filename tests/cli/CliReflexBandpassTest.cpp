// tonvek-cli for reflex bandpass projects, run as a process on the example unit files:
// new with one unit for both groups or a rear unit of its own, fields and set by group
// names, the report with both groups, curves with the type's columns, export and render.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class CliReflexBandpassTest : public TScratchFolderTest {
protected:
    static std::string Unit(const char* name)
    {
        return std::string("'") + TONVEK_SOURCE_DIR + "/examples/" + name + "'";
    }
    std::string MakeProject(const std::string& extra = "")
    {
        std::string project = File("b.box");
        TCliRun r = RunTonvekCli("new rbp --unit " + Unit("woofer-7in.unt") +
                                     " --set 'Front box:Box volume=30' --set 'Rear box:Box volume=15' "
                                     "--set 'Front port:Res. freq.=45' " +
                                     extra + " -o '" + project + "'",
                                 dir_);
        EXPECT_EQ(r.status, 0) << r.err;
        return project;
    }
    std::string Report(const std::string& project) { return RunTonvekCli("report '" + project + "'", dir_).out; }
};

} // namespace

TEST_F(CliReflexBandpassTest, OneUnitServesBothGroups)
{
    std::string project = MakeProject();
    std::string report = Report(project);
    EXPECT_EQ(report.rfind("REFLEXBANDPASS BOX\n", 0), 0u) << report;
    const std::string front = report.substr(report.find("\nFront driver\n"));
    EXPECT_NE(front.find(" Model\t\t7 inch woofer\n"), std::string::npos) << report;
    const std::string rear = report.substr(report.find("\nRear driver\n"));
    EXPECT_NE(rear.find(" Model\t\t7 inch woofer\n"), std::string::npos) << report;
    EXPECT_NE(report.find("  -3dB point: \t"), std::string::npos);
}

TEST_F(CliReflexBandpassTest, RearUnitOfItsOwn)
{
    std::string project = MakeProject("--rear-unit " + Unit("woofer-6in.unt"));
    std::string report = Report(project);
    const std::size_t rear = report.find("\nRear driver\n");
    ASSERT_NE(rear, std::string::npos) << report;
    EXPECT_NE(report.find(" Model\t\t6.5 inch woofer\n", rear), std::string::npos) << report;
    EXPECT_LT(report.find(" Model\t\t7 inch woofer\n"), rear);

    // Only the type with two groups takes a rear unit; a missing one is refused.
    TCliRun other = RunTonvekCli("new reflex --unit " + Unit("woofer-7in.unt") + " --rear-unit " +
                                     Unit("woofer-6in.unt") + " -o '" + File("x.box") + "'",
                                 dir_);
    EXPECT_NE(other.status, 0);
    TCliRun missing = RunTonvekCli("new rbp --unit " + Unit("woofer-7in.unt") + " --rear-unit '" + File("no.unt") +
                                       "' -o '" + File("y.box") + "'",
                                   dir_);
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.err.find("rear unit"), std::string::npos) << missing.err;
}

TEST_F(CliReflexBandpassTest, FieldsCarryTheirGroups)
{
    std::string project = MakeProject();
    TCliRun r = RunTonvekCli("fields '" + project + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line :
         {"Front box:Box volume\t30.0\tl\t0.1 .. 10000\n", "Rear box:Box volume\t15.0\tl\t0.1 .. 10000\n",
          "Front box:QL\t15.0\t\t3 .. 15\n", "Rear box:QL\t15.0\t\t0.1 .. 15\n", "Front port:Res. freq.\t45.0\tHz\t",
          "Rear port / variovent:Length\t10.0\tcm\t", "Ac. res.\t1.000e+12\tNs/m^3\t0.1 .. 1000000000000\n",
          "Sim. port nonlinearity\toff\t\ton|off\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;

    // A label of two groups needs its group; with it, set reaches the one element.
    TCliRun ambiguous = RunTonvekCli("set '" + project + "' 'Box volume=20'", dir_);
    EXPECT_NE(ambiguous.status, 0);
    TCliRun ok = RunTonvekCli("set '" + project + "' 'Rear box:QL=0.5' 'Rear box:Box volume=20' 'Ac. res.=1e5'", dir_);
    ASSERT_EQ(ok.status, 0) << ok.err;
    TCliRun after = RunTonvekCli("fields '" + project + "'", dir_);
    EXPECT_NE(after.out.find("Rear box:QL\t0.5\t"), std::string::npos) << after.out;
    EXPECT_NE(after.out.find("Rear box:Box volume\t20.0\t"), std::string::npos);
    EXPECT_NE(after.out.find("Front box:Box volume\t30.0\t"), std::string::npos);
    EXPECT_NE(after.out.find("Ac. res.\t1.000e+05\t"), std::string::npos);
    TCliRun low = RunTonvekCli("set '" + project + "' 'Front box:QL=0.5'", dir_);
    EXPECT_NE(low.status, 0);
    EXPECT_NE(low.err.find("3 .. 15"), std::string::npos) << low.err;
}

TEST_F(CliReflexBandpassTest, CurvesExportAndRender)
{
    std::string project = MakeProject("--set 'Number of points=40'");
    TCliRun r = RunTonvekCli("curves '" + project + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string header;
    std::getline(lines, header);
    EXPECT_EQ(header, "# f/Hz\tSPL/dB\tphase/deg\tgroup delay/ms\texcursion/mm p-p\t|Z|/ohm\tZ phase/deg"
                      "\tdriver SPL/dB\tport SPL/dB\tport air speed/m/s\trear excursion/mm");
    int rows = 0;
    for (std::string row; std::getline(lines, row); ++rows) {
        int columns = 1;
        for (char c : row)
            columns += c == '\t';
        EXPECT_EQ(columns, 11) << row;
    }
    EXPECT_EQ(rows, 40);

    EXPECT_EQ(RunTonvekCli("export '" + project + "' --kind spl -o '" + File("s.frd") + "'", dir_).status, 0);
    EXPECT_FALSE(ReadTextFile(File("s.frd")).empty());
    TCliRun modes = RunTonvekCli("export '" + project + "' --kind modes -o '" + File("m.frd") + "'", dir_);
    EXPECT_NE(modes.status, 0);
    TCliRun render = RunTonvekCli("render '" + project + "' --out '" + File("png") + "'", dir_);
    ASSERT_EQ(render.status, 0) << render.err;
    EXPECT_TRUE(std::filesystem::exists(dir_ / "png" / "Airspeed_in_port.png"));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "png" / "Cone_excursion.png"));
}

TEST_F(CliReflexBandpassTest, TheRearConfigurationIsReachedByItsDialogTitle)
{
    std::string project = MakeProject();
    TCliRun r = RunTonvekCli("fields '" + project + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\nNumber of drivers\t1\t"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nRear driver unit configuration:Number of drivers\t1\t"), std::string::npos) << r.out;

    TCliRun set = RunTonvekCli("set '" + project + "' 'Rear driver unit configuration:Number of drivers=2'", dir_);
    ASSERT_EQ(set.status, 0) << set.err;
    const std::string report = Report(project);
    const std::size_t rear = report.find("\nRear driver\n");
    ASSERT_NE(rear, std::string::npos) << report;
    EXPECT_NE(report.find("# drivers\t2", rear), std::string::npos) << report;
    EXPECT_EQ(report.find("# drivers\t2"), report.find("# drivers\t2", rear)) << "the front group keeps one driver";
}
