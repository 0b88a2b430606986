#include "filter/TNetA.h"

#include "settings/TProgramContext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr double kDegreesPerRadian = 57.29577951308232;
} // namespace

void TNetAOptimiserFields::Reset()
{
    ray = -1;
    includeLower = 20;
    includeUpper = 20000;
    excludeLower = 20;
    excludeUpper = 31;
    targetLevel = 90.0;
    lock = 0;
    slope = 0.0;
    highPassCutoff = 2;
    lowPassCutoff = 20000;
    highPassOrder = 0;
    lowPassOrder = 0;
}

TNetA::TNetA(TNetOwner& owner, int index, bool active, TCursorDialog* cursor)
    : owner_(owner), index_(std::clamp(index, 0, 3)), name_("Net " + std::to_string(index_ + 1)), active_(active),
      drivers_(owner)
{
    for (int i = 0; i < kPositions; ++i) {
        if (i == 8 || i == 9)
            continue;
        // Series and shunt alternate from the amplifier; 10-13 lie across the drivers.
        const bool shunt = i >= kFirstShunt || i % 2 == 1;
        auto branch = std::make_unique<TBranchA>(index_ + 1, i, shunt ? TPlacement::Shunt : TPlacement::Series,
                                                 i >= kFirstShunt);
        branch->SetNetworkActive(active_);
        branches_[static_cast<std::size_t>(i)] = std::move(branch);
    }
    static constexpr TColor kColours[kDrivers] = {TColors::Blue, TColors::Red, TColors::Green, TColors::Black};
    for (int d = 0; d < kDrivers; ++d)
        curveStyles_[static_cast<std::size_t>(d)] = TLineStyle{kColours[d], 1, TDash::Solid};
    gainPlot_ = std::make_unique<TPlotLogXLinY>(owner_.Host(), "Filter gain, " + name_, styles_, cursor, 0, 290,
                                                kDrivers, kPoints);
    gainPlot_->SetXUnit("Hz");
    gainPlot_->SetYUnit("dB");
    gainPlot_->SetXData(owner_.Context().General().FilterGrid().Frequencies().data());
    gainPlot_->SetPointCount(kPoints);
    Reset();
}

TNetA::~TNetA() { owner_.Host().DestroyView(*gainPlot_); }

void TNetA::Reset()
{
    drivers_.Reset();
    for (auto& b : branches_) {
        if (!b)
            continue;
        b->Reset();
        b->FillSlots();
    }
    gain_ = 1.0;
    disconnect = false;
    noComponents = false;
    for (TNetASet& set : netSets_)
        set = TNetASet{1.0, active_, false, false};
    optimiser.Reset();
    wizard.Reset();
    MarkDirty();
}

void TNetA::MarkDirty()
{
    for (auto& b : branches_)
        if (b)
            b->MarkDirty();
}

void TNetA::SetActive(bool active)
{
    active_ = active;
    for (int i = 0; i < kLadder; ++i)
        Branch(i)->SetNetworkActive(active);
    MarkDirty();
}

double TNetA::GainDb() const { return 20.0 * std::log10(std::max(gain_, 1e-300)); }

bool TNetA::SetGainDb(double db)
{
    if (!(db >= kMinGainDb && db <= kMaxGainDb))
        return false;
    gain_ = std::pow(10.0, 0.05 * db);
    return true;
}

TBranchA* TNetA::Branch(int position)
{
    if (position < 0 || position >= kPositions)
        return nullptr;
    return branches_[static_cast<std::size_t>(position)].get();
}

const TBranchA* TNetA::Branch(int position) const
{
    if (position < 0 || position >= kPositions)
        return nullptr;
    return branches_[static_cast<std::size_t>(position)].get();
}

int TNetA::ListedPositions(std::array<int, kPositions>& positions) const
{
    int n = 0;
    for (int i = 0; i < kLadder; ++i)
        positions[static_cast<std::size_t>(n++)] = i;
    std::array<int, kDrivers> shunts{};
    const int m = drivers_.ShuntPositions(shunts);
    for (int k = 0; k < m; ++k)
        positions[static_cast<std::size_t>(n++)] = shunts[static_cast<std::size_t>(k)];
    return n;
}

bool TNetA::SetMeasFile(int driver, TMeasKind kind, const std::string& name)
{
    const bool read = drivers_.SetMeasFile(driver, kind, name);
    MarkDirty();
    return read;
}

void TNetA::StoreNetSet(int slot)
{
    slot = std::clamp(slot, 0, kSlots - 1);
    for (auto& b : branches_)
        if (b)
            b->Store(slot);
    netSets_[static_cast<std::size_t>(slot)] = TNetASet{gain_, active_, disconnect, noComponents};
}

void TNetA::RecallNetSet(int slot)
{
    slot = std::clamp(slot, 0, kSlots - 1);
    const TNetASet& set = netSets_[static_cast<std::size_t>(slot)];
    gain_ = set.gain;
    active_ = set.active;
    disconnect = set.disconnect;
    noComponents = set.noComponents;
    for (auto& b : branches_) {
        if (!b)
            continue;
        b->SetPassiveMode(!active_);
        b->Recall(slot);
    }
    MarkDirty();
}

bool TNetA::RecallDriverSet(int slot)
{
    const bool recalled = drivers_.Recall(slot);
    MarkDirty();
    return recalled;
}

void TNetA::Edited()
{
    owner_.MarkChanged();
    owner_.Recalculate();
}

bool TNetA::Calculate()
{
    const TGeneral& general = owner_.Context().General();
    const TFilterGrid& grid = general.FilterGrid();

    TPlotLogXLinY& plot = *gainPlot_;
    plot.xMinimum = general.LowerFrequency();
    plot.xMaximum = general.UpperFrequency();
    plot.ClearCurves();
    for (int d = 0; d < drivers_.Count(); ++d) {
        char label[24];
        std::snprintf(label, sizeof label, "Driver %d", d + 1);
        plot.AddCurve(driverGain_[static_cast<std::size_t>(d)].data(), curveStyles_[static_cast<std::size_t>(d)], label,
                      false);
    }

    for (auto& b : branches_)
        if (b)
            b->Update(grid);

    std::array<const TBranchA*, kDrivers> shunts{};
    for (int k = 0; k < kDrivers; ++k)
        shunts[static_cast<std::size_t>(k)] = Branch(kFirstShunt + k);
    drivers_.Solve(grid, shunts, noComponents, active_);

    if (active_)
        SolveActive();
    else
        SolvePassive();

    const int n = drivers_.Count();
    for (std::size_t i = 0; i < static_cast<std::size_t>(kPoints); ++i) {
        const TComplex t = transfer_[i];
        for (int d = 0; d < n; ++d)
            driverGain_[static_cast<std::size_t>(d)][i] = LevelOf(MulComplex(t, drivers_.Divider(d)[i]));
        transferPhase_[i] = PhaseOf(t) * kDegreesPerRadian;
        impedanceMagnitude_[i] = MagnitudeOf(inputImpedance_[i]);
        impedancePhase_[i] = PhaseOf(inputImpedance_[i]) * kDegreesPerRadian;
    }

    const bool running = optimiser.state == TNetAOptimiserFields::kRunning && optimiser.liveUpdate == 0;
    if (!running)
        ScaleGainPlot(general);
    FinishRows(grid);
    return true;
}

void TNetA::SolvePassive()
{
    // The branches the ladder uses, null where a branch is skipped: a skipped series
    // branch is a short circuit, a skipped shunt branch an open circuit.
    const TComplex* z[kLadder] = {};
    for (int k = 0; k < kLadder; ++k) {
        const TBranchA* b = Branch(k);
        if (b->InUse() && !noComponents)
            z[k] = b->Impedance().data();
    }
    const TComplexRow& load = drivers_.Load();
    const double extra = disconnect ? kDisconnected : 0.0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(kPoints); ++i) {
        TComplex zn = load[i];
        if (z[7])
            zn = ParallelOf(zn, z[7][i]);
        TComplex t = zn;
        if (z[6])
            zn += z[6][i];
        t = SafeQuotient(t, zn);
        if (z[5])
            zn = ParallelOf(zn, z[5][i]);
        t = MulComplex(t, zn);
        if (z[4])
            zn += z[4][i];
        t = SafeQuotient(t, zn);
        if (z[3])
            zn = ParallelOf(zn, z[3][i]);
        t = MulComplex(t, zn);
        if (z[2])
            zn += z[2][i];
        t = SafeQuotient(t, zn);
        if (z[1])
            zn = ParallelOf(zn, z[1][i]);
        t = MulComplex(t, zn);
        if (z[0])
            zn += z[0][i];
        zn += extra;
        t = SafeQuotient(t, zn);
        inputImpedance_[i] = zn;
        transfer_[i] = t;
    }
}

void TNetA::SolveActive()
{
    // The power amplifier drives the group directly: the group is the input impedance.
    inputImpedance_ = drivers_.Load();
    const double start = disconnect ? kDisconnectedGain : gain_;
    const TComplex* h[kLadder] = {};
    int sections = 0;
    if (!noComponents)
        for (int k = 0; k < kLadder; ++k)
            if (Branch(k)->InUse())
                h[sections++] = Branch(k)->Transfer().data();
    for (std::size_t i = 0; i < static_cast<std::size_t>(kPoints); ++i) {
        TComplex t(start, 0.0);
        for (int k = 0; k < sections; ++k)
            t = MulComplex(t, h[k][i]);
        transfer_[i] = t;
    }
}

void TNetA::ScaleGainPlot(const TGeneral& general)
{
    TPlotLogXLinY& plot = *gainPlot_;
    plot.FitYRange(30.0);
    if (plot.yMaximum < 0.0)
        plot.yMaximum = 0.0;
    plot.yMinimum = plot.yMaximum - general.SplRange();
    plot.DataReady();
    plot.Redraw();
}

void TNetA::FinishRows(const TFilterGrid& grid)
{
    const TGeneral& general = owner_.Context().General();
    const int count = std::clamp(general.SurfaceRayCount(), 1, kMaxRays);
    onAxisRay_ = std::clamp(general.OnAxisIndex(), 0, count - 1);
    const bool waiting = OptimiserOpen() && optimiser.liveUpdate == 0;
    computed_.fill(false);
    for (int r = 0; r < count; ++r)
        computed_[static_cast<std::size_t>(r)] = !waiting && (r == onAxisRay_ || !general.Inhibit());
    if (OptimiserOpen() && optimiser.ray >= 0)
        computed_[static_cast<std::size_t>(std::min<int>(optimiser.ray, count - 1))] = true;
    drivers_.Place(grid, general, transfer_, computed_, output_);
    for (int r = 0; r < count; ++r) {
        if (!computed_[static_cast<std::size_t>(r)])
            continue;
        const TComplexRow& row = output_[static_cast<std::size_t>(r)];
        TRealRow& level = level_[static_cast<std::size_t>(r)];
        for (std::size_t i = 0; i < row.size(); ++i)
            level[i] = LevelOf(row[i]);
    }
    if (waiting)
        return;
    const TComplexRow& axis = output_[static_cast<std::size_t>(onAxisRay_)];
    for (std::size_t i = 0; i < axis.size(); ++i)
        onAxisPhase_[i] = PhaseOf(axis[i]) * kDegreesPerRadian;
    GroupDelayOf(onAxisPhase_.data(), grid.Frequencies().data(), kPoints, 180.0, groupDelay_.data());
}
