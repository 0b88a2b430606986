#include "timedomain/TImpResponse.h"

#include <algorithm>
#include <cmath>

namespace {
bool Finite(const TComplex& z) { return std::isfinite(z.real()) && std::isfinite(z.imag()); }
} // namespace

TImpResponse::TImpResponse(THost& host, const TPlotStyles& styles, TCursorDialog* cursor, const TGeneral& general,
                           const TLineStyle& line)
    : TPlotLinXLinY(host, kCaption, styles, cursor, 114, 290, 2, kCapacity), general_(general), line_(line)
{
    SetXUnit("ms");
    SetYUnit("");
    SetXData(x_.data());
    AddCurve(y_.data(), line_, "Output", false);
    for (std::size_t j = 1; j < logBin_.size(); ++j)
        logBin_[j] = std::log(static_cast<double>(j));
    Reset();
}

void TImpResponse::Reset()
{
    ResetPlot();
    SetPointCount(std::clamp(general_.TransformSize(), TGeneral::kMinTransform, kCapacity) / 2);
    SetCaption(kCaption);
    musicScale = 0;
    musicHrtf = false;
}

void TImpResponse::Recalculate()
{
    if (general_.DisableIfft()) {
        DataCleared();
        return;
    }
    const int log2n = general_.Log2TransformSize();
    const int n = 1 << std::clamp(log2n, 1, 13);
    // Settings the dialog never offers are refused by their reader; this only keeps a
    // damaged value from reaching past the tables.
    if (n != general_.TransformSize() || n < TGeneral::kMinTransform || n > kCapacity || general_.SampleRate() <= 0) {
        DataCleared();
        return;
    }
    const int half = n / 2;
    const double fs = general_.SampleRate();
    BuildSpectrum(n, fs / n, spectrum_.data());
    InverseTransform(n, log2n);

    const double step = 1.0 / fs * 1000.0;
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        x_[k] = i * step;
        y_[k] = signal_[k].real();
        sum += y_[k];
    }
    const double mean = sum / n;
    double peak = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(half); ++i) {
        y_[i] -= mean;
        peak = std::max(peak, y_[i]);
    }
    // Nothing positive is left unscaled rather than divided by 0.
    peak_ = std::isfinite(peak) ? peak : 0;
    if (peak_ > 0)
        for (std::size_t i = 0; i < static_cast<std::size_t>(half); ++i)
            y_[i] /= peak_;

    SetPointCount(half);
    xMinimum = 0;
    xMaximum = x_[static_cast<std::size_t>(half - 1)];
    FitYRange(0);
    DataReady();
    Redraw();
}

void TImpResponse::SpectrumFor(int n, double fs, TComplex* bins) const
{
    if (n < 2 || n > kCapacity || (n & (n - 1)) != 0 || !(fs > 0) || !std::isfinite(fs)) {
        std::fill(bins, bins + std::max(n, 0), TComplex{});
        return;
    }
    BuildSpectrum(n, fs / n, bins);
}

void TImpResponse::BuildSpectrum(int n, double df, TComplex* bins) const
{
    const TFilterGrid& grid = general_.FilterGrid();
    const int points = grid.Count();
    const double* f = grid.Frequencies().data();
    const double* logF = grid.Logarithms().data();
    const double lowest = f[0], highest = f[points - 1];
    const double logDf = std::log(df);
    const int half = n / 2;
    auto h = [this](int r) {
        const TComplex v = response_[r];
        return Finite(v) ? v : TComplex{};
    };
    int r = 0;
    for (int j = 0; j < half; ++j) {
        TComplex v{};
        if (response_) {
            const double fj = j * df;
            while (r < points && fj > f[r])
                ++r;
            if (fj < lowest) {
                // Down to 0 Hz in proportion to the frequency.
                v = h(0) * (fj / lowest);
            } else if (fj > highest || r == points) {
                v = h(r - 1);
            } else if (r == 0) {
                v = h(0);
            } else {
                // On log f between the grid points around the bin: log(f / fa) / log(fb / fa).
                const double la = logF[r - 1];
                const double t = (logBin_[static_cast<std::size_t>(j)] + logDf - la) / (logF[r] - la);
                const TComplex a = h(r - 1), b = h(r);
                v = TComplex(t * b.real() + (1 - t) * a.real(), t * b.imag() + (1 - t) * a.imag());
            }
        }
        bins[j] = v;
        if (j > 0)
            bins[n - j] = std::conj(v);
    }
    bins[0] = TComplex{};
    bins[half] = TComplex{};
}

void TImpResponse::InverseTransform(int n, int log2n)
{
    const auto& reverse = general_.BitReversal();
    const auto& twiddles = general_.Twiddles();
    TComplex* t = signal_.data();
    for (int i = 0; i < n; ++i)
        t[i] = spectrum_[static_cast<std::size_t>(reverse[static_cast<std::size_t>(i)])];
    // The first stage's twiddle is 1: sums and differences only.
    for (int p = 0; p + 1 < n; p += 2) {
        const TComplex a = t[p], b = t[p + 1];
        t[p] = a + b;
        t[p + 1] = a - b;
    }
    // The products written out in real arithmetic: the library's complex product checks
    // every result for NaN, which costs more than the product itself.
    double* v = reinterpret_cast<double*>(t);
    const double* w = reinterpret_cast<const double*>(twiddles.data());
    for (int stage = 2; stage <= log2n; ++stage) {
        const int span = 1 << stage, halfSpan = span / 2, stride = n / span;
        for (int start = 0; start < n; start += span) {
            for (int p = 0; p < halfSpan; ++p) {
                double* a = v + 2 * (start + p);
                double* b = a + 2 * halfSpan;
                const double* tw = w + 2 * p * stride;
                const double mr = tw[0] * b[0] - tw[1] * b[1];
                const double mi = tw[0] * b[1] + tw[1] * b[0];
                const double ar = a[0], ai = a[1];
                a[0] = ar + mr;
                a[1] = ai + mi;
                b[0] = ar - mr;
                b[1] = ai - mi;
            }
        }
    }
}
