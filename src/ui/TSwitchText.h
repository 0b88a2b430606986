#pragma once
// A check box typed as text, as the command line and the list fields take it: "on",
// "1", "yes", "true" or "off", "0", "no", "false", in any case, blanks around allowed.

#include <cctype>
#include <string>
#include <string_view>

// False, and on unchanged, for any other text.
inline bool ParseSwitchText(std::string_view text, bool& on)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    std::string t;
    for (char c : text)
        t += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (t == "on" || t == "1" || t == "yes" || t == "true") {
        on = true;
        return true;
    }
    if (t == "off" || t == "0" || t == "no" || t == "false") {
        on = false;
        return true;
    }
    return false;
}
