#include "core/loopfilter/phase_noise_model.h"

#include <cmath>
#include <complex>
#include <limits>

namespace velorin::core {

namespace {

constexpr double kBoltzmann = 1.380649e-23;  // J/K
// The VCO turns a tuning voltage v into a phase of 3e7 v / f rad (30 MHz/V integrated).
constexpr double kVcoHzPerVolt = 3e7;
constexpr double kFlickerOffsetHz = 1e4;
constexpr double kFlickerCarrierHz = 1e9;

double Db(double power) {
    return 10.0 * std::log10(power);
}

// Thermal noise of a resistor at the VCO's tuning input, as single-sideband phase noise
// before the loop acts: 10 log10(S_phi / 2), with |transfer|^2 from the resistor to the input.
double ThermalDbc(double ohms, double transferSquared, double temperatureK, double offsetHz) {
    const double volts = 4.0 * kBoltzmann * temperatureK * ohms;  // V^2/Hz
    const double radians = kVcoHzPerVolt / offsetHz;
    return Db(volts * transferSquared * radians * radians / 2.0);
}

}  // namespace

std::string CheckPhaseNoiseParameters(const PhaseNoiseParameters &p) {
    if (!std::isfinite(p.pfdFomDbc)) return "The charge-pump floor must be a number of dBc/Hz";
    if (!std::isfinite(p.pfdFlickerDbc)) {
        return "The charge-pump flicker must be a number of dBc/Hz";
    }
    if (const std::string why = CheckNoisePoints(p.vcoPoints); !why.empty()) {
        return "VCO noise, " + why;
    }
    if (const std::string why = CheckNoisePoints(p.referencePoints); !why.empty()) {
        return "Reference noise, " + why;
    }
    if (!std::isfinite(p.temperatureK) || !(p.temperatureK > 0.0)) {
        return "The temperature must be above 0 K";
    }
    if (!std::isfinite(p.bandLowHz) || !(p.bandLowHz > 0.0) || !std::isfinite(p.bandHighHz) ||
        !(p.bandHighHz > p.bandLowHz)) {
        return "The jitter band must run from a positive offset up to a higher one";
    }
    return std::string();
}

NoiseFrequencies MakeNoiseFrequencies(double inputHz, double prescaler, double feedbackDivider,
                                      double outputDivider) {
    NoiseFrequencies f;
    f.pfdHz = inputHz;
    f.divider = prescaler * feedbackDivider;
    f.outputDivision = prescaler * outputDivider;
    f.vcoHz = f.divider * inputHz;
    f.outputHz = f.vcoHz / f.outputDivision;
    return f;
}

NoiseContributions PhaseNoiseAt(const LoopModel &loop, const LoopFilterComponents &c,
                                const PhaseNoiseParameters &p, const NoiseFrequencies &f,
                                double offsetHz) {
    const double w = 2.0 * M_PI * offsetHz;
    const std::complex<double> gh = OpenLoop(loop, w);
    const double closedDb = Db(std::norm(gh / (1.0 + gh)));  // 20 log10 |H|
    const double errorDb = Db(std::norm(1.0 / (1.0 + gh)));  // 20 log10 |E|
    const double nDb = 20.0 * std::log10(f.divider);
    const double outputDb = 20.0 * std::log10(f.outputDivision);

    NoiseContributions n;
    n.pfd = p.pfdFomDbc + 10.0 * std::log10(f.pfdHz) + nDb + closedDb;
    n.flicker = p.pfdFlickerDbc + 20.0 * std::log10(f.vcoHz / kFlickerCarrierHz) -
                10.0 * std::log10(offsetHz / kFlickerOffsetHz) + closedDb;
    n.reference = InterpolateNoise(p.referencePoints, offsetHz) + nDb + closedDb;
    n.vco = InterpolateNoise(p.vcoPoints, offsetHz) + errorDb;

    // R3 and C3 low-pass whatever reaches them; R2's noise first divides between C1 and C2.
    const std::complex<double> r3c3 = 1.0 / std::complex<double>(1.0, w * c.r3 * c.c3);
    n.r3 = c.r3 > 0.0 ? ThermalDbc(c.r3, std::norm(r3c3), p.temperatureK, offsetHz) + errorDb
                      : std::numeric_limits<double>::quiet_NaN();
    if (c.c2 > 0.0 && c.r2 > 0.0 && std::isfinite(c.r2)) {
        const std::complex<double> divider =
            1.0 / std::complex<double>(1.0 + c.c1 / c.c2, w * c.c1 * c.r2);
        n.r2 = ThermalDbc(c.r2, std::norm(divider * r3c3), p.temperatureK, offsetHz) + errorDb;
    } else {
        n.r2 = std::numeric_limits<double>::quiet_NaN();
    }

    double total = 0.0;
    for (double *value : {&n.pfd, &n.flicker, &n.reference, &n.vco, &n.r2, &n.r3}) {
        if (std::isnan(*value)) continue;
        *value -= outputDb;
        total += std::pow(10.0, *value / 10.0);
    }
    n.total = Db(total);
    return n;
}

const std::vector<double> &NoiseCurveOffsets() {
    static const std::vector<double> offsets = [] {
        std::vector<double> f;
        for (int k = 0; k <= 120; ++k) f.push_back(std::pow(10.0, 2.0 + k / 20.0));
        return f;
    }();
    return offsets;
}

}  // namespace velorin::core
