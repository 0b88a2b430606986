// A box calculation in the optimisers' fast mode walks fixed arrays only.

#include "box/TClosedBox.h"
#include "box/elements/TBoxObject.h"
#include "settings/TProgramContext.h"
#include "support/AllocationCounter.h"
#include "support/ExampleWoofer.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(BoxAllocation, FastCalculationAllocatesNothing)
{
    // Preferences must not come from wherever the test runs.
    TProgramContext context(std::filesystem::temp_directory_path().string());
    THeadlessHost host;
    TClosedBox box(host, context);
    FillExampleWoofer(box.FrontDriver(), 0.41e-3);
    box.FrontDriver().Xmax = 0.014;
    box.FrontDriver().EvaluateComplete();
    context.MeasSetup().pointCount = 500;
    context.MeasSetup().setupChanged = true;
    box.Calculate(0);
    box.fastMode = true;
    box.splPlotRefresh = false;
    for (bool nonLinear : {false, true}) {
        box.FrontDriver().blNonLinear = nonLinear;
        box.FrontDriver().cmsNonLinear = nonLinear;
        box.BoxVolume().dirty = true;
        EXPECT_EQ(allocation_counter::During([&] { box.Calculate(0); }), 0) << "non-linear " << nonLinear;
    }
}
