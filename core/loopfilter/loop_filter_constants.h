// Fixed constants of the loop-filter design. The value of pi is deliberately the ten-decimal one
// the design has always used, not the full double; results depend on it in the last digits.
#pragma once

namespace velorin::core {

constexpr double kLoopFilterPi = 3.1415926535;
constexpr double kT3OverT1 = 0.47;                        // k: T3 = k * T1
constexpr double kLoopFilterGamma = 1.0;                  // gamma in T2 = gamma / (wc^2 (T1 + T3))
constexpr double kVcoGain = 2.0 * kLoopFilterPi * 3.0e7;  // rad/s per volt (30 MHz/V)
constexpr double kR3Ohms = 10000.0;                       // fixed output resistor
constexpr double kBisectionTolerance = 1e-15;             // interval width that ends the search
constexpr double kT1SearchLow = 0.0;                      // s
constexpr double kT1SearchHigh = kLoopFilterPi;           // s; pi doubles as the upper end

}  // namespace velorin::core
