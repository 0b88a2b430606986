#include "measdata/TMeasLineParser.h"

#include <charconv>
#include <cmath>
#include <cstddef>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsControl(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u < 0x20 && !IsBlank(c)) || u == 0x7f;
}

// Blank-separated numbers written with a decimal comma: "1000 85,3 -45,2". Every comma
// sits between two digits and no blank-separated field holds more than one, so
// "1.742, -33.9" and "1000,85.3,-45.2" stay comma-separated.
bool UsesDecimalComma(std::string_view line)
{
    int fields = 0;
    bool inField = false;
    int commasInField = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (IsBlank(c)) {
            inField = false;
            continue;
        }
        if (!inField) {
            inField = true;
            ++fields;
            commasInField = 0;
        }
        if (c == ',') {
            if (i == 0 || i + 1 >= line.size() || !IsDigit(line[i - 1]) || !IsDigit(line[i + 1]))
                return false;
            if (++commasInField > 1)
                return false;
        }
    }
    return fields >= 2;
}

} // namespace

bool ParseMeasNumber(std::string_view field, double& value)
{
    value = 0.0;
    if (!field.empty() && field.front() == '+')
        field.remove_prefix(1);
    if (field.empty() || field.front() == '+')
        return false;
    // from_chars also takes "inf", "nan" and hexadecimal-looking text in some forms;
    // only plain decimal numbers are measurement values.
    for (char c : field) {
        if (!IsDigit(c) && c != '.' && c != '-' && c != 'e' && c != 'E' && c != '+')
            return false;
    }
    double v = 0.0;
    const char* end = field.data() + field.size();
    auto [ptr, ec] = std::from_chars(field.data(), end, v);
    if (ec != std::errc() || ptr != end || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

TMeasLineFields ParseMeasLine(std::string_view line)
{
    TMeasLineFields out;
    std::size_t first = 0;
    while (first < line.size() && IsBlank(line[first]))
        ++first;
    for (char c : line) {
        if (IsControl(c)) {
            out.kind = TMeasLineKind::Binary;
            return out;
        }
    }
    if (first == line.size())
        return out; // Blank
    const char lead = line[first];
    if (lead == '*' || lead == '"' || lead == '#' || lead == '!' || lead == ';' || IsLetter(lead)) {
        out.kind = TMeasLineKind::Comment;
        return out;
    }

    line.remove_prefix(first);
    const bool hasSemicolon = line.find(';') != std::string_view::npos;
    const bool hasComma = line.find(',') != std::string_view::npos;
    if (hasSemicolon) {
        out.semicolonSeparated = true;
        out.decimalComma = hasComma;
    } else if (hasComma) {
        out.decimalComma = UsesDecimalComma(line);
        out.commaSeparated = !out.decimalComma;
    }
    const bool commaSplits = out.commaSeparated;
    auto isSeparator = [&](char c) { return IsBlank(c) || c == ';' || (commaSplits && c == ','); };

    std::size_t i = 0;
    while (out.fieldCount < 3) {
        // Blanks around a comma or semicolon belong to that one separator; two
        // separators in a row leave an empty field, which is not a number.
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        if (i >= line.size())
            break;
        std::size_t start = i;
        while (i < line.size() && !isSeparator(line[i]))
            ++i;
        std::string_view field = line.substr(start, i - start);
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        if (i < line.size() && (line[i] == ';' || (commaSplits && line[i] == ',')))
            ++i;

        const int k = out.fieldCount++;
        if (out.decimalComma && field.find(',') != std::string_view::npos) {
            char buffer[64];
            if (field.size() < sizeof buffer) {
                for (std::size_t n = 0; n < field.size(); ++n)
                    buffer[n] = field[n] == ',' ? '.' : field[n];
                out.numeric[k] = ParseMeasNumber(std::string_view(buffer, field.size()), out.value[k]);
            }
        } else {
            out.numeric[k] = ParseMeasNumber(field, out.value[k]);
        }
    }

    if (out.numeric[0] && out.value[0] > 0.0) {
        out.kind = TMeasLineKind::Data;
    } else {
        out.kind = TMeasLineKind::Text;
        out.nonPositiveFrequency = out.numeric[0];
        out.value[0] = 0.0;
    }
    return out;
}
