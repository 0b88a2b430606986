// The passive radiator box's own sizing rules: the alignment table lookup and the
// quick box. Both go through the elements' commit rules, so the sized box is one the
// dialog could have been given by hand.

#include "TAbrBox.h"

#include "box/elements/TAbrObject.h"
#include "box/elements/TAbrObjectFields.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TBoxObjectFields.h"
#include "ui/TDialogModel.h"
#include "ui/THost.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Passive radiator alignments by the driver's total Q: h = fb / fs, α = Vas / Vb.
constexpr std::array<TAbrAlignment, 41> kAlignments = {{
    {0.20, 2.10, 8.21}, {0.21, 2.02, 7.26}, {0.22, 1.94, 6.38}, {0.23, 1.88, 5.76}, {0.24, 1.82, 5.20},
    {0.25, 1.77, 4.76}, {0.26, 1.73, 4.33}, {0.27, 1.68, 4.01}, {0.28, 1.64, 3.65}, {0.29, 1.59, 3.34},
    {0.30, 1.56, 3.08}, {0.31, 1.51, 2.78}, {0.32, 1.48, 2.58}, {0.33, 1.45, 2.38}, {0.34, 1.42, 2.20},
    {0.35, 1.39, 2.06}, {0.36, 1.35, 1.91}, {0.37, 1.33, 1.80}, {0.38, 1.30, 1.66}, {0.39, 1.26, 1.53},
    {0.40, 1.23, 1.41}, {0.41, 1.21, 1.30}, {0.42, 1.19, 1.22}, {0.43, 1.16, 1.12}, {0.44, 1.13, 1.03},
    {0.45, 1.10, 0.96}, {0.46, 1.06, 0.87}, {0.47, 1.03, 0.80}, {0.48, 1.00, 0.73}, {0.49, 0.98, 0.69},
    {0.50, 0.95, 0.65}, {0.51, 0.92, 0.60}, {0.52, 0.90, 0.55}, {0.53, 0.87, 0.52}, {0.54, 0.84, 0.48},
    {0.55, 0.81, 0.44}, {0.56, 0.78, 0.39}, {0.57, 0.75, 0.37}, {0.58, 0.72, 0.33}, {0.59, 0.70, 0.31},
    {0.60, 0.68, 0.28},
}};

// A computed Q a hair above a row's value (0.41 from rounding) still takes that row.
constexpr double kRowTolerance = 1e-9;

// A sized value stays one the field could have been given: within its shown range.
double WithinField(const TFieldInfo& info, double stored)
{
    return info.Stored(std::clamp(info.Shown(stored), info.minimum, info.maximum));
}

void CommitBox(TBoxObject& box, TAbrObject& abr, TBoxField field, double stored)
{
    CommitBoxStored(box, field, WithinField(BoxFieldInfo(field), stored), {}, &abr);
}

void CommitAbr(TAbrObject& abr, TAbrField field, double stored)
{
    CommitAbrStored(abr, field, WithinField(AbrFieldInfo(field), stored));
}

} // namespace

std::optional<TAbrAlignment> TAbrBox::AlignmentFor(double qts)
{
    if (!(qts >= kLowestQts) || !(qts <= kHighestQts))
        return std::nullopt;
    for (const TAbrAlignment& row : kAlignments)
        if (row.qts >= qts - kRowTolerance)
            return row;
    return kAlignments.back();
}

bool TAbrBox::TableLookup()
{
    // Without a complete unit there is no Q to look up.
    if (!front_.complete) {
        host_.Beep();
        return false;
    }
    ComputeEffectiveDriver();
    if (effectiveQts < kLowestQts) {
        host_.Message("Minimum value 0.20", "Qts value too low", TMsgButtons::Ok, TMsgIcon::Warning);
        return false;
    }
    if (effectiveQts > kHighestQts) {
        host_.Message("Maximum value 0.61", "Qts value too high", TMsgButtons::Ok, TMsgIcon::Warning);
        return false;
    }
    const std::optional<TAbrAlignment> row = AlignmentFor(effectiveQts);
    if (!row)
        return false;
    // The table is for one driver and one radiator of the driver's own Vas; n drivers
    // need n times the box, an isobaric pair (half the Vas) half of everything.
    const double isobaric = front_.isobaric ? 0.5 : 1.0;
    const int drivers = front_.numberOfDrivers;
    TBoxObject& box = BoxVolume();
    TAbrObject& abr = *radiator_;
    CommitBox(box, abr, TBoxField::Qb, 15.0);
    CommitBox(box, abr, TBoxField::Volume, drivers * front_.Vas / row->alpha * isobaric);
    CommitAbr(abr, TAbrField::Vap, front_.Vas * isobaric);
    CommitAbr(abr, TAbrField::Count, drivers);
    CommitAbr(abr, TAbrField::Fb, effectiveFs * row->h);
    MeasSetup().setupChanged = true;
    Resized();
    return true;
}

bool TAbrBox::QuickBox()
{
    if (!front_.complete) {
        host_.Beep();
        return false;
    }
    ComputeEffectiveDriver();
    const int drivers = front_.numberOfDrivers;
    TBoxObject& box = BoxVolume();
    TAbrObject& abr = *radiator_;
    CommitBox(box, abr, TBoxField::Volume, 1.5 * totalVas);
    // The radiator is the driver's cone without its motor: same area, same moving
    // mass, each unit with its driver's share of the suspension.
    CommitAbr(abr, TAbrField::Sd, front_.Sd);
    CommitAbr(abr, TAbrField::Mmp, front_.Mmd);
    CommitAbr(abr, TAbrField::Vap, totalVas / drivers);
    CommitAbr(abr, TAbrField::Count, drivers);
    abr.UpdateBoxResonance();
    abr.UpdateFreeAirResonance();
    Resized();
    return true;
}

void TAbrBox::Resized()
{
    BoxVolume().dirty = true;
    radiator_->dirty = true;
    if (TDialogModel* dialog = ExistingBoxDialog(); dialog && dialog->IsOpen())
        dialog->Reload();
    RecalcRequest(TRecalc::Recalculate);
}
