#include "settings/TGeneralFields.h"

#include "ui/TNumberText.h"

#include <algorithm>
#include <array>

namespace {

using K = TValueKind;

const std::array<TFieldInfo, 13> kInfo = {{
    {"Disable IFFT", "", "", 0, 1, 1.0, K::Switch},
    {"Flip up/down", "", "", 0, 1, 1.0, K::Switch},
    {"Hide on axis plot", "", "", 0, 1, 1.0, K::Switch},
    {"Inhibit", "", "", 0, 1, 1.0, K::Switch},
    {"Measurement distance", "m", "%2.1f", 0.5, 1000.0},
    {"Infinite", "", "", 0, 1, 1.0, K::Switch},
    {"Max", "ms", "%2.1f", 0.5, 100.0},
    {"Min", "ms", "%2.1f", -20.0, 0.0},
    {"Auto", "", "", 0, 1, 1.0, K::Switch},
    {"Max", "ohm", "%d", 1, 1000, 1.0, K::Whole},
    {"Auto", "", "", 0, 1, 1.0, K::Switch},
    {"Range", "dB", "%d", 1, 100, 1.0, K::Whole},
    {"Hide phase", "", "", 0, 1, 1.0, K::Switch},
}};

constexpr std::array<int, 7> kLower = {10, 20, 50, 100, 200, 500, 1000};
constexpr std::array<int, 4> kUpper = {2000, 5000, 10000, 20000};
constexpr std::array<int, 6> kPoints = {128, 256, 512, 1024, 2048, 4096};
constexpr std::array<int, 7> kRates = {8000, 11025, 16000, 22050, 32000, 44100, 48000};

const TGeneralChoice kLowerChoice{"Lower freq.", "Hz", "%4d", kLower};
const TGeneralChoice kUpperChoice{"Upper freq.", "Hz", "%5d", kUpper};
const TGeneralChoice kPointsChoice{"# points", "", "%d", kPoints};
const TGeneralChoice kRateChoice{"Sample rate", "Hz", "%d", kRates};

} // namespace

const TFieldInfo& GeneralFieldInfo(TGeneralField field) { return kInfo[static_cast<std::size_t>(field)]; }

std::vector<std::string> TGeneralChoice::Items() const
{
    std::vector<std::string> items;
    for (int value : values)
        items.push_back(TNumberText::FormatLong(format, value));
    return items;
}

int TGeneralChoice::IndexOf(int value) const
{
    const auto at = std::find(values.begin(), values.end(), value);
    return at == values.end() ? -1 : static_cast<int>(at - values.begin());
}

int TGeneralChoice::ValueAt(int index) const
{
    if (index < 0 || index >= static_cast<int>(values.size()))
        return 0;
    return values[static_cast<std::size_t>(index)];
}

const TGeneralChoice& LowerFrequencyChoice() { return kLowerChoice; }
const TGeneralChoice& UpperFrequencyChoice() { return kUpperChoice; }
const TGeneralChoice& PointsChoice() { return kPointsChoice; }
const TGeneralChoice& SampleRateChoice() { return kRateChoice; }

std::string RayText(int angle) { return TNumberText::FormatLong("%+d", angle); }
