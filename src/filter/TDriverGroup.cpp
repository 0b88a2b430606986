#include "filter/TDriverGroup.h"

#include "filter/TBranchA.h"
#include "measdata/TResponseAtPosition.h"
#include "settings/TGeneral.h"

#include <algorithm>

namespace {
// a / b, or 0 where b vanishes: a shorted node passes nothing on.
inline TComplex SafeQuotient(const TComplex& a, const TComplex& b)
{
    if (!(SquaredMagnitudeOf(b) >= 1e-200))
        return {};
    return DivComplex(a, b);
}
} // namespace

TDriverGroup::TDriverGroup(TMeasDataOwner& owner) : placements_(std::make_unique<TPlacements>())
{
    for (auto& d : drivers_)
        d = std::make_unique<TDriverA>(owner);
    Reset();
}

void TDriverGroup::Reset()
{
    count_ = 1;
    connection_ = TConnection::Series;
    invert = false;
    size = TDriverSize::Medium;
    re = 8.0;
    le = 0.001;
    rex = 0.0;
    for (int d = 0; d < kDrivers; ++d) {
        TDriverA& driver = Driver(d);
        driver.x = driver.y = driver.z = 0.0;
        driver.radius = 0.05;
        driver.splScaling = driver.impedanceScaling = 1.0;
        driver.splSameAs = driver.impedanceSameAs = d > 0;
        driver.spl.ClearMeasData();
        driver.impedance.ClearMeasData();
    }
    for (TDriverSet& slot : slots_)
        slot.Reset();
}

void TDriverGroup::SetCount(int n)
{
    count_ = std::clamp(n, 1, kDrivers);
    if (connection_ == TConnection::Pairs && count_ < kDrivers)
        connection_ = TConnection::Series;
}

bool TDriverGroup::SetConnection(TConnection c)
{
    if (c == TConnection::Pairs && count_ < kDrivers)
        return false;
    connection_ = c;
    return true;
}

int TDriverGroup::ShuntPositions(std::array<int, kDrivers>& positions) const
{
    // One shunt across each driver in series, across each pair, or across the whole group.
    const int n = connection_ == TConnection::Series ? count_ : connection_ == TConnection::Pairs ? 2 : 1;
    for (int k = 0; k < n; ++k)
        positions[static_cast<std::size_t>(k)] = kFirstShunt + k;
    return n;
}

bool TDriverGroup::ShuntExists(int position) const
{
    std::array<int, kDrivers> positions{};
    const int n = ShuntPositions(positions);
    return std::find(positions.begin(), positions.begin() + n, position) != positions.begin() + n;
}

TMeasData& TDriverGroup::Meas(int d, TMeasKind kind)
{
    TDriverA& driver = Driver(std::clamp(d, 0, kDrivers - 1));
    return kind == TMeasKind::Spl ? driver.spl : driver.impedance;
}

const std::string& TDriverGroup::FileName(int d, TMeasKind kind) const
{
    const TDriverA& driver = Driver(std::clamp(d, 0, kDrivers - 1));
    return kind == TMeasKind::Spl ? driver.spl.FileName() : driver.impedance.FileName();
}

bool TDriverGroup::SetMeasFile(int d, TMeasKind kind, const std::string& name)
{
    d = std::clamp(d, 0, kDrivers - 1);
    TMeasData& data = Meas(d, kind);
    bool read = true;
    if (name.empty()) {
        data.ClearMeasData();
    } else {
        const std::string before = data.FileName();
        const bool wasLoaded = data.Loaded();
        data.SetFileName(name);
        data.ReadMeasFile();
        if (!data.Loaded()) {
            // Back to the file it had: the open error was shown, the driver stays as it was.
            data.SetFileName(before);
            if (wasLoaded)
                data.ReadMeasFile();
            read = false;
        }
    }
    if (d > 0) {
        bool& sameAs = kind == TMeasKind::Spl ? Driver(d).splSameAs : Driver(d).impedanceSameAs;
        sameAs = !data.Loaded();
    }
    return read;
}

void TDriverGroup::Store(int slot)
{
    TDriverSet& s = slots_[static_cast<std::size_t>(std::clamp(slot, 0, kSlots - 1))];
    s.stored = true;
    s.re = re;
    s.rex = rex;
    s.le = le;
    for (int d = 0; d < kDrivers; ++d) {
        const auto i = static_cast<std::size_t>(d);
        const TDriverA& driver = Driver(d);
        s.x[i] = driver.x;
        s.y[i] = driver.y;
        s.z[i] = driver.z;
        s.radius[i] = driver.radius;
        s.splScaling[i] = driver.splScaling;
        s.impedanceScaling[i] = driver.impedanceScaling;
        s.splSameAs[i] = driver.splSameAs;
        s.impedanceSameAs[i] = driver.impedanceSameAs;
        s.splName[i] = driver.spl.FileName();
        s.impedanceName[i] = driver.impedance.FileName();
    }
    s.count = count_;
    s.size = static_cast<int>(size);
    s.connection = static_cast<int>(connection_);
    s.invert = invert;
}

bool TDriverGroup::Recall(int slot)
{
    const TDriverSet& s = slots_[static_cast<std::size_t>(std::clamp(slot, 0, kSlots - 1))];
    if (!s.stored)
        return false;
    re = s.re;
    rex = s.rex;
    le = s.le;
    count_ = std::clamp(s.count, 1, kDrivers);
    size = static_cast<TDriverSize>(std::clamp(s.size, 0, 2));
    connection_ = static_cast<TConnection>(std::clamp(s.connection, 0, 2));
    if (connection_ == TConnection::Pairs && count_ < kDrivers)
        connection_ = TConnection::Series;
    invert = s.invert;
    for (int d = 0; d < kDrivers; ++d) {
        const auto i = static_cast<std::size_t>(d);
        TDriverA& driver = Driver(d);
        driver.x = s.x[i];
        driver.y = s.y[i];
        driver.z = s.z[i];
        driver.radius = s.radius[i];
        driver.splScaling = s.splScaling[i];
        driver.impedanceScaling = s.impedanceScaling[i];
        driver.splSameAs = s.splSameAs[i];
        driver.impedanceSameAs = s.impedanceSameAs[i];
        const std::pair<TMeasData*, bool*> kinds[2] = {{&driver.spl, &driver.splSameAs},
                                                       {&driver.impedance, &driver.impedanceSameAs}};
        const std::string* names[2] = {&s.splName[i], &s.impedanceName[i]};
        for (int k = 0; k < 2; ++k) {
            TMeasData& data = *kinds[k].first;
            if (names[k]->empty()) {
                data.ClearMeasData();
                continue;
            }
            data.SetFileName(*names[k]);
            data.ReadMeasFile();
            if (!data.Loaded())
                *kinds[k].second = true;
        }
    }
    return true;
}

void TDriverGroup::Solve(const TFilterGrid& grid, const std::array<const TBranchA*, kDrivers>& shunts,
                         bool noComponents, bool active)
{
    (void)grid;
    const int n = count_;
    // Where each driver's impedance comes from: its own data, driver 1's, or Re.
    const TComplex* zData[kDrivers] = {};
    double zScale[kDrivers] = {};
    const TComplex* shunt[kDrivers] = {};
    for (int d = 0; d < n; ++d) {
        const TDriverA& own = Driver(d);
        const bool useFirst = own.impedanceSameAs || (!active && !own.impedance.Loaded());
        const TDriverA& source = useFirst ? Driver(0) : own;
        zData[d] = source.impedance.Loaded() ? source.impedance.Response().data() : nullptr;
        zScale[d] = source.impedanceScaling;
    }
    std::array<int, kDrivers> positions{};
    const int shuntCount = ShuntPositions(positions);
    for (int k = 0; k < shuntCount; ++k) {
        const TBranchA* b = shunts[static_cast<std::size_t>(k)];
        if (b && b->InUse() && !noComponents)
            shunt[k] = b->Impedance().data();
    }
    const TComplex rexValue(rex, 0.0);
    for (std::size_t i = 0; i < static_cast<std::size_t>(TNetBase::kPoints); ++i) {
        TComplex e[kDrivers];
        TComplex dd[kDrivers];
        for (int d = 0; d < n; ++d) {
            const TComplex zd = (zData[d] ? zData[d][i] : TComplex(re, 0.0)) * zScale[d];
            e[d] = zd + rexValue;
            dd[d] = SafeQuotient(zd, e[d]);
        }
        TComplex g;
        switch (connection_) {
        case TConnection::Series:
            for (int d = 0; d < n; ++d) {
                if (shunt[d])
                    e[d] = ParallelOf(e[d], shunt[d][i]);
                g += e[d];
            }
            for (int d = 0; d < n; ++d)
                dd[d] = MulComplex(SafeQuotient(dd[d], g), e[d]);
            break;
        case TConnection::Parallel:
            g = e[0];
            for (int d = 1; d < n; ++d)
                g = ParallelOf(g, e[d]);
            if (shunt[0])
                g = ParallelOf(g, shunt[0][i]);
            break;
        case TConnection::Pairs: {
            TComplex f1 = ParallelOf(e[0], e[1]);
            if (shunt[0])
                f1 = ParallelOf(f1, shunt[0][i]);
            TComplex f2 = ParallelOf(e[2], e[3]);
            if (shunt[1])
                f2 = ParallelOf(f2, shunt[1][i]);
            g = f1 + f2;
            const TComplex r1 = SafeQuotient(f1, g), r2 = SafeQuotient(f2, g);
            dd[0] = MulComplex(dd[0], r1);
            dd[1] = MulComplex(dd[1], r1);
            dd[2] = MulComplex(dd[2], r2);
            dd[3] = MulComplex(dd[3], r2);
            break;
        }
        }
        load_[i] = g;
        for (int d = 0; d < n; ++d)
            divider_[static_cast<std::size_t>(d)][i] = dd[d];
    }
}

void TDriverGroup::Place(const TFilterGrid& grid, const TGeneral& general, const TComplexRow& transfer,
                         const std::array<bool, TNetBase::kMaxRays>& computed,
                         std::array<TComplexRow, TNetBase::kMaxRays>& rays)
{
    const int n = count_;
    for (int d = 0; d < n; ++d) {
        const TDriverA& own = Driver(d);
        const TDriverA& source = own.splSameAs || !own.spl.Loaded() ? Driver(0) : own;
        const TComplex* spl = source.spl.Loaded() ? source.spl.Response().data() : nullptr;
        const double scale = source.splScaling;
        const TComplexRow& dd = divider_[static_cast<std::size_t>(d)];
        TComplexRow& v = output_[static_cast<std::size_t>(d)];
        for (std::size_t i = 0; i < v.size(); ++i) {
            TComplex s = MulComplex(transfer[i], dd[i]);
            if (spl)
                s = MulComplex(s, spl[i]);
            v[i] = s * scale;
        }
    }
    const TListeningSetup listening = general.ListeningSetup();
    const int count = std::clamp(general.SurfaceRayCount(), 1, TNetBase::kMaxRays);
    const int onAxis = std::clamp(general.OnAxisIndex(), 0, count - 1);
    // The placement is linear in the driver's output: a driver heard along a ray is its
    // output times the placement of one volt, which changes only with the geometry.
    static const TComplexRow kOnes = [] {
        TComplexRow ones{};
        ones.fill(TComplex(1.0, 0.0));
        return ones;
    }();
    for (int r = 0; r < count; ++r) {
        if (!computed[static_cast<std::size_t>(r)])
            continue;
        const double angle = r == onAxis ? 0.0 : general.SurfaceRay(r);
        const TComplex* placed[kDrivers] = {};
        for (int d = 0; d < n; ++d) {
            const TDriverA& driver = Driver(d);
            const TPlaceKey key{driver.x,           driver.y,           driver.z,           driver.radius, angle,
                                listening.distance, listening.vertical, listening.infinite, &grid};
            TPlaceKey& known = placed_[static_cast<std::size_t>(d)][static_cast<std::size_t>(r)];
            TComplexRow& placement = (*placements_)[static_cast<std::size_t>(d)][static_cast<std::size_t>(r)];
            if (!(known == key)) {
                ResponseAtPosition(kOnes.data(), angle, driver.radius, driver.x, driver.y, driver.z, placement.data(),
                                   grid, listening);
                known = key;
            }
            placed[d] = placement.data();
        }
        TComplexRow& row = rays[static_cast<std::size_t>(r)];
        const TComplex* v0 = output_[0].data();
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = MulComplex(v0[i], placed[0][i]);
        for (int d = 1; d < n; ++d) {
            const TComplex* v = output_[static_cast<std::size_t>(d)].data();
            for (std::size_t i = 0; i < row.size(); ++i)
                row[i] += MulComplex(v[i], placed[d][i]);
        }
        if (invert)
            for (TComplex& v : row)
                v = -v;
    }
}
