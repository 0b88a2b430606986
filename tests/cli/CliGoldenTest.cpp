// Golden outputs of the command line: `tonvek-cli report` and `tonvek-cli curves` on
// every example project, compared with tests/cli/golden/<project>.<command>.txt.
//
// With TONVEK_REGENERATE=1 in the environment the test writes the expected files
// instead of comparing (TONVEK_REGENERATE=1 scripts/test.sh), so an intended change of
// the output shows as a diff in review. A new example project needs nothing but its
// regenerated files.
//
// Tolerance: text must match exactly; every number matches to a relative 1e-9 (and an
// absolute 1e-12 near zero). The curves print 17 digits, so the last bits a different
// compiler or optimisation level rounds differently still pass, while any change of the
// simulation fails; the report's numbers are printed with 0 to 3 decimals and so must
// match digit for digit.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double kRelativeTolerance = 1e-9;
constexpr double kAbsoluteTolerance = 1e-12;

// A line cut into runs of text and numbers: "X=1.500m" is "X=", 1.5, "m".
struct Token {
    bool number = false;
    std::string text;
    double value = 0.0;
};

bool StartsNumber(const std::string& s, std::size_t i)
{
    auto digit = [&](std::size_t k) { return k < s.size() && std::isdigit(static_cast<unsigned char>(s[k])); };
    if (digit(i))
        return true;
    if (s[i] == '.' && digit(i + 1))
        return true;
    // A sign belongs to the number only where it cannot be a hyphen inside a word.
    const bool afterWord = i > 0 && std::isalnum(static_cast<unsigned char>(s[i - 1]));
    return (s[i] == '-' || s[i] == '+') && !afterWord && (digit(i + 1) || (s[i + 1] == '.' && digit(i + 2)));
}

std::vector<Token> Tokens(const std::string& line)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        if (StartsNumber(line, i)) {
            const char* begin = line.c_str() + i;
            char* end = nullptr;
            const double value = std::strtod(begin, &end);
            const auto length = static_cast<std::size_t>(end - begin);
            tokens.push_back({true, line.substr(i, length), value});
            i += length;
        } else {
            if (tokens.empty() || tokens.back().number)
                tokens.push_back({});
            tokens.back().text += line[i++];
        }
    }
    return tokens;
}

bool SameNumber(double expected, double actual)
{
    const double tolerance = std::max(kAbsoluteTolerance,
                                      kRelativeTolerance * std::max(std::fabs(expected), std::fabs(actual)));
    return std::fabs(expected - actual) <= tolerance;
}

bool SameLine(const std::string& expected, const std::string& actual)
{
    if (expected == actual)
        return true;
    const std::vector<Token> e = Tokens(expected);
    const std::vector<Token> a = Tokens(actual);
    if (e.size() != a.size())
        return false;
    for (std::size_t i = 0; i < e.size(); ++i) {
        if (e[i].number != a[i].number)
            return false;
        if (e[i].number ? !SameNumber(e[i].value, a[i].value) : e[i].text != a[i].text)
            return false;
    }
    return true;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Empty when the texts agree; otherwise the first differences, line by line.
std::string Differences(const std::string& expected, const std::string& actual)
{
    const std::vector<std::string> e = Lines(expected);
    const std::vector<std::string> a = Lines(actual);
    std::ostringstream out;
    int shown = 0;
    for (std::size_t i = 0; i < std::max(e.size(), a.size()) && shown < 5; ++i) {
        const std::string* le = i < e.size() ? &e[i] : nullptr;
        const std::string* la = i < a.size() ? &a[i] : nullptr;
        if (le && la && SameLine(*le, *la))
            continue;
        out << "line " << i + 1 << "\n  expected: " << (le ? *le : "(none)")
            << "\n  actual:   " << (la ? *la : "(none)") << "\n";
        ++shown;
    }
    return out.str();
}

TEST(GoldenComparison, NumbersWithinToleranceTextExactly)
{
    struct Row {
        const char* expected;
        const char* actual;
        bool same;
    } rows[] = {
        {" Vol\t\t70.00 l", " Vol\t\t70.00 l", true},
        {"20\t62.44186658646494", "20\t62.441866586464945", true}, // the last bits
        {"20\t62.44186658646494", "20\t62.44186658", true},        // 1e-10 relative
        {"20\t62.44186658646494", "20\t62.44186668646494", false}, // 1.6e-9 relative
        {" -3dB point: \t42.91 Hz", " -3dB point: \t42.92 Hz", false},
        {" Vol\t\t70.00 l", " Vol\t\t70.00 m", false},
        {" Vol\t\t70.00 l", " Vol\t\t70.00 l ", false},
        {"Filename\twoofer-10in.unt", "Filename\twoofer-10in.unt", true},
        {"Filename\twoofer-10in.unt", "Filename\twoofer-12in.unt", false},
        {"X=1.500m", "X=1.5m", true}, // a number is its value, not its digits
        {"0\t1e-300", "-0\t0", true}, // zero within the absolute tolerance
        {"1\t2", "1\t2\t3", false},
        {"inf\t-nan", "inf\t-nan", true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(SameLine(r.expected, r.actual), r.same) << r.expected << " | " << r.actual;
    EXPECT_TRUE(Differences("a 1\nb 2\n", "a 1\nb 2\n").empty());
    EXPECT_FALSE(Differences("a 1\nb 2\n", "a 1\n").empty()); // a missing line
    EXPECT_FALSE(Differences("a 1\n", "a 1\nb 2\n").empty()); // an extra line
}

struct GoldenCase {
    std::string project; // file name in examples/
    std::string command; // report or curves
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const GoldenCase& c, std::ostream* out) { *out << c.command << " " << c.project; }

std::vector<GoldenCase> GoldenCases()
{
    std::vector<std::string> projects;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(TONVEK_SOURCE_DIR) / "examples"))
        if (entry.path().extension() == ".box")
            projects.push_back(entry.path().filename().string());
    std::sort(projects.begin(), projects.end());
    std::vector<GoldenCase> cases;
    for (const std::string& p : projects)
        for (const char* command : {"report", "curves"})
            cases.push_back({p, command});
    return cases;
}

fs::path GoldenFolder() { return fs::path(TONVEK_SOURCE_DIR) / "tests" / "cli" / "golden"; }

fs::path GoldenFile(const GoldenCase& c)
{
    return GoldenFolder() / (fs::path(c.project).stem().string() + "." + c.command + ".txt");
}

bool Regenerating()
{
    const char* value = std::getenv("TONVEK_REGENERATE");
    return value && *value && std::string(value) != "0";
}

class CliGoldenTest : public TScratchFolderTest, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(CliGoldenTest, OutputMatchesTheExpectedFile)
{
    const GoldenCase& c = GetParam();
    const fs::path project = fs::path(TONVEK_SOURCE_DIR) / "examples" / c.project;
    const TCliRun run = RunTonvekCli(c.command + " " + ShellQuote(project.string()), dir_);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const fs::path golden = GoldenFile(c);
    if (Regenerating()) {
        fs::create_directories(golden.parent_path());
        std::ofstream out(golden, std::ios::binary);
        out << run.out;
        ASSERT_TRUE(out.flush()) << "cannot write " << golden;
        return;
    }
    ASSERT_TRUE(fs::exists(golden)) << golden << " is missing; write it with TONVEK_REGENERATE=1 scripts/test.sh";
    const std::string differences = Differences(ReadTextFile(golden), run.out);
    EXPECT_TRUE(differences.empty()) << "tonvek-cli " << c.command << " " << c.project << " differs from " << golden
                                     << ":\n"
                                     << differences
                                     << "If the change is intended: TONVEK_REGENERATE=1 scripts/test.sh, then review "
                                        "the diff of tests/cli/golden.";
}

std::string CaseName(const ::testing::TestParamInfo<GoldenCase>& info)
{
    std::string name = fs::path(info.param.project).stem().string() + "_" + info.param.command;
    std::replace_if(
        name.begin(), name.end(), [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Examples, CliGoldenTest, ::testing::ValuesIn(GoldenCases()), CaseName);

// An expected file whose example project is gone would never be checked again.
TEST(CliGolden, EveryExpectedFileBelongsToAnExample)
{
    std::vector<fs::path> expected;
    for (const GoldenCase& c : GoldenCases())
        expected.push_back(GoldenFile(c));
    ASSERT_FALSE(expected.empty()) << "no example projects found";
    for (const fs::directory_entry& entry : fs::directory_iterator(GoldenFolder()))
        EXPECT_NE(std::find(expected.begin(), expected.end(), entry.path()), expected.end())
            << entry.path() << " belongs to no example project";
}

} // namespace
