#pragma once
// The unit text the editor prints and copies: four header lines and an empty line,
// one line per defined parameter, then the user note. Lines end in "\r\n"; the note
// has no final line end.

#include <string>

class TSpkData;

std::string SpkUnitText(const TSpkData& unit);
