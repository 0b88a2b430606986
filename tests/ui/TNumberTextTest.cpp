// Numbers in reports and fields: the text printf gives in the C locale, for every format
// the program uses and for the awkward values (ties, negative zero, huge and tiny), and a
// "." under a locale with a decimal comma.

#include "ui/TNumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

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
