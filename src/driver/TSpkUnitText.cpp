#include "TSpkUnitText.h"

#include "TSpkData.h"

#include <cstdio>
#include <cstring>

namespace {

struct TTextLine {
    TSpkParam param;
    const char* format;
    double scale; // shown = stored * scale
};

constexpr TTextLine kLines[] = {
    {TSpkParam::Sd, "Sd:\t\t%3.2f cm^2", 10000},  {TSpkParam::Vas, "Vas:\t\t%3.2f l", 1000},
    {TSpkParam::Cms, "Cms:\t\t%3.2e m/N", 1},     {TSpkParam::Cas, "Cas:\t\t%3.2e m^5/N", 1},
    {TSpkParam::Mmd, "Mmd:\t\t%2.2f g", 1000},    {TSpkParam::Mms, "Mms:\t\t%2.2f g", 1000},
    {TSpkParam::Rms, "Rms:\t\t%2.2f Ns/m", 1},    {TSpkParam::fs, "Fs:\t\t%2.1f Hz", 1},
    {TSpkParam::Bl, "Bl:\t\t%2.2f N/A", 1},       {TSpkParam::Re, "Re:\t\t%2.2f ohm", 1},
    {TSpkParam::Le, "Le:\t\t%2.2f mH", 1000},     {TSpkParam::Qms, "Qms:\t\t%3.2f", 1},
    {TSpkParam::Qes, "Qes:\t\t%3.2f", 1},         {TSpkParam::Qts, "Qts:\t\t%3.2f", 1},
    {TSpkParam::Pmax, "Pmax:\t\t%2.1f W", 1},     {TSpkParam::Xmax, "Xmax:\t\t%2.2f mm", 1000},
    {TSpkParam::h, "h:\t\t%2.2f mm", 1000},       {TSpkParam::l, "l:\t\t%2.2f mm", 1000},
};

// Texts are bounded by their fields; the bound is kept even for a record whose
// field lost its terminator.
std::string Field(const char* text, std::size_t size) { return std::string(text, strnlen(text, size)); }

} // namespace

std::string SpkUnitText(const TSpkData& u)
{
    std::string out;
    out += "Manufacturer:\t" + Field(u.manufacturer, sizeof u.manufacturer) + "\r\n";
    out += "Model:\t\t" + Field(u.model, sizeof u.model) + "\r\n";
    out += "Filename:\t" + Field(u.fileName, sizeof u.fileName) + "\r\n";
    out += std::string("Speaker type:\t") + SpeakerTypeName(u.speakerType) + "\r\n";
    out += "\r\n";
    char line[128];
    for (const TTextLine& l : kLines) {
        double v = u.Param(l.param);
        if (!TSpkData::IsDefined(v))
            continue;
        std::snprintf(line, sizeof line, l.format, v * l.scale);
        out += line;
        out += "\r\n";
    }
    std::string note = Field(u.userNote, sizeof u.userNote);
    if (!note.empty())
        out += "\r\nUser notes:\r\n" + note;
    return out;
}
