// The network's defaults and its design rules: what each calculator sets, which branch
// types follow, and branch types from typed values.
#include "NetTestSupport.h"

#include <gtest/gtest.h>

using namespace nettest;

namespace {

using T = TBranchType;

std::vector<T> LadderTypes(const TNet& net)
{
    return {net.Branch(0).Type(), net.Branch(1).Type(), net.Branch(2).Type(), net.Branch(3).Type()};
}

TEST(NetDesign, ResetGivesEachRoleItsFourthOrderSections)
{
    struct Row {
        int index;
        const char* name;
        int lowOrder, highOrder;
        double lowFc, highFc;
        std::vector<T> types;
    };
    const Row rows[] = {
        {0, "Bass network", 4, 0, 500, 5000, {T::L, T::C, T::L, T::C}},
        {1, "Midrange network", 4, 4, 5000, 500, {T::LPlusC, T::LParC, T::LPlusC, T::LParC}},
        {2, "Treble network", 0, 4, 500, 5000, {T::C, T::L, T::C, T::L}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeProject project;
        TNet net(project, row.index);
        EXPECT_STREQ(net.Name(), row.name);
        EXPECT_EQ(net.lowPassOrder, row.lowOrder);
        EXPECT_EQ(net.highPassOrder, row.highOrder);
        if (net.HasLowPass()) {
            EXPECT_EQ(net.lowPassCutoff, row.lowFc);
        }
        if (net.HasHighPass()) {
            EXPECT_EQ(net.highPassCutoff, row.highFc);
        }
        EXPECT_EQ(LadderTypes(net), row.types);
        for (int b : {4, 5, 6})
            EXPECT_EQ(net.Branch(b).Type(), T::None);
        EXPECT_EQ(net.Branch(7).Type(), T::RPlusC);
        EXPECT_DOUBLE_EQ(net.Branch(7).R().value, 8.0);
        EXPECT_DOUBLE_EQ(net.Branch(7).C().value, 15.625e-6);
        EXPECT_EQ(net.driverCount, 1);
        EXPECT_FALSE(net.seriesConnection);
        EXPECT_EQ(net.Driver(1).pistonRadius, 0.05);
        EXPECT_TRUE(net.Dirty());
    }
    // A fresh bass network is a fourth-order low-pass at 500 Hz for 8 ohm.
    FakeProject project;
    TNet bass(project, 0);
    EXPECT_NEAR(bass.Branch(0).L().value, 1.531 * 8 / (2 * M_PI * 500), 1e-12);
    EXPECT_NEAR(bass.Branch(3).C().value, 0.383 / (8 * 2 * M_PI * 500), 1e-15);
    EXPECT_EQ(bass.Branch(0).C().value, 0.0); // the unused high-pass part
}

TEST(NetDesign, CalculatorTypesByOrderAndRole)
{
    struct Row {
        int index;
        bool lowPass;
        int order;
        std::vector<T> types;
    };
    const Row rows[] = {
        // The bass low-pass alone.
        {0, true, 1, {T::L, T::None, T::None, T::None}},
        {0, true, 3, {T::L, T::C, T::L, T::None}},
        {0, true, 0, {T::None, T::None, T::None, T::None}},
        // The treble high-pass alone.
        {2, false, 2, {T::C, T::L, T::None, T::None}},
        {2, false, 0, {T::None, T::None, T::None, T::None}},
        // The midrange keeps the other section's elements beside or instead of its own.
        {1, true, 2, {T::LPlusC, T::LParC, T::C, T::L}},
        {1, true, 0, {T::C, T::L, T::C, T::L}},
        {1, false, 1, {T::LPlusC, T::C, T::L, T::C}},
        {1, false, 0, {T::L, T::C, T::L, T::C}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "net " << row.index << (row.lowPass ? " low-pass " : " high-pass ")
                                        << row.order);
        FakeProject project;
        TNet net(project, row.index);
        (row.lowPass ? net.lowPassOrder : net.highPassOrder) = row.order;
        if (row.lowPass)
            net.CalcLowPass();
        else
            net.CalcHighPass();
        EXPECT_EQ(LadderTypes(net), row.types);
    }
}

TEST(NetDesign, CalculatorsClearTheElementsBeyondTheOrder)
{
    FakeProject project;
    TNet net(project, 1);
    net.lowPassOrder = 2;
    net.CalcLowPass();
    EXPECT_GT(net.Branch(0).L().value, 0.0);
    EXPECT_GT(net.Branch(1).C().value, 0.0);
    EXPECT_EQ(net.Branch(2).L().value, 0.0);
    EXPECT_EQ(net.Branch(3).C().value, 0.0);
    // The high-pass parts of the same branches are untouched.
    EXPECT_GT(net.Branch(2).C().value, 0.0);
    EXPECT_GT(net.Branch(3).L().value, 0.0);
    net.highPassOrder = 1;
    net.CalcHighPass();
    EXPECT_GT(net.Branch(0).C().value, 0.0);
    EXPECT_EQ(net.Branch(1).L().value, 0.0);
    EXPECT_EQ(net.Branch(2).C().value, 0.0);
    EXPECT_EQ(net.Branch(3).L().value, 0.0);
}

TEST(NetDesign, DesignLoadAndZobelFollowTheDriverConnection)
{
    struct Row {
        int drivers;
        bool series;
        double load, r18, c18;
    };
    const Row rows[] = {{1, false, 8, 8, 15.625e-6}, {2, true, 16, 16, 7.8125e-6}, {2, false, 4, 4, 31.25e-6}};
    for (const Row& row : rows) {
        FakeProject project;
        TNet net(project, 2);
        net.driverCount = row.drivers;
        net.seriesConnection = row.series;
        EXPECT_EQ(net.DesignLoad(), row.load);
        net.CalcZobel();
        EXPECT_DOUBLE_EQ(net.Branch(7).R().value, row.r18);
        EXPECT_DOUBLE_EQ(net.Branch(7).C().value, row.c18);
        net.highPassOrder = 1;
        net.highPassCutoff = 1000;
        net.CalcHighPass();
        EXPECT_NEAR(net.Branch(0).C().value, 1 / (row.load * 2 * M_PI * 1000), 1e-15);
    }
}

TEST(NetDesign, AttenuatorValues)
{
    struct Row {
        double db, r16, r17;
        T type;
    };
    const Row rows[] = {{6.0, 3.9905, 8.0381, T::R},
                        {20.0, 7.2, 0.8889, T::R},
                        {3.0, 2.336, 19.39, T::R},
                        {0.0, 0, 0, T::None},
                        {-3.0, 0, 0, T::None}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.db);
        FakeProject project;
        TNet net(project, 0);
        net.attenuation = row.db;
        net.CalcAttenuator();
        EXPECT_NEAR(net.Branch(5).R().value, row.r16, 5e-4 * std::max(1.0, row.r16));
        EXPECT_NEAR(net.Branch(6).R().value, row.r17, 5e-4 * std::max(1.0, row.r17));
        EXPECT_EQ(net.Branch(5).Type(), row.type);
        EXPECT_EQ(net.Branch(6).Type(), row.type);
    }
}

TEST(NetDesign, TypedValuesChooseTheBranchType)
{
    struct Row {
        int branch;
        double r, l, c;
        T type;
    };
    const Row rows[] = {
        {0, 0, 1e-3, 1e-6, T::LPlusC}, {1, 0, 1e-3, 1e-6, T::LParC}, {2, 0, 0, 1e-6, T::C},
        {3, 0, 1e-3, 0, T::L},         {0, 5, 0, 0, T::None},        {4, 5, 1e-3, 1e-6, T::RParLParC},
        {4, 5, 0, 1e-6, T::RParC},     {4, 5, 1e-3, 0, T::RParL},    {4, 0, 1e-3, 1e-6, T::LParC},
        {4, 0, 0, 1e-6, T::C},         {4, 0, 1e-3, 0, T::L},        {4, 5, 0, 0, T::R},
        {4, 0, 0, 0, T::None},         {5, 5, 0, 0, T::R},           {6, 0, 1e-3, 1e-6, T::None},
        {7, 8, 0, 1e-6, T::RPlusC},    {7, 8, 0, 0, T::None},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "branch " << row.branch << " R " << row.r << " L " << row.l << " C "
                                        << row.c);
        FakeProject project;
        TNet net(project, 1);
        // From an empty branch, each value typed in turn.
        for (TCompKind k : {TCompKind::Resistor, TCompKind::Inductor, TCompKind::Capacitor})
            net.SetComponentValue(row.branch, k, 0.0);
        net.SetComponentValue(row.branch, TCompKind::Resistor, row.r);
        net.SetComponentValue(row.branch, TCompKind::Inductor, row.l);
        net.SetComponentValue(row.branch, TCompKind::Capacitor, row.c);
        EXPECT_EQ(net.Branch(row.branch).Type(), row.type);
    }
}

TEST(NetDesign, ANewNonzeroValueKeepsTheType)
{
    FakeProject project;
    TNet net(project, 0);
    net.Calculate();
    EXPECT_FALSE(net.Dirty());
    net.Branch(4).SetType(T::L); // L15 is 0: nothing in the branch yet
    net.SetComponentValue(0, TCompKind::Inductor, 0.002);
    EXPECT_EQ(net.Branch(0).Type(), T::L);
    EXPECT_TRUE(net.Branch(0).Dirty());
    EXPECT_TRUE(net.Dirty());
    // The bass branch 0 has no capacitor: a nonzero one now joins it.
    net.SetComponentValue(0, TCompKind::Capacitor, 1e-6);
    EXPECT_EQ(net.Branch(0).Type(), T::LPlusC);
    // Refused: not a number.
    net.SetComponentValue(0, TCompKind::Inductor, std::nan(""));
    EXPECT_EQ(net.Branch(0).L().value, 0.002);
}

} // namespace
