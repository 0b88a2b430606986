#pragma once
// A port (vent): n identical ports in parallel. Holds the port's dimensions, derives
// its effective area, acoustic mass and Helmholtz tuning against the tuning volume the
// box type sets, turns them into an impedance over the box grid, and carries the flow,
// air speed and radiated pressure the box type computes through it.

#include "box/elements/TElementGrid.h"
#include "box/elements/TPortNonLinearity.h"
#include "core/TComplex.h"
#include "settings/TMeasSetup.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TBinaryReader;
class TBinaryWriter;

class TPortObject : public TMeasureSetupObject {
public:
    static constexpr std::size_t kRecordSize = 53;
    // Files before version 400 have no flare ratio in the record.
    static constexpr std::size_t kOldRecordSize = 45;
    static constexpr int kFlareVersion = 400;
    static constexpr std::size_t kNameSize = 100;
    static constexpr std::int32_t kMinCount = 1;
    static constexpr std::int32_t kMaxCount = 9;
    // The compression limit of the box types whose ports have no flare (m/s).
    static constexpr double kFixedSpeedLimit = 15.3;
    // The shortest port the sizing rule accepts, m.
    static constexpr double kMinSizedLength = 0.1;

    // A port of a project: shares the project's non-linearity switch.
    TPortObject(std::string name, TPortNonLinearity& shared);
    // A port on its own, with a switch of its own (tools and tests).
    explicit TPortObject(std::string name);
    TPortObject(const TPortObject&) = delete;
    TPortObject& operator=(const TPortObject&) = delete;

    // Factory dimensions; also clears the shared non-linearity switch.
    void Reset();

    // Seff from S and the flare ratio: the radius loses a 1.8 mm boundary layer and a
    // flare gains up to 57.6 % of area.
    void UpdateEffectiveArea();
    static double EffectiveArea(double area, double flare);
    // Acoustic mass of the n ports together from the current Seff, kg/m⁴.
    double AcousticMass() const;
    // fp from L, Seff, n and V (updates the effective area first).
    void UpdateTuning();
    // Zp[i] of the n ports together; updates the effective area first.
    void UpdateImpedance(const TElementGrid& grid);

    // L for tuning frequency f against V. Fails, changing nothing, when the length
    // would be negative (or f or V cannot tune anything).
    [[nodiscard]] bool SetLengthFromTuning(double f);
    // A new narrowest area S' with the length that keeps fp; D follows from S'. Fails,
    // changing nothing, when the length would be negative.
    [[nodiscard]] bool SetAreaKeepingTuning(double newArea);
    // The automatic sizing rule: length from tuning f; while that fails, and then while
    // the port is shorter than 10 cm, the area doubles (D grows by sqrt(2)) and the
    // length is solved again. Starts from the current S and D. False, leaving the port
    // as it was, when no area up to 2^60 times the start gives a port.
    [[nodiscard]] bool SizeForTuning(double f);
    // The same from a round port of cross-section area (m²), what every quick box
    // starts from. False, leaving the port exactly as it was before the call.
    [[nodiscard]] bool SizeForTuningFromArea(double area, double f);

    // Flow at grid point i (total of the n ports). When the switch is on, an air speed
    // above the limit is compressed: speed and flow scale by sqrt(limit / speed).
    // Returns that factor (1 when nothing was compressed).
    double SetFlow(int i, const TComplex& flow);
    double SetFlow(int i, const TComplex& flow, double speedLimit);
    // 5 · max(1, 3c) + 15.3 m/s: 20.3 for a straight port, 30.3 at the widest flare.
    double SpeedLimit() const;
    // |U[i]| / (S · n), m/s, over the narrowest area.
    double AirSpeed(int i) const;
    // P[i] = K · f · U[i]: the radiated pressure at 1 m relative to 20 µPa, with K the
    // box pipeline's pressure constant. Returns P[i].
    TComplex Radiate(int i, const TComplex& pressureConstant, double frequency);

    // R = L / (2c), m; 0 stands for a straight port ("inf.").
    double FlareRadius() const;
    // The diameter at the mouth of a flared port, m (D for a straight one).
    double MaxDiameter() const;

    bool NonLinearity() const { return shared_->on; }
    void SetNonLinearity(bool on) { shared_->on = on; }

    // The 53-byte record (the shared switch included).
    void WriteRecord(TBinaryWriter& out) const;
    // version: the project file's version; before 400 the flare ratio is absent and c
    // keeps its value. Takes the record only when it is complete and plausible, then
    // updates the effective area; otherwise nothing changes.
    [[nodiscard]] bool ReadRecord(TBinaryReader& in, int version);

    void Report(std::vector<std::string>& lines) const;

    const std::string& Name() const { return name_; }

    double L = 0.1;                    // length of one port, m
    double S = 0.00196349540849375;    // narrowest area of one port, m²
    double Seff = 0.0;                 // effective area, m²
    double V = 0.1;                    // tuning volume, m³ (set by the box type)
    double D = 0.05;                   // narrowest diameter, m
    double fp = 0.0;                   // tuning frequency, Hz
    double c = 0.0;                    // flare ratio L / (2R), 0 .. 1
    std::int32_t n = 1;                // number of ports, 1 .. 9
    bool dirty = true;

    std::array<TComplex, TElementGrid::kMaxPoints> pressure{};       // relative to 20 µPa
    std::array<TComplex, TElementGrid::kMaxPoints> volumeVelocity{}; // m³/s, all n ports
    std::array<TComplex, TElementGrid::kMaxPoints> impedance{};      // Zp[i], Pa·s/m³

private:
    // The length that gives acoustic mass m with effective area seff and diameter d.
    double LengthForMass(double m, double seff, double d) const;
    // The formulas of the update functions for given values, so a record can be
    // checked before it is taken.
    static double AcousticMassOf(double length, double diameter, double seff, std::int32_t count);
    static double TuningOf(double mass, double volume);

    std::string name_;
    TPortNonLinearity own_;
    TPortNonLinearity* shared_;
};
