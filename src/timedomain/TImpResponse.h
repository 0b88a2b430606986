#pragma once
// The impulse response window of a filter project: the project's complex on-axis sum
// over the 500-point filter grid is resampled onto the bins of the general settings'
// transform (N points at fs), mirrored into a two-sided spectrum and transformed back
// with the settings' own bit-reversal and twiddle tables. The mean is removed, the
// largest sample scaled to 1, and the first half is plotted over time in ms.
//
// The window also keeps what the filter-music dialog leaves with it (scale, the HRTF
// switch, its position and its two file choosers); the project file stores only the
// plain window record. Every array is made once; a recalculation allocates nothing.

#include "core/TComplex.h"
#include "plot/TPlotLinXLinY.h"
#include "settings/TGeneral.h"
#include "ui/THost.h"

#include <array>
#include <cstdint>

class TImpResponse : public TPlotLinXLinY {
public:
    static constexpr int kCapacity = TGeneral::kMaxTransform;
    static constexpr const char* kCaption = "Impulse response";
    // WAV first: it carries its own sample rate.
    static constexpr const char* kSoundFiles =
        "16 bit stereo WAV (*.wav)|*.wav|16 bit PCM (*.pcm)|*.pcm|All files (*.*)|*.*|";
    static constexpr const char* kMusicHelp = "simulate.txt";

    // general and the line style must outlive the window. It is made minimised and
    // without data.
    TImpResponse(THost& host, const TPlotStyles& styles, TCursorDialog* cursor, const TGeneral& general,
                 const TLineStyle& line);

    // The filter grid's response to transform: 500 values that must stay valid until the
    // next call (the project's on-axis row). nullptr transforms silence.
    void SetResponse(const TComplex* response) { response_ = response; }

    // The plot reset, N / 2 points, the caption, filter-music scale and HRTF off.
    void Reset();
    // After every simulation of the project: cleared while "Disable IFFT" is set,
    // otherwise the response is transformed, normalised and plotted.
    void Recalculate();

    // The shown half, as plotted and exported: time in ms and the normalised samples.
    const double* Times() const { return x_.data(); }
    const double* Samples() const { return y_.data(); }
    // The two-sided spectrum of the last recalculation (N values), which filter music
    // filters with.
    const TComplex* Spectrum() const { return spectrum_.data(); }
    // The same two-sided spectrum of the current response for another transform size n
    // (a power of two, 2 .. 8192) and sample rate fs, into bins[n]: what filter music
    // filters a file of its own rate with.
    void SpectrumFor(int n, double fs, TComplex* bins) const;
    // The time signal before mean removal (N values).
    const TComplex* Signal() const { return signal_.data(); }
    // The largest sample after mean removal, which the shown samples were divided by
    // (0 when none was positive: the samples are then shown unscaled).
    double Peak() const { return peak_; }

    // Filter-music settings, kept while the project lives.
    double musicScale = 0;  // dB
    bool musicHrtf = false; // "Simulate HRTF"
    std::int16_t musicDialogX = 0, musicDialogY = 0;
    // The chosen files are their initial names.
    TFileRequest musicInput{"Open", kSoundFiles, "wav", {}, {}};
    TFileRequest musicOutput{"Save as", kSoundFiles, "wav", {}, {}};

private:
    void BuildSpectrum(int n, double df, TComplex* bins) const;
    // In place on signal_: the permutation, then log2 n butterfly stages.
    void InverseTransform(int n, int log2n);
    const TGeneral& general_;
    const TLineStyle& line_;
    const TComplex* response_ = nullptr;
    double peak_ = 0;
    // Logarithms of the bin numbers, made once: with the grid's own logarithms the
    // interpolation on log f takes no logarithm per bin.
    std::array<double, kCapacity / 2> logBin_{};
    std::array<TComplex, kCapacity> spectrum_{};
    std::array<TComplex, kCapacity> signal_{};
    std::array<double, kCapacity> x_{}, y_{};
};
