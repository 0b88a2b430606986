// tonvek-cli for bass reflex projects, run as a process on the example unit files:
// new, set and fields reach the port, curves lists the type's own columns, export and
// render know its windows.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class CliReflexBoxTest : public TScratchFolderTest {
protected:
    std::string Unit() const { return std::string("'") + TONVEK_SOURCE_DIR + "/examples/woofer-6in.unt'"; }
    std::string MakeProject(const std::string& extra = "")
    {
        std::string project = File("r.box");
        TCliRun r = RunTonvekCli("new reflex --unit " + Unit() + " --set 'Box volume=20' --set 'Res. freq.=42' " +
                                     extra + " -o '" + project + "'",
                                 dir_);
        EXPECT_EQ(r.status, 0) << r.err;
        return project;
    }
    std::string Report(const std::string& project) { return RunTonvekCli("report '" + project + "'", dir_).out; }
};

} // namespace

TEST_F(CliReflexBoxTest, NewHelpListsTheBoxTypes)
{
    TCliRun r = RunTonvekCli("new --help", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("closed, reflex"), std::string::npos) << r.out;
    TCliRun unknown = RunTonvekCli("new nosuch --unit " + Unit() + " -o '" + File("x.box") + "'", dir_);
    EXPECT_NE(unknown.status, 0);
    EXPECT_NE(unknown.err.find("reflex"), std::string::npos) << unknown.err;
}

TEST_F(CliReflexBoxTest, NewAndSetReachBoxAndPort)
{
    std::string project = MakeProject("--set 'Number of vents=2' --set 'Sim. port nonlinearity=on'");
    std::string report = Report(project);
    EXPECT_EQ(report.rfind("BASSREFLEX BOX\n", 0), 0u) << report;
    EXPECT_NE(report.find(" Vol\t\t20.00 l\n"), std::string::npos);
    EXPECT_NE(report.find(" # ports\t2\n"), std::string::npos);
    EXPECT_NE(report.find(" Simulation of port non linearity ON\n"), std::string::npos);

    project = MakeProject();
    report = Report(project);
    EXPECT_NE(report.find(" Res freq.\t42.00 Hz\n"), std::string::npos) << report;
    // The port's own refusals reach the command line and leave the file as it was.
    const std::string before = ReadTextFile(project);
    struct Bad {
        const char* assignment;
        const char* why;
    };
    for (const Bad bad : {Bad{"'Res. freq.=2000'", "takes 1 .. 1000"}, Bad{"'Res. freq.=900'", "Port length < 0"},
                          Bad{"'Min dia.=1'", "Portlength < 0"},
                          Bad{"'Flare radius=5'", "Flare radius must be greater than half the port length"},
                          Bad{"'Number of vents=10'", "takes 1 .. 9"}}) {
        TCliRun r = RunTonvekCli("set '" + project + "' " + bad.assignment, dir_);
        EXPECT_NE(r.status, 0) << bad.assignment;
        EXPECT_NE(r.err.find(bad.why), std::string::npos) << r.err;
        EXPECT_EQ(ReadTextFile(project), before) << bad.assignment;
    }
    TCliRun ok = RunTonvekCli("set '" + project + "' 'Min dia.=6' 'Box volume=25'", dir_);
    ASSERT_EQ(ok.status, 0) << ok.err;
    report = Report(project);
    EXPECT_NE(report.find(" Dia\t\t6.00 cm\n"), std::string::npos) << report;
    EXPECT_NE(report.find(" Vol\t\t25.00 l\n"), std::string::npos);
    // The larger box lowers the tuning of the same port: 42 · sqrt(20 / 25).
    EXPECT_NE(report.find(" Res freq.\t37.57 Hz\n"), std::string::npos) << report;
}

TEST_F(CliReflexBoxTest, FieldsListThePortGroup)
{
    std::string project = MakeProject();
    TCliRun r = RunTonvekCli("fields '" + project + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line : {"Box volume\t20.0\tl\t0.1 .. 10000\n", "Flare radius\tinf.\tcm\t0 .. 20000, 0: inf.\n",
                             "Res. freq.\t42.0\tHz\t1 .. 1000\n", "Number of vents\t1\t\t1 .. 9\n",
                             "Sim. port nonlinearity\toff\t\ton|off\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
    // The read-only maximum diameter is shown by the dialog but not settable.
    EXPECT_EQ(r.out.find("Max dia."), std::string::npos);
}

TEST_F(CliReflexBoxTest, CurvesNameTheTypesOwnColumns)
{
    std::string project = MakeProject("--set 'Number of points=40'");
    TCliRun r = RunTonvekCli("curves '" + project + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string header;
    std::getline(lines, header);
    EXPECT_EQ(header, "# f/Hz\tSPL/dB\tphase/deg\tgroup delay/ms\texcursion/mm p-p\t|Z|/ohm\tZ phase/deg"
                      "\tdriver SPL/dB\tport SPL/dB\tport air speed/m/s\tSPL with port modes/dB");
    int rows = 0;
    for (std::string row; std::getline(lines, row); ++rows) {
        int columns = 1;
        for (char c : row)
            columns += c == '\t';
        EXPECT_EQ(columns, 11) << row;
    }
    EXPECT_EQ(rows, 40);
}

TEST_F(CliReflexBoxTest, ExportAndRenderKnowTheAirSpeedWindow)
{
    std::string project = MakeProject();
    EXPECT_EQ(RunTonvekCli("export '" + project + "' --kind impedance -o '" + File("z.zma") + "'", dir_).status, 0);
    EXPECT_NE(ReadTextFile(File("z.zma")).find("ohm"), std::string::npos);
    // The standing-wave export belongs to the bandpass boxes.
    TCliRun modes = RunTonvekCli("export '" + project + "' --kind modes -o '" + File("m.frd") + "'", dir_);
    EXPECT_NE(modes.status, 0);
    EXPECT_NE(modes.err.find("Bassreflex box"), std::string::npos) << modes.err;

    TCliRun r = RunTonvekCli("render '" + project + "' --out '" + File("png") + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(dir_ / "png" / "Airspeed_in_port.png"));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "png" / "Free_air_SPL_at_1m_distance.png"));
}
