// tonvek-cli for the passive radiator box, run as a process on an example unit.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

class CliAbrTest : public TScratchFolderTest {
protected:
    std::string Unit() const { return std::string("'") + TONVEK_SOURCE_DIR + "/examples/woofer-6in.unt'"; }
    std::string MakeProject(const std::string& extra = "")
    {
        std::string project = File("pr.box");
        TCliRun r = RunTonvekCli("new abr --unit " + Unit() + " --set 'Box volume=12' --set Sd=94 " + extra +
                                     " --set Fb=45 -o '" + project + "'",
                                 dir_);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "saved " + project + "\n");
        return project;
    }

    static std::vector<std::string> Cells(const std::string& line)
    {
        std::vector<std::string> cells;
        std::stringstream in(line);
        std::string cell;
        while (std::getline(in, cell, '\t'))
            cells.push_back(cell);
        return cells;
    }
};

} // namespace

TEST_F(CliAbrTest, NewProjectReportsTheBoxAndTheRadiators)
{
    std::string project = MakeProject("--set '# ABR units=2' --set QB=10");
    TCliRun r = RunTonvekCli("report '" + project + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("ABR BOX\n", 0), 0u) << r.out;
    for (const char* line :
         {"\n Vol\t\t12.00 l\n", "\n Qb\t\t10.0\n", "\nAbr unit\n", "\n Sd\t\t94.00 sq.cm\n", "\n # units\t2\n",
          "\n Res freq.\t45.00 Hz (in box)\n", "\n  Abr 2\t\t", "\nAdditional details:\n", "\n  -3dB point: \t"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
}

TEST_F(CliAbrTest, SetFollowsTheDialogsRules)
{
    std::string project = MakeProject();
    std::string before = ReadTextFile(project);
    // A radiator without mass, a tenth unit, a limit below zero: refused, file kept.
    for (const char* bad : {"'Mmp=0'", "'# ABR units=10'", "'Xmax=-1'", "'Fb=0'"}) {
        TCliRun r = RunTonvekCli("set '" + project + "' " + bad, dir_);
        EXPECT_NE(r.status, 0) << bad;
        EXPECT_NE(r.err.find("was refused"), std::string::npos) << bad << r.err;
        EXPECT_EQ(ReadTextFile(project), before) << bad;
    }
    // The box volume retunes the radiator; Fb then sets the mass for the new box.
    ASSERT_EQ(RunTonvekCli("set '" + project + "' 'Box volume=24'", dir_).status, 0);
    std::string report = RunTonvekCli("report '" + project + "'", dir_).out;
    ASSERT_NE(report.find(" Hz (in box)\n"), std::string::npos);
    EXPECT_EQ(report.find(" Res freq.\t45.00 Hz (in box)\n"), std::string::npos) << "a larger box tunes lower";
    ASSERT_EQ(RunTonvekCli("set '" + project + "' Fb=45 'Simulate non lin.=on' Xmax=3", dir_).status, 0);
    report = RunTonvekCli("report '" + project + "'", dir_).out;
    EXPECT_NE(report.find(" Res freq.\t45.00 Hz (in box)\n"), std::string::npos) << report;
    EXPECT_NE(report.find(" Simulation of abr unit non linearity ON\n"), std::string::npos);
    // With Xmax 0 the switch cannot be used.
    ASSERT_EQ(RunTonvekCli("set '" + project + "' Xmax=0", dir_).status, 0);
    TCliRun off = RunTonvekCli("set '" + project + "' 'Simulate non lin.=off'", dir_);
    EXPECT_NE(off.status, 0);
    EXPECT_NE(off.err.find("disabled"), std::string::npos) << off.err;
}

TEST_F(CliAbrTest, FieldsListTheRadiator)
{
    std::string project = MakeProject();
    TCliRun r = RunTonvekCli("fields '" + project + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line :
         {"Box volume\t12.0\tl\t0.1 .. 10000\n", "Sd\t94.0\tcm\xC2\xB2\t0.000001 .. 100000\n",
          "Fb\t45.0\tHz\t0.1 .. 100000\n", "# ABR units\t1\t\t1 .. 9\n", "Simulate non lin.\toff\t\ton|off\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
}

TEST_F(CliAbrTest, CurvesAddDriverAndRadiatorColumns)
{
    std::string project = MakeProject("--set 'Number of points=40'");
    TCliRun r = RunTonvekCli("curves '" + project + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    std::stringstream in(r.out);
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    const std::vector<std::string> header = Cells(line);
    ASSERT_EQ(header.size(), 10u) << line;
    EXPECT_EQ(header[7], "driver SPL/dB");
    EXPECT_EQ(header[8], "radiator SPL/dB");
    EXPECT_EQ(header[9], "radiator excursion/mm p-p");
    int rows = 0;
    while (std::getline(in, line)) {
        const std::vector<std::string> cells = Cells(line);
        ASSERT_EQ(cells.size(), 10u) << line;
        for (const std::string& c : cells)
            EXPECT_EQ(c.find("nan"), std::string::npos) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 40);
}

TEST_F(CliAbrTest, ExportAndRender)
{
    std::string project = MakeProject();
    EXPECT_EQ(RunTonvekCli("export '" + project + "' --kind spl -o '" + File("spl.frd") + "'", dir_).status, 0);
    EXPECT_EQ(RunTonvekCli("export '" + project + "' --kind impedance -o '" + File("z.zma") + "'", dir_).status, 0);
    EXPECT_NE(ReadTextFile(File("z.zma")).find("ohm"), std::string::npos);
    TCliRun modes = RunTonvekCli("export '" + project + "' --kind modes -o '" + File("m.frd") + "'", dir_);
    EXPECT_NE(modes.status, 0);
    EXPECT_NE(modes.err.find("Passive radiator box has no standing-wave modes"), std::string::npos) << modes.err;

    TCliRun r = RunTonvekCli("render '" + project + "' --out '" + File("png") + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(dir_ / "png" / "Cone_excursion.png"));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "png" / "Free_air_SPL_at_1m_distance.png"));
}
