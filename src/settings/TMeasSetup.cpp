#include "settings/TMeasSetup.h"

#include "ui/TNumberText.h"

#include <cmath>

namespace {

// The report always shows "." as the decimal point, whatever the locale.
std::string Format(const char* format, double value)
{
    return TNumberText::FormatDouble(format, value);
}

std::string FormatLong(const char* format, std::int32_t value)
{
    return TNumberText::FormatLong(format, value);
}

} // namespace

TMeasSetup::TMeasSetup()
{
    SetDefaults();
}

void TMeasSetup::SetDefaults()
{
    startFrequency = 20;
    stopFrequency = 2000;
    pointCount = 50;
    sourceLevel = 2.83;
    sourcePower = 1.0;
    sourceResistance = 0.0;
    sourceInductance = 0.0;
    highPassCutoff = 0;
    highPassQ = 0.7;
    calculateImmediately = true;
    autorange = false;
    splRange = TMeasSetupLimits::kDefaultRange;
    hidePhase = false;
    setupChanged = true;
    fileVersion = kCurrentVersion;
    LayoutGrid();
}

void TMeasSetup::LayoutGrid()
{
    // Every path that sets the three values checks them, so this cannot fail; the
    // grid keeps its last layout if it ever did.
    (void)grid.Layout(startFrequency, stopFrequency, pointCount);
}

void TMeasSetup::SetSourceLevel(double ug)
{
    sourceLevel = ug;
    sourcePower = PowerFromLevel(ug);
}

void TMeasSetup::SetSourcePower(double pg)
{
    sourcePower = pg;
    sourceLevel = LevelFromPower(pg);
}

double TMeasSetup::LevelFromPower(double pg)
{
    return std::sqrt(8.0 * pg);
}

void TMeasSetup::SetAutorange(bool on)
{
    autorange = on;
    splRange = on ? 0 : TMeasSetupLimits::kDefaultRange;
}

std::complex<double> TMeasSetup::SourceVoltage(double omega) const
{
    if (highPassCutoff == 0)
        return {sourceLevel, 0.0};
    const double g = omega / (static_cast<double>(highPassCutoff) * TFreqGrid::kTwoPi);
    const std::complex<double> denominator(1.0 - g * g, g / highPassQ);
    return sourceLevel * (-g * g) / denominator;
}

std::complex<double> TMeasSetup::SourceImpedance(double omega, double kR) const
{
    return {sourceResistance * kR, omega * sourceInductance * kR};
}

std::vector<std::string> TMeasSetup::ReportLines() const
{
    std::vector<std::string> lines;
    lines.reserve(10);
    lines.push_back("Setup");
    lines.push_back(FormatLong(" Start freq.\t%ld Hz", startFrequency));
    lines.push_back(FormatLong(" Stop freq.\t%ld Hz", stopFrequency));
    lines.push_back(FormatLong(" # plot points\t%ld", pointCount));
    lines.push_back(Format(" Ug\t\t%3.2f V", sourceLevel));
    lines.push_back(Format(" Rg\t\t%3.2f Ohm", sourceResistance));
    lines.push_back(Format(" Lg\t\t%3.2f mH", sourceInductance * 1000.0));
    lines.push_back(Format(" Pg\t\t%3.3f W", sourcePower));
    if (highPassCutoff != 0) {
        lines.push_back(FormatLong(" Hp filter.\t%ld Hz", highPassCutoff));
        lines.push_back("         Q.\t" + Format("%2.1f", highPassQ));
    }
    return lines;
}

const char* TMeasSetup::LevelFormat(double value)
{
    if (value >= 10.0)
        return "%2.1f";
    if (value >= 0.1)
        return "%3.2f";
    return "%3.2e";
}

const char* TMeasSetup::ResistanceFormat(double value) { return std::fabs(value) >= 10.0 ? "%2.1f" : "%3.2f"; }
