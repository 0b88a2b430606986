#include "TSpkRelations.h"

#include "TSpkData.h"

#include <cmath>
#include <initializer_list>

using namespace TSpkConst;

namespace {

bool AllDefined(std::initializer_list<double> values)
{
    for (double v : values) {
        if (!TSpkData::IsDefined(v))
            return false;
    }
    return true;
}

bool Store(double& target, double value)
{
    if (!std::isfinite(value))
        return false;
    target = value;
    return true;
}

double AirLoad(const TSpkData& u) { return kAirLoad * u.a * u.a * u.a; }

} // namespace

bool RelationSourcesDefined(const TSpkData& u, TSpkRelation relation)
{
    switch (relation) {
    case TSpkRelation::R1: return AllDefined({u.Vas, u.Cms});
    case TSpkRelation::R2: return AllDefined({u.Sd, u.Cms});
    case TSpkRelation::R3: return AllDefined({u.Sd, u.Vas});
    case TSpkRelation::R4: return AllDefined({u.Vas});
    case TSpkRelation::R5: return AllDefined({u.fs, u.Mms, u.Rms});
    case TSpkRelation::R6: return AllDefined({u.fs, u.Mms, u.Re, u.Bl});
    case TSpkRelation::R7: return AllDefined({u.Qes, u.Qms});
    case TSpkRelation::R8: return AllDefined({u.l, u.h});
    case TSpkRelation::R9: return AllDefined({u.fs, u.Cms, u.a});
    case TSpkRelation::R10: return AllDefined({u.fs, u.Cms});
    case TSpkRelation::R11: return AllDefined({u.fs, u.Mms, u.Qms});
    case TSpkRelation::R12: return AllDefined({u.Mms, u.Cms});
    case TSpkRelation::R13: return AllDefined({u.Re, u.fs, u.Mms, u.Qes});
    case TSpkRelation::R14: return AllDefined({u.Bl, u.Qes, u.fs, u.Mms});
    case TSpkRelation::R15:
    case TSpkRelation::R16: return true;
    case TSpkRelation::R17: return AllDefined({u.Cas, u.Sd});
    case TSpkRelation::R18: return AllDefined({u.fs, u.Mms});
    }
    return false;
}

bool ApplyRelation(TSpkData& u, TSpkRelation relation)
{
    if (!RelationSourcesDefined(u, relation))
        return false;
    switch (relation) {
    case TSpkRelation::R1: {
        double sd = std::sqrt(u.Vas / (u.Cms * kRhoC2));
        if (!std::isfinite(sd))
            return false;
        u.SetSd(sd);
        return true;
    }
    case TSpkRelation::R2: return Store(u.Vas, u.Sd * u.Sd * u.Cms * kRhoC2);
    case TSpkRelation::R3: return Store(u.Cms, u.Vas / (u.Sd * u.Sd * kRhoC2));
    case TSpkRelation::R4: return Store(u.Cas, u.Vas * kOneOverRhoC2);
    case TSpkRelation::R5: return Store(u.Qms, kTwoPi * u.fs * u.Mms / u.Rms);
    case TSpkRelation::R6: return Store(u.Qes, kTwoPi * u.fs * u.Mms * u.Re / (u.Bl * u.Bl));
    case TSpkRelation::R7: return Store(u.Qts, 1.0 / (1.0 / u.Qes + 1.0 / u.Qms));
    case TSpkRelation::R8: return Store(u.Xmax, std::fabs(u.l - u.h));
    case TSpkRelation::R9: return Store(u.Mmd, 1.0 / (u.fs * u.fs * kFourPi2 * u.Cms) - AirLoad(u));
    case TSpkRelation::R10: return Store(u.Mms, 1.0 / (u.fs * u.fs * kFourPi2 * u.Cms));
    case TSpkRelation::R11: return Store(u.Rms, kTwoPi * u.fs * u.Mms / u.Qms);
    case TSpkRelation::R12: return Store(u.fs, 1.0 / (kTwoPi * std::sqrt(u.Mms * u.Cms)));
    case TSpkRelation::R13: return Store(u.Bl, std::sqrt(kTwoPi * u.Re * u.fs * u.Mms / u.Qes));
    case TSpkRelation::R14: return Store(u.Re, u.Bl * u.Bl * u.Qes / (kTwoPi * u.fs * u.Mms));
    case TSpkRelation::R15:
        return Store(u.Mms, TSpkData::IsDefined(u.Mmd) && TSpkData::IsDefined(u.a) ? u.Mmd + AirLoad(u) : 0.0);
    case TSpkRelation::R16:
        return Store(u.Mmd, TSpkData::IsDefined(u.Mms) && TSpkData::IsDefined(u.a) ? u.Mms - AirLoad(u) : 0.0);
    case TSpkRelation::R17: return Store(u.Cms, u.Cas / (u.Sd * u.Sd));
    case TSpkRelation::R18: return Store(u.Cms, 1.0 / (u.fs * u.fs * kFourPi2 * u.Mms));
    }
    return false;
}
