#include "filter/TComp.h"

#include "ui/TNumberText.h"

#include <cstdio>

TComp::TComp(TCompKind kind, int net, int branch) : kind_(kind)
{
    static constexpr char kLetters[] = {'R', 'C', 'L'};
    name_ = std::string(1, kLetters[static_cast<int>(kind)]) + std::to_string(net) + std::to_string(branch);
    Reset();
}

const char* TComp::Unit() const
{
    switch (kind_) {
    case TCompKind::Resistor: return "ohm";
    case TCompKind::Capacitor: return "uF";
    case TCompKind::Inductor: return "mH";
    }
    return "";
}

double TComp::DisplayFactor() const
{
    switch (kind_) {
    case TCompKind::Resistor: return 1.0;
    case TCompKind::Capacitor: return 1e6;
    case TCompKind::Inductor: return 1000.0;
    }
    return 1.0;
}

const char* TComp::DisplayFormat() const { return kind_ == TCompKind::Resistor ? "%2.2f" : "%2.3f"; }

double TComp::Minimum() const
{
    switch (kind_) {
    case TCompKind::Resistor: return 0.01;
    case TCompKind::Capacitor: return 1e-9;
    case TCompKind::Inductor: return 1e-6;
    }
    return 0.0;
}

double TComp::Maximum() const
{
    switch (kind_) {
    case TCompKind::Resistor: return 1000.0;
    case TCompKind::Capacitor: return 1.0;
    case TCompKind::Inductor: return 100.0;
    }
    return 0.0;
}

void TComp::Reset()
{
    static constexpr double kResetValues[] = {1.0, 1e-6, 1e-3};
    value = kResetValues[static_cast<int>(kind_)];
    seriesResistance = 0.5;
    inUse = false;
}

std::string TComp::SchematicText() const
{
    // Fewer decimals as the value grows, so every label stays about four digits wide.
    const char* format = "%2.2f";
    switch (kind_) {
    case TCompKind::Resistor:
        format = value >= 100 ? "%2.0f" : value >= 10 ? "%2.1f" : "%2.2f";
        return TNumberText::FormatDouble(format, value);
    case TCompKind::Capacitor:
        format = value >= 0.001 ? "%2.0f" : value >= 0.0001 ? "%2.1f" : value >= 0.00001 ? "%2.2f" : "%2.3f";
        return TNumberText::FormatDouble(format, value * 1e6);
    case TCompKind::Inductor:
        format = value >= 1 ? "%2.0f" : value >= 0.1 ? "%2.1f" : value >= 0.01 ? "%2.2f" : "%2.3f";
        return TNumberText::FormatDouble(format, value * 1000.0) + ";" +
               TNumberText::FormatDouble("%2.1f", seriesResistance);
    }
    return {};
}

void TComp::Write(TBinaryWriter& out) const
{
    out.WriteUInt8(inUse ? 1 : 0);
    out.WriteDouble(seriesResistance);
    out.WriteDouble(value);
}
