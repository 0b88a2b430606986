#pragma once
// The fixed analysis grid of filter projects: 500 points from 5 Hz to 20 kHz, equally
// spaced on a logarithmic scale, with the natural logarithms (for the interpolation of
// measured data) and j·2π·f of every point. A small value type: the general settings
// own one, tests and tools build their own.

#include <array>
#include <complex>

class TFilterGrid {
public:
    static constexpr int kPoints = 500;

    // Builds the grid; the values never change afterwards.
    TFilterGrid();

    int Count() const { return kPoints; }
    double Frequency(int i) const { return frequencies_[static_cast<std::size_t>(i)]; }
    double Logarithm(int i) const { return logarithms_[static_cast<std::size_t>(i)]; }
    double Omega(int i) const { return omegas_[static_cast<std::size_t>(i)]; }
    std::complex<double> JOmega(int i) const { return jOmegas_[static_cast<std::size_t>(i)]; }

    const std::array<double, kPoints>& Frequencies() const { return frequencies_; }
    const std::array<double, kPoints>& Logarithms() const { return logarithms_; }
    const std::array<double, kPoints>& Omegas() const { return omegas_; }
    const std::array<std::complex<double>, kPoints>& JOmegas() const { return jOmegas_; }

private:
    std::array<double, kPoints> frequencies_{};
    std::array<double, kPoints> logarithms_{};
    std::array<double, kPoints> omegas_{};
    std::array<std::complex<double>, kPoints> jOmegas_{};
};
