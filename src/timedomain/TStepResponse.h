#pragma once
// The transient response window of a box project: the box's complex on-axis response
// over the shared frequency grid becomes a 1024-point impulse response (inverse radix-2
// transform of the spectrum resampled on the transform's bins), which is convolved with
// an impulse, a step or a tone burst; the normalised output is plotted over time in ms,
// optionally with the input.
//
// The window keeps its settings (TStepRespSettings) and stores them, with its window
// record, as the 95-byte block of the project file. Every array is made once; an update
// allocates nothing.

#include "core/CVector.h"
#include "core/Rad2FFT.h"
#include "core/TComplex.h"
#include "plot/TPlotLinXLinY.h"
#include "settings/TFreqGrid.h"
#include "timedomain/TStepRespSettings.h"

#include <array>
#include <cstdint>
#include <string>

class TMeasSetup;

class TStepResponse : public TPlotLinXLinY {
public:
    static constexpr int kLength = 1024;
    static constexpr int kHalf = kLength / 2;
    // The resolutions the dialog offers, ms per sample.
    static constexpr std::array<double, 7> kTimeSteps{0.025, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0};
    static constexpr double kMinBurst = 10, kMaxBurst = 500;
    static constexpr int kMinPeriods = 1, kMaxPeriods = 20;

    using TBlock = std::array<double, kLength>;

    // response: the project's complex pressure over the setup's grid (at least the grid's
    // point count of values); both must outlive the window. It is made minimised and
    // without data.
    TStepResponse(THost& host, const TPlotStyles& styles, TCursorDialog* cursor, const TComplex* response,
                  const TMeasSetup& setup);
    ~TStepResponse() override;

    const TStepRespSettings& Settings() const { return settings_; }
    // Changes go through here and are followed by ApplySettings.
    TStepRespSettings& Settings() { return settings_; }
    // Caption, shown points and shown curves follow the settings.
    void ApplySettings();
    // The defaults, minimised, no note, no data.
    void ResetToDefaults();

    // The stored block: the window record, then the settings. A short block or one with
    // values the dialog never writes is refused and changes nothing.
    [[nodiscard]] bool ReadRecord(TBinaryReader& in);
    void WriteRecord(TBinaryWriter& out) const;
    // The same block as a file ("stepresp.prf"); false when it could not be written.
    [[nodiscard]] bool SavePreferences(const std::string& path) const;

    // The driver's imported response is in use: the inputs are the plain impulse and
    // step, and the tone burst uses the impulse response as it is.
    void SetMeasuredInput(bool measured) { measured_ = measured; }
    bool MeasuredInput() const { return measured_; }

    // Nothing while calculation is disabled. newSpectrum: the box response changed (or
    // the time step did), so the impulse response is made again.
    void Update(bool newSpectrum);
    // The transforms cost as much as a box calculation and the window is usually
    // minimised: the project then only marks the box response as new, and the first
    // reader (the window's painting or printing, the curves below) makes the update.
    void Defer() { deferred_ = true; }
    bool Deferred() const { return deferred_; }
    void BringUpToDate()
    {
        if (deferred_)
            Update(true);
    }
    void Paint(TCanvas& canvas) override;

    // The curves, brought up to date first.
    const TBlock& Times() { BringUpToDate(); return x_; }
    const TBlock& Impulse() { BringUpToDate(); return h_; }
    const TBlock& Input() { BringUpToDate(); return input_; }
    const TBlock& Output() { BringUpToDate(); return output_; }
    // The transform bins, 0 .. 1023, as the last new spectrum left them.
    const CVector& Spectrum() const { return spectrum_; }

    // "Impulse response", "Step response" or "Tone burst resp. 50.0 Hz, 3 periods".
    static std::string CaptionFor(const TStepRespSettings& settings);
    // One of the offered resolutions (to a relative 1e-9).
    static bool OfferedTimeStep(double ms);
    // Values an update can use whatever the settings hold: a time step off the list
    // becomes the nearest offered one, frequency and periods are held to their ranges,
    // an unknown kind is an impulse.
    static TStepRespSettings Usable(const TStepRespSettings& settings);

    // Where the dialog stands, kept while the project lives.
    std::int16_t dialogX = 0, dialogY = 0;

private:
    void MakeImpulseResponse(double timeStep);
    void MakeInput(const TStepRespSettings& s, int& burstEnd);
    void ImpulseOrStepOutput();
    void ToneBurstOutput(int burstEnd);
    // output[0, count) = the start of the linear convolution of a[0, na) and b[0, nb),
    // through fft and its work row; na + nb - 1 must not exceed the transform's length.
    void Convolve(Rad2FFT& fft, CVector& work, const double* a, int na, const double* b, int nb, int count);
    // Divides by the largest value and sets the y range; x from 0 to the last shown point.
    void Normalise(int count);

    const TComplex* response_;
    const TMeasSetup& setup_;
    TStepRespSettings settings_;
    bool measured_ = false;
    bool deferred_ = false;
    // What the input was made for: it is made again only when one of these changed.
    struct TInputKey {
        std::int16_t kind = -1;
        double timeStep = 0, burstFrequency = 0;
        std::int16_t periods = 0;
        bool measured = false;
        bool operator==(const TInputKey&) const = default;
    } inputKey_;
    int burstEnd_ = 0;
    // Logarithms for the interpolation on log f: of the bin numbers (made once) and of the
    // grid frequencies (made again only when the grid changed), so an update takes two
    // instead of a thousand.
    std::array<double, kHalf> logBin_{};
    std::array<double, TFreqGrid::kMaxPoints> gridFrequency_{}, gridLog_{};
    int gridCount_ = -1;
    TLineStyle outputStyle_{TColors::Black, 3, TDash::Solid};
    TLineStyle inputStyle_{TColors::Red, 1, TDash::DashDot};
    Rad2FFT fft_;
    CVector spectrum_;
    CVector signal_;
    // The convolutions go through transforms long enough for no wrap-around (1024 points
    // for impulse and step, 2048 for the burst): a direct sum takes 0.1 to 0.5 million
    // products per update, far more than the calculation it follows.
    Rad2FFT burstConvolution_;
    CVector work_;
    CVector burstWork_;
    TBlock x_{}, h_{}, smoothed_{}, input_{}, output_{};
};
