#include "core/loopfilter/loop_model.h"

#include <cmath>

namespace velorin::core {

namespace {

// Icp/(2 pi) times the VCO gain of 2 pi * 30 MHz/V: the 2 pi factors cancel.
constexpr double kVcoHzPerVolt = 3e7;
constexpr double kDegreesPerRadian = 180.0 / M_PI;

}  // namespace

LoopModel MakeLoopModel(const LoopFilterComponents &c, double chargePumpA, double divider) {
    LoopModel m;
    m.divider = divider;
    const double a0 = c.c1 + c.c2;
    if (!(chargePumpA > 0.0) || !(a0 > 0.0) || !(divider > 0.0)) return m;
    m.gain = chargePumpA * kVcoHzPerVolt / (divider * a0);
    m.t2 = c.r2 * c.c2;
    m.t1 = c.r2 * c.c1 * c.c2 / a0;
    m.t3 = c.r3 * c.c3;
    m.defined = std::isfinite(m.gain) && std::isfinite(m.t1) && std::isfinite(m.t2) &&
                std::isfinite(m.t3) && m.t1 >= 0.0 && m.t2 >= 0.0 && m.t3 >= 0.0;
    return m;
}

std::complex<double> OpenLoop(const LoopModel &m, double w) {
    const std::complex<double> s(0.0, w);
    return m.gain * (1.0 + s * m.t2) / (s * s * (1.0 + s * m.t1) * (1.0 + s * m.t3));
}

double OpenLoopMagnitude(const LoopModel &m, double w) {
    return m.gain * std::hypot(1.0, w * m.t2) /
           (w * w * std::hypot(1.0, w * m.t1) * std::hypot(1.0, w * m.t3));
}

double OpenLoopPhaseDeg(const LoopModel &m, double w) {
    const double lead = std::atan(w * m.t2) - std::atan(w * m.t1) - std::atan(w * m.t3);
    return -180.0 + lead * kDegreesPerRadian;
}

double ClosedLoopMagnitude(const LoopModel &m, double w) {
    const std::complex<double> gh = OpenLoop(m, w);
    return std::abs(gh / (1.0 + gh));
}

}  // namespace velorin::core
