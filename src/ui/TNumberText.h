#pragma once
// Prints one number with a printf format and always a "." as decimal point, whatever
// the process locale says (Qt sets the user's locale at start).
#include <cstddef>
#include <string>
#include <string_view>

namespace TNumberText {
std::string FormatDouble(std::string_view format, double value);
std::string FormatLong(const std::string& format, long value);
// Reads a number from the start of text; returns how many characters it used (0: none).
std::size_t ReadDouble(const std::string& text, double& value);
std::size_t ReadLong(const std::string& text, long& value);
} // namespace TNumberText
