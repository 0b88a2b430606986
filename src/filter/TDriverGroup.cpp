#include "filter/TDriverGroup.h"

#include "filter/TBranchA.h"

#include <algorithm>

TDriverGroup::TDriverGroup(TMeasDataOwner& owner)
{
    for (auto& d : drivers_)
        d = std::make_unique<TDriverA>(owner);
    Reset();
}

void TDriverGroup::Reset() {}

void TDriverGroup::SetCount(int n) { count_ = std::clamp(n, 1, kDrivers); }

bool TDriverGroup::SetConnection(TConnection c)
{
    connection_ = c;
    return true;
}

int TDriverGroup::ShuntPositions(std::array<int, kDrivers>&) const { return 0; }
bool TDriverGroup::ShuntExists(int) const { return false; }

TMeasData& TDriverGroup::Meas(int d, TMeasKind kind)
{
    TDriverA& driver = Driver(std::clamp(d, 0, kDrivers - 1));
    return kind == TMeasKind::Spl ? driver.spl : driver.impedance;
}

bool TDriverGroup::SetMeasFile(int, TMeasKind, const std::string&) { return false; }

const std::string& TDriverGroup::FileName(int d, TMeasKind kind) const
{
    const TDriverA& driver = Driver(std::clamp(d, 0, kDrivers - 1));
    return kind == TMeasKind::Spl ? driver.spl.FileName() : driver.impedance.FileName();
}

void TDriverGroup::Store(int) {}
bool TDriverGroup::Recall(int) { return false; }

void TDriverGroup::Solve(const TFilterGrid&, const std::array<const TBranchA*, kDrivers>&, bool, bool) {}

int TDriverGroup::Place(const TFilterGrid&, const TGeneral&, const TComplexRow&,
                        std::array<TComplexRow, TNetBase::kMaxRays>&)
{
    return 0;
}
