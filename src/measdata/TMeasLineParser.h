#pragma once
// Splits one line of a measurement text file into its first three fields and says what
// kind of line it is. Fields are separated by blanks and tabs; commas and semicolons
// separate them too, as spreadsheet and analyser exports write them. Numbers are read
// independently of the process locale.

#include <string_view>

enum class TMeasLineKind {
    Blank,   // nothing but blanks
    Comment, // starts with '*', '"', '#', '!', ';' or a letter
    Binary,  // holds control characters other than blanks and tabs
    Text,    // first field is not a positive number (headers, "0 ..." lines, negative frequencies)
    Data,    // first field is a positive frequency
};

struct TMeasLineFields {
    TMeasLineKind kind = TMeasLineKind::Blank;
    int fieldCount = 0;                  // fields present, at most 3 are looked at
    bool numeric[3] = {false, false, false};
    double value[3] = {0.0, 0.0, 0.0};   // a field that is not a number reads as 0
    bool commaSeparated = false;         // commas split the fields
    bool semicolonSeparated = false;     // semicolons split the fields
    bool decimalComma = false;           // commas inside the numbers stand for the decimal point
    bool nonPositiveFrequency = false;   // Text because the first number is 0 or below
};

// A number is the whole field: an optional sign, digits with an optional point and an
// optional exponent. Anything else, including inf and nan, is not a number.
[[nodiscard]] bool ParseMeasNumber(std::string_view field, double& value);

TMeasLineFields ParseMeasLine(std::string_view line);
