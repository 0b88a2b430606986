#include "TMatrixBase.h"

#include <cstdint>
#include <vector>

namespace TMatrixText {

namespace {

bool IsSeparator(unsigned char c)
{
    // Blank, tab, line break, and every other control character (taken as a blank).
    return c <= ' ' || c == 0x7F;
}

bool IsBlankLike(unsigned char c)
{
    return c != '\n' && IsSeparator(c);
}

} // namespace

Counts Count(std::string_view text)
{
    Counts counts;
    bool inToken = false;
    bool inParentheses = false;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\n')
            ++counts.lineBreaks;
        if (inParentheses) {
            if (c == ')')
                inParentheses = false;
            continue;
        }
        if (IsSeparator(c)) {
            inToken = false;
            continue;
        }
        if (!inToken) {
            ++counts.tokens;
            inToken = true;
        }
        if (c == '(')
            inParentheses = true;
    }
    return counts;
}

std::string Clean(std::string_view text)
{
    std::string clean(text);
    for (char& ch : clean)
        if (IsBlankLike(static_cast<unsigned char>(ch)))
            ch = ' ';
    return clean;
}

bool Load(const std::string& fileName, std::string& text)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(fileName, bytes))
        return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}

} // namespace TMatrixText
