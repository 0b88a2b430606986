// The per-frequency driver terms: mechanical impedance with extra mass and the shorted
// second coil, coil heating, radiation impedance, and when they are recomputed.
#include "TSpeakerObjectTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(SpeakerTerms, MechanicalImpedanceOfTheMovingSystem)
{
    TSpeakerTestEnv env;
    auto s = MakeReferenceSpeaker(env.context);
    s->extraMass = 0.002;
    s->ResetForceFactor(env.Grid());
    s->ComputeMechImpedance(env.Grid());
    const double sd2 = s->Sd * s->Sd;
    for (int i : {0, 17, 49}) {
        const double w = env.Grid().Omega(i);
        EXPECT_DOUBLE_EQ(s->mechImpedance[i].real(), s->Rms / sd2);
        EXPECT_NEAR(s->mechImpedance[i].imag(), (w * (s->Mms + 0.002) - 1 / (w * s->Cms)) / sd2,
                    1e-9 * std::abs(s->mechImpedance[i]));
    }
}

// 10 g on a 20 g cone: the mechanical reactance vanishes at fs * sqrt(20 / 30).
TEST(SpeakerTerms, ExtraMassLowersTheResonance)
{
    TSpeakerTestEnv env;
    auto s = MakeReferenceSpeaker(env.context);
    s->Mms = 0.020;
    s->fs = 1 / (TFreqGrid::kTwoPi * std::sqrt(s->Mms * s->Cms));
    s->extraMass = 0.010;
    const double fc = s->fs * std::sqrt(20.0 / 30.0);
    TFreqGrid grid;
    ASSERT_TRUE(grid.Layout(static_cast<int>(fc) - 5, static_cast<int>(fc) + 5, 500));
    s->ResetForceFactor(grid);
    s->ComputeMechImpedance(grid);
    int crossing = -1;
    for (int i = 1; i < grid.Count(); ++i)
        if (s->mechImpedance[i - 1].imag() < 0 && s->mechImpedance[i].imag() >= 0)
            crossing = i;
    ASSERT_GT(crossing, 0);
    EXPECT_NEAR(grid.Frequency(crossing), fc, 0.03);
}

TEST(SpeakerTerms, ShortedSecondCoilDampsOnlyWithTheLoadResistorConnection)
{
    TSpeakerTestEnv env;
    auto s = MakeReferenceSpeaker(env.context);
    s->doubleVoiceCoil = 1;
    s->loadResistor = 3.9;
    s->ResetForceFactor(env.Grid());
    const double sd2 = s->Sd * s->Sd;
    const double damping = s->Bl * s->Bl / (s->Re + 3.9);

    s->SetDvcConnection(TSpeakerConnection::kLoadResistor);
    s->ComputeMechImpedance(env.Grid());
    EXPECT_DOUBLE_EQ(s->mechImpedance[5].real(), (s->Rms + damping) / sd2);

    s->SetDvcConnection(TSpeakerConnection::kPairSeries);
    s->ComputeMechImpedance(env.Grid());
    EXPECT_DOUBLE_EQ(s->mechImpedance[5].real(), s->Rms / sd2);

    s->SetDvcConnection(TSpeakerConnection::kLoadResistor);
    s->doubleVoiceCoil = 0; // a single-coil unit has no second coil to short
    s->ComputeMechImpedance(env.Grid());
    EXPECT_DOUBLE_EQ(s->mechImpedance[5].real(), s->Rms / sd2);
}

TEST(SpeakerTerms, VoiceCoilHeating)
{
    TSpeakerTestEnv env;
    auto s = MakeReferenceSpeaker(env.context);
    s->Re = 6.0;
    s->Pmax = 100.0;
    s->coilHeating = true;
    // R1 = 6 (1 + 0.897 * 400 / 600) = 9.588; R = 6 (1 + 0.897 * 400 / 958.8)
    EXPECT_NEAR(s->HeatedCoilResistance(20.0), 6.0 * (1 + 0.897 * 400 / 958.8), 1e-12);
    EXPECT_NEAR(s->HeatedCoilResistance(20.0), 8.2453, 5e-5);

    // Two drivers in series: each coil gets half of 40 V.
    s->SetNumberOfDrivers(2);
    s->ComputeCoilTerms(env.Grid(), 40.0);
    EXPECT_NEAR(s->coilResistance[0].real(), 8.2453, 5e-5);
    EXPECT_NEAR(s->coilResistance[49].real(), 8.2453, 5e-5);
    EXPECT_EQ(s->coilResistance[49].imag(), 0.0);
    EXPECT_DOUBLE_EQ(s->coilInductance[49].imag(), env.Grid().Omega(49) * s->Le);
    EXPECT_EQ(s->coilInductance[49].real(), 0.0);

    s->Pmax = 0.0; // undefined: no heating
    EXPECT_EQ(s->HeatedCoilResistance(20.0), 6.0);
    s->Pmax = 100.0;
    s->coilHeating = false;
    EXPECT_EQ(s->HeatedCoilResistance(20.0), 6.0);
}

TEST(SpeakerTerms, RadiationImpedance)
{
    TSpeakerTestEnv env;
    auto s = MakeReferenceSpeaker(env.context);
    s->ComputeRadiationImpedance(env.Grid());
    const double a = s->a;
    for (int i : {0, 30, 49}) {
        const double f = env.Grid().Frequency(i);
        const double ka = a * 6.28318530718 * f / 344.7;
        EXPECT_NEAR(s->radiationImpedance[i].real(), 0.04304 * f * f / (ka * ka + 4), 1e-9 * f * f);
        EXPECT_DOUBLE_EQ(s->radiationImpedance[i].imag(), 1.45 * f / a);
    }
    // A unit file with Sd but without its radius: the radius follows from Sd.
    std::complex<double> withRadius = s->radiationImpedance[30];
    s->a = 0.0;
    s->ComputeRadiationImpedance(env.Grid());
    EXPECT_NEAR(std::abs(s->radiationImpedance[30] - withRadius), 0.0, 1e-9 * std::abs(withRadius));
}

TEST(SpeakerTerms, PrepareRecomputesCoilAndRadiationOnlyWhenOutOfDate)
{
    TSpeakerTestEnv env;
    auto s = MakeReferenceSpeaker(env.context);
    s->coilHeating = true;
    s->PrepareTerms(env.Grid(), 20.0);
    const double heated = s->coilResistance[0].real();
    EXPECT_GT(heated, s->Re);
    EXPECT_EQ(s->extraLoad[3], std::complex<double>(0, 0));
    EXPECT_EQ(s->forceFactor[3], s->Bl);

    s->outOfDate = false;
    s->coilHeating = false;
    s->forceFactor[3] = 1.0;
    s->PrepareTerms(env.Grid(), 20.0);
    EXPECT_EQ(s->coilResistance[0].real(), heated); // kept
    EXPECT_EQ(s->forceFactor[3], s->Bl);            // always reset

    s->outOfDate = true;
    s->PrepareTerms(env.Grid(), 20.0);
    EXPECT_EQ(s->coilResistance[0].real(), s->Re);
}

} // namespace
