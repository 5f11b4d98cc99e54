#include "core/loopfilter/phase_noise_model.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/loopfilter/loop_analysis.h"
#include "core/loopfilter/phase_noise_analysis.h"

namespace velorin::core {
namespace {

// The default opening at a 25 MHz input: N = 60, VCO 1.5 GHz, output 300 MHz (prescaler 5).
const LoopFilterRequest kRequest{400000, 80, 224e-6, 5, 12};
constexpr double kInputHz = 25e6;

struct Loop {
    LoopFilterDesign design = DesignLoopFilter(kRequest);
    LoopModels models = MakeLoopModels(kRequest, design);
    NoiseFrequencies frequencies = MakeNoiseFrequencies(kInputHz, 5, 12, 1);
    PhaseNoiseParameters parameters;

    NoiseContributions Chosen(double offsetHz) const {
        return PhaseNoiseAt(models.chosen, design.selection.chosen, parameters, frequencies,
                            offsetHz);
    }
};

TEST(PhaseNoiseModel, FrequenciesOfThePlan) {
    const NoiseFrequencies f = MakeNoiseFrequencies(25e6, 5, 12, 2);
    EXPECT_DOUBLE_EQ(f.divider, 60);
    EXPECT_DOUBLE_EQ(f.vcoHz, 1.5e9);
    EXPECT_DOUBLE_EQ(f.outputHz, 150e6);
}

// Values worked out by hand from the defaults (all lowered by 20 log10 5 to the output):
// in-band |H| = 1, far out |E| = 1; the chosen C3 is 0 pF, so R3 reaches the VCO unfiltered.
TEST(PhaseNoiseModel, EachContributionAgainstAHandWorkedValue) {
    const Loop loop;
    const NoiseContributions inBand = loop.Chosen(1e3);
    EXPECT_NEAR(inBand.pfd, -222 + 73.9794 + 35.5630 - 13.9794, 0.01);
    EXPECT_NEAR(inBand.flicker, -120 + 3.5218 + 10 - 13.9794, 0.01);
    EXPECT_NEAR(inBand.reference, -145 + 35.5630 - 13.9794, 0.01);

    const NoiseContributions farOut = loop.Chosen(1e9);  // beyond the last VCO point: flat
    EXPECT_NEAR(farOut.vco, -158 - 13.9794, 0.01);
    // 4kT R3 (3e7/f)^2 / 2 at 300 K.
    EXPECT_NEAR(farOut.r3, -205.2546, 0.01);
    EXPECT_NEAR(farOut.total, 10 * std::log10(std::pow(10, -17.19794) + std::pow(10, -20.52546)),
                0.05);
    // Out of band the loop suppresses the input-side noise.
    EXPECT_LT(farOut.pfd, inBand.pfd - 80);
}

TEST(PhaseNoiseModel, R2WithoutC2ContributesNothing) {
    const Loop loop;
    LoopFilterComponents c{10e-12, 0.0, 0.0, 20e3, 10e3};
    const LoopModel model = MakeLoopModel(c, 224e-6, 60);
    ASSERT_TRUE(model.defined);
    const NoiseContributions n = PhaseNoiseAt(model, c, loop.parameters, loop.frequencies, 1e5);
    EXPECT_TRUE(std::isnan(n.r2));
    EXPECT_TRUE(std::isfinite(n.r3));
    EXPECT_TRUE(std::isfinite(n.total));
    c.c2 = 200e-12;
    EXPECT_TRUE(std::isfinite(
        PhaseNoiseAt(MakeLoopModel(c, 224e-6, 60), c, loop.parameters, loop.frequencies, 1e5).r2));
}

// The figure against a fine numerical integral of the model itself.
TEST(PhaseNoiseModel, JitterWithinOnePercentOfTheModelsIntegral) {
    const Loop loop;
    const PhaseNoiseAnalysis a =
        AnalyzePhaseNoise(kRequest, loop.design, loop.parameters, kInputHz, 1);
    ASSERT_TRUE(a.chosen && a.ideal);
    double sum = 0;
    const int steps = 200000;
    const double l0 = std::log(12e3), l1 = std::log(20e6), h = (l1 - l0) / steps;
    for (int i = 0; i < steps; ++i) {
        const double f = std::exp(l0 + (i + 0.5) * h);
        sum += std::pow(10.0, loop.Chosen(f).total / 10) * f * h;
    }
    const double exact = std::sqrt(2 * sum) / (2 * M_PI * 300e6);
    EXPECT_NEAR(a.chosen->jitter.rmsJitterS / exact, 1.0, 0.002);
    EXPECT_EQ(a.chosen->points.size(), 121u);
    EXPECT_DOUBLE_EQ(a.chosen->points.back().offsetHz, 1e8);
}

TEST(PhaseNoiseModel, ALoopThatDoesNotLockHasNoNoise) {
    LoopFilterRequest noCurrent = kRequest;
    noCurrent.chargePumpA = 0;
    const PhaseNoiseAnalysis a = AnalyzePhaseNoise(noCurrent, DesignLoopFilter(noCurrent),
                                                   PhaseNoiseParameters{}, kInputHz, 1);
    EXPECT_FALSE(a.ideal);
    EXPECT_FALSE(a.chosen);
    EXPECT_EQ(a.notes.size(), 2u);
}

TEST(PhaseNoiseModel, ParametersThatCannotBeUsed) {
    const struct {
        void (*spoil)(PhaseNoiseParameters &);
        const char *said;
    } cases[] = {
        {[](PhaseNoiseParameters &p) { p.pfdFomDbc = NAN; }, "floor"},
        {[](PhaseNoiseParameters &p) { p.vcoPoints.clear(); }, "VCO noise, there is no point"},
        {[](PhaseNoiseParameters &p) { p.referencePoints[1].offsetHz = 5; }, "must ascend"},
        {[](PhaseNoiseParameters &p) { p.temperatureK = 0; }, "temperature"},
        {[](PhaseNoiseParameters &p) { p.bandHighHz = p.bandLowHz; }, "jitter band"},
    };
    EXPECT_EQ(CheckPhaseNoiseParameters({}), "");
    for (const auto &c : cases) {
        PhaseNoiseParameters p;
        c.spoil(p);
        EXPECT_NE(CheckPhaseNoiseParameters(p).find(c.said), std::string::npos) << c.said;
    }
}

}  // namespace
}  // namespace velorin::core
