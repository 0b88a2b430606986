#include "filter/TNetAOptimiser.h"

#include "settings/TProgramContext.h"

#include <algorithm>
#include <cmath>

namespace {
// The slope's factor per decade: dB per octave times 10/3 octaves per decade.
constexpr double kOctavesPerDecade = 3.3333333333333335;
// Points this far below the largest level do not count (deep notches, stop bands).
constexpr double kIgnoredBelowMax = 50.0;

constexpr TCompSlot kPassiveOrder[] = {TCompSlot::R1, TCompSlot::R2, TCompSlot::C, TCompSlot::L};
constexpr TCompSlot kActiveOrder[] = {TCompSlot::R1, TCompSlot::R2, TCompSlot::C1, TCompSlot::C2, TCompSlot::L};
} // namespace

TNetAOptimiser::TRandom TNetAOptimiser::SeededRandom(std::uint32_t seed)
{
    // minstd_rand refuses a seed of 0 (it would stay 0): it takes 1 instead.
    return [engine = std::minstd_rand(seed == 0 ? 1u : seed)]() mutable { return static_cast<int>(engine()); };
}

TNetAOptimiser::TNetAOptimiser(TNetA& net) : net_(net), random_(SeededRandom(1)) {}

double TNetAOptimiser::ShapeAt(double f, const TNetAOptimiserFields& s)
{
    double shape = 0.0;
    if (s.lowPassOrder >= 1 && s.lowPassCutoff > 0) {
        const double d = std::pow(f / s.lowPassCutoff, s.lowPassOrder);
        shape -= s.lowPassType == 0 ? 20.0 * std::log10(std::sqrt(d * d + 1.0)) : 20.0 * std::log10(d + 1.0);
    }
    if (s.highPassOrder >= 1 && s.highPassCutoff > 0) {
        const double e = std::pow(f / s.highPassCutoff, s.highPassOrder);
        shape += s.highPassType == 0 ? 20.0 * std::log10(e / std::sqrt(e * e + 1.0)) : 20.0 * std::log10(e / (e + 1.0));
    }
    const double fl = std::max<double>(s.lowPassCutoff, 1.0), fh = std::max<double>(s.highPassCutoff, 1.0);
    const double reference = std::sqrt(fl * std::sqrt(1000.0 * fh));
    return shape + s.slope * kOctavesPerDecade * std::log10(f / reference);
}

void TNetAOptimiser::ChooseRay()
{
    const TGeneral& general = net_.Owner().Context().General();
    const int count = std::max(general.SurfaceRayCount(), 1);
    TNetAOptimiserFields& s = net_.optimiser;
    if (s.ray < 0)
        for (int r = 0; r < count; ++r)
            if (general.SurfaceRay(r) == 0)
                s.ray = static_cast<std::int16_t>(r);
    if (s.ray < 0)
        s.ray = static_cast<std::int16_t>(std::clamp(general.OnAxisIndex(), 0, count - 1));
    if (s.ray >= count)
        s.ray = static_cast<std::int16_t>(count - 1);
}

int TNetAOptimiser::Ray() const
{
    const TGeneral& general = net_.Owner().Context().General();
    const int count = std::clamp(general.SurfaceRayCount(), 1, TNetBase::kMaxRays);
    const int ray = net_.optimiser.ray;
    return ray < 0 ? std::clamp(general.OnAxisIndex(), 0, count - 1) : std::min(ray, count - 1);
}

void TNetAOptimiser::ComputeShape()
{
    const double* f = net_.Owner().Context().General().FilterGrid().Frequencies().data();
    for (std::size_t j = 0; j < shape_.size(); ++j)
        shape_[j] = ShapeAt(f[j], net_.optimiser);
}

double TNetAOptimiser::Measure()
{
    TNetAOptimiserFields& s = net_.optimiser;
    const double* f = net_.Owner().Context().General().FilterGrid().Frequencies().data();
    const TRow& level = net_.Level(Ray());
    const double top = *std::max_element(level.begin(), level.end());
    // Whether a point counts: inside the include range, outside the excluded band and
    // not far below the maximum.
    const auto counts = [&](std::size_t j) {
        return f[j] >= s.includeLower && f[j] <= s.includeUpper && (f[j] < s.excludeLower || f[j] > s.excludeUpper) &&
               level[j] > top - kIgnoredBelowMax;
    };
    double sum = 0.0;
    int n = 0;
    for (std::size_t j = 0; j < level.size(); ++j)
        if (counts(j)) {
            sum += level[j] - shape_[j];
            ++n;
        }
    const double offset = s.lock ? s.targetLevel : sum / std::max(n, 1);
    if (!s.lock)
        s.targetLevel = offset;
    for (std::size_t j = 0; j < level.size(); ++j)
        target_[j] = shape_[j] + offset;
    if (s.viewUnfiltered) {
        const TNetBase::TComplexRow& t = net_.Transfer();
        for (std::size_t j = 0; j < level.size(); ++j)
            unfiltered_[j] = level[j] - TNetBase::LevelOf(t[j]);
    }
    double deviation = 0.0;
    for (std::size_t j = 0; j < level.size(); ++j)
        if (counts(j))
            deviation += std::fabs(level[j] - target_[j]);
    included_ = n;
    error_ = deviation / std::max(n, 1);
    return error_;
}

double TNetAOptimiser::Evaluate()
{
    net_.Calculate();
    return Measure();
}

int TNetAOptimiser::Participants(std::array<TCompA*, TNetA::kPositions * kCompSlots>& out) const
{
    int n = 0;
    for (int p = 0; p < TNetA::kPositions; ++p) {
        TBranchA* branch = net_.Branch(p);
        if (!branch)
            continue;
        const bool active = !branch->Passive();
        const TCompSlot* order = active ? kActiveOrder : kPassiveOrder;
        const int count = active ? static_cast<int>(std::size(kActiveOrder))
                                 : static_cast<int>(std::size(kPassiveOrder));
        for (int k = 0; k < count; ++k) {
            TCompA& comp = branch->Comp(order[k]);
            if (comp.inUse && comp.inOptimisation)
                out[static_cast<std::size_t>(n++)] = &comp;
        }
    }
    return n;
}

void TNetAOptimiser::Sweep()
{
    ComputeShape();
    const double step = 0.001 * net_.optimiser.step;
    std::array<TCompA*, TNetA::kPositions * kCompSlots> comps{};
    const int n = Participants(comps);
    bool measured = false; // the last calculation is of the values kept
    for (int k = 0; k < n; ++k) {
        TCompA& comp = *comps[static_cast<std::size_t>(k)];
        int r = random_();
        if (r < 0)
            r = -(r + 1); // a source that breaks its promise still gives -50 .. 49
        const int d = r % 100 - 50;
        const double q = (1.0 + 0.001 * d) * step + 1.0;
        const double v = comp.Value();
        // Restore: the search may leave the component's own limits.
        comp.Restore(v * q);
        const double up = Evaluate();
        comp.Restore(v / q);
        const double down = Evaluate();
        measured = !(up < down);
        if (!measured)
            comp.Restore(v * q);
    }
    if (n > 0)
        net_.Owner().MarkChanged();
    if (!measured)
        Evaluate();
    ++sweeps_;
}
