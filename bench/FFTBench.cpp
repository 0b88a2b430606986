// Rad2FFT at the lengths the program uses, forward and inverse, next to the literal
// four-loop scheme it must equal and, when available, next to FFTW on the same input.
// After the runs a summary gives the CPU time ratios Rad2FFT / FFTW and four-loop /
// Rad2FFT (CPU time, so that other load on the machine disturbs the ratios less).

#include "core/Rad2FFT.h"

#include "../tests/core/Rad2FFTReference.h"

#include <benchmark/benchmark.h>

#ifdef TONVEK_HAVE_FFTW
#include <fftw3.h>
#endif

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

const int kLengths[] = {256, 1024, 4096, 8192};

CVector TestInput(int n)
{
    std::mt19937 gen(12345u + static_cast<unsigned>(n));
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    CVector v(n);
    for (TComplex& z : v)
        z = TComplex(dist(gen), dist(gen));
    return v;
}

// Conventional FFT work count, 5 n log2 n, reported as a rate.
void SetFlops(benchmark::State& state, int n)
{
    state.counters["flops"] = benchmark::Counter(5.0 * n * std::log2(static_cast<double>(n)),
                                                 benchmark::Counter::kIsIterationInvariantRate);
}

void BenchRad2FFT(benchmark::State& state, int n, bool inverse)
{
    Rad2FFT fft(n);
    const CVector in = TestInput(n);
    CVector out(n);
    for (auto _ : state) {
        fft.transform(in, out, inverse);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    SetFlops(state, n);
}

void BenchFourLoops(benchmark::State& state, int n, bool inverse)
{
    Rad2FFTReference fft(n);
    const CVector in = TestInput(n);
    CVector out(n);
    for (auto _ : state) {
        fft.transform(in, out, inverse);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    SetFlops(state, n);
}

#ifdef TONVEK_HAVE_FFTW
struct FftwDeleter {
    void operator()(fftw_complex* p) const { fftw_free(p); }
};
using FftwBuffer = std::unique_ptr<fftw_complex[], FftwDeleter>;

FftwBuffer FftwAlloc(int n)
{
    return FftwBuffer(static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * static_cast<std::size_t>(n))));
}

void BenchFftw(benchmark::State& state, int n, bool inverse)
{
    FftwBuffer in = FftwAlloc(n);
    FftwBuffer out = FftwAlloc(n);
    // Planning with FFTW_MEASURE overwrites the arrays, so the input is filled after it.
    fftw_plan plan = fftw_plan_dft_1d(n, in.get(), out.get(), inverse ? FFTW_BACKWARD : FFTW_FORWARD, FFTW_MEASURE);
    const CVector input = TestInput(n);
    for (int i = 0; i < n; ++i) {
        in[i][0] = input[i].real();
        in[i][1] = input[i].imag();
    }
    for (auto _ : state) {
        fftw_execute(plan);
        benchmark::DoNotOptimize(out.get());
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    SetFlops(state, n);
}

// Largest difference between Rad2FFT and FFTW relative to the largest output magnitude.
double DifferenceToFftw(int n, bool inverse)
{
    FftwBuffer in = FftwAlloc(n);
    FftwBuffer out = FftwAlloc(n);
    fftw_plan plan = fftw_plan_dft_1d(n, in.get(), out.get(), inverse ? FFTW_BACKWARD : FFTW_FORWARD, FFTW_ESTIMATE);
    const CVector input = TestInput(n);
    for (int i = 0; i < n; ++i) {
        in[i][0] = input[i].real();
        in[i][1] = input[i].imag();
    }
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    Rad2FFT fft(n);
    CVector mine(n);
    fft.transform(input, mine, inverse);
    double largest = 0.0;
    double difference = 0.0;
    for (int i = 0; i < n; ++i) {
        const TComplex theirs(out[i][0], out[i][1]);
        largest = std::max(largest, std::abs(theirs));
        difference = std::max(difference, std::abs(mine[i] - theirs));
    }
    return difference / largest;
}
#endif

std::string Name(const char* what, int n, bool inverse)
{
    return std::string(what) + (inverse ? "/inverse/" : "/forward/") + std::to_string(n);
}

// Console output as usual, and the CPU time per transform of every benchmark kept
// by name for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        // With repetitions the median stands for the run; without, the one run does.
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median)
                continue;
            const std::string& name = run.run_name.function_name;
            if (!median && medians_.count(name) != 0)
                continue;
            if (median)
                medians_.insert(name);
            nanoseconds_[name] = run.GetAdjustedCPUTime() * (1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit));
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double Nanoseconds(const std::string& name) const
    {
        const auto it = nanoseconds_.find(name);
        return it == nanoseconds_.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> nanoseconds_;
    std::set<std::string> medians_;
};

const char* KernelName(Rad2FFT::Kernel kernel)
{
    switch (kernel) {
    case Rad2FFT::Kernel::Portable:
        return "portable";
    case Rad2FFT::Kernel::Sse2:
        return "SSE2";
    case Rad2FFT::Kernel::Avx:
        return "AVX";
    case Rad2FFT::Kernel::Avx512:
        return "AVX-512";
    }
    return "?";
}

void PrintSummary(const SummaryReporter& reporter)
{
    std::printf("\nRad2FFT kernel: %s; times are CPU nanoseconds per transform\n", KernelName(Rad2FFT(8).kernel()));
    std::printf("%-6s %-8s %12s %12s %12s %16s %18s\n", "n", "dir", "Rad2FFT ns", "FFTW ns", "four-loop ns",
                "Rad2FFT/FFTW", "four-loop/Rad2FFT");
    for (const int n : kLengths)
        for (const bool inverse : {false, true}) {
            const double mine = reporter.Nanoseconds(Name("Rad2FFT", n, inverse));
            const double fftw = reporter.Nanoseconds(Name("FFTW", n, inverse));
            const double fourLoops = reporter.Nanoseconds(Name("FourLoops", n, inverse));
            const auto ratio = [](double a, double b) { return b > 0.0 ? a / b : 0.0; };
            std::printf("%-6d %-8s %12.0f %12.0f %12.0f %16.2f %18.2f\n", n, inverse ? "inverse" : "forward", mine,
                        fftw, fourLoops, ratio(mine, fftw), ratio(fourLoops, mine));
        }
#ifdef TONVEK_HAVE_FFTW
    std::printf("\nlargest |Rad2FFT - FFTW| / largest |FFTW|:");
    for (const int n : kLengths)
        std::printf("  n %d: %.1e / %.1e", n, DifferenceToFftw(n, false), DifferenceToFftw(n, true));
    std::printf("  (forward / inverse)\n");
#else
    std::printf("\nFFTW not found at configure time: no FFTW columns.\n");
#endif
}

} // namespace

int main(int argc, char** argv)
{
    for (const int n : kLengths)
        for (const bool inverse : {false, true}) {
            benchmark::RegisterBenchmark(Name("Rad2FFT", n, inverse).c_str(), BenchRad2FFT, n, inverse);
#ifdef TONVEK_HAVE_FFTW
            benchmark::RegisterBenchmark(Name("FFTW", n, inverse).c_str(), BenchFftw, n, inverse);
#endif
            benchmark::RegisterBenchmark(Name("FourLoops", n, inverse).c_str(), BenchFourLoops, n, inverse);
        }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter);
    benchmark::Shutdown();
    return 0;
}
