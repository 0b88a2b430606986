// The setup block: "msetup.prf" and the copy inside box project files.
#include "settings/TMeasSetup.h"

#include "core/TBinaryStream.h"
#include "core/TProgramFolder.h"

#include <cmath>

namespace {

namespace L = TMeasSetupLimits;

struct TBlock {
    std::uint8_t calculateImmediately = 0;
    std::uint8_t autorange = 0;
    std::int32_t splRange = 0;
    double sourceLevel = 0.0;
    double sourceResistance = 0.0;
    double sourceInductance = 0.0;
    double sourcePower = 0.0;
    std::int32_t pointCount = 0;
    std::int32_t startFrequency = 0;
    std::int32_t stopFrequency = 0;
    std::uint8_t hidePhase = 0;
    std::int32_t highPassCutoff = 0;
    double highPassQ = 0.0;
};

// Within [lo, hi], allowing for the last bit of a value computed from its partner
// (Pg from Ug at the ends of the Ug range).
bool InRange(double v, double lo, double hi)
{
    const double slack = 1e-9;
    return std::isfinite(v) && v >= lo * (1.0 - slack) && v <= hi * (1.0 + slack);
}

// Only values the dialog's fixed ranges allow are taken; anything else is a damaged
// file, and taking it could, for instance, lay out more grid points than the arrays
// hold or divide by a Q of 0. The 10 Hz span between start and stop is not asked
// for: it is a rule of the dialog, and a grid only needs stop above start.
bool Plausible(const TBlock& b, bool withHighPass)
{
    if (b.pointCount < L::kMinPoints || b.pointCount > L::kMaxPoints)
        return false;
    if (b.startFrequency < L::kMinStart || b.stopFrequency > L::kMaxStop || b.startFrequency >= b.stopFrequency)
        return false;
    if (b.splRange < 0 || b.splRange > L::kMaxRange)
        return false;
    if (!InRange(b.sourceLevel, L::kMinLevel, L::kMaxLevel) || !InRange(b.sourcePower, L::kMinPower, L::kMaxPower))
        return false;
    if (!std::isfinite(b.sourceResistance) || b.sourceResistance < L::kMinResistance ||
        b.sourceResistance > L::kMaxResistance)
        return false;
    if (!std::isfinite(b.sourceInductance) || std::fabs(b.sourceInductance) > L::kMaxInductance)
        return false;
    if (withHighPass) {
        if (b.highPassCutoff < L::kMinCutoff || b.highPassCutoff > L::kMaxCutoff)
            return false;
        if (!InRange(b.highPassQ, L::kMinQ, L::kMaxQ))
            return false;
    }
    return true;
}

} // namespace

bool TMeasSetup::ReadBlock(TBinaryReader& in, int version)
{
    TBlock b;
    bool ok = in.ReadUInt8(b.calculateImmediately);
    ok = ok && in.ReadUInt8(b.autorange);
    ok = ok && in.ReadInt32(b.splRange);
    ok = ok && in.ReadDouble(b.sourceLevel);
    ok = ok && in.ReadDouble(b.sourceResistance);
    ok = ok && in.ReadDouble(b.sourceInductance);
    ok = ok && in.ReadDouble(b.sourcePower);
    ok = ok && in.ReadInt32(b.pointCount);
    ok = ok && in.ReadInt32(b.startFrequency);
    ok = ok && in.ReadInt32(b.stopFrequency);
    ok = ok && in.ReadUInt8(b.hidePhase);
    const bool withHighPass = version >= kHighPassVersion;
    if (withHighPass) {
        ok = ok && in.ReadInt32(b.highPassCutoff);
        ok = ok && in.ReadDouble(b.highPassQ);
    }
    if (!ok || !Plausible(b, withHighPass))
        return false;

    calculateImmediately = b.calculateImmediately != 0;
    autorange = b.autorange != 0;
    splRange = b.splRange;
    sourceLevel = b.sourceLevel;
    sourceResistance = b.sourceResistance;
    sourceInductance = b.sourceInductance;
    sourcePower = b.sourcePower;
    pointCount = b.pointCount;
    startFrequency = b.startFrequency;
    stopFrequency = b.stopFrequency;
    hidePhase = b.hidePhase != 0;
    if (withHighPass) {
        highPassCutoff = b.highPassCutoff;
        highPassQ = b.highPassQ;
    }
    setupChanged = true;
    LayoutGrid();
    return true;
}

void TMeasSetup::WriteBlock(TBinaryWriter& out) const
{
    out.WriteUInt8(calculateImmediately ? 1 : 0);
    out.WriteUInt8(autorange ? 1 : 0);
    out.WriteInt32(splRange);
    out.WriteDouble(sourceLevel);
    out.WriteDouble(sourceResistance);
    out.WriteDouble(sourceInductance);
    out.WriteDouble(sourcePower);
    out.WriteInt32(pointCount);
    out.WriteInt32(startFrequency);
    out.WriteInt32(stopFrequency);
    out.WriteUInt8(hidePhase ? 1 : 0);
    out.WriteInt32(highPassCutoff);
    out.WriteDouble(highPassQ);
}

bool TMeasSetup::LoadFile(const std::string& path)
{
    TBinaryReader in;
    if (!in.Open(path, kBlockSize))
        return false;
    return ReadBlock(in, kCurrentVersion);
}

bool TMeasSetup::SaveFile(const std::string& path) const
{
    TBinaryWriter out;
    WriteBlock(out);
    return out.SaveTo(path);
}

std::string TMeasSetup::PreferencesPath(const TProgramFolder& folder) { return folder.Resolve(kPreferencesFile); }

bool TMeasSetup::LoadPreferences(const TProgramFolder& folder, bool forceDefaults)
{
    fileVersion = kCurrentVersion;
    setupChanged = true;
    if (!forceDefaults && LoadFile(PreferencesPath(folder)))
        return true;
    SetDefaults();
    return false;
}

bool TMeasSetup::SavePreferences(const TProgramFolder& folder) const { return SaveFile(PreferencesPath(folder)); }
