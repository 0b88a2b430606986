#pragma once
// The random source of the frequency fit: integers 0 .. 32767 as the C library's
// rand() gives them. The fit takes any such source (a std::function), so tests and the
// command line choose the sequence; TFitRandom is the default, a portable generator
// with rand()'s range and its seeding (a new one starts as after srand(1)), so a run
// with a given seed takes the same course on every platform.

#include <cstdint>

class TFitRandom {
public:
    static constexpr int kMax = 32767;

    explicit TFitRandom(std::uint32_t seed = 1) : state_(seed) {}
    void Seed(std::uint32_t seed) { state_ = seed; }
    int operator()()
    {
        // The linear congruential recurrence of the C standard's example rand().
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ / 65536u) % 32768u);
    }

private:
    std::uint32_t state_;
};
