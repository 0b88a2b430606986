#include "filter/TNet.h"

#include "filter/TDriverDialog.h"
#include "filter/TNetDialog.h"
#include "measdata/TResponseAtPosition.h"
#include "settings/TProgramContext.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kDegreesPerRadian = 57.29577951308232;
} // namespace

TNet::TNet(TNetOwner& owner, int index) : owner_(owner), index_(std::clamp(index, 0, 2))
{
    for (int i = 0; i < kBranches; ++i) {
        // Series and shunt alternate along the ladder; the notch and the pad's series
        // resistor sit in the signal path, the pad's shunt resistor and the Zobel across it.
        const bool series = i == kNotch || i == kPadSeries || (i < 4 && i % 2 == 0);
        branches_[static_cast<std::size_t>(i)] = std::make_unique<TBranch>(
            index_ + 1, i, series ? TPlacement::Series : TPlacement::Shunt);
    }
    for (auto& d : drivers_)
        d = std::make_unique<TNetDriver>(owner_);
    Reset();
}

TNet::~TNet() = default;

const char* TNet::Name() const
{
    static constexpr const char* kNames[] = {"Bass network", "Midrange network", "Treble network"};
    return kNames[index_];
}

const char* TNet::DriverCaption() const
{
    static constexpr const char* kCaptions[] = {"Bass driver", "Midrange driver", "Treble driver"};
    return kCaptions[index_];
}

int TNet::DialogResource() const
{
    static constexpr int kResources[] = {15, 16, 18};
    return kResources[index_];
}

int TNet::DriverSymbol() const
{
    static constexpr int kSymbols[] = {253, 251, 250};
    return kSymbols[index_];
}

int TNet::DriverCommand() const
{
    static constexpr int kCommands[] = {13000, 13002, 13001};
    return kCommands[index_];
}

void TNet::MarkDirty()
{
    dirty_ = true;
    for (auto& b : branches_)
        b->MarkDirty();
}

void TNet::Reset()
{
    re = 8.0;
    rex = 0.0;
    le = 0.001;
    driverCount = 1;
    seriesConnection = false;
    invertPolarity = false;
    disconnect = false;
    attenuation = 0.0;
    for (auto& d : drivers_) {
        d->x = d->y = d->z = 0.0;
        d->pistonRadius = 0.05;
        d->splScaling = 1.0;
        d->impedanceScaling = 1.0;
        d->spl.ClearMeasData();
        d->impedance.ClearMeasData();
    }
    lowPassOrder = Role() == TNetRole::HighPass ? 0 : kMaxOrder;
    highPassOrder = Role() == TNetRole::LowPass ? 0 : kMaxOrder;
    lowPassCutoff = Role() == TNetRole::LowPass ? 500.0 : 5000.0;
    highPassCutoff = Role() == TNetRole::BandPass ? 500.0 : 5000.0;
    ResetBranches();
    if (HasLowPass())
        CalcLowPass();
    if (HasHighPass())
        CalcHighPass();
    MarkDirty();
}

void TNet::ResetBranches()
{
    using T = TBranchType;
    static constexpr T kLadder[3][4] = {
        {T::L, T::C, T::L, T::C}, {T::LPlusC, T::LParC, T::LPlusC, T::LParC}, {T::C, T::L, T::C, T::L}};
    for (int i = 0; i < kBranches; ++i) {
        TBranch& b = Branch(i);
        b.R().Reset();
        b.L().Reset();
        b.C().Reset();
        b.SetType(i < 4 ? kLadder[index_][i] : i == kZobel ? T::RPlusC : T::None);
        for (TComp* c : {&b.R(), &b.L(), &b.C()})
            if (!c->inUse)
                c->value = 0.0;
    }
    Branch(kZobel).R().value = re;
    Branch(kZobel).C().value = le / (re * re);
}

TMeasData& TNet::Meas(int driver, TMeasKind kind)
{
    TNetDriver& d = Driver(driver);
    return kind == TMeasKind::Spl ? d.spl : d.impedance;
}

bool TNet::Calculate()
{
    const TFilterGrid& grid = owner_.Context().General().FilterGrid();
    for (auto& b : branches_)
        b->Update(grid);
    if (!dirty_)
        return true;
    if (driverCount == 2)
        SolveTwoDrivers(grid);
    else
        SolveOneDriver(grid);
    FillRays(grid);
    FinishOnAxis(grid);
    dirty_ = false;
    return true;
}

namespace {
// The ladder at point i, from the load towards the amplifier: each shunt branch joins the
// node impedance, each series branch adds to it, and H picks up the divider ratio of
// every node. zk are the branch impedance rows.
inline void LadderAt(const TNetBase::TComplexRow* const* zk, std::size_t i, bool disconnect, TComplex& z, TComplex& h)
{
    z = ParallelOf(z, (*zk[7])[i]);
    z = ParallelOf(z, (*zk[6])[i]);
    h = MulComplex(h, z);
    z += (*zk[5])[i];
    z += (*zk[4])[i];
    h = TNetBase::SafeQuotient(h, z);
    z = ParallelOf(z, (*zk[3])[i]);
    h = MulComplex(h, z);
    z += (*zk[2])[i];
    h = TNetBase::SafeQuotient(h, z);
    z = ParallelOf(z, (*zk[1])[i]);
    h = MulComplex(h, z);
    z += (*zk[0])[i];
    if (disconnect)
        z += TNet::kDisconnected;
    h = TNetBase::SafeQuotient(h, z);
}
} // namespace

void TNet::SolveOneDriver(const TFilterGrid& grid)
{
    const TComplexRow* zk[kBranches];
    for (int k = 0; k < kBranches; ++k)
        zk[k] = &Branch(k).Impedance();
    const TNetDriver& d = Driver(0);
    const bool measuredZ = d.impedance.Loaded();
    const bool measuredSpl = d.spl.Loaded();
    const TComplex* zData = d.impedance.Response().data();
    const TComplex* splData = d.spl.Response().data();
    const double sign = invertPolarity ? -1.0 : 1.0;
    const auto& omegas = grid.Omegas();
    TComplexRow& out = driverOutput_[0];
    for (std::size_t i = 0; i < static_cast<std::size_t>(kPoints); ++i) {
        const TComplex zd = measuredZ ? zData[i] * d.impedanceScaling : TComplex(re, omegas[i] * le);
        TComplex z = zd + rex;
        TComplex h = SafeQuotient(zd, z);
        LadderAt(zk, i, disconnect, z, h);
        inputImpedance_[i] = z;
        transfer_[i] = h;
        TComplex s = h * sign;
        if (measuredSpl)
            s = MulComplex(s, splData[i] * d.splScaling);
        out[i] = s;
        filterGain_[i] = LevelOf(h);
        impedanceMagnitude_[i] = MagnitudeOf(z);
        impedancePhase_[i] = PhaseOf(z) * kDegreesPerRadian;
    }
}

void TNet::SolveTwoDrivers(const TFilterGrid& grid)
{
    const TComplexRow* zk[kBranches];
    for (int k = 0; k < kBranches; ++k)
        zk[k] = &Branch(k).Impedance();
    const TNetDriver& d1 = Driver(0);
    const TNetDriver& d2 = Driver(1);
    // The second driver's files count only when the first driver has its own.
    const bool measuredZ1 = d1.impedance.Loaded();
    const bool measuredZ2 = measuredZ1 && d2.impedance.Loaded();
    const bool measuredSpl1 = d1.spl.Loaded();
    const bool measuredSpl2 = measuredSpl1 && d2.spl.Loaded();
    const TComplex* z1Data = d1.impedance.Response().data();
    const TComplex* z2Data = d2.impedance.Response().data();
    const TComplex* spl1Data = d1.spl.Response().data();
    const TComplex* spl2Data = d2.spl.Response().data();
    const double scale2 = measuredSpl2 ? d2.splScaling : d1.splScaling;
    const double zScale2 = measuredZ2 ? d2.impedanceScaling : d1.impedanceScaling;
    const double sign = invertPolarity ? -1.0 : 1.0;
    const double rexLoad = seriesConnection ? 2.0 * rex : rex / 2.0;
    const auto& omegas = grid.Omegas();
    TComplexRow& u = driverOutput_[0];
    TComplexRow& v = driverOutput_[1];
    for (std::size_t i = 0; i < static_cast<std::size_t>(kPoints); ++i) {
        TComplex zd1, zd2;
        if (measuredZ1) {
            zd1 = z1Data[i] * d1.impedanceScaling;
            zd2 = (measuredZ2 ? z2Data[i] : z1Data[i]) * zScale2;
        } else {
            zd1 = zd2 = TComplex(re, omegas[i] * le);
        }
        const TComplex zp = seriesConnection ? zd1 + zd2 : ParallelOf(zd1, zd2);
        const TComplex zl = zp + rexLoad;
        TComplex z = zl;
        TComplex h(1.0, 0.0);
        LadderAt(zk, i, disconnect, z, h);
        const TComplex current = SafeQuotient(h, zl);
        TComplex v1 = MulComplex(current, seriesConnection ? zd1 : zp);
        TComplex v2 = seriesConnection ? MulComplex(current, zd2) : v1;
        v1 *= sign;
        v2 *= sign;
        if (measuredSpl1) {
            v1 = MulComplex(v1, spl1Data[i] * d1.splScaling);
            v2 = MulComplex(v2, (measuredSpl2 ? spl2Data[i] : spl1Data[i]) * scale2);
        }
        u[i] = v1;
        v[i] = v2;
        inputImpedance_[i] = z;
        transfer_[i] = h;
        filterGain_[i] = LevelOf(h);
        impedanceMagnitude_[i] = MagnitudeOf(z);
        impedancePhase_[i] = PhaseOf(z) * kDegreesPerRadian;
    }
}

void TNet::FillRays(const TFilterGrid& grid)
{
    const TGeneral& general = owner_.Context().General();
    const TListeningSetup listening = general.ListeningSetup();
    const int count = std::clamp(general.SurfaceRayCount(), 1, kMaxRays);
    onAxisRay_ = std::clamp(general.OnAxisIndex(), 0, count - 1);
    const bool two = driverCount == 2;
    // One driver has every ray computed; with two the off-axis rays wait for "Inhibit" off.
    const bool offAxis = !two || !general.Inhibit();
    const auto place = [&](double angle, TComplexRow& row) {
        const TNetDriver& d1 = Driver(0);
        ResponseAtPosition(driverOutput_[0].data(), angle, d1.pistonRadius, d1.x, d1.y, d1.z, row.data(), grid,
                           listening);
        if (two) {
            const TNetDriver& d2 = Driver(1);
            ResponseAtPosition(driverOutput_[1].data(), angle, d2.pistonRadius, d2.x, d2.y, d2.z, scratch_.data(), grid,
                               listening);
            for (std::size_t i = 0; i < row.size(); ++i)
                row[i] += scratch_[i];
        }
    };
    for (int r = 0; r < count; ++r) {
        if (r == onAxisRay_ || !offAxis)
            continue;
        const double angle = general.SurfaceRay(r);
        TComplexRow& row = output_[static_cast<std::size_t>(r)];
        place(angle, row);
        TRealRow& level = level_[static_cast<std::size_t>(r)];
        for (std::size_t i = 0; i < row.size(); ++i)
            level[i] = LevelOf(row[i]);
    }
    place(0.0, output_[static_cast<std::size_t>(onAxisRay_)]);
}

void TNet::FinishOnAxis(const TFilterGrid& grid)
{
    const TComplexRow& row = output_[static_cast<std::size_t>(onAxisRay_)];
    TRealRow& level = level_[static_cast<std::size_t>(onAxisRay_)];
    for (std::size_t i = 0; i < row.size(); ++i) {
        level[i] = LevelOf(row[i]);
        onAxisPhase_[i] = PhaseOf(row[i]) * kDegreesPerRadian;
    }
    GroupDelayOf(onAxisPhase_.data(), grid.Frequencies().data(), kPoints, 180.0, groupDelay_.data());
}

bool TNet::SetMeasFile(int driver, TMeasKind kind, const std::string& name)
{
    TMeasData& data = Meas(std::clamp(driver, 0, 1), kind);
    if (name.empty()) {
        data.ClearMeasData();
        MarkDirty();
        return true;
    }
    const std::string before = data.FileName();
    const bool wasLoaded = data.Loaded();
    data.SetFileName(name);
    data.ReadMeasFile();
    if (!data.Loaded()) {
        // Back to the file it had: the open error was shown, the driver stays as it was.
        data.SetFileName(before);
        if (wasLoaded)
            data.ReadMeasFile();
        return false;
    }
    MarkDirty();
    return true;
}

void TNet::Edited()
{
    owner_.MarkChanged();
    owner_.Recalculate();
}

TNetDialog& TNet::NetDialog()
{
    if (!netDialog_) {
        netDialog_ = std::make_unique<TNetDialog>(owner_.Host(), *this);
        netDialog_->KeepPositionIn(netDialogX_, netDialogY_);
    }
    return *netDialog_;
}

TDriverDialog& TNet::DriverDialog()
{
    if (!driverDialog_) {
        driverDialog_ = std::make_unique<TDriverDialog>(owner_.Host(), *this);
        driverDialog_->KeepPositionIn(driverDialogX_, driverDialogY_);
    }
    return *driverDialog_;
}

void TNet::OpenNetDialog() { NetDialog().Open(); }
void TNet::OpenDriverDialog() { DriverDialog().Open(); }
