// A measured response moved to a listening position: directivity, delays, the two
// planes and the near field.
#include "MeasTestSupport.h"

#include "measdata/TResponseAtPosition.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace meastest;

namespace {

using Response = std::array<std::complex<double>, TFilterGrid::kPoints>;

Response SomeResponse()
{
    Response r;
    for (std::size_t i = 0; i < r.size(); ++i)
        r[i] = {std::cos(0.01 * static_cast<double>(i)) * 3.0, std::sin(0.03 * static_cast<double>(i)) - 0.5};
    return r;
}

TEST(PistonDirectivity, FollowsTheRigidPiston)
{
    EXPECT_EQ(PistonDirectivity(1000.0, 0.0), 1.0);
    EXPECT_EQ(PistonDirectivity(10.0, 0.1), 1.0);       // x = 0.018
    EXPECT_EQ(PistonDirectivity(20000.0, 0.1), 0.0001); // x = 36
    // Against 2 J1(x) / x of a piston in a baffle, up to its first null near x = 3.83.
    for (double x = 0.1; x < 3.6; x += 0.1) {
        const double f = x * 344.7 / (6.28318530718 * 0.05);
        const double exact = 2.0 * std::cyl_bessel_j(1.0, x) / x;
        EXPECT_NEAR(PistonDirectivity(f, 0.05), exact, 0.01) << "x = " << x;
    }
}

TEST(ResponseAtPosition, FarFieldOnAxisKeepsTheResponse)
{
    const TFilterGrid& grid = FilterGrid();
    const Response source = SomeResponse();
    for (double radius : {0.0, 0.01, 0.1, 0.5}) {
        for (double p : {0.0, 0.3, -0.2}) {
            Response out{};
            ResponseAtPosition(source.data(), 0.0, radius, p, -p, 0.0, out.data(), grid, TListeningSetup{true, true, 1.0});
            EXPECT_EQ(out, source) << radius << " " << p;
        }
    }
}

TEST(ResponseAtPosition, NearFieldOnAxisAtTheOriginIsUnity)
{
    const Response source = SomeResponse();
    Response out{};
    ResponseAtPosition(source.data(), 0.0, 0.1, 0.0, 0.0, 0.0, out.data(), FilterGrid(), TListeningSetup{true, false, 1.0});
    EXPECT_EQ(out, source);
}

TEST(ResponseAtPosition, DelayFromDepthAndPlane)
{
    const TFilterGrid& grid = FilterGrid();
    Response ones;
    ones.fill({1.0, 0.0});
    struct Case {
        double angle, first, second, depth;
        bool vertical;
        double tau;
    };
    const double s30 = std::sin(30.0 * 3.141592653589793 / 180.0);
    const Case cases[] = {
        {0.0, 0.0, 0.0, 0.34, true, 0.001},
        {30.0, 0.0, 0.1, 0.0, true, -0.1 * s30 / 340.0},   // vertical: the second coordinate is in the plane
        {30.0, 0.0, 0.1, 0.0, false, 0.0},                 // horizontal: it is not
        {30.0, 0.1, 0.0, 0.0, false, -0.1 * s30 / 340.0},
        {-30.0, 0.0, 0.1, 0.0, true, 0.1 * s30 / 340.0},
    };
    for (const Case& c : cases) {
        Response out{};
        ResponseAtPosition(ones.data(), c.angle, 0.0, c.first, c.second, c.depth, out.data(), grid,
                           TListeningSetup{c.vertical, true, 1.0});
        for (int i : {0, 100, 300, 499}) {
            const double phi = -c.tau * grid.Frequency(i) * 2.0 * 3.141592653589793;
            EXPECT_NEAR(out[static_cast<std::size_t>(i)].real(), std::cos(phi), 1e-9);
            EXPECT_NEAR(out[static_cast<std::size_t>(i)].imag(), std::sin(phi), 1e-9);
        }
    }
}

TEST(ResponseAtPosition, OffAxisDirectivityNarrowsWithFrequency)
{
    const TFilterGrid& grid = FilterGrid();
    Response ones;
    ones.fill({1.0, 0.0});
    Response out{};
    ResponseAtPosition(ones.data(), 60.0, 0.1, 0.0, 0.0, 0.0, out.data(), grid, TListeningSetup{});
    const double a = 0.1 * std::sin(60.0 * 3.141592653589793 / 180.0);
    for (int i = 0; i < grid.Count(); ++i)
        EXPECT_DOUBLE_EQ(std::abs(out[static_cast<std::size_t>(i)]), PistonDirectivity(grid.Frequency(i), a));
    EXPECT_EQ(std::abs(out[0]), 1.0);
    EXPECT_LT(std::abs(out[400]), 0.5);
}

TEST(ResponseAtPosition, NearFieldPressureFallsAsOneOverDistance)
{
    const TFilterGrid& grid = FilterGrid();
    Response ones;
    ones.fill({1.0, 0.0});
    Response out{};
    ResponseAtPosition(ones.data(), 0.0, 0.0, 0.0, 0.0, 0.0, out.data(), grid, TListeningSetup{true, false, 2.0});
    EXPECT_NEAR(20.0 * std::log10(std::abs(out[0])), -6.0206, 1e-4);
    // The delay is measured from the listening distance: a driver at the origin has none.
    EXPECT_NEAR(out[499].imag(), 0.0, 1e-12);

    // A driver 0.2 m up, listener on axis at 1 m in the vertical plane.
    ResponseAtPosition(ones.data(), 0.0, 0.0, 0.0, 0.2, 0.0, out.data(), grid, TListeningSetup{true, false, 1.0});
    const double r = std::sqrt(1.0 + 0.04);
    EXPECT_NEAR(std::abs(out[0]), 1.0 / r, 1e-12);
    const double phi = -(r - 1.0) / 340.0 * grid.Frequency(250) * 2.0 * 3.141592653589793;
    EXPECT_NEAR(std::arg(out[250]), std::remainder(phi, 2.0 * 3.141592653589793), 1e-9);
}

TEST(ResponseAtPosition, ListenerOnTheDriverStaysFinite)
{
    Response ones;
    ones.fill({1.0, 0.0});
    Response out{};
    ResponseAtPosition(ones.data(), 0.0, 0.1, 0.0, 0.0, -1.0, out.data(), FilterGrid(), TListeningSetup{true, false, 1.0});
    for (const auto& z : out)
        ASSERT_TRUE(std::isfinite(z.real()) && std::isfinite(z.imag()));
}

TEST(ResponseAtPosition, ResultMayBeTheSource)
{
    Response a = SomeResponse();
    Response b{};
    ResponseAtPosition(a.data(), 20.0, 0.1, 0.05, 0.1, 0.02, b.data(), FilterGrid(), TListeningSetup{});
    ResponseAtPosition(a.data(), 20.0, 0.1, 0.05, 0.1, 0.02, a.data(), FilterGrid(), TListeningSetup{});
    EXPECT_EQ(a, b);
}

} // namespace
