// Components, branches and active sections of the advanced networks: limits, units and
// texts the dialogs rely on, every branch impedance against its formula, and every
// section's transfer against its analogue prototype.
#include "NetATestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace netatest;

namespace {

constexpr double kTwoPi = 6.283185307179586;

TEST(NetAComponent, NamesCarryNetBranchAndNumber)
{
    EXPECT_EQ(TCompA(TCompKind::Resistor, 1, 0, 1).Name(), "R1011");
    EXPECT_EQ(TCompA(TCompKind::Capacitor, 2, 10, 1).Name(), "C2111");
    EXPECT_EQ(TCompA(TCompKind::Inductor, 4, 8, 2).Name(), "L4092");
    FakeProject project;
    TNetA net(project, 2, false);
    EXPECT_EQ(net.Branch(13)->Comp(S::R2).Name(), "R3142");
    EXPECT_EQ(net.Name(), "Net 3");
    EXPECT_EQ(net.GainPlot().Caption(), "Filter gain, Net 3");
}

TEST(NetAComponent, LimitsAndResetValuesFollowTheMode)
{
    struct Row {
        TCompKind kind;
        bool passive;
        double min, max, reset;
    };
    const Row rows[] = {
        {TCompKind::Resistor, true, 0.01, 1000, 1},   {TCompKind::Resistor, false, 0.01, 1e12, 10000},
        {TCompKind::Capacitor, true, 1e-9, 1, 1e-6},  {TCompKind::Capacitor, false, 1e-12, 10, 1e-8},
        {TCompKind::Inductor, true, 1e-6, 100, 1e-3}, {TCompKind::Inductor, false, 1e-6, 1000, 1e-3},
    };
    for (const Row& r : rows) {
        TCompA c(r.kind, 1, 0, 1);
        c.SetPassive(r.passive);
        c.Reset();
        SCOPED_TRACE(c.Name() + (r.passive ? " passive" : " active"));
        EXPECT_DOUBLE_EQ(c.Minimum(), r.min);
        EXPECT_DOUBLE_EQ(c.Maximum(), r.max);
        EXPECT_DOUBLE_EQ(c.Value(), r.reset);
        EXPECT_TRUE(c.SetValue(r.max));
        EXPECT_TRUE(c.SetValue(r.min));
        EXPECT_FALSE(c.SetValue(r.min * 0.999));
        EXPECT_FALSE(c.SetValue(r.max * 1.001));
        EXPECT_FALSE(c.SetValue(std::nan("")));
        EXPECT_DOUBLE_EQ(c.Value(), r.min);
    }
}

TEST(NetAComponent, StepsRefuseToCrossALimit)
{
    TCompA r(TCompKind::Resistor, 1, 0, 1);
    ASSERT_TRUE(r.SetValue(960.0)); // within 5 % of 1000
    r.MarkClean();
    EXPECT_FALSE(r.StepUp());
    EXPECT_DOUBLE_EQ(r.Value(), 960.0);
    EXPECT_FALSE(r.Dirty());
    EXPECT_TRUE(r.StepDown());
    EXPECT_NEAR(r.Value(), 960.0 / 1.05, 1e-9);
    EXPECT_TRUE(r.Dirty());
    ASSERT_TRUE(r.SetValue(0.0104));
    EXPECT_FALSE(r.StepDown());
    EXPECT_TRUE(r.StepUp());
    EXPECT_NEAR(r.Value(), 0.0104 * 1.05, 1e-12);
}

TEST(NetAComponent, ActiveUnitsFollowTheValue)
{
    struct Row {
        TCompKind kind;
        double value;
        const char* shown;
    };
    const Row rows[] = {
        {TCompKind::Resistor, 999.0, "999\tohm"},     {TCompKind::Resistor, 1000.0, "1.00\tkohm"},
        {TCompKind::Resistor, 22000.0, "22.0\tkohm"}, {TCompKind::Capacitor, 4.7e-10, "470\tpF"},
        {TCompKind::Capacitor, 1e-8, "10.0\tnF"},     {TCompKind::Capacitor, 4.7e-7, "470\tnF"},
        {TCompKind::Capacitor, 2.2e-6, "2.20\tuF"},   {TCompKind::Capacitor, 0.005, "0.01\tF"},
        {TCompKind::Inductor, 1e-4, "100\tuH"},       {TCompKind::Inductor, 0.0005, "0.50\tmH"},
        {TCompKind::Inductor, 0.5, "0.50\tH"},
    };
    for (const Row& r : rows) {
        TCompA c(r.kind, 1, 2, 1);
        c.SetPassive(false);
        ASSERT_TRUE(c.SetValue(r.value));
        EXPECT_EQ(c.ListLine(), c.Name() + "\t" + r.shown) << r.value;
    }
    TCompA c(TCompKind::Capacitor, 1, 2, 1);
    ASSERT_TRUE(c.SetValue(4.7e-6));
    EXPECT_EQ(c.ListLine(), "C1031\t4.700\tuF");
}

TEST(NetAComponent, SchematicTextsDropDigitsAsValuesGrow)
{
    struct Row {
        TCompKind kind;
        double value;
        const char* text;
    };
    const Row rows[] = {
        {TCompKind::Resistor, 150, "150"},        {TCompKind::Resistor, 12.34, "12.3"},
        {TCompKind::Resistor, 4.7, "4.70"},       {TCompKind::Capacitor, 0.0022, "2200"},
        {TCompKind::Capacitor, 0.00047, "470.0"}, {TCompKind::Capacitor, 0.000022, "22.00"},
        {TCompKind::Capacitor, 4.7e-6, "4.700"},  {TCompKind::Inductor, 1.5, "1500"},
        {TCompKind::Inductor, 0.15, "150.0"},     {TCompKind::Inductor, 0.015, "15.00"},
        {TCompKind::Inductor, 0.0015, "1.500"},
    };
    for (const Row& r : rows) {
        TCompA c(r.kind, 1, 0, 1);
        ASSERT_TRUE(c.SetValue(r.value));
        EXPECT_EQ(c.SchematicText(), r.text) << r.value;
    }
}

TEST(NetABranch, PassiveImpedancesMatchTheirFormulas)
{
    const double r1 = 3.0, r2 = 5.0, l = 0.002, c = 10e-6, w = kTwoPi * 1000.0;
    const TComplex zr1(r1, 0), zr2(r2, 0), zl(0, w * l), zc = 1.0 / TComplex(0, w * c);
    const auto par = [](TComplex a, TComplex b) { return a * b / (a + b); };
    const TComplex expected[kPassiveTypes] = {0.0,
                                              zr1,
                                              zc,
                                              zr1 + zl,
                                              zr1 + zc,
                                              zr1 + zl + zc,
                                              par(zr1, zl + zr2),
                                              par(zr1, zc),
                                              par(zl + zr1, zc),
                                              par(par(zl + zr2, zc), zr1),
                                              par(zr2 + zc, zr1)};
    TBranchA b(1, 2, TPlacement::Series, false);
    for (int type = 0; type < kPassiveTypes; ++type) {
        ASSERT_TRUE(b.SetType(type));
        ASSERT_TRUE(b.Comp(S::R1).SetValue(r1) && b.Comp(S::R2).SetValue(r2) && b.Comp(S::L).SetValue(l) &&
                    b.Comp(S::C).SetValue(c));
        const TComplex z = b.ImpedanceAt(w);
        EXPECT_NEAR(std::abs(z - expected[type]), 0.0, 1e-9 * (1.0 + std::abs(expected[type]))) << type;
    }
    TBranchA shunt(1, 3, TPlacement::Shunt, false);
    EXPECT_EQ(shunt.TypeLine(), " Open circuit");
    EXPECT_EQ(b.TypeLine(), " R1 // (R2 + C)");
    ASSERT_TRUE(b.SetType(0));
    EXPECT_EQ(b.TypeLine(), " Short circuit");
}

TEST(NetABranch, TypeChangeSetsInUseAndDropsTheOptimisationList)
{
    TBranchA b(1, 4, TPlacement::Series, false);
    ASSERT_TRUE(b.SetType(static_cast<int>(TPassiveType::R1ParCParLPlusR2)));
    std::array<TCompA*, TBranchA::kMaxListed> list{};
    ASSERT_EQ(b.ListedComponents(list), 4);
    EXPECT_EQ(list[0]->Name(), "R1051");
    EXPECT_EQ(list[1]->Name(), "R1052");
    EXPECT_EQ(list[2]->Name(), "C1051");
    EXPECT_EQ(list[3]->Name(), "L1051");
    list[0]->inOptimisation = true;
    b.Update(TFilterGrid());
    ASSERT_TRUE(b.SetType(static_cast<int>(TPassiveType::R1ParCParLPlusR2)));
    EXPECT_TRUE(b.Comp(S::R1).inOptimisation) << "the same type keeps the list";
    ASSERT_TRUE(b.SetType(static_cast<int>(TPassiveType::R1)));
    EXPECT_FALSE(b.Comp(S::R1).inOptimisation);
    EXPECT_TRUE(b.Dirty());
    EXPECT_FALSE(b.Comp(S::L).inUse);
    EXPECT_FALSE(b.SetType(kPassiveTypes));
    EXPECT_EQ(b.Type(), static_cast<int>(TPassiveType::R1));

    b.SetNetworkActive(true);
    EXPECT_EQ(b.Type(), 0);
    EXPECT_EQ(b.TypeLine(), " Nothing");
    EXPECT_DOUBLE_EQ(b.Comp(S::R1).Value(), 10000.0);
    ASSERT_TRUE(b.SetType(static_cast<int>(TActiveType::QBoost)));
    ASSERT_EQ(b.ListedComponents(list), 4);
    EXPECT_EQ(list[2]->Name(), "C1051");
    EXPECT_EQ(list[3]->Name(), "L1051");
    EXPECT_FALSE(b.SetType(kActiveTypes));

    TBranchA shunt(1, 10, TPlacement::Shunt, true);
    shunt.SetNetworkActive(true);
    EXPECT_TRUE(shunt.Passive()) << "the branches across the drivers stay passive";
    EXPECT_EQ(shunt.Heading(), "* Branch 11 *");
    EXPECT_EQ(b.Heading(), "* Branch 05 *");
}

TEST(NetABranch, CharacteristicTexts)
{
    struct Row {
        bool passive;
        int type;
        double r1, r2, c, l;
        const char* text;
    };
    const Row rows[] = {
        {true, 1, 8, 1, 1e-6, 1e-3, ""},
        {true, 3, 6.2832, 1, 1e-6, 1e-3, "Fc = 1000 Hz"},
        {true, 7, 1000, 1, 1e-6, 1e-3, "Fc = 159 Hz"},
        {true, 8, 1, 1, 1e-6, 1e-3, "Fc = 5033 Hz"},
        {true, 5, 10, 1, 1e-6, 1e-3, "Fc = 5033 Hz\nQ  = 3.2"},
        {true, 9, 10, 1, 1e-6, 1e-3, "Fc = 5033 Hz\nQ  = 0.3"},
        {false, 1, 10000, 10000, 1e-8, 1e-3, "Fc=1592 Hz"},
        {false, 5, 10000, 10000, 1e-8, 1e-3, "Fo=\t1592 Hz +6.0dB max amp."},
        {false, 6, 10000, 10000, 1e-8, 1e-3, "Fo=\t1592 Hz -6.0dB max att."},
        {false, 7, 100, 100, 1e-6, 1e-3, "Fo=\t5033 Hz +6.0dB at Fo\nQ=\t0.3"},
        {false, 8, 100, 100, 1e-6, 1e-3, "Fo=\t5033 Hz -6.0dB at Fo\nQ=\t0.3\n"},
    };
    for (const Row& r : rows) {
        TBranchA b(1, 0, TPlacement::Series, false);
        b.SetNetworkActive(!r.passive);
        ASSERT_TRUE(b.SetType(r.type));
        ASSERT_TRUE(b.Comp(S::R1).SetValue(r.r1) && b.Comp(S::R2).SetValue(r.r2) && b.Comp(S::L).SetValue(r.l) &&
                    b.Comp(r.passive ? S::C : S::C1).SetValue(r.c));
        EXPECT_EQ(b.CharacteristicText(), r.text) << r.passive << " " << r.type;
    }
}

// The transfer of one active section alone in a network of gain 1.
struct Section {
    FakeProject project;
    TNetA net{project, 0, true};
    const TFilterGrid& grid = project.Grid();
    explicit Section(int type, std::initializer_list<std::pair<S, double>> values)
    {
        EXPECT_TRUE(SetBranch(net, 3, type, values));
        net.Calculate();
    }
    TComplex At(double f) const { return net.Transfer()[static_cast<std::size_t>(NearestPoint(grid, f))]; }
    double F(double f) const { return grid.Frequency(NearestPoint(grid, f)); }
};

TEST(NetASection, FirstOrderIsThreeDbDownAndFortyFiveDegreesAtFc)
{
    const double fc = 1.0 / (kTwoPi * 10000.0 * 1e-8);
    EXPECT_NEAR(fc, 1591.5, 0.05);
    // Components that put fc on a grid point.
    Section probe(1, {{S::R1, 10000.0}, {S::C1, 1e-8}});
    const double f = probe.F(fc);
    const double c1 = 1.0 / (kTwoPi * 10000.0 * f);
    Section low(1, {{S::R1, 10000.0}, {S::C1, c1}});
    Section high(2, {{S::R1, 10000.0}, {S::C1, c1}});
    EXPECT_NEAR(LevelDb(low.At(f)), -3.0103, 0.001);
    EXPECT_NEAR(PhaseDeg(low.At(f)), -45.0, 0.01);
    EXPECT_NEAR(LevelDb(high.At(f)), -3.0103, 0.001);
    EXPECT_NEAR(PhaseDeg(high.At(f)), 45.0, 0.01);
    EXPECT_NEAR(std::abs(low.At(20.0)), 1.0, 1e-3);
    EXPECT_NEAR(std::abs(high.At(20000.0)), 1.0, 0.01);
}

TEST(NetASection, SecondOrderMatchesItsPrototype)
{
    const double r = 10000.0, c1 = 2e-8, c2 = 1e-8;
    const double w0 = 1.0 / std::sqrt(r * r * c1 * c2);
    EXPECT_NEAR(w0 / kTwoPi, 1125.4, 0.05);
    Section low(3, {{S::R1, r}, {S::R2, r}, {S::C1, c1}, {S::C2, c2}});
    EXPECT_EQ(low.net.Branch(3)->CharacteristicText(), "Fc=\t1125 Hz\nQ=\t0.7");
    // H(s) = w0^2 / (s^2 + s w0 / Q + w0^2) with Q = 1 / (w0 (R1 + R2) C2).
    const double q = 1.0 / (w0 * 2.0 * r * c2);
    EXPECT_NEAR(q, 0.7071, 1e-4);
    for (double f : {100.0, 1125.4, 3000.0}) {
        const TComplex s(0.0, kTwoPi * low.F(f));
        const TComplex proto = w0 * w0 / (s * s + s * w0 / q + w0 * w0);
        EXPECT_NEAR(std::abs(low.At(f) - proto), 0.0, 1e-9) << f;
    }
    EXPECT_NEAR(LevelDb(low.At(1125.4)), -3.01, 0.05); // a grid point near fc
    // The high-pass with C1 = C2 and R2 = 2 R1 is a Butterworth too: Q = 1 / (w0 2 C R1).
    Section high(4, {{S::R1, 5000.0}, {S::R2, 10000.0}, {S::C1, 2e-8}, {S::C2, 2e-8}});
    const double wh = 1.0 / std::sqrt(5000.0 * 10000.0 * 4e-16);
    EXPECT_EQ(high.net.Branch(3)->CharacteristicText(), "Fc=\t1125 Hz\nQ=\t0.7");
    EXPECT_NEAR(wh / kTwoPi, 1125.4, 0.05);
    EXPECT_NEAR(std::abs(high.At(20000.0)), 1.0, 0.01);
    EXPECT_LT(LevelDb(high.At(112.5)), -39.0);
}

TEST(NetASection, ShelvesAndResonancesReachTheirResistorRatio)
{
    Section boost(5, {{S::R1, 10000.0}, {S::R2, 10000.0}, {S::C1, 1e-8}});
    EXPECT_NEAR(std::abs(boost.At(20.0)), 1.0, 1e-3);
    EXPECT_NEAR(std::abs(boost.At(20000.0)), 2.0, 0.02);
    Section cut(6, {{S::R1, 10000.0}, {S::R2, 30000.0}, {S::C1, 1e-8}});
    EXPECT_NEAR(std::abs(cut.At(20000.0)), 0.25, 0.01);
    // At resonance the coil and capacitor cancel: exactly R1 + R2 over R1.
    const double l = 0.01, c = 1e-6;
    Section probe(7, {{S::R1, 100.0}, {S::R2, 200.0}, {S::C1, c}, {S::L, l}});
    const double f0 = probe.F(1.0 / (kTwoPi * std::sqrt(l * c)));
    const double lOnGrid = 1.0 / (std::pow(kTwoPi * f0, 2) * c);
    Section peak(7, {{S::R1, 100.0}, {S::R2, 200.0}, {S::C1, c}, {S::L, lOnGrid}});
    Section dip(8, {{S::R1, 100.0}, {S::R2, 200.0}, {S::C1, c}, {S::L, lOnGrid}});
    EXPECT_NEAR(std::abs(peak.At(f0)), 3.0, 1e-6);
    EXPECT_NEAR(std::abs(dip.At(f0)), 1.0 / 3.0, 1e-6);
    EXPECT_NEAR(std::abs(peak.At(20.0)), 1.0, 0.01);
}

TEST(NetASection, TheChainMultipliesSectionsAndGain)
{
    FakeProject project;
    TNetA net(project, 0, true);
    ASSERT_TRUE(net.SetGainDb(6.0));
    EXPECT_FALSE(net.SetGainDb(90.5));
    net.Calculate();
    const double gain = net.Gain();
    EXPECT_NEAR(gain, 1.99526, 1e-5);
    for (const TComplex& t : net.Transfer())
        ASSERT_EQ(t, TComplex(gain, 0.0)) << "no sections pass the gain unchanged";

    ASSERT_TRUE(SetBranch(net, 0, 1, {{S::R1, 10000.0}, {S::C1, 1e-8}}));
    ASSERT_TRUE(SetBranch(net, 5, 5, {{S::R1, 10000.0}, {S::R2, 20000.0}, {S::C1, 1e-9}}));
    net.Calculate();
    const TFilterGrid& grid = project.Grid();
    for (int i : {0, 250, 499}) {
        const double w = grid.Omegas()[static_cast<std::size_t>(i)];
        const TComplex expected = gain * net.Branch(0)->TransferAt(w) * net.Branch(5)->TransferAt(w);
        EXPECT_NEAR(std::abs(net.Transfer()[static_cast<std::size_t>(i)] - expected), 0.0, 1e-12);
    }

    net.noComponents = true;
    net.Calculate();
    EXPECT_EQ(net.Transfer()[300], TComplex(gain, 0.0));
    net.disconnect = true;
    net.Calculate();
    EXPECT_EQ(net.Transfer()[300], TComplex(1e-12, 0.0));
    EXPECT_NEAR(net.DriverGain(0)[300], -240.0, 1e-9);
}

} // namespace
