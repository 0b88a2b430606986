#pragma once
// The relations between speaker unit parameters. Each one sets its target only when
// all its sources are defined (nonzero) and the result is a finite number.

class TSpkData;

enum class TSpkRelation {
    R1,  // Sd = sqrt(Vas / (Cms rho c^2)), and a with it
    R2,  // Vas = Sd^2 Cms rho c^2
    R3,  // Cms = Vas / (Sd^2 rho c^2)
    R4,  // Cas = Vas / (rho c^2)
    R5,  // Qms = 2 pi fs Mms / Rms
    R6,  // Qes = 2 pi fs Mms Re / Bl^2
    R7,  // Qts = 1 / (1/Qes + 1/Qms)
    R8,  // Xmax = |l - h|
    R9,  // Mmd = 1 / (4 pi^2 fs^2 Cms) - 3.15 a^3
    R10, // Mms = 1 / (4 pi^2 fs^2 Cms)
    R11, // Rms = 2 pi fs Mms / Qms
    R12, // fs = 1 / (2 pi sqrt(Mms Cms))
    R13, // Bl = sqrt(2 pi Re fs Mms / Qes)
    R14, // Re = Bl^2 Qes / (2 pi fs Mms)
    R15, // Mms = Mmd + 3.15 a^3; 0 when Mmd or a is undefined (no sources required)
    R16, // Mmd = Mms - 3.15 a^3; 0 when Mms or a is undefined (no sources required)
    R17, // Cms = Cas / Sd^2
    R18, // Cms = 1 / (4 pi^2 fs^2 Mms)
};

namespace TSpkConst {
// rho c^2 of the speaker unit derivations (the enclosure elements use another value).
inline constexpr double kRhoC2 = 140000.0;
inline constexpr double kOneOverRhoC2 = 7.142857142857143e-6;
inline constexpr double kTwoPi = 6.28318530718;
inline constexpr double kFourPi2 = 39.4784176044;
// Air load of both sides of the cone: kAirLoad * a^3, in kg.
inline constexpr double kAirLoad = 3.15;
} // namespace TSpkConst

// True when the sources were defined and the target was set.
bool ApplyRelation(TSpkData& unit, TSpkRelation relation);
// Whether the relation would apply (its sources are all defined).
bool RelationSourcesDefined(const TSpkData& unit, TSpkRelation relation);
