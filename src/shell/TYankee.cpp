#include "TYankee.h"

#include "ui/TCommandIds.h"

#include <iterator>

namespace {
struct TYankeeField {
    int id;
    int partner;
    double factor; // this unit -> partner's unit
    TFieldInfo info;
    double initial;
};

// In layout order: each metric field, then its imperial partner on the same row.
// The imperial ranges and initial values are the metric ones converted, so both
// fields of a pair describe the same quantity.
constexpr TYankeeField kFields[] = {
    {TYankee::Millimetre, TYankee::Inch, 0.03937007874015748, {"&Length", "mm", "%2.3f", 0.1, 1000}, 1.0},
    {TYankee::Inch, TYankee::Millimetre, 25.4, {"", "in", "%2.4f", 0.003937007874015748, 39.37007874015748},
     0.03937007874015748},
    {TYankee::SquareCentimetre, TYankee::SquareInch, 0.1550003100006200063, {"&Small area", "cm^2", "%2.2f", 1, 10000},
     100},
    {TYankee::SquareInch, TYankee::SquareCentimetre, 6.4516, {"", "sq. in", "%2.3f", 0.15500031000062, 1550.0031000062},
     15.500031000062},
    {TYankee::Litre, TYankee::CubicFoot, 0.03531466621266132, {"&Volume", "l", "%2.2f", 0.01, 10000}, 10},
    {TYankee::CubicFoot, TYankee::Litre, 28.316847, {"", "cu. ft", "%2.4f", 0.00035314666212661323, 353.1466621266132},
     0.3531466621266132},
    {TYankee::SquareMetre, TYankee::SquareFoot, 10.763910416709722, {"L&arge area", "m^2", "%2.3f", 0.01, 100}, 1},
    {TYankee::SquareFoot, TYankee::SquareMetre, 0.09290304,
     {"", "sq. ft", "%2.2f", 0.10763910416709722, 1076.3910416709723}, 10.763910416709722},
};

const TYankeeField* YankeeField(int id)
{
    for (const TYankeeField& f : kFields)
        if (f.id == id)
            return &f;
    return nullptr;
}
} // namespace

static_assert(std::size(kFields) == TYankee::kFieldCount);

TYankee::TYankee(THost& host) : TDialogModel(host, "Yankee tool !", "yankee.txt")
{
    menuCommand = TCmd::YankeeTool;
    Group("");
    bool metric = true;
    for (std::size_t i = 0; i < std::size(kFields); ++i) {
        const TYankeeField& f = kFields[i];
        // Both fields of a pair show what the tool holds; a commit sets the partner too.
        TField& field = AddField(f.id, f.info,
                                 {.read = [this, i] { return values_[i]; },
                                  .write = [this, i](double value) {
                                      values_[i] = value;
                                      values_[PartnerIndex(i)] = value * kFields[i].factor;
                                      return true;
                                  }});
        if (!metric)
            field.Beside();
        metric = !metric;
    }
    SetInitialValues();
    Reload();
}

std::size_t TYankee::PartnerIndex(std::size_t index)
{
    for (std::size_t i = 0; i < std::size(kFields); ++i)
        if (kFields[i].id == kFields[index].partner)
            return i;
    return index;
}

void TYankee::SetInitialValues()
{
    for (std::size_t i = 0; i < std::size(kFields); ++i)
        values_[i] = kFields[i].initial;
}

void TYankee::Open()
{
    if (!IsOpen())
        SetInitialValues();
    TDialogModel::Open();
}

int TYankee::Partner(int id)
{
    const TYankeeField* f = YankeeField(id);
    return f ? f->partner : 0;
}

double TYankee::Factor(int id)
{
    const TYankeeField* f = YankeeField(id);
    return f ? f->factor : 0.0;
}
