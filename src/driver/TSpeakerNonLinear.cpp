// The non-linear driver terms between the passes of a calculation, and the excursion
// limit after them. Both use Xmax (peak to peak, m) against the excursion (mm p-p).
#include "TSpeakerObject.h"

#include <algorithm>
#include <cmath>

void TSpeakerObject::UpdateNonLinear(const TFreqGrid& grid, int completedPasses, int passes)
{
    if (passes < 1 || completedPasses < 1 || completedPasses >= passes)
        return;
    // The damping of a shorted coil follows the force factor of the last pass.
    if (HasLoadResistor())
        ComputeMechImpedance(grid);
    const bool haveXmax = Xmax > 0.0;
    if (cmsNonLinear && haveXmax)
        ReduceCompliance(grid);
    if (blNonLinear && haveXmax) {
        const double limit = Xmax * 1000.0;
        // The force factor falls off beyond Xmax, eased in over the passes so that the
        // excursion it depends on can follow.
        const double share = completedPasses * 0.5 / passes;
        const int n = grid.Count();
        for (int i = 0; i < n; ++i) {
            const double x = excursion[i];
            double loss = 0.0;
            if (x > limit)
                loss = std::min((std::sqrt((x - limit) / limit + 1.0) - 1.0) * share, 1.5);
            forceFactor[i] = 0.5 * Bl * (2.0 - loss);
        }
    }
}

void TSpeakerObject::ApplyExcursionLimit(const TFreqGrid& grid)
{
    if (!blNonLinear || !(Xmax > 0.0))
        return;
    const double limit = Xmax * 1000.0;
    const int n = grid.Count();
    for (int i = 0; i < n; ++i) {
        if (excursion[i] > limit) {
            const double b = std::sqrt(limit / excursion[i]);
            excursion[i] *= b;
            volumeVelocity[i] *= b;
        }
    }
}
