#include "TSpkCalcMissing.h"

#include "TSpkData.h"
#include "TSpkRelations.h"

#include <cmath>

namespace {

struct TRule {
    TSpkParam target;
    TSpkRelation relation;
};

// The order matters: a value derived late in one pass feeds the earlier rules of the next.
constexpr TRule kRulesBeforeHeights[] = {
    {TSpkParam::Sd, TSpkRelation::R1},  {TSpkParam::Vas, TSpkRelation::R2}, {TSpkParam::Cms, TSpkRelation::R3},
    {TSpkParam::Cas, TSpkRelation::R4}, {TSpkParam::Qms, TSpkRelation::R5}, {TSpkParam::Qes, TSpkRelation::R6},
    {TSpkParam::Qts, TSpkRelation::R7}, {TSpkParam::Xmax, TSpkRelation::R8},
};
constexpr TRule kRulesAfterHeights[] = {
    {TSpkParam::Mmd, TSpkRelation::R9}, {TSpkParam::Mms, TSpkRelation::R10}, {TSpkParam::Rms, TSpkRelation::R11},
    {TSpkParam::fs, TSpkRelation::R12}, {TSpkParam::Bl, TSpkRelation::R13},
};
constexpr int kPasses = 3;

void Run(TSpkData& u, const TRule& rule)
{
    if (!u.IsDefined(rule.target))
        ApplyRelation(u, rule.relation);
}

} // namespace

void CalcMissingFields(TSpkData& u)
{
    for (int pass = 0; pass < kPasses; ++pass) {
        for (const TRule& rule : kRulesBeforeHeights)
            Run(u, rule);
        // The voice coil height and the gap height from the excursion and the other one.
        if (!TSpkData::IsDefined(u.l) && TSpkData::IsDefined(u.Xmax) && TSpkData::IsDefined(u.h))
            u.l = std::fabs(u.Xmax - u.h);
        if (!TSpkData::IsDefined(u.h) && TSpkData::IsDefined(u.Xmax) && TSpkData::IsDefined(u.l))
            u.h = std::fabs(u.l - u.Xmax);
        for (const TRule& rule : kRulesAfterHeights)
            Run(u, rule);
    }
    u.UpdateSquares();
}
