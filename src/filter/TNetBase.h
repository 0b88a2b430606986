#pragma once
// What a filter project asks of each of its networks, simple or advanced: recompute on
// demand, expose the results over the filter grid, draw its schematic, keep its record.
// The project sums the networks' outputs ray by ray and combines the impedances of the
// passive ones; it never needs to know a network's topology.

#include "core/TBinaryStream.h"
#include "core/TComplex.h"
#include "settings/TFilterGrid.h"

#include <array>

class TCanvas;

class TNetBase {
public:
    // One row of acoustic output per ray of the surface-plot ray list.
    static constexpr int kMaxRays = 17;
    static constexpr int kPoints = TFilterGrid::kPoints;
    using TComplexRow = std::array<TComplex, kPoints>;
    using TRealRow = std::array<double, kPoints>;

    virtual ~TNetBase() = default;

    // The schematic: the components and drivers, then the values and names on top.
    virtual void DrawSchematic(TCanvas& canvas) = 0;
    virtual void DrawLabels(TCanvas& canvas) = 0;
    // Recomputes what is dirty; afterwards the results below are valid and the network
    // is clean. Only the rows of the current ray list are valid.
    virtual bool Calculate() = 0;

    // Back to the defaults of a new project.
    virtual void Reset() = 0;
    // The network and every part of it need recomputation.
    virtual void MarkDirty() = 0;
    // The network's record in the project file; version is the file's version.
    virtual bool ReadRecord(TBinaryReader& in, int version) = 0;
    virtual void WriteRecord(TBinaryWriter& out) const = 0;

    // Active networks have their own amplifier: they do not load the project's input.
    virtual bool Active() const { return false; }

    // a / b, or 0 where b vanishes: a shorted node passes nothing on.
    static TComplex SafeQuotient(const TComplex& a, const TComplex& b)
    {
        if (!(SquaredMagnitudeOf(b) >= 1e-200))
            return {};
        return DivComplex(a, b);
    }
    // The level in dB; squared magnitudes below 1e-30 read -300 dB, not minus infinity.
    static double LevelOf(const TComplex& z)
    {
        const double m2 = SquaredMagnitudeOf(z);
        return DecibelsOfSquared(m2 < 1e-30 ? 1e-30 : m2);
    }

    // ms per degree of phase difference per Hz of frequency span.
    static constexpr double kDelayFactor = -1000.0 / 360.0;
    // Group delay in ms of a phase curve in degrees over the frequencies f, from the two
    // neighbours of each point; a neighbour difference beyond `wrap` degrees is taken as
    // a jump of a full turn (the short way round). The ends take their neighbours' values.
    static void GroupDelayOf(const double* phase, const double* f, int count, double wrap, double* delay)
    {
        if (count < 3) {
            for (int i = 0; i < count; ++i)
                delay[i] = 0.0;
            return;
        }
        for (int i = 1; i < count - 1; ++i) {
            double d = phase[i + 1] - phase[i - 1];
            if (d > wrap)
                d -= 360.0;
            if (d < -wrap)
                d += 360.0;
            const double span = f[i + 1] - f[i - 1];
            delay[i] = span != 0.0 ? d * kDelayFactor / span : 0.0;
        }
        delay[0] = delay[1];
        delay[count - 1] = delay[count - 2];
    }

    const TComplexRow& InputImpedance() const { return inputImpedance_; }
    const TRealRow& ImpedanceMagnitude() const { return impedanceMagnitude_; }
    const TRealRow& ImpedancePhase() const { return impedancePhase_; }
    // Complex acoustic output along ray r of the ray list.
    const TComplexRow& Output(int ray) const { return output_[static_cast<std::size_t>(ray)]; }
    const TRealRow& Level(int ray) const { return level_[static_cast<std::size_t>(ray)]; }
    const TRealRow& OnAxisPhase() const { return onAxisPhase_; }
    const TRealRow& GroupDelay() const { return groupDelay_; }

protected:
    TComplexRow inputImpedance_{};
    TRealRow impedanceMagnitude_{};
    TRealRow impedancePhase_{}; // degrees
    std::array<TComplexRow, kMaxRays> output_{};
    std::array<TRealRow, kMaxRays> level_{}; // dB
    TRealRow onAxisPhase_{};                  // degrees
    TRealRow groupDelay_{};                   // ms
};
