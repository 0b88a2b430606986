// Textbook crossovers built as free ladders with ideal 8 ohm drivers: the published
// element values and orders give the published levels at the cutoff and sums.
#include "NetATestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace netatest;

namespace {

constexpr double kR = 8.0;

// One element of a ladder: a position, a coil (a series R1 + L of almost no resistance)
// or a capacitor, and its constant: L = k R / f, C = k / (R f).
struct Element {
    int position;
    bool coil;
    double k;
};

struct Design {
    const char* name;
    std::vector<Element> low, high;
    double atFc;      // dB of each section at fc
    bool invertHigh;  // the polarity the sum is flat or known in
    double sumAtFc;   // dB
    double sumRipple; // largest deviation from 0 dB over fc/4 .. 4 fc, or < 0 for none
};

void Build(TNetA& net, const std::vector<Element>& elements, double fc)
{
    for (const Element& e : elements) {
        if (e.coil)
            ASSERT_TRUE(SetBranch(net, e.position, static_cast<int>(TPassiveType::R1PlusL),
                                  {{S::R1, kWire}, {S::L, e.k * kR / fc}}));
        else
            ASSERT_TRUE(SetBranch(net, e.position, static_cast<int>(TPassiveType::C), {{S::C, e.k / (kR * fc)}}));
    }
}

TEST(NetAPhysics, TextbookLaddersWithIdealDrivers)
{
    const Design designs[] = {
        {"2nd Butterworth",
         {{6, true, 0.2251}, {7, false, 0.1125}},
         {{6, false, 0.1125}, {7, true, 0.2251}},
         -3.0103,
         true,
         3.0103,
         -1},
        {"2nd Linkwitz-Riley",
         {{6, true, 0.3183}, {7, false, 0.0796}},
         {{6, false, 0.0796}, {7, true, 0.3183}},
         -6.0206,
         true,
         0.0,
         0.05},
        {"3rd Butterworth",
         {{4, true, 0.2387}, {5, false, 0.2122}, {6, true, 0.0796}},
         {{4, false, 0.1061}, {5, true, 0.1194}, {6, false, 0.3183}},
         -3.0103,
         false,
         0.0,
         0.1},
        {"4th Linkwitz-Riley",
         {{4, true, 0.3000}, {5, false, 0.2533}, {6, true, 0.1500}, {7, false, 0.0563}},
         {{4, false, 0.0844}, {5, true, 0.1000}, {6, false, 0.1688}, {7, true, 0.4501}},
         -6.0206,
         false,
         0.0,
         0.1},
    };
    for (const Design& d : designs) {
        SCOPED_TRACE(d.name);
        FakeProject project;
        const TFilterGrid& grid = project.Grid();
        const int ic = NearestPoint(grid, 3000.0);
        const double fc = grid.Frequency(ic);
        TNetA low(project, 0, false), high(project, 1, false);
        Build(low, d.low, fc);
        Build(high, d.high, fc);
        high.Drivers().invert = d.invertHigh;
        low.Calculate();
        high.Calculate();
        const auto at = static_cast<std::size_t>(ic);
        EXPECT_NEAR(low.DriverGain(0)[at], d.atFc, 0.06);
        EXPECT_NEAR(high.DriverGain(0)[at], d.atFc, 0.06);
        EXPECT_NEAR(LevelDb(low.Output(0)[at] + high.Output(0)[at]), d.sumAtFc, 0.06);
        if (d.sumRipple < 0)
            continue;
        double worst = 0.0;
        for (int i = NearestPoint(grid, fc / 4); i <= NearestPoint(grid, 4 * fc); ++i) {
            const auto s = static_cast<std::size_t>(i);
            worst = std::max(worst, std::fabs(LevelDb(low.Output(0)[s] + high.Output(0)[s])));
        }
        EXPECT_LT(worst, d.sumRipple);
    }
}

// The ladder's own bookkeeping: what a branch of type 0 and "No components" mean, and the
// input impedance of a known divider.
TEST(NetAPhysics, LadderSkipsAndDivides)
{
    FakeProject project;
    TNetA net(project, 0, false);
    // 8 ohm in series, 8 ohm across an 8 ohm driver: Zin = 12, T = 4 / 12.
    ASSERT_TRUE(SetBranch(net, 2, 1, {{S::R1, 8.0}}));
    ASSERT_TRUE(SetBranch(net, 7, 1, {{S::R1, 8.0}}));
    net.Calculate();
    EXPECT_NEAR(std::abs(net.InputImpedance()[3] - 12.0), 0.0, 1e-12);
    EXPECT_NEAR(std::abs(net.Transfer()[3] - 1.0 / 3.0), 0.0, 1e-12);
    EXPECT_NEAR(net.ImpedanceMagnitude()[3], 12.0, 1e-12);

    // "No components" is the same network as every branch of type 0, whatever the types.
    net.noComponents = true;
    net.Calculate();
    EXPECT_EQ(net.Transfer()[3], TComplex(1.0, 0.0));
    EXPECT_EQ(net.InputImpedance()[3], TComplex(8.0, 0.0));

    net.noComponents = false;
    net.disconnect = true;
    net.Calculate();
    EXPECT_LT(net.DriverGain(0)[3], -200.0);
    EXPECT_GT(net.ImpedanceMagnitude()[3], 1e11);

    // Only the edited branch is recomputed.
    net.disconnect = false;
    net.Calculate();
    EXPECT_FALSE(net.Branch(2)->Dirty());
    ASSERT_TRUE(net.Branch(7)->Comp(S::R1).StepUp());
    EXPECT_TRUE(net.Branch(7)->Dirty());
    EXPECT_FALSE(net.Branch(2)->Dirty());
    net.Calculate();
    EXPECT_NEAR(net.Branch(7)->Impedance()[0].real(), 8.4, 1e-12);
}

} // namespace
