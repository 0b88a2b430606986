#include "box/TMinus3dBPair.h"

TMinus3dBPair FindMinus3dBPair(const double* spl, const double* f, int n)
{
    TMinus3dBPair pair;
    if (!spl || !f || n < 2)
        return pair;
    // -100 dB stands for "no dip found"; real levels of a simulation lie far above it.
    double ref = -100.0;
    for (int g = 1; g <= n - 3; ++g)
        if (spl[g] < spl[g - 1] && spl[g] < spl[g + 1])
            ref = spl[g];
    if (ref == -100.0) {
        ref = spl[0];
        for (int i = 1; i <= n - 2; ++i)
            if (spl[i] > ref)
                ref = spl[i];
    }
    pair.reference = ref;
    const double edge = ref - 3.0;
    int i = 0;
    while (i < n && !(spl[i] > edge))
        ++i;
    if (i > 0 && i < n) {
        const double t = (spl[i] - edge) / (spl[i] - spl[i - 1]);
        pair.lower = t * f[i - 1] + (1.0 - t) * f[i];
    }
    int j = n - 1;
    while (j >= 0 && !(spl[j] > edge))
        --j;
    if (j >= 0 && j < n - 1) {
        const double t = (spl[j] - edge) / (spl[j] - spl[j + 1]);
        pair.upper = t * f[j + 1] + (1.0 - t) * f[j];
    }
    return pair;
}
