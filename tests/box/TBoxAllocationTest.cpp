// A box calculation in the optimisers' fast mode walks fixed arrays only, for every
// registered box type, with the driver's and the port's non-linearities too.

#include "box/TAbrBox.h"
#include "box/TBassReflexBox.h"
#include "box/TBoxEmbryo.h"
#include "box/TBoxType.h"
#include "box/elements/TAbrObject.h"
#include "box/elements/TBoxObject.h"
#include "settings/TProgramContext.h"
#include "support/AllocationCounter.h"
#include "support/ExampleWoofer.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class BoxAllocation : public ::testing::Test {
protected:
    // A calculated project of the type over 500 points, then in fast mode.
    void Prepare(TBoxEmbryo& box)
    {
        FillExampleWoofer(box.FrontDriver(), 0.41e-3);
        box.FrontDriver().Xmax = 0.014;
        box.FrontDriver().EvaluateComplete();
        // Types with a rear driver group calculate it too; the others leave it alone.
        FillExampleWoofer(box.RearDriver(), 0.41e-3);
        box.RearDriver().EvaluateComplete();
        context_.MeasSetup().pointCount = 500;
        context_.MeasSetup().setupChanged = true;
        box.Calculate(0);
        box.fastMode = true;
        box.splPlotRefresh = false;
    }

    // Preferences must not come from wherever the test runs.
    TProgramContext context_{std::filesystem::temp_directory_path().string()};
    THeadlessHost host_;
};

} // namespace

TEST_F(BoxAllocation, FastCalculationAllocatesNothing)
{
    for (const TBoxType* type : TBoxTypes::All()) {
        SCOPED_TRACE(type->title);
        std::unique_ptr<TBoxEmbryo> box = type->make(host_, context_);
        Prepare(*box);
        for (bool nonLinear : {false, true}) {
            box->FrontDriver().blNonLinear = nonLinear;
            box->FrontDriver().cmsNonLinear = nonLinear;
            box->BoxVolume().dirty = true;
            EXPECT_EQ(allocation_counter::During([&] { box->Calculate(0); }), 0) << "non-linear " << nonLinear;
        }
    }
}

TEST_F(BoxAllocation, BassReflexWithACompressedPortAllocatesNothing)
{
    TBassReflexBox box(host_, context_);
    Prepare(box);
    context_.MeasSetup().SetSourceLevel(50.0); // beyond the port's speed limit
    box.Port().SetNonLinearity(true);
    // What an optimiser step changes: the box and the port.
    box.BoxVolume().dirty = true;
    box.Port().dirty = true;
    box.FrontDriver().outOfDate = true;
    EXPECT_EQ(allocation_counter::During([&] { box.Calculate(0); }), 0);
    // The drawn SPL curves of an optimiser that redraws: still nothing.
    box.splPlotRefresh = true;
    EXPECT_EQ(allocation_counter::During([&] { box.Calculate(0); }), 0);
}

TEST_F(BoxAllocation, PassiveRadiatorCalculationAllocatesNothing)
{
    TAbrBox box(host_, context_);
    box.Radiator().n = 2;
    Prepare(box);
    // The radiator's impedances and its excursion limit run in both calculations, the
    // driver's non-linear passes in the second.
    box.Radiator().nonLinearity = true;
    box.Radiator().Xmax = 0.001;
    for (bool nonLinear : {false, true}) {
        box.FrontDriver().blNonLinear = nonLinear;
        box.FrontDriver().cmsNonLinear = nonLinear;
        box.BoxVolume().dirty = true;
        box.Radiator().dirty = true;
        EXPECT_EQ(allocation_counter::During([&] { box.Calculate(0); }), 0) << "non-linear " << nonLinear;
    }
}
