// tonvek-cli for box projects, run as a process on the example unit files.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

namespace {

class CliBoxTest : public TScratchFolderTest {
protected:
    std::string Unit() const { return std::string("'") + TONVEK_SOURCE_DIR + "/examples/woofer-6in.unt'"; }
    std::string MakeProject(const std::string& extra = "")
    {
        std::string project = File("p.box");
        TCliRun r = RunTonvekCli("new closed --unit " + Unit() + " --set 'Box volume=12' " + extra + " -o '" +
                                     project + "'",
                                 dir_);
        EXPECT_EQ(r.status, 0) << r.err;
        return project;
    }
};

} // namespace

TEST_F(CliBoxTest, NewProjectReportsWithTheValuesSet)
{
    std::string project = MakeProject("--set QB=10 --set 'Number of drivers=2'");
    TCliRun r = RunTonvekCli("report '" + project + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("CLOSED BOX\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find(" Vol\t\t12.00 l\n"), std::string::npos);
    EXPECT_NE(r.out.find(" Qb\t\t10.0\n"), std::string::npos);
    EXPECT_NE(r.out.find(" # drivers\t2\n"), std::string::npos);
    EXPECT_NE(r.out.find(" -3dB point: \t"), std::string::npos);
}

TEST_F(CliBoxTest, SetRefusesWhatTheDialogRefusesAndKeepsTheFile)
{
    std::string project = MakeProject();
    std::string before = ReadTextFile(project);
    for (const char* bad : {"'QB=2'", "'Box volume=abc'", "'No such field=3'", "noequals"}) {
        TCliRun r = RunTonvekCli("set '" + project + "' " + bad, dir_);
        EXPECT_NE(r.status, 0) << bad;
        EXPECT_NE(r.err.find("tonvek-cli: "), std::string::npos) << bad;
        EXPECT_EQ(ReadTextFile(project), before) << bad;
    }
    TCliRun ok = RunTonvekCli("set '" + project + "' 'Source level=5.66'", dir_);
    ASSERT_EQ(ok.status, 0) << ok.err;
    EXPECT_NE(RunTonvekCli("report '" + project + "'", dir_).out.find(" Ug\t\t5.66 V"), std::string::npos);
}

TEST_F(CliBoxTest, CurvesHaveOneRowPerGridPoint)
{
    std::string project = MakeProject("--set 'Number of points=64'");
    TCliRun r = RunTonvekCli("curves '" + project + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    int rows = 0;
    std::size_t pos = 0;
    while ((pos = r.out.find('\n', pos)) != std::string::npos) {
        ++rows;
        ++pos;
    }
    EXPECT_EQ(rows, 65); // header + 64 points
    EXPECT_NE(r.out.find("\n20\t"), std::string::npos);
}

TEST_F(CliBoxTest, ExportAndRender)
{
    std::string project = MakeProject();
    EXPECT_EQ(RunTonvekCli("export '" + project + "' --kind spl -o '" + File("spl.frd") + "'", dir_).status, 0);
    EXPECT_NE(ReadTextFile(File("spl.frd")).find("Hz"), std::string::npos);
    TCliRun bad = RunTonvekCli("export '" + project + "' --kind spl -o '" + File("spl.xyz") + "'", dir_);
    EXPECT_NE(bad.status, 0);
    EXPECT_NE(bad.err.find("No valid export format selected"), std::string::npos);

    TCliRun r = RunTonvekCli("render '" + project + "' --out '" + File("png") + "' --pdf '" + File("d.pdf") + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(dir_ / "png" / "Impedance.png"));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "png" / "Free_air_SPL_at_1m_distance.png"));
    std::string pdf = ReadTextFile(File("d.pdf"));
    EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
    EXPECT_NE(pdf.find("/Count 1"), std::string::npos);
}

TEST_F(CliBoxTest, BrokenProjectFailsWithOneLine)
{
    std::string project = File("broken.box");
    std::ofstream(project, std::ios::binary) << "garbage";
    TCliRun r = RunTonvekCli("report '" + project + "'", dir_);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("tonvek-cli: "), std::string::npos);
}
