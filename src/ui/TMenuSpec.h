#pragma once
// A menu bar described without a window system: the front end makes one action per
// command id and switches between the bars by their menu number.

#include <string>
#include <vector>

struct TMenuItem {
    int id = 0;             // command id; 0 for a submenu or a separator
    std::string text;       // with "&" mnemonics; empty for a separator
    std::vector<TMenuItem> items; // submenu entries
    bool enabled = true;          // a disabled command shows grey and does nothing
    bool separator() const { return id == 0 && text.empty(); }
};

using TMenuBar = std::vector<TMenuItem>;

inline TMenuItem MenuCommand(int id, std::string text) { return TMenuItem{id, std::move(text), {}, true}; }
inline TMenuItem MenuSeparator() { return TMenuItem{}; }
inline TMenuItem SubMenu(std::string text, std::vector<TMenuItem> items)
{
    return TMenuItem{0, std::move(text), std::move(items), true};
}
