#include "TMainConfig.h"

#include "core/TBinaryStream.h"

TMainConfig TMainConfig::Read(const std::string& path)
{
    TMainConfig config;
    TBinaryReader reader;
    if (!reader.Open(path))
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
