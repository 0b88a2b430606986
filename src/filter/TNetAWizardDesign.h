#pragma once
// The two wizards' arithmetic, without a dialog: a Butterworth ladder of order 0-4 (a
// low-pass and a high-pass, each for a nominal resistive load) written into consecutive
// positions of a passive network, and a Butterworth low-pass or high-pass of order 0-4
// written as one or two op-amp sections into an active network.

#include <cstdint>

class TNetA;

// What the wizards remember between openings; a network reset restores these values,
// and the project file does not keep them.
struct TNetAWizardSettings {
    // Passive wizard: orders 0-4, cutoffs (Hz), the nominal load (ohm).
    std::int16_t lowPassOrder = 0, highPassOrder = 0;
    std::int16_t lowPassCutoff = 5000, highPassCutoff = 500;
    double nominalLoad = 8.0;
    // Shared by both: the passive wizard's list index 0-3 (branch 1, 3, 5, 7) or the
    // active wizard's 0-6 (branch 1 .. 7).
    std::int16_t insertion = 0;
    // Active wizard: cutoff (Hz), low-pass (1) or high-pass (0), order 0-4.
    std::int16_t cutoff = 1000;
    std::uint8_t lowPass = 1;
    std::int32_t order = 0;

    void Reset() { *this = TNetAWizardSettings{}; }
};

namespace wizard {

inline constexpr int kMaxOrder = 4;
inline constexpr int kMinCutoff = 20, kMaxCutoff = 20000;
inline constexpr double kMinLoad = 0.1, kMaxLoad = 1000.0;
// The resistance put in series with every coil the passive wizard writes (ohm).
inline constexpr double kCoilResistance = 0.1;

// How many insertion points each wizard offers for its orders: the passive wizard
// branch 1, 3, 5 and 7 (the last only below order 3 on both sides), the active wizard
// branch 1 .. 7 (the last only below order 3).
int PassiveInsertionCount(const TNetAWizardSettings& s);
int ActiveInsertionCount(const TNetAWizardSettings& s);
// The list entry the stored insertion point stands for. The passive wizard reads a
// value above 3, left by the active wizard, as that wizard's branch and takes the
// series position at or before it (4 and 5: branch 5, 6: branch 7); either wizard then
// takes its last entry when the stored one is beyond what the orders offer.
int PassiveInsertionIndex(const TNetAWizardSettings& s);
int ActiveInsertionIndex(const TNetAWizardSettings& s);

// One element of a passive ladder, in SI units; the kind says which.
struct TLadderElement {
    bool inductor = false;
    double value = 0.0;
};
// Element i (0 = next to the amplifier) of a Butterworth low-pass or high-pass of the
// order into the load at fc.
TLadderElement LowPassElement(int order, int i, double fc, double load);
TLadderElement HighPassElement(int order, int i, double fc, double load);

// Writes the passive wizard's ladder from position 2 * PassiveInsertionIndex on; false
// (nothing changes) for an active network. Both orders 0 change nothing.
bool ApplyPassive(TNetA& net, const TNetAWizardSettings& s);
// Writes the active wizard's sections at ActiveInsertionIndex (and the position after
// it for orders 3 and 4); false (nothing changes) for a passive network.
bool ApplyActive(TNetA& net, const TNetAWizardSettings& s);

} // namespace wizard
