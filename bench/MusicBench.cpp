// Filter music: how many times faster than real time a 44.1 kHz stereo WAV goes through
// a two-way simple filter with measured drivers, file to file, with the dialog's idle
// steps run one after the other as the command line runs them. One iteration is a whole
// run over 10 s of sound; "x realtime" is seconds of sound per second. Arguments: N
// (512 is the settings' default, 8192 the largest) and the HRTF simulation off or on.
#include "MeasuredXover.h"
#include "filter/TXover.h"
#include "settings/TProgramContext.h"
#include "timedomain/TSimDialog.h"
#include "ui/THeadlessHost.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>

namespace {

constexpr double kSeconds = 10;

std::string MakeInput()
{
    const std::string path = (std::filesystem::temp_directory_path() / "tonvek_bench_music_in.wav").string();
    const auto frames = static_cast<std::size_t>(44100 * kSeconds);
    std::vector<std::int16_t> s(2 * frames);
    for (std::size_t t = 0; t < frames; ++t) {
        const double x = static_cast<double>(t) / 44100;
        s[2 * t] = static_cast<std::int16_t>(9000 * std::sin(6.283185307179586 * 220 * x) +
                                             4000 * std::sin(6.283185307179586 * 3100 * x));
        s[2 * t + 1] = static_cast<std::int16_t>(9000 * std::sin(6.283185307179586 * 880 * x));
    }
    TSoundWriter w;
    if (!w.Create(path, 44100) || !w.Write(s.data(), s.size()) || !w.Finish())
        return {};
    return path;
}

void BM_FilterMusic(benchmark::State& state)
{
    static const std::string input = MakeInput();
    const std::string output = (std::filesystem::temp_directory_path() / "tonvek_bench_music_out.wav").string();
    TProgramContext context;
    THeadlessHost host;
    auto project = std::make_unique<TXover>(host, context, 0);
    TXover& p = *project;
    LoadMeasuredDrivers(p);
    if (input.empty() || !context.General().SetPoints(static_cast<int>(state.range(0) / 2))) {
        state.SkipWithError("no input file, or the transform size was refused");
        return;
    }
    p.MarkAllDirty();
    p.Recalculate();
    p.Impulse().musicInput.initialName = input;
    p.Impulse().musicOutput.initialName = output;
    p.Impulse().musicHrtf = state.range(1) != 0;
    TSimDialog* dialog = p.OpenMusicDialog();
    for (auto _ : state) {
        if (!dialog->Start()) {
            state.SkipWithError("the run did not start");
            break;
        }
        host.RunDeferred();
        host.ClearMessages();
    }
    state.counters["x realtime"] = benchmark::Counter(kSeconds * static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
    std::filesystem::remove(output);
}

} // namespace

BENCHMARK(BM_FilterMusic)
    ->Args({512, 0})
    ->Args({2048, 0})
    ->Args({8192, 0})
    ->Args({2048, 1})
    ->ArgNames({"N", "hrtf"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_MAIN();
