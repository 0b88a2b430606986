// Entering one parameter: plain storing with the crosscalc flag clear, the live
// cross-calculation with it set, and the entries that are refused.
#include "TSpkTestSupport.h"

#include "driver/TSpkCalcMissing.h"
#include "driver/TSpkCrossCalc.h"
#include "driver/TSpkFields.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace spktest;
using P = TSpkParam;

namespace {

constexpr double kTwoPi = 6.28318530718;

// A consistent, complete unit: the SEAS W16NX001 datasheet's Vas, Cms, fs, Qes, Qms and
// Re, everything else derived; plus the large-signal values.
TSpkData ConsistentUnit(bool crossCalc)
{
    TSpkData sheet = UnitFromRow(DriverRow("seas_w16nx001"));
    TSpkData u;
    for (P p : {P::Vas, P::Cms, P::fs, P::Qes, P::Qms, P::Re, P::Le, P::Pmax})
        u.Param(p) = sheet.Param(p);
    u.Xmax = 0.014;
    u.h = 0.006;
    u.l = 0.020;
    CalcMissingFields(u);
    u.crossCalc = crossCalc ? 1 : 0;
    return u;
}

// Relative agreement of two values.
::testing::AssertionResult Agree(const char* what, double x, double y, double rel = 1e-9)
{
    if (std::fabs(x - y) <= rel * std::fabs(y))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << what << ": " << x << " vs " << y;
}

void ExpectConsistent(const TSpkData& u)
{
    EXPECT_TRUE(Agree("Vas = Sd^2 Cms rho c^2", u.Vas, u.Sd * u.Sd * u.Cms * 140000));
    EXPECT_TRUE(Agree("Cas = Vas / rho c^2", u.Cas, u.Vas / 140000));
    EXPECT_TRUE(Agree("fs from Mms and Cms", u.fs, 1 / (kTwoPi * std::sqrt(u.Mms * u.Cms))));
    EXPECT_TRUE(Agree("Mmd = Mms - air load", u.Mmd, u.Mms - 3.15 * u.a * u.a * u.a));
    EXPECT_TRUE(Agree("Qes from Bl", u.Qes, kTwoPi * u.fs * u.Mms * u.Re / (u.Bl * u.Bl)));
    EXPECT_TRUE(Agree("Qms from Rms", u.Qms, kTwoPi * u.fs * u.Mms / u.Rms));
    EXPECT_TRUE(Agree("Qts", u.Qts, 1 / (1 / u.Qes + 1 / u.Qms)));
    EXPECT_TRUE(Agree("a with Sd", u.a, std::sqrt(u.Sd / M_PI), 1e-12));
    EXPECT_EQ(u.Bl2, u.Bl * u.Bl);
    EXPECT_EQ(u.Sd2, u.Sd * u.Sd);
}

bool SameParams(const TSpkData& x, const TSpkData& y)
{
    for (int i = 0; i < kSpkParamCount; ++i) {
        if (x.Param(static_cast<P>(i)) != y.Param(static_cast<P>(i)))
            return false;
    }
    return true;
}

} // namespace

TEST(TSpkCrossCalc, WithoutTheFlagAnEntryOnlyStores)
{
    for (const TSpkField& f : SpkFields()) {
        SCOPED_TRACE(f.label);
        THeadlessHost host;
        TSpkData u = ConsistentUnit(false);
        const TSpkData before = u;
        double v = u.Param(f.param) * 1.25;
        EXPECT_TRUE(EnterParameter(u, f.param, v, host).accepted);
        EXPECT_EQ(host.Beeps(), 0);
        for (int i = 0; i < kSpkParamCount; ++i) {
            P p = static_cast<P>(i);
            if (p == f.param) {
                EXPECT_EQ(u.Param(p), v);
            } else if (p == P::a && f.param == P::Sd) {
                EXPECT_DOUBLE_EQ(u.a, std::sqrt(v * 0.3183098861837697)); // an Sd entry always sets a
            } else {
                EXPECT_EQ(u.Param(p), before.Param(p)) << "parameter " << i;
            }
        }
        EXPECT_EQ(u.Bl2, u.Bl * u.Bl);
        EXPECT_EQ(u.Sd2, u.Sd * u.Sd);
    }
}

// Every small-signal entry keeps a consistent unit consistent, and keeps the entered value.
class TSpkCrossCalcRow : public ::testing::TestWithParam<P> {};

TEST_P(TSpkCrossCalcRow, KeepsTheUnitConsistent)
{
    THeadlessHost host;
    TSpkData u = ConsistentUnit(true);
    ExpectConsistent(u);
    const TSpkData before = u;
    double v = u.Param(GetParam()) * 1.2;
    ASSERT_TRUE(EnterParameter(u, GetParam(), v, host).accepted);
    EXPECT_EQ(host.Beeps(), 0);
    EXPECT_EQ(u.Param(GetParam()), v);
    ExpectConsistent(u);
    EXPECT_FALSE(SameParams(u, before));
    // The large-signal values are not touched by small-signal entries.
    for (P p : {P::Xmax, P::h, P::l, P::Pmax, P::Le})
        EXPECT_EQ(u.Param(p), before.Param(p));
}

INSTANTIATE_TEST_SUITE_P(Entries, TSpkCrossCalcRow,
                         ::testing::Values(P::Sd, P::Vas, P::Cms, P::Cas, P::Qms, P::Qes, P::Mmd, P::Mms,
                                           P::Rms, P::fs, P::Bl, P::Re),
                         [](const auto& info) { return std::string(SpkField(info.param).label); });

TEST(TSpkCrossCalc, RowsThatDeriveWhatIsMissing)
{
    struct Case {
        const char* what;
        P entered;
        P cleared;       // undefined before the entry
        P derived;       // defined after it
    };
    const Case cases[] = {
        {"Sd without Vas derives Vas", P::Sd, P::Vas, P::Vas},
        {"Sd without Mms derives Mms", P::Sd, P::Mms, P::Mms},
        {"Sd without Re derives Re", P::Sd, P::Re, P::Re},
        {"Cms without Mms derives Mms", P::Cms, P::Mms, P::Mms},
        {"fs without Cms derives Cms", P::fs, P::Cms, P::Cms},
        {"Mms without Rms derives Rms", P::Mms, P::Rms, P::Rms},
        {"Mms without Re derives Re", P::Mms, P::Re, P::Re},
        {"fs without Rms derives Rms", P::fs, P::Rms, P::Rms},
        {"Bl without Re derives Re", P::Bl, P::Re, P::Re},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        THeadlessHost host;
        TSpkData u = ConsistentUnit(true);
        const double original = u.Param(c.derived);
        u.Param(c.cleared) = 0;
        const double v = u.Param(c.entered);
        ASSERT_TRUE(EnterParameter(u, c.entered, v, host).accepted);
        // Entering the value the unit already had restores the missing one exactly.
        EXPECT_TRUE(Agree("derived", u.Param(c.derived), original, 1e-9));
        ExpectConsistent(u);
    }
}

TEST(TSpkCrossCalc, CasFollowsTheNewComplianceOfAnFsEntry)
{
    // fs with Mms known but Cms not: Cms, Cas and Vas all come from the new fs.
    THeadlessHost host;
    TSpkData u = ConsistentUnit(true);
    u.Cms = 0;
    ASSERT_TRUE(EnterParameter(u, P::fs, u.fs * 0.8, host).accepted);
    EXPECT_TRUE(Agree("Cms", u.Cms, 1 / (39.4784176044 * u.fs * u.fs * u.Mms)));
    EXPECT_TRUE(Agree("Vas", u.Vas, u.Sd * u.Sd * u.Cms * 140000));
    EXPECT_TRUE(Agree("Cas", u.Cas, u.Vas / 140000));
}

TEST(TSpkCrossCalc, MassEntryWithoutConeRadiusClearsTheOtherMass)
{
    THeadlessHost host;
    TSpkData u = ConsistentUnit(true);
    u.Sd = 0;
    u.a = 0;
    ASSERT_TRUE(EnterParameter(u, P::Mmd, 0.010, host).accepted);
    EXPECT_EQ(u.Mmd, 0.010);
    EXPECT_EQ(u.Mms, 0.0); // no air load known: Mms is no longer given
}

TEST(TSpkCrossCalc, QtsEntry)
{
    const TSpkData base = ConsistentUnit(true);
    struct Case {
        const char* what;
        bool withQes, withQms;
        double qts;
        bool accepted;
    };
    const Case cases[] = {
        {"below Qes: Qms follows", true, true, 0.30, true},
        {"equal to Qes: no Qms fits", true, true, base.Qes, false},
        {"above Qes: no Qms fits", true, true, base.Qes * 1.5, false},
        {"Qms only, below it: Qes follows", false, true, 0.30, true},
        {"Qms only, equal to it", false, true, base.Qms, false},
        {"Qms only, above it", false, true, base.Qms + 1, false},
        {"neither Q: stored", false, false, 0.30, true},
        {"zero: stored", true, true, 0.0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        THeadlessHost host;
        TSpkData u = base;
        if (!c.withQes)
            u.Qes = 0;
        if (!c.withQms)
            u.Qms = 0;
        const TSpkData before = u;
        EXPECT_EQ(EnterParameter(u, P::Qts, c.qts, host).accepted, c.accepted);
        EXPECT_EQ(host.Beeps(), c.accepted ? 0 : 1);
        if (!c.accepted) {
            EXPECT_TRUE(SameParams(u, before));
            continue;
        }
        EXPECT_EQ(u.Qts, c.qts);
        if (c.qts == 0.0 || (!c.withQes && !c.withQms)) {
            u.Qts = before.Qts;
            EXPECT_TRUE(SameParams(u, before));
        } else if (c.withQes) {
            EXPECT_DOUBLE_EQ(u.Qms, 1 / (1 / c.qts - 1 / u.Qes));
            EXPECT_DOUBLE_EQ(u.Rms, kTwoPi * u.fs * u.Mms / u.Qms);
            EXPECT_EQ(u.Qes, before.Qes);
        } else {
            EXPECT_DOUBLE_EQ(u.Qes, 1 / (1 / c.qts - 1 / u.Qms));
            EXPECT_DOUBLE_EQ(u.Bl, std::sqrt(kTwoPi * u.Re * u.fs * u.Mms / u.Qes));
        }
    }
}

TEST(TSpkCrossCalc, ExcursionAndHeights)
{
    struct Case {
        const char* what;
        P entered;
        double value;
        double xmax, h, l;                // before
        bool accepted;
        double wantXmax, wantH, wantL;    // after
    };
    const Case cases[] = {
        {"Xmax with h: l follows", P::Xmax, 0.010, 0.004, 0.006, 0.010, true, 0.010, 0.006, 0.016},
        {"Xmax with l only: h follows", P::Xmax, 0.010, 0, 0, 0.016, true, 0.010, 0.006, 0.016},
        {"Xmax not below l", P::Xmax, 0.016, 0, 0, 0.016, false, 0, 0, 0.016},
        {"Xmax alone", P::Xmax, 0.010, 0, 0, 0, true, 0.010, 0, 0},
        {"Xmax zero", P::Xmax, 0, 0.004, 0.006, 0.010, true, 0, 0.006, 0.010},
        {"h with l: Xmax = |l - h|", P::h, 0.004, 0.004, 0.006, 0.010, true, 0.006, 0.004, 0.010},
        {"h without l", P::h, 0.004, 0.004, 0, 0, true, 0.004, 0.004, 0},
        {"l above Xmax with h", P::l, 0.020, 0.004, 0.006, 0.010, true, 0.014, 0.006, 0.020},
        {"l not above Xmax with h", P::l, 0.004, 0.004, 0.006, 0.010, false, 0.004, 0.006, 0.010},
        {"l without h", P::l, 0.003, 0.004, 0, 0, true, 0.004, 0, 0.003},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        THeadlessHost host;
        TSpkData u = ConsistentUnit(true);
        u.Xmax = c.xmax;
        u.h = c.h;
        u.l = c.l;
        EXPECT_EQ(EnterParameter(u, c.entered, c.value, host).accepted, c.accepted);
        EXPECT_EQ(host.Beeps(), c.accepted ? 0 : 1);
        EXPECT_DOUBLE_EQ(u.Xmax, c.wantXmax);
        EXPECT_DOUBLE_EQ(u.h, c.wantH);
        EXPECT_DOUBLE_EQ(u.l, c.wantL);
    }
}

TEST(TSpkCrossCalc, LargeSignalValuesAndNonNumbers)
{
    THeadlessHost host;
    TSpkData u = ConsistentUnit(true);
    TSpkData before = u;
    ASSERT_TRUE(EnterParameter(u, P::Pmax, 150, host).accepted);
    ASSERT_TRUE(EnterParameter(u, P::Le, 0.0009, host).accepted);
    before.Pmax = 150;
    before.Le = 0.0009;
    EXPECT_TRUE(SameParams(u, before));

    for (bool flag : {false, true}) {
        u.crossCalc = flag;
        for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
            EXPECT_FALSE(EnterParameter(u, P::Vas, bad, host).accepted);
            EXPECT_TRUE(SameParams(u, before));
        }
    }
}
