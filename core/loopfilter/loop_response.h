// Everything a bench engineer reads off one loop: crossover, margins, closed-loop bandwidth and
// peaking, the filter's zero and poles, and the step response's overshoot and lock times.
#pragma once

#include <optional>
#include <vector>

#include "core/loopfilter/loop_model.h"

namespace velorin::core {

struct LockTime {
    double tolerance = 0.0;         // relative to the frequency step
    std::optional<double> seconds;  // none when the loop does not settle
};

// Figures that do not exist for a loop (no crossover without charge-pump current, no gain
// margin without a phase crossing, no closed-loop figures when it is unstable) are left empty.
struct LoopResponse {
    bool defined = false;  // a loop exists: charge-pump current and filter capacitance
    bool stable = false;   // every closed-loop pole decays
    std::optional<double> crossoverHz;
    std::optional<double> phaseMarginDeg;
    std::optional<double> gainMarginDb;
    std::optional<double> gainMarginHz;
    std::optional<double> closedLoopBandwidthHz;
    std::optional<double> peakingDb;
    std::optional<double> peakingHz;
    std::optional<double> overshootPct;
    std::vector<LockTime> lockTimes;  // one per requested tolerance, in that order
    std::optional<double> zeroHz;     // 1 / (2 pi T2)
    std::optional<double> poleT1Hz;   // 1 / (2 pi T1)
    std::optional<double> poleT3Hz;   // 1 / (2 pi T3)
};

LoopResponse AnalyzeLoop(const LoopModel &model, const std::vector<double> &lockTolerances);

}  // namespace velorin::core
