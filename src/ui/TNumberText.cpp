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

// One printf conversion with what is around it: the text before it (no "%" there), the
// "-" flag, the width, the precision (-1: none) and the conversion letter; the text after
// it may hold "%%" and nothing else with a "%". Length modifiers are skipped, as the
// callers pass the argument type themselves. Other flags, a "*" and a second conversion
// are left to printf (false).
struct TConversion {
    std::string_view before, after;
    bool left = false;
    int width = 0;
    int precision = -1;
    char letter = 0;
    bool escapedPercent = false; // "%%" in after
};

bool IsLengthModifier(char c)
{
    switch (c) {
    case 'h':
    case 'l':
    case 'L':
    case 'q':
    case 'j':
    case 'z':
    case 't': return true;
    default: return false;
    }
}

bool ParseConversion(std::string_view format, TConversion& c)
{
    const std::size_t at = format.find('%');
    if (at == std::string_view::npos)
        return false;
    std::size_t j = at + 1;
    while (j < format.size() && format[j] == '-') {
        c.left = true;
        ++j;
    }
    if (j < format.size() && format[j] == '0')
        return false; // zero padding
    while (j < format.size() && format[j] >= '0' && format[j] <= '9' && c.width < 100)
        c.width = c.width * 10 + (format[j++] - '0');
    if (j < format.size() && format[j] == '.') {
        ++j;
        c.precision = 0;
        while (j < format.size() && format[j] >= '0' && format[j] <= '9' && c.precision < 100)
            c.precision = c.precision * 10 + (format[j++] - '0');
    }
    while (j < format.size() && IsLengthModifier(format[j]))
        ++j;
    if (j >= format.size() || c.width >= 100 || c.precision >= 100)
        return false;
    c.letter = format[j];
    c.before = format.substr(0, at);
    c.after = format.substr(j + 1);
    for (std::size_t k = 0; k < c.after.size(); ++k)
        if (c.after[k] == '%') {
            if (k + 1 >= c.after.size() || c.after[k + 1] != '%')
                return false;
            c.escapedPercent = true;
            ++k;
        }
    return true;
}

// before, the digits padded to the width, after with "%%" as "%".
std::string Assemble(const TConversion& c, const char* digits, std::size_t length)
{
    const std::size_t pad = static_cast<std::size_t>(c.width) > length ? static_cast<std::size_t>(c.width) - length : 0;
    std::string out;
    out.reserve(c.before.size() + pad + length + c.after.size());
    out.assign(c.before);
    if (!c.left)
        out.append(pad, ' ');
    out.append(digits, length);
    if (c.left)
        out.append(pad, ' ');
    if (!c.escapedPercent) {
        out.append(c.after);
        return out;
    }
    for (std::size_t from = 0;;) {
        const std::size_t k = c.after.find("%%", from);
        out.append(c.after.substr(from, k == std::string_view::npos ? std::string_view::npos : k + 1 - from));
        if (k == std::string_view::npos)
            break;
        from = k + 2;
    }
    return out;
}

// "%.pf" of value when value · 10^p lies below 2^52: the integer nearest the exact
// product, with its sign and point, which is what printf prints. Rounding the product is
// monotonic and keeps the half-way points (they are representable there), so a product
// that rounds inside (n - 0.5, n + 0.5) came from an exact one inside it; one that rounds
// onto a half-way point is left to the general path.
bool FixedDigits(double value, int precision, char* digits, std::size_t& length)
{
    static constexpr double kPowers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    if (precision < 0 || precision > 9)
        return false;
    const double scale = kPowers[precision];
    const double magnitude = std::fabs(value);
    const double product = magnitude * scale;
    if (!(product < 4.0e15))
        return false;
    const double nearest = std::nearbyint(product);
    if (std::fabs(product - nearest) >= 0.5)
        return false;
    char integer[24];
    const auto [end, ec] = std::to_chars(integer, integer + sizeof integer, static_cast<unsigned long long>(nearest));
    if (ec != std::errc())
        return false;
    const std::size_t count = static_cast<std::size_t>(end - integer);
    const std::size_t p = static_cast<std::size_t>(precision);
    std::size_t n = 0;
    if (std::signbit(value))
        digits[n++] = '-'; // printf keeps the sign of a negative value that rounds to 0
    if (count <= p) {
        // 0.0ddd: the integer is all fraction.
        digits[n++] = '0';
        digits[n++] = '.';
        for (std::size_t k = count; k < p; ++k)
            digits[n++] = '0';
        for (std::size_t k = 0; k < count; ++k)
            digits[n++] = integer[k];
    } else {
        for (std::size_t k = 0; k < count - p; ++k)
            digits[n++] = integer[k];
        if (p > 0) {
            digits[n++] = '.';
            for (std::size_t k = count - p; k < count; ++k)
                digits[n++] = integer[k];
        }
    }
    length = n;
    return true;
}

// The common report and field formats ("%3.2f", " Fc: \t%3.2f Hz", "%.1e") written
// without printf: the same correctly rounded digits, always with a ".", and several
// times faster, which matters because every full calculation rewrites its report.
// Flags other than "-", upper-case conversions and values that are not finite are left
// to printf (false).
bool FormatWithCharconv(std::string_view format, double value, std::string& out)
{
    if (!std::isfinite(value))
        return false;
    TConversion c;
    if (!ParseConversion(format, c))
        return false;
    const int precision = c.precision < 0 ? 6 : c.precision;
    char digits[512];
    std::size_t length = 0;
    if (c.letter == 'f' && FixedDigits(value, precision, digits, length)) {
        out = Assemble(c, digits, length);
        return true;
    }
    std::chars_format style;
    switch (c.letter) {
    case 'f': style = std::chars_format::fixed; break;
    case 'e': style = std::chars_format::scientific; break;
    case 'g': style = std::chars_format::general; break;
    default: return false;
    }
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value, style, precision);
    if (ec != std::errc())
        return false;
    out = Assemble(c, digits, static_cast<std::size_t>(end - digits));
    return true;
}

// "%d" and "%i" with the "-" flag and a width; anything else is left to printf (false).
bool FormatIntegerWithCharconv(std::string_view format, long value, std::string& out)
{
    TConversion c;
    if (!ParseConversion(format, c) || c.precision >= 0 || (c.letter != 'd' && c.letter != 'i'))
        return false;
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    if (ec != std::errc())
        return false;
    out = Assemble(c, digits, static_cast<std::size_t>(end - digits));
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
    std::string out;
    if (FormatIntegerWithCharconv(format, value, out))
        return out;
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
