#pragma once
// The lower and upper -3 dB points of a band-pass response. The reference is the level
// of the passband: the top of a single hump, or, when the response has two humps, the
// dip between them (the last one when there are several), so that a response with a
// sagging middle still reports the band the humps enclose.

struct TMinus3dBPair {
    double lower = 0; // Hz, 0 when the response never rises within 3 dB of the reference
    double upper = 0; // Hz, 0 when it is still within 3 dB at the last point
    double reference = 0; // dB
};

// spl and f hold n values (levels in dB, frequencies in Hz, rising).
TMinus3dBPair FindMinus3dBPair(const double* spl, const double* f, int n);
