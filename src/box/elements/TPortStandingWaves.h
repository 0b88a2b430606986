#pragma once
// How the pipe resonances of the ports colour the response above the pass band of a
// bandpass box: a copy of the SPL curve with a peak added at every multiple of the
// port's first half-wave resonance, growing with (f / fu)² above the upper −3 dB
// point fu. Below fu the copy equals the SPL curve.

#include "box/elements/TElementGrid.h"

// spl and modes hold the grid's point count of values (modes may be spl itself).
// fu: the upper −3 dB frequency, 0 when there is none (the copy is then unchanged);
// portLength: the reference port length in m.
void PortStandingWaves(const TElementGrid& grid, const double* spl, double fu, double portLength, double* modes);
