// The driver configuration block of the box project file, little-endian, unpadded:
//   0 double extra mass (kg) | 8 int32 N | 12 four flag bytes: isobaric, BL, coil heating, Cms
//   16 int16 isobaric connection | 18 int16 voice coil connection | 20 int16 driver connection
//   22 3 doubles driver kZ kU kR | 46 3 doubles isobaric kZ kU kR | 70 byte imported valid
//   71 char[271] imported file | 342 byte disable | 343 int16 transition freq. | 345 byte automatic
//   level offset | 346 double level offset (dB) | 354 double level factor | 362 double phase lag
//   cutoff | 370 double load resistor (version 410 on)
// The voice coil factors are not stored; they follow from the coil connection.
#include "TSpeakerObject.h"

#include "core/TBinaryStream.h"
#include "settings/TProgramContext.h"

#include <cmath>

using namespace TSpeakerConnection;

namespace {

struct TBlock {
    double extraMass = 0.0;
    std::int32_t numberOfDrivers = 0;
    std::uint8_t flags[4] = {};
    std::int16_t isobaricConnection = 0;
    std::int16_t dvcConnection = 0;
    std::int16_t driverConnection = 0;
    TConnFactors driverFactors;
    TConnFactors isobaricFactors;
    std::uint8_t importValid = 0;
    std::string importFileName;
    std::uint8_t importDisabled = 0;
    std::int16_t transitionFrequency = 0;
    std::uint8_t autoLevelOffset = 0;
    double levelOffset = 0.0;
    double levelFactor = 0.0;
    double phaseLagCutoff = 0.0;
    double loadResistor = 0.0;
};

bool ReadFactors(TBinaryReader& in, TConnFactors& f)
{
    return in.ReadDouble(f.kZ) && in.ReadDouble(f.kU) && in.ReadDouble(f.kR);
}

void WriteFactors(TBinaryWriter& out, const TConnFactors& f)
{
    out.WriteDouble(f.kZ);
    out.WriteDouble(f.kU);
    out.WriteDouble(f.kR);
}

bool UsableFactors(const TConnFactors& f)
{
    for (double v : {f.kZ, f.kU, f.kR}) {
        if (!std::isfinite(v) || v <= 0.0)
            return false;
    }
    return true;
}

bool InRange(double v, double lo, double hi) { return std::isfinite(v) && v >= lo && v <= hi; }

// Values the program cannot have written would index past the connection tables or
// turn the simulation into NaN: such a block counts as damaged.
bool Plausible(const TBlock& b, bool hasLoadResistor)
{
    return b.numberOfDrivers >= TSpeakerObject::kMinDrivers && b.numberOfDrivers <= TSpeakerObject::kMaxDrivers
        && b.isobaricConnection >= 0 && b.isobaricConnection < kIsobaricConnectionCount
        && b.dvcConnection >= 0 && b.dvcConnection < kDvcConnectionCount
        && IsValidDriverConnection(b.driverConnection)
        && UsableFactors(b.driverFactors) && UsableFactors(b.isobaricFactors)
        && InRange(b.extraMass, 0.0, TSpeakerObject::kMaxExtraMass)
        && std::isfinite(b.levelOffset) && std::isfinite(b.levelFactor) && b.levelFactor >= 0.0
        && InRange(b.phaseLagCutoff, 0.0, 1e300)
        && (!hasLoadResistor || InRange(b.loadResistor, 0.0, TSpeakerObject::kMaxLoadResistor));
}

} // namespace

void TSpeakerObject::WriteConfigBlock(TBinaryWriter& out) const
{
    out.WriteDouble(extraMass);
    out.WriteInt32(numberOfDrivers);
    out.WriteUInt8(isobaric ? 1 : 0);
    out.WriteUInt8(blNonLinear ? 1 : 0);
    out.WriteUInt8(coilHeating ? 1 : 0);
    out.WriteUInt8(cmsNonLinear ? 1 : 0);
    out.WriteInt16(isobaricConnection);
    out.WriteInt16(dvcConnection);
    out.WriteInt16(driverConnection);
    WriteFactors(out, driverFactors);
    WriteFactors(out, isobaricFactors);
    out.WriteUInt8(importValid ? 1 : 0);
    out.WriteText(importFileName, kImportNameSize);
    out.WriteUInt8(importDisabled ? 1 : 0);
    out.WriteInt16(transitionFrequency);
    out.WriteUInt8(autoLevelOffset ? 1 : 0);
    out.WriteDouble(levelOffset);
    out.WriteDouble(levelFactor);
    out.WriteDouble(phaseLagCutoff);
    out.WriteDouble(loadResistor);
}

bool TSpeakerObject::ReadConfigBlock(TBinaryReader& in, int version)
{
    complete = false;
    outOfDate = true;

    TBlock b;
    bool ok = in.ReadDouble(b.extraMass) && in.ReadInt32(b.numberOfDrivers) && in.ReadBytes(b.flags, 4)
           && in.ReadInt16(b.isobaricConnection) && in.ReadInt16(b.dvcConnection)
           && in.ReadInt16(b.driverConnection) && ReadFactors(in, b.driverFactors)
           && ReadFactors(in, b.isobaricFactors) && in.ReadUInt8(b.importValid)
           && in.ReadText(b.importFileName, kImportNameSize) && in.ReadUInt8(b.importDisabled)
           && in.ReadInt16(b.transitionFrequency) && in.ReadUInt8(b.autoLevelOffset)
           && in.ReadDouble(b.levelOffset) && in.ReadDouble(b.levelFactor) && in.ReadDouble(b.phaseLagCutoff);
    bool hasLoadResistor = version >= kLoadResistorVersion;
    if (ok && hasLoadResistor)
        ok = in.ReadDouble(b.loadResistor);
    if (!ok || !Plausible(b, hasLoadResistor))
        return false;

    extraMass = b.extraMass;
    numberOfDrivers = b.numberOfDrivers;
    isobaric = b.flags[0] != 0;
    blNonLinear = b.flags[1] != 0;
    coilHeating = b.flags[2] != 0;
    cmsNonLinear = b.flags[3] != 0;
    isobaricConnection = b.isobaricConnection;
    dvcConnection = b.dvcConnection;
    driverConnection = b.driverConnection;
    // The stored factors are what the file was simulated with; keep them as they are.
    driverFactors = b.driverFactors;
    isobaricFactors = b.isobaricFactors;
    dvcFactors = PairFactors(dvcConnection);
    importValid = b.importValid != 0;
    importFileName = b.importFileName;
    importDisabled = b.importDisabled != 0;
    transitionFrequency = b.transitionFrequency;
    autoLevelOffset = b.autoLevelOffset != 0;
    levelOffset = b.levelOffset;
    levelFactor = b.levelFactor;
    phaseLagCutoff = b.phaseLagCutoff;
    if (hasLoadResistor)
        loadResistor = b.loadResistor;

    if (importValid)
        ReadImportedData(context_.MeasSetup().grid);
    EvaluateComplete();
    return true;
}
