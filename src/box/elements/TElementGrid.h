#pragma once
// The frequency grid as the elements see it: two blocks of up to 500 values and the
// number of points used. Plain pointers keep the elements independent of where a
// grid lives (the measurement setup, a test, an optimiser's copy).

#include "settings/TFreqGrid.h"

#include <algorithm>

struct TElementGrid {
    static constexpr int kMaxPoints = 500;

    const double* frequencies = nullptr; // Hz
    const double* omegas = nullptr;      // rad/s
    int count = 0;

    // The count a calculation may walk: never more than the arrays hold, never
    // negative, and 0 when a block is missing.
    int Points() const
    {
        if (!frequencies || !omegas)
            return 0;
        return std::clamp(count, 0, kMaxPoints);
    }

    static TElementGrid Of(const TFreqGrid& grid)
    {
        return {grid.Frequencies().data(), grid.Omegas().data(), grid.Count()};
    }
};
