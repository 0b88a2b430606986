#include "timedomain/TStepResponse.h"

#include "core/TBinaryStream.h"
#include "settings/TMeasSetup.h"
#include "support/AllocationCounter.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <vector>

namespace {

using TSettings = TStepRespSettings;
constexpr double kTwoPi = 6.283185307179586;

// A window over a response the test writes: the grid 10 .. 2000 Hz, 500 points.
struct Bench {
    THeadlessHost host;
    TPlotStyles styles;
    TMeasSetup setup;
    std::array<TComplex, 500> response{};
    TStepResponse window{host, styles, nullptr, response.data(), setup};

    Bench(int start = 10, int stop = 2000, int points = 500)
    {
        setup.startFrequency = start;
        setup.stopFrequency = stop;
        setup.pointCount = points;
        setup.LayoutGrid();
    }

    // Product of second-order high-pass sections s² / (s² + s·ω0/Q + ω0²).
    void HighPass(double f0, std::initializer_list<double> qs)
    {
        for (int i = 0; i < setup.grid.Count(); ++i) {
            const TComplex s(0, setup.grid.Omega(i));
            const double w0 = kTwoPi * f0;
            TComplex h = 1;
            for (double q : qs)
                h *= s * s / (s * s + s * w0 / q + w0 * w0);
            response[static_cast<std::size_t>(i)] = h;
        }
    }

    void Run(TSettings::Kind kind, double timeStep, double burst = 50, int periods = 3)
    {
        TSettings& s = window.Settings();
        s.kind = kind;
        s.timeStep = timeStep;
        s.burstFrequency = burst;
        s.periods = static_cast<std::int16_t>(periods);
        window.ApplySettings();
        window.Update(true);
    }

    // The last sample (from `from` on, before `to`) where the output still exceeds the
    // level in magnitude: how long the response rings.
    int RingsUntil(double level, int from, int to)
    {
        int last = from;
        for (int i = from; i < to; ++i)
            if (std::fabs(window.Output()[static_cast<std::size_t>(i)]) > level)
                last = i;
        return last;
    }

    bool AllFinite()
    {
        const auto finite = [](double v) { return std::isfinite(v); };
        return std::all_of(window.Output().begin(), window.Output().end(), finite) &&
               std::all_of(window.Input().begin(), window.Input().end(), finite) &&
               std::all_of(window.Times().begin(), window.Times().end(), finite) && std::isfinite(window.yMinimum) &&
               std::isfinite(window.yMaximum) && std::isfinite(window.xMaximum);
    }
};

} // namespace

// ------------------------------------------------------------------ physics

TEST(TStepResponse, ClosedBoxStepReturnsToZero)
{
    // A high-pass passes no DC: after the rise the step response dies away.
    for (double q : {0.5, 0.707, 1.2}) {
        Bench b;
        b.HighPass(40, {q});
        b.Run(TSettings::Step, 1.0);
        EXPECT_DOUBLE_EQ(*std::max_element(b.window.Output().begin(), b.window.Output().begin() + 512), 1.0);
        for (int i = 400; i < 512; ++i)
            ASSERT_LT(std::fabs(b.window.Output()[static_cast<std::size_t>(i)]), 0.02) << "Q " << q << " at " << i;
    }
}

TEST(TStepResponse, ToneBurstAtResonanceRingsLongerForHigherQ)
{
    // Burst of 3 periods at fc: it ends at sample 300 (0.2 ms each); count the ringing after it.
    int ring[2] = {};
    const double qs[2] = {0.5, 1.5};
    for (int k = 0; k < 2; ++k) {
        Bench b;
        b.HighPass(50, {qs[k]});
        b.Run(TSettings::ToneBurst, 0.2, 50, 3);
        EXPECT_EQ(b.window.Caption(), "Tone burst resp. 50.0 Hz, 3 periods");
        ring[k] = b.RingsUntil(0.05, 300, 1024) - 300;
    }
    EXPECT_GT(ring[1], ring[0] + 40) << "Qtc 0.5: " << ring[0] << ", Qtc 1.5: " << ring[1];
}

TEST(TStepResponse, VentedBoxImpulseRingsLongerThanClosedBoxWithTheSameCorner)
{
    // A fourth-order Butterworth high-pass (the vented box's textbook alignment) and a
    // second-order one (the closed box) are both 3 dB down at 40 Hz.
    Bench closed, vented;
    closed.HighPass(40, {0.70710678});
    vented.HighPass(40, {0.5411961, 1.3065630});
    for (Bench* b : {&closed, &vented}) {
        const int i3 = static_cast<int>(std::lround(std::log(40.0 / 10) / std::log(200.0) * 499));
        EXPECT_NEAR(20 * std::log10(std::abs(b->response[static_cast<std::size_t>(i3)])), -3.0, 0.1);
        b->Run(TSettings::Impulse, 0.5);
    }
    // The pulse itself (what passes the high-pass at once) dwarfs the tail: the tail is
    // followed down to half a percent of it.
    const int closedRing = closed.RingsUntil(0.005, 0, 512), ventedRing = vented.RingsUntil(0.005, 0, 512);
    EXPECT_GT(ventedRing, closedRing * 3 / 2) << closedRing << " vs " << ventedRing;
}

// ------------------------------------------------------------------ the transform

TEST(TStepResponse, FlatSpectrumGivesTheKnownImpulse)
{
    // Bins 1 .. 1023 hold 1 (0 and 512 are 0): sample 0 is 1022, even samples -2, odd 0.
    Bench b;
    std::fill(b.response.begin(), b.response.end(), TComplex(1, 0));
    b.Run(TSettings::Impulse, 0.025);
    EXPECT_NEAR(b.window.Impulse()[0], 1022.0, 1e-9);
    for (std::size_t i = 1; i < 1024; ++i)
        ASSERT_NEAR(b.window.Impulse()[i], i % 2 ? 0.0 : -2.0, 1e-9) << i;
}

TEST(TStepResponse, BinsFollowTheGridAndHoldItsEnds)
{
    Bench b(20, 1000, 200);
    for (int i = 0; i < 200; ++i)
        b.response[static_cast<std::size_t>(i)] = TComplex(b.setup.grid.Frequency(i), -i);
    b.Run(TSettings::Impulse, 0.025); // 40 kHz, bins 39.0625 Hz apart
    const CVector& bins = b.window.Spectrum();
    EXPECT_EQ(bins[0], TComplex(0, 0));
    EXPECT_EQ(bins[512], TComplex(0, 0));
    // Above the grid the last value repeats; every bin's mirror is its conjugate.
    EXPECT_EQ(bins[511], b.response[199]);
    EXPECT_EQ(bins[30], b.response[199]); // 1171.9 Hz
    for (int j = 1; j < 512; ++j)
        ASSERT_EQ(bins[1024 - j], std::conj(bins[j])) << j;
    // Inside the grid the real part (the frequency here) is interpolated on log f.
    for (int j = 1; j <= 25; ++j)
        EXPECT_NEAR(bins[j].real(), j * 39.0625, j * 39.0625 * 2e-3) << j;
    // A new grid under the same window: the bins follow it as a new window's would.
    b.setup.startFrequency = 15;
    b.setup.LayoutGrid();
    b.Run(TSettings::Impulse, 0.025);
    Bench fresh(15, 1000, 200);
    fresh.response = b.response;
    fresh.Run(TSettings::Impulse, 0.025);
    for (int j = 0; j < 1024; ++j)
        ASSERT_EQ(b.window.Spectrum()[j], fresh.window.Spectrum()[j]) << j;
    // Below the grid the first value falls in proportion to the frequency.
    Bench low(100, 1000, 100);
    std::fill(low.response.begin(), low.response.end(), TComplex(2, 2));
    low.Run(TSettings::Impulse, 1.0); // bins 0.977 Hz apart
    EXPECT_NEAR(low.window.Spectrum()[50].real(), 2 * 50 * 1000.0 / 1024 / 100, 1e-12);
}

TEST(TStepResponse, OutputIsTheNormalisedConvolutionOfInputAndImpulse)
{
    // The sums written out, against what the window computes.
    for (auto kind : {TSettings::Impulse, TSettings::Step, TSettings::ToneBurst}) {
        Bench b;
        b.HighPass(45, {0.9});
        b.Run(kind, 0.1, 70, 4);
        const auto& in = b.window.Input();
        const auto& h = b.window.Impulse();
        const bool burst = kind == TSettings::ToneBurst;
        const int n = burst ? 1024 : 512;
        std::vector<double> g(h.begin(), h.end()), y(static_cast<std::size_t>(n));
        if (burst)
            for (std::size_t i = 1; i < 1024; ++i)
                g[i] = 0.6 * g[i - 1] + (i < 512 ? h[i] : 0.0);
        double mean = 0;
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j <= i; ++j)
                y[static_cast<std::size_t>(i)] += in[static_cast<std::size_t>(j)] * g[static_cast<std::size_t>(i - j)];
            mean += y[static_cast<std::size_t>(i)] / n;
        }
        if (!burst)
            for (double& v : y)
                v -= mean;
        const double peak = *std::max_element(y.begin(), y.end());
        for (int i = 0; i < n; ++i)
            ASSERT_NEAR(b.window.Output()[static_cast<std::size_t>(i)], y[static_cast<std::size_t>(i)] / peak, 1e-9)
                << kind << " at " << i;
        EXPECT_NEAR(b.window.yMinimum, *std::min_element(y.begin(), y.end()) / peak, 1e-9);
    }
}

// ------------------------------------------------------------------ inputs and ranges

TEST(TStepResponse, InputsAndTimeAxis)
{
    struct Row {
        TSettings::Kind kind;
        double step, burst;
        int periods;
        int lastInput; // the last sample of the input that is not 0
        double xLast;  // x of the last shown point
    };
    const Row rows[] = {
        {TSettings::ToneBurst, 0.025, 500, 1, 80, 1023 * 0.025},  // n_end 80: one period, sin(2π) at 80
        {TSettings::ToneBurst, 0.025, 50, 3, 1023, 1023 * 0.025}, // n_end 2400, held to 1023
        {TSettings::Step, 2.0, 50, 3, 511, 1022.0},               // 512 points cover 1022 ms
        {TSettings::Impulse, 0.1, 50, 3, 511, 51.1},
    };
    for (const Row& r : rows) {
        Bench b;
        b.HighPass(50, {0.7});
        b.Run(r.kind, r.step, r.burst, r.periods);
        const auto& in = b.window.Input();
        int last = 0;
        for (int i = 0; i < 1024; ++i)
            if (in[static_cast<std::size_t>(i)] != 0.0)
                last = i;
        EXPECT_EQ(last, r.lastInput) << b.window.Caption();
        EXPECT_DOUBLE_EQ(b.window.xMaximum, r.xLast) << b.window.Caption();
        EXPECT_DOUBLE_EQ(b.window.yMaximum, 1.0);
        EXPECT_LE(b.window.yMinimum, 0.0);
    }
    Bench b;
    b.Run(TSettings::ToneBurst, 0.025, 500, 1);
    EXPECT_NEAR(b.window.Input()[20], 0.3, 1e-9); // a quarter period
    EXPECT_EQ(b.window.Input()[81], 0.0);
}

TEST(TStepResponse, MeasuredResponseTakesPlainInputsAndTheUnsmoothedImpulse)
{
    Bench b;
    b.HighPass(50, {0.7});
    b.window.SetMeasuredInput(true);
    b.Run(TSettings::Impulse, 0.1);
    EXPECT_EQ(b.window.Input()[0], 1.0);
    EXPECT_EQ(std::count(b.window.Input().begin(), b.window.Input().end(), 0.0), 1023);
    b.Run(TSettings::Step, 0.1);
    EXPECT_EQ(std::count(b.window.Input().begin(), b.window.Input().begin() + 512, 1.0), 512);
    // The burst through h itself, cut at 512 samples: with one period at 500 Hz the
    // output ends 80 samples after the impulse response does.
    b.Run(TSettings::ToneBurst, 0.025, 500, 1);
    for (std::size_t i = 512 + 81; i < 1024; ++i)
        ASSERT_NEAR(b.window.Output()[i], 0.0, 1e-12) << i;
    b.window.SetMeasuredInput(false);
    b.Run(TSettings::ToneBurst, 0.025, 500, 1); // the smoothed impulse response goes on
    EXPECT_GT(std::fabs(b.window.Output()[600]), 1e-9);
}

TEST(TStepResponse, PointsCaptionsAndCurvesFollowTheSettings)
{
    struct Row {
        TSettings::Kind kind;
        bool zoom;
        std::int16_t curves;
        int points, shown;
        const char* caption;
    };
    const Row rows[] = {
        {TSettings::Impulse, false, 2, 512, 1, "Impulse response"},
        {TSettings::Step, true, 1, 256, 1, "Step response"},
        {TSettings::ToneBurst, false, 2, 1024, 2, "Tone burst resp. 50.0 Hz, 3 periods"},
        {TSettings::ToneBurst, true, 1, 512, 1, "Tone burst resp. 50.0 Hz, 3 periods"},
    };
    for (const Row& r : rows) {
        Bench b;
        b.window.Settings().kind = r.kind;
        b.window.Settings().zoom = r.zoom;
        b.window.Settings().curvesShown = r.curves;
        b.window.ApplySettings();
        EXPECT_EQ(b.window.PointCount(), r.points) << r.caption;
        EXPECT_EQ(b.window.CurveCount(), r.shown) << r.caption;
        EXPECT_EQ(b.window.Caption(), r.caption);
        EXPECT_EQ(b.window.XUnit(), "ms");
    }
}

// ------------------------------------------------------------------ the stored block

TEST(TStepResponse, BlockRoundTripsWithTheWindowRecord)
{
    Bench a;
    a.window.Settings().kind = TSettings::Step;
    a.window.Settings().zoom = true;
    a.window.Settings().timeStep = 0.5;
    a.window.SetNote("decay");
    TBinaryWriter out;
    a.window.WriteRecord(out);
    ASSERT_EQ(out.Size(), TSettings::RecordSize);

    Bench b;
    TBinaryReader in(out.Bytes());
    ASSERT_TRUE(b.window.ReadRecord(in));
    EXPECT_EQ(b.window.Caption(), "Step response");
    EXPECT_EQ(b.window.PointCount(), 256);
    EXPECT_EQ(b.window.Settings().timeStep, 0.5);
    EXPECT_EQ(b.window.Note(), "decay");
    TBinaryWriter again;
    b.window.WriteRecord(again);
    EXPECT_EQ(again.Bytes(), out.Bytes());

    // Every cut fails and leaves the window as it was.
    for (std::size_t cut = 0; cut < TSettings::RecordSize; ++cut) {
        Bench c;
        TBinaryReader r(std::vector<std::uint8_t>(out.Bytes().begin(), out.Bytes().begin() + static_cast<long>(cut)));
        EXPECT_FALSE(c.window.ReadRecord(r)) << cut;
        EXPECT_EQ(c.window.Caption(), "Impulse response") << cut;
        EXPECT_EQ(c.window.Note(), "") << cut;
    }
}

TEST(TStepResponse, BlockWithValuesTheDialogNeverWritesIsRefused)
{
    const auto set = [](auto change) {
        TSettings s;
        change(s);
        TBinaryWriter w;
        s.Write(w);
        return w.Bytes();
    };
    const std::vector<std::vector<std::uint8_t>> blocks = {
        set([](TSettings& s) { s.kind = 3; }),
        set([](TSettings& s) { s.kind = -1; }),
        set([](TSettings& s) { s.periods = 0; }),
        set([](TSettings& s) { s.periods = 21; }),
        set([](TSettings& s) { s.burstFrequency = 9.9; }),
        set([](TSettings& s) { s.burstFrequency = std::numeric_limits<double>::quiet_NaN(); }),
        set([](TSettings& s) { s.timeStep = 0; }),
        set([](TSettings& s) { s.timeStep = 0.3; }),
        set([](TSettings& s) { s.curvesShown = 3; }),
    };
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        Bench b;
        TBinaryReader r(blocks[k]);
        EXPECT_FALSE(b.window.ReadRecord(r)) << k;
        EXPECT_EQ(b.window.Settings().timeStep, 0.025) << k;
    }
}

// ------------------------------------------------------------------ bad input

TEST(TStepResponse, BadSettingsAndResponsesGiveNumbers)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Row {
        double step, burst;
        int periods, kind;
    };
    const Row rows[] = {
        {0, 50, 3, TSettings::ToneBurst},    {-1, 50, 3, TSettings::Step},
        {nan, nan, 3, TSettings::ToneBurst}, {1e300, 0, 32767, TSettings::ToneBurst},
        {inf, -5, -4, TSettings::ToneBurst}, {0.025, 50, 3, 99},
    };
    for (const Row& r : rows) {
        Bench b;
        b.HighPass(50, {0.7});
        b.window.Settings().kind = static_cast<std::int16_t>(r.kind);
        b.window.Settings().timeStep = r.step;
        b.window.Settings().burstFrequency = r.burst;
        b.window.Settings().periods = static_cast<std::int16_t>(r.periods);
        b.window.ApplySettings();
        b.window.Update(true);
        EXPECT_TRUE(b.AllFinite()) << r.step << " " << r.burst << " " << r.periods << " " << r.kind;
        EXPECT_TRUE(b.window.HasData());
    }
    // No response at all, or one that is not a number: zeros, not NaN.
    for (TComplex value : {TComplex(0, 0), TComplex(nan, 1), TComplex(inf, 0)}) {
        Bench b;
        std::fill(b.response.begin(), b.response.end(), value);
        for (auto kind : {TSettings::Impulse, TSettings::Step, TSettings::ToneBurst}) {
            b.Run(kind, 0.1);
            EXPECT_TRUE(b.AllFinite());
            EXPECT_LT(b.window.yMinimum, b.window.yMaximum);
        }
    }
}

TEST(TStepResponse, DisabledWindowDoesNothingAndUpdatesAllocateNothing)
{
    Bench b;
    b.HighPass(50, {0.7});
    b.window.Settings().enabled = false;
    b.window.Update(true);
    EXPECT_FALSE(b.window.HasData());
    b.window.Settings().enabled = true;
    for (auto kind : {TSettings::Impulse, TSettings::Step, TSettings::ToneBurst}) {
        b.window.Settings().kind = kind;
        b.window.ApplySettings();
        EXPECT_EQ(allocation_counter::During([&] { b.window.Update(true); }), 0) << kind;
    }
}
