// The ladder solution's edge cases: empty networks, disconnect, one and two drivers in
// either connection, polarity, measured data and its scalings, rays, group delay, and
// bad values that must not turn into NaN.
#include "NetTestSupport.h"
#include "measdata/MeasTestSupport.h"

#include <gtest/gtest.h>

using namespace nettest;

namespace {

constexpr std::size_t kN = TFilterGrid::kPoints;

void MakeEmpty(TNet& net)
{
    for (int b = 0; b < TNet::kBranches; ++b)
        net.Branch(b).SetType(TBranchType::None);
    net.MarkDirty();
}

TComplex Zd(const TNet& net, const TFilterGrid& grid, std::size_t i) { return {net.re, grid.Omegas()[i] * net.le}; }

bool AllFinite(const TNet& net, int rays)
{
    const auto finite = [](const auto& row) {
        for (const auto& v : row)
            if (!std::isfinite(std::abs(v)))
                return false;
        return true;
    };
    bool ok = finite(net.InputImpedance()) && finite(net.ImpedanceMagnitude()) && finite(net.ImpedancePhase()) &&
              finite(net.FilterGain()) && finite(net.OnAxisPhase()) && finite(net.GroupDelay());
    for (int r = 0; r < rays; ++r)
        ok = ok && finite(net.Output(r)) && finite(net.Level(r));
    return ok;
}

TEST(NetSolution, EmptyNetworkIsTheDriverBehindRex)
{
    FakeProject project;
    TNet net(project, 0);
    MakeEmpty(net);
    net.rex = 2.0;
    net.Calculate();
    for (std::size_t i = 0; i < kN; i += 37) {
        const TComplex zd = Zd(net, project.Grid(), i);
        // The open shunt branches are 1e9 ohm each, not infinite.
        EXPECT_NEAR(std::abs(net.Transfer()[i] - zd / (zd + 2.0)), 0.0, 2e-6);
        EXPECT_NEAR(std::abs(net.InputImpedance()[i] / (zd + 2.0) - 1.0), 0.0, 2e-6);
        EXPECT_NEAR(std::abs(net.Output(0)[i] - net.Transfer()[i]), 0.0, 1e-12);
    }
}

TEST(NetSolution, TwoDriversInParallelAndInSeries)
{
    struct Row {
        bool series;
        double voltage;   // on each driver, per volt in
        double impedance; // times Zd
    };
    for (const Row row : {Row{false, 1.0, 0.5}, Row{true, 0.5, 2.0}}) {
        SCOPED_TRACE(row.series ? "series" : "parallel");
        FakeProject project;
        TNet net(project, 2);
        MakeEmpty(net);
        net.driverCount = 2;
        net.seriesConnection = row.series;
        net.Calculate();
        for (std::size_t i = 0; i < kN; i += 41) {
            EXPECT_NEAR(std::abs(net.DriverOutput(0)[i] - row.voltage), 0.0, 1e-7);
            EXPECT_NEAR(std::abs(net.DriverOutput(1)[i] - row.voltage), 0.0, 1e-7);
            EXPECT_NEAR(std::abs(net.InputImpedance()[i] / (row.impedance * Zd(net, project.Grid(), i)) - 1.0), 0.0,
                        2e-6);
            // Both drivers at the same place add up on axis.
            EXPECT_NEAR(std::abs(net.Output(0)[i] - 2.0 * row.voltage), 0.0, 2e-7);
        }
    }
}

TEST(NetSolution, RexOfTwoDriversCountsPerDriver)
{
    for (bool series : {false, true}) {
        FakeProject project;
        TNet net(project, 0);
        MakeEmpty(net);
        net.driverCount = 2;
        net.seriesConnection = series;
        net.le = 0.0;
        net.rex = 2.0;
        net.Calculate();
        const double load = series ? 2 * 8.0 + 2 * 2.0 : 8.0 / 2 + 2.0 / 2;
        EXPECT_NEAR(net.ImpedanceMagnitude()[100] / load, 1.0, 1e-6);
        EXPECT_NEAR(std::abs(net.DriverOutput(0)[100]), series ? 8.0 / load : 4.0 / load, 1e-7);
    }
}

TEST(NetSolution, DisconnectSilencesTheNetworkAndLeavesTheInputOpen)
{
    for (int drivers : {1, 2}) {
        FakeProject project;
        TNet net(project, 1);
        net.driverCount = drivers;
        net.disconnect = true;
        net.MarkDirty();
        net.Calculate();
        ASSERT_TRUE(AllFinite(net, 1));
        for (std::size_t i = 0; i < kN; ++i) {
            EXPECT_GT(net.ImpedanceMagnitude()[i], 1e11);
            EXPECT_LT(net.Level(0)[i], -150.0);
        }
    }
}

TEST(NetSolution, InvertPolarityNegatesTheOutput)
{
    FakeProject project;
    TNet net(project, 2);
    net.Calculate();
    const auto before = net.Output(0);
    net.invertPolarity = true;
    net.MarkDirty();
    net.Calculate();
    for (std::size_t i = 0; i < kN; i += 23)
        EXPECT_EQ(net.Output(0)[i], -before[i]);
}

TEST(NetSolution, CleanNetworkIsNotRecomputed)
{
    FakeProject project;
    TNet net(project, 0);
    net.Calculate();
    const auto before = net.Output(0);
    net.invertPolarity = true; // changed without marking: nothing happens
    net.Calculate();
    EXPECT_EQ(net.Output(0), before);
    net.MarkDirty();
    net.Calculate();
    EXPECT_EQ(net.Output(0)[10], -before[10]);
}

TEST(NetSolution, MeasuredSplOfTheFirstDriverDecidesForBoth)
{
    meastest::TempDir dir;
    const std::string loud = dir.Write("loud.frd", "10 6.0206 0\n30000 6.0206 0\n");
    const std::string quiet = dir.Write("quiet.frd", "10 -6.0206 0\n30000 -6.0206 0\n");
    FakeProject project;
    TNet net(project, 0);
    MakeEmpty(net);
    net.driverCount = 2;
    net.Calculate();
    const TComplex plain = net.DriverOutput(0)[200];
    // Only the second driver's file: neither output is multiplied.
    ASSERT_TRUE(net.SetMeasFile(1, TMeasKind::Spl, quiet));
    net.Calculate();
    EXPECT_NEAR(std::abs(net.DriverOutput(0)[200] - plain), 0.0, 1e-12);
    EXPECT_NEAR(std::abs(net.DriverOutput(1)[200] - plain), 0.0, 1e-12);
    // The first driver's file, scaled by 0.5: both outputs use their own files.
    ASSERT_TRUE(net.SetMeasFile(0, TMeasKind::Spl, loud));
    net.Driver(0).splScaling = 0.5;
    net.Driver(1).splScaling = 4.0;
    net.MarkDirty();
    net.Calculate();
    EXPECT_NEAR(std::abs(net.DriverOutput(0)[200]), std::abs(plain) * 2 * 0.5, 1e-4);
    EXPECT_NEAR(std::abs(net.DriverOutput(1)[200]), std::abs(plain) * 0.5 * 4.0, 1e-4);
    // Without its own file the second driver takes the first's data and scaling.
    ASSERT_TRUE(net.SetMeasFile(1, TMeasKind::Spl, ""));
    net.Calculate();
    EXPECT_NEAR(std::abs(net.DriverOutput(1)[200]), std::abs(plain) * 2 * 0.5, 1e-4);
}

TEST(NetSolution, MeasuredImpedanceReplacesReAndLe)
{
    meastest::TempDir dir;
    const std::string four = dir.Write("four.zma", "10 4 0\n30000 4 0\n");
    const std::string six = dir.Write("six.zma", "10 6 0\n30000 6 0\n");
    struct Row {
        int drivers;
        bool second; // the second driver has its own file
        double zin;
    };
    // 4 ohm scaled by 2; the second driver 6 ohm scaled by 0.5 when it has its file.
    for (const Row row : {Row{1, false, 8.0}, Row{2, false, 4.0}, Row{2, true, 8.0 * 3.0 / 11.0}}) {
        FakeProject project;
        TNet net(project, 0);
        MakeEmpty(net);
        net.driverCount = row.drivers;
        ASSERT_TRUE(net.SetMeasFile(0, TMeasKind::Impedance, four));
        net.Driver(0).impedanceScaling = 2.0;
        net.Driver(1).impedanceScaling = 0.5;
        if (row.second) {
            ASSERT_TRUE(net.SetMeasFile(1, TMeasKind::Impedance, six));
        }
        net.MarkDirty();
        net.Calculate();
        EXPECT_NEAR(net.ImpedanceMagnitude()[250], row.zin, 1e-6);
    }
}

TEST(NetSolution, AFileThatCannotBeReadLeavesTheDriverAsItWas)
{
    meastest::TempDir dir;
    const std::string good = dir.Write("good.frd", "10 6 0\n30000 6 0\n");
    const std::string empty = dir.Write("empty.frd", "* no data\n");
    FakeProject project;
    TNet net(project, 2);
    ASSERT_TRUE(net.SetMeasFile(0, TMeasKind::Spl, good));
    net.Calculate();
    const auto before = net.Output(0);
    for (const std::string& bad : {dir.File("missing.frd"), empty}) {
        SCOPED_TRACE(bad);
        project.host.ClearMessages();
        EXPECT_FALSE(net.SetMeasFile(0, TMeasKind::Spl, bad));
        EXPECT_TRUE(net.Driver(0).spl.Loaded());
        EXPECT_EQ(net.Driver(0).spl.FileName(), good);
        net.MarkDirty();
        net.Calculate();
        EXPECT_EQ(net.Output(0), before);
    }
    // The missing file said so; the reference files load.
    FakeProject other;
    TNet woofer(other, 0);
    EXPECT_FALSE(woofer.SetMeasFile(0, TMeasKind::Impedance, dir.File("missing.zma")));
    ASSERT_EQ(other.host.Messages().size(), 1u);
    EXPECT_NE(other.host.Messages()[0].text.find("Could not open file"), std::string::npos);
    EXPECT_FALSE(woofer.Driver(0).impedance.Loaded());
    EXPECT_TRUE(woofer.SetMeasFile(0, TMeasKind::Spl, TONVEK_REFDATA "/measured/DCS255-4@0.frd"));
    EXPECT_TRUE(woofer.SetMeasFile(0, TMeasKind::Impedance, TONVEK_REFDATA "/measured/DCS255-4.zma"));
    woofer.Calculate();
    EXPECT_TRUE(AllFinite(woofer, 1));
}

TEST(NetSolution, RaysAndInhibit)
{
    FakeProject project;
    project.AddRays({-60, 60}); // 60, 0, -60
    ASSERT_EQ(project.General().OnAxisIndex(), 1);
    for (int drivers : {1, 2}) {
        for (bool inhibit : {false, true}) {
            SCOPED_TRACE(testing::Message() << drivers << " drivers, inhibit " << inhibit);
            project.General().SetInhibit(inhibit);
            TNet net(project, 2);
            net.driverCount = drivers;
            net.Driver(0).pistonRadius = net.Driver(1).pistonRadius = 0.05;
            net.MarkDirty();
            net.Calculate();
            EXPECT_EQ(net.OnAxisRay(), 1);
            // On axis the drivers at the origin are heard as they are.
            for (std::size_t i = 0; i < kN; i += 50) {
                const TComplex sum = net.DriverOutput(0)[i] + (drivers == 2 ? net.DriverOutput(1)[i] : TComplex());
                EXPECT_NEAR(std::abs(net.Output(1)[i] - sum), 0.0, 1e-12);
            }
            // Off axis a 5 cm piston beams at the top of the grid; two drivers skip it
            // under "Inhibit".
            const bool computed = drivers == 1 || !inhibit;
            EXPECT_EQ(net.Output(0)[499] != TComplex(), computed);
            if (computed) {
                EXPECT_LT(net.Level(0)[499], net.Level(1)[499] - 10.0);
                EXPECT_NEAR(net.Level(2)[499], net.Level(0)[499], 1e-9);
            }
        }
    }
}

TEST(NetSolution, GroupDelayOfADelayedDriver)
{
    FakeProject project;
    TNet net(project, 0);
    MakeEmpty(net);
    net.le = 0.0;
    net.Driver(0).z = 0.034; // 0.1 ms at 340 m/s
    net.Calculate();
    for (std::size_t i = 0; i < kN; ++i)
        ASSERT_NEAR(net.GroupDelay()[i], 0.1, 1e-6) << i;
    // The phase wraps several times on the way; the delay does not notice.
    EXPECT_GT(std::fabs(net.OnAxisPhase()[400] - net.OnAxisPhase()[499]), 0.0);
}

TEST(NetSolution, BadValuesGiveNoNaN)
{
    struct Row {
        const char* what;
        double value; // every component's value
        double coil;  // every coil's resistance
        int drivers;
        bool series;
        double rex;
    };
    const Row rows[] = {
        {"all zero, one driver", 0.0, 0.0, 1, false, 0.0},      {"all zero, two in series", 0.0, 0.0, 2, true, 0.0},
        {"all zero, two in parallel", 0.0, 0.0, 2, false, 0.0}, {"field maxima", 1.0, 1000.0, 1, false, 1000.0},
        {"component maxima", 100.0, 1000.0, 2, true, 1000.0},   {"tiny", 1e-12, 0.0, 2, false, 0.0},
    };
    for (const Row& row : rows) {
        for (int type = 0; type < kBranchTypes; ++type) {
            SCOPED_TRACE(testing::Message() << row.what << ", every branch" << BranchTypeText(TBranchType(type)));
            FakeProject project;
            project.AddRays({45});
            TNet net(project, 1);
            net.driverCount = row.drivers;
            net.seriesConnection = row.series;
            net.rex = row.rex;
            net.re = 0.1;
            for (int b = 0; b < TNet::kBranches; ++b) {
                TBranch& branch = net.Branch(b);
                branch.SetType(TBranchType(type));
                branch.R().value = branch.L().value = branch.C().value = row.value;
                branch.L().seriesResistance = row.coil;
            }
            net.MarkDirty();
            net.Calculate();
            EXPECT_TRUE(AllFinite(net, 2));
        }
    }
}

} // namespace
