// tonvek-cli on the bandpass boxes, run as a process: new for each type, set with the
// names that carry their group, report with both -3 dB points, curves with the type's
// columns, the standing-wave export in every format, and render.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace {

class CliBandpassTest : public TScratchFolderTest {
protected:
    std::string Unit() const { return std::string("'") + TONVEK_SOURCE_DIR + "/examples/woofer-6in.unt'"; }
    TCliRun Cli(const std::string& args) { return RunTonvekCli(args, dir_); }
    std::string Make(const std::string& type, const std::vector<std::string>& sets, const std::string& name)
    {
        std::string args = "new " + type + " --unit " + Unit();
        for (const std::string& s : sets)
            args += " --set " + ShellQuote(s);
        std::string project = File(name);
        TCliRun r = Cli(args + " -o '" + project + "'");
        EXPECT_EQ(r.status, 0) << r.err;
        return project;
    }
    static std::vector<std::string> Lines(const std::string& text)
    {
        std::vector<std::string> out;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            out.push_back(line);
        return out;
    }
};

struct TypeCase {
    const char* cli;
    const char* title;
    const char* firstBox;
    std::vector<std::string> sets;
    const char* ownColumns;
};

const TypeCase kTypes[] = {
    {"bp1", "BANDPASS BOX TYPE 1", "Rear box", {"Rear box:Box volume=7", "Front box:Box volume=9", "Length=12"},
     "port air speed/m/s\tSPL with port modes/dB"},
    {"bp2", "BANDPASS BOX TYPE 2", "Rear box", {"Rear box:Box volume=14", "Front port:Length=8"},
     "driver SPL/dB\trear port SPL/dB\trear port air speed/m/s\tfront port air speed/m/s\tSPL with port modes/dB"},
    {"bp3", "BANDPASS BOX TYPE 3", "Rear box", {"Rear port:Res. freq.=35", "Front port:Res. freq.=80"},
     "rear port SPL/dB\tfront port SPL/dB\trear port air speed/m/s\tfront port air speed/m/s\tSPL with port modes/dB"},
    {"bp4", "BANDPASS BOX TYPE 4", "Side boxes", {"Side boxes:Box volume=3", "Middle port:Number of vents=2"},
     "side ports SPL/dB\tmiddle port SPL/dB\tside ports air speed/m/s\tmiddle port air speed/m/s\t"
     "SPL with port modes/dB"},
};

} // namespace

TEST_F(CliBandpassTest, EachTypeReportsBothMinus3dBPointsAndItsOwnCurves)
{
    for (const TypeCase& t : kTypes) {
        SCOPED_TRACE(t.cli);
        std::vector<std::string> sets = t.sets;
        sets.push_back("Number of points=60");
        const std::string project = Make(t.cli, sets, std::string(t.cli) + ".box");
        const std::vector<std::string> report = Lines(Cli("report '" + project + "'").out);
        ASSERT_GT(report.size(), 3u);
        EXPECT_EQ(report[0], t.title);
        EXPECT_EQ(report[2], t.firstBox);
        const auto points = std::find_if(report.begin(), report.end(),
                                         [](const std::string& l) { return l.rfind("  -3dB points: \t", 0) == 0; });
        ASSERT_NE(points, report.end());
        EXPECT_NE(points->find(" Hz   ,   "), std::string::npos) << *points;

        TCliRun curves = Cli("curves '" + project + "'");
        ASSERT_EQ(curves.status, 0) << curves.err;
        const std::vector<std::string> rows = Lines(curves.out);
        ASSERT_EQ(rows.size(), 61u);
        EXPECT_EQ(rows[0], std::string("# f/Hz\tSPL/dB\tphase/deg\tgroup delay/ms\texcursion/mm p-p\t|Z|/ohm\t"
                                       "Z phase/deg\t") +
                               t.ownColumns);
    }
}

TEST_F(CliBandpassTest, GroupedNamesAreRequiredWhereALabelIsInTwoGroups)
{
    const std::string project = Make("bp3", {"Rear box:Fill=20"}, "p.box");
    const std::string file = ReadTextFile(project);
    TCliRun r = Cli("set '" + project + "' 'Box volume=10'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("\"Rear box:Box volume\""), std::string::npos) << r.err;
    EXPECT_EQ(ReadTextFile(project), file);
    // Type 2's tunings follow from the system and are not set by name.
    const std::string two = Make("bp2", {}, "two.box");
    TCliRun tuning = Cli("set '" + two + "' 'Front port:Res. freq.=40'");
    EXPECT_EQ(tuning.status, 1);
    // A volume of a box retunes its port (type 3: the front port in the front box).
    const std::string before = Cli("report '" + project + "'").out;
    ASSERT_EQ(Cli("set '" + project + "' 'Front box:Box volume=20'").status, 0);
    EXPECT_NE(Cli("report '" + project + "'").out, before);
}

TEST_F(CliBandpassTest, StandingWaveExportInEveryFormatAndRender)
{
    const std::string project = Make("bp1", {"Number of points=40"}, "bp1.box");
    struct Format {
        const char* extension;
        const char* header;
    };
    for (const Format& f : {Format{"frd", "   Hz\t\tdB\t\tdeg"}, Format{"zma", "   Hz\t\tdB\t\tdeg"},
                            Format{"gdt", "Standing wave Modes"},
                            Format{"fmp", "Acoustic Response with Standing wave Modes"},
                            Format{"fm", "   Hz\t\tdB"}}) {
        SCOPED_TRACE(f.extension);
        const std::string out = File(std::string("m.") + f.extension);
        TCliRun r = Cli("export '" + project + "' --kind modes -o '" + out + "'");
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string text = ReadTextFile(out);
        EXPECT_NE(text.find(f.header), std::string::npos) << text.substr(0, 300);
    }
    const std::string dir = File("png");
    TCliRun render = Cli("render '" + project + "' --out '" + dir + "'");
    ASSERT_EQ(render.status, 0) << render.err;
    for (const char* png : {"Airspeed_in_port.png", "SPL_with_port_standing_wave_modes.png"})
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(dir) / png)) << png;
}
