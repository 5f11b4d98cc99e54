#include "core/loopfilter/loop_response.h"

#include <cmath>

#include "core/loopfilter/frequency_metrics.h"
#include "core/loopfilter/step_response.h"

namespace velorin::core {

namespace {

constexpr double kTwoPi = 2.0 * M_PI;

std::optional<double> CornerHz(double timeConstant) {
    if (!(timeConstant > 0.0)) return std::nullopt;
    return 1.0 / (kTwoPi * timeConstant);
}

}  // namespace

LoopResponse AnalyzeLoop(const LoopModel &model, const std::vector<double> &lockTolerances) {
    LoopResponse r;
    for (double tolerance : lockTolerances) r.lockTimes.push_back({tolerance, std::nullopt});
    r.defined = model.defined;
    if (!model.defined) return r;
    r.zeroHz = CornerHz(model.t2);
    r.poleT1Hz = CornerHz(model.t1);
    r.poleT3Hz = CornerHz(model.t3);

    const std::optional<double> crossover = FindCrossover(model);
    if (crossover) {
        r.crossoverHz = *crossover / kTwoPi;
        r.phaseMarginDeg = PhaseMarginDeg(model, *crossover);
    }
    if (const auto margin = FindGainMargin(model)) {
        r.gainMarginDb = margin->db;
        r.gainMarginHz = margin->w / kTwoPi;
    }

    const StepResponse step = ComputeStepResponse(model);
    r.stable = step.stable;
    if (!step.stable) return r;
    if (crossover) {
        if (const auto peak = FindClosedLoopPeak(model, *crossover)) {
            r.peakingDb = peak->db;
            r.peakingHz = peak->w / kTwoPi;
            if (const auto bandwidth = FindClosedLoopBandwidth(model, peak->w)) {
                r.closedLoopBandwidthHz = *bandwidth / kTwoPi;
            }
        }
    }
    if (const auto overshoot = StepOvershoot(step)) r.overshootPct = 100.0 * *overshoot;
    for (LockTime &lock : r.lockTimes) lock.seconds = StepLockTime(step, lock.tolerance);
    return r;
}

}  // namespace velorin::core
