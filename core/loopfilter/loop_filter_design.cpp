#include "core/loopfilter/loop_filter_design.h"

#include <cmath>
#include <limits>

#include "core/loopfilter/loop_filter_constants.h"

namespace velorin::core {

namespace {

// Zero counts with the positives.
bool SameSign(double a, double b) {
    return (a >= 0.0) == (b >= 0.0);
}

double AngularFrequency(double bandwidthHz) {
    return 2.0 * kLoopFilterPi * bandwidthHz;
}

}  // namespace

double LoopFilterPhaseResidual(double x, double bandwidthHz, double phaseMarginDeg) {
    const double wc = AngularFrequency(bandwidthHz);
    const double denominator = (1.0 + kT3OverT1) * wc * x;
    const double quotient = denominator == 0.0 ? std::numeric_limits<double>::infinity()
                                               : kLoopFilterGamma / denominator;
    return std::atan(kT3OverT1 * wc * x) + std::atan(wc * x) +
           phaseMarginDeg * kLoopFilterPi / 180.0 - std::atan(quotient);
}

T1Solution SolveLoopFilterT1(double low, double high, double bandwidthHz, double phaseMarginDeg) {
    T1Solution result;
    double rLow = LoopFilterPhaseResidual(low, bandwidthHz, phaseMarginDeg);
    double rHigh = LoopFilterPhaseResidual(high, bandwidthHz, phaseMarginDeg);
    if (SameSign(rLow, rHigh)) return result;

    const double limit =
        std::floor((std::log(high - low) - std::log(kBisectionTolerance)) / std::log(2.0)) + 1.0;
    if (!(limit >= 1.0) || !std::isfinite(limit)) return result;
    const int iterations = static_cast<int>(limit);

    bool converged = false;
    double mid = low;
    for (int i = 1; i <= iterations && !converged; ++i) {
        mid = (low + high) * 0.5;
        const double r = LoopFilterPhaseResidual(mid, bandwidthHz, phaseMarginDeg);
        if (r == 0.0) {
            low = high = mid;
        } else if (SameSign(r, rHigh)) {
            high = mid;
            rHigh = r;
        } else {
            low = mid;
        }
        if (high - low < kBisectionTolerance) converged = true;
    }
    if (!converged) return result;
    result.status = 0;
    result.t1 = mid;
    return result;
}

int ComputeLoopFilter(double bandwidthHz, double phaseMarginDeg, double chargePumpA,
                      double prescaler, double feedbackDivider, LoopFilterComponents &out) {
    // Inputs without a physical design. The bisection alone would "succeed" at exactly 90
    // degrees (the ten-decimal pi leaves the residual at 0 a hair below zero) and return
    // components many orders of magnitude off, and a negative bandwidth mirrors the equation.
    // A margin of 0 or less asks for an unstable loop; below about -21 degrees it even gives a
    // negative C2 and R2.
    if (!std::isfinite(bandwidthHz) || !std::isfinite(phaseMarginDeg) ||
        !std::isfinite(chargePumpA) || !std::isfinite(prescaler) ||
        !std::isfinite(feedbackDivider) || bandwidthHz <= 0.0 || phaseMarginDeg <= 0.0 ||
        phaseMarginDeg >= 90.0 || chargePumpA < 0.0 || prescaler <= 0.0 || feedbackDivider <= 0.0) {
        return -1;
    }
    const T1Solution solution =
        SolveLoopFilterT1(kT1SearchLow, kT1SearchHigh, bandwidthHz, phaseMarginDeg);
    if (solution.status != 0) return -1;

    const double wc = AngularFrequency(bandwidthHz);
    const double wc2 = wc * wc;
    const double t1 = solution.t1;
    const double t3 = kT3OverT1 * t1;
    const double t2 = kLoopFilterGamma / (wc2 * (t1 + t3));
    const double a0 =
        (chargePumpA / (2.0 * kLoopFilterPi)) * kVcoGain / (wc2 * prescaler * feedbackDivider) *
        std::sqrt((1.0 + wc2 * t2 * t2) / ((1.0 + wc2 * t1 * t1) * (1.0 + wc2 * t3 * t3)));

    LoopFilterComponents c;
    c.c1 = a0 * t1 / t2;
    c.c2 = a0 * (1.0 - t1 / t2);
    c.r3 = kR3Ohms;
    c.c3 = t3 / c.r3;
    // With no charge-pump current C2 is 0 and R2 is +infinity, which selects the largest R2.
    c.r2 = c.c2 == 0.0 ? std::numeric_limits<double>::infinity() : t2 / c.c2;
    // Extreme inputs overflow on the way (a bandwidth of 1e200 Hz squares to infinity).
    if (!std::isfinite(c.c1) || !std::isfinite(c.c2) || !std::isfinite(c.c3) || std::isnan(c.r2)) {
        return -1;
    }
    out = c;
    return 0;
}

}  // namespace velorin::core
