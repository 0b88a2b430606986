// A box calculation in the optimisers' fast mode walks fixed arrays only.

#include "box/TAbrBox.h"
#include "box/TClosedBox.h"
#include "box/elements/TAbrObject.h"
#include "box/elements/TBoxObject.h"
#include "core/TProgramFolder.h"
#include "settings/TMeasSetup.h"
#include "support/AllocationCounter.h"
#include "support/ExampleWoofer.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(BoxAllocation, FastCalculationAllocatesNothing)
{
    const std::string saved = TProgramFolder::Get();
    TProgramFolder::Set(std::filesystem::temp_directory_path().string());
    {
        THeadlessHost host;
        TScopedMeasSetup setup;
        TClosedBox box(host);
        FillExampleWoofer(box.FrontDriver(), 0.41e-3);
        box.FrontDriver().Xmax = 0.014;
        box.FrontDriver().EvaluateComplete();
        CurrentMeasSetup().pointCount = 500;
        CurrentMeasSetup().setupChanged = true;
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
    TProgramFolder::Set(saved);
}

TEST(BoxAllocation, PassiveRadiatorCalculationAllocatesNothing)
{
    std::string saved = TProgramFolder::Get(); // a copy: Set below changes what Get refers to
    TProgramFolder::Set(std::filesystem::temp_directory_path().string());
    {
        THeadlessHost host;
        TScopedMeasSetup setup;
        TAbrBox box(host);
        FillExampleWoofer(box.FrontDriver(), 0.41e-3);
        box.FrontDriver().Xmax = 0.014;
        box.FrontDriver().EvaluateComplete();
        box.Radiator().n = 2;
        CurrentMeasSetup().pointCount = 500;
        CurrentMeasSetup().setupChanged = true;
        box.Calculate(0);
        // The radiator's impedances and its excursion limit run in both calculations,
        // the driver's non-linear passes in the second.
        box.Radiator().nonLinearity = true;
        box.Radiator().Xmax = 0.001;
        box.fastMode = true;
        box.splPlotRefresh = false;
        for (bool nonLinear : {false, true}) {
            box.FrontDriver().blNonLinear = nonLinear;
            box.FrontDriver().cmsNonLinear = nonLinear;
            box.BoxVolume().dirty = true;
            box.Radiator().dirty = true;
            EXPECT_EQ(allocation_counter::During([&] { box.Calculate(0); }), 0) << "non-linear " << nonLinear;
        }
    }
    TProgramFolder::Set(saved);
}
