#include "filter/TDriverSet.h"

void TDriverSet::Reset()
{
    stored = false;
    re = 8.0;
    rex = 0.0;
    le = 0.001;
    x.fill(0.0);
    y.fill(0.0);
    z.fill(0.0);
    radius.fill(0.05);
    splScaling.fill(1.0);
    impedanceScaling.fill(1.0);
    for (int d = 0; d < kDrivers; ++d) {
        const auto i = static_cast<std::size_t>(d);
        splSameAs[i] = impedanceSameAs[i] = d > 0;
        splName[i].clear();
        impedanceName[i].clear();
    }
    count = 1;
    size = 1;
    connection = 0;
    invert = false;
}

void TDriverSet::Write(TBinaryWriter&) const {}

bool TDriverSet::Read(TBinaryReader&) { return false; }
