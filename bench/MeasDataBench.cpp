// Reading a dense measurement file onto the filter grid, and moving a response to the
// 17 rays of a full surface plot.
#include "measdata/TMeasCurveReader.h"
#include "measdata/TResponseAtPosition.h"
#include "settings/TFilterGrid.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// A 20000-line FRD from 10 Hz to 24 kHz, as a high-resolution analyser writes it.
std::string WriteDenseFrd()
{
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("tonvek-bench-" + std::to_string(::getpid()) + ".frd")).string();
    std::string text = "* generated 20000-line response\n";
    const int lines = 20000;
    for (int i = 0; i < lines; ++i) {
        const double f = 10.0 * std::pow(2400.0, i / (lines - 1.0));
        char line[96];
        std::snprintf(line, sizeof line, "%.5f\t%.3f\t%.2f\r\n", f, 85.0 + 6.0 * std::sin(std::log(f) * 3.0),
                      std::remainder(-f * 0.36, 360.0));
        text += line;
    }
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out) {
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
    }
    return path;
}

void BM_ReadFrd20000OntoFilterGrid(benchmark::State& state)
{
    const std::string path = WriteDenseFrd();
    const TFilterGrid grid;
    const TMeasGrid onto{grid.Frequencies().data(), grid.Logarithms().data(), grid.Count()};
    std::array<std::complex<double>, TFilterGrid::kPoints> response{};
    for (auto _ : state) {
        const TMeasReadResult result = ReadMeasCurveFile(path, onto, TMeasKind::Spl, response.data());
        if (result != TMeasReadResult::Loaded) {
            state.SkipWithError("the generated file did not load");
            break;
        }
        benchmark::DoNotOptimize(response);
    }
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations() * 20000);
}
BENCHMARK(BM_ReadFrd20000OntoFilterGrid)->Unit(benchmark::kMicrosecond);

void BM_ResponseAtPosition17Rays(benchmark::State& state)
{
    const TFilterGrid grid;
    std::array<std::complex<double>, TFilterGrid::kPoints> source;
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = std::polar(1.0 + 0.001 * static_cast<double>(i), -0.01 * static_cast<double>(i));
    std::array<std::complex<double>, TFilterGrid::kPoints> result{};
    const int angles[17] = {60, 50, 45, 35, 30, 20, 10, 5, 0, -5, -10, -20, -30, -35, -45, -50, -60};
    const TListeningSetup setup{true, state.range(0) != 0, 2.0};
    for (auto _ : state) {
        for (int angle : angles) {
            ResponseAtPosition(source.data(), angle, 0.05, 0.0, 0.12, 0.01, result.data(), grid, setup);
            benchmark::DoNotOptimize(result);
        }
    }
    state.SetItemsProcessed(state.iterations() * 17 * TFilterGrid::kPoints);
}
BENCHMARK(BM_ResponseAtPosition17Rays)->Arg(1)->Arg(0)->ArgName("infinite")->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
