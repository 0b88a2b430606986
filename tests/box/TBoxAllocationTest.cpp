// A box calculation in the optimisers' fast mode walks fixed arrays only.

#include "box/TBassReflexDT2Box.h"
#include "box/TBassReflexDTBox.h"
#include "box/TClosedBox.h"
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
    for (int code : {TClosedBox::kTypeCode, TBassReflexDTBox::kTypeCode, TBassReflexDT2Box::kTypeCode}) {
        SCOPED_TRACE(code);
        THeadlessHost host;
        TScopedMeasSetup setup;
        std::unique_ptr<TBoxEmbryo> made = TBoxTypes::ByCode(code)->make(host);
        TBoxEmbryo& box = *made;
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
