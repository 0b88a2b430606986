// tonvek-cli and the transient response window: fields, set and do reach its dialog,
// curves --transient prints what it plots, export and render write it.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class CliTransientTest : public TScratchFolderTest {
protected:
    std::string MakeProject(const std::string& extra = "")
    {
        std::string project = File("t.box");
        TCliRun r = RunTonvekCli(std::string("new reflex --unit '") + TONVEK_SOURCE_DIR +
                                     "/examples/woofer-6in.unt' --set 'Box volume=20' " + extra + " -o '" + project +
                                     "'",
                                 dir_);
        EXPECT_EQ(r.status, 0) << r.err;
        return project;
    }
    static int DataLines(const std::string& text)
    {
        std::istringstream in(text);
        std::string line;
        int n = 0;
        while (std::getline(in, line))
            n += !line.empty() && line[0] != '#';
        return n;
    }
};

} // namespace

TEST_F(CliTransientTest, SetAndCurvesFollowTheDialog)
{
    const std::string project = MakeProject(
        "--set 'Signal=Tone burst' --set 'Frequency=40' --set 'Time step=0.2 ms' --set '# periods=5'");
    TCliRun fields = RunTonvekCli("fields '" + project + "'", dir_);
    ASSERT_EQ(fields.status, 0) << fields.err;
    EXPECT_NE(fields.out.find("Signal\tTone burst\t\tImpulse|Step|Tone burst"), std::string::npos) << fields.out;
    EXPECT_NE(fields.out.find("Frequency\t40.0\tHz\t10 .. 500"), std::string::npos) << fields.out;
    EXPECT_NE(fields.out.find("Transient resp.:Set to default"), std::string::npos) << fields.out;

    TCliRun curves = RunTonvekCli("curves '" + project + "' --transient", dir_);
    ASSERT_EQ(curves.status, 0) << curves.err;
    EXPECT_EQ(curves.out.rfind("# Tone burst resp. 40.0 Hz, 5 periods\n# t/ms\tOutput\tInput\n0\t", 0), 0u)
        << curves.out.substr(0, 200);
    EXPECT_EQ(DataLines(curves.out), 1024);

    TCliRun refused = RunTonvekCli("set '" + project + "' 'Frequency=600'", dir_);
    EXPECT_NE(refused.status, 0);
    TCliRun reset = RunTonvekCli("do '" + project + "' 'Transient resp.:Set to default'", dir_);
    ASSERT_EQ(reset.status, 0) << reset.err;
    curves = RunTonvekCli("curves '" + project + "' --transient", dir_);
    EXPECT_EQ(curves.out.rfind("# Impulse response\n# t/ms\tOutput\n", 0), 0u) << curves.out.substr(0, 200);
    EXPECT_EQ(DataLines(curves.out), 512);
}

TEST_F(CliTransientTest, ExportAndRenderWriteTheWindow)
{
    const std::string project = MakeProject("--set 'Signal=Step'");
    for (const char* format : {"frd", "zma", "gdt", "fmp", "fm"}) {
        const std::string out = File(std::string("step.") + format);
        TCliRun r = RunTonvekCli("export '" + project + "' --kind transient -o '" + out + "'", dir_);
        ASSERT_EQ(r.status, 0) << format << ": " << r.err;
        const std::string text = ReadTextFile(out);
        EXPECT_NE(text.find("   ms\n"), std::string::npos) << format;
        EXPECT_NE(text.find(" 0.025000\t"), std::string::npos) << format;
    }
    EXPECT_NE(ReadTextFile(File("step.gdt")).find("*  Graph 1 > Step response\n"), std::string::npos);

    TCliRun render = RunTonvekCli("render '" + project + "' --out '" + File("png") + "'", dir_);
    ASSERT_EQ(render.status, 0) << render.err;
    EXPECT_NE(render.out.find("Step"), std::string::npos) << render.out;
}
