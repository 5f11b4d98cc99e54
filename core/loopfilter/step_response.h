// Response of the closed loop to a unit frequency step at the reference, written as a sum of
// exponentials from the closed loop's poles and residues:
//   y(t) = 1 + sum_i c_i exp(p_i t)
// Exact at every time, however far apart the poles are (a tiny C1 puts one pole decades above
// the others, which makes step-by-step integration impractically stiff).
#pragma once

#include <complex>
#include <optional>
#include <vector>

#include "core/loopfilter/loop_model.h"

namespace velorin::core {

struct StepResponse {
    std::vector<std::complex<double>> poles;     // rad/s
    std::vector<std::complex<double>> residues;  // of the error y(t) - 1
    bool stable = false;                         // every pole strictly in the left half-plane
};

// Poles of the closed loop GH / (1 + GH), i.e. the roots of
// T1 T3 s^4 + (T1 + T3) s^3 + s^2 + K T2 s + K. Empty and unstable for an undefined model.
StepResponse ComputeStepResponse(const LoopModel &model);

double StepValue(const StepResponse &response, double t);

// Largest excess of y over 1, as a fraction (0 when y never exceeds 1); none when unstable.
std::optional<double> StepOvershoot(const StepResponse &response);

// Earliest time after which |y(t) - 1| stays within the tolerance for good; none when unstable
// or the tolerance is not positive.
std::optional<double> StepLockTime(const StepResponse &response, double tolerance);

}  // namespace velorin::core
