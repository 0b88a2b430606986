// The passive radiator's file record and its information window lines.
#include "box/elements/TAbrObject.h"

#include "core/TBinaryStream.h"
#include "ui/TNumberText.h"

#include <cmath>

void TAbrObject::WriteRecord(TBinaryWriter& out) const
{
    out.WriteDouble(Sd);
    out.WriteDouble(a);
    out.WriteDouble(Mmp);
    out.WriteDouble(Mms);
    out.WriteDouble(Vap);
    out.WriteInt32(n);
    out.WriteDouble(Xmax);
    out.WriteDouble(Cap);
    out.WriteDouble(Cmp);
    out.WriteDouble(fb);
    out.WriteDouble(fp);
    out.WriteUInt8(nonLinearity ? 1 : 0);
}

bool TAbrObject::ReadRecord(TBinaryReader& in)
{
    double sd = 0.0, radius = 0.0, mmp = 0.0, mms = 0.0, vap = 0.0, xmax = 0.0, cap = 0.0, cmp = 0.0, boxRes = 0.0,
           freeRes = 0.0;
    std::int32_t count = 0;
    std::uint8_t nonLinear = 0;
    bool ok = in.ReadDouble(sd);
    ok = ok && in.ReadDouble(radius);
    ok = ok && in.ReadDouble(mmp);
    ok = ok && in.ReadDouble(mms);
    ok = ok && in.ReadDouble(vap);
    ok = ok && in.ReadInt32(count);
    ok = ok && in.ReadDouble(xmax);
    ok = ok && in.ReadDouble(cap);
    ok = ok && in.ReadDouble(cmp);
    ok = ok && in.ReadDouble(boxRes);
    ok = ok && in.ReadDouble(freeRes);
    ok = ok && in.ReadUInt8(nonLinear);
    if (!ok)
        return false;
    auto positive = [](double v) { return std::isfinite(v) && v > 0.0; };
    // Zero or non-finite areas, masses or compliances would turn the impedances into
    // NaN; a record holding them is refused as a whole.
    const bool plausible = positive(sd) && positive(radius) && std::isfinite(mmp) && positive(mms) &&
                           positive(vap) && count >= kMinCount && count <= kMaxCount && std::isfinite(xmax) &&
                           xmax >= 0.0 && positive(cap) && positive(cmp) && std::isfinite(boxRes) &&
                           positive(freeRes);
    if (!plausible)
        return false;
    // Finite is not enough: the impedances multiply masses and frequencies and divide
    // by the area squared, so values far beyond any radiator overflow them. The bounds
    // lie many decades outside what the dialog's fields and the sizing rules make (a
    // mass of 1e14 kg takes an Fp of 0.1 Hz on the stiffest suspension the fields
    // allow); the mass is bounded as it is stored and as the next calculation
    // recomputes it, so what a calculation leaves is read back.
    auto within = [](double v, double high) { return std::fabs(v) <= high; };
    if (sd < 1e-12 || !within(sd, 1e3) || radius < 1e-7 || !within(radius, 1e2) || vap < 1e-12 || !within(vap, 1e6) ||
        !within(mms, 1e20) || !within(mmp + AirLoadOf(radius), 1e20) || !within(xmax, 1e3))
        return false;
    // What the radiator recomputes from the record must be usable as well: an area
    // whose square underflows, or a mass and a compliance whose product does, give
    // infinite compliances or resonances, which the next save would write and the
    // next open refuse, so the project could not be opened again.
    // The stored mass is used until the next calculation recomputes it from Mmp.
    const double compliance = ComplianceOf(vap, sd);
    const double boxCompliance = BoxComplianceOf(vap, sd, count);
    if (!positive(compliance) || !positive(boxCompliance))
        return false;
    for (double mass : {mms, mmp + AirLoadOf(radius)})
        if (!positive(mass) || !positive(ResonanceOf(mass, compliance)) || !positive(ResonanceOf(boxCompliance, mass)))
            return false;
    Sd = sd;
    a = radius;
    Mmp = mmp;
    Mms = mms;
    Vap = vap;
    n = count;
    Xmax = xmax;
    // The compliances are derived values: taken from the volume and area they follow
    // from, so a stored one that disagrees cannot reach the impedances.
    UpdateCompliance();
    fb = boxRes;
    fp = freeRes;
    nonLinearity = nonLinear != 0;
    dirty = true;
    return true;
}

void TAbrObject::Report(std::vector<std::string>& lines) const
{
    lines.push_back("Abr unit");
    lines.push_back(TNumberText::FormatDouble(" Vap\t\t%3.2f l", Vap * 1000.0));
    lines.push_back(TNumberText::FormatDouble(" Sd\t\t%3.2f sq.cm", Sd * 10000.0));
    lines.push_back(TNumberText::FormatDouble(" Mmp\t\t%3.2f g", Mmp * 1000.0));
    lines.push_back(TNumberText::FormatLong(" # units\t%d", n));
    if (nonLinearity)
        lines.push_back(" Simulation of abr unit non linearity ON");
    lines.push_back(TNumberText::FormatDouble(" Res freq.\t%3.2f Hz (free air)", fp));
    lines.push_back(TNumberText::FormatDouble(" Res freq.\t%3.2f Hz (in box)", fb));
}
