#pragma once
// The drivers of an advanced network: one to four measured drivers (or plain
// resistances) wired in series, in parallel or as two parallel pairs in series, with
// optional shunt branches across them. Solve forms the electrical load the network
// drives and each driver's share of the voltage at the group; Place turns the drivers'
// voltages into acoustic outputs and sums them along the rays.

#include "filter/TDriverSet.h"
#include "filter/TNetBase.h"
#include "measdata/TMeasData.h"

#include <array>
#include <memory>
#include <string>

class TBranchA;
class TGeneral;

enum class TConnection : int { Series = 0, Parallel = 1, Pairs = 2 };
enum class TDriverSize : int { Large = 0, Medium = 1, Small = 2 };

struct TDriverA {
    explicit TDriverA(TMeasDataOwner& owner) : spl(owner, TMeasKind::Spl), impedance(owner, TMeasKind::Impedance) {}
    double x = 0.0, y = 0.0, z = 0.0; // metres
    double radius = 0.05;             // piston radius, metres
    double splScaling = 1.0;          // linear pressure factor
    double impedanceScaling = 1.0;    // linear
    bool splSameAs = false;           // use driver 1's data of that kind
    bool impedanceSameAs = false;
    TMeasData spl;
    TMeasData impedance;
};

class TDriverGroup {
public:
    using TComplexRow = TNetBase::TComplexRow;
    using TRealRow = TNetBase::TRealRow;
    static constexpr int kDrivers = 4;
    static constexpr int kSlots = 4;
    // Shunt branch positions across the drivers.
    static constexpr int kFirstShunt = 10;

    explicit TDriverGroup(TMeasDataOwner& owner);

    // One driver, series, 8 ohm; drivers 2-4 the same as driver 1; files forgotten;
    // the store slots are cleared too.
    void Reset();

    // --- Fields (edits mark the owning network dirty through it) ---
    int Count() const { return count_; }
    void SetCount(int n); // clamped to 1..4; pairs fall back to series below four
    TConnection Connection() const { return connection_; }
    // False (nothing changes) for pairs with fewer than four drivers.
    bool SetConnection(TConnection c);
    // The shunt positions across the drivers that exist for the connection: series
    // 10 .. 9 + N, pairs 10 and 11, parallel 10. Returns how many were written.
    int ShuntPositions(std::array<int, kDrivers>& positions) const;
    bool ShuntExists(int position) const;

    bool invert = false;
    TDriverSize size = TDriverSize::Medium;
    double re = 8.0;   // ohm, for drivers without impedance data
    double le = 0.001; // H, kept and shown only
    double rex = 0.0;  // ohm, in series with each driver

    TDriverA& Driver(int d) { return *drivers_[static_cast<std::size_t>(d)]; }
    const TDriverA& Driver(int d) const { return *drivers_[static_cast<std::size_t>(d)]; }
    TMeasData& Meas(int d, TMeasKind kind);

    // Names a measured file for driver d and reads it. A file that cannot be read leaves
    // the driver with what it had (false); an empty name forgets the file. Afterwards
    // the driver's same-as flag of that kind is set exactly when its data are not loaded.
    bool SetMeasFile(int d, TMeasKind kind, const std::string& name);
    const std::string& FileName(int d, TMeasKind kind) const;

    // --- Store slots ---
    void Store(int slot);
    // Copies slot s back and reads its files; false when the slot was never stored.
    bool Recall(int slot);
    bool Stored(int slot) const { return slots_[static_cast<std::size_t>(slot)].stored; }
    const TDriverSet& Slot(int slot) const { return slots_[static_cast<std::size_t>(slot)]; }
    TDriverSet& Slot(int slot) { return slots_[static_cast<std::size_t>(slot)]; }

    // --- Solution ---
    // D_d and G from the drivers and the shunt branches (shunts[k] is position 10 + k,
    // counted when its type is not 0 and noComponents is off).
    void Solve(const TFilterGrid& grid, const std::array<const TBranchA*, kDrivers>& shunts, bool noComponents,
               bool active);
    const TComplexRow& Divider(int d) const { return divider_[static_cast<std::size_t>(d)]; }
    const TComplexRow& Load() const { return load_; }
    // v_d = T * D_d times the SPL data and scaling; then the rows of the general
    // settings' ray list marked in computed, summed over the drivers and negated for
    // inverted polarity.
    void Place(const TFilterGrid& grid, const TGeneral& general, const TComplexRow& transfer,
               const std::array<bool, TNetBase::kMaxRays>& computed, std::array<TComplexRow, TNetBase::kMaxRays>& rays);
    const TComplexRow& Output(int d) const { return output_[static_cast<std::size_t>(d)]; }

private:
    // What a driver's placement along one ray depends on; the placement (the driver as
    // heard along the ray per volt of its output) is recomputed only when it changes.
    struct TPlaceKey {
        double x = 0, y = 0, z = 0, radius = 0, angle = 0, distance = 0;
        bool vertical = false, infinite = false;
        const TFilterGrid* grid = nullptr;
        bool operator==(const TPlaceKey&) const = default;
    };
    using TPlacements = std::array<std::array<TComplexRow, TNetBase::kMaxRays>, kDrivers>;

    int count_ = 1;
    TConnection connection_ = TConnection::Series;
    std::array<std::unique_ptr<TDriverA>, kDrivers> drivers_;
    std::array<TDriverSet, kSlots> slots_{};

    std::array<TComplexRow, kDrivers> divider_{};
    std::array<TComplexRow, kDrivers> output_{};
    TComplexRow load_{};
    std::unique_ptr<TPlacements> placements_;
    std::array<std::array<TPlaceKey, TNetBase::kMaxRays>, kDrivers> placed_{};
};
