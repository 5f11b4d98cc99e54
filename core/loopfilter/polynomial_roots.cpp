#include "core/loopfilter/polynomial_roots.h"

#include <cmath>

namespace velorin::core {

namespace {

constexpr int kMaxIterations = 500;
constexpr double kRelativeStep = 1e-14;

struct Value {
    std::complex<double> p;
    std::complex<double> dp;
};

Value Evaluate(const std::vector<double> &a, std::complex<double> x) {
    Value v{0.0, 0.0};
    for (size_t k = a.size(); k-- > 0;) {
        v.dp = v.dp * x + v.p;
        v.p = v.p * x + a[k];
    }
    return v;
}

}  // namespace

std::vector<std::complex<double>> PolynomialRoots(std::vector<double> a) {
    while (!a.empty() && a.back() == 0.0) a.pop_back();
    std::vector<std::complex<double>> roots;
    if (a.size() < 2) return roots;
    const size_t n = a.size() - 1;

    // Starting points on a circle whose radius is the geometric mean of the root sizes,
    // turned off the real axis so that real and conjugate roots are reached symmetrically.
    const double radius =
        a[0] == 0.0 ? 1.0 : std::pow(std::fabs(a[0] / a[n]), 1.0 / static_cast<double>(n));
    for (size_t k = 0; k < n; ++k) {
        const double angle = 2.0 * M_PI * static_cast<double>(k) / static_cast<double>(n) + 0.4;
        roots.push_back(std::polar(radius, angle));
    }

    for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
        double largestStep = 0.0;
        for (size_t i = 0; i < n; ++i) {
            const Value v = Evaluate(a, roots[i]);
            if (v.p == 0.0) continue;
            const std::complex<double> newton = v.p / v.dp;
            std::complex<double> repulsion = 0.0;
            for (size_t j = 0; j < n; ++j) {
                if (j != i) repulsion += 1.0 / (roots[i] - roots[j]);
            }
            const std::complex<double> step = newton / (1.0 - newton * repulsion);
            if (!std::isfinite(step.real()) || !std::isfinite(step.imag())) continue;
            roots[i] -= step;
            largestStep =
                std::max(largestStep, std::abs(step) / std::max(std::abs(roots[i]), 1e-300));
        }
        if (largestStep < kRelativeStep) break;
    }
    return roots;
}

}  // namespace velorin::core
