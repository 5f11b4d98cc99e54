// Frequency-domain figures of a loop model. Angular frequencies in rad/s throughout.
#pragma once

#include <optional>

#include "core/loopfilter/loop_model.h"

namespace velorin::core {

// Where |GH| = 1. |GH| falls monotonically with frequency (its log-log slope is at most -1), so
// there is exactly one crossing for every defined model; it is found by bisection in log w.
std::optional<double> FindCrossover(const LoopModel &model);

// 180 degrees plus the open-loop phase at w.
double PhaseMarginDeg(const LoopModel &model, double w);

struct GainMargin {
    double db = 0.0;  // -20 log10 |GH| where the phase is -180 degrees
    double w = 0.0;
};

// The phase reaches -180 degrees at w^2 = (T2 - T1 - T3) / (T1 T2 T3), which needs T1 > 0,
// T3 > 0 and T2 > T1 + T3; otherwise there is no such frequency.
std::optional<GainMargin> FindGainMargin(const LoopModel &model);

struct ClosedLoopPeak {
    double db = 0.0;  // relative to DC
    double w = 0.0;
};

// Largest closed-loop magnitude, searched from 1e-4 to 1e3 times the crossover.
std::optional<ClosedLoopPeak> FindClosedLoopPeak(const LoopModel &model, double crossover);

// First frequency above the peak where the closed loop has fallen 3 dB below DC.
std::optional<double> FindClosedLoopBandwidth(const LoopModel &model, double peakW);

}  // namespace velorin::core
