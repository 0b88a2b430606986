#pragma once
// The schematic of each box type shown in the information window: a cross-section
// with walls, chambers, drivers, ports and passive radiators, sound leaving where the
// enclosure radiates. Picture ids follow the box project types (201 to 211).

#include "ui/TCanvas.h"

namespace TBoxPicture {

inline constexpr int kWidth = 200;
inline constexpr int kHeight = 150;

enum : int {
    PassiveRadiator = 201,
    Bandpass1 = 202,
    Bandpass2 = 203,
    Bandpass3 = 204,
    Bandpass4 = 205,
    BassReflex = 206,
    DoubleTuned1 = 207,
    DoubleTuned2 = 208,
    Closed = 210,
    ReflexBandpass = 211,
};

// True for the ids that have a picture.
bool Exists(int id);
// Draws picture id with its top left corner at (left, top), in logical units; an id
// without a picture draws nothing.
void Draw(TCanvas& canvas, int id, int left, int top);

} // namespace TBoxPicture
