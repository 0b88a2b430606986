#include "box/TBoxPipeline.h"

#include "driver/TSpeakerObject.h"
#include "settings/TMeasSetup.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kDegrees = 57.29577951307855;
}

namespace TBoxPipeline {

void CoupleDriver(TSpeakerObject& driver, std::span<TComplex> acousticLoad, std::span<TComplex> motionalImpedance,
                  std::span<double> impedancePhase, int n, bool withImpedance)
{
    const TConnFactors k = driver.TotalFactors();
    const bool isobaric = driver.isobaric;
    const bool halveForCoil = driver.HasDoubleVoiceCoil() && !driver.HasLoadResistor();
    const double sd2 = driver.Sd * driver.Sd;
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        TComplex& zt = acousticLoad[j];
        if (isobaric)
            zt += driver.mechImpedance[j];
        if (halveForCoil)
            zt *= 0.5;
        TComplex z = isobaric ? zt * 0.5 : zt;
        const double bl = driver.forceFactor[j];
        TComplex zm = DivComplex(bl * bl, z * sd2);
        motionalImpedance[j] = zm;
        TComplex zc = zm + driver.coilResistance[j];
        driver.coilImpedance[j] = zc;
        if (withImpedance) {
            TComplex zin = zc + driver.coilInductance[j];
            driver.impedanceMagnitude[j] = MagnitudeOf(k.kZ * zin);
        }
    }
    if (!withImpedance)
        return;
    // The phases a block at a time, which lets them go two by two.
    constexpr int kBlock = 64;
    TComplex input[kBlock];
    for (int from = 0; from < n; from += kBlock) {
        const int count = std::min(kBlock, n - from);
        for (int i = 0; i < count; ++i) {
            const std::size_t j = static_cast<std::size_t>(from + i);
            input[i] = driver.coilImpedance[j] + driver.coilInductance[j];
        }
        PhasesOf(input, impedancePhase.data() + from, count, kDegrees);
    }
}

void DriveDriver(TSpeakerObject& driver, const TMeasSetup& setup, std::span<const TComplex> acousticLoad)
{
    const TFreqGrid& grid = setup.grid;
    const int n = grid.Count();
    const TConnFactors k = driver.TotalFactors();
    const double sd = driver.Sd;
    // The force of the current, over the area, drives the load: the volume velocity is
    // u·Bl·(2 if isobaric)/Sd over (Zcoil + Zsource)·Zload, one complex quotient.
    const double drive = (driver.isobaric ? 2.0 : 1.0) / sd;
    // Without the high-pass the generator is the same at every frequency.
    const bool flat = setup.highPassCutoff == 0;
    const TComplex flatU = setup.SourceVoltage(0.0) * k.kU;
    const double rs = setup.sourceResistance * k.kR;
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        const double w = grid.Omega(i);
        const TComplex u = flat ? flatU : setup.SourceVoltage(w) * k.kU;
        const TComplex zs(rs, w * setup.sourceInductance * k.kR);
        const double scale = driver.forceFactor[j] * drive;
        const TComplex num(u.real() * scale, u.imag() * scale);
        const TComplex den = MulComplex(driver.coilImpedance[j] + zs, acousticLoad[j]);
        const double den2 = SquaredMagnitudeOf(den);
        // One division gives both 1/|den|² and the excursion's 1/(Sd·ω).
        const double sdw = sd * w;
        const double inv = 1.0 / (den2 * sdw);
        const double r = inv * sdw;
        const TComplex q((num.real() * den.real() + num.imag() * den.imag()) * r,
                         (num.imag() * den.real() - num.real() * den.imag()) * r);
        driver.volumeVelocity[j] = q;
        driver.excursion[j] = MagnitudeOf(q) * (inv * den2) * 1000.0 * 2.828;
    }
}

void Levels(std::span<const TComplex> pressure, std::span<double> spl, std::span<double> phase, int n,
            bool withPhase)
{
    // The squared magnitudes first, then their levels in one pass that takes two at a time.
    bool silent = false;
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        const double m2 = SquaredMagnitudeOf(pressure[j]);
        spl[j] = m2;
        silent |= !(m2 > 0);
    }
    DecibelsOfSquaredInPlace(spl.data(), n);
    if (withPhase)
        PhasesOf(pressure.data(), phase.data(), n, kDegrees);
    if (!silent)
        return;
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        if (!(SquaredMagnitudeOf(pressure[j]) > 0))
            phase[j] = 0;
    }
}

void GroupDelay(const TFreqGrid& grid, std::span<const double> phase, std::span<double> groupDelay,
                bool clipSeamSpikes)
{
    const int n = grid.Count();
    if (n < 3)
        return;
    for (int i = 1; i <= n - 2; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        double d = phase[j + 1] - phase[j - 1];
        if (d > 180)
            d -= 360;
        if (d < -180)
            d += 360;
        groupDelay[j] = -2.7777777777777777 * d / (grid.Frequency(i + 1) - grid.Frequency(i - 1));
    }
    groupDelay[0] = groupDelay[1];
    groupDelay[static_cast<std::size_t>(n - 1)] = groupDelay[static_cast<std::size_t>(n - 2)];
    if (clipSeamSpikes && n >= 7) {
        // Spikes at the seam are clipped against the neighbours three points away,
        // taken from the unclipped values.
        double previous[3] = {groupDelay[0], groupDelay[1], groupDelay[2]};
        for (int i = 3; i <= n - 4; ++i) {
            const std::size_t j = static_cast<std::size_t>(i);
            double original = groupDelay[j];
            double left = previous[i % 3];
            groupDelay[j] = std::min(original, left + groupDelay[j + 3]);
            previous[i % 3] = original;
        }
    }
}

double SearchMinus3dB(const TFreqGrid& grid, std::span<const double> spl, int transitionIndex)
{
    const int n = grid.Count();
    if (n <= 0)
        return 0;
    const int r = transitionIndex != -1 ? transitionIndex : n;
    if (r <= 0)
        return 0;
    const double reference = spl[static_cast<std::size_t>(r - 1)] - 3.0;
    int k = 0;
    while (k < r && spl[static_cast<std::size_t>(k)] <= reference)
        ++k;
    if (k == r || k == 0)
        return 0;
    const double a = spl[static_cast<std::size_t>(k)], b = spl[static_cast<std::size_t>(k - 1)];
    if (a == b)
        return grid.Frequency(k);
    const double c = (a - reference) / (a - b);
    return c * grid.Frequency(k - 1) + (1.0 - c) * grid.Frequency(k);
}

} // namespace TBoxPipeline
