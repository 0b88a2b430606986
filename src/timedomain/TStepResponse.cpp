#include "timedomain/TStepResponse.h"

#include "core/TBinaryStream.h"
#include "plot/TSafeFormat.h"
#include "settings/TMeasSetup.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// 2π/1000 as the burst is written: x in ms, the frequency in Hz.
constexpr double kTwoPiPerMs = 0.00628318530718;
constexpr double kInverseHalf = 0.001953125; // 1 / 512

bool Finite(double v) { return std::isfinite(v); }

} // namespace

TStepResponse::TStepResponse(THost& host, const TPlotStyles& styles, TCursorDialog* cursor, const TComplex* response,
                             const TMeasSetup& setup)
    : TPlotLinXLinY(host, "Impulse response", styles, cursor, 114, 290, 2, kLength), response_(response), setup_(setup),
      fft_(kLength), spectrum_(kLength), signal_(kLength), burstConvolution_(2 * kLength), work_(kLength),
      burstWork_(2 * kLength)
{
    SetXUnit("ms");
    SetYUnit("");
    SetXData(x_.data());
    AddCurve(output_.data(), outputStyle_, "Output", false);
    AddCurve(input_.data(), inputStyle_, "Input", false);
    for (int i = 0; i < kLength; ++i)
        x_[static_cast<std::size_t>(i)] = i * settings_.timeStep;
    for (std::size_t j = 1; j < kHalf; ++j)
        logBin_[j] = std::log(static_cast<double>(j));
    ApplySettings();
}

TStepResponse::~TStepResponse() = default;

std::string TStepResponse::CaptionFor(const TStepRespSettings& settings)
{
    switch (settings.kind) {
    case TStepRespSettings::Step: return "Step response";
    case TStepRespSettings::ToneBurst:
        return "Tone burst resp. " + SafeFormat("%2.1f", settings.burstFrequency) + " Hz, " +
               std::to_string(settings.periods) + " periods";
    default: return "Impulse response";
    }
}

bool TStepResponse::OfferedTimeStep(double ms)
{
    for (double step : kTimeSteps)
        if (std::fabs(ms - step) <= step * 1e-9)
            return true;
    return false;
}

TStepRespSettings TStepResponse::Usable(const TStepRespSettings& settings)
{
    TStepRespSettings s = settings;
    if (s.kind != TStepRespSettings::Step && s.kind != TStepRespSettings::ToneBurst)
        s.kind = TStepRespSettings::Impulse;
    double best = kTimeSteps[0];
    if (Finite(s.timeStep))
        for (double step : kTimeSteps)
            if (std::fabs(s.timeStep - step) < std::fabs(s.timeStep - best))
                best = step;
    s.timeStep = best;
    s.burstFrequency = Finite(s.burstFrequency) ? std::clamp(s.burstFrequency, kMinBurst, kMaxBurst) : 50.0;
    s.periods = static_cast<std::int16_t>(std::clamp<int>(s.periods, kMinPeriods, kMaxPeriods));
    s.curvesShown = static_cast<std::int16_t>(std::clamp<int>(s.curvesShown, 1, 2));
    return s;
}

void TStepResponse::ApplySettings()
{
    const TStepRespSettings s = Usable(settings_);
    SetCaption(CaptionFor(s));
    SetPointCount(s.ShownPoints());
    // Only a tone burst shows its input.
    SetShownCurves(s.kind == TStepRespSettings::ToneBurst ? s.curvesShown : 1);
}

void TStepResponse::ResetToDefaults()
{
    ResetPlot();
    settings_.Reset();
    ApplySettings();
    DataCleared();
}

bool TStepResponse::ReadRecord(TBinaryReader& in)
{
    TStepRespSettings s = settings_;
    if (!s.Read(in))
        return false;
    const bool usable = s.kind >= TStepRespSettings::Impulse && s.kind <= TStepRespSettings::ToneBurst &&
                        Finite(s.burstFrequency) && s.burstFrequency >= kMinBurst && s.burstFrequency <= kMaxBurst &&
                        s.periods >= kMinPeriods && s.periods <= kMaxPeriods && s.curvesShown >= 1 &&
                        s.curvesShown <= 2 && OfferedTimeStep(s.timeStep);
    if (!usable)
        return false;
    TBinaryReader record(std::vector<std::uint8_t>(s.windowRecord.begin(), s.windowRecord.end()));
    if (!ReadWindowRecord(record))
        return false;
    settings_ = s;
    ApplySettings();
    return true;
}

void TStepResponse::WriteRecord(TBinaryWriter& out) const
{
    TBinaryWriter record;
    WriteWindowRecord(record);
    TStepRespSettings s = settings_;
    std::copy_n(record.Bytes().begin(), std::min(record.Bytes().size(), s.windowRecord.size()), s.windowRecord.begin());
    s.Write(out);
}

bool TStepResponse::SavePreferences(const std::string& path) const
{
    TBinaryWriter out;
    WriteRecord(out);
    return out.SaveTo(path);
}

void TStepResponse::Paint(TCanvas& canvas)
{
    BringUpToDate();
    TPlotLinXLinY::Paint(canvas);
}

void TStepResponse::Update(bool newSpectrum)
{
    // A deferred new response is made with whatever update comes first.
    newSpectrum = newSpectrum || deferred_;
    deferred_ = false;
    if (!settings_.enabled)
        return;
    const TStepRespSettings s = Usable(settings_);
    if (newSpectrum)
        MakeImpulseResponse(s.timeStep);
    for (int i = 0; i < kLength; ++i)
        x_[static_cast<std::size_t>(i)] = i * s.timeStep;
    const TInputKey key{s.kind, s.timeStep, s.burstFrequency, s.periods, measured_};
    if (!(key == inputKey_)) {
        MakeInput(s, burstEnd_);
        inputKey_ = key;
    }
    if (s.kind == TStepRespSettings::ToneBurst)
        ToneBurstOutput(burstEnd_);
    else
        ImpulseOrStepOutput();
    Normalise(s.kind == TStepRespSettings::ToneBurst ? kLength : kHalf);
    SetPointCount(s.ShownPoints());
    xMinimum = 0;
    xMaximum = x_[static_cast<std::size_t>(std::max(0, PointCount() - 1))];
    DataReady();
    Redraw();
}

void TStepResponse::MakeImpulseResponse(double timeStep)
{
    const TFreqGrid& grid = setup_.grid;
    const int count = std::min(grid.Count(), TFreqGrid::kMaxPoints);
    TComplex* bins = spectrum_.data();
    std::fill(bins, bins + kLength, TComplex{});
    if (count > 0 && response_) {
        const double df = 1000.0 / timeStep / kLength;
        const double lower = setup_.startFrequency, upper = setup_.stopFrequency;
        const double f0 = grid.Frequency(0);
        const double* frequencies = grid.Frequencies().data();
        if (count != gridCount_ || !std::equal(frequencies, frequencies + count, gridFrequency_.begin())) {
            std::copy_n(frequencies, count, gridFrequency_.begin());
            for (int i = 0; i < count; ++i)
                gridLog_[static_cast<std::size_t>(i)] = std::log(frequencies[i]);
            gridCount_ = count;
        }
        const double logDf = std::log(df);
        int r = 0;
        for (int j = 1; j < kHalf; ++j) {
            const double f = j * df;
            while (r < count && f > grid.Frequency(r))
                ++r;
            TComplex v;
            if (f < lower) {
                // Below the grid the response falls in proportion to the frequency.
                v = f0 > 0 ? response_[0] * (f / f0) : TComplex{};
            } else if (f <= upper && r < count) {
                if (r == 0) {
                    v = response_[0];
                } else {
                    // log(f / fa) / log(fb / fa), from the tables.
                    const double la = gridLog_[static_cast<std::size_t>(r - 1)];
                    const double span = gridLog_[static_cast<std::size_t>(r)] - la;
                    const double t = span > 0 ? (logBin_[static_cast<std::size_t>(j)] + logDf - la) / span : 1.0;
                    v = TComplex(t * response_[r].real() + (1 - t) * response_[r - 1].real(),
                                 t * response_[r].imag() + (1 - t) * response_[r - 1].imag());
                }
            } else {
                // Above the grid the last value holds.
                v = response_[std::max(r - 1, 0)];
            }
            if (!Finite(v.real()) || !Finite(v.imag()))
                v = TComplex{};
            bins[j] = v;
            bins[kLength - j] = std::conj(v);
        }
    }
    fft_.transform(spectrum_, signal_, true);
    const TComplex* time = signal_.data();
    for (int i = 0; i < kLength; ++i)
        h_[static_cast<std::size_t>(i)] = time[i].real();
}

void TStepResponse::MakeInput(const TStepRespSettings& s, int& burstEnd)
{
    std::fill(input_.begin(), input_.end(), 0.0);
    burstEnd = 0;
    switch (s.kind) {
    case TStepRespSettings::Step:
        for (std::size_t i = 0; i < kHalf; ++i)
            input_[i] = measured_ ? 1.0 : 1.0 - std::exp(-4.0 * x_[i]);
        break;
    case TStepRespSettings::ToneBurst: {
        const double end = s.periods / s.burstFrequency / x_[1] * 1000.0;
        burstEnd = end >= kLength - 1 ? kLength - 1 : static_cast<int>(end);
        for (int i = 0; i <= burstEnd; ++i) {
            const auto k = static_cast<std::size_t>(i);
            input_[k] = 0.3 * std::sin(kTwoPiPerMs * x_[k] * s.burstFrequency);
        }
        break;
    }
    default:
        if (measured_)
            input_[0] = 1.0;
        else
            for (std::size_t i = 0; i < kHalf; ++i)
                input_[i] = std::exp(-4.0 * x_[i]);
        break;
    }
}

void TStepResponse::Convolve(Rad2FFT& fft, CVector& work, const double* a, int na, const double* b, int nb, int count)
{
    // a in the real parts, b in the imaginary parts: one forward transform gives both
    // spectra, A(k) = (Z(k) + conj Z(n - k)) / 2 and B(k) = (Z(k) - conj Z(n - k)) / 2j.
    const int n = fft.length();
    TComplex* z = work.data();
    for (int i = 0; i < n; ++i)
        z[i] = TComplex(i < na ? a[i] : 0.0, i < nb ? b[i] : 0.0);
    fft.transform(work, work, false);
    // A(k)·B(k) = (Z(k)² - conj Z(n - k)²) / 4j, filled in pairs so each pair reads its
    // two values before either is written.
    const TComplex quarterByJ(0, -0.25);
    for (int k = 0; k <= n / 2; ++k) {
        const int m = (n - k) % n;
        const TComplex zk = z[k], zm = z[m];
        const TComplex pk = (zk * zk - std::conj(zm) * std::conj(zm)) * quarterByJ;
        const TComplex pm = (zm * zm - std::conj(zk) * std::conj(zk)) * quarterByJ;
        z[k] = pk;
        z[m] = pm;
    }
    fft.transform(work, work, true);
    const double scale = 1.0 / n;
    for (int i = 0; i < count; ++i)
        output_[static_cast<std::size_t>(i)] = z[i].real() * scale;
}

void TStepResponse::ImpulseOrStepOutput()
{
    Convolve(fft_, work_, input_.data(), kHalf, h_.data(), kHalf, kHalf);
    double sum = 0;
    for (std::size_t i = 0; i < kHalf; ++i)
        sum += output_[i];
    const double mean = sum * kInverseHalf;
    for (std::size_t i = 0; i < kHalf; ++i)
        output_[i] -= mean;
    std::fill(output_.begin() + kHalf, output_.end(), 0.0);
}

void TStepResponse::ToneBurstOutput(int burstEnd)
{
    smoothed_[0] = h_[0];
    for (std::size_t i = 1; i < kLength; ++i) {
        if (measured_)
            smoothed_[i] = i < kHalf ? h_[i] : 0.0;
        else
            smoothed_[i] = 0.6 * smoothed_[i - 1] + (i < kHalf ? h_[i] : 0.0);
    }
    Convolve(burstConvolution_, burstWork_, input_.data(), burstEnd + 1, smoothed_.data(), kLength, kLength);
}

void TStepResponse::Normalise(int count)
{
    double largest = 0, smallest = 0, magnitude = 0;
    for (int i = 0; i < count; ++i) {
        const double v = output_[static_cast<std::size_t>(i)];
        largest = std::max(largest, v);
        smallest = std::min(smallest, v);
        magnitude = std::max(magnitude, std::fabs(v));
    }
    // An output that never rises above 0 is scaled by its largest magnitude instead, and
    // one that is 0 throughout stays 0: no division by 0.
    const double scale = largest > 0 ? largest : (magnitude > 0 ? magnitude : 1.0);
    if (!Finite(scale)) {
        std::fill(output_.begin(), output_.end(), 0.0);
        yMinimum = -1;
        yMaximum = 1;
        return;
    }
    for (double& v : output_)
        v /= scale;
    yMaximum = 1;
    yMinimum = smallest / scale;
    if (yMinimum >= yMaximum)
        yMinimum = -1;
}
