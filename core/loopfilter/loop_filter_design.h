// Ideal loop-filter components from a wanted loop bandwidth and phase margin.
#pragma once

namespace velorin::core {

// Ideal component values in SI units.
struct LoopFilterComponents {
    double c1 = 0.0;  // F
    double c2 = 0.0;  // F
    double c3 = 0.0;  // F
    double r2 = 0.0;  // Ohm
    double r3 = 0.0;  // Ohm
};

// Phase balance whose root in x is the time constant T1 of the design:
// atan(k wc x) + atan(wc x) + PM - atan(gamma / ((1 + k) wc x)), wc = 2 pi bandwidth.
// At x = 0 the last term is taken as pi/2.
double LoopFilterPhaseResidual(double x, double bandwidthHz, double phaseMarginDeg);

struct T1Solution {
    int status = -1;  // 0 success, -1 no sign change or no convergence
    double t1 = 0.0;  // s
};

// Bisection of LoopFilterPhaseResidual over [low, high] down to an interval narrower than
// kBisectionTolerance, at most floor(log2((high - low) / tolerance)) + 1 halvings.
T1Solution SolveLoopFilterT1(double low, double high, double bandwidthHz, double phaseMarginDeg);

// Designs the ideal components. Returns 0 and fills `out`, or -1 and leaves `out` untouched.
// Fails when the phase equation has no root in [0, pi] s, and also for inputs that have no
// physical design: phase margin not between 0 and 90 degrees, bandwidth not positive, negative
// charge pump current, prescaler or feedback divider not positive, or any input not finite.
int ComputeLoopFilter(double bandwidthHz, double phaseMarginDeg, double chargePumpA,
                      double prescaler, double feedbackDivider, LoopFilterComponents &out);

}  // namespace velorin::core
