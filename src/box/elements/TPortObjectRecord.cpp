// The port's file record and its information window lines.
#include "box/elements/TPortObject.h"

#include "core/TBinaryStream.h"
#include "ui/TNumberText.h"

#include <cmath>

namespace {
// π · (1.8 mm)²: the area whose whole radius is the boundary layer.
constexpr double kMinRecordArea = 3.14159265359 * 0.0018 * 0.0018;
} // namespace

void TPortObject::WriteRecord(TBinaryWriter& out) const
{
    out.WriteDouble(L);
    out.WriteDouble(S);
    out.WriteDouble(D);
    out.WriteDouble(V);
    out.WriteInt32(n);
    out.WriteDouble(fp);
    out.WriteUInt8(shared_->on ? 1 : 0);
    out.WriteDouble(c);
}

bool TPortObject::ReadRecord(TBinaryReader& in, int version)
{
    double l = 0.0, s = 0.0, d = 0.0, v = 0.0, f = 0.0, flare = c;
    std::int32_t count = 0;
    std::uint8_t nonLinear = 0;
    bool ok = in.ReadDouble(l);
    ok = ok && in.ReadDouble(s);
    ok = ok && in.ReadDouble(d);
    ok = ok && in.ReadDouble(v);
    ok = ok && in.ReadInt32(count);
    ok = ok && in.ReadDouble(f);
    ok = ok && in.ReadUInt8(nonLinear);
    if (ok && version >= kFlareVersion)
        ok = in.ReadDouble(flare);
    if (!ok)
        return false;
    // Values no dialog can produce would make the mass, the tuning or the air speed
    // infinite or NaN; such a record is refused as a whole.
    // The area must leave an effective radius once the boundary layer is off, or the
    // port would have no air to move (and an infinite mass).
    const bool plausible = std::isfinite(l) && l >= 0.0 && std::isfinite(s) && s > kMinRecordArea && std::isfinite(d) &&
                           d > 0.0 && std::isfinite(v) && v > 0.0 && count >= kMinCount && count <= kMaxCount &&
                           std::isfinite(f) && std::isfinite(flare) && flare >= 0.0 && flare <= 1.0;
    if (!plausible)
        return false;
    // The tuning the port computes from the record must be a number too: a port whose
    // mass and volume multiply to nothing (a near-zero diameter and volume) tunes to
    // infinity, which the next save would write and the next open refuse.
    const double tuning = TuningOf(AcousticMassOf(l, d, EffectiveArea(s, flare), count), v);
    if (!std::isfinite(tuning))
        return false;
    L = l;
    S = s;
    D = d;
    V = v;
    n = count;
    fp = f;
    shared_->on = nonLinear != 0;
    c = flare;
    UpdateEffectiveArea();
    dirty = true;
    return true;
}

void TPortObject::Report(std::vector<std::string>& lines) const
{
    lines.push_back(name_);
    lines.push_back(TNumberText::FormatDouble(" Length\t\t%3.2f cm", L * 100.0));
    lines.push_back(TNumberText::FormatDouble(" Area\t\t%3.2f sq.cm", S * 10000.0));
    lines.push_back(TNumberText::FormatDouble(" Dia\t\t%3.2f cm", D * 100.0));
    if (c != 0.0)
        lines.push_back(TNumberText::FormatDouble(" Flange radius\t%3.2f cm", FlareRadius() * 100.0));
    else
        lines.push_back(" Flange radius\tinf.");
    lines.push_back(TNumberText::FormatDouble(" Max dia\t\t%3.2f cm", MaxDiameter() * 100.0));
    lines.push_back(TNumberText::FormatLong(" # ports\t%d", n));
    if (shared_->on)
        lines.push_back(" Simulation of port non linearity ON");
    lines.push_back(TNumberText::FormatDouble(" Res freq.\t%3.2f Hz", fp));
}
