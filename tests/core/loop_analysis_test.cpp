#include "core/loopfilter/loop_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>

#include "core/loopfilter/bode_data.h"
#include "core/loopfilter/frequency_metrics.h"

namespace velorin::core {
namespace {

// The open loop written out directly from component values.
std::complex<double> Gh(const LoopFilterComponents &c, double icp, double n, double f) {
    const std::complex<double> s(0, 2 * M_PI * f);
    const std::complex<double> c1(c.c1), c2(c.c2), r2(c.r2);
    const std::complex<double> filter =
        (1.0 / (s * c1)) * (r2 + 1.0 / (s * c2)) / (1.0 / (s * c1) + r2 + 1.0 / (s * c2));
    return icp * 3e7 / n * filter / s / (1.0 + s * c.r3 * c.c3);
}

bool HasWarning(const LoopAnalysis &a, const std::string &part) {
    return std::any_of(a.warnings.begin(), a.warnings.end(),
                       [&](const std::string &w) { return w.find(part) != std::string::npos; });
}

struct Case {
    LoopFilterRequest request;
    LoopFilterDesign design;
    LoopAnalysis analysis;
};

Case Analyze(LoopFilterRequest request, const LoopAnalysisOptions &options = {}) {
    Case c{request, DesignLoopFilter(request), {}};
    c.analysis = AnalyzeLoopFilter(request, c.design, options);
    return c;
}

TEST(LoopAnalysisTest, DefaultDesignGivesTheKnownFigures) {
    const Case c = Analyze({}, {{1e-2, 1e-4, 1e-6}, std::nullopt});
    ASSERT_TRUE(c.analysis.ideal && c.analysis.chosen);
    const LoopResponse &ideal = *c.analysis.ideal, &chosen = *c.analysis.chosen;
    EXPECT_NEAR(ideal.crossoverHz.value(), 400000, 0.05);
    EXPECT_NEAR(ideal.phaseMarginDeg.value(), 80.0, 1e-6);
    EXPECT_NEAR(chosen.crossoverHz.value() / 1e3, 424.0, 0.05);
    EXPECT_NEAR(chosen.phaseMarginDeg.value(), 80.3, 0.05);
    EXPECT_NEAR(chosen.peakingDb.value(), 0.48, 0.005);
    EXPECT_NEAR(chosen.peakingHz.value() / 1e3, 69.5, 0.1);
    EXPECT_NEAR(chosen.closedLoopBandwidthHz.value() / 1e3, 503, 0.5);
    EXPECT_NEAR(chosen.overshootPct.value(), 5.7, 0.05);
    EXPECT_NEAR(chosen.lockTimes[0].seconds.value() * 1e6, 10.5, 0.05);
    EXPECT_LT(chosen.lockTimes[0].seconds, chosen.lockTimes[1].seconds);
    EXPECT_LT(chosen.lockTimes[1].seconds, chosen.lockTimes[2].seconds);
    EXPECT_FALSE(chosen.gainMarginDb.has_value());  // C3 = 0: the phase never reaches -180
    EXPECT_TRUE(ideal.gainMarginDb.has_value());
    EXPECT_FALSE(chosen.poleT3Hz.has_value());
    EXPECT_NEAR(chosen.zeroHz.value(), 1 / (2 * M_PI * 24e3 * 210e-12), 1e-6);
    EXPECT_TRUE(c.analysis.warnings.empty());
}

TEST(LoopAnalysisTest, FiguresAgreeWithTheOpenLoopComputedFromComponents) {
    const Case c = Analyze({}, {});
    const double n = 60, icp = 224e-6;
    for (const auto &[components, response] :
         {std::pair{c.design.ideal, *c.analysis.ideal},
          std::pair{c.design.selection.chosen, *c.analysis.chosen}}) {
        const double fc = response.crossoverHz.value();
        const std::complex<double> gh = Gh(components, icp, n, fc);
        EXPECT_NEAR(std::abs(gh), 1.0, 1e-9);
        EXPECT_NEAR(180 + std::arg(gh) * 180 / M_PI, response.phaseMarginDeg.value(), 1e-6);
        // Closed-loop peak and -3 dB point by a dense scan of N GH / (1 + GH) / N.
        double peak = 0, peakF = 0, bandwidth = 0;
        for (double f = 1e3; f < 1e7; f *= 1.00005) {
            const std::complex<double> g = Gh(components, icp, n, f);
            const double h = std::abs(g / (1.0 + g));
            if (h > peak) peak = h, peakF = f;
            if (h >= 1 / std::sqrt(2.0)) bandwidth = f;
        }
        EXPECT_NEAR(response.peakingDb.value(), 20 * std::log10(peak), 1e-6);
        EXPECT_NEAR(response.peakingHz.value() / peakF, 1.0, 1e-3);
        EXPECT_NEAR(response.closedLoopBandwidthHz.value() / bandwidth, 1.0, 1e-4);
    }
    // Gain margin of the ideal loop, where its phase is -180 degrees.
    const LoopResponse &ideal = *c.analysis.ideal;
    const std::complex<double> g = Gh(c.design.ideal, icp, n, ideal.gainMarginHz.value());
    EXPECT_NEAR(std::abs(std::arg(g)), M_PI, 1e-9);
    EXPECT_NEAR(ideal.gainMarginDb.value(), -20 * std::log10(std::abs(g)), 1e-9);
}

TEST(LoopAnalysisTest, R2ClampedAtCodeZeroIsASecondOrderLoop) {
    // Chosen: C1 0, C2 25 pF, C3 0, R2 127.6 kOhm (ideal 240 kOhm, clamped).
    const Case c = Analyze({400e3, 80, 56e-6, 5, 32});
    ASSERT_EQ(c.design.selection.codes.r2, 0);
    ASSERT_EQ(c.design.selection.codes.c1, 0);
    ASSERT_EQ(c.design.selection.codes.c3, 0);
    const double k = 56e-6 * 3e7 / (160 * 25e-12), t2 = 127.6e3 * 25e-12;
    // |GH| = K sqrt(1 + w^2 T2^2) / w^2 = 1  =>  w^2 = (K^2 T2^2 + sqrt(K^4 T2^4 + 4 K^2)) / 2
    const double w2 = (k * k * t2 * t2 + std::sqrt(std::pow(k * t2, 4) + 4 * k * k)) / 2;
    const LoopResponse &chosen = *c.analysis.chosen;
    EXPECT_NEAR(chosen.crossoverHz.value(), std::sqrt(w2) / (2 * M_PI), 1e-6);
    EXPECT_NEAR(chosen.phaseMarginDeg.value(), std::atan(std::sqrt(w2) * t2) * 180 / M_PI, 1e-9);
    EXPECT_FALSE(chosen.poleT1Hz.has_value());
    EXPECT_TRUE(chosen.stable);
    EXPECT_TRUE(HasWarning(c.analysis, "Ideal R2"));
    EXPECT_TRUE(HasWarning(c.analysis, "clamped"));
}

TEST(LoopAnalysisTest, NoChargePumpMeansNoLoop) {
    const Case c = Analyze({400e3, 80, 0, 5, 12});
    ASSERT_EQ(c.design.status, 0);
    for (const LoopResponse *r : {&*c.analysis.ideal, &*c.analysis.chosen}) {
        EXPECT_FALSE(r->defined);
        EXPECT_FALSE(r->crossoverHz.has_value());
        EXPECT_FALSE(r->lockTimes.at(0).seconds.has_value());
    }
    ASSERT_EQ(c.analysis.warnings.size(), 1u);
    EXPECT_TRUE(HasWarning(c.analysis, "Charge-pump current is 0"));
    const LoopModels models = MakeLoopModels(c.request, c.design);
    const std::string csv = FormatBodeCsv(ComputeBodeData(models.ideal, models.chosen));
    EXPECT_NE(csv.find("\n1000,,,,,,\n"), std::string::npos);
}

TEST(LoopAnalysisTest, WarningsForFailedDesignsMarginsAndMissingParts) {
    const Case failed = Analyze({400e3, 90, 224e-6, 5, 12});
    EXPECT_FALSE(failed.analysis.ideal.has_value());
    EXPECT_TRUE(HasWarning(failed.analysis, "The design failed"));

    const Case low = Analyze({100e3, 30, 56e-6, 5, 32});
    EXPECT_TRUE(HasWarning(low.analysis, "Ideal components: phase margin of 30.0"));
    EXPECT_TRUE(HasWarning(low.analysis, "Chosen components: phase margin of 29.8"));

    // Ideal C1 0.3 pF and C2 6.0 pF both snap to 0: no capacitance, no zero.
    const Case empty = Analyze({400e3, 60, 56e-6, 5, 32});
    EXPECT_FALSE(empty.analysis.chosen->defined);
    EXPECT_TRUE(HasWarning(empty.analysis, "C1 and C2 are both 0"));
    EXPECT_TRUE(HasWarning(empty.analysis, "C2 is 0"));

    const Case wide = Analyze({}, {{1e-2}, 3.0});
    EXPECT_TRUE(HasWarning(wide.analysis, "Chosen components: crossover of 424.0 kHz"));
    EXPECT_TRUE(HasWarning(wide.analysis, "Ideal components: crossover of 400.0 kHz"));
    EXPECT_TRUE(Analyze({}, {{1e-2}, 30.0}).analysis.warnings.empty());
}

TEST(LoopAnalysisTest, ChosenR2OfZeroLeavesNoZeroAndAnUnstableLoop) {
    LoopFilterComponents parts{10e-12, 100e-12, 20e-12, 0.0, 10e3};
    const LoopModel m = MakeLoopModel(parts, 224e-6, 60);
    const LoopResponse r = AnalyzeLoop(m, {1e-2});
    EXPECT_FALSE(r.stable);
    EXPECT_LT(r.phaseMarginDeg.value(), 0);
    EXPECT_FALSE(r.overshootPct.has_value());
    EXPECT_FALSE(r.peakingDb.has_value());
    EXPECT_FALSE(r.zeroHz.has_value());
}

TEST(FrequencyMetricsTest, CrossoverSearchReachesFarEndsOfTheRange) {
    // With no time constants |GH| = K / w^2, so the crossover is sqrt(K).
    for (double gain : {1e-12, 1e-4, 1.0, 4e11, 1e26, 1e40}) {
        LoopModel m;
        m.gain = gain;
        m.defined = true;
        EXPECT_NEAR(FindCrossover(m).value() / std::sqrt(gain), 1.0, 1e-12) << gain;
    }
    LoopModel none;
    EXPECT_FALSE(FindCrossover(none).has_value());
}

TEST(BodeDataTest, LogSpacedPointsWithBothLoops) {
    const Case c = Analyze({});
    const LoopModels models = MakeLoopModels(c.request, c.design);
    const auto points = ComputeBodeData(models.ideal, models.chosen);
    ASSERT_EQ(points.size(), 200u);
    EXPECT_NEAR(points.front().frequencyHz, 1e3, 1e-9);
    EXPECT_NEAR(points.back().frequencyHz, 1e8, 1e-3);
    EXPECT_NEAR(points[1].frequencyHz / points[0].frequencyHz,
                points[199].frequencyHz / points[198].frequencyHz, 1e-12);
    // Far below the loop the closed loop passes the divider ratio.
    EXPECT_NEAR(points.front().chosen.closedLoopDb, 20 * std::log10(60.0), 0.01);
    const std::complex<double> g = Gh(c.design.ideal, 224e-6, 60, points[100].frequencyHz);
    EXPECT_NEAR(points[100].ideal.openLoopDb, 20 * std::log10(std::abs(g)), 1e-9);
    EXPECT_NEAR(points[100].ideal.openLoopPhaseDeg, std::arg(g) * 180 / M_PI, 1e-9);
    // The phase is summed, not wrapped: above the -180 crossing it goes on falling.
    EXPECT_LT(points.back().ideal.openLoopPhaseDeg, -180);

    const std::string csv = FormatBodeCsv(points);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 201);
    EXPECT_EQ(csv.rfind("frequencyHz,idealOpenLoopDb,", 0), 0u);
    EXPECT_TRUE(ComputeBodeData(models.ideal, models.chosen, {1e3, 1e3, 200}).empty());
    EXPECT_TRUE(ComputeBodeData(models.ideal, models.chosen, {1e3, 1e8, 1}).empty());
}

}  // namespace
}  // namespace velorin::core
