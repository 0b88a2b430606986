#include "box/elements/TBoxObject.h"

#include "box/elements/TElementConstants.h"
#include "core/TBinaryStream.h"
#include "ui/TNumberText.h"

#include <cmath>

namespace C = TElementConstants;

TBoxObject::TBoxObject(std::string name, bool showsQl) : name_(std::move(name)), showsQl_(showsQl)
{
    // The heading is a fixed 100-character field wherever it is shown.
    if (name_.size() >= kNameSize)
        name_.resize(kNameSize - 1);
    Reset();
}

void TBoxObject::Reset()
{
    Vb = 0.01;
    Qb = 15.0;
    Ql = 15.0;
    fill = 0;
    dirty = true;
}

double TBoxObject::ComplianceFactor() const
{
    return 1.0 + C::kFillFactorPerPercent * fill;
}

double TBoxObject::TuningVolume() const
{
    return Vb * ComplianceFactor();
}

double TBoxObject::Compliance() const
{
    // Same grouping as the impedance below, so both agree to the last bit.
    return (1.0 + fill * 0.01 * 0.2) * (Vb * C::kInvRhoC2);
}

void TBoxObject::UpdateImpedance(const TElementGrid& grid)
{
    // A box without volume (or a damaged one) is taken as a very stiff 1 cm³ rather
    // than an infinite impedance that would turn every sum through it into NaN.
    constexpr double kStiffest = 1e-6 * C::kInvRhoC2;
    const double compliance = Compliance();
    const double cab = std::isfinite(compliance) && compliance > kStiffest ? compliance : kStiffest;
    // Absorption: a series resistance r = -x/Qb following the reactance x = -1/(ω·Cab);
    // leakage: a parallel conductance ω·Cab/Ql. Both scale with the reactance, so
    // 1 / (1/(r + jx) + ω·Cab/Ql) = (1/Qb - j) / (1 + 1/(Qb·Ql) - j/Ql) / (ω·Cab):
    // one fixed complex factor over ω·Cab, a single division per point.
    const double a = 1.0 / Qb, g = 1.0 / Ql;
    const TComplex k = DivComplex(TComplex(a, -1.0), TComplex(1.0 + a * g, -g));
    const int n = grid.Points();
    for (int i = 0; i < n; ++i) {
        const double perOmegaC = 1.0 / (cab * grid.omegas[i]);
        impedance[static_cast<std::size_t>(i)] = TComplex(k.real() * perOmegaC, k.imag() * perOmegaC);
    }
}

void TBoxObject::WriteRecord(TBinaryWriter& out) const
{
    out.WriteDouble(Vb);
    out.WriteDouble(Qb);
    out.WriteDouble(Ql);
    out.WriteInt32(fill);
}

bool TBoxObject::ReadRecord(TBinaryReader& in)
{
    double vb = 0.0, qb = 0.0, ql = 0.0;
    std::int32_t f = 0;
    bool ok = in.ReadDouble(vb);
    ok = ok && in.ReadDouble(qb);
    ok = ok && in.ReadDouble(ql);
    ok = ok && in.ReadInt32(f);
    if (!ok)
        return false;
    // A damaged record would turn every later result into NaN or infinity.
    const bool plausible = std::isfinite(vb) && vb > 0.0 && std::isfinite(qb) && qb > 0.0 &&
                           std::isfinite(ql) && ql > 0.0 && f >= 0 && f <= 100;
    if (!plausible)
        return false;
    Vb = vb;
    Qb = qb;
    Ql = ql;
    fill = f;
    dirty = true;
    return true;
}

void TBoxObject::Report(std::vector<std::string>& lines) const
{
    lines.push_back(name_);
    lines.push_back(TNumberText::FormatDouble(" Vol\t\t%3.2f l", Vb * 1000.0));
    lines.push_back(TNumberText::FormatDouble(" Qb\t\t%3.1f", Qb));
    if (showsQl_)
        lines.push_back(TNumberText::FormatDouble(" Ql\t\t%3.1f", Ql));
    lines.push_back(TNumberText::FormatLong(" Fill\t\t%d %%", fill));
}
