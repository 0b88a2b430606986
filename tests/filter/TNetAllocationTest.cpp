// A network's calculation runs on fixed arrays: with measured drivers, two of them and
// every ray, it allocates nothing.
#include "NetTestSupport.h"
#include "filter/TNetA.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

using namespace nettest;

TEST(NetAllocation, CalculateAllocatesNothing)
{
    FakeProject project;
    project.AddRays({60, 50, 45, 35, 30, 25, 20, 15, -15, -20, -25, -30, -35, -40, -45, -50});
    ASSERT_EQ(project.General().SurfaceRayCount(), TNetBase::kMaxRays);
    TNet net(project, 0);
    ASSERT_TRUE(net.SetMeasFile(0, TMeasKind::Spl, TONVEK_REFDATA "/measured/DCS255-4@0.frd"));
    ASSERT_TRUE(net.SetMeasFile(0, TMeasKind::Impedance, TONVEK_REFDATA "/measured/DCS255-4.zma"));
    for (int drivers : {1, 2}) {
        net.driverCount = drivers;
        net.MarkDirty();
        EXPECT_EQ(allocation_counter::During([&] { net.Calculate(); }), 0) << drivers;
    }
}

// An advanced network likewise, passive and active, four measured drivers; the first
// calculation may size the gain plot's curve list.
TEST(NetAllocation, AdvancedCalculateAllocatesNothing)
{
    FakeProject project;
    project.AddRays({60, 50, 45, 35, 30, 25, 20, 15, -15, -20, -25, -30, -35, -40, -45, -50});
    for (bool active : {false, true}) {
        TNetA net(project, 0, active);
        net.Drivers().SetCount(4);
        ASSERT_TRUE(net.SetMeasFile(1, TMeasKind::Spl, TONVEK_REFDATA "/measured/DCS255-4@0.frd"));
        ASSERT_TRUE(net.SetMeasFile(2, TMeasKind::Impedance, TONVEK_REFDATA "/measured/DCS255-4.zma"));
        for (int p = 0; p < TNetA::kLadder; ++p)
            ASSERT_TRUE(net.Branch(p)->SetType(1 + p % 3));
        net.Calculate();
        net.MarkDirty();
        EXPECT_EQ(allocation_counter::During([&] { net.Calculate(); }), 0) << active;
    }
}
