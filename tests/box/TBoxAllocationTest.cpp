// A box calculation in the optimisers' fast mode walks fixed arrays only: counted
// with a replaced global operator new (this test binary's only replacement).

#include "box/TClosedBox.h"
#include "box/elements/TBoxObject.h"
#include "core/TProgramFolder.h"
#include "driver/TSpkCalcMissing.h"
#include "settings/TMeasSetup.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <new>

namespace {
bool counting = false;
long allocations = 0;
} // namespace

void* operator new(std::size_t size)
{
    if (counting)
        ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(BoxAllocation, FastCalculationAllocatesNothing)
{
    const std::string saved = TProgramFolder::Get();
    TProgramFolder::Set(std::filesystem::temp_directory_path().string());
    {
        THeadlessHost host;
        TScopedMeasSetup setup;
        TClosedBox box(host);
        TSpkData& u = box.FrontDriver();
        u.fs = 39.0;
        u.Qms = 2.16;
        u.Qes = 0.41;
        u.Vas = 0.014;
        u.Re = 6.2;
        u.Cms = 1.2e-3;
        u.Le = 0.41e-3;
        u.Xmax = 0.014;
        CalcMissingFields(u);
        u.UpdateSquares();
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
            allocations = 0;
            counting = true;
            box.Calculate(0);
            counting = false;
            EXPECT_EQ(allocations, 0) << "non-linear " << nonLinear;
        }
    }
    TProgramFolder::Set(saved);
}
