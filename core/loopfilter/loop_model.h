// Linear model of the charge-pump PLL with the active loop filter:
//   GH(s) = Icp * 3e7 * (1 + s T2) / (N s^2 A0 (1 + s T1) (1 + s T3))
// with A0 = C1 + C2, T2 = R2 C2, T1 = R2 C1 C2 / (C1 + C2) and T3 = R3 C3.
#pragma once

#include <complex>

#include "core/loopfilter/loop_filter_design.h"

namespace velorin::core {

struct LoopModel {
    double gain = 0.0;     // K = Icp * 3e7 / (N * A0), in 1/s^2
    double t1 = 0.0;       // s
    double t2 = 0.0;       // s
    double t3 = 0.0;       // s
    double divider = 1.0;  // N = prescaler * feedback divider
    // False when there is no loop to analyse: no charge-pump current, no filter capacitance,
    // or values that are not finite.
    bool defined = false;
};

LoopModel MakeLoopModel(const LoopFilterComponents &components, double chargePumpA, double divider);

std::complex<double> OpenLoop(const LoopModel &model, double w);
double OpenLoopMagnitude(const LoopModel &model, double w);
// -180 degrees plus the lead of the zero less the lags of the two poles; never wraps.
double OpenLoopPhaseDeg(const LoopModel &model, double w);
// |GH / (1 + GH)|: the closed loop divided by N, 1 at DC.
double ClosedLoopMagnitude(const LoopModel &model, double w);

}  // namespace velorin::core
