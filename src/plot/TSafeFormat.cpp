#include "plot/TSafeFormat.h"

#include <cstdio>
#include <cstring>
#include <type_traits>

namespace {
// Finds the end of a conversion starting at format[start] == '%'; returns 0 when the
// text there is not a complete conversion. kind receives the conversion letter.
std::size_t ConversionEnd(std::string_view format, std::size_t start, char& kind)
{
    std::size_t i = start + 1;
    while (i < format.size() && std::strchr("-+ #0", format[i]))
        ++i;
    for (int digits = 0; i < format.size() && format[i] >= '0' && format[i] <= '9' && digits < 3; ++digits)
        ++i;
    if (i < format.size() && format[i] == '.') {
        ++i;
        for (int digits = 0; i < format.size() && format[i] >= '0' && format[i] <= '9' && digits < 3; ++digits)
            ++i;
    }
    while (i < format.size() && (format[i] == 'l' || format[i] == 'h'))
        ++i;
    if (i >= format.size())
        return 0;
    kind = format[i];
    return i + 1;
}

template <typename T>
std::string Format(std::string_view format, T value)
{
    std::string out;
    bool used = false;
    for (std::size_t i = 0; i < format.size();) {
        char c = format[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        char kind = 0;
        std::size_t end = ConversionEnd(format, i, kind);
        bool real = kind && std::strchr("eEfFgG", kind);
        bool integer = kind && std::strchr("diuxX", kind);
        if (!end || used || (!real && !integer)) {
            out += '%';
            ++i;
            continue;
        }
        // Build a clean conversion without length modifiers and pass the value in the
        // type the letter asks for.
        std::string conversion;
        for (std::size_t k = i; k + 1 < end; ++k)
            if (format[k] != 'l' && format[k] != 'h')
                conversion += format[k];
        char buffer[128];
        if (real) {
            conversion += kind;
            std::snprintf(buffer, sizeof buffer, conversion.c_str(), static_cast<double>(value));
        } else {
            conversion += 'l';
            conversion += kind;
            long v = 0;
            if constexpr (std::is_floating_point_v<T>) {
                // A real value under an integer conversion: truncated, NaN as 0, saturated.
                if (value == value)
                    v = value > 9e18 ? 9000000000000000000L : (value < -9e18 ? -9000000000000000000L : static_cast<long>(value));
            } else {
                v = static_cast<long>(value);
            }
            std::snprintf(buffer, sizeof buffer, conversion.c_str(), v);
        }
        out += buffer;
        used = true;
        i = end;
    }
    return out;
}
} // namespace

std::string SafeFormat(std::string_view format, double value) { return Format(format, value); }
std::string SafeFormat(std::string_view format, long value) { return Format(format, value); }
