#include "core/loopfilter/step_response.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "core/loopfilter/polynomial_roots.h"

namespace velorin::core {
namespace {

LoopModel SecondOrder(double gain, double t2) {
    LoopModel m;
    m.gain = gain;
    m.t2 = t2;
    m.defined = true;
    return m;
}

struct Settling {
    double overshoot = 0.0;
    double lockTime = 0.0;
};

// Dense sampling of a known step response, the last excursion refined by bisection.
Settling Sample(const std::function<double(double)> &y, double end, double tolerance) {
    Settling s;
    const int n = 400000;
    double lastOutside = 0.0;
    for (int i = 0; i <= n; ++i) {
        const double t = end * i / n;
        s.overshoot = std::max(s.overshoot, y(t) - 1.0);
        if (std::fabs(y(t) - 1.0) > tolerance) lastOutside = t;
    }
    double outside = lastOutside, inside = lastOutside + end / n;
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (outside + inside);
        (std::fabs(y(mid) - 1.0) > tolerance ? outside : inside) = mid;
    }
    s.lockTime = inside;
    return s;
}

TEST(StepResponseTest, UnderdampedSecondOrderMatchesClosedForm) {
    // K (1 + s T2) / (s^2 + K T2 s + K): wn = sqrt(K), zeta = T2 wn / 2.
    const double wn = 2 * M_PI * 100e3, zeta = 0.5;
    const LoopModel m = SecondOrder(wn * wn, 2 * zeta / wn);
    const double sigma = zeta * wn, wd = wn * std::sqrt(1 - zeta * zeta);
    auto y = [&](double t) {
        return 1 - std::exp(-sigma * t) * (std::cos(wd * t) - sigma / wd * std::sin(wd * t));
    };
    const StepResponse r = ComputeStepResponse(m);
    ASSERT_TRUE(r.stable);
    for (double t : {0.0, 1e-7, 1e-6, 3.3e-6, 1e-5, 4e-5}) {
        EXPECT_NEAR(StepValue(r, t), y(t), 1e-12) << t;
    }
    for (double tolerance : {1e-2, 1e-4, 1e-6}) {
        const Settling expected = Sample(y, 40 / wn, tolerance);
        EXPECT_NEAR(StepOvershoot(r).value(), expected.overshoot, 1e-9);
        EXPECT_NEAR(StepLockTime(r, tolerance).value(), expected.lockTime, 1e-12) << tolerance;
    }
}

TEST(StepResponseTest, OverdampedSecondOrderStillOvershootsThroughItsZero) {
    const double wn = 6.5e5, zeta = 1.3;
    const LoopModel m = SecondOrder(wn * wn, 2 * zeta / wn);
    const double root = wn * std::sqrt(zeta * zeta - 1);
    const double p1 = -zeta * wn + root, p2 = -zeta * wn - root;
    auto y = [&](double t) {
        return 1 - (p1 * std::exp(p1 * t) - p2 * std::exp(p2 * t)) / (p1 - p2);
    };
    const StepResponse r = ComputeStepResponse(m);
    ASSERT_TRUE(r.stable);
    const Settling expected = Sample(y, 60 / wn, 1e-4);
    EXPECT_GT(expected.overshoot, 0.01);
    EXPECT_NEAR(StepOvershoot(r).value(), expected.overshoot, 1e-9);
    EXPECT_NEAR(StepLockTime(r, 1e-4).value(), expected.lockTime, 1e-12);
}

TEST(StepResponseTest, ThirdOrderWithSmallC1MatchesFineIntegration) {
    // The chosen default design: 1.5 pF, 210 pF, 24 kOhm, 224 uA, N = 60.
    const double a0 = 211.5e-12, t2 = 24e3 * 210e-12, t1 = 24e3 * 1.5e-12 * 210e-12 / a0;
    const double k = 224e-6 * 3e7 / (60 * a0);
    LoopModel m = SecondOrder(k, t2);
    m.t1 = t1;
    // T1 x''' + x'' + K T2 x' + K x = 1, y = K (x + T2 x'), integrated by RK4.
    auto derivative = [&](const std::array<double, 3> &x) {
        return std::array<double, 3>{x[1], x[2], (1 - x[2] - k * t2 * x[1] - k * x[0]) / t1};
    };
    std::array<double, 3> x{0, 0, 0};
    const double h = 5e-11;
    double overshoot = 0, lastOutside = 0;
    for (int i = 1; i * h <= 40e-6; ++i) {
        auto k1 = derivative(x);
        std::array<double, 3> s;
        for (int j = 0; j < 3; ++j) s[j] = x[j] + h / 2 * k1[j];
        auto k2 = derivative(s);
        for (int j = 0; j < 3; ++j) s[j] = x[j] + h / 2 * k2[j];
        auto k3 = derivative(s);
        for (int j = 0; j < 3; ++j) s[j] = x[j] + h * k3[j];
        auto k4 = derivative(s);
        for (int j = 0; j < 3; ++j) x[j] += h / 6 * (k1[j] + 2 * k2[j] + 2 * k3[j] + k4[j]);
        const double y = k * (x[0] + t2 * x[1]);
        overshoot = std::max(overshoot, y - 1);
        if (std::fabs(y - 1) > 1e-2) lastOutside = i * h;
    }
    const StepResponse r = ComputeStepResponse(m);
    ASSERT_TRUE(r.stable);
    EXPECT_NEAR(StepOvershoot(r).value(), overshoot, 1e-6);
    EXPECT_NEAR(StepLockTime(r, 1e-2).value(), lastOutside, 2 * h);
    EXPECT_NEAR(StepValue(r, 0), 0.0, 1e-12);
}

TEST(StepResponseTest, LoopsThatDoNotSettleHaveNoFigures) {
    LoopModel noZero = SecondOrder(4e11, 0);  // s^2 + K: undamped
    EXPECT_FALSE(ComputeStepResponse(noZero).stable);
    noZero.t3 = 1e-8;  // T3 s^3 + s^2 + K: a pole in the right half-plane
    const StepResponse r = ComputeStepResponse(noZero);
    EXPECT_FALSE(r.stable);
    EXPECT_FALSE(StepOvershoot(r).has_value());
    EXPECT_FALSE(StepLockTime(r, 1e-2).has_value());
    EXPECT_FALSE(ComputeStepResponse(LoopModel{}).stable);
    EXPECT_FALSE(StepLockTime(ComputeStepResponse(SecondOrder(1e10, 1e-4)), 0).has_value());
}

TEST(StepResponseTest, CriticalDampingKeepsResiduesFinite) {
    const double wn = 1e6;
    const LoopModel m = SecondOrder(wn * wn, 2 / wn);  // double pole at -wn
    auto y = [&](double t) { return 1 - std::exp(-wn * t) * (1 - wn * t); };
    const StepResponse r = ComputeStepResponse(m);
    ASSERT_TRUE(r.stable);
    for (double t : {1e-7, 1e-6, 5e-6}) EXPECT_NEAR(StepValue(r, t), y(t), 1e-6);
}

TEST(PolynomialRootsTest, FindsRootsDecadesApart) {
    // (x + 1)(x + 1e6)(x^2 + 2x + 5)
    std::vector<double> p = {1};
    for (const std::vector<double> &f :
         std::vector<std::vector<double>>{{1, 1}, {1e6, 1}, {5, 2, 1}}) {
        std::vector<double> q(p.size() + f.size() - 1, 0.0);
        for (size_t i = 0; i < p.size(); ++i)
            for (size_t j = 0; j < f.size(); ++j) q[i + j] += p[i] * f[j];
        p = q;
    }
    p.push_back(0.0);  // a zero leading coefficient is dropped
    auto roots = PolynomialRoots(p);
    ASSERT_EQ(roots.size(), 4u);
    const std::complex<double> expected[] = {{-1, 0}, {-1e6, 0}, {-1, 2}, {-1, -2}};
    for (const auto &e : expected) {
        const auto nearest = *std::min_element(roots.begin(), roots.end(), [&](auto x, auto y) {
            return std::abs(x - e) < std::abs(y - e);
        });
        EXPECT_NEAR(std::abs(nearest - e), 0.0, 1e-9 * std::abs(e)) << e;
    }
    EXPECT_TRUE(PolynomialRoots({0, 0}).empty());
}

}  // namespace
}  // namespace velorin::core
