// The curve rules under the phase-noise figures: joining points, the exact jitter integral,
// the points text and the measured-trace reader.
#include <gtest/gtest.h>

#include <cmath>

#include "core/loopfilter/jitter_integral.h"
#include "core/loopfilter/measured_trace.h"
#include "core/loopfilter/noise_points.h"
#include "core/loopfilter/phase_noise_analysis.h"

namespace velorin::core {
namespace {

const std::vector<NoisePoint> kVco{{1e4, -84}, {1e5, -109}, {1e6, -132}};

TEST(NoiseCurves, JoinedInLogOffsetAndHeldFlatAtBothEnds) {
    const struct {
        double offset, dbc;
    } cases[] = {{1, -84},    {1e4, -84}, {std::sqrt(1e9), -96.5}, {2e5, -109 - 23 * std::log10(2)},
                 {1e6, -132}, {1e9, -132}};
    for (const auto &c : cases) EXPECT_NEAR(InterpolateNoise(kVco, c.offset), c.dbc, 1e-9);
    EXPECT_TRUE(std::isnan(InterpolateNoise({}, 1e3)));
    EXPECT_TRUE(std::isnan(InterpolateNoise(kVco, 0)));
}

TEST(NoiseCurves, JitterOfAFlatFloorMatchesTheClosedForm) {
    // -130 dBc/Hz over 12 kHz to 20 MHz at 375 MHz: sqrt(2e-13 (20e6 - 12e3)) / (2 pi 375e6).
    const double power = IntegrateNoisePower({{1e3, -130}, {1e9, -130}}, 12e3, 20e6);
    EXPECT_NEAR(power, 1e-13 * (20e6 - 12e3), 1e-20);
    const JitterFigures j = JitterFromPower(power, 375e6);
    EXPECT_NEAR(j.rmsJitterS * 1e15, 848.5717, 0.001);
    EXPECT_NEAR(j.integratedPhaseDeg, 0.1145572, 1e-6);
    // The same floor given by one point is held flat across the whole band.
    EXPECT_NEAR(IntegrateNoisePower({{1e6, -130}}, 12e3, 20e6), power, 1e-20);
}

TEST(NoiseCurves, SlopedSegmentsIntegrateAsPowerLaws) {
    const struct {
        std::vector<NoisePoint> curve;
        double low, high, exact;
    } cases[] = {
        // -20 dB/decade: 1e-10 (f/1e4)^-2.
        {{{1e4, -100}, {1e6, -140}}, 1e4, 1e6, 1e-10 * 1e8 * (1 / 1e4 - 1 / 1e6)},
        // -10 dB/decade, the logarithmic case, cut inside the segment.
        {{{1e4, -100}, {1e6, -120}}, 2e4, 5e5, 1e-10 * 1e4 * std::log(25.0)},
        // +10 dB/decade, then flat beyond the last point.
        {{{1e3, -150}, {1e4, -140}}, 1e3, 2e4, 1e-15 / 1e3 * (1e8 - 1e6) / 2 + 1e-14 * 1e4},
        // A very steep fall: no overflow, the whole power sits at the start.
        {{{1e3, -60}, {1e4, -460}}, 1e3, 1e4, 1e-6 * 1e3 / 39},
    };
    for (const auto &c : cases) {
        EXPECT_NEAR(IntegrateNoisePower(c.curve, c.low, c.high) / c.exact, 1.0, 1e-9);
    }
    EXPECT_EQ(IntegrateNoisePower(kVco, 1e5, 1e5), 0.0);
}

TEST(NoiseCurves, PointsTextReadAndWritten) {
    const NoisePointsText read = ReadNoisePoints(" 1e4:-84, 1e5 : -109,1e6:-132 ");
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.points.size(), 3u);
    EXPECT_EQ(FormatNoisePoints(read.points), "10000:-84,100000:-109,1000000:-132");
    const struct {
        const char *text, *said;
    } bad[] = {{"", "point 1"},
               {"1e4:-84,1e5", "point 2 (\"1e5\") is not OFFSET:DBC"},
               {"1e4:-84,1e3:-90", "point 2: the offsets must ascend"},
               {"0:-84", "positive"},
               {"1e4:x", "not OFFSET:DBC"}};
    for (const auto &b : bad) {
        const NoisePointsText r = ReadNoisePoints(b.text);
        EXPECT_NE(r.error.find(b.said), std::string::npos) << b.text << ": " << r.error;
        EXPECT_TRUE(r.points.empty());
    }
}

TEST(MeasuredTrace, ReadsTheUsualExports) {
    const struct {
        const char *text;
        double secondDbc;
    } cases[] = {
        {"# analyser export\nOffset (Hz),Phase noise (dBc/Hz)\n1000,-100\n1e4,-110.5\n", -110.5},
        {"\"Offset\";\"L(f)\"\r\n1000;-100,25\r\n10000;-110,75\r\n", -110.75},
        {"1000\t-100\t0.1\n\n---------\n10000\t-111\t0.2\n; end\n", -111},
    };
    for (const auto &c : cases) {
        const MeasuredTraceRead read = ReadMeasuredTrace(c.text);
        ASSERT_EQ(read.error, "") << c.text;
        ASSERT_EQ(read.trace.points.size(), 2u);
        EXPECT_EQ(read.trace.points[1].offsetHz, 1e4);
        EXPECT_EQ(read.trace.points[1].dbc, c.secondDbc);
    }
}

TEST(MeasuredTrace, NamesTheFirstBadLine) {
    const struct {
        const char *text, *said;
    } cases[] = {
        {"Offset,dBc\n1000,-100\n2000 -101\n3000,x\n", "Line 3 \"2000 -101\" is not two numeric"},
        {"1000,-100\n900,-101\n", "Line 2 \"900,-101\" does not ascend"},
        {"-5,-100\n", "Line 1 \"-5,-100\" has an offset that is not positive"},
        {"only words\nhere\n", "There are no lines of two numeric columns"},
        {"1000,-100\n", "only one line"},
    };
    for (const auto &c : cases) {
        const MeasuredTraceRead read = ReadMeasuredTrace(c.text);
        EXPECT_NE(read.error.find(c.said), std::string::npos) << read.error;
        EXPECT_TRUE(read.trace.points.empty());
    }
    EXPECT_NE(LoadMeasuredTrace("/nonexistent/trace.csv").error.find("does not exist"),
              std::string::npos);
}

TEST(MeasuredTrace, JitterOverThePartOfTheBandItCovers) {
    const MeasuredTrace trace{"t.csv", {{1e3, -130}, {1e6, -130}}};
    const auto m = MeasuredTraceJitter(trace, 12e3, 20e6, 375e6);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->coveredLowHz, 12e3);
    EXPECT_EQ(m->coveredHighHz, 1e6);
    EXPECT_NEAR(m->jitter.rmsJitterS, JitterFromPower(1e-13 * (1e6 - 12e3), 375e6).rmsJitterS,
                1e-20);
    EXPECT_FALSE(MeasuredTraceJitter(trace, 2e6, 20e6, 375e6));
    EXPECT_EQ(OffsetName(12e3) + "-" + OffsetName(20e6) + "-" + OffsetName(1500),
              "12 kHz-20 MHz-1.5 kHz");
}

}  // namespace
}  // namespace velorin::core
