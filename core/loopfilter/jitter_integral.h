// RMS jitter from a single-sideband phase-noise curve. The curve is straight between its points
// in (log10 offset, dB), so each piece is a power law of the offset and is integrated exactly;
// no sampling error enters the figure.
#pragma once

#include <vector>

#include "core/loopfilter/noise_points.h"

namespace velorin::core {

// The integral of 10^(L(f)/10) df over [lowHz, highHz], L joined and held flat at its ends as
// InterpolateNoise does; 0 for an empty band or curve.
double IntegrateNoisePower(const std::vector<NoisePoint> &points, double lowHz, double highHz);

struct JitterFigures {
    double rmsJitterS = 0.0;          // sqrt(2 * integral) / (2 pi f_out)
    double integratedPhaseDeg = 0.0;  // sqrt(2 * integral) in degrees
};

// The figures of an integrated single-sideband power at a carrier of outputHz.
JitterFigures JitterFromPower(double integratedPower, double outputHz);

}  // namespace velorin::core
