// The impulse response window of filter projects: what a known spectrum transforms to
// (a flat one, a delayed one, a crossover with one driver inverted), every transform
// size, "Disable IFFT", damaged responses, and that a recalculation allocates nothing.
#include "timedomain/TImpResponse.h"

#include "support/AllocationCounting.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kTwoPi = 6.283185307179586;

struct Bench {
    THeadlessHost host;
    TPlotStyles styles;
    TGeneral general;
    TLineStyle line{TColors::Black, 1, TDash::Solid};
    std::array<TComplex, TFilterGrid::kPoints> response{};
    TImpResponse window{host, styles, nullptr, general, line};

    explicit Bench(int points = 256, int fs = 44100)
    {
        EXPECT_TRUE(general.SetPoints(points));
        general.SetSampleRate(fs);
        window.SetResponse(response.data());
    }
    double F(int i) const { return general.FilterGrid().Frequency(i); }
    // Fills the response with h(f) and transforms it.
    template <typename H>
    void Run(H h)
    {
        for (int i = 0; i < TFilterGrid::kPoints; ++i)
            response[static_cast<std::size_t>(i)] = h(F(i));
        window.Recalculate();
    }
    int Shown() const { return window.PointCount(); }
    int ArgMax() const
    {
        const double* y = window.Samples();
        return static_cast<int>(std::max_element(y, y + Shown()) - y);
    }
    int ArgMin() const
    {
        const double* y = window.Samples();
        return static_cast<int>(std::min_element(y, y + Shown()) - y);
    }
    // The largest magnitude of the shown samples other than `except`.
    double LargestOther(int except) const
    {
        double largest = 0;
        for (int i = 0; i < Shown(); ++i)
            if (i != except)
                largest = std::max(largest, std::fabs(window.Samples()[i]));
        return largest;
    }
};

TEST(ImpResponse, EveryTransformSizeShowsHalfItsPointsAndAFlatSumAsOnePeakAtZero)
{
    for (int points : {128, 256, 512, 1024, 2048, 4096}) {
        for (int fs : {44100, 48000, 22050}) {
            SCOPED_TRACE(std::to_string(points) + " points at " + std::to_string(fs) + " Hz");
            Bench b(points, fs);
            b.Run([](double) { return TComplex{1.0, 0.0}; });
            const int n = 2 * points;
            ASSERT_EQ(b.Shown(), n / 2);
            ASSERT_TRUE(b.window.HasData());
            const double step = 1000.0 / fs;
            EXPECT_DOUBLE_EQ(b.window.Times()[1], step);
            EXPECT_NEAR(b.window.xMaximum, (n / 2 - 1) * step, 1e-12);
            EXPECT_EQ(b.window.xMinimum, 0.0);
            // The peak is exactly 1 at t = 0; no other sample reaches 1 % of it.
            EXPECT_EQ(b.window.Samples()[0], 1.0);
            EXPECT_LT(b.LargestOther(0), 0.01);
            // The spectrum is two-sided: bin N - j is the conjugate of bin j; bins 0
            // and N/2 are empty.
            const TComplex* s = b.window.Spectrum();
            // Unscaled, sample 0 is the sum of the bins (N - 2 where no bin lies below
            // 5 Hz, whose bins ramp down towards 0 Hz).
            double sum = 0;
            for (int j = 0; j < n; ++j)
                sum += s[j].real();
            EXPECT_NEAR(b.window.Peak(), sum, 1e-9 * n);
            if (fs / n > 5) {
                EXPECT_NEAR(b.window.Peak(), n - 2, 1e-9 * n);
            }
            EXPECT_EQ(s[0], TComplex{});
            EXPECT_EQ(s[n / 2], TComplex{});
            for (int j : {1, 7, n / 2 - 1})
                EXPECT_EQ(s[n - j], std::conj(s[j])) << j;
        }
    }
}

TEST(ImpResponse, BinsFollowTheGridOnLogFrequencyBelowAndAboveIt)
{
    // 512 points at 48 kHz: df = 46.875 Hz. The response is f itself, so a bin inside
    // the grid reads a value between its neighbours' frequencies, and bins above the
    // grid hold the value of 20 kHz.
    Bench b(512, 48000);
    b.Run([](double f) { return TComplex{f, -f}; });
    const TComplex* s = b.window.Spectrum();
    const double df = 48000.0 / 1024;
    for (int j : {1, 2, 21, 200, 426}) {
        const double f = j * df;
        EXPECT_NEAR(s[j].real(), f, f * 2e-4) << j; // grid spacing is 1.7 %: log and linear differ a little
        EXPECT_DOUBLE_EQ(s[j].imag(), -s[j].real()) << j;
    }
    const double top = b.F(TFilterGrid::kPoints - 1);
    for (int j : {427, 500, 511})
        EXPECT_DOUBLE_EQ(s[j].real(), top) << j;
    // A sample rate so low that one bin lies below 5 Hz: the value falls in proportion.
    Bench low(2048, 8000); // df = 1.953 Hz
    low.Run([](double) { return TComplex{2.0, 1.0}; });
    EXPECT_NEAR(low.window.Spectrum()[2].real(), 2.0 * (2 * 8000.0 / 4096) / low.F(0), 1e-12);
    EXPECT_NEAR(low.window.Spectrum()[2].imag(), 1.0 * (2 * 8000.0 / 4096) / low.F(0), 1e-12);
}

TEST(ImpResponse, ADelayedSumMovesThePeakByTheDelay)
{
    struct TCase {
        int points, fs;
        double delayMs;
    };
    for (const TCase c : {TCase{256, 44100, 1.0}, TCase{1024, 48000, 1.0}, TCase{4096, 44100, 2.5}}) {
        SCOPED_TRACE(c.delayMs);
        Bench b(c.points, c.fs);
        b.Run([&](double f) { return std::polar(1.0, -kTwoPi * f * c.delayMs / 1000.0); });
        const double peakTime = b.window.Times()[b.ArgMax()];
        EXPECT_NEAR(peakTime, c.delayMs, 1000.0 / c.fs);
        EXPECT_EQ(b.window.Samples()[b.ArgMax()], 1.0);
        // Little is left at t = 0: only the band above 20 kHz, which holds the 20 kHz
        // value, rings there.
        EXPECT_LT(std::fabs(b.window.Samples()[0]), 0.3);
    }
}

TEST(ImpResponse, FirstOrderCrossoverWithTheTweeterInvertedShowsPeaksOfOppositeSign)
{
    // Woofer 1 / (1 + s/wc), tweeter (s/wc) / (1 + s/wc), at 2 kHz; in phase they add to
    // a flat sum, with the tweeter inverted the tweeter's spike at t = 0 points down and
    // the woofer's slower hump follows above zero.
    const double fc = 2000;
    auto woofer = [&](double f) { return 1.0 / TComplex(1.0, f / fc); };
    auto tweeter = [&](double f) { return TComplex(0.0, f / fc) / TComplex(1.0, f / fc); };
    Bench inPhase(1024);
    inPhase.Run([&](double f) { return woofer(f) + tweeter(f); });
    EXPECT_EQ(inPhase.ArgMax(), 0);
    EXPECT_LT(inPhase.LargestOther(0), 0.01);

    Bench inverted(1024);
    inverted.Run([&](double f) { return woofer(f) - tweeter(f); });
    const double* y = inverted.window.Samples();
    EXPECT_EQ(inverted.ArgMin(), 0);
    EXPECT_LT(y[0], -1.0); // the tweeter's spike is larger than the woofer's hump
    const double peakMs = inverted.window.Times()[inverted.ArgMax()];
    EXPECT_GT(peakMs, 0.0);
    EXPECT_LT(peakMs, 1000.0 / (kTwoPi * fc) * 2);
    EXPECT_EQ(y[inverted.ArgMax()], 1.0);
}

TEST(ImpResponse, DisabledDamagedOrSilentInputsLeaveAUsableWindow)
{
    Bench b(256);
    b.Run([](double) { return TComplex{1.0, 0.0}; });
    ASSERT_TRUE(b.window.HasData());
    b.general.SetDisableIfft(true);
    b.window.Recalculate();
    EXPECT_FALSE(b.window.HasData());
    b.general.SetDisableIfft(false);

    // Silence has no positive peak: the samples stay unscaled (all 0), no division by 0.
    b.Run([](double) { return TComplex{}; });
    EXPECT_EQ(b.window.Peak(), 0.0);
    for (int i = 0; i < b.Shown(); ++i)
        ASSERT_EQ(b.window.Samples()[i], 0.0);

    // Non-finite values of a damaged response count as 0.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    b.Run([&](double f) { return f > 1000 && f < 1100 ? TComplex{nan, nan} : TComplex{1.0, 0.0}; });
    for (int i = 0; i < b.Shown(); ++i)
        ASSERT_TRUE(std::isfinite(b.window.Samples()[i])) << i;
    EXPECT_EQ(b.window.Samples()[0], 1.0);

    // No response at all transforms silence.
    b.window.SetResponse(nullptr);
    b.window.Recalculate();
    EXPECT_EQ(b.window.Peak(), 0.0);
}

TEST(ImpResponse, ResetKeepsTheCaptionAndClearsTheMusicSettingsAndARecalculationAllocatesNothing)
{
    Bench b(4096);
    b.window.musicScale = -12;
    b.window.musicHrtf = true;
    b.window.musicDialogX = 40;
    b.window.SetNote("first try");
    b.window.Reset();
    EXPECT_EQ(b.window.Caption(), "Impulse response");
    EXPECT_EQ(b.window.musicScale, 0.0);
    EXPECT_FALSE(b.window.musicHrtf);
    EXPECT_EQ(b.window.musicDialogX, 40); // where the dialog stands is kept
    EXPECT_EQ(b.window.Note(), "");
    EXPECT_EQ(b.window.PointCount(), 4096);
    // WAV is offered first, then raw PCM.
    EXPECT_EQ(b.window.musicInput.filter,
              "16 bit stereo WAV (*.wav)|*.wav|16 bit PCM (*.pcm)|*.pcm|All files (*.*)|*.*|");

    b.Run([](double) { return TComplex{1.0, 0.0}; });
    const long allocations = allocation_counter::During([&] { b.window.Recalculate(); });
    EXPECT_EQ(allocations, 0);
}

} // namespace
