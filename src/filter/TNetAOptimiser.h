#pragma once
// The search of the network optimiser, without a window: the target shape over the
// filter grid, the error of the network's level at the optimiser's ray against it, and
// one sweep of the randomised coordinate search over the components that are in use and
// on the optimisation list. The settings are the network's (TNetAOptimiserFields); the
// random source is a seam, so tests and the command line choose the sequence.

#include "filter/TNetA.h"

#include <functional>
#include <random>

class TNetAOptimiser {
public:
    using TRow = TNetBase::TRealRow;
    // Any source of non-negative integers; the default is std::minstd_rand, seeded 1,
    // which the standard defines exactly, so a seed gives the same run everywhere.
    using TRandom = std::function<int()>;
    static TRandom SeededRandom(std::uint32_t seed);

    explicit TNetAOptimiser(TNetA& net);

    // The target shape at frequency f (dB): the low-pass and high-pass targets of the
    // settings and the passband slope. A target whose cutoff is 0 Hz counts as absent
    // (its shape would be undefined); the slope's reference frequency then takes 1 Hz.
    static double ShapeAt(double f, const TNetAOptimiserFields& s);

    // When no ray is chosen, the last ray of the surface list at 0 degrees; a ray
    // beyond the list becomes its last one.
    void ChooseRay();
    // The row of the network's levels the optimiser reads.
    int Ray() const;

    // S over the grid from the settings as they are now.
    void ComputeShape();
    // The error measure of the network's last calculation: fills T (and U when the
    // unfiltered view is on), stores the found level as the target level when the lock
    // is off, and returns the mean absolute deviation in dB over the included points.
    double Measure();
    // One sweep: every taking-part component tried at v * q and v / q, the better kept.
    // Ends with the network calculated for the kept values and measured.
    void Sweep();

    void SetRandom(TRandom random) { random_ = std::move(random); }
    const TRow& Shape() const { return shape_; }
    const TRow& Target() const { return target_; }
    const TRow& Unfiltered() const { return unfiltered_; }
    double Error() const { return error_; }
    int IncludedPoints() const { return included_; }
    int Sweeps() const { return sweeps_; }
    // The components that take part, in the order a sweep visits them.
    int Participants(std::array<TCompA*, TNetA::kPositions * kCompSlots>& out) const;

private:
    // Calculates the network and measures it.
    double Evaluate();

    TNetA& net_;
    TRandom random_;
    TRow shape_{};
    TRow target_{};
    TRow unfiltered_{};
    double error_ = 0.0;
    int included_ = 0;
    int sweeps_ = 0;
};
