#include "filter/TNetA.h"

#include <algorithm>
#include <cmath>

void TNetAOptimiserFields::Reset() {}

TNetA::TNetA(TNetOwner& owner, int index, bool active, TCursorDialog* cursor)
    : owner_(owner), index_(std::clamp(index, 0, 3)), name_("Net " + std::to_string(index_ + 1)), active_(active),
      drivers_(owner)
{
    for (int i = 0; i < kPositions; ++i) {
        if (i == 8 || i == 9)
            continue;
        const bool shunt = i >= kFirstShunt || i % 2 == 1;
        branches_[static_cast<std::size_t>(i)] = std::make_unique<TBranchA>(
            index_ + 1, i, shunt ? TPlacement::Shunt : TPlacement::Series, i >= kFirstShunt);
    }
    gainPlot_ = std::make_unique<TPlotLogXLinY>(owner_.Host(), "Filter gain, " + name_, styles_, cursor, 0, 290,
                                                kDrivers, kPoints);
    Reset();
}

TNetA::~TNetA() { owner_.Host().DestroyView(*gainPlot_); }

void TNetA::DrawSchematic(TCanvas&) {}
void TNetA::DrawLabels(TCanvas&) {}
bool TNetA::Calculate() { return true; }
void TNetA::Reset() {}
void TNetA::MarkDirty() {}
bool TNetA::ReadRecord(TBinaryReader&, int) { return false; }
void TNetA::WriteRecord(TBinaryWriter&) const {}
void TNetA::SetActive(bool active) { active_ = active; }
double TNetA::GainDb() const { return 20.0 * std::log10(gain_); }
bool TNetA::SetGainDb(double) { return false; }

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

int TNetA::ListedPositions(std::array<int, kPositions>&) const { return 0; }
bool TNetA::SetMeasFile(int, TMeasKind, const std::string&) { return false; }
void TNetA::StoreNetSet(int) {}
void TNetA::RecallNetSet(int) {}
bool TNetA::RecallDriverSet(int) { return false; }
void TNetA::Edited() {}
void TNetA::SolvePassive() {}
void TNetA::SolveActive() {}
void TNetA::FinishRows(const TFilterGrid&) {}
void TNetA::ScaleGainPlot(const TGeneral&) {}
