#include "plot/TPlacementRecord.h"

namespace {
constexpr int kMaxExtent = 16000;

TShowState ShowStateOf(std::uint16_t code)
{
    // Window-system show codes: 0 hide, 2/6/7 minimised forms, 3 maximised, the rest shown.
    switch (code) {
    case 0: return TShowState::Hidden;
    case 2:
    case 6:
    case 7: return TShowState::Minimised;
    case 3: return TShowState::Maximised;
    default: return TShowState::Normal;
    }
}
} // namespace

bool TPlacementRecord::Read(TBinaryReader& in)
{
    std::int16_t v[10] = {};
    for (auto& value : v)
        if (!in.ReadInt16(value))
            return false;
    flags = static_cast<std::uint16_t>(v[0]);
    show = static_cast<std::uint16_t>(v[1]);
    minX = v[2];
    minY = v[3];
    maxX = v[4];
    maxY = v[5];
    left = v[6];
    top = v[7];
    right = v[8];
    bottom = v[9];
    return true;
}

void TPlacementRecord::Write(TBinaryWriter& out) const
{
    out.WriteInt16(static_cast<std::int16_t>(flags));
    out.WriteInt16(static_cast<std::int16_t>(show));
    for (std::int16_t v : {minX, minY, maxX, maxY, left, top, right, bottom})
        out.WriteInt16(v);
}

void TPlacementRecord::Take(const TViewPlacement& placement)
{
    show = static_cast<std::uint16_t>(placement.show);
    auto clamp16 = [](int v) {
        return static_cast<std::int16_t>(v < -32768 ? -32768 : (v > 32767 ? 32767 : v));
    };
    left = clamp16(placement.restored.left);
    top = clamp16(placement.restored.top);
    right = clamp16(placement.restored.right);
    bottom = clamp16(placement.restored.bottom);
}

void TPlacementRecord::ApplyTo(TViewPlacement& placement) const
{
    placement.show = ShowStateOf(show);
    int w = right - left, h = bottom - top;
    if (w > 0 && h > 0 && w <= kMaxExtent && h <= kMaxExtent && left > -kMaxExtent && top > -kMaxExtent)
        placement.restored = TRect{left, top, right, bottom};
}
