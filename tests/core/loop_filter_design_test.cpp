#include "core/loopfilter/loop_filter_design.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velorin::core {
namespace {

constexpr long double kPi10 = 3.1415926535L;  // the design's own pi

// The phase equation written out again in long double, solved far below the design's tolerance.
long double ReferenceT1(long double bandwidthHz, long double phaseMarginDeg) {
    const long double wc = 2 * kPi10 * bandwidthHz;
    auto f = [&](long double x) {
        return std::atan(0.47L * wc * x) + std::atan(wc * x) + phaseMarginDeg * kPi10 / 180 -
               std::atan(1 / (1.47L * wc * x));
    };
    long double low = 1e-20L, high = 1.0L;
    for (int i = 0; i < 400; ++i) {
        const long double mid = (low + high) / 2;
        (f(mid) < 0 ? low : high) = mid;
    }
    return (low + high) / 2;
}

TEST(LoopFilterDesignTest, DefaultOpeningMatchesKnownFigures) {
    LoopFilterComponents out;
    ASSERT_EQ(ComputeLoopFilter(400000, 80, 224e-6, 5, 12, out), 0);
    const T1Solution t1 = SolveLoopFilterT1(0, 3.1415926535, 400000, 80);
    ASSERT_EQ(t1.status, 0);
    EXPECT_NEAR(t1.t1, 2.3661e-8, 0.0001e-8);
    EXPECT_NEAR(out.c3 * 10000, 1.1121e-8, 0.0001e-8);   // T3 = R3 C3
    EXPECT_NEAR(out.r2 * out.c2, 4.5517e-6, 0.0001e-6);  // T2 = R2 C2
    EXPECT_NEAR(out.c1 * 1e12, 1.056, 0.001);
    EXPECT_NEAR(out.c2 * 1e12, 202.1, 0.05);
    EXPECT_NEAR(out.c3 * 1e12, 1.112, 0.001);
    EXPECT_NEAR(out.r2 / 1000, 22.52, 0.005);
    EXPECT_EQ(out.r3, 10000.0);
}

TEST(LoopFilterDesignTest, BisectionLandsWithinToleranceOfTheRoot) {
    for (double bandwidth : {50e3, 123456.0, 400e3}) {
        for (double margin : {30.0, 55.5, 80.0}) {
            const T1Solution t1 = SolveLoopFilterT1(0, 3.1415926535, bandwidth, margin);
            ASSERT_EQ(t1.status, 0) << bandwidth << " " << margin;
            const double reference = static_cast<double>(ReferenceT1(bandwidth, margin));
            EXPECT_NEAR(t1.t1, reference, 1e-15) << bandwidth << " " << margin;
        }
    }
}

TEST(LoopFilterDesignTest, IdealComponentsGiveTheRequestedLoop) {
    // Open loop of the active filter: Icp*3e7*(1+sT2) / (N s^2 (C1+C2) (1+sT1) (1+sT3)).
    const double bandwidth = 150e3, margin = 60, icp = 112e-6, n = 3 * 20;
    LoopFilterComponents c;
    ASSERT_EQ(ComputeLoopFilter(bandwidth, margin, icp, 3, 20, c), 0);
    const double w = 2 * 3.1415926535 * bandwidth;
    const double t2 = c.r2 * c.c2, t1 = c.r2 * c.c1 * c.c2 / (c.c1 + c.c2), t3 = c.r3 * c.c3;
    const double gain = icp * 3e7 * std::hypot(1, w * t2) /
                        (n * w * w * (c.c1 + c.c2) * std::hypot(1, w * t1) * std::hypot(1, w * t3));
    EXPECT_NEAR(gain, 1.0, 1e-9);
    const double phase = std::atan(w * t2) - std::atan(w * t1) - std::atan(w * t3);
    EXPECT_NEAR(phase * 180 / 3.1415926535, margin, 1e-6);
    EXPECT_NEAR(t3 / t1, 0.47, 1e-12);
}

TEST(LoopFilterDesignTest, ResidualAtZeroUsesAQuarterTurn) {
    EXPECT_NEAR(LoopFilterPhaseResidual(0, 400e3, 80), 80 * 3.1415926535 / 180 - M_PI / 2, 1e-15);
    EXPECT_LT(LoopFilterPhaseResidual(0, 50e3, 30), 0);
    EXPECT_GT(LoopFilterPhaseResidual(3.1415926535, 50e3, 30), 0);
}

TEST(LoopFilterDesignTest, SolverFailsWithoutSignChangeOrIterationBudget) {
    EXPECT_EQ(SolveLoopFilterT1(0, 3.1415926535, 400e3, 95).status, -1);
    EXPECT_EQ(SolveLoopFilterT1(1e-3, 3.1415926535, 400e3, 80).status, -1);
    // A bracket around the root narrower than the tolerance leaves no iteration to run.
    const double root = SolveLoopFilterT1(0, 3.1415926535, 400e3, 80).t1;
    EXPECT_EQ(SolveLoopFilterT1(root - 2e-16, root + 2e-16, 400e3, 80).status, -1);
    EXPECT_EQ(SolveLoopFilterT1(root - 1e-9, root + 1e-9, 400e3, 80).status, 0);
}

TEST(LoopFilterDesignTest, FailureLeavesOutputsUntouched) {
    const LoopFilterComponents sentinel{1, 2, 3, 4, 5};
    struct Case {
        double bandwidth, margin, icp, prescaler, feedback;
    };
    // 90 degrees has no design, although the bisection alone finds a sign change there; -30
    // degrees would give a negative C2.
    const Case cases[] = {
        {400e3, 90, 224e-6, 5, 12},  {400e3, 120, 224e-6, 5, 12}, {0, 80, 224e-6, 5, 12},
        {-400e3, 80, 224e-6, 5, 12}, {NAN, 80, 224e-6, 5, 12},    {400e3, 80, -1e-6, 5, 12},
        {400e3, 80, 224e-6, 0, 12},  {400e3, 80, 224e-6, 5, 0},   {INFINITY, 80, 224e-6, 5, 12},
        {1e200, 80, 224e-6, 5, 12},  {400e3, 0, 224e-6, 5, 12},   {400e3, -30, 224e-6, 5, 12}};
    for (const Case &c : cases) {
        LoopFilterComponents out = sentinel;
        EXPECT_EQ(ComputeLoopFilter(c.bandwidth, c.margin, c.icp, c.prescaler, c.feedback, out), -1)
            << c.bandwidth << " " << c.margin;
        EXPECT_EQ(out.c1, 1);
        EXPECT_EQ(out.r3, 5);
    }
    EXPECT_EQ(SolveLoopFilterT1(0, 3.1415926535, 400e3, 90).status, 0);
}

TEST(LoopFilterDesignTest, NoChargePumpCurrentGivesNoCapacitanceAndInfiniteR2) {
    LoopFilterComponents with, without;
    ASSERT_EQ(ComputeLoopFilter(400e3, 80, 224e-6, 5, 12, with), 0);
    ASSERT_EQ(ComputeLoopFilter(400e3, 80, 0, 5, 12, without), 0);
    EXPECT_EQ(without.c1, 0);
    EXPECT_EQ(without.c2, 0);
    EXPECT_TRUE(std::isinf(without.r2) && without.r2 > 0);
    EXPECT_EQ(without.c3, with.c3);
}

}  // namespace
}  // namespace velorin::core
