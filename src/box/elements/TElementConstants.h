#pragma once
// Physical constants of the enclosure elements, written in the exact forms the box
// models have always used, so that stored tunings reproduce to the last digit.
// Note that the elements take ρc² = 142000 Pa, not the 140000 Pa of the speaker
// unit derivations.

namespace TElementConstants {
inline constexpr double kRho = 1.18;                        // air density, kg/m³
inline constexpr double kInvRho = 0.8474576271186441;       // 1 / ρ
inline constexpr double kRhoC2 = 142000.0;                  // ρc², Pa
inline constexpr double kInvRhoC2 = 7.042253521126761e-6;   // 1 / (ρc²)
inline constexpr double kPi = 3.14159265359;
inline constexpr double kInvPi = 0.3183098861837697;
inline constexpr double kTwoPi = 6.28318530718;
inline constexpr double kFourPi2 = 39.4784176044;
inline constexpr double kSoundSpeed = 344.7;                // m/s
inline constexpr double kInvSoundSpeed = 0.002901073397156948;
inline constexpr double kAirLoadFactor = 3.15;              // air mass of a radiator: 3.15 · a³
// Filling raises the compliance of a volume by 0.2 % per percent of fill.
inline constexpr double kFillFactorPerPercent = 0.002;
} // namespace TElementConstants
