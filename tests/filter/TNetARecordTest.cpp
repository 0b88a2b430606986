// The advanced network's record: what is written comes back, every cut record changes
// nothing, older files load, and no value a record or the dialogs allow gives NaN.
#include "NetATestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

using namespace netatest;

namespace {

const std::string kZma = TONVEK_REFDATA "/measured/DCS255-4.zma";
const std::string kFrd = TONVEK_REFDATA "/measured/DCS255-4@0.frd";

std::vector<std::uint8_t> Record(const TNetA& net, int version = 410)
{
    TBinaryWriter out;
    net.WriteRecordAs(out, version);
    return out.Bytes();
}

// A network with something other than its reset value in every part of the record.
void Dress(TNetA& net)
{
    TDriverGroup& g = net.Drivers();
    g.SetCount(4);
    ASSERT_TRUE(g.SetConnection(TConnection::Pairs));
    g.re = 6.5;
    g.rex = 0.3;
    g.le = 0.0007;
    g.invert = true;
    g.size = TDriverSize::Small;
    for (int d = 0; d < 4; ++d) {
        g.Driver(d).x = 0.01 * d;
        g.Driver(d).y = -0.1 * d;
        g.Driver(d).z = 0.002 * d;
        g.Driver(d).radius = 0.02 + 0.01 * d;
        g.Driver(d).splScaling = 1.0 + d;
        g.Driver(d).impedanceScaling = 1.0 / (1.0 + d);
    }
    ASSERT_TRUE(net.SetMeasFile(0, TMeasKind::Spl, kFrd));
    ASSERT_TRUE(net.SetMeasFile(2, TMeasKind::Impedance, kZma));
    net.optimiser.step = 17;
    net.optimiser.ray = 2;
    net.optimiser.targetLevel = 87.5;
    net.optimiser.lowPassCutoff = 2500;
    net.optimiser.lock = 1;
    ASSERT_TRUE(
        SetBranch(net, 11, static_cast<int>(TPassiveType::R1PlusLPlusC), {{S::R1, 3.3}, {S::L, 0.002}, {S::C, 2e-5}}));
    net.Branch(11)->Comp(S::L).inOptimisation = true;
    net.StoreNetSet(1);
    g.Store(2);
    net.SetActive(true);
    ASSERT_TRUE(net.SetGainDb(-4.5));
    ASSERT_TRUE(SetBranch(net, 0, 3, {{S::R1, 12000.0}, {S::R2, 15000.0}, {S::C1, 3.3e-9}, {S::C2, 1.5e-9}}));
    ASSERT_TRUE(SetBranch(net, 6, 7, {{S::R1, 100.0}, {S::R2, 220.0}, {S::C1, 1e-6}, {S::L, 0.02}}));
    net.Branch(6)->Comp(S::C1).inOptimisation = true;
    net.StoreNetSet(3);
    net.disconnect = true;
    net.noComponents = true;
}

TEST(NetARecord, RoundTripKeepsEveryField)
{
    FakeProject project;
    TNetA net(project, 1, false);
    Dress(net);
    const std::vector<std::uint8_t> bytes = Record(net);
    TNetA copy(project, 1, false);
    TBinaryReader in(bytes);
    ASSERT_TRUE(copy.ReadRecord(in, 410));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(Record(copy), bytes);
    EXPECT_TRUE(copy.Active());
    EXPECT_TRUE(copy.Drivers().Driver(0).spl.Loaded());
    EXPECT_TRUE(copy.Drivers().Driver(2).impedance.Loaded());
    EXPECT_TRUE(copy.DriverSetStored(2));
    EXPECT_FALSE(copy.DriverSetStored(0));
    EXPECT_DOUBLE_EQ(copy.optimiser.targetLevel, 87.5);

    // The stored slots bring back the passive network and its shunt.
    copy.RecallNetSet(1);
    EXPECT_FALSE(copy.Active());
    EXPECT_EQ(copy.Branch(0)->Type(), 0);
    EXPECT_DOUBLE_EQ(copy.Branch(0)->Comp(S::R1).Value(), 1.0);
    EXPECT_TRUE(copy.Branch(11)->Comp(S::L).inOptimisation);
    copy.RecallNetSet(3);
    EXPECT_TRUE(copy.Active());
    EXPECT_DOUBLE_EQ(copy.Branch(6)->Comp(S::L).Value(), 0.02);
    EXPECT_NEAR(copy.GainDb(), -4.5, 1e-12);
    EXPECT_FALSE(copy.disconnect);
    ASSERT_TRUE(copy.RecallDriverSet(2));
    EXPECT_EQ(copy.Drivers().Connection(), TConnection::Pairs);
    EXPECT_FALSE(copy.RecallDriverSet(1)) << "never stored";
}

TEST(NetARecord, EveryCutRecordChangesNothing)
{
    FakeProject project;
    TNetA source(project, 0, false);
    Dress(source);
    const std::vector<std::uint8_t> bytes = Record(source);
    TNetA target(project, 0, false);
    ASSERT_TRUE(SetBranch(target, 3, 2, {{S::C, 4.7e-6}}));
    const std::vector<std::uint8_t> before = Record(target);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        TBinaryReader in(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n)));
        ASSERT_FALSE(target.ReadRecord(in, 410)) << n;
    }
    EXPECT_EQ(Record(target), before);
}

TEST(NetARecord, OlderFilesHaveNoSlotsAndKeepTheGainOfActiveNets)
{
    FakeProject project;
    TNetA source(project, 0, true);
    ASSERT_TRUE(source.SetGainDb(12.0));
    ASSERT_TRUE(SetBranch(source, 2, 4, {{S::R1, 22000.0}, {S::R2, 22000.0}, {S::C1, 1e-8}, {S::C2, 1e-8}}));
    source.StoreNetSet(0);
    source.optimiser.step = 3;
    const std::vector<std::uint8_t> old = Record(source, 400);
    EXPECT_EQ(old.size() + 44 + 30 + 12 * 4 * TBranchA::kSlotRecordSize + 4 * TDriverSet::kRecordSize,
              Record(source).size());

    TNetA net(project, 0, true);
    TBinaryReader in(old);
    ASSERT_TRUE(net.ReadRecord(in, 400));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_NEAR(net.GainDb(), 12.0, 1e-12);
    EXPECT_EQ(net.Branch(2)->Type(), 4);
    EXPECT_DOUBLE_EQ(net.Branch(2)->Comp(S::C2).Value(), 1e-8);
    EXPECT_DOUBLE_EQ(net.NetSet(0).gain, 1.0) << "the slots keep their reset values";
    EXPECT_EQ(net.Branch(2)->Slot(0).type, 0);
    EXPECT_EQ(net.optimiser.step, 50);

    // A passive network of an older file has no gain field at all.
    TNetA passive(project, 0, false);
    const std::vector<std::uint8_t> passiveOld = Record(passive, 400);
    EXPECT_EQ(passiveOld.size() + 8 + 8 * 10, old.size()) << "no gain, four components a ladder branch";
    TNetA back(project, 0, false);
    TBinaryReader passiveIn(passiveOld);
    ASSERT_TRUE(back.ReadRecord(passiveIn, 400));
    EXPECT_TRUE(passiveIn.AtEnd());
}

TEST(NetARecord, ValuesTheProgramNeverWritesAreRefused)
{
    FakeProject project;
    TNetA source(project, 0, false);
    const std::vector<std::uint8_t> good = Record(source);
    const auto patched = [&](std::size_t offset, const void* value, std::size_t size) {
        std::vector<std::uint8_t> bytes = good;
        std::memcpy(bytes.data() + offset, value, size);
        return bytes;
    };
    const double nan = std::nan(""), negative = -1.0;
    const std::int16_t five = 5;
    const std::int32_t three = 3;
    const std::size_t countOffset = 3 * 8 + 6 * 32 + 8;
    const std::vector<std::vector<std::uint8_t>> bad = {
        patched(0, &nan, 8),                             // Re
        patched(8, &negative, 8),                        // Rex
        patched(3 * 8 + 3 * 32, &negative, 8),           // radius of driver 1
        patched(countOffset, &five, 2),                  // five drivers
        patched(countOffset + 2 + 2 + 8 + 4, &three, 4), // connection
    };
    for (std::size_t k = 0; k < bad.size(); ++k) {
        TNetA net(project, 0, false);
        TBinaryReader in(bad[k]);
        EXPECT_FALSE(net.ReadRecord(in, 410)) << k;
        EXPECT_EQ(Record(net), good) << k;
    }
}

bool AllFinite(const TNetA& net, int rays)
{
    const auto finite = [](const auto& row) {
        for (const auto& v : row)
            if (!std::isfinite(std::abs(v)))
                return false;
        return true;
    };
    bool ok = finite(net.ImpedanceMagnitude()) && finite(net.ImpedancePhase()) && finite(net.OnAxisPhase()) &&
              finite(net.GroupDelay()) && finite(net.TransferPhase());
    for (int d = 0; d < net.Drivers().Count(); ++d)
        ok = ok && finite(net.DriverGain(d));
    for (int r = 0; r < rays; ++r)
        ok = ok && finite(net.Level(r)) && finite(net.Output(r));
    return ok;
}

// Every type with every component at its minimum, then at its maximum, in every position,
// passive and active, in every wiring; then everything disconnected, a driver on the
// listening point and a listening distance of 0.
TEST(NetARecord, ExtremeValuesGiveNoNaN)
{
    FakeProject project;
    project.AddRays({90, 45, -45, -90});
    const int rays = project.General().SurfaceRayCount();
    for (bool active : {false, true}) {
        for (bool maximum : {false, true}) {
            for (TConnection c : {TConnection::Series, TConnection::Parallel, TConnection::Pairs}) {
                TNetA net(project, 0, active);
                net.Drivers().SetCount(4);
                ASSERT_TRUE(net.Drivers().SetConnection(c));
                for (int type = 0; type < kPassiveTypes; ++type) {
                    for (int p : {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13}) {
                        TBranchA& b = *net.Branch(p);
                        if (!b.SetType(type % b.TypeCount()))
                            continue;
                        for (int s = 0; s < kCompSlots; ++s) {
                            TCompA& comp = b.Comp(static_cast<S>(s));
                            ASSERT_TRUE(comp.SetValue(maximum ? comp.Maximum() : comp.Minimum()));
                        }
                    }
                    net.Calculate();
                    ASSERT_TRUE(AllFinite(net, rays)) << active << maximum << static_cast<int>(c) << type;
                }
                net.disconnect = true;
                net.Calculate();
                ASSERT_TRUE(AllFinite(net, rays));
            }
        }
    }
    project.General().SetInfinite(false);
    for (double distance : {1.0, 0.0}) {
        project.General().SetDistance(distance);
        TNetA net(project, 0, false);
        net.Drivers().Driver(0).z = -project.General().ListeningSetup().distance;
        net.Calculate();
        EXPECT_TRUE(AllFinite(net, rays)) << distance;
    }
}

} // namespace
