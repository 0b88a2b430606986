#pragma once
// A passive radiator ("ABR unit"): n identical units in parallel in one air volume.
// Holds the suspension and moving mass, derives the free-air and in-box resonances,
// turns them into mechanical, inner air mass and radiation impedances over the box
// grid, and carries the flow, excursion (with its limit) and radiated pressure the box
// type computes through it.

#include "box/elements/TElementGrid.h"
#include "core/TComplex.h"
#include "settings/TMeasSetup.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TBinaryReader;
class TBinaryWriter;
class TBoxObject;

class TAbrObject : public TMeasureSetupObject {
public:
    static constexpr std::size_t kRecordSize = 85;
    static constexpr std::int32_t kMinCount = 1;
    static constexpr std::int32_t kMaxCount = 9;
    static constexpr double kQmp = 7.0;

    // box: the air volume the units sit in; it must outlive the radiator.
    explicit TAbrObject(const TBoxObject& box);
    TAbrObject(const TAbrObject&) = delete;
    TAbrObject& operator=(const TAbrObject&) = delete;

    void Reset();

    // Cap = Vap / (ρc²); Cmp = Cap / Sd².
    void UpdateCompliance();
    // fp from Mms and Cmp (updates the compliance first).
    void UpdateFreeAirResonance();
    // Mms (and so Mmp) for free-air resonance f. False, changing nothing, for an f
    // that is not a positive number.
    bool SetFp(double f);
    // fb from Mms and each unit's share of the (filled) box in series with its own
    // suspension.
    void UpdateBoxResonance();
    // Mms (and so Mmp, fp) for box resonance f against the same filled box that
    // UpdateBoxResonance uses, so fb reads back as entered. False, changing nothing,
    // for an f that is not a positive number.
    bool SetFb(double f);
    // Sd with its radius, compliance and air load; the moving mass without air load
    // is kept.
    void SetSd(double sd);
    // Mmp with Mms = Mmp + air load.
    void SetMmp(double mmp);
    // The radiator's mechanical compliance in the box, m/N: what tunes fb.
    double BoxCompliance() const;

    // Zm, Zr and Zi over the grid points (mechanical first, as the box types expect).
    void UpdateImpedances(const TElementGrid& grid);
    // Zm + Zr + Zi of one unit at grid point i.
    TComplex UnitImpedance(int i) const;

    // The flow of one unit at grid point i: stores the volume velocity of all n units
    // and the peak-to-peak excursion of a unit in mm.
    void SetUnitFlow(int i, const TComplex& unitFlow, double omega);
    // The non-linearity rule over the first count points: only with the switch on and
    // Xmax ≠ 0; an excursion above Xmax scales excursion and flow by sqrt(Xmax / x).
    void LimitExcursion(int count);
    // P[i] = K · f · Ua[i] of all n units, relative to 20 µPa. Returns P[i].
    TComplex Radiate(int i, const TComplex& pressureConstant, double frequency);

    // The 85-byte record. Qmp is not stored.
    void WriteRecord(TBinaryWriter& out) const;
    // Takes the record only when it is complete and plausible; otherwise nothing changes.
    [[nodiscard]] bool ReadRecord(TBinaryReader& in);

    void Report(std::vector<std::string>& lines) const;

    const TBoxObject& Box() const { return box_; }

    double Vap = 0.1;        // equivalent compliance volume, m³
    double Cap = 0.0;        // acoustic compliance, m⁵/N
    double Cmp = 0.0;        // mechanical compliance, m/N
    double Qmp = kQmp;       // mechanical Q at fp; neither edited nor stored
    double Sd = 0.03;        // effective area, m²
    double Mmp = 0.01;       // moving mass without air load, kg
    double fp = 0.0;         // free-air resonance, Hz
    double fb = 0.0;         // resonance in the box, Hz
    double Xmax = 0.01;      // excursion limit, m
    double a = 0.0;          // radius, m
    double Mms = 0.0;        // moving mass with air load, kg
    bool dirty = true;
    std::int32_t n = 1;      // number of units, 1 .. 9
    bool nonLinearity = false; // excursion limiting ("Simulate non lin.")

    std::array<TComplex, TElementGrid::kMaxPoints> mechanicalImpedance{}; // Zm of one unit, Pa·s/m³
    std::array<TComplex, TElementGrid::kMaxPoints> innerMassImpedance{};  // Zi
    std::array<TComplex, TElementGrid::kMaxPoints> radiationImpedance{};  // Zr
    std::array<TComplex, TElementGrid::kMaxPoints> volumeVelocity{};      // Ua of all units, m³/s
    std::array<TComplex, TElementGrid::kMaxPoints> pressure{};            // relative to 20 µPa
    std::array<double, TElementGrid::kMaxPoints> excursion{};             // mm peak to peak, one unit

private:
    double AirLoad() const;
    // The formulas of the update functions for given values, so a record can be
    // checked before it is taken.
    static double AirLoadOf(double radius);
    static double ComplianceOf(double vap, double sd);
    double BoxComplianceOf(double vap, double sd, std::int32_t count) const;
    static double ResonanceOf(double mass, double compliance);

    const TBoxObject& box_;
};
