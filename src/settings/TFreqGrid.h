#pragma once
// The frequency grid of box projects: up to 500 points spaced logarithmically between
// a start and a stop frequency. The arrays are fixed blocks inside the object, so a
// new layout never allocates and every per-frequency array of a box project can be
// indexed by the same grid index.

#include <array>
#include <cstdint>

class TFreqGrid {
public:
    static constexpr int kMaxPoints = 500;
    // 2π as the acoustic models write it, so grids and filters agree to the last bit.
    static constexpr double kTwoPi = 6.28318530718;

    // Lays out count points from start to stop (Hz). Values that cannot make a grid
    // (count outside 2 .. 500, start not positive, stop not above start) leave the grid
    // unchanged and return false; the setup never passes such values.
    [[nodiscard]] bool Layout(std::int32_t start, std::int32_t stop, std::int32_t count);

    int Count() const { return count_; }
    double Frequency(int i) const { return frequencies_[static_cast<std::size_t>(i)]; }
    double Omega(int i) const { return omegas_[static_cast<std::size_t>(i)]; }
    // The whole 500-entry blocks; entries from Count() on are left as they were.
    const std::array<double, kMaxPoints>& Frequencies() const { return frequencies_; }
    const std::array<double, kMaxPoints>& Omegas() const { return omegas_; }

private:
    int count_ = 0;
    std::array<double, kMaxPoints> frequencies_{};
    std::array<double, kMaxPoints> omegas_{};
};
