#pragma once
// The frequency fit of a box project: a random-step search over box volumes, box Q
// values, port lengths or a radiator's mass that brings the simulated SPL close to a
// target curve (a high-pass or band-pass asymptote anchored at the response's own
// level). One Step() is one iteration over the type's variables; the dialog posts the
// steps one by one on the event loop, the command line and tests call them in a loop.
//
// A box type is described by a plan (its target shape, its variables in order, the
// one whose second trial is drawn) and its elements; the search itself is the same
// for all ten types. Every change goes through the elements' own commit rules, which
// mark them dirty, so the next Calculate sees it.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class TAbrObject;
class TBoxEmbryo;
class TBoxObject;
class THost;
class TPortObject;

// The asymptote the SPL is fitted to: slopes in dB per decade below the lower corner
// and above the upper one (high-pass shapes have no upper corner).
enum class TFitShape {
    SecondOrder, // closed box: 40 dB/decade
    FourthOrder, // vented boxes, passive radiator, double tuned, reflex bandpass: 80
    BandpassLow, // bandpass types 1 and 2: 60 and -60
    BandpassHigh // bandpass types 3 and 4: 90 and -70
};

enum class TFitVariable { FirstVolume, SecondVolume, FirstQ, SecondQ, FirstPort, SecondPort, RadiatorMass };

struct TFitPlan {
    TFitShape shape;
    std::vector<TFitVariable> order; // the Q variables take part only when their option is on
    TFitVariable drawn;              // its second trial redraws the SPL plot (show intermediate)
};

// The elements a plan's variables name; those a type does not have stay null.
struct TFitElements {
    TBoxObject* first = nullptr;
    TBoxObject* second = nullptr;
    TPortObject* firstPort = nullptr;
    TPortObject* secondPort = nullptr;
    TAbrObject* radiator = nullptr;
};

// The settings as the project file keeps them (cutoffs in Hz).
struct TFitSettings {
    static constexpr int kMinLowerCutoff = 10, kMaxLowerCutoff = 200;
    static constexpr int kMinUpperCutoff = 40, kMaxUpperCutoff = 300;

    int lowerCutoff = 10;
    int upperCutoff = 300;
    bool optimiseQ = false;
    bool optimiseFrontQ = false;
    bool showIntermediate = true;
    bool fineStep = false;

    // The project's settings, the cutoffs brought into their ranges.
    static TFitSettings Of(const TBoxEmbryo& project);
};

class TBoxFit {
public:
    static constexpr double kMaxStep = 1.2;
    static constexpr double kStartStep = 1.00001;
    static constexpr double kMinVolume = 0.0001, kMaxVolume = 10.0; // m³
    static constexpr double kMinQ = 3.0, kMaxQ = 15.0;
    static constexpr double kMinLength = 0.005, kMaxLength = 10.0; // m
    static constexpr double kMinMass = 0.0001, kMaxMass = 10.0;    // kg

    using TRandom = std::function<int()>; // 0 .. 32767

    // host takes the port rules' warnings (a fit never causes one).
    TBoxFit(TBoxEmbryo& project, TFitPlan plan, TFitElements elements, THost& host);

    // The target level in dB relative to the anchor at frequency f.
    static double TargetLevel(TFitShape shape, double f, double lower, double upper);
    static bool IsBandpass(TFitShape shape)
    {
        return shape == TFitShape::BandpassLow || shape == TFitShape::BandpassHigh;
    }
    // r after a variation with the least error best: best / divisor + 1, at most 1.2.
    static double StepFactor(double best, double divisor);

    // The type's target over the project's grid.
    void ComputeTarget(const TFitSettings& settings);
    // The anchor from the project's current SPL.
    double Anchor();
    // The anchor first, then the rms difference over the first N - 1 points, divided by N.
    double MeanError();

    // Run start: anchor, fast mode on and SPL refresh off, divisor and r, the target
    // curve shown on the SPL plot. ComputeTarget must have run.
    void Start(const TFitSettings& settings);
    // One iteration: every variation of the plan in order.
    void Step();
    // Run end: the target hidden, fast mode off, the elements marked dirty and one full
    // calculation, so that the report and every plot show the final state.
    void Finish();

    void SetRandom(TRandom random) { random_ = std::move(random); }
    const TFitPlan& Plan() const { return plan_; }
    const TFitElements& Elements() const { return elements_; }
    double StepSize() const { return r_; }
    double Divisor() const { return divisor_; }
    double AnchorLevel() const { return anchor_; }
    // The error a volume variation shows (its best trial), 0 before the first.
    double ShownError() const { return shownError_; }
    int Steps() const { return steps_; }
    std::span<const double> Target() const;
    // The variables of this run in the order a step varies them.
    std::vector<TFitVariable> ActiveVariables() const;
    // The current value of a variable in its stored unit (m³, -, m, kg).
    double Value(TFitVariable variable) const;

private:
    double Trial(TFitVariable variable, double value, bool drawn);
    void Set(TFitVariable variable, double value);
    void VaryVolume(TFitVariable variable, bool drawn);
    void VaryQ(TFitVariable variable, bool drawn);
    // Port length and radiator mass: trials at r and 1/r.
    void VaryByStep(TFitVariable variable, double lower, double upper, bool drawn);
    int NextRandom();
    void ShowTarget();

    TBoxEmbryo& project_;
    TFitPlan plan_;
    TFitElements elements_;
    THost& host_;
    TRandom random_;
    TFitSettings settings_;
    std::array<double, 500> target_{};
    double r_ = kStartStep;
    double divisor_ = 100.0;
    double anchor_ = 0.0;
    double shownError_ = 0.0;
    int steps_ = 0;
};
