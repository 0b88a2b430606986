// How single lines of measurement files are understood, one row per line form met in
// files written by measurement programs and spreadsheets.
#include "measdata/TMeasLineParser.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct LineCase {
    const char* line;
    TMeasLineKind kind;
    int fields;
    double f, value, phase;
    bool comma, semicolon, decimalComma;
};

const LineCase kLines[] = {
    {"19.86599\t74.81\t39.2", TMeasLineKind::Data, 3, 19.86599, 74.81, 39.2, false, false, false},
    {"   10.000    +7.4867   +30.2638  ", TMeasLineKind::Data, 3, 10.0, 7.4867, 30.2638, false, false, false},
    {"1.029    \t2.765    \t-2.990    ", TMeasLineKind::Data, 3, 1.029, 2.765, -2.99, false, false, false},
    {"1.00000000e+01 7.31660000e+00 2.63593000e+01", TMeasLineKind::Data, 3, 10.0, 7.3166, 26.3593, false, false,
     false},
    {"    1.742, -33.963215", TMeasLineKind::Data, 2, 1.742, -33.963215, 0.0, true, false, false},
    {"1000,85.3,-45.2", TMeasLineKind::Data, 3, 1000.0, 85.3, -45.2, true, false, false},
    {"1000 , 85.3 , -45.2", TMeasLineKind::Data, 3, 1000.0, 85.3, -45.2, true, false, false},
    {"1000;85.3;-45.2", TMeasLineKind::Data, 3, 1000.0, 85.3, -45.2, false, true, false},
    {"1000;85,3;-45,2", TMeasLineKind::Data, 3, 1000.0, 85.3, -45.2, false, true, true},
    {"1000,5 85,3 -45,2", TMeasLineKind::Data, 3, 1000.5, 85.3, -45.2, false, false, true},
    {"1000;;-45.2", TMeasLineKind::Data, 3, 1000.0, 0.0, -45.2, false, true, false},
    {"1000 85.3 -45.2 0.5 extra", TMeasLineKind::Data, 3, 1000.0, 85.3, -45.2, false, false, false},
    {"1000 abc 12", TMeasLineKind::Data, 3, 1000.0, 0.0, 12.0, false, false, false},
    {"1000", TMeasLineKind::Data, 1, 1000.0, 0.0, 0.0, false, false, false},
    {"* FILE:C:\\Users\\x y\\a.zma", TMeasLineKind::Comment, 0, 0, 0, 0, false, false, false},
    {"\"Freq\",\"dB\"", TMeasLineKind::Comment, 0, 0, 0, 0, false, false, false},
    {"# 1000 85 0", TMeasLineKind::Comment, 0, 0, 0, 0, false, false, false},
    {"! comment", TMeasLineKind::Comment, 0, 0, 0, 0, false, false, false},
    {"; 1000;85;0", TMeasLineKind::Comment, 0, 0, 0, 0, false, false, false},
    {"Frequency(Hz),   Magnitude(dB)", TMeasLineKind::Comment, 0, 0, 0, 0, false, false, false},
    {"inf 85 0", TMeasLineKind::Comment, 0, 0, 0, 0, false, false, false},
    {"   ", TMeasLineKind::Blank, 0, 0, 0, 0, false, false, false},
    {"", TMeasLineKind::Blank, 0, 0, 0, 0, false, false, false},
    {"0 85 0", TMeasLineKind::Text, 3, 0.0, 85.0, 0.0, false, false, false},
    {"-100 85 0", TMeasLineKind::Text, 3, 0.0, 85.0, 0.0, false, false, false},
    {"12abc 85 0", TMeasLineKind::Text, 3, 0.0, 85.0, 0.0, false, false, false},
    {"1e999 85 0", TMeasLineKind::Text, 3, 0.0, 85.0, 0.0, false, false, false},
    {"100 nan 0", TMeasLineKind::Data, 3, 100.0, 0.0, 0.0, false, false, false},
    {"100 85 0\x01", TMeasLineKind::Binary, 0, 0, 0, 0, false, false, false},
};

class MeasLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(MeasLine, IsUnderstood)
{
    const LineCase& c = GetParam();
    const TMeasLineFields got = ParseMeasLine(c.line);
    EXPECT_EQ(got.kind, c.kind);
    if (c.kind == TMeasLineKind::Data || c.kind == TMeasLineKind::Text) {
        EXPECT_EQ(got.fieldCount, c.fields);
        EXPECT_DOUBLE_EQ(got.value[0], c.f);
        EXPECT_DOUBLE_EQ(got.value[1], c.value);
        EXPECT_DOUBLE_EQ(got.value[2], c.phase);
        EXPECT_EQ(got.commaSeparated, c.comma);
        EXPECT_EQ(got.semicolonSeparated, c.semicolon);
        EXPECT_EQ(got.decimalComma, c.decimalComma);
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, MeasLine, ::testing::ValuesIn(kLines));

TEST(MeasLine, NulInsideALineMakesItBinary)
{
    const std::string line("100 85\0 0", 9);
    EXPECT_EQ(ParseMeasLine(line).kind, TMeasLineKind::Binary);
}

TEST(MeasNumber, WholeFieldOnly)
{
    double v = -1.0;
    EXPECT_TRUE(ParseMeasNumber("+7.5", v));
    EXPECT_DOUBLE_EQ(v, 7.5);
    EXPECT_TRUE(ParseMeasNumber(".5", v));
    EXPECT_DOUBLE_EQ(v, 0.5);
    for (const char* bad : {"", "+", "++1", "1e", "1.2.3x", "0x10", "inf", "-nan", "1,5", "1-2"}) {
        EXPECT_FALSE(ParseMeasNumber(bad, v)) << bad;
        EXPECT_EQ(v, 0.0) << bad;
    }
}

} // namespace
