#pragma once
// Where the listener of the off-axis responses sits: the plane of the rays and the
// distance. The general settings hold it; the transformation of measured responses
// to a listening position reads it.

struct TListeningSetup {
    bool vertical = true;  // the rays lie in the vertical plane (the second coordinate is in the plane)
    bool infinite = true;  // far field: directions only, no distance
    double distance = 1.0; // listening distance in metres when infinite is off
};
