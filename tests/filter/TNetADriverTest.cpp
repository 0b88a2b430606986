// The driver group of an advanced network: the load and the dividers of every wiring,
// where the data of each driver come from, and the sum of the drivers along the rays.
#include "NetATestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace netatest;

namespace {

const std::string kZma = TONVEK_REFDATA "/measured/DCS255-4.zma";
const std::string kFrd = TONVEK_REFDATA "/measured/DCS255-4@0.frd";

struct Group {
    FakeProject project;
    TNetA net;
    explicit Group(bool active = false) : net(project, 0, active) {}
    void Wire(int count, TConnection c)
    {
        net.Drivers().SetCount(count);
        ASSERT_TRUE(net.Drivers().SetConnection(c));
        net.Calculate();
    }
};

TEST(NetADriverGroup, WiringsOfIdenticalResistiveDrivers)
{
    struct Row {
        int count;
        TConnection connection;
        double load, divider;
    };
    const Row rows[] = {
        {1, TConnection::Series, 8.0, 1.0},   {2, TConnection::Series, 16.0, 0.5},
        {2, TConnection::Parallel, 4.0, 1.0}, {4, TConnection::Series, 32.0, 0.25},
        {4, TConnection::Parallel, 2.0, 1.0}, {4, TConnection::Pairs, 8.0, 0.5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.count * 10 + static_cast<int>(r.connection));
        Group g;
        g.Wire(r.count, r.connection);
        for (int i : {0, 499}) {
            const auto s = static_cast<std::size_t>(i);
            EXPECT_NEAR(std::abs(g.net.GroupLoad()[s] - r.load), 0.0, 1e-12);
            EXPECT_NEAR(std::abs(g.net.InputImpedance()[s] - r.load), 0.0, 1e-9) << "all branches None";
            EXPECT_NEAR(std::abs(g.net.Transfer()[s] - 1.0), 0.0, 1e-12);
            for (int d = 0; d < r.count; ++d)
                EXPECT_NEAR(std::abs(g.net.Divider(d)[s] - r.divider), 0.0, 1e-12);
        }
    }
    Group three;
    three.net.Drivers().SetCount(3);
    EXPECT_FALSE(three.net.Drivers().SetConnection(TConnection::Pairs));
    three.net.Drivers().SetCount(4);
    ASSERT_TRUE(three.net.Drivers().SetConnection(TConnection::Pairs));
    three.net.Drivers().SetCount(2);
    EXPECT_EQ(three.net.Drivers().Connection(), TConnection::Series);
}

TEST(NetADriverGroup, ShuntsAcrossTheDriversExistPerWiring)
{
    Group g;
    std::array<int, TNetA::kPositions> listed{};
    g.net.Drivers().SetCount(3);
    EXPECT_EQ(g.net.ListedPositions(listed), 11);
    EXPECT_EQ(listed[10], 12);
    ASSERT_TRUE(g.net.Drivers().SetConnection(TConnection::Parallel));
    EXPECT_EQ(g.net.ListedPositions(listed), 9);
    g.net.Drivers().SetCount(4);
    ASSERT_TRUE(g.net.Drivers().SetConnection(TConnection::Pairs));
    EXPECT_EQ(g.net.ListedPositions(listed), 10);
    EXPECT_TRUE(g.net.Drivers().ShuntExists(11));
    EXPECT_FALSE(g.net.Drivers().ShuntExists(12));

    // 8 ohm across one pair of 8 ohm drivers: F1 = 8 // 8 // 8 = 8/3, F2 = 4, G = 20/3.
    ASSERT_TRUE(SetBranch(g.net, 10, 1, {{S::R1, 8.0}}));
    g.net.Calculate();
    EXPECT_NEAR(g.net.GroupLoad()[0].real(), 20.0 / 3.0, 1e-12);
    EXPECT_NEAR(g.net.Divider(0)[0].real(), 0.4, 1e-12);
    EXPECT_NEAR(g.net.Divider(3)[0].real(), 0.6, 1e-12);
    g.net.noComponents = true;
    g.net.Calculate();
    EXPECT_NEAR(g.net.GroupLoad()[0].real(), 8.0, 1e-12) << "no components ignores the shunts too";

    // Series: the shunt across driver 2 takes part of its current, Rex adds to each.
    Group s;
    s.net.Drivers().rex = 2.0;
    ASSERT_TRUE(SetBranch(s.net, 11, 1, {{S::R1, 10.0}}));
    s.Wire(2, TConnection::Series);
    // E1 = 10, E2 = 10 // 10 = 5; G = 15; D1 = 8/10 * 10/15, D2 = 8/10 * 5/15.
    EXPECT_NEAR(s.net.GroupLoad()[7].real(), 15.0, 1e-12);
    EXPECT_NEAR(s.net.Divider(0)[7].real(), 0.8 * 10.0 / 15.0, 1e-12);
    EXPECT_NEAR(s.net.Divider(1)[7].real(), 0.8 * 5.0 / 15.0, 1e-12);
}

TEST(NetADriverGroup, DataOfDriverOneStandInWherePassiveNetsNeedThem)
{
    for (bool active : {false, true}) {
        SCOPED_TRACE(active);
        Group g(active);
        ASSERT_TRUE(g.net.SetMeasFile(0, TMeasKind::Impedance, kZma));
        g.net.Drivers().Driver(1).impedanceSameAs = false; // and no data of its own
        g.Wire(2, TConnection::Parallel);
        const TComplex z1 = g.net.Drivers().Driver(0).impedance.Response()[100];
        const TComplex expected = active ? z1 * 8.0 / (z1 + 8.0) : z1 / 2.0;
        EXPECT_NEAR(std::abs(g.net.GroupLoad()[100] - expected), 0.0, 1e-9);
    }
    // A file that cannot be read keeps what the driver had and falls back on driver 1.
    Group g;
    g.net.Drivers().SetCount(2);
    ASSERT_TRUE(g.net.SetMeasFile(0, TMeasKind::Spl, kFrd));
    ASSERT_TRUE(g.net.SetMeasFile(1, TMeasKind::Spl, kFrd));
    EXPECT_FALSE(g.net.Drivers().Driver(1).splSameAs);
    g.net.Drivers().Driver(0).splScaling = 2.0;
    g.net.Drivers().Driver(1).splScaling = 0.5;
    EXPECT_FALSE(g.net.SetMeasFile(1, TMeasKind::Spl, "/nonexistent/driver.frd"));
    EXPECT_TRUE(g.net.Drivers().Driver(1).spl.Loaded());
    EXPECT_EQ(g.net.Drivers().FileName(1, TMeasKind::Spl), kFrd);
    EXPECT_TRUE(g.net.SetMeasFile(1, TMeasKind::Spl, ""));
    EXPECT_TRUE(g.net.Drivers().Driver(1).splSameAs);
    g.net.Calculate();
    EXPECT_EQ(g.net.DriverOutput(1)[50], g.net.DriverOutput(0)[50]) << "driver 1's data and scaling";
}

TEST(NetADriverGroup, InvertNegatesTheRaysButNotTheGains)
{
    Group g;
    g.project.AddRays({30, -30});
    g.net.Calculate();
    const auto before = g.net.Output(1)[200];
    const double gain = g.net.DriverGain(0)[200];
    g.net.Drivers().invert = true;
    g.net.Calculate();
    EXPECT_EQ(g.net.Output(1)[200], -before);
    EXPECT_EQ(g.net.DriverGain(0)[200], gain);
    EXPECT_NEAR(g.net.Level(g.net.OnAxisRay())[200], 0.0, 1e-9);
}

TEST(NetADriverGroup, InhibitComputesOnlyTheOnAxisRow)
{
    Group g;
    g.project.AddRays({60});
    g.project.General().SetInhibit(true);
    g.net.Calculate();
    const int axis = g.net.OnAxisRay();
    const int other = axis == 0 ? 1 : 0;
    EXPECT_EQ(g.net.Output(other)[10], TComplex{});
    EXPECT_EQ(g.net.Level(other)[10], 0.0);
    EXPECT_NEAR(g.net.Level(axis)[10], 0.0, 1e-9);
    g.project.General().SetInhibit(false);
    g.net.Calculate();
    EXPECT_NE(g.net.Output(other)[10], TComplex{});

    // An open optimiser without live update computes its own ray only and leaves the
    // on-axis phase alone; with live update every ray again.
    Group o;
    o.project.AddRays({60, -30}); // on axis is ray 1
    o.net.optimiser.state = TNetAOptimiserFields::kOpen;
    o.net.optimiser.ray = 7; // beyond the list: its last ray
    o.net.Calculate();
    EXPECT_TRUE(o.net.RayComputed(2));
    EXPECT_FALSE(o.net.RayComputed(0));
    EXPECT_FALSE(o.net.RayComputed(1));
    EXPECT_EQ(o.net.OnAxisPhase()[10], 0.0);
    o.net.optimiser.liveUpdate = 1;
    o.net.Calculate();
    EXPECT_TRUE(o.net.RayComputed(0) && o.net.RayComputed(1) && o.net.RayComputed(2));
}

// Two identical drivers 0.2 m apart, in phase: +6 dB on axis, a null off axis in the
// plane that contains them where the path difference is half a wavelength.
TEST(NetADriverGroup, TwoDriversApartNullOnlyInTheirPlane)
{
    for (bool vertical : {true, false}) {
        SCOPED_TRACE(vertical);
        Group g;
        g.project.AddRays({30});
        g.project.General().SetVertical(vertical);
        g.net.Drivers().SetCount(2);
        ASSERT_TRUE(g.net.Drivers().SetConnection(TConnection::Parallel));
        g.net.Drivers().Driver(0).y = 0.1;
        g.net.Drivers().Driver(1).y = -0.1;
        g.net.Calculate();
        const int axis = g.net.OnAxisRay();
        const int ray = axis == 0 ? 1 : 0;
        const TFilterGrid& grid = g.project.Grid();
        EXPECT_NEAR(g.net.Level(axis)[5], 6.0206, 1e-6);
        const double fNull = 340.0 / (2.0 * 0.2 * 0.5); // 1700 Hz
        int lowest = 0;
        for (int i = 1; i < grid.Count(); ++i)
            if (grid.Frequency(i) < 3000.0 &&
                g.net.Level(ray)[static_cast<std::size_t>(i)] < g.net.Level(ray)[static_cast<std::size_t>(lowest)])
                lowest = i;
        if (vertical) {
            EXPECT_LE(std::abs(lowest - NearestPoint(grid, fNull)), 1);
            EXPECT_LT(g.net.Level(ray)[static_cast<std::size_t>(lowest)], -20.0);
        } else {
            const int i = NearestPoint(grid, fNull);
            const double piston = PistonDirectivity(grid.Frequency(i), 0.05 * 0.5);
            EXPECT_NEAR(g.net.Level(ray)[static_cast<std::size_t>(i)], 20.0 * std::log10(2.0 * piston), 1e-6);
        }
    }
}

TEST(NetADriverGroup, DepthDelaysByTheSoundSpeed)
{
    Group flat, deep;
    deep.net.Drivers().Driver(0).z = 0.34;
    flat.net.Calculate();
    deep.net.Calculate();
    const TFilterGrid& grid = flat.project.Grid();
    for (double f : {100.0, 1000.0, 4321.0, 15000.0}) {
        const auto i = static_cast<std::size_t>(NearestPoint(grid, f));
        const double shift = PhaseDeg(deep.net.Output(0)[i] / flat.net.Output(0)[i]);
        const double expected = std::remainder(-360.0 * grid.Frequency(static_cast<int>(i)) * 0.001, 360.0);
        EXPECT_NEAR(std::remainder(shift - expected, 360.0), 0.0, 0.5) << f;
    }
    EXPECT_NEAR(deep.net.GroupDelay()[250], 1.0, 0.01);
}

} // namespace

namespace {

// The network keeps each driver's placement along each ray; moving a driver, changing
// the rays or the listening distance must give what a fresh network computes.
TEST(NetADriverGroup, MovesAndListenerChangesReachTheRays)
{
    Group g;
    g.project.AddRays({40, -20});
    g.project.General().SetInfinite(false);
    g.net.Drivers().SetCount(2);
    g.net.Calculate();
    g.net.Drivers().Driver(1).y = 0.3;
    g.project.General().SetDistance(1.5);
    g.project.AddRays({-70});
    g.net.Calculate();
    Group fresh;
    fresh.project.AddRays({40, -20, -70});
    fresh.project.General().SetInfinite(false);
    fresh.project.General().SetDistance(1.5);
    fresh.net.Drivers().SetCount(2);
    fresh.net.Drivers().Driver(1).y = 0.3;
    fresh.net.Calculate();
    for (int r = 0; r < fresh.project.General().SurfaceRayCount(); ++r)
        for (int i : {0, 123, 499})
            EXPECT_EQ(g.net.Output(r)[static_cast<std::size_t>(i)], fresh.net.Output(r)[static_cast<std::size_t>(i)])
                << r << " " << i;
    // And what placing each driver's output directly gives.
    const TGeneral& general = fresh.project.General();
    for (int r = 0; r < general.SurfaceRayCount(); ++r) {
        TNetBase::TComplexRow sum{}, one{};
        for (int d = 0; d < 2; ++d) {
            const TDriverA& driver = fresh.net.Drivers().Driver(d);
            ResponseAtPosition(fresh.net.DriverOutput(d).data(), r == general.OnAxisIndex() ? 0 : general.SurfaceRay(r),
                               driver.radius, driver.x, driver.y, driver.z, one.data(), fresh.project.Grid(),
                               general.ListeningSetup());
            for (std::size_t i = 0; i < sum.size(); ++i)
                sum[i] += one[i];
        }
        for (std::size_t i = 0; i < sum.size(); i += 50)
            EXPECT_NEAR(std::abs(fresh.net.Output(r)[i] - sum[i]), 0.0, 1e-12 * std::abs(sum[i])) << r;
    }
}

} // namespace
