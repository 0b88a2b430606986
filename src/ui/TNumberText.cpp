#include "TNumberText.h"

#include <charconv>
#include <cmath>
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

// The common report and field formats ("%3.2f", " Fc: \t%3.2f Hz", "%.1e") written
// with std::to_chars: the same correctly rounded digits printf gives, always with a ".",
// and several times faster, which matters because every full calculation rewrites its
// report. Flags other than "-", upper-case conversions, "%%", length modifiers and values
// that are not finite are left to printf (false).
bool FormatWithCharconv(std::string_view format, double value, std::string& out)
{
    if (!std::isfinite(value))
        return false;
    const std::size_t at = format.find('%');
    if (at == std::string_view::npos)
        return false;
    std::size_t j = at + 1;
    bool left = false;
    while (j < format.size() && format[j] == '-') {
        left = true;
        ++j;
    }
    if (j < format.size() && format[j] == '0')
        return false; // zero padding
    int width = 0;
    while (j < format.size() && format[j] >= '0' && format[j] <= '9' && width < 100)
        width = width * 10 + (format[j++] - '0');
    int precision = 6;
    if (j < format.size() && format[j] == '.') {
        ++j;
        precision = 0;
        while (j < format.size() && format[j] >= '0' && format[j] <= '9' && precision < 100)
            precision = precision * 10 + (format[j++] - '0');
    }
    if (j >= format.size() || width >= 100 || precision >= 100)
        return false;
    std::chars_format style;
    switch (format[j]) {
    case 'f': style = std::chars_format::fixed; break;
    case 'e': style = std::chars_format::scientific; break;
    case 'g': style = std::chars_format::general; break;
    default: return false;
    }
    const std::string_view rest = format.substr(j + 1);
    if (rest.find('%') != std::string_view::npos)
        return false;
    char digits[512];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value, style, precision);
    if (ec != std::errc())
        return false;
    const std::size_t length = static_cast<std::size_t>(end - digits);
    const std::size_t pad = static_cast<std::size_t>(width) > length ? static_cast<std::size_t>(width) - length : 0;
    out.reserve(at + pad + length + rest.size());
    out.assign(format.substr(0, at));
    if (!left)
        out.append(pad, ' ');
    out.append(digits, length);
    if (left)
        out.append(pad, ' ');
    out.append(rest);
    return true;
}
} // namespace

namespace TNumberText {

std::string FormatDouble(std::string_view format, double value)
{
    std::string out;
    if (FormatWithCharconv(format, value, out))
        return out;
    std::string safe;
    if (!SafeFormat(std::string(format), "fFeEgG", "", safe))
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
