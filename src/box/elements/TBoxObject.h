#pragma once
// An enclosed air volume: its compliance with absorption and leakage losses as an
// acoustic impedance over the box grid, its file record and its report lines.

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

class TBoxObject : public TMeasureSetupObject {
public:
    static constexpr std::size_t kRecordSize = 28;
    static constexpr std::size_t kNameSize = 100;

    // name: heading in the information window ("Box", "Rear box", ...); showsQl: whether
    // the leakage Q is reported and edited (it enters the impedance either way).
    TBoxObject(std::string name, bool showsQl);

    void Reset();

    // Zb[i] over the grid points; only overwrites entries.
    void UpdateImpedance(const TElementGrid& grid);

    // 1 + 0.002 · fill: how much the filling enlarges the volume acoustically.
    double ComplianceFactor() const;
    // Vb · ComplianceFactor(): the volume a port in this box is tuned against.
    double TuningVolume() const;
    // Cab = ComplianceFactor() · Vb / (ρc²), m⁵/N.
    double Compliance() const;

    // The 28-byte record: Vb, Qb, Ql (doubles) and fill (int32).
    void WriteRecord(TBinaryWriter& out) const;
    // Takes the record only when it is complete and holds values a box can have;
    // otherwise nothing changes. Either way the reader has moved past what it read.
    [[nodiscard]] bool ReadRecord(TBinaryReader& in);

    // Appends the element's information window lines.
    void Report(std::vector<std::string>& lines) const;

    const std::string& Name() const { return name_; }
    bool ShowsQl() const { return showsQl_; }

    double Vb = 0.01;     // net volume, m³
    double Qb = 15.0;     // absorption Q
    double Ql = 15.0;     // leakage Q
    std::int32_t fill = 0; // damping material, 0 .. 100 %
    bool dirty = true;    // the impedance is recomputed at the next calculation

    // Zb[i], Pa·s/m³; entries from the grid's point count on are unused.
    std::array<TComplex, TElementGrid::kMaxPoints> impedance{};

private:
    std::string name_;
    bool showsQl_;
};
