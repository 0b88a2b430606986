// The textbook crossovers with ideal drivers: a resistive 8 ohm load (Re + jwLe with its
// Zobel), coils without resistance, designed by the calculators. Published component
// constants and the summed responses every order is known for.
#include "NetTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace nettest;

namespace {

constexpr double kFc = 3000.0;

struct TTwoWay {
    FakeProject project;
    TNet bass{project, 0};
    TNet treble{project, 2};

    TTwoWay(int order, double fc)
    {
        MakeIdeal(bass, order, 0, fc);
        MakeIdeal(treble, 0, order, fc);
        bass.Calculate();
        treble.Calculate();
    }
    TComplex Sum(int i, bool invertTreble) const
    {
        const TComplex t = treble.Output(0)[static_cast<std::size_t>(i)];
        return bass.Output(0)[static_cast<std::size_t>(i)] + (invertTreble ? -t : t);
    }
    // Largest deviation of the summed level from 0 dB over the grid.
    double SumRipple(bool invertTreble) const
    {
        double worst = 0.0;
        for (int i = 0; i < TFilterGrid::kPoints; ++i)
            worst = std::max(worst, std::fabs(LevelDb(Sum(i, invertTreble))));
        return worst;
    }
};

// The cutoff on a grid point, so the levels at fc are read where they are computed.
double GridFc()
{
    const TFilterGrid grid;
    return grid.Frequency(NearestPoint(grid, kFc));
}

TEST(NetPhysics, EachSectionIsThreeDbDownAtItsCutoff)
{
    const double fc = GridFc();
    for (int order : {1, 2, 3}) {
        SCOPED_TRACE(order);
        TTwoWay net(order, fc);
        const int i = NearestPoint(net.project.Grid(), fc);
        EXPECT_NEAR(net.bass.FilterGain()[static_cast<std::size_t>(i)], -3.0103, 0.05);
        EXPECT_NEAR(net.treble.FilterGain()[static_cast<std::size_t>(i)], -3.0103, 0.05);
        EXPECT_NEAR(net.bass.Level(0)[static_cast<std::size_t>(i)], -3.0103, 0.05);
    }
}

TEST(NetPhysics, OddOrdersSumFlat)
{
    struct Row {
        int order;
        bool inverted;
    };
    // First order only in phase; third order in either polarity.
    for (const Row row : {Row{1, false}, Row{3, false}, Row{3, true}}) {
        SCOPED_TRACE(testing::Message() << "order " << row.order << (row.inverted ? " inverted" : ""));
        TTwoWay net(row.order, GridFc());
        EXPECT_LT(net.SumRipple(row.inverted), 0.1);
    }
}

TEST(NetPhysics, SecondOrderButterworthNullsInPhaseAndPeaksInverted)
{
    const double fc = GridFc();
    TTwoWay net(2, fc);
    const int i = NearestPoint(net.project.Grid(), fc);
    EXPECT_LT(LevelDb(net.Sum(i, false)), -30.0);
    EXPECT_NEAR(LevelDb(net.Sum(i, true)), 3.0103, 0.05);
    // The inverted sum's published shoulders an octave either side, and the passband
    // level far below the crossover.
    EXPECT_NEAR(LevelDb(net.Sum(NearestPoint(net.project.Grid(), fc / 2), true)), 1.67, 0.05);
    EXPECT_NEAR(LevelDb(net.Sum(NearestPoint(net.project.Grid(), fc * 2), true)), 1.67, 0.05);
    EXPECT_NEAR(LevelDb(net.Sum(NearestPoint(net.project.Grid(), 100.0), false)), 0.0, 0.01);
}

TEST(NetPhysics, FourthOrderButterworthSumsThreeDbUpInPhase)
{
    const double fc = GridFc();
    TTwoWay net(4, fc);
    const int i = NearestPoint(net.project.Grid(), fc);
    EXPECT_NEAR(net.bass.FilterGain()[static_cast<std::size_t>(i)], -3.0103, 0.05);
    EXPECT_NEAR(net.treble.FilterGain()[static_cast<std::size_t>(i)], -3.0103, 0.05);
    EXPECT_NEAR(LevelDb(net.Sum(i, false)), 3.0103, 0.05);
}

// Component values at 3 kHz into 8 ohm against the published tables.
TEST(NetPhysics, CalculatorsGiveThePublishedComponents)
{
    struct Row {
        int order;
        int branch;
        bool lowPass;
        TCompKind kind;
        double expected; // uF or mH
    };
    using K = TCompKind;
    const Row rows[] = {
        {1, 0, true, K::Inductor, 0.4244},  {1, 0, false, K::Capacitor, 6.631}, {2, 0, true, K::Inductor, 0.6003},
        {2, 1, true, K::Capacitor, 4.688},  {2, 0, false, K::Capacitor, 4.688}, {2, 1, false, K::Inductor, 0.6003},
        {3, 0, true, K::Inductor, 0.6365},  {3, 1, true, K::Capacitor, 8.842},  {3, 2, true, K::Inductor, 0.2123},
        {3, 0, false, K::Capacitor, 4.421}, {3, 1, false, K::Inductor, 0.3184}, {3, 2, false, K::Capacitor, 13.26},
        {4, 0, true, K::Inductor, 0.6499},  {4, 1, true, K::Capacitor, 10.45},  {4, 2, true, K::Inductor, 0.4595},
        {4, 3, true, K::Capacitor, 2.538},  {4, 0, false, K::Capacitor, 4.333}, {4, 1, false, K::Inductor, 0.2691},
        {4, 2, false, K::Capacitor, 6.125}, {4, 3, false, K::Inductor, 1.109},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "order " << row.order << " branch " << row.branch
                                        << (row.lowPass ? " low-pass" : " high-pass"));
        FakeProject project;
        TNet net(project, row.lowPass ? 0 : 2);
        MakeIdeal(net, row.order, row.order, kFc);
        const TBranch& b = net.Branch(row.branch);
        const TComp& c = row.kind == K::Inductor ? b.L() : b.C();
        const double shown = c.value * c.DisplayFactor();
        EXPECT_NEAR(shown / row.expected, 1.0, 0.001) << shown;
    }
}

TEST(NetPhysics, ZobelMakesTheDriverLookResistive)
{
    for (double le : {0.0001, 0.001, 0.0047}) {
        SCOPED_TRACE(le);
        FakeProject project;
        TNet net(project, 0);
        net.le = le;
        net.lowPassOrder = 0;
        net.CalcLowPass(); // no filter section
        net.CalcZobel();
        net.Calculate();
        for (int i = 0; i < TFilterGrid::kPoints; ++i) {
            const TComplex z = net.InputImpedance()[static_cast<std::size_t>(i)];
            ASSERT_NEAR(std::abs(z) / 8.0, 1.0, 1e-4) << project.Grid().Frequency(i);
            ASSERT_NEAR(net.ImpedancePhase()[static_cast<std::size_t>(i)], 0.0, 0.01);
        }
    }
}

TEST(NetPhysics, LPadAttenuatesAtConstantInputResistance)
{
    for (double a : {1.0, 3.0, 6.0, 20.0}) {
        SCOPED_TRACE(a);
        FakeProject project;
        TNet net(project, 0);
        net.lowPassOrder = 0;
        net.CalcLowPass();
        net.CalcZobel();
        net.attenuation = a;
        net.CalcAttenuator();
        net.Calculate();
        for (int i = 0; i < TFilterGrid::kPoints; ++i) {
            ASSERT_NEAR(net.FilterGain()[static_cast<std::size_t>(i)], -a, 1e-6);
            ASSERT_NEAR(net.ImpedanceMagnitude()[static_cast<std::size_t>(i)] / 8.0, 1.0, 1e-4);
        }
    }
}

} // namespace
