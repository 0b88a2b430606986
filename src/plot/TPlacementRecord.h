#pragma once
// The ten 16-bit placement values with which plot and information windows are stored
// in project files: flags, show state, minimised and maximised positions, restored
// rectangle. Values we do not use ourselves are kept so they are written back as read.

#include "core/TBinaryStream.h"
#include "ui/TWindowModel.h"

#include <cstdint>

struct TPlacementRecord {
    static constexpr std::size_t kBytes = 20;

    std::uint16_t flags = 0;
    std::uint16_t show = 2;
    std::int16_t minX = -1, minY = -1;
    std::int16_t maxX = -1, maxY = -1;
    std::int16_t left = 0, top = 0, right = 600, bottom = 290;

    [[nodiscard]] bool Read(TBinaryReader& in);
    void Write(TBinaryWriter& out) const;

    // Show state and rectangle taken from, or given to, a window's placement. A stored
    // rectangle that is empty, inverted or absurdly large keeps the window's own.
    void Take(const TViewPlacement& placement);
    void ApplyTo(TViewPlacement& placement) const;
};
