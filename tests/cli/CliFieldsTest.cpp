// tonvek-cli fields and what set says about the values and names it refuses, run as a
// process on a copy of an example project.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <set>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> out;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        out.push_back(part);
    if (!text.empty() && text.back() == separator && separator != '\n')
        out.emplace_back();
    return out;
}

struct TListedField {
    std::string name, value, unit, accepted;
};

double Number(const std::string& text)
{
    double v = NAN;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

std::string Text(double v)
{
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return ec == std::errc() ? std::string(buffer, end) : std::string("?");
}

class CliFieldsTest : public TScratchFolderTest {
protected:
    void SetUp() override
    {
        TScratchFolderTest::SetUp();
        // The project names its unit in the program folder, where the build puts the examples.
        std::filesystem::copy_file(std::string(TONVEK_BIN_DIR) + "/examples/closed-6in.box", dir_ / "p.box");
        project_ = File("p.box");
    }
    TCliRun Cli(const std::string& args) { return RunTonvekCli(args, dir_); }
    TCliRun Set(const std::string& assignment) { return Cli("set '" + project_ + "' " + ShellQuote(assignment)); }
    std::vector<TListedField> Listing()
    {
        TCliRun r = Cli("fields '" + project_ + "'");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        std::vector<TListedField> out;
        for (const std::string& line : Split(r.out, '\n')) {
            std::vector<std::string> cells = Split(line, '\t');
            EXPECT_EQ(cells.size(), 4u) << line;
            if (cells.size() == 4)
                out.push_back({cells[0], cells[1], cells[2], cells[3]});
        }
        return out;
    }
    std::string project_;
};

} // namespace

TEST_F(CliFieldsTest, ListsTheProjectsNamesValuesUnitsAndRanges)
{
    const std::vector<TListedField> fields = Listing();
    ASSERT_GE(fields.size(), 20u);
    std::set<std::string> names;
    for (const TListedField& f : fields) {
        EXPECT_FALSE(f.name.empty());
        EXPECT_FALSE(f.accepted.empty()) << f.name;
        std::string lower;
        for (char c : f.name)
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(names.insert(lower).second) << "listed twice: " << f.name;
    }
    // Values as the dialogs format them, from the example project (4.5 l, 50 % fill, 200 points).
    const TListedField expected[] = {
        {"Box volume", "4.5", "l", "0.1 .. 10000"},   {"QB", "15.0", "", "3 .. 15"},
        {"Fill", "50", "%", "0 .. 100"},              {"Number of points", "200", "", "10 .. 500"},
        {"Start frequency", "20", "Hz", "1 .. 1990"}, {"Source level", "2.83", "V", "0.001 .. 1000"},
        {"Autorange", "off", "", "on|off"},           {"Number of drivers", "1", "", "1 .. 9"},
        {"BL nonlinearity", "off", "", "on|off"},
    };
    for (const TListedField& e : expected) {
        bool found = false;
        for (const TListedField& f : fields) {
            if (f.name != e.name)
                continue;
            found = true;
            EXPECT_EQ(f.value, e.value) << e.name;
            EXPECT_EQ(f.unit, e.unit) << e.name;
            EXPECT_EQ(f.accepted, e.accepted) << e.name;
        }
        EXPECT_TRUE(found) << e.name;
    }
    // Set cannot change what the dialog only shows, so it is not offered.
    for (const TListedField& f : fields)
        EXPECT_NE(f.name, "Level offset");
}

TEST_F(CliFieldsTest, EveryListedNameAndValueGoesBackThroughSet)
{
    const std::vector<TListedField> before = Listing();
    ASSERT_FALSE(before.empty());
    std::string args;
    for (const TListedField& f : before)
        if (f.accepted != "press") // what do presses has no value
            args += " " + ShellQuote(f.name + "=" + f.value);
    TCliRun r = Cli("set '" + project_ + "'" + args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "saved " + project_ + "\n");
    const std::vector<TListedField> after = Listing();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].name, before[i].name);
        EXPECT_EQ(after[i].value, before[i].value) << before[i].name;
    }
}

// Just past either end of every listed range is refused with that very range, and the
// project file stays as it was.
TEST_F(CliFieldsTest, RefusalsQuoteTheListedRange)
{
    const std::string file = ReadTextFile(project_);
    int numeric = 0;
    for (const TListedField& f : Listing()) {
        std::vector<std::string> tried;
        const std::size_t dots = f.accepted.find(" .. ");
        if (dots != std::string::npos) {
            ++numeric;
            const double low = Number(f.accepted.substr(0, dots));
            const double high = Number(f.accepted.substr(dots + 4));
            ASSERT_TRUE(std::isfinite(low) && std::isfinite(high)) << f.accepted;
            tried = {Text(high + std::fabs(high) + 1), Text(low - std::fabs(low) - 1)};
        } else if (f.accepted == "on|off") {
            tried = {"maybe"};
        }
        for (const std::string& value : tried) {
            TCliRun r = Set(f.name + "=" + value);
            EXPECT_NE(r.status, 0) << f.name << "=" << value;
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.err, "tonvek-cli: \"" + value + "\" was refused: " + f.name + " takes " + f.accepted +
                                 (f.unit.empty() ? "" : " " + f.unit) + "\n");
        }
    }
    EXPECT_GE(numeric, 15);
    EXPECT_EQ(ReadTextFile(project_), file);
}

TEST_F(CliFieldsTest, RefusedValuesAndFieldsThatCannotChange)
{
    struct Case {
        std::vector<std::string> assignments;
        std::string message;
    };
    const Case cases[] = {
        {{"QB=20"}, "\"20\" was refused: QB takes 3 .. 15"},
        {{"box  VOLUME=0,05"}, "\"0,05\" was refused: Box volume takes 0.1 .. 10000 l"},
        // The dialog would keep the old value without a beep; here that is a refusal.
        {{"Box volume=12x"}, "\"12x\" was refused: Box volume takes 0.1 .. 10000 l"},
        {{"Box volume="}, "\"\" was refused: Box volume takes 0.1 .. 10000 l"},
        {{"Fill=50.5"}, "\"50.5\" was refused: Fill takes 0 .. 100 %"},
        {{"Autorange=on", "Range=40"}, "Range cannot be changed now (the dialog has it disabled)"},
        // Without level data the driver dialog shows a text where the offset would be.
        {{"Level offset=3"}, "Level offset cannot be changed: the dialog only shows it"},
        {{"Manufacturer=X"}, "Manufacturer cannot be changed: the dialog only shows it"},
        {{"QB"}, "\"QB\" is not NAME=VALUE"},
    };
    const std::string file = ReadTextFile(project_);
    for (const Case& c : cases) {
        std::string args;
        for (const std::string& a : c.assignments)
            args += " " + ShellQuote(a);
        TCliRun r = Cli("set '" + project_ + "'" + args);
        EXPECT_EQ(r.status, 1) << c.message;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "tonvek-cli: " + c.message + "\n");
    }
    EXPECT_EQ(ReadTextFile(project_), file);
    // A comma is the decimal point the dialog takes too.
    TCliRun ok = Set("Box volume=7,5");
    ASSERT_EQ(ok.status, 0) << ok.err;
    EXPECT_NE(Cli("report '" + project_ + "'").out.find(" Vol\t\t7.50 l\n"), std::string::npos);
}

TEST_F(CliFieldsTest, UnknownNamesGetTheirCloseMatches)
{
    struct Case {
        const char* name;
        const char* matches; // "" when nothing is close
    };
    const Case cases[] = {
        {"Box volum", " Close matches: \"Box volume\"."},
        {"volume", " Close matches: \"Box volume\"."},
        {"drivers", " Close matches: \"Number of drivers\"."},
        {"qc", " Close matches: \"QB\", \"QL\", \"Q\"."},
        {"Sourse level", " Close matches: \"Source level\"."},
        {"xyzzy", ""},
    };
    for (const Case& c : cases) {
        TCliRun r = Set(std::string(c.name) + "=3");
        EXPECT_EQ(r.status, 1) << c.name;
        EXPECT_EQ(r.err, std::string("tonvek-cli: no field \"") + c.name + "\"." + c.matches +
                             " See: tonvek-cli fields " + project_ + "\n");
    }
    // A new project has no file to list yet: the hint names the command with a placeholder.
    TCliRun made = Cli("new closed --unit '" + std::string(TONVEK_BIN_DIR) + "/examples/woofer-6in.unt' --set " +
                       ShellQuote("Box volum=3") + " -o '" + File("n.box") + "'");
    EXPECT_EQ(made.status, 1);
    EXPECT_NE(made.err.find("Close matches: \"Box volume\". See: tonvek-cli fields PROJECT.box"), std::string::npos)
        << made.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "n.box"));
}

TEST_F(CliFieldsTest, NewSaysWhatItSavedAndHelpExplainsFields)
{
    TCliRun made = Cli("new closed --unit '" + std::string(TONVEK_BIN_DIR) + "/examples/woofer-6in.unt' -o '" +
                       File("n.box") + "'");
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, "saved " + File("n.box") + "\n");

    TCliRun help = Cli("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("\n  fields PROJECT.box "), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("--format frd|zma|gdt|fmp|fm|csv"), std::string::npos);
    for (const char* command : {"fields", "set", "export"}) {
        TCliRun one = Cli(std::string(command) + " --help");
        EXPECT_EQ(one.status, 0) << command;
        EXPECT_EQ(one.out.rfind(std::string("Usage: tonvek-cli ") + command + " ", 0), 0u) << one.out;
    }

    // set reaches box projects only; a unit file gets pointed to the unit commands.
    TCliRun unit = Cli("fields '" + std::string(TONVEK_BIN_DIR) + "/examples/woofer-6in.unt'");
    EXPECT_EQ(unit.status, 1);
    EXPECT_NE(unit.err.find("is a unit file, not a box project: see tonvek-cli unit show"), std::string::npos)
        << unit.err;
}
