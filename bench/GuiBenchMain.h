#pragma once
// The main of the benchmarks that paint with Qt: fonts and painting need a GUI
// application, but no screen.

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

inline int RunGuiBenchmarks(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
