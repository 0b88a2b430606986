// The network's record in the filter project file. The whole record is read into a
// staging copy and checked before anything of the network changes, so a cut or damaged
// record leaves the network as it was.
#include "filter/TNet.h"

#include <cmath>

namespace {
// No value the program writes comes near this in SI units; larger ones would overflow
// the squared magnitudes of the solution.
constexpr double kLargest = 1e6;

struct TCompRecord {
    std::uint8_t inUse = 0;
    double seriesResistance = 0.5;
    double value = 0.0;
};

struct TBranchRecord {
    std::int16_t type = 0;
    TCompRecord r, c, l;
};

struct TDriverRecord {
    double x = 0, y = 0, z = 0, radius = 0.05, splScaling = 1, impedanceScaling = 1;
    std::string splName, impedanceName;
};

struct TNetRecord {
    double re = 8, rex = 0, le = 0.001;
    std::int16_t driverCount = 1;
    std::uint8_t series = 0, disconnect = 0, invert = 0;
    TDriverRecord drivers[2];
    double attenuation = 0, highPassCutoff = 5000, lowPassCutoff = 500;
    std::int16_t highPassOrder = 0, lowPassOrder = 0;
    TBranchRecord branches[TNet::kBranches];
};

bool Bounded(double v) { return std::isfinite(v) && std::fabs(v) <= kLargest; }
bool Positive(double v) { return Bounded(v) && v > 0.0; }
bool NotNegative(double v) { return Bounded(v) && v >= 0.0; }

bool ReadName(TBinaryReader& in, std::string& name)
{
    if (!in.ReadText(name, TNet::kFileNameField))
        return false;
    if (name.size() > TMeasData::kMaxFileName)
        name.resize(TMeasData::kMaxFileName);
    return true;
}

bool ReadComp(TBinaryReader& in, int version, TCompRecord& c)
{
    if (!in.ReadUInt8(c.inUse))
        return false;
    if (version >= TComp::kFirstVersionWithCoilResistance && !in.ReadDouble(c.seriesResistance))
        return false;
    return in.ReadDouble(c.value) && NotNegative(c.seriesResistance) && NotNegative(c.value);
}

bool ReadBranch(TBinaryReader& in, int version, TBranchRecord& b)
{
    return in.ReadInt16(b.type) && b.type >= 0 && b.type < kBranchTypes && ReadComp(in, version, b.r) &&
           ReadComp(in, version, b.c) && ReadComp(in, version, b.l);
}

bool ReadRecordOf(TBinaryReader& in, int version, TNetRecord& r)
{
    const bool twoDrivers = version >= TNet::kFirstVersionWithTwoDrivers;
    TDriverRecord& d1 = r.drivers[0];
    TDriverRecord& d2 = r.drivers[1];
    if (!(in.ReadDouble(r.re) && in.ReadDouble(r.rex) && in.ReadDouble(r.le) && in.ReadDouble(d1.z)))
        return false;
    if (twoDrivers &&
        !(in.ReadInt16(r.driverCount) && in.ReadUInt8(r.series) && in.ReadUInt8(r.disconnect) && in.ReadDouble(d1.x) &&
          in.ReadDouble(d1.y) && in.ReadDouble(d2.x) && in.ReadDouble(d2.y) && in.ReadDouble(d2.z) &&
          in.ReadDouble(d1.radius) && in.ReadDouble(d2.radius) && in.ReadDouble(d1.splScaling) &&
          in.ReadDouble(d2.splScaling) && in.ReadDouble(d1.impedanceScaling) && in.ReadDouble(d2.impedanceScaling)))
        return false;
    if (!(in.ReadDouble(r.attenuation) && in.ReadDouble(r.highPassCutoff) && in.ReadDouble(r.lowPassCutoff) &&
          in.ReadInt16(r.highPassOrder) && in.ReadInt16(r.lowPassOrder) && in.ReadUInt8(r.invert)))
        return false;
    if (!(ReadName(in, d1.splName) && ReadName(in, d1.impedanceName)))
        return false;
    if (twoDrivers && !(ReadName(in, d2.splName) && ReadName(in, d2.impedanceName)))
        return false;
    for (TBranchRecord& b : r.branches)
        if (!ReadBranch(in, version, b))
            return false;
    // Values the program never writes: refused rather than solved into NaN.
    if (!(Positive(r.re) && NotNegative(r.rex) && NotNegative(r.le) && Bounded(r.attenuation) &&
          Positive(r.highPassCutoff) && Positive(r.lowPassCutoff)))
        return false;
    if (r.driverCount < 1 || r.driverCount > 2 || r.highPassOrder < 0 || r.highPassOrder > TNet::kMaxOrder ||
        r.lowPassOrder < 0 || r.lowPassOrder > TNet::kMaxOrder)
        return false;
    for (const TDriverRecord& d : r.drivers)
        if (!(Bounded(d.x) && Bounded(d.y) && Bounded(d.z) && NotNegative(d.radius) && Positive(d.splScaling) &&
              Positive(d.impedanceScaling)))
            return false;
    return true;
}

void Apply(const TCompRecord& r, TComp& c)
{
    c.value = r.value;
    c.seriesResistance = r.seriesResistance;
    c.inUse = r.inUse != 0;
}
} // namespace

std::size_t TNet::RecordSize(int version)
{
    const bool two = version >= kFirstVersionWithTwoDrivers;
    const std::size_t common = 4 * 8 + 3 * 8 + 2 + 2 + 1 + 2 * kFileNameField;
    const std::size_t twoDriverPart = 2 + 1 + 1 + 11 * 8 + 2 * kFileNameField;
    return common + (two ? twoDriverPart : 0) + kBranches * TBranch::RecordSize(version);
}

bool TNet::ReadRecord(TBinaryReader& in, int version)
{
    TNetRecord r;
    const bool twoDrivers = version >= kFirstVersionWithTwoDrivers;
    if (!twoDrivers) {
        // Older files describe one driver; the rest keeps what the network holds.
        r.driverCount = static_cast<std::int16_t>(driverCount);
        r.series = seriesConnection;
        r.disconnect = disconnect;
        for (int i = 0; i < 2; ++i) {
            const TNetDriver& d = Driver(i);
            r.drivers[i] = {d.x, d.y, d.z, d.pistonRadius, d.splScaling, d.impedanceScaling, {}, {}};
        }
    }
    // Coil resistances arrived with version 310; older files keep the ones held.
    for (int b = 0; b < kBranches; ++b) {
        r.branches[b].r.seriesResistance = Branch(b).R().seriesResistance;
        r.branches[b].c.seriesResistance = Branch(b).C().seriesResistance;
        r.branches[b].l.seriesResistance = Branch(b).L().seriesResistance;
    }
    MarkDirty();
    if (!ReadRecordOf(in, version, r))
        return false;

    re = r.re;
    rex = r.rex;
    le = r.le;
    driverCount = r.driverCount;
    seriesConnection = r.series != 0;
    disconnect = r.disconnect != 0;
    invertPolarity = r.invert != 0;
    attenuation = r.attenuation;
    highPassCutoff = r.highPassCutoff;
    lowPassCutoff = r.lowPassCutoff;
    highPassOrder = r.highPassOrder;
    lowPassOrder = r.lowPassOrder;
    for (int i = 0; i < 2; ++i) {
        TNetDriver& d = Driver(i);
        const TDriverRecord& dr = r.drivers[i];
        d.x = dr.x;
        d.y = dr.y;
        d.z = dr.z;
        d.pistonRadius = dr.radius;
        d.splScaling = dr.splScaling;
        d.impedanceScaling = dr.impedanceScaling;
    }
    for (int b = 0; b < kBranches; ++b) {
        const TBranchRecord& br = r.branches[b];
        TBranch& branch = Branch(b);
        branch.SetType(static_cast<TBranchType>(br.type));
        Apply(br.r, branch.R());
        Apply(br.c, branch.C());
        Apply(br.l, branch.L());
    }
    // The measured files last: a name that cannot be read shows its message and leaves
    // that curve unloaded.
    for (int i = 0; i < 2; ++i) {
        for (TMeasData* data : {&Driver(i).spl, &Driver(i).impedance}) {
            const std::string& name = data == &Driver(i).spl ? r.drivers[i].splName : r.drivers[i].impedanceName;
            if (name.empty()) {
                data->ClearMeasData();
            } else {
                data->SetFileName(name);
                data->ReadMeasFile();
            }
        }
    }
    MarkDirty();
    return true;
}

void TNet::WriteRecord(TBinaryWriter& out) const
{
    const TNetDriver& d1 = Driver(0);
    const TNetDriver& d2 = Driver(1);
    out.WriteDouble(re);
    out.WriteDouble(rex);
    out.WriteDouble(le);
    out.WriteDouble(d1.z);
    out.WriteInt16(static_cast<std::int16_t>(driverCount));
    out.WriteUInt8(seriesConnection ? 1 : 0);
    out.WriteUInt8(disconnect ? 1 : 0);
    for (double v : {d1.x, d1.y, d2.x, d2.y, d2.z, d1.pistonRadius, d2.pistonRadius, d1.splScaling, d2.splScaling,
                     d1.impedanceScaling, d2.impedanceScaling, attenuation, highPassCutoff, lowPassCutoff})
        out.WriteDouble(v);
    out.WriteInt16(static_cast<std::int16_t>(highPassOrder));
    out.WriteInt16(static_cast<std::int16_t>(lowPassOrder));
    out.WriteUInt8(invertPolarity ? 1 : 0);
    out.WriteText(d1.spl.FileName(), kFileNameField);
    out.WriteText(d1.impedance.FileName(), kFileNameField);
    out.WriteText(d2.spl.FileName(), kFileNameField);
    out.WriteText(d2.impedance.FileName(), kFileNameField);
    for (const auto& b : branches_)
        b->Write(out);
}
