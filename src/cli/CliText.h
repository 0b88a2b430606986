#pragma once
// Text helpers the command-line commands share.

#include <cctype>
#include <string>

// The text without leading and trailing white space.
inline std::string CliTrim(const std::string& text)
{
    std::size_t a = 0, b = text.size();
    while (a < b && std::isspace(static_cast<unsigned char>(text[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(text[b - 1])))
        --b;
    return text.substr(a, b - a);
}
