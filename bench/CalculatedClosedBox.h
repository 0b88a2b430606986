#pragma once
// A closed box with the example woofer, calculated over 500 points from 10 Hz to
// 20 kHz: the common starting point of the box benchmarks.

#include "../tests/support/ExampleWoofer.h"
#include "box/TClosedBox.h"
#include "box/elements/TBoxObject.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <filesystem>
#include <memory>

struct TCalculatedClosedBox {
    TCalculatedClosedBox()
    {
        box = std::make_unique<TClosedBox>(host, context);
        FillExampleWoofer(box->FrontDriver(), 0.41e-3);
        box->FrontDriver().Xmax = 0.014;
        box->FrontDriver().Pmax = 80;
        box->FrontDriver().EvaluateComplete();
        box->BoxVolume().Vb = 0.01;
        TMeasSetup& s = context.MeasSetup();
        s.startFrequency = 10;
        s.stopFrequency = 20000;
        s.pointCount = 500;
        s.setupChanged = true;
        box->Calculate(0);
    }
    // Preferences must not come from wherever the benchmark runs.
    TProgramContext context{std::filesystem::temp_directory_path().string()};
    THeadlessHost host;
    std::unique_ptr<TClosedBox> box;
};
