// A network's calculation runs on fixed arrays: with measured drivers, two of them and
// every ray, it allocates nothing.
#include "NetTestSupport.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

using namespace nettest;

TEST(NetAllocation, CalculateAllocatesNothing)
{
    FakeProject project;
    project.rays.count = TNetBase::kMaxRays;
    for (int r = 0; r < TNetBase::kMaxRays; ++r)
        project.rays.angles[static_cast<std::size_t>(r)] = -80.0 + 10.0 * r;
    project.rays.onAxis = 8;
    TNet net(project, 0);
    ASSERT_TRUE(net.SetMeasFile(0, TMeasKind::Spl, TONVEK_REFDATA "/measured/DCS255-4@0.frd"));
    ASSERT_TRUE(net.SetMeasFile(0, TMeasKind::Impedance, TONVEK_REFDATA "/measured/DCS255-4.zma"));
    for (int drivers : {1, 2}) {
        net.driverCount = drivers;
        net.MarkDirty();
        EXPECT_EQ(allocation_counter::During([&] { net.Calculate(); }), 0) << drivers;
    }
}
