#include "filter/TDriverSet.h"

#include <cmath>

namespace {
// No position, radius or scaling the program writes comes near this; larger ones would
// overflow the solution's squared magnitudes.
constexpr double kLargest = 1e6;
constexpr std::size_t kMaxName = TDriverSet::kFileNameField - 1;

bool Bounded(double v) { return std::isfinite(v) && std::fabs(v) <= kLargest; }

void WriteRow(TBinaryWriter& out, const std::array<double, TDriverSet::kDrivers>& row)
{
    for (double v : row)
        out.WriteDouble(v);
}

bool ReadRow(TBinaryReader& in, std::array<double, TDriverSet::kDrivers>& row, double lowest, bool above)
{
    for (double& v : row)
        if (!in.ReadDouble(v) || !Bounded(v) || v < lowest || (above && v <= lowest))
            return false;
    return true;
}

bool ReadFlags(TBinaryReader& in, std::array<bool, TDriverSet::kDrivers>& flags)
{
    for (bool& f : flags) {
        std::uint8_t b = 0;
        if (!in.ReadUInt8(b))
            return false;
        f = b != 0;
    }
    return true;
}

bool ReadNames(TBinaryReader& in, std::array<std::string, TDriverSet::kDrivers>& names)
{
    for (std::string& name : names) {
        if (!in.ReadText(name, TDriverSet::kFileNameField))
            return false;
        if (name.size() > kMaxName)
            name.resize(kMaxName);
    }
    return true;
}
} // namespace

void TDriverSet::Reset()
{
    stored = false;
    re = 8.0;
    rex = 0.0;
    le = 0.001;
    x.fill(0.0);
    y.fill(0.0);
    z.fill(0.0);
    radius.fill(0.05);
    splScaling.fill(1.0);
    impedanceScaling.fill(1.0);
    for (int d = 0; d < kDrivers; ++d) {
        const auto i = static_cast<std::size_t>(d);
        splSameAs[i] = impedanceSameAs[i] = d > 0;
        splName[i].clear();
        impedanceName[i].clear();
    }
    count = 1;
    size = 1;
    connection = 0;
    invert = false;
}

void TDriverSet::Write(TBinaryWriter& out) const
{
    out.WriteUInt8(stored ? 1 : 0);
    out.WriteDouble(re);
    out.WriteDouble(rex);
    out.WriteDouble(le);
    for (const auto* row : {&x, &y, &z, &radius, &splScaling, &impedanceScaling})
        WriteRow(out, *row);
    for (bool f : splSameAs)
        out.WriteUInt8(f ? 1 : 0);
    for (bool f : impedanceSameAs)
        out.WriteUInt8(f ? 1 : 0);
    for (const std::string& name : splName)
        out.WriteText(name, kFileNameField);
    for (const std::string& name : impedanceName)
        out.WriteText(name, kFileNameField);
    out.WriteInt16(static_cast<std::int16_t>(count));
    out.WriteInt32(size);
    out.WriteInt32(connection);
}

bool TDriverSet::Read(TBinaryReader& in)
{
    TDriverSet r = *this;
    std::uint8_t storedByte = 0;
    std::int16_t countValue = 0;
    std::int32_t sizeValue = 0, connectionValue = 0;
    if (!(in.ReadUInt8(storedByte) && in.ReadDouble(r.re) && in.ReadDouble(r.rex) && in.ReadDouble(r.le)))
        return false;
    if (!(ReadRow(in, r.x, -kLargest, false) && ReadRow(in, r.y, -kLargest, false) &&
          ReadRow(in, r.z, -kLargest, false) && ReadRow(in, r.radius, 0.0, false) &&
          ReadRow(in, r.splScaling, 0.0, true) && ReadRow(in, r.impedanceScaling, 0.0, true)))
        return false;
    if (!(ReadFlags(in, r.splSameAs) && ReadFlags(in, r.impedanceSameAs) && ReadNames(in, r.splName) &&
          ReadNames(in, r.impedanceName)))
        return false;
    if (!(in.ReadInt16(countValue) && in.ReadInt32(sizeValue) && in.ReadInt32(connectionValue)))
        return false;
    // Values the program never writes are refused rather than solved into NaN.
    if (!(Bounded(r.re) && r.re > 0.0 && Bounded(r.rex) && r.rex >= 0.0 && Bounded(r.le) && r.le >= 0.0))
        return false;
    if (countValue < 1 || countValue > kDrivers || sizeValue < 0 || sizeValue > 2 || connectionValue < 0 ||
        connectionValue > 2)
        return false;
    r.stored = storedByte != 0;
    r.count = countValue;
    r.size = sizeValue;
    // Pairs need four drivers.
    r.connection = connectionValue == 2 && countValue < 4 ? 0 : connectionValue;
    *this = r;
    return true;
}
