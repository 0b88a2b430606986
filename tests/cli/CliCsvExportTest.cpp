// tonvek-cli export to CSV: picked by the .csv name or --format csv, a header naming the
// columns, and rows that carry exactly the values `curves` prints.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
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
    return out;
}

// Cells as a spreadsheet reads them in the C locale; nothing may be left over.
std::vector<double> Numbers(const std::string& line, char separator)
{
    std::vector<double> out;
    for (const std::string& cell : Split(line, separator)) {
        if (cell.empty())
            continue; // the FRD layout's double tabs and leading blank
        const char* begin = cell.data() + (cell[0] == ' ' ? 1 : 0);
        double v = NAN;
        auto [end, ec] = std::from_chars(begin, cell.data() + cell.size(), v);
        out.push_back(ec == std::errc() && end == cell.data() + cell.size() ? v : NAN);
    }
    return out;
}

class CliCsvExportTest : public TScratchFolderTest {
protected:
    void SetUp() override
    {
        TScratchFolderTest::SetUp();
        std::filesystem::copy_file(std::string(TONVEK_BIN_DIR) + "/examples/closed-6in.box", dir_ / "p.box");
        project_ = File("p.box");
    }
    TCliRun Export(const std::string& options) { return RunTonvekCli("export '" + project_ + "' " + options, dir_); }
    std::string project_;
};

} // namespace

// curves columns: f, SPL, phase, group delay, excursion, |Z|, Z phase.
TEST_F(CliCsvExportTest, RowsCarryTheValuesOfTheCurves)
{
    struct Case {
        const char* kind;
        const char* header;
        std::vector<std::size_t> columns; // of curves, after the frequency
    };
    const Case cases[] = {
        {"spl", "Frequency (Hz),SPL (dB),Phase (deg)", {1, 2}},
        {"impedance", "Frequency (Hz),Impedance (ohm),Phase (deg)", {5, 6}},
        {"groupdelay", "Frequency (Hz),Group delay (ms)", {3}},
    };
    TCliRun curves = RunTonvekCli("curves '" + project_ + "'", dir_);
    ASSERT_EQ(curves.status, 0) << curves.err;
    const std::vector<std::string> rows = Split(curves.out, '\n');
    ASSERT_EQ(rows.size(), 201u); // a comment line and the project's 200 points
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const std::string out = File(std::string(c.kind) + ".csv");
        TCliRun r = Export(std::string("--kind ") + c.kind + " -o '" + out + "'");
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "");
        const std::vector<std::string> lines = Split(ReadTextFile(out), '\n');
        ASSERT_EQ(lines.size(), rows.size());
        EXPECT_EQ(lines[0], c.header);
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::vector<double> csv = Numbers(lines[i], ',');
            const std::vector<double> want = Numbers(rows[i], '\t');
            ASSERT_EQ(csv.size(), c.columns.size() + 1) << lines[i];
            EXPECT_EQ(csv[0], want[0]) << lines[i];
            for (std::size_t k = 0; k < c.columns.size(); ++k)
                EXPECT_EQ(csv[k + 1], want[c.columns[k]]) << lines[i];
        }
    }
}

TEST_F(CliCsvExportTest, FormatOptionWritesCsvUnderAnyName)
{
    ASSERT_EQ(Export("--kind impedance -o '" + File("z.csv") + "'").status, 0);
    TCliRun r = Export("--kind impedance --format CSV -o '" + File("z.txt") + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadTextFile(File("z.txt")), ReadTextFile(File("z.csv")));
    // --format frd on a .csv name writes the FRD layout: the option wins over the name.
    ASSERT_EQ(Export("--kind spl --format frd -o '" + File("s.csv") + "'").status, 0);
    EXPECT_EQ(ReadTextFile(File("s.csv")).rfind("   Hz\t\tdB\t\tdeg\n", 0), 0u);

    TCliRun bad = Export("--kind spl --format xls -o '" + File("x.xls") + "'");
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "tonvek-cli: export: unknown format \"xls\" (frd, zma, gdt, fmp, fm or csv)\n");
    // Nothing is left beside the files asked for.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"cli-stderr.txt", "p.box", "s.csv", "z.csv", "z.txt"}));
}

// The measurement import takes the CSV back: the same curve as from the FRD file.
TEST_F(CliCsvExportTest, ReadsBackLikeTheFrdExport)
{
    ASSERT_EQ(Export("--kind spl -o '" + File("s.csv") + "'").status, 0);
    ASSERT_EQ(Export("--kind spl -o '" + File("s.frd") + "'").status, 0);
    TCliRun csv = RunTonvekCli("measdata read '" + File("s.csv") + "' --grid box", dir_);
    TCliRun frd = RunTonvekCli("measdata read '" + File("s.frd") + "' --grid box", dir_);
    ASSERT_EQ(csv.status, 0) << csv.err;
    ASSERT_EQ(frd.status, 0) << frd.err;
    // The FRD file rounds to six decimals, the CSV file does not.
    const std::vector<std::string> a = Split(csv.out, '\n'), b = Split(frd.out, '\n');
    ASSERT_EQ(a.size(), b.size());
    EXPECT_GT(a.size(), 40u);
    EXPECT_EQ(a[0], b[0]);
    for (std::size_t i = 1; i < a.size(); ++i) {
        const std::vector<double> x = Numbers(a[i], '\t'), y = Numbers(b[i], '\t');
        ASSERT_EQ(x.size(), y.size()) << a[i];
        for (std::size_t k = 0; k < x.size(); ++k)
            EXPECT_NEAR(x[k], y[k], 2e-6) << a[i] << " | " << b[i];
    }
}

// A user whose locale writes 2,5 still gets a file with 2.5.
TEST_F(CliCsvExportTest, CommaLocaleKeepsTheDecimalPoint)
{
    const char* comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"}) {
        if (locale_t l = ::newlocale(LC_ALL_MASK, name, nullptr)) {
            ::freelocale(l);
            comma = name;
            break;
        }
    }
    if (!comma)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    ASSERT_EQ(Export("--kind spl -o '" + File("c.csv") + "'").status, 0);
    const char* old = std::getenv("LC_ALL");
    const std::string saved = old ? old : "";
    ::setenv("LC_ALL", comma, 1);
    TCliRun r = Export("--kind spl -o '" + File("local.csv") + "'");
    old ? ::setenv("LC_ALL", saved.c_str(), 1) : ::unsetenv("LC_ALL");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadTextFile(File("local.csv")), ReadTextFile(File("c.csv")));
}
