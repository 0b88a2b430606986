#pragma once
// The values of the general settings dialog, described once for the dialog, the
// command line and the tests: the entry fields and switches (TFieldInfo) and the
// choice lists with the numbers their entries stand for.

#include "ui/TFieldInfo.h"

#include <span>
#include <string>
#include <vector>

enum class TGeneralField {
    DisableIfft,
    FlipUpDown,
    HideOnAxis,
    Inhibit,
    Distance,
    Infinite,
    GroupDelayMaximum,
    GroupDelayMinimum,
    GroupDelayAuto,
    ImpedanceMaximum,
    ImpedanceAuto,
    SplRange,
    HidePhase,
};

const TFieldInfo& GeneralFieldInfo(TGeneralField field);

// A list of numbers offered as texts ("  10" for 10): the entry of a value and the
// value of an entry.
struct TGeneralChoice {
    const char* label;
    const char* unit;
    const char* format;
    std::span<const int> values;

    std::vector<std::string> Items() const;
    // -1 when the value is not offered (a value read from an older file).
    int IndexOf(int value) const;
    // 0 for an index out of the list.
    int ValueAt(int index) const;
};

// "Lower freq.", "Upper freq.", "# points" (N / 2) and "Sample rate".
const TGeneralChoice& LowerFrequencyChoice();
const TGeneralChoice& UpperFrequencyChoice();
const TGeneralChoice& PointsChoice();
const TGeneralChoice& SampleRateChoice();

// An angle as the ray lists show it: "+20", "+0", "-5".
std::string RayText(int angle);
