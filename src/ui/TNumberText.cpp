#include "TNumberText.h"

#include <charconv>
#include <clocale>
#include <cstdio>

namespace {
// Finds the one conversion of a printf format and rebuilds it with the length
// modifier we pass, so a format from a dialog description can never read a wrong
// argument type. Returns false when the format has no usable conversion.
bool SafeFormat(const std::string& format, const std::string& conversions, const char* length, std::string& out)
{
    out.clear();
    bool found = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += "%%";
            ++i;
            continue;
        }
        if (found)
            return false; // a second conversion would read a missing argument
        std::string conversion = "%";
        std::size_t j = i + 1;
        while (j < format.size() && std::string("-+ #0").find(format[j]) != std::string::npos)
            conversion += format[j++];
        while (j < format.size() && format[j] >= '0' && format[j] <= '9')
            conversion += format[j++];
        if (j < format.size() && format[j] == '.') {
            conversion += format[j++];
            while (j < format.size() && format[j] >= '0' && format[j] <= '9')
                conversion += format[j++];
        }
        while (j < format.size() && std::string("hlLqjzt").find(format[j]) != std::string::npos)
            ++j;
        if (j >= format.size() || conversions.find(format[j]) == std::string::npos)
            return false;
        conversion += length;
        conversion += format[j];
        out += conversion;
        found = true;
        i = j;
    }
    return found;
}

// printf follows LC_NUMERIC; our fields always show a ".".
std::string Dotted(std::string text)
{
    const char* point = std::localeconv()->decimal_point;
    if (point && point[0] && std::string(point) != ".") {
        std::string p(point);
        for (std::size_t at = text.find(p); at != std::string::npos; at = text.find(p, at + 1))
            text.replace(at, p.size(), ".");
    }
    return text;
}
} // namespace

namespace TNumberText {

std::string FormatDouble(const std::string& format, double value)
{
    std::string safe;
    if (!SafeFormat(format, "fFeEgG", "", safe))
        safe = "%g";
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, safe.c_str(), value);
    return Dotted(buffer);
}

std::string FormatLong(const std::string& format, long value)
{
    std::string safe;
    if (!SafeFormat(format, "di", "l", safe))
        safe = "%ld";
    char buffer[100];
    std::snprintf(buffer, sizeof buffer, safe.c_str(), value);
    return buffer;
}

std::size_t ReadDouble(const std::string& text, double& value)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    const char* start = begin;
    // from_chars takes no "+"; a "+" directly before the digits is still a sign.
    if (start != end && *start == '+' && start + 1 != end && start[1] != '-' && start[1] != '+')
        ++start;
    double v = 0.0;
    auto [ptr, ec] = std::from_chars(start, end, v, std::chars_format::general);
    if (ec != std::errc() || ptr == start)
        return 0;
    value = v;
    return static_cast<std::size_t>(ptr - begin);
}

std::size_t ReadLong(const std::string& text, long& value)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    const char* start = begin;
    if (start != end && *start == '+' && start + 1 != end && start[1] != '-' && start[1] != '+')
        ++start;
    long v = 0;
    auto [ptr, ec] = std::from_chars(start, end, v);
    if (ec != std::errc() || ptr == start)
        return 0;
    value = v;
    return static_cast<std::size_t>(ptr - begin);
}

} // namespace TNumberText
