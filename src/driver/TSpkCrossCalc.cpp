#include "TSpkCrossCalc.h"

#include "TSpkRelations.h"
#include "ui/THost.h"

#include <cmath>

using namespace TSpkConst;

namespace {

bool Defined(double v) { return TSpkData::IsDefined(v); }

void R(TSpkData& u, TSpkRelation relation) { ApplyRelation(u, relation); }

// Cas while cross-calculating: needs Sd and Cms and takes the Vas they give, so that
// it also fits when Vas is only recomputed in a later step (an fs entry).
void CasFromSdCms(TSpkData& u)
{
    if (!Defined(u.Cms) || !Defined(u.Sd))
        return;
    double cas = u.Sd * u.Sd * u.Cms * kRhoC2 * kOneOverRhoC2;
    if (std::isfinite(cas))
        u.Cas = cas;
}

void QesOrRe(TSpkData& u) { R(u, Defined(u.Re) ? TSpkRelation::R6 : TSpkRelation::R14); }
void QmsOrRms(TSpkData& u) { R(u, Defined(u.Rms) ? TSpkRelation::R5 : TSpkRelation::R11); }

// Qts entered with Qes or Qms known: the other Q follows. False when 1/Qts - 1/Q
// leaves no positive Q.
bool EnterQts(TSpkData& u, double v)
{
    if (Defined(u.Qes)) {
        double d = 1.0 / v - 1.0 / u.Qes;
        if (!(d > 0.0) || !std::isfinite(1.0 / d))
            return false;
        u.Qms = 1.0 / d;
        R(u, TSpkRelation::R11);
    } else if (Defined(u.Qms)) {
        double d = 1.0 / v - 1.0 / u.Qms;
        if (!(d > 0.0) || !std::isfinite(1.0 / d))
            return false;
        u.Qes = 1.0 / d;
        R(u, TSpkRelation::R13);
    }
    u.Qts = v;
    return true;
}

// Xmax is the coil overhang l - h: the heights follow it.
bool EnterXmax(TSpkData& u, double v)
{
    if (Defined(u.h)) {
        u.Xmax = v;
        u.l = u.Xmax + u.h;
    } else if (Defined(u.l)) {
        if (!(u.l - v > 0.0))
            return false;
        u.Xmax = v;
        u.h = u.l - u.Xmax;
    } else {
        u.Xmax = v;
    }
    return true;
}

bool CrossCalculate(TSpkData& u, TSpkParam param, double v)
{
    using P = TSpkParam;
    using Rel = TSpkRelation;
    switch (param) {
    case P::Sd:
        u.SetSd(v);
        if (Defined(u.Vas)) {
            R(u, Rel::R3);
            CasFromSdCms(u);
        } else {
            R(u, Rel::R2);
        }
        R(u, Defined(u.Mms) ? Rel::R12 : Rel::R10);
        R(u, Rel::R9);
        R(u, Rel::R5);
        if (Defined(u.Re)) {
            R(u, Rel::R6);
            R(u, Rel::R7);
        } else {
            R(u, Rel::R14);
        }
        R(u, Rel::R13);
        return true;
    case P::Vas:
        u.Vas = v;
        R(u, Rel::R3);
        CasFromSdCms(u);
        for (Rel r : {Rel::R12, Rel::R6, Rel::R5, Rel::R7, Rel::R13})
            R(u, r);
        return true;
    case P::Cms:
        u.Cms = v;
        R(u, Rel::R2);
        CasFromSdCms(u);
        R(u, Defined(u.Mms) ? Rel::R12 : Rel::R10);
        for (Rel r : {Rel::R9, Rel::R6, Rel::R5, Rel::R7, Rel::R13})
            R(u, r);
        return true;
    case P::Cas:
        u.Cas = v;
        R(u, Rel::R17);
        R(u, Rel::R2);
        if (Defined(u.Mms))
            R(u, Rel::R12);
        for (Rel r : {Rel::R9, Rel::R6, Rel::R5, Rel::R7, Rel::R13})
            R(u, r);
        return true;
    case P::Qms:
        u.Qms = v;
        R(u, Rel::R11);
        R(u, Rel::R7);
        return true;
    case P::Qes:
        u.Qes = v;
        R(u, Rel::R7);
        R(u, Rel::R13);
        return true;
    case P::Qts:
        if (!Defined(v)) {
            u.Qts = v;
            return true;
        }
        return EnterQts(u, v);
    case P::Xmax:
        if (!Defined(v)) {
            u.Xmax = v;
            return true;
        }
        return EnterXmax(u, v);
    case P::h:
        u.h = v;
        if (Defined(u.h))
            R(u, Rel::R8);
        return true;
    case P::l:
        if (Defined(v) && Defined(u.h)) {
            if (!(v - u.Xmax > 0.0))
                return false;
            u.l = v;
            R(u, Rel::R8);
            return true;
        }
        u.l = v;
        return true;
    case P::Mmd:
    case P::Mms:
        if (param == P::Mmd) {
            u.Mmd = v;
            R(u, Rel::R15);
        } else {
            u.Mms = v;
            R(u, Rel::R16);
        }
        R(u, Rel::R12);
        QmsOrRms(u);
        QesOrRe(u);
        R(u, Rel::R7);
        R(u, Rel::R13);
        return true;
    case P::Rms:
        u.Rms = v;
        R(u, Rel::R5);
        R(u, Rel::R7);
        return true;
    case P::fs:
        u.fs = v;
        if (Defined(u.fs)) {
            if (Defined(u.Cms)) {
                R(u, Rel::R10);
                R(u, Rel::R9);
            } else if (Defined(u.Mms)) {
                R(u, Rel::R18);
                CasFromSdCms(u);
                R(u, Rel::R2);
            }
        }
        QesOrRe(u);
        QmsOrRms(u);
        R(u, Rel::R7);
        R(u, Rel::R13);
        return true;
    case P::Bl:
        u.Bl = v;
        QesOrRe(u);
        R(u, Rel::R7);
        return true;
    case P::Re:
        u.Re = v;
        for (Rel r : {Rel::R13, Rel::R6, Rel::R7})
            R(u, r);
        return true;
    case P::a:
    case P::Pmax:
    case P::Le:
        u.Param(param) = v;
        return true;
    }
    return true;
}

} // namespace

TSpkEntryResult EnterParameter(TSpkData& u, TSpkParam param, double value, THost& host)
{
    TSpkEntryResult result;
    if (!std::isfinite(value)) {
        result.accepted = false;
    } else if (!u.crossCalc) {
        if (param == TSpkParam::Sd)
            u.SetSd(value);
        else
            u.Param(param) = value;
    } else {
        result.accepted = CrossCalculate(u, param, value);
    }
    if (!result.accepted)
        host.Beep();
    u.UpdateSquares();
    return result;
}
