// Phase noise of the locked loop by contributor: the charge pump and phase detector (floor and
// flicker), the reference, the VCO and the thermal noise of R2 and R3, each shaped by the loop
// of loop_model.h, worked out at the VCO and moved to the output by the output division.
#pragma once

#include <string>
#include <vector>

#include "core/loopfilter/loop_filter_design.h"
#include "core/loopfilter/loop_model.h"
#include "core/loopfilter/noise_points.h"

namespace velorin::core {

// Typical values, not the chip's: the user enters a datasheet's or a measurement's.
struct PhaseNoiseParameters {
    double pfdFomDbc = -222.0;      // normalised floor, dBc/Hz at 1 Hz comparison frequency
    double pfdFlickerDbc = -120.0;  // at 10 kHz offset on a 1 GHz carrier
    std::vector<NoisePoint> vcoPoints{
        {1e4, -84.0}, {1e5, -109.0}, {1e6, -132.0}, {1e7, -152.0}, {1e8, -158.0}};
    std::vector<NoisePoint> referencePoints{
        {10.0, -100.0}, {100.0, -125.0}, {1e3, -145.0}, {1e4, -155.0}, {1e5, -160.0}};
    double temperatureK = 300.0;
    double bandLowHz = 12e3;  // jitter integration band at the output
    double bandHighHz = 20e6;
};

inline constexpr const char *kNoiseDefaultsNote =
    "typical values, not this chip's: enter your datasheet's or your measurement's";

// Empty when the parameters can be used; otherwise what is wrong with the first that cannot.
std::string CheckPhaseNoiseParameters(const PhaseNoiseParameters &parameters);

// The frequencies of one divider plan.
struct NoiseFrequencies {
    double pfdHz = 0.0;           // the input frequency, which the phase detector compares
    double divider = 0.0;         // N = prescaler * feedback divider
    double outputDivision = 0.0;  // prescaler * output divider
    double vcoHz = 0.0;           // N * pfdHz
    double outputHz = 0.0;        // vcoHz / outputDivision
};

NoiseFrequencies MakeNoiseFrequencies(double inputHz, double prescaler, double feedbackDivider,
                                      double outputDivider);

// dBc/Hz at the output; NaN for a contribution that does not exist (R2 without C2 or R2).
struct NoiseContributions {
    double total = 0.0;
    double pfd = 0.0;
    double flicker = 0.0;
    double reference = 0.0;
    double vco = 0.0;
    double r2 = 0.0;
    double r3 = 0.0;
};

// The contributions at one offset for a defined loop and the components it was made from.
NoiseContributions PhaseNoiseAt(const LoopModel &loop, const LoopFilterComponents &components,
                                const PhaseNoiseParameters &parameters,
                                const NoiseFrequencies &frequencies, double offsetHz);

// The offsets of the curves: 10^(2 + k/20) Hz for k = 0 ... 120, 100 Hz to 100 MHz.
const std::vector<double> &NoiseCurveOffsets();

}  // namespace velorin::core
