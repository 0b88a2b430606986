#include "TSpkData.h"

#include <cmath>
#include <cstring>

namespace {

constexpr const char* kSpeakerTypeNames[kSpeakerTypeCount] = {
    "Bass", "Bass/Midrange", "Midrange", "Midrange/Treble", "Treble", "Full range",
};

// The parameters in file order, so that a parameter can be reached by its index.
constexpr double TSpkData::* kParamMembers[kSpkParamCount] = {
    &TSpkData::Sd,   &TSpkData::a,    &TSpkData::Vas,  &TSpkData::Cms, &TSpkData::Cas,
    &TSpkData::Qms,  &TSpkData::Qes,  &TSpkData::Qts,  &TSpkData::Pmax, &TSpkData::Xmax,
    &TSpkData::h,    &TSpkData::l,    &TSpkData::Mmd,  &TSpkData::Mms, &TSpkData::Rms,
    &TSpkData::fs,   &TSpkData::Bl,   &TSpkData::Re,   &TSpkData::Le,
};

void CopyText(char* dest, std::size_t size, std::string_view text)
{
    std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos && nul < n)
        n = nul;
    std::memcpy(dest, text.data(), n);
    std::memset(dest + n, 0, size - n);
}

} // namespace

const char* SpeakerTypeName(int type)
{
    return type >= 0 && type < kSpeakerTypeCount ? kSpeakerTypeNames[type] : "";
}

TSpkData::TSpkData()
{
    editorX = 0;
    editorY = 0;
    TSpkData::Clear();
}

void TSpkData::Clear()
{
    for (auto member : kParamMembers)
        this->*member = 0.0;
    Bl2 = 0.0;
    Sd2 = 0.0;
    crossCalc = 0;
    doubleVoiceCoil = 0;
    speakerType = 0;
    std::memset(manufacturer, 0, sizeof manufacturer);
    std::memset(model, 0, sizeof model);
    std::memset(userNote, 0, sizeof userNote);
    std::memset(fileName, 0, sizeof fileName);
}

double& TSpkData::Param(TSpkParam p) { return this->*kParamMembers[static_cast<int>(p)]; }
double TSpkData::Param(TSpkParam p) const { return this->*kParamMembers[static_cast<int>(p)]; }

void TSpkData::SetSd(double sd)
{
    Sd = sd;
    a = std::sqrt(Sd * kOneOverPi);
    if (!std::isfinite(a))
        a = 0.0; // a negative area has no radius
}

void TSpkData::UpdateSquares()
{
    Bl2 = Bl * Bl;
    Sd2 = Sd * Sd;
}

namespace {
struct TRequired {
    const char* name;
    double TSpkData::*value;
};
// What a simulation needs, in the order the unit editor shows them.
constexpr TRequired kRequired[] = {{"fs", &TSpkData::fs},   {"Qts", &TSpkData::Qts}, {"Qes", &TSpkData::Qes},
                                   {"Qms", &TSpkData::Qms}, {"Vas", &TSpkData::Vas}, {"Re", &TSpkData::Re},
                                   {"Sd", &TSpkData::Sd},   {"Cms", &TSpkData::Cms}, {"Cas", &TSpkData::Cas},
                                   {"Mms", &TSpkData::Mms}, {"Mmd", &TSpkData::Mmd}, {"Rms", &TSpkData::Rms},
                                   {"Bl", &TSpkData::Bl}};
} // namespace

bool TSpkData::IsComplete() const
{
    for (const TRequired& r : kRequired) {
        if (!IsDefined(this->*r.value))
            return false;
    }
    return true;
}

std::vector<std::string> TSpkData::MissingParameters() const
{
    std::vector<std::string> missing;
    for (const TRequired& r : kRequired)
        if (!IsDefined(this->*r.value))
            missing.emplace_back(r.name);
    return missing;
}

void TSpkData::SetManufacturer(std::string_view text) { CopyText(manufacturer, sizeof manufacturer, text); }
void TSpkData::SetModel(std::string_view text) { CopyText(model, sizeof model, text); }
void TSpkData::SetUserNote(std::string_view text) { CopyText(userNote, sizeof userNote, text); }

void TSpkData::SetFileNameFromPath(std::string_view path)
{
    std::size_t cut = path.find_last_of("/\\");
    CopyText(fileName, sizeof fileName, cut == std::string_view::npos ? path : path.substr(cut + 1));
}
