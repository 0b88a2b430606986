#include "filter/TBranchA.h"

const char* PassiveTypeText(int) { return " None"; }
const char* ActiveTypeText(int) { return " None"; }

TBranchA::TBranchA(int net, int index, TPlacement placement, bool alwaysPassive)
    : index_(index), placement_(placement), alwaysPassive_(alwaysPassive),
      comps_{TCompA(TCompKind::Resistor, net, index, 1), TCompA(TCompKind::Resistor, net, index, 2),
             TCompA(TCompKind::Inductor, net, index, 1), TCompA(TCompKind::Capacitor, net, index, 1),
             TCompA(TCompKind::Capacitor, net, index, 1), TCompA(TCompKind::Capacitor, net, index, 2)}
{
}

void TBranchA::SetNetworkActive(bool) {}
bool TBranchA::SetType(int) { return false; }
const char* TBranchA::TypeText(int) const { return " None"; }
std::string TBranchA::Heading() const { return {}; }
std::string TBranchA::TypeLine() const { return {}; }
std::string TBranchA::CharacteristicText() const { return {}; }
int TBranchA::ListedComponents(std::array<TCompA*, kMaxListed>&) { return 0; }
int TBranchA::ListedComponents(std::array<const TCompA*, kMaxListed>&) const { return 0; }
void TBranchA::Reset() {}
bool TBranchA::Dirty() const { return dirty_; }
void TBranchA::MarkDirty() { dirty_ = true; }
void TBranchA::Update(const TFilterGrid&) { dirty_ = false; }
TComplex TBranchA::ImpedanceAt(double) const { return {}; }
TComplex TBranchA::TransferAt(double) const { return {1.0, 0.0}; }
void TBranchA::Store(int) {}
void TBranchA::Recall(int) {}
std::size_t TBranchA::RecordSize(int, bool) { return 0; }
void TBranchA::Write(TBinaryWriter&) const {}
void TBranchA::SetInUseFromType() {}
