#pragma once
// The menu bars of the main window, by menu number: 10 without a project, 4 box
// projects, 15 the reflex bandpass box, 5 simple and 21 advanced filters.

#include "ui/TMenuSpec.h"

namespace TMenus {
inline constexpr int NoProject = 10;
inline constexpr int Box = 4;
inline constexpr int ReflexBandpass = 15;
inline constexpr int SimpleFilter = 5;
inline constexpr int AdvancedFilter = 21;

// The bar of a menu number; the no-project bar for an unknown number.
const TMenuBar& Bar(int menu);
// Every menu number there is.
const int* AllMenus(int& count);
} // namespace TMenus
