#pragma once
// The date line of printed pages in its fixed 24-character form, for example
// "Fri Nov 19 10:15:38 1999". English names always, whatever the locale.

#include <ctime>
#include <string>

std::string FormatPrintDate(std::time_t when);
// The same for the current local time.
std::string CurrentPrintDate();
