#include "filter/TCompA.h"

#include <cmath>
#include <cstdio>

namespace {
constexpr double kStep = 1.05;
constexpr double kInverseStep = 0.9523809523809523;

std::string Format(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

char Letter(TCompKind kind)
{
    switch (kind) {
    case TCompKind::Resistor: return 'R';
    case TCompKind::Capacitor: return 'C';
    case TCompKind::Inductor: return 'L';
    }
    return 'R';
}
} // namespace

TCompA::TCompA(TCompKind kind, int net, int branchIndex, int number) : kind_(kind)
{
    const int branch = branchIndex + 1;
    char text[32];
    std::snprintf(text, sizeof text, branch <= 9 ? "%c%d0%d%d" : "%c%d%d%d", Letter(kind), net, branch, number);
    name_ = text;
    value_ = ResetValue();
}

const char* TCompA::Unit() const
{
    switch (kind_) {
    case TCompKind::Resistor: return passive_ || value_ < 1000.0 ? "ohm" : "kohm";
    case TCompKind::Capacitor:
        if (passive_)
            return "uF";
        return value_ < 5e-10 ? "pF" : value_ < 5e-7 ? "nF" : value_ < 0.005 ? "uF" : "F";
    case TCompKind::Inductor:
        if (passive_)
            return "mH";
        return value_ < 0.0005 ? "uH" : value_ < 0.5 ? "mH" : "H";
    }
    return "";
}

double TCompA::DisplayFactor() const
{
    switch (kind_) {
    case TCompKind::Resistor: return passive_ || value_ < 1000.0 ? 1.0 : 0.001;
    case TCompKind::Capacitor:
        if (passive_)
            return 1e6;
        return value_ < 5e-10 ? 1e12 : value_ < 5e-7 ? 1e9 : value_ < 0.005 ? 1e6 : 1.0;
    case TCompKind::Inductor:
        if (passive_)
            return 1000.0;
        return value_ < 0.0005 ? 1e6 : value_ < 0.5 ? 1000.0 : 1.0;
    }
    return 1.0;
}

const char* TCompA::DisplayFormat() const
{
    if (passive_)
        return kind_ == TCompKind::Resistor ? "%2.2f" : "%2.3f";
    // Active values span decades: the digits shrink as the shown number grows.
    const double shown = value_ * DisplayFactor();
    return shown < 5.0 ? "%2.2f" : shown < 50.0 ? "%2.1f" : "%2.0f";
}

std::string TCompA::DisplayText() const { return Format(DisplayFormat(), value_ * DisplayFactor()); }

std::string TCompA::ListLine() const { return name_ + "\t" + DisplayText() + "\t" + Unit(); }

std::string TCompA::SchematicText() const
{
    if (!passive_)
        return DisplayText() + Unit();
    switch (kind_) {
    case TCompKind::Resistor: return Format(value_ >= 100.0 ? "%2.0f" : value_ >= 10.0 ? "%2.1f" : "%2.2f", value_);
    case TCompKind::Capacitor:
        return Format(value_ >= 0.001     ? "%2.0f"
                      : value_ >= 0.0001  ? "%2.1f"
                      : value_ >= 0.00001 ? "%2.2f"
                                          : "%2.3f",
                      value_ * 1e6);
    case TCompKind::Inductor:
        return Format(value_ >= 1.0    ? "%2.0f"
                      : value_ >= 0.1  ? "%2.1f"
                      : value_ >= 0.01 ? "%2.2f"
                                       : "%2.3f",
                      value_ * 1000.0);
    }
    return {};
}

double TCompA::Minimum() const
{
    switch (kind_) {
    case TCompKind::Resistor: return 0.01;
    case TCompKind::Capacitor: return passive_ ? 1e-9 : 1e-12;
    case TCompKind::Inductor: return 1e-6;
    }
    return 0.0;
}

double TCompA::Maximum() const
{
    switch (kind_) {
    case TCompKind::Resistor: return passive_ ? 1000.0 : 1e12;
    case TCompKind::Capacitor: return passive_ ? 1.0 : 10.0;
    case TCompKind::Inductor: return passive_ ? 100.0 : 1000.0;
    }
    return 0.0;
}

double TCompA::ResetValue() const
{
    switch (kind_) {
    case TCompKind::Resistor: return passive_ ? 1.0 : 10000.0;
    case TCompKind::Capacitor: return passive_ ? 1e-6 : 1e-8;
    case TCompKind::Inductor: return 1e-3;
    }
    return 0.0;
}

bool TCompA::SetValue(double value)
{
    if (!(value >= Minimum() && value <= Maximum()))
        return false;
    value_ = value;
    dirty_ = true;
    return true;
}

bool TCompA::StepUp()
{
    const double next = value_ * kStep;
    if (next > Maximum())
        return false;
    value_ = next;
    dirty_ = true;
    return true;
}

bool TCompA::StepDown()
{
    const double next = value_ * kInverseStep;
    if (next < Minimum())
        return false;
    value_ = next;
    dirty_ = true;
    return true;
}

void TCompA::Restore(double value)
{
    value_ = value;
    dirty_ = true;
}

void TCompA::Reset()
{
    value_ = ResetValue();
    dirty_ = true;
}
