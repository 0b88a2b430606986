#pragma once
// What the box project tests share: a program folder of their own (a temporary folder,
// removed afterwards), a context of their own with a fresh measurement setup, a
// headless host, and the example woofer as a unit file or filled into a project's
// driver.

#include "box/TBoxEmbryo.h"
#include "settings/TProgramContext.h"
#include "support/ExampleWoofer.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

class BoxTestBench {
public:
    void Enter(const char* name)
    {
        dir_ = std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        context_ = TProgramContext(dir_.string());
    }
    void Leave() { std::filesystem::remove_all(dir_); }

    static void FillWoofer(TSpkData& u, double le = 0.0) { FillExampleWoofer(u, le); }

    // A project with the example woofer and a box volume of vb m³, ready to calculate.
    static void Prepare(TBoxEmbryo& box, double vb, double le = 0.0)
    {
        FillWoofer(box.FrontDriver(), le);
        box.FrontDriver().EvaluateComplete();
        box.BoxVolume().Vb = vb;
        box.BoxVolume().dirty = true;
        box.FrontDriver().outOfDate = true;
    }

    void SetGrid(int start, int stop, int points)
    {
        TMeasSetup& s = context_.MeasSetup();
        s.startFrequency = start;
        s.stopFrequency = stop;
        s.pointCount = points;
        s.setupChanged = true;
    }

    // The example woofer saved as "woofer.unt" in the program folder.
    std::string unitPath()
    {
        std::string path = (dir_ / "woofer.unt").string();
        TSpkData u;
        FillWoofer(u, 0.41e-3);
        EXPECT_TRUE(u.Save(path));
        return path;
    }

protected:
    std::filesystem::path dir_;
    TProgramContext context_;
    THeadlessHost host_;
};
