#include "core/loopfilter/frequency_metrics.h"

#include <cmath>

namespace velorin::core {

namespace {

constexpr double kPointsPerDecade = 40.0;
const double kHalfPower = 1.0 / std::sqrt(2.0);

double Db(double magnitude) {
    return 20.0 * std::log10(magnitude);
}

}  // namespace

std::optional<double> FindCrossover(const LoopModel &m) {
    if (!m.defined || !(m.gain > 0.0)) return std::nullopt;
    double low = 1e-3, high = 1e13;
    for (int i = 0; i < 100 && OpenLoopMagnitude(m, low) < 1.0; ++i) low *= 1e-3;
    for (int i = 0; i < 100 && OpenLoopMagnitude(m, high) > 1.0; ++i) high *= 1e3;
    if (!(OpenLoopMagnitude(m, low) >= 1.0) || !(OpenLoopMagnitude(m, high) <= 1.0)) {
        return std::nullopt;
    }
    for (int i = 0; i < 200 && high / low - 1.0 > 1e-15; ++i) {
        const double mid = std::sqrt(low * high);
        (OpenLoopMagnitude(m, mid) > 1.0 ? low : high) = mid;
    }
    return std::sqrt(low * high);
}

double PhaseMarginDeg(const LoopModel &m, double w) {
    return 180.0 + OpenLoopPhaseDeg(m, w);
}

std::optional<GainMargin> FindGainMargin(const LoopModel &m) {
    if (!m.defined || !(m.t1 > 0.0) || !(m.t3 > 0.0) || !(m.t2 > m.t1 + m.t3)) return std::nullopt;
    GainMargin g;
    g.w = std::sqrt((m.t2 - m.t1 - m.t3) / (m.t1 * m.t2 * m.t3));
    g.db = -Db(OpenLoopMagnitude(m, g.w));
    return g;
}

std::optional<ClosedLoopPeak> FindClosedLoopPeak(const LoopModel &m, double crossover) {
    if (!m.defined || !(crossover > 0.0)) return std::nullopt;
    const double step = std::pow(10.0, 1.0 / kPointsPerDecade);
    double bestW = crossover * 1e-4, best = ClosedLoopMagnitude(m, bestW);
    for (double w = bestW * step; w <= crossover * 1e3; w *= step) {
        const double magnitude = ClosedLoopMagnitude(m, w);
        if (magnitude > best) {
            best = magnitude;
            bestW = w;
        }
    }
    // Golden-section search in log w between the best sample's neighbours.
    double low = std::log(bestW / step), high = std::log(bestW * step);
    const double ratio = 0.5 * (std::sqrt(5.0) - 1.0);
    for (int i = 0; i < 60; ++i) {
        const double a = high - ratio * (high - low), b = low + ratio * (high - low);
        if (ClosedLoopMagnitude(m, std::exp(a)) > ClosedLoopMagnitude(m, std::exp(b))) {
            high = b;
        } else {
            low = a;
        }
    }
    const double w = std::exp(0.5 * (low + high));
    const double magnitude = ClosedLoopMagnitude(m, w);
    if (magnitude > best) {
        best = magnitude;
        bestW = w;
    }
    return ClosedLoopPeak{Db(best), bestW};
}

std::optional<double> FindClosedLoopBandwidth(const LoopModel &m, double peakW) {
    if (!m.defined || !(peakW > 0.0)) return std::nullopt;
    const double step = std::pow(10.0, 1.0 / kPointsPerDecade);
    double low = peakW;
    double high = peakW * step;
    while (ClosedLoopMagnitude(m, high) >= kHalfPower) {
        low = high;
        high *= step;
        if (high > peakW * 1e9) return std::nullopt;
    }
    for (int i = 0; i < 100 && high / low - 1.0 > 1e-14; ++i) {
        const double mid = std::sqrt(low * high);
        (ClosedLoopMagnitude(m, mid) >= kHalfPower ? low : high) = mid;
    }
    return std::sqrt(low * high);
}

}  // namespace velorin::core
