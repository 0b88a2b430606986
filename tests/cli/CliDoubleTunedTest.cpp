// tonvek-cli on the double tuned boxes, run as a process: new, set with the names that
// carry their group, fields, report, curves, export and render.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace {

class CliDoubleTunedTest : public TScratchFolderTest {
protected:
    std::string Unit() const { return std::string("'") + TONVEK_SOURCE_DIR + "/examples/woofer-6in.unt'"; }
    TCliRun Cli(const std::string& args) { return RunTonvekCli(args, dir_); }
    // A new project of type dt1 or dt2 with the assignments given.
    std::string Make(const std::string& type, const std::vector<std::string>& sets, const std::string& name = "p.box")
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
    static bool Has(const std::vector<std::string>& lines, const std::string& line)
    {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

} // namespace

TEST_F(CliDoubleTunedTest, NamesCarryTheirGroupWhereTheLabelIsInTwo)
{
    for (const char* type : {"dt1", "dt2"}) {
        SCOPED_TRACE(type);
        const std::string project = Make(type, {"Rear box:Box volume=30", "front BOX : box volume=12",
                                                "Front port:Length=7.5", "Rear port:Number of vents=2",
                                                "Sim. port nonlinearity=on"});
        const std::vector<std::string> report = Lines(Cli("report '" + project + "'").out);
        ASSERT_FALSE(report.empty());
        EXPECT_EQ(report[0], std::string("DOUBLE TUNED BASSREFLEX BOX ") + (type[2] == '1' ? "1" : "2"));
        // Type 1 lists the rear box first, type 2 the front box.
        const bool one = type[2] == '1';
        EXPECT_EQ(report[2], one ? "Rear box" : "Front box");
        EXPECT_EQ(report[3], one ? " Vol\t\t30.00 l" : " Vol\t\t12.00 l");
        EXPECT_EQ(report[7], one ? " Vol\t\t12.00 l" : " Vol\t\t30.00 l");
        EXPECT_TRUE(Has(report, " Length\t\t7.50 cm"));
        EXPECT_TRUE(Has(report, " # ports\t2"));
        EXPECT_TRUE(Has(report, " Simulation of port non linearity ON"));

        const std::string file = ReadTextFile(project);
        struct Case {
            const char* assignment;
            const char* message;
        };
        const Case refused[] = {
            {"Length=10", "\"Length\" is in more than one group; name the group: \"Rear port:Length\", "
                          "\"Front port:Length\"."},
            {"Box volume=10", "\"Box volume\" is in more than one group; name the group: \"Rear box:Box volume\", "
                              "\"Front box:Box volume\"."},
            {"Rear port:Length=2000", "\"2000\" was refused: Rear port:Length takes 0 .. 1000 cm"},
            {"Front port:Res. freq.=40", "Front port:Res. freq. cannot be changed now (the dialog shows it read-only)"},
        };
        for (const Case& c : refused) {
            TCliRun r = Cli("set '" + project + "' " + ShellQuote(c.assignment));
            EXPECT_EQ(r.status, 1) << c.assignment;
            EXPECT_EQ(r.err, std::string("tonvek-cli: ") + c.message + "\n");
        }
        EXPECT_EQ(ReadTextFile(project), file);
    }
}

TEST_F(CliDoubleTunedTest, FieldsListEachGroupedNameOnceAndSetTakesThemBack)
{
    const std::string project = Make("dt2", {"Front box:Fill=40"});
    TCliRun listed = Cli("fields '" + project + "'");
    ASSERT_EQ(listed.status, 0) << listed.err;
    std::vector<std::string> names, assignments;
    for (const std::string& line : Lines(listed.out)) {
        if (line.size() > 6 && line.compare(line.size() - 6, 6, "\tpress") == 0)
            continue; // what do presses has no value
        const std::size_t tab = line.find('\t');
        const std::size_t second = line.find('\t', tab + 1);
        names.push_back(line.substr(0, tab));
        assignments.push_back(line.substr(0, tab) + "=" + line.substr(tab + 1, second - tab - 1));
    }
    for (const char* group : {"Rear box", "Front box"})
        for (const char* label : {"Box volume", "Box Q-value", "Fill"})
            EXPECT_EQ(std::count(names.begin(), names.end(), std::string(group) + ":" + label), 1) << label;
    for (const char* group : {"Rear port", "Front port"})
        for (const char* label : {"Length", "Diameter", "Area", "Number of vents"})
            EXPECT_EQ(std::count(names.begin(), names.end(), std::string(group) + ":" + label), 1) << label;
    for (const char* bare : {"Box volume", "Length", "Fill", "Front port:Res. freq."})
        EXPECT_EQ(std::count(names.begin(), names.end(), bare), 0) << bare;
    // Unique labels stay bare: the switch, the setup and the driver configuration.
    for (const char* bare : {"Sim. port nonlinearity", "Number of points", "Number of drivers"})
        EXPECT_EQ(std::count(names.begin(), names.end(), bare), 1) << bare;
    EXPECT_NE(listed.out.find("Front box:Fill\t40\t%\t0 .. 100\n"), std::string::npos);

    std::string args;
    for (const std::string& a : assignments)
        args += " " + ShellQuote(a);
    TCliRun back = Cli("set '" + project + "'" + args);
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(Cli("fields '" + project + "'").out, listed.out);

    // A label with its group reaches a field whose label alone would do as well.
    const std::string closed = File("c.box");
    ASSERT_EQ(Cli("new closed --unit " + Unit() + " --set 'Enclosure:QB=10' -o '" + closed + "'").status, 0);
    EXPECT_NE(Cli("report '" + closed + "'").out.find(" Qb\t\t10.0\n"), std::string::npos);
}

TEST_F(CliDoubleTunedTest, CurvesExportAndRender)
{
    for (const char* type : {"dt1", "dt2"}) {
        SCOPED_TRACE(type);
        const std::string project = Make(type, {"Number of points=40"}, std::string(type) + ".box");
        TCliRun curves = Cli("curves '" + project + "'");
        ASSERT_EQ(curves.status, 0) << curves.err;
        const std::vector<std::string> rows = Lines(curves.out);
        ASSERT_EQ(rows.size(), 41u);
        const std::string speeds = type[2] == '1' ? "rear port air speed/m/s\tfront port air speed/m/s"
                                                  : "front port air speed/m/s\trear port air speed/m/s";
        EXPECT_EQ(rows[0], "# f/Hz\tSPL/dB\tphase/deg\tgroup delay/ms\texcursion/mm p-p\t|Z|/ohm\tZ phase/deg\t"
                           "driver SPL/dB\tfront port SPL/dB\t" +
                               speeds);
        EXPECT_EQ(std::count(rows[1].begin(), rows[1].end(), '\t'), 10);

        EXPECT_EQ(Cli("export '" + project + "' --kind impedance -o '" + File("z.zma") + "'").status, 0);
        TCliRun modes = Cli("export '" + project + "' --kind modes -o '" + File("m.frd") + "'");
        EXPECT_EQ(modes.status, 1);
        EXPECT_NE(modes.err.find("has no standing-wave modes"), std::string::npos) << modes.err;

        const std::string out = File(std::string("png-") + type);
        TCliRun render = Cli("render '" + project + "' --out '" + out + "' --pdf '" + File("d.pdf") + "'");
        ASSERT_EQ(render.status, 0) << render.err;
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(out) / "Airspeed_in_port.png"));
        EXPECT_NE(ReadTextFile(File("d.pdf")).find("/Count 1"), std::string::npos); // five diagrams, eight a page
    }
}
