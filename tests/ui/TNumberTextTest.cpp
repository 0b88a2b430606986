// Numbers in reports and fields: the text printf gives in the C locale, for every format
// the program uses and for the awkward values (ties, negative zero, huge and tiny), and a
// "." under a locale with a decimal comma.

#include "ui/TNumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

std::string Printf(const char* format, double value)
{
    char buffer[600];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

TEST(TNumberTextTest, FormatDoubleWritesWhatPrintfWrites)
{
    const char* formats[] = {"%3.2f",       " Fc: \t%3.2f Hz", "%1.3f",  "%.0f",   "%f",     "%10.4f|", "%-8.2f|",
                             "%.1e",        "%e",              "%12.3e", "%g",     "%.3g",   "%-10g|",  "%5.f",
                             "%05.1f",      "%+.2f",           "% .2f",  "%#.0f",  "%lf",    "%E",      "%G",
                             "%.2f %% off", "100%% %3.1f",     "%3.2F",  "x%.99f", "%150.2f"};
    const double values[] = {0.0,     -0.0,   1.0,     -1.0,   0.125,  2.5,     0.005,   1.005,  123.456789,
                             -42.4242, 1e-7,  6.02e23, 1e300,  -1e-300, 999.995, 0.045,  5e-324, 1.0 / 3.0,
                             std::numeric_limits<double>::infinity(), std::nan("")};
    for (const char* format : formats)
        for (double value : values)
            EXPECT_EQ(TNumberText::FormatDouble(format, value), Printf(format, value)) << format << " " << value;
}

// Fixed formats over many values: random ones over twenty decades, exact ties of every
// precision, their neighbours one unit in the last place away, and the decimal fractions
// that are just off a tie in binary.
TEST(TNumberTextTest, FixedFormatsWritePrintfsDigitsOverManyValues)
{
    std::uint64_t state = 0x9e3779b97f4a7c15u;
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    std::vector<double> values;
    for (int k = 0; k < 4000; ++k) {
        const double mantissa = static_cast<double>(next() >> 11) / 9007199254740992.0; // [0, 1)
        const int decade = static_cast<int>(next() % 20) - 8;
        const double v = mantissa * std::pow(10.0, decade);
        values.push_back(k % 2 ? -v : v);
    }
    for (int p = 0; p <= 9; ++p)
        for (int n = 0; n < 60; ++n) {
            const double tie = (n + 0.5) / std::pow(10.0, p);
            values.push_back(tie);
            values.push_back(std::nextafter(tie, 0.0));
            values.push_back(std::nextafter(tie, 1.0));
            values.push_back(-tie);
            values.push_back((n * 10 + 5) / std::pow(10.0, p + 1)); // 1.005 and kin
        }
    values.push_back(4.0e15);
    values.push_back(4503599627370495.5);
    const char* formats[] = {"%.0f", "%.1f", "%2.2f", "%3.3f", "%.4f",   "%.5f",    "%.6f",
                             "%.7f", "%.8f", "%.9f",  "%.10f", "%9.2f|", "%-9.2f|", " dX=%3.2fm %%"};
    for (const char* format : formats)
        for (double value : values)
            ASSERT_EQ(TNumberText::FormatDouble(format, value), Printf(format, value)) << format << " " << value;
}

TEST(TNumberTextTest, FormatLongWritesWhatPrintfWrites)
{
    // Each format and the printf format of a long it means; one it cannot use prints
    // as "%ld".
    struct TCase {
        const char* format;
        const char* printfFormat;
    };
    const TCase cases[] = {{"%ld", "%ld"},
                           {"%d", "%ld"},
                           {"%i", "%li"},
                           {" # drivers\t%ld", " # drivers\t%ld"},
                           {" Fill\t\t%d %%", " Fill\t\t%ld %%"},
                           {"%5ld|", "%5ld|"},
                           {"%-5ld|", "%-5ld|"},
                           {"%05ld", "%05ld"},
                           {"%+ld", "%+ld"},
                           {"% ld", "% ld"},
                           {"%.3ld", "%.3ld"},
                           {"100%% %ld", "100%% %ld"},
                           {"%3ld%%", "%3ld%%"},
                           {"%%%ld", "%%%ld"},
                           {"%ld %ld", "%ld"},
                           {"none", "%ld"},
                           {"%x", "%ld"}};
    const long values[] = {
        0, 1, -1, 7, 42, -42, 12345, 2147483647, std::numeric_limits<long>::max(), std::numeric_limits<long>::min()};
    for (const TCase& c : cases)
        for (long value : values) {
            char expected[200];
            std::snprintf(expected, sizeof expected, c.printfFormat, value);
            EXPECT_EQ(TNumberText::FormatLong(c.format, value), expected) << c.format << " " << value;
        }
}

TEST(TNumberTextTest, DecimalPointStaysADotUnderAGermanLocale)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(TNumberText::FormatDouble("%3.2f Hz", 31.256), "31.26 Hz");
    EXPECT_EQ(TNumberText::FormatDouble("%+.1f", 2.25), "+2.2");
    EXPECT_EQ(TNumberText::FormatDouble("%.3E", 1234.5), "1.234E+03"); // through printf
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
