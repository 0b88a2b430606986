// The advanced network's record in the filter project file. The whole record is read
// into a staging copy and checked before anything of the network changes, so a cut or
// damaged record leaves the network as it was.
#include "filter/TNetA.h"

#include <cmath>

namespace {
constexpr int kFirstVersionWithSlots = 410;
// No position, radius, scaling or resistance the program writes comes near this.
constexpr double kLargest = 1e6;
constexpr std::size_t kNameField = TDriverSet::kFileNameField;
constexpr std::size_t kMaxName = kNameField - 1;
constexpr int kDrivers = TNetA::kDrivers;
// Record order of the branches.
constexpr int kRecordPositions[] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13};

bool Bounded(double v) { return std::isfinite(v) && std::fabs(v) <= kLargest; }

struct TDriverFields {
    double x = 0, y = 0, z = 0, radius = 0.05, splScaling = 1, impedanceScaling = 1;
    bool splSameAs = false, impedanceSameAs = false;
    std::string splName, impedanceName;
};

struct TStage {
    double re = 8, rex = 0, le = 0.001;
    TDriverFields drivers[kDrivers];
    std::int16_t count = 1;
    std::int32_t size = 1, connection = 0;
    bool disconnect = false, invert = false, active = false, noComponents = false;
    double gain = 1.0;
    bool hasSlots = false;
    TNetASet netSets[TNetA::kSlots];
    TNetAOptimiserFields optimiser;
    TBranchARecord branches[std::size(kRecordPositions)];
    TDriverSet driverSets[TDriverGroup::kSlots];
};

bool ReadBool(TBinaryReader& in, bool& value)
{
    std::uint8_t b = 0;
    if (!in.ReadUInt8(b))
        return false;
    value = b != 0;
    return true;
}

bool ReadRow(TBinaryReader& in, TStage& s, double TDriverFields::*field)
{
    for (TDriverFields& d : s.drivers)
        if (!in.ReadDouble(d.*field) || !Bounded(d.*field))
            return false;
    return true;
}

bool ReadFlags(TBinaryReader& in, TStage& s, bool TDriverFields::*field)
{
    for (TDriverFields& d : s.drivers)
        if (!ReadBool(in, d.*field))
            return false;
    return true;
}

bool ReadName(TBinaryReader& in, std::string& name)
{
    if (!in.ReadText(name, kNameField))
        return false;
    if (name.size() > kMaxName)
        name.resize(kMaxName);
    return true;
}

bool ReadFour(TBinaryReader& in, std::int16_t& a, std::int16_t& b, std::int16_t& c, std::int16_t& d)
{
    return in.ReadInt16(a) && in.ReadInt16(b) && in.ReadInt16(c) && in.ReadInt16(d);
}

bool GainOk(double g) { return Bounded(g) && g > 0.0; }

bool ReadStage(TBinaryReader& in, int version, bool createdActive, TStage& s)
{
    const bool current = version >= kFirstVersionWithSlots;
    TNetAOptimiserFields& o = s.optimiser;
    double reserved = 0.0;
    if (!(in.ReadDouble(s.re) && in.ReadDouble(s.rex) && in.ReadDouble(s.le)))
        return false;
    if (!(ReadRow(in, s, &TDriverFields::x) && ReadRow(in, s, &TDriverFields::y) && ReadRow(in, s, &TDriverFields::z) &&
          ReadRow(in, s, &TDriverFields::radius) && in.ReadDouble(reserved) &&
          ReadRow(in, s, &TDriverFields::splScaling) && ReadRow(in, s, &TDriverFields::impedanceScaling)))
        return false;
    if (!(in.ReadInt16(s.count) && ReadBool(in, s.disconnect) && ReadBool(in, s.invert) &&
          ReadFour(in, o.highPassCutoff, o.lowPassCutoff, o.highPassOrder, o.lowPassOrder) && in.ReadInt32(s.size) &&
          in.ReadInt32(s.connection) && ReadFlags(in, s, &TDriverFields::splSameAs) &&
          ReadFlags(in, s, &TDriverFields::impedanceSameAs)))
        return false;
    s.active = createdActive;
    if (current) {
        if (!(ReadBool(in, s.active) && ReadFour(in, o.lowPassType, o.highPassType, o.step, o.ray) &&
              in.ReadUInt8(o.liveUpdate) && in.ReadUInt8(o.viewUnfiltered) && ReadBool(in, s.disconnect) &&
              ReadBool(in, s.noComponents) &&
              ReadFour(in, o.includeLower, o.includeUpper, o.excludeLower, o.excludeUpper) &&
              in.ReadDouble(o.targetLevel) && in.ReadUInt8(o.lock)))
            return false;
    }
    // Older files hold the gain only for networks created active.
    if ((current || s.active) && !in.ReadDouble(s.gain))
        return false;
    s.hasSlots = current;
    if (current) {
        for (TNetASet& set : s.netSets)
            if (!(in.ReadDouble(set.gain) && ReadBool(in, set.active) && ReadBool(in, set.disconnect) &&
                  ReadBool(in, set.noComponents) && GainOk(set.gain)))
                return false;
    }
    for (TDriverFields& d : s.drivers)
        if (!(ReadName(in, d.splName) && ReadName(in, d.impedanceName)))
            return false;
    for (std::size_t b = 0; b < std::size(kRecordPositions); ++b) {
        const bool passive = !s.active || kRecordPositions[b] >= TNetA::kFirstShunt;
        if (!TBranchA::Read(in, version, passive, s.branches[b]))
            return false;
    }
    if (current)
        for (TDriverSet& set : s.driverSets)
            if (!set.Read(in))
                return false;
    // Values the program never writes: refused rather than solved into NaN.
    if (!(s.re > 0.0 && Bounded(s.re) && s.rex >= 0.0 && Bounded(s.rex) && s.le >= 0.0 && Bounded(s.le) &&
          GainOk(s.gain) && std::isfinite(o.targetLevel)))
        return false;
    if (s.count < 1 || s.count > kDrivers || s.size < 0 || s.size > 2 || s.connection < 0 || s.connection > 2)
        return false;
    for (const TDriverFields& d : s.drivers)
        if (!(d.radius >= 0.0 && d.splScaling > 0.0 && d.impedanceScaling > 0.0))
            return false;
    return true;
}

void WriteFour(TBinaryWriter& out, std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d)
{
    out.WriteInt16(a);
    out.WriteInt16(b);
    out.WriteInt16(c);
    out.WriteInt16(d);
}
} // namespace

bool TNetA::ReadRecord(TBinaryReader& in, int version)
{
    auto stage = std::make_unique<TStage>();
    TStage& s = *stage;
    // Slots a record does not hold keep what they have.
    for (int k = 0; k < TDriverGroup::kSlots; ++k)
        s.driverSets[k] = drivers_.Slot(k);
    if (!ReadStage(in, version, active_, s))
        return false;

    drivers_.re = s.re;
    drivers_.rex = s.rex;
    drivers_.le = s.le;
    drivers_.SetConnection(TConnection::Series);
    drivers_.SetCount(s.count);
    if (!drivers_.SetConnection(static_cast<TConnection>(s.connection)))
        drivers_.SetConnection(TConnection::Series);
    drivers_.size = static_cast<TDriverSize>(s.size);
    drivers_.invert = s.invert;
    for (int d = 0; d < kDrivers; ++d) {
        const TDriverFields& r = s.drivers[d];
        TDriverA& driver = drivers_.Driver(d);
        driver.x = r.x;
        driver.y = r.y;
        driver.z = r.z;
        driver.radius = r.radius;
        driver.splScaling = r.splScaling;
        driver.impedanceScaling = r.impedanceScaling;
        driver.splSameAs = r.splSameAs;
        driver.impedanceSameAs = r.impedanceSameAs;
        const std::string* names[2] = {&r.splName, &r.impedanceName};
        TMeasData* data[2] = {&driver.spl, &driver.impedance};
        bool* sameAs[2] = {&driver.splSameAs, &driver.impedanceSameAs};
        for (int k = 0; k < 2; ++k) {
            data[k]->ClearMeasData();
            if (names[k]->empty())
                continue;
            data[k]->SetFileName(*names[k]);
            data[k]->ReadMeasFile();
            if (!data[k]->Loaded())
                *sameAs[k] = true;
        }
    }
    active_ = s.active;
    disconnect = s.disconnect;
    noComponents = s.noComponents;
    gain_ = s.gain;
    const TNetAOptimiserFields before = optimiser;
    optimiser = s.optimiser;
    // Not in the record: an open dialog's state and the unsaved slope stay.
    optimiser.state = before.state;
    optimiser.slope = before.slope;
    if (!s.hasSlots) {
        // Older files keep these nowhere: what the network had stays.
        optimiser.lowPassType = before.lowPassType;
        optimiser.highPassType = before.highPassType;
        optimiser.step = before.step;
        optimiser.ray = before.ray;
        optimiser.liveUpdate = before.liveUpdate;
        optimiser.viewUnfiltered = before.viewUnfiltered;
        optimiser.includeLower = before.includeLower;
        optimiser.includeUpper = before.includeUpper;
        optimiser.excludeLower = before.excludeLower;
        optimiser.excludeUpper = before.excludeUpper;
        optimiser.targetLevel = before.targetLevel;
        optimiser.lock = before.lock;
    }
    if (s.hasSlots)
        for (int k = 0; k < kSlots; ++k)
            netSets_[static_cast<std::size_t>(k)] = s.netSets[k];
    for (std::size_t b = 0; b < std::size(kRecordPositions); ++b)
        Branch(kRecordPositions[b])->Apply(s.branches[b], !active_);
    if (s.hasSlots)
        for (int k = 0; k < TDriverGroup::kSlots; ++k)
            drivers_.Slot(k) = s.driverSets[k];
    MarkDirty();
    return true;
}

void TNetA::WriteRecord(TBinaryWriter& out) const { WriteRecordAs(out, kCurrentVersion); }

void TNetA::WriteRecordAs(TBinaryWriter& out, int version) const
{
    const bool current = version >= kFirstVersionWithSlots;
    const TNetAOptimiserFields& o = optimiser;
    out.WriteDouble(drivers_.re);
    out.WriteDouble(drivers_.rex);
    out.WriteDouble(drivers_.le);
    for (double TDriverA::*field : {&TDriverA::x, &TDriverA::y, &TDriverA::z, &TDriverA::radius})
        for (int d = 0; d < kDrivers; ++d)
            out.WriteDouble(drivers_.Driver(d).*field);
    out.WriteDouble(0.0);
    for (double TDriverA::*field : {&TDriverA::splScaling, &TDriverA::impedanceScaling})
        for (int d = 0; d < kDrivers; ++d)
            out.WriteDouble(drivers_.Driver(d).*field);
    out.WriteInt16(static_cast<std::int16_t>(drivers_.Count()));
    out.WriteUInt8(disconnect ? 1 : 0);
    out.WriteUInt8(drivers_.invert ? 1 : 0);
    WriteFour(out, o.highPassCutoff, o.lowPassCutoff, o.highPassOrder, o.lowPassOrder);
    out.WriteInt32(static_cast<std::int32_t>(drivers_.size));
    out.WriteInt32(static_cast<std::int32_t>(drivers_.Connection()));
    for (bool TDriverA::*field : {&TDriverA::splSameAs, &TDriverA::impedanceSameAs})
        for (int d = 0; d < kDrivers; ++d)
            out.WriteUInt8(drivers_.Driver(d).*field ? 1 : 0);
    if (current) {
        out.WriteUInt8(active_ ? 1 : 0);
        WriteFour(out, o.lowPassType, o.highPassType, o.step, o.ray);
        out.WriteUInt8(o.liveUpdate);
        out.WriteUInt8(o.viewUnfiltered);
        out.WriteUInt8(disconnect ? 1 : 0);
        out.WriteUInt8(noComponents ? 1 : 0);
        WriteFour(out, o.includeLower, o.includeUpper, o.excludeLower, o.excludeUpper);
        out.WriteDouble(o.targetLevel);
        out.WriteUInt8(o.lock);
    }
    if (current || active_)
        out.WriteDouble(gain_);
    if (current)
        for (const TNetASet& set : netSets_) {
            out.WriteDouble(set.gain);
            out.WriteUInt8(set.active ? 1 : 0);
            out.WriteUInt8(set.disconnect ? 1 : 0);
            out.WriteUInt8(set.noComponents ? 1 : 0);
        }
    for (int d = 0; d < kDrivers; ++d) {
        out.WriteText(drivers_.FileName(d, TMeasKind::Spl), kNameField);
        out.WriteText(drivers_.FileName(d, TMeasKind::Impedance), kNameField);
    }
    for (int position : kRecordPositions)
        Branch(position)->WriteAs(out, version);
    if (current)
        for (int k = 0; k < TDriverGroup::kSlots; ++k)
            drivers_.Slot(k).Write(out);
}
