#include "TSpkFields.h"

#include <cctype>
#include <cstdio>

namespace {

using P = TSpkParam;

constexpr TSpkField kFields[] = {
    {P::Re, "Re", "ohm", "%2.1f", 100000, 1},
    {P::Le, "Le", "mH", "%3.2f", 100000, 0.001},
    {P::fs, "fs", "Hz", "%2.1f", 100000, 1},
    {P::Qms, "Qms", "", "%3.2f", 100, 1},
    {P::Qes, "Qes", "", "%3.2f", 100, 1},
    {P::Qts, "Qts", "", "%3.2f", 100, 1},
    {P::Rms, "Rms", "Ns/m", "%3.2f", 10000, 1},
    {P::Mmd, "Mmd", "g", "%3.2f", 10000, 0.001},
    {P::Mms, "Mms", "g", "%3.2f", 10000, 0.001},
    {P::Cms, "Cms", "m/N", "%3.1e", 10, 1},
    {P::Cas, "Cas", "m^5/N", "%3.1e", 10, 1},
    {P::Vas, "Vas", "l", "%3.2f", 100000, 0.001},
    {P::Sd, "Sd", "cm^2", "%2.1f", 100000, 0.0001},
    {P::Bl, "Bl", "N/A", "%3.2f", 100000, 1},
    {P::Pmax, "Pmax", "W", "%2.0f", 100000, 1},
    {P::Xmax, "Xmax", "mm p-p", "%2.1f", 1000, 0.001},
    {P::h, "Airgap height", "mm", "%2.1f", 1000, 0.001},
    {P::l, "Voicecoil height", "mm", "%2.1f", 1000, 0.001},
};

constexpr const char* kTypeChoices[kSpeakerTypeCount] = {
    "Bass", "Bass/Midrange", "Midrange", "Mid./Treble", "Treble", "Full range",
};

bool SameIgnoringCase(std::string_view x, std::string_view y)
{
    if (x.size() != y.size())
        return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(x[i])) != std::tolower(static_cast<unsigned char>(y[i])))
            return false;
    }
    return true;
}

} // namespace

std::span<const TSpkField> SpkFields() { return kFields; }

const TSpkField* FindSpkField(std::string_view label)
{
    for (const TSpkField& f : kFields) {
        if (SameIgnoringCase(f.label, label))
            return &f;
    }
    return nullptr;
}

const TSpkField& SpkField(TSpkParam param)
{
    for (const TSpkField& f : kFields) {
        if (f.param == param)
            return f;
    }
    return kFields[0];
}

std::string FormatSpkField(const TSpkField& field, double stored)
{
    if (!TSpkData::IsDefined(stored))
        return kUndefinedText;
    char text[64];
    std::snprintf(text, sizeof text, field.format, stored / field.factor);
    return text;
}

std::string SpkFieldRangeError(const TSpkField& field, double shown)
{
    char text[128];
    if (!(shown >= 0.0) || !(shown <= field.maximum)) {
        std::snprintf(text, sizeof text, "%s must lie between 0 and %g%s%s", field.label, field.maximum,
                      *field.unit ? " " : "", field.unit);
        return text;
    }
    return "";
}

const char* SpeakerTypeChoice(int type)
{
    return type >= 0 && type < kSpeakerTypeCount ? kTypeChoices[type] : "";
}
