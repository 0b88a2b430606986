#pragma once
// printf-style formatting of one value that cannot go wrong: the format is scanned,
// its one conversion is checked against the value's type and handed to snprintf on
// its own; everything else, stray '%' signs included, is copied literally. Report
// writers use formats like " Fill\t\t%d %", whose trailing '%' printf would misread.

#include <cstddef>
#include <string>
#include <string_view>

std::string SafeFormat(std::string_view format, double value);
std::string SafeFormat(std::string_view format, long value);
