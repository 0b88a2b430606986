#include "box/optimize/TBoxFit.h"

#include "box/TBoxEmbryo.h"
#include "box/elements/TAbrObject.h"
#include "box/elements/TAbrObjectFields.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TBoxObjectFields.h"
#include "box/elements/TPortObject.h"
#include "box/elements/TPortObjectFields.h"
#include "box/optimize/TFitRandom.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
// 1 / 32767: rand() + 1 scaled to (0, 1].
constexpr double kRandomScale = 3.051850947599719e-5;
constexpr double kQUp = 1.1, kQDown = 0.9090909090909091;
} // namespace

TFitSettings TFitSettings::Of(const TBoxEmbryo& project)
{
    TFitSettings s;
    // Files of types without an upper cutoff, and older ones, hold 0 there: a corner
    // outside the fields' ranges would put the target at infinity.
    s.lowerCutoff = std::clamp<int>(project.optimiserIterations, kMinLowerCutoff, kMaxLowerCutoff);
    s.upperCutoff = std::clamp<int>(project.optimiserSpare, kMinUpperCutoff, kMaxUpperCutoff);
    s.optimiseQ = project.optimiserOptions[0] != 0;
    s.optimiseFrontQ = project.optimiserOptions[1] != 0;
    s.showIntermediate = project.optimiserOptions[2] != 0;
    s.fineStep = project.optimiserOptions[3] != 0;
    return s;
}

TBoxFit::TBoxFit(TBoxEmbryo& project, TFitPlan plan, TFitElements elements, THost& host)
    : project_(project), plan_(std::move(plan)), elements_(elements), host_(host), random_(TFitRandom(1))
{}

double TBoxFit::TargetLevel(TFitShape shape, double f, double lower, double upper)
{
    double low = 0, high = 0;
    switch (shape) {
    case TFitShape::SecondOrder: low = 40; break;
    case TFitShape::FourthOrder: low = 80; break;
    case TFitShape::BandpassLow: low = 60, high = 60; break;
    case TFitShape::BandpassHigh: low = 90, high = 70; break;
    }
    if (f <= lower)
        return low * std::log10(f / lower);
    if (IsBandpass(shape) && f >= upper)
        return -high * std::log10(f / upper);
    return 0.0;
}

double TBoxFit::StepFactor(double best, double divisor) { return std::min(best / divisor + 1.0, kMaxStep); }

void TBoxFit::ComputeTarget(const TFitSettings& settings)
{
    settings_ = settings;
    const TFreqGrid& grid = project_.Grid();
    for (int i = 0; i < grid.Count(); ++i)
        target_[static_cast<std::size_t>(i)] = TargetLevel(plan_.shape, grid.Frequency(i), settings.lowerCutoff,
                                                           settings.upperCutoff);
}

std::span<const double> TBoxFit::Target() const
{
    return std::span<const double>(target_.data(), static_cast<std::size_t>(project_.PointCount()));
}

double TBoxFit::Anchor()
{
    const int n = project_.PointCount();
    if (n < 2)
        return anchor_ = 0.0;
    if (!IsBandpass(plan_.shape))
        return anchor_ = project_.splTotal[static_cast<std::size_t>(n - 1)];
    double top = -100.0;
    for (int i = 0; i < n - 1; ++i)
        top = std::max(top, project_.splTotal[static_cast<std::size_t>(i)]);
    return anchor_ = top;
}

double TBoxFit::MeanError()
{
    Anchor();
    const int n = project_.PointCount();
    if (n < 2)
        return 0.0;
    double sum = 0.0;
    for (int i = 0; i < n - 1; ++i) {
        const auto j = static_cast<std::size_t>(i);
        const double d = target_[j] + anchor_ - project_.splTotal[j];
        sum += d * d;
    }
    return std::sqrt(sum / n);
}

void TBoxFit::ShowTarget()
{
    // The whole curve is drawn; only its first N - 1 points count in the error.
    const int n = project_.PointCount();
    for (int i = 0; i < n; ++i)
        project_.target[static_cast<std::size_t>(i)] = target_[static_cast<std::size_t>(i)] + anchor_;
}

void TBoxFit::Start(const TFitSettings& settings)
{
    settings_ = settings;
    Anchor();
    project_.fastMode = true;
    project_.splPlotRefresh = false;
    divisor_ = settings.fineStep ? 500.0 : 100.0;
    r_ = kStartStep;
    steps_ = 0;
    shownError_ = 0.0;
    ShowTarget();
    TPlotLogXLinY& spl = project_.SplPlot();
    spl.SetShownCurves(spl.CurveCount() + 1);
    spl.Redraw();
}

std::vector<TFitVariable> TBoxFit::ActiveVariables() const
{
    std::vector<TFitVariable> active;
    for (TFitVariable v : plan_.order) {
        if ((v == TFitVariable::FirstQ && !settings_.optimiseQ) ||
            (v == TFitVariable::SecondQ && !settings_.optimiseFrontQ))
            continue;
        active.push_back(v);
    }
    return active;
}

void TBoxFit::Step()
{
    for (TFitVariable v : ActiveVariables()) {
        const bool drawn = v == plan_.drawn && settings_.showIntermediate;
        switch (v) {
        case TFitVariable::FirstVolume:
        case TFitVariable::SecondVolume: VaryVolume(v, drawn); break;
        case TFitVariable::FirstQ:
        case TFitVariable::SecondQ: VaryQ(v, drawn); break;
        case TFitVariable::FirstPort:
        case TFitVariable::SecondPort: VaryByStep(v, kMinLength, kMaxLength, drawn); break;
        case TFitVariable::RadiatorMass: VaryByStep(v, kMinMass, kMaxMass, drawn); break;
        }
    }
    if (IsBandpass(plan_.shape)) {
        // The anchor follows the passband's top, and so does the drawn target.
        ShowTarget();
    }
    ++steps_;
}

void TBoxFit::Finish()
{
    TPlotLogXLinY& spl = project_.SplPlot();
    spl.SetShownCurves(std::max(spl.CurveCount() - 1, 0));
    project_.fastMode = false;
    project_.splPlotRefresh = true;
    for (TBoxObject* box : {elements_.first, elements_.second})
        if (box)
            box->dirty = true;
    for (TPortObject* port : {elements_.firstPort, elements_.secondPort})
        if (port)
            port->dirty = true;
    if (elements_.radiator) {
        elements_.radiator->dirty = true;
        RefreshAbrResonances(*elements_.radiator);
    }
    project_.UpdateCalculateCommand();
    project_.Calculate(0);
}

double TBoxFit::Value(TFitVariable variable) const
{
    switch (variable) {
    case TFitVariable::FirstVolume: return elements_.first->Vb;
    case TFitVariable::SecondVolume: return elements_.second->Vb;
    case TFitVariable::FirstQ: return elements_.first->Qb;
    case TFitVariable::SecondQ: return elements_.second->Qb;
    case TFitVariable::FirstPort: return elements_.firstPort->L;
    case TFitVariable::SecondPort: return elements_.secondPort->L;
    case TFitVariable::RadiatorMass: return elements_.radiator->Mmp;
    }
    return 0.0;
}

void TBoxFit::Set(TFitVariable variable, double value)
{
    // The elements' own rules: each marks its element dirty and updates what follows
    // (a radiator's resonances, a port's tuning).
    switch (variable) {
    case TFitVariable::FirstVolume: CommitBoxStored(*elements_.first, TBoxField::Volume, value); break;
    case TFitVariable::SecondVolume: CommitBoxStored(*elements_.second, TBoxField::Volume, value); break;
    case TFitVariable::FirstQ: CommitBoxStored(*elements_.first, TBoxField::Qb, value); break;
    case TFitVariable::SecondQ: CommitBoxStored(*elements_.second, TBoxField::Qb, value); break;
    case TFitVariable::FirstPort: CommitPortStored(*elements_.firstPort, TPortField::Length, value, host_); break;
    case TFitVariable::SecondPort: CommitPortStored(*elements_.secondPort, TPortField::Length, value, host_); break;
    case TFitVariable::RadiatorMass: CommitAbrStored(*elements_.radiator, TAbrField::Mmp, value); break;
    }
}

double TBoxFit::Trial(TFitVariable variable, double value, bool drawn)
{
    Set(variable, value);
    project_.splPlotRefresh = drawn;
    project_.Calculate(0);
    project_.splPlotRefresh = false;
    return MeanError();
}

int TBoxFit::NextRandom()
{
    // A source out of range must not take the variable out of its clamps' reach.
    return std::clamp(random_ ? random_() : 0, 0, TFitRandom::kMax);
}

void TBoxFit::VaryVolume(TFitVariable variable, bool drawn)
{
    const double v0 = Value(variable);
    const double up = v0 * ((NextRandom() + 1) * (r_ - 1.0) * kRandomScale + 1.0);
    const double eUp = Trial(variable, std::min(up, kMaxVolume), false);
    const double down = v0 / ((NextRandom() + 1) * (r_ - 1.0) * kRandomScale + 1.0);
    const double eDown = Trial(variable, std::max(down, kMinVolume), drawn);
    double v = 0, best = 0;
    if (eDown >= eUp) {
        v = v0 * r_;
        best = eUp;
    } else {
        v = v0 / r_;
        best = eDown;
    }
    r_ = StepFactor(best, divisor_);
    shownError_ = best;
    Set(variable, std::clamp(v, kMinVolume, kMaxVolume));
}

void TBoxFit::VaryQ(TFitVariable variable, bool drawn)
{
    const double q0 = Value(variable);
    const double eUp = Trial(variable, std::min(q0 * kQUp, kMaxQ), false);
    const double eDown = Trial(variable, std::max(q0 * kQDown, kMinQ), drawn);
    Set(variable, std::clamp(eDown >= eUp ? q0 * kQUp : q0 * kQDown, kMinQ, kMaxQ));
}

void TBoxFit::VaryByStep(TFitVariable variable, double lower, double upper, bool drawn)
{
    const double x0 = Value(variable);
    const double eUp = Trial(variable, std::min(x0 * r_, upper), false);
    const double eDown = Trial(variable, std::max(x0 / r_, lower), drawn);
    double x = 0, best = 0;
    if (eDown >= eUp) {
        x = x0 * r_;
        best = eUp;
    } else {
        x = x0 / r_;
        best = eDown;
    }
    r_ = StepFactor(best, divisor_);
    Set(variable, std::clamp(x, lower, upper));
}
