#pragma once
// An advanced network: a free ladder of eight branch positions between the amplifier
// and a group of one to four drivers (passive), or a chain of up to eight filter
// sections with a gain, driving the group through its own power amplifier (active).
// Calculate recomputes the dirty branches, solves the ladder or the chain against the
// driver group's load, and sums the drivers' outputs along the rays.

#include "filter/TBranchA.h"
#include "filter/TDriverGroup.h"
#include "filter/TNetAWizardDesign.h"
#include "filter/TNetBase.h"
#include "filter/TNetOwner.h"
#include "plot/TPlotLogXLinY.h"
#include "plot/TPlotStyles.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TCursorDialog;

// What one net-set store slot keeps beside the branches' own slots.
struct TNetASet {
    double gain = 1.0;
    bool active = false;
    bool disconnect = false;
    bool noComponents = false;
};

// The optimiser's settings (and the wizards' fields the record keeps). The state and
// the passband slope are not in the record.
struct TNetAOptimiserFields {
    // 0 no optimiser dialog, 1 dialog open, 2 running.
    static constexpr std::int32_t kClosed = 0, kOpen = 1, kRunning = 2;
    std::int32_t state = kClosed;
    double slope = 0.0; // passband slope, dB per octave (-2 .. 2)

    // Target filter: cutoffs (Hz) and orders.
    std::int16_t highPassCutoff = 2, lowPassCutoff = 20000, highPassOrder = 0, lowPassOrder = 0;
    // Target types (0 Butterworth, 1 Linkwitz), step 0-99, ray (-1 none chosen).
    std::int16_t lowPassType = 0, highPassType = 0, step = 50, ray = -1;
    std::uint8_t liveUpdate = 0, viewUnfiltered = 0;
    std::int16_t includeLower = 20, includeUpper = 20000, excludeLower = 20, excludeUpper = 31;
    double targetLevel = 90.0; // dB
    std::uint8_t lock = 0;

    // What a network reset restores (the step, the target types and the view flags keep
    // their values; so does the state, which belongs to an open dialog).
    void Reset();
};

class TNetA : public TNetBase {
public:
    static constexpr int kLadder = 8;
    static constexpr int kPositions = 14; // 8 and 9 are not used
    static constexpr int kFirstShunt = TDriverGroup::kFirstShunt;
    static constexpr int kDrivers = TDriverGroup::kDrivers;
    static constexpr int kSlots = 4;
    // What stands in series with the input of a disconnected passive network, and the
    // gain of a disconnected active one.
    static constexpr double kDisconnected = 1e12;
    static constexpr double kDisconnectedGain = 1e-12;
    static constexpr double kMinGainDb = -90.0, kMaxGainDb = 90.0;
    static constexpr int kCurrentVersion = 410;

    // index 0..3 ("Net 1" .. "Net 4"); cursor may be null (a network on its own).
    TNetA(TNetOwner& owner, int index, bool active, TCursorDialog* cursor = nullptr);
    ~TNetA() override;
    TNetA(const TNetA&) = delete;
    TNetA& operator=(const TNetA&) = delete;

    // The network's schematic window page (TNetASchematic.cpp).
    void DrawSchematic(TCanvas& canvas) override;
    void DrawLabels(TCanvas& canvas) override;
    bool Calculate() override;
    void Reset() override;
    void MarkDirty() override;
    // The record as the given file version holds it; read whole into a staging copy and
    // applied only when complete, so a cut record changes nothing.
    bool ReadRecord(TBinaryReader& in, int version) override;
    void WriteRecord(TBinaryWriter& out) const override;
    // The record as a file of the given version held it (versions before 410 lack the
    // flags, the optimiser fields and every store slot): for tests and seed files.
    void WriteRecordAs(TBinaryWriter& out, int version) const;
    bool Active() const override { return active_; }

    TNetOwner& Owner() const { return owner_; }
    int Index() const { return index_; }
    const std::string& Name() const { return name_; }

    // Passive or active: resets the ladder branches 0-7 to type 0 with the reset values
    // of the new mode; the shunt branches across the drivers keep theirs.
    void SetActive(bool active);
    bool disconnect = false;
    bool noComponents = false;
    double Gain() const { return gain_; } // linear
    void SetGain(double linear) { gain_ = linear; }
    double GainDb() const;
    // False (nothing changes) outside -90 .. 90 dB.
    bool SetGainDb(double db);

    // Branch positions 0-7 and 10-13; nullptr for 8, 9 and outside.
    TBranchA* Branch(int position);
    const TBranchA* Branch(int position) const;
    // The positions the network dialog lists: 0-7, then the shunt positions across the
    // drivers that exist for the connection. Returns how many were written.
    int ListedPositions(std::array<int, kPositions>& positions) const;

    TDriverGroup& Drivers() { return drivers_; }
    const TDriverGroup& Drivers() const { return drivers_; }
    bool SetMeasFile(int driver, TMeasKind kind, const std::string& name);

    // Net-set slots 0-3: every branch's components and type, the gain and the flags.
    void StoreNetSet(int slot);
    void RecallNetSet(int slot);
    const TNetASet& NetSet(int slot) const { return netSets_[static_cast<std::size_t>(slot)]; }
    // Driver-set slots 0-3.
    void StoreDriverSet(int slot) { drivers_.Store(slot); }
    bool RecallDriverSet(int slot);
    bool DriverSetStored(int slot) const { return drivers_.Stored(slot); }

    // The wizards' settings (a reset restores them; the file does not keep them).
    TNetAWizardSettings wizard;

    TNetAOptimiserFields optimiser;

    // The schematic: the user note drawn under the circuit (the window's, which
    // outlives nothing the network draws), and how far down the last drawing reached.
    const std::string* schematicNote = nullptr;
    int SchematicBottom() const { return schematicBottom_; }

    // "Filter gain, Net N": one curve per driver.
    TPlotLogXLinY& GainPlot() { return *gainPlot_; }
    const TPlotLogXLinY& GainPlot() const { return *gainPlot_; }
    // While the network's optimiser dialog is open (optimiser.state not 0) only the
    // optimiser's ray is computed (and every ray besides with live update on); without
    // live update the on-axis phase and the group delay wait, and so does the gain plot
    // while the optimiser runs.
    bool OptimiserOpen() const { return optimiser.state != TNetAOptimiserFields::kClosed; }
    // Which rows of the ray list the last calculation computed.
    bool RayComputed(int ray) const { return computed_[static_cast<std::size_t>(ray)]; }

    // Results beyond the base's: the node transfer T (voltage at the driver group per
    // amplifier volt) and its phase, each driver's gain |T D_d| in dB, and the driver
    // group's dividers and load.
    const TComplexRow& Transfer() const { return transfer_; }
    const TRealRow& TransferPhase() const { return transferPhase_; }
    const TRealRow& DriverGain(int d) const { return driverGain_[static_cast<std::size_t>(d)]; }
    const TComplexRow& Divider(int d) const { return drivers_.Divider(d); }
    const TComplexRow& GroupLoad() const { return drivers_.Load(); }
    const TComplexRow& DriverOutput(int d) const { return drivers_.Output(d); }
    int OnAxisRay() const { return onAxisRay_; }

    // What an edit in a dialog does: the project changes and recalculates.
    void Edited();

private:
    void SolvePassive();
    void SolveActive();
    void FinishRows(const TFilterGrid& grid);
    void ScaleGainPlot(const TGeneral& general);

    TNetOwner& owner_;
    int index_;
    std::string name_;
    bool active_ = false;
    double gain_ = 1.0;
    std::array<std::unique_ptr<TBranchA>, kPositions> branches_;
    TDriverGroup drivers_;
    std::array<TNetASet, kSlots> netSets_{};

    TPlotStyles styles_;
    std::array<TLineStyle, kDrivers> curveStyles_{};
    std::unique_ptr<TPlotLogXLinY> gainPlot_;

    TComplexRow transfer_{};
    TRealRow transferPhase_{};
    std::array<TRealRow, kDrivers> driverGain_{};
    int onAxisRay_ = 0;
    int schematicBottom_ = 0;
    std::array<bool, kMaxRays> computed_{};
};
