#include "TStepRespSettings.h"

#include "core/TBinaryStream.h"

bool TStepRespSettings::Read(TBinaryReader& in)
{
    TStepRespSettings s = *this;
    std::uint8_t z = 0, e = 0, show = 0;
    bool ok = in.ReadBytes(s.windowRecord.data(), s.windowRecord.size()) && in.ReadUInt8(z) && in.ReadUInt8(e) &&
              in.ReadUInt8(show) && in.ReadInt16(s.kind) && in.ReadDouble(s.burstFrequency) &&
              in.ReadInt16(s.periods) && in.ReadInt16(s.curvesShown) && in.ReadDouble(s.timeStep);
    if (!ok)
        return false;
    s.zoom = z != 0;
    s.enabled = e != 0;
    s.showInput = show != 0;
    *this = s;
    return true;
}

void TStepRespSettings::Write(TBinaryWriter& out) const
{
    out.WriteBytes(windowRecord.data(), windowRecord.size());
    out.WriteUInt8(zoom ? 1 : 0);
    out.WriteUInt8(enabled ? 1 : 0);
    out.WriteUInt8(showInput ? 1 : 0);
    out.WriteInt16(kind);
    out.WriteDouble(burstFrequency);
    out.WriteInt16(periods);
    out.WriteInt16(curvesShown);
    out.WriteDouble(timeStep);
}
