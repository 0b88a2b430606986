#include "TMainConfig.h"

#include "core/TBinaryStream.h"

#include <algorithm>
#include <cstdint>

namespace {
constexpr std::int64_t kMinWidth = 200;
constexpr std::int64_t kMinHeight = 150;

// One axis: the extent clamped to the screen, then the start that keeps it on the
// screen. 64-bit, so no stored value can overflow.
void PlaceAxis(std::int64_t start, std::int64_t extent, std::int64_t screenStart, std::int64_t screenExtent,
               std::int64_t minExtent, int& outStart, int& outEnd)
{
    extent = std::clamp(extent, std::min(minExtent, screenExtent), screenExtent);
    start = std::clamp(start, screenStart, screenStart + screenExtent - extent);
    outStart = static_cast<int>(start);
    outEnd = static_cast<int>(start + extent);
}
} // namespace

std::optional<TWindowRect> PlaceOnScreen(const TWindowRect& stored, const TWindowRect& screen)
{
    const std::int64_t w = std::int64_t{stored.right} - stored.left;
    const std::int64_t h = std::int64_t{stored.bottom} - stored.top;
    const std::int64_t sw = std::int64_t{screen.right} - screen.left;
    const std::int64_t sh = std::int64_t{screen.bottom} - screen.top;
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return std::nullopt;
    TWindowRect placed;
    PlaceAxis(stored.left, w, screen.left, sw, kMinWidth, placed.left, placed.right);
    PlaceAxis(stored.top, h, screen.top, sh, kMinHeight, placed.top, placed.bottom);
    return placed;
}

TMainConfig TMainConfig::Read(const std::string& path)
{
    TMainConfig config;
    TBinaryReader reader;
    if (!reader.Open(path, kFileBytes))
        return config;
    std::int32_t v[4];
    if (reader.ReadInt32(v[0]) && reader.ReadInt32(v[1]) && reader.ReadInt32(v[2]) && reader.ReadInt32(v[3]))
        config.rect = TWindowRect{v[0], v[1], v[2], v[3]};
    std::uint8_t flag = 1;
    if (config.rect && reader.ReadUInt8(flag))
        config.showUnitHint = flag != 0;
    return config;
}

bool TMainConfig::Write(const std::string& path) const
{
    TBinaryWriter writer;
    TWindowRect r = rect.value_or(TWindowRect{});
    writer.WriteInt32(r.left);
    writer.WriteInt32(r.top);
    writer.WriteInt32(r.right);
    writer.WriteInt32(r.bottom);
    writer.WriteUInt8(showUnitHint ? 1 : 0);
    return writer.SaveTo(path);
}
