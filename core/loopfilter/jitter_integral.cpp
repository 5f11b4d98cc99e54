#include "core/loopfilter/jitter_integral.h"

#include <algorithm>
#include <cmath>

namespace velorin::core {

namespace {

double Power(double dbc) {
    return std::pow(10.0, dbc / 10.0);
}

// Integral over [x0, x1] of p0 (f / f0)^a, written from x0 so that a steep slope cannot
// overflow: p(x0) x0 ((x1/x0)^(a+1) - 1) / (a + 1), with the logarithm where a = -1.
double PowerLawIntegral(double p0, double f0, double a, double x0, double x1) {
    const double px0 = p0 * std::pow(x0 / f0, a);
    const double span = std::log(x1 / x0);
    const double g = (a + 1.0) * span;
    const double factor = std::abs(g) < 1e-12 ? span : std::expm1(g) / (a + 1.0);
    return px0 * x0 * factor;
}

}  // namespace

double IntegrateNoisePower(const std::vector<NoisePoint> &points, double lowHz, double highHz) {
    if (points.empty() || !(lowHz > 0.0) || !(highHz > lowHz)) return 0.0;
    double sum = 0.0;
    // Held flat below the first point and above the last.
    const NoisePoint &first = points.front(), &last = points.back();
    if (lowHz < first.offsetHz) {
        sum += Power(first.dbc) * (std::min(highHz, first.offsetHz) - lowHz);
    }
    if (highHz > last.offsetHz) {
        sum += Power(last.dbc) * (highHz - std::max(lowHz, last.offsetHz));
    }
    for (size_t i = 1; i < points.size(); ++i) {
        const NoisePoint &a = points[i - 1], &b = points[i];
        const double x0 = std::max(lowHz, a.offsetHz), x1 = std::min(highHz, b.offsetHz);
        if (!(x1 > x0)) continue;
        const double slope = (b.dbc - a.dbc) / (10.0 * std::log10(b.offsetHz / a.offsetHz));
        sum += PowerLawIntegral(Power(a.dbc), a.offsetHz, slope, x0, x1);
    }
    return sum;
}

JitterFigures JitterFromPower(double integratedPower, double outputHz) {
    const double radians = std::sqrt(2.0 * integratedPower);
    return {radians / (2.0 * M_PI * outputHz), radians * 180.0 / M_PI};
}

}  // namespace velorin::core
