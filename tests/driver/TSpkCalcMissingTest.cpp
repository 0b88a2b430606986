// "Calc. missing fields": what it fills, in how many passes, and that it never
// overwrites a given value.
#include "TSpkTestSupport.h"

#include "driver/TSpkCalcMissing.h"
#include "driver/TSpkRelations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace spktest;
using P = TSpkParam;

namespace {

// The derivations' own constants for 2 pi and 4 pi^2 (1/pi is kOneOverPi).
constexpr double kTwoPi = 6.28318530718;
constexpr double kFourPi2 = 39.4784176044;

TSpkData GivenOnly(const TSpkData& from, std::initializer_list<P> given)
{
    TSpkData u;
    for (P p : given)
        u.Param(p) = from.Param(p);
    return u;
}

std::set<P> DefinedParams(const TSpkData& u)
{
    std::set<P> out;
    for (int i = 0; i < kSpkParamCount; ++i) {
        if (u.IsDefined(static_cast<P>(i)))
            out.insert(static_cast<P>(i));
    }
    return out;
}

} // namespace

TEST(TSpkCalcMissing, SixGivenParametersFillExactlyTheEightOthers)
{
    // Scan-Speak 26W/8534G00 as published.
    const TSpkData sheet = UnitFromRow(DriverRow("ss_26w8534g00"));
    TSpkData u = GivenOnly(sheet, {P::Vas, P::Cms, P::fs, P::Qes, P::Qms, P::Re});
    CalcMissingFields(u);

    std::set<P> expected = {P::Vas, P::Cms, P::fs, P::Qes, P::Qms, P::Re, P::Sd, P::a,
                            P::Cas, P::Qts, P::Mms, P::Mmd, P::Rms, P::Bl};
    EXPECT_EQ(DefinedParams(u), expected);
    for (P p : {P::Xmax, P::h, P::l, P::Pmax, P::Le})
        EXPECT_EQ(u.Param(p), 0.0);

    // The given values are untouched, the derived ones follow their relations.
    for (P p : {P::Vas, P::Cms, P::fs, P::Qes, P::Qms, P::Re})
        EXPECT_EQ(u.Param(p), sheet.Param(p));
    EXPECT_DOUBLE_EQ(u.Sd, std::sqrt(u.Vas / (u.Cms * 140000)));
    EXPECT_DOUBLE_EQ(u.a, std::sqrt(u.Sd * kOneOverPi));
    EXPECT_DOUBLE_EQ(u.Cas, u.Vas / 140000);
    EXPECT_DOUBLE_EQ(u.Qts, 1 / (1 / u.Qes + 1 / u.Qms));
    EXPECT_DOUBLE_EQ(u.Mms, 1 / (u.fs * u.fs * kFourPi2 * u.Cms));
    EXPECT_DOUBLE_EQ(u.Mmd, u.Mms - 3.15 * u.a * u.a * u.a);
    EXPECT_DOUBLE_EQ(u.Rms, kTwoPi * u.fs * u.Mms / u.Qms);
    EXPECT_DOUBLE_EQ(u.Bl, std::sqrt(kTwoPi * u.Re * u.fs * u.Mms / u.Qes));
    EXPECT_DOUBLE_EQ(u.Bl2, u.Bl * u.Bl);
    EXPECT_DOUBLE_EQ(u.Sd2, u.Sd * u.Sd);
    EXPECT_TRUE(u.IsComplete());

    // Against the datasheet: the derived Sd (cm^2), Mms (g) and Bl are the published ones
    // within what the sheet's own Vas and fs columns disagree by (8 % and 0.1 %).
    EXPECT_NEAR(u.Sd / sheet.Sd, 1.0, 0.05);
    EXPECT_NEAR(u.Mms / sheet.Mms, 1.0, 0.01);
    EXPECT_NEAR(u.Bl / sheet.Bl, 1.0, 0.03);
}

TEST(TSpkCalcMissing, LaterPassesFeedEarlierRules)
{
    // Without fs, Qms (rule 5) and Mmd (rule 11) cannot fire in the first pass; fs only
    // comes from Mms and Cms in rule 14, and feeds them in the second.
    TSpkData u;
    u.Mms = 0.0139;
    u.Cms = 0.0012;
    u.Rms = 1.64;
    u.Vas = 0.014;
    CalcMissingFields(u);
    ASSERT_TRUE(u.IsDefined(P::fs));
    EXPECT_DOUBLE_EQ(u.fs, 1 / (kTwoPi * std::sqrt(u.Mms * u.Cms)));
    EXPECT_DOUBLE_EQ(u.Qms, kTwoPi * u.fs * u.Mms / u.Rms); // pass 2
    EXPECT_TRUE(u.IsDefined(P::Mmd));
    EXPECT_TRUE(u.IsDefined(P::Sd));
    EXPECT_FALSE(u.IsDefined(P::Qes)); // nothing electrical was given
    EXPECT_FALSE(u.IsDefined(P::Bl));

    // The heights: Xmax and h give l; Xmax and l give h; l and h give Xmax.
    struct Heights {
        double xmax, h, l, wantXmax, wantH, wantL;
    };
    for (Heights c : {Heights{0.010, 0.006, 0, 0.010, 0.006, 0.004}, Heights{0.010, 0, 0.016, 0.010, 0.006, 0.016},
                      Heights{0, 0.006, 0.016, 0.010, 0.006, 0.016}, Heights{0.010, 0, 0, 0.010, 0, 0}}) {
        TSpkData hu;
        hu.Xmax = c.xmax;
        hu.h = c.h;
        hu.l = c.l;
        CalcMissingFields(hu);
        EXPECT_DOUBLE_EQ(hu.Xmax, c.wantXmax);
        EXPECT_DOUBLE_EQ(hu.h, c.wantH);
        EXPECT_DOUBLE_EQ(hu.l, c.wantL);
    }
}

TEST(TSpkCalcMissing, NeverChangesADefinedValue)
{
    // Every driver of the table, with every one of several subsets of its columns given:
    // the given values come out bit for bit, derived values fill only empty fields.
    const std::vector<std::vector<P>> subsets = {
        {P::fs, P::Qms, P::Qes, P::Qts, P::Vas, P::Re, P::Sd, P::Bl, P::Mms, P::Cms, P::Rms, P::Mmd},
        {P::Vas, P::Sd, P::fs, P::Qes, P::Qms, P::Re},
        {P::Sd, P::Cms, P::Mms, P::Bl, P::Re, P::Rms},
        {P::Mmd, P::Sd, P::Cms, P::Qts, P::Qes},
        {P::Cas, P::Vas, P::Xmax, P::h},
    };
    for (const TDriverRow& row : DriverRows()) {
        const TSpkData sheet = UnitFromRow(row);
        for (const auto& subset : subsets) {
            TSpkData u;
            for (P p : subset)
                u.Param(p) = sheet.Param(p);
            if (u.IsDefined(P::Sd))
                u.SetSd(u.Sd);
            const TSpkData before = u;
            CalcMissingFields(u);
            for (int i = 0; i < kSpkParamCount; ++i) {
                P p = static_cast<P>(i);
                if (before.IsDefined(p)) {
                    EXPECT_EQ(u.Param(p), before.Param(p)) << row.Id() << " parameter " << i;
                }
            }
            // Running it again finds nothing more to do when three passes were enough
            // for this subset; it never undoes anything either way.
            TSpkData twice = u;
            CalcMissingFields(twice);
            for (int i = 0; i < kSpkParamCount; ++i) {
                P p = static_cast<P>(i);
                if (u.IsDefined(p)) {
                    EXPECT_EQ(twice.Param(p), u.Param(p)) << row.Id() << " parameter " << i;
                }
            }
        }
    }
}

TEST(TSpkCalcMissing, NothingGivenNothingDerived)
{
    TSpkData u;
    u.SetManufacturer("kept");
    CalcMissingFields(u);
    EXPECT_TRUE(DefinedParams(u).empty());
    EXPECT_STREQ(u.manufacturer, "kept");
}
