// The non-linear updates between the passes (BL, Cms, shorted coil) and the excursion
// limit after them.
#include "TSpeakerObjectTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using TBlock = TSpeakerObject::TRealBlock;

// Runs the passes like the pipeline at ug volts and keeps the excursion after every
// pass. (Constructing a driver configuration reloads the setup preferences, so the
// level is set here, after the drivers exist.)
std::vector<TBlock> PassExcursions(TSpeakerObject& s, TSpeakerTestEnv& env, double ug)
{
    env.Setup().SetSourceLevel(ug);
    const TFreqGrid& grid = env.Setup().grid;
    std::vector<TBlock> out;
    s.PrepareTerms(grid, env.Setup().sourceLevel);
    const int passes = s.PassCount();
    for (int k = 0; k < passes; ++k) {
        FreeAirPass(s, grid, env.Setup());
        out.push_back(s.excursion);
        if (k + 1 < passes)
            s.UpdateNonLinear(grid, k + 1, passes);
    }
    return out;
}

TEST(SpeakerNonLinear, OffChangesNothing)
{
    TSpeakerTestEnv env;
    auto s = MakeReferenceSpeaker(env.context);
    s->doubleVoiceCoil = 1;
    s->SetDvcConnection(TSpeakerConnection::kPairParallel);
    EXPECT_EQ(s->PassCount(), 1);
    PassExcursions(*s, env, 20.0);
    const auto mech = s->mechImpedance;
    const auto force = s->forceFactor;
    const auto exc = s->excursion;
    const auto vel = s->volumeVelocity;
    for (int m = 1; m < 10; ++m)
        s->UpdateNonLinear(env.Grid(), m, 10);
    s->ApplyExcursionLimit(env.Grid());
    EXPECT_EQ(s->mechImpedance, mech);
    EXPECT_EQ(s->forceFactor, force);
    EXPECT_EQ(s->excursion, exc);
    EXPECT_EQ(s->volumeVelocity, vel);
}

TEST(SpeakerNonLinear, WithoutXmaxTheFlagsOnlyAddPasses)
{
    TSpeakerTestEnv env;
    auto linear = MakeReferenceSpeaker(env.context);
    linear->Xmax = 0.0;
    PassExcursions(*linear, env, 20.0);

    auto s = MakeReferenceSpeaker(env.context);
    s->Xmax = 0.0;
    s->blNonLinear = true;
    s->cmsNonLinear = true;
    EXPECT_EQ(s->PassCount(), 10);
    std::vector<TBlock> passes = PassExcursions(*s, env, 20.0);
    s->ApplyExcursionLimit(env.Grid());
    EXPECT_EQ(passes.size(), 10u);
    EXPECT_EQ(s->excursion, linear->excursion);
}

struct TBlRow {
    double x;  // excursion, mm p-p (Xmax 10 mm)
    int m;     // completed passes of 10
    double factor; // force factor / Bl
};

class SpeakerBlNonLinearity : public ::testing::TestWithParam<TBlRow> {};

TEST_P(SpeakerBlNonLinearity, ForceFactorFallsBeyondXmax)
{
    TSpeakerTestEnv env;
    auto s = MakeReferenceSpeaker(env.context);
    s->blNonLinear = true;
    s->ResetForceFactor(env.Grid());
    s->excursion.fill(GetParam().x);
    s->UpdateNonLinear(env.Grid(), GetParam().m, 10);
    EXPECT_NEAR(s->forceFactor[0] / s->Bl, GetParam().factor, 1e-12);
    EXPECT_NEAR(s->forceFactor[49] / s->Bl, GetParam().factor, 1e-12);
}

// l = (sqrt((x - X) / X + 1) - 1) * m * 0.5 / 10, at most 1.5; factor = (2 - l) / 2
INSTANTIATE_TEST_SUITE_P(Rows, SpeakerBlNonLinearity,
                         ::testing::Values(TBlRow{5.0, 9, 1.0}, TBlRow{10.0, 9, 1.0},
                                           TBlRow{40.0, 1, 1.0 - 0.5 * (2.0 - 1.0) * 0.05},
                                           TBlRow{40.0, 9, 1.0 - 0.5 * (2.0 - 1.0) * 0.45},
                                           TBlRow{90.0, 5, 1.0 - 0.5 * (3.0 - 1.0) * 0.25},
                                           // far beyond: the loss stops at 1.5
                                           TBlRow{1e6, 9, 0.25}));

TEST(SpeakerNonLinear, ComplianceSoftensBeyondHalfXmax)
{
    TSpeakerTestEnv env;
    auto s = MakeReferenceSpeaker(env.context);
    s->cmsNonLinear = true;
    s->ResetForceFactor(env.Grid());
    s->ComputeMechImpedance(env.Grid());
    const auto before = s->mechImpedance;
    // X = 5 mm: below it Cms, at 10 mm Cms / 2, beyond 15 mm Cms / 3 at most.
    const std::array<double, 4> x = {4.0, 10.0, 15.0, 80.0};
    const std::array<double, 4> divisor = {1.0, 2.0, 3.0, 3.0};
    for (int i = 0; i < 4; ++i)
        s->excursion[i] = x[i];
    for (int i = 4; i < env.Grid().Count(); ++i)
        s->excursion[i] = 0.0;
    s->UpdateNonLinear(env.Grid(), 1, 10);
    const double sd2 = s->Sd * s->Sd;
    for (int i = 0; i < 4; ++i) {
        const double w = env.Grid().Omega(i);
        EXPECT_EQ(s->mechImpedance[i].real(), before[i].real());
        EXPECT_NEAR(s->mechImpedance[i].imag(), (w * s->Mms - divisor[i] / (w * s->Cms)) / sd2,
                    1e-9 * std::abs(before[i]));
    }
    EXPECT_EQ(s->mechImpedance[10], before[10]);
}

TEST(SpeakerNonLinear, ShortedCoilDampingFollowsTheForceFactor)
{
    TSpeakerTestEnv env;
    auto s = MakeReferenceSpeaker(env.context);
    s->doubleVoiceCoil = 1;
    s->SetDvcConnection(TSpeakerConnection::kLoadResistor);
    s->loadResistor = 2.0;
    s->blNonLinear = true;
    s->ResetForceFactor(env.Grid());
    s->ComputeMechImpedance(env.Grid());
    s->forceFactor[7] = 3.0; // as a BL update of the pass before left it
    s->excursion.fill(0.0);
    s->UpdateNonLinear(env.Grid(), 2, 10);
    EXPECT_DOUBLE_EQ(s->mechImpedance[7].real(), (s->Rms + 9.0 / (s->Re + 2.0)) / (s->Sd * s->Sd));
}

// Driven far beyond Xmax the ten passes settle: the last pass changes the excursion
// much less than the first one did, and nothing turns into NaN. Below fs in free air
// the back EMF holds the cone, so a weaker force factor moves it further; the final
// limit then brings the excursion under the linear one. A softer suspension alone
// always lowers it.
TEST(SpeakerNonLinear, TenPassesSettle)
{
    TSpeakerTestEnv env;
    auto linear = MakeReferenceSpeaker(env.context);
    PassExcursions(*linear, env, 15.0);
    const int i = 0; // 20 Hz: four times Xmax
    ASSERT_GT(linear->excursion[i], 4 * linear->Xmax * 1000.0);

    for (int mode = 0; mode < 3; ++mode) {
        auto s = MakeReferenceSpeaker(env.context);
        s->blNonLinear = mode != 1;
        s->cmsNonLinear = mode != 0;
        std::vector<TBlock> x = PassExcursions(*s, env, 15.0);
        ASSERT_EQ(x.size(), 10u);
        const double first = std::abs(x[1][i] - x[0][i]);
        const double last = std::abs(x[9][i] - x[8][i]);
        EXPECT_LT(last, 0.3 * first) << "mode " << mode;
        for (int k = 0; k < env.Grid().Count(); ++k) {
            ASSERT_TRUE(std::isfinite(x[9][k])) << "mode " << mode << " point " << k;
            ASSERT_GE(s->forceFactor[k], 0.25 * s->Bl);
            ASSERT_LE(s->forceFactor[k], s->Bl);
        }
        s->ApplyExcursionLimit(env.Grid());
        EXPECT_LT(s->excursion[i], linear->excursion[i]) << "mode " << mode;
        if (s->blNonLinear) {
            EXPECT_LT(s->forceFactor[i], s->Bl);
            EXPECT_NEAR(s->excursion[i], std::sqrt(x[9][i] * s->Xmax * 1000.0), 1e-9);
        }
    }
}

TEST(SpeakerNonLinear, ExcursionLimitCompressesBeyondXmax)
{
    TSpeakerTestEnv env;
    auto s = MakeReferenceSpeaker(env.context); // Xmax 10 mm
    s->blNonLinear = true;
    s->excursion.fill(0.0);
    s->excursion[0] = 40.0;
    s->excursion[1] = 10.0;
    s->excursion[2] = 6.0;
    s->volumeVelocity.fill({0.0, 0.0});
    s->volumeVelocity[0] = {2e-3, -1e-3};
    s->volumeVelocity[2] = {1e-3, 0.0};
    s->ApplyExcursionLimit(env.Grid());
    EXPECT_DOUBLE_EQ(s->excursion[0], 20.0); // sqrt(10 / 40) * 40
    EXPECT_DOUBLE_EQ(s->volumeVelocity[0].real(), 1e-3);
    EXPECT_DOUBLE_EQ(s->volumeVelocity[0].imag(), -0.5e-3);
    EXPECT_EQ(s->excursion[1], 10.0);
    EXPECT_EQ(s->excursion[2], 6.0);
    EXPECT_EQ(s->volumeVelocity[2], std::complex<double>(1e-3, 0.0));

    s->blNonLinear = false; // the Cms non-linearity alone has no limit
    s->cmsNonLinear = true;
    s->excursion[0] = 40.0;
    s->ApplyExcursionLimit(env.Grid());
    EXPECT_EQ(s->excursion[0], 40.0);
}

} // namespace
