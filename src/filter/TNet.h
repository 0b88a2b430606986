#pragma once
// A simple passive network of a two- or three-way filter: a four-element ladder (low-pass,
// high-pass, or both interleaved for the midrange), a notch branch, an L-pad and a Zobel,
// driving one or two drivers described by Re, Le and Rex or by measured SPL and
// impedance curves. Calculate solves the ladder over the filter grid and moves the
// drivers' outputs onto the rays of the owner's ray list.

#include "filter/TBranch.h"
#include "filter/TNetBase.h"
#include "filter/TNetOwner.h"
#include "measdata/TMeasData.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TNetDialog;
class TDriverDialog;
class TDialogModel;

enum class TNetRole { LowPass = 0, BandPass = 1, HighPass = 2 };

// One driver of a network: where it sits, how large its piston is, and its measured data.
struct TNetDriver {
    explicit TNetDriver(TMeasDataOwner& owner) : spl(owner, TMeasKind::Spl), impedance(owner, TMeasKind::Impedance) {}
    double x = 0.0, y = 0.0, z = 0.0; // metres
    double pistonRadius = 0.05;       // metres
    double splScaling = 1.0;          // linear pressure factor
    double impedanceScaling = 1.0;    // linear
    TMeasData spl;
    TMeasData impedance;
};

class TNet : public TNetBase {
public:
    static constexpr int kBranches = 8;
    // Branch positions.
    static constexpr int kNotch = 4, kPadSeries = 5, kPadShunt = 6, kZobel = 7;
    // What stands in series with the input of a disconnected network.
    static constexpr double kDisconnected = 1e12;
    static constexpr int kMaxOrder = 4;
    static constexpr std::size_t kFileNameField = 271;
    static constexpr int kFirstVersionWithTwoDrivers = 310;
    // Where the four measured-file names start in a current record.
    static constexpr std::size_t kNamesOffset = 153;

    // index 0 bass, 1 mid, 2 treble.
    TNet(TNetOwner& owner, int index);
    ~TNet() override;
    TNet(const TNet&) = delete;
    TNet& operator=(const TNet&) = delete;

    // One band of the project's schematic (TNetSchematic.cpp).
    void DrawSchematic(TCanvas& canvas) override;
    void DrawLabels(TCanvas& canvas) override;
    bool Calculate() override;
    void Reset() override;
    void MarkDirty() override;
    bool ReadRecord(TBinaryReader& in, int version) override;
    void WriteRecord(TBinaryWriter& out) const override;
    static std::size_t RecordSize(int version);

    TNetOwner& Owner() const { return owner_; }
    int Index() const { return index_; }
    const char* Name() const;          // "Bass network", ...
    const char* DriverCaption() const; // "Bass driver", ...
    int DialogResource() const;        // 15, 16, 18
    int DriverSymbol() const;          // 253, 251, 250
    TNetRole Role() const { return static_cast<TNetRole>(index_); }
    bool HasLowPass() const { return Role() != TNetRole::HighPass; }
    bool HasHighPass() const { return Role() != TNetRole::LowPass; }
    int NetworkCommand() const { return 12101 + index_; }
    int DriverCommand() const;

    TBranch& Branch(int i) { return *branches_[static_cast<std::size_t>(i)]; }
    const TBranch& Branch(int i) const { return *branches_[static_cast<std::size_t>(i)]; }
    TNetDriver& Driver(int i) { return *drivers_[static_cast<std::size_t>(i)]; }
    const TNetDriver& Driver(int i) const { return *drivers_[static_cast<std::size_t>(i)]; }
    bool Dirty() const { return dirty_; }

    // The network's own values; edits go through the dialogs or the operations below,
    // which mark what they change dirty.
    int driverCount = 1;
    bool seriesConnection = false;
    bool invertPolarity = false;
    int highPassOrder = 0;
    int lowPassOrder = 0;
    double highPassCutoff = 5000.0;
    double lowPassCutoff = 500.0;
    bool disconnect = false;
    double re = 8.0, rex = 0.0, le = 0.001;
    double attenuation = 0.0; // dB
    // The treble network of a two-way filter draws its schematic band where a
    // three-way filter draws the midrange.
    bool twoWayBand = false;
    // Top of this network's band in the schematic (the upper conductor).
    int SchematicTop() const { return twoWayBand && index_ == 2 ? 410 : 120 + 290 * index_; }

    // Per-point results beyond the base's.
    const TComplexRow& Transfer() const { return transfer_; }
    const TRealRow& FilterGain() const { return filterGain_; }
    const TComplexRow& DriverOutput(int driver) const { return driverOutput_[static_cast<std::size_t>(driver)]; }
    // The ray of the last calculation that lies on axis: Level(OnAxisRay()) is the
    // on-axis level.
    int OnAxisRay() const { return onAxisRay_; }

    // Design calculators (the dialog's "Calc" buttons); each leaves the network dirty.
    void CalcLowPass();
    void CalcHighPass();
    void CalcAttenuator();
    void CalcZobel();
    // The resistance the ladder is designed for: Re, doubled or halved for two drivers.
    double DesignLoad() const;
    // A typed component value: the branch type follows from which values are nonzero.
    void SetComponentValue(int branch, TCompKind kind, double value);
    void SetCoilResistance(int branch, double ohms);

    // Names a measured file for a driver and reads it. A file that cannot be read
    // leaves the driver with what it had; an empty name forgets the file.
    bool SetMeasFile(int driver, TMeasKind kind, const std::string& name);

    // Dialogs: made on first use, kept until the network goes.
    TNetDialog& NetDialog();
    TDriverDialog& DriverDialog();
    void OpenNetDialog();
    void OpenDriverDialog();
    // What an edit in a dialog does: the project changes and recalculates.
    void Edited();

private:
    void ResetBranches();
    void SolveOneDriver(const TFilterGrid& grid);
    void SolveTwoDrivers(const TFilterGrid& grid);
    // Z and H through branches 7 .. 0, from the load towards the amplifier.
    void Ladder();
    void FillRays(const TFilterGrid& grid);
    void FinishOnAxis(const TFilterGrid& grid);
    TMeasData& Meas(int driver, TMeasKind kind);

    TNetOwner& owner_;
    int index_;
    std::array<std::unique_ptr<TBranch>, kBranches> branches_;
    std::array<std::unique_ptr<TNetDriver>, 2> drivers_;
    bool dirty_ = true;

    TComplexRow transfer_{};
    TRealRow filterGain_{};
    std::array<TComplexRow, 2> driverOutput_{};
    int onAxisRay_ = 0;
    // Scratch: the driver impedances and the load, and one ray of the second driver.
    TComplexRow zd1_{}, zd2_{}, load_{}, scratch_{};

    std::unique_ptr<TNetDialog> netDialog_;
    std::unique_ptr<TDriverDialog> driverDialog_;
    std::int16_t netDialogX_ = 0, netDialogY_ = 0, driverDialogX_ = 0, driverDialogY_ = 0;
};
