#include "TSpeakerObject.h"

#include "settings/TProgramContext.h"
#include "ui/TNumberText.h"

#include <algorithm>
#include <cmath>

using namespace TSpeakerConnection;

TSpeakerObject::TSpeakerObject(const TProgramContext& context, THost* host) : context_(context), host_(host)
{
    ResetConfiguration();
}

void TSpeakerObject::ResetConfiguration()
{
    outOfDate = true;
    complete = false;
    numberOfDrivers = 1;
    extraMass = 0.0;
    isobaric = false;
    blNonLinear = false;
    coilHeating = false;
    cmsNonLinear = false;
    isobaricConnection = kPairSeparate;
    driverConnection = kSeparateSources;
    dvcConnection = kPairSeparate;
    driverFactors = {};
    dvcFactors = {};
    isobaricFactors = {};
    loadResistor = 0.0;
    importFileName.clear();
    importedResponse.fill(TComplex());
    importValid = false;
    importDisabled = false;
    transitionFrequency = 300;
    autoLevelOffset = true;
    levelOffset = 0.0;
    levelFactor = 1.0;
    phaseLagCutoff = 100000.0;
    dialogX = 0;
    dialogY = 0;
    importRead_ = false;
}

void TSpeakerObject::Clear()
{
    TSpkData::Clear();
    ResetConfiguration();
}

bool TSpeakerObject::Save(const std::string& path) { return TSpkData::Save(context_.Folder().Resolve(path)); }

bool TSpeakerObject::Load(const std::string& path)
{
    complete = false;
    outOfDate = true;
    if (!TSpkData::Load(context_.Folder().Resolve(path)))
        return false;
    // The coil factors belong to the unit: a single-coil unit has none, and a unit with
    // two coils takes the wiring that is set for them.
    dvcFactors = HasDoubleVoiceCoil() ? PairFactors(dvcConnection) : TConnFactors{};
    EvaluateComplete();
    return true;
}

void TSpeakerObject::UnitChanged()
{
    outOfDate = true;
    EvaluateComplete();
    dvcFactors = HasDoubleVoiceCoil() ? PairFactors(dvcConnection) : TConnFactors{};
}

TConnFactors TSpeakerObject::TotalFactors() const
{
    TConnFactors k = driverFactors;
    if (HasDoubleVoiceCoil())
        k = k * dvcFactors;
    if (isobaric)
        k = k * isobaricFactors;
    return k;
}

void TSpeakerObject::SetNumberOfDrivers(int n)
{
    numberOfDrivers = std::clamp(n, kMinDrivers, kMaxDrivers);
    SetDriverConnection(kSeries);
}

void TSpeakerObject::SetDriverConnection(int index)
{
    if (!IsValidDriverConnection(index))
        index = kSeparateSources;
    driverConnection = static_cast<std::int16_t>(index);
    driverFactors = DriverFactors(index, numberOfDrivers);
}

void TSpeakerObject::SetIsobaric(bool on)
{
    isobaric = on;
    if (on) {
        SetIsobaricConnection(isobaricConnection);
    } else {
        isobaricConnection = kPairSeparate;
        isobaricFactors = {};
    }
}

void TSpeakerObject::SetIsobaricConnection(int connection)
{
    if (connection < 0 || connection >= kIsobaricConnectionCount)
        connection = kPairSeparate;
    isobaricConnection = static_cast<std::int16_t>(connection);
    isobaricFactors = PairFactors(connection);
}

void TSpeakerObject::SetDvcConnection(int connection)
{
    if (connection < 0 || connection >= kDvcConnectionCount)
        connection = kPairSeparate;
    dvcConnection = static_cast<std::int16_t>(connection);
    dvcFactors = PairFactors(connection);
}

void TSpeakerObject::SetLevelOffset(double dB)
{
    levelOffset = dB;
    levelFactor = std::pow(10.0, dB * 0.05);
}

double TSpeakerObject::RadiationRadius() const
{
    if (IsDefined(a))
        return a;
    // A unit file may carry Sd without its radius; the radiation needs one.
    double r = std::sqrt(Sd * kOneOverPi);
    return std::isfinite(r) ? r : 0.0;
}

std::vector<std::string> TSpeakerObject::ReportLines(const std::string& title) const
{
    static constexpr const char* kIsobaricLines[kIsobaricConnectionCount] = {
        "  speaker units connected in series",
        "  speaker units connected in parallell",
        "  separate sources for speaker units",
    };
    static constexpr const char* kDvcLines[kDvcConnectionCount - 1] = {
        "  voice coils connected in series",
        "  voice coils connected in parallell",
        "  separate sources for the two voice coils",
    };

    std::vector<std::string> lines;
    lines.push_back(title.empty() ? "Driver" : title);
    lines.push_back(std::string(" Manufacturer\t") + manufacturer);
    lines.push_back(std::string(" Model\t\t") + model);
    lines.push_back(std::string(" Filename\t") + fileName);
    lines.push_back(TNumberText::FormatLong(" # drivers\t%ld", numberOfDrivers));
    lines.push_back(TNumberText::FormatDouble(" Extra mass\t%3.1f g", extraMass * 1000.0));
    if (blNonLinear)
        lines.push_back(" Simulation of BL non linearity ON");
    if (coilHeating)
        lines.push_back(" Simulation of voice coil heating ON");
    if (cmsNonLinear)
        lines.push_back(" Simulation of Cms non linearity ON");
    if (isobaric) {
        lines.push_back(" Isobarik configuration with");
        int c = isobaricConnection >= 0 && isobaricConnection < kIsobaricConnectionCount ? isobaricConnection
                                                                                         : kPairSeparate;
        lines.push_back(kIsobaricLines[c]);
    }
    if (HasDoubleVoiceCoil()) {
        lines.push_back(" Double voice coil with");
        if (dvcConnection == kLoadResistor)
            lines.push_back(TNumberText::FormatDouble("  %2.1f ohm load resistor on one termial", loadResistor));
        else
            lines.push_back(kDvcLines[dvcConnection >= 0 && dvcConnection < kLoadResistor ? dvcConnection
                                                                                          : kPairSeparate]);
    }
    if (numberOfDrivers > 1)
        lines.push_back(std::string(" Electrical connection of drivers : ") + DriverConnection(driverConnection).name);
    if (ImportActive()) {
        lines.push_back(" Imported SPL data : " + importFileName);
        lines.push_back(TNumberText::FormatLong("   Transition freq. \t%d Hz", transitionFrequency));
        lines.push_back(TNumberText::FormatDouble("   Phase lag cutoff. \t%3.0f Hz", phaseLagCutoff));
    }
    return lines;
}
