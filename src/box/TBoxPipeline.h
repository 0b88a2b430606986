#pragma once
// The arithmetic every box type shares, on the per-frequency blocks: the driver coupled
// to the box's acoustic load, driven by the generator, and the pressure turned into
// levels, phases and group delay. Blocks in, blocks out; nothing here knows a window.

#include "core/TComplex.h"

#include <span>

class TFreqGrid;
class TMeasSetup;
class TSpeakerObject;

namespace TBoxPipeline {

// The level in dB of a pressure relative to 20 µPa; 0 where there is no pressure at all,
// as the total reads there.
inline double LevelOf(const TComplex& p)
{
    const double m2 = SquaredMagnitudeOf(p);
    return m2 > 0 ? DecibelsOfSquared(m2) : 0.0;
}

// The motional impedance of the driver on its load and the voice coil's impedance; with
// withImpedance also the input impedance's magnitude (into the driver) and phase.
void CoupleDriver(TSpeakerObject& driver, std::span<TComplex> acousticLoad, std::span<TComplex> motionalImpedance,
                  std::span<double> impedancePhase, int n, bool withImpedance);
// Current, force, volume velocity and cone excursion from the generator.
void DriveDriver(TSpeakerObject& driver, const TMeasSetup& setup, std::span<const TComplex> acousticLoad);
// SPL in dB and, with withPhase, the phase in degrees of each pressure.
void Levels(std::span<const TComplex> pressure, std::span<double> spl, std::span<double> phase, int n,
            bool withPhase);
// Group delay in ms from the phase; clipSeamSpikes clips the spikes where imported data
// join the simulation.
void GroupDelay(const TFreqGrid& grid, std::span<const double> phase, std::span<double> groupDelay,
                bool clipSeamSpikes);
// The -3 dB point in Hz below the transition index (n without imported data), 0 when
// there is none.
double SearchMinus3dB(const TFreqGrid& grid, std::span<const double> spl, int transitionIndex);

} // namespace TBoxPipeline
