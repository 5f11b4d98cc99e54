// The loop-response plots' axes: nice ranges and steps, fixed intervals, decades, and ranges
// that no curve can give an axis (NaN, empty, reversed).
#include "core/loopfilter/plot_axis.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velorin::core {
namespace {

std::vector<std::string> Labels(const PlotAxis &axis) {
    std::vector<std::string> labels;
    for (const AxisTick &tick : axis.ticks) labels.push_back(tick.label);
    return labels;
}

TEST(PlotAxis, NiceLinearRangesRoundOutwardsToOneTwoOrFive) {
    const struct {
        double low, high;
        const char *format;
        double axisLow, axisHigh;
        std::vector<std::string> labels;
    } cases[] = {
        {0.0, 1.0, "%.2f", 0.0, 1.0, {"0.00", "0.20", "0.40", "0.60", "0.80", "1.00"}},
        {0.0, 13.7, "%.3g", 0.0, 15.0, {"0", "5", "10", "15"}},
        {-60.0, 40.0, "%.0f", -60.0, 40.0, {"-60", "-40", "-20", "0", "20", "40"}},
        {-0.25, 1.25, "%.2f", -0.5, 1.5, {"-0.50", "0.00", "0.50", "1.00", "1.50"}},
        {0.0, 0.0012, "%.3g", 0.0, 0.0015, {"0", "0.0005", "0.001", "0.0015"}},
        // No range at all, reversed, or not a number: an axis still comes out.
        {5.0, 5.0, "%.1f", 5.0, 6.0, {"5.0", "5.2", "5.4", "5.6", "5.8", "6.0"}},
        {1.0, 0.0, "%.2f", 0.0, 1.0, {"0.00", "0.20", "0.40", "0.60", "0.80", "1.00"}},
        {NAN, 3.0, "%.2f", 0.0, 1.0, {"0.00", "0.20", "0.40", "0.60", "0.80", "1.00"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.low << " to " << c.high);
        const PlotAxis axis = NiceLinearAxis(c.low, c.high, c.format);
        EXPECT_NEAR(axis.low, c.axisLow, 1e-12);
        EXPECT_NEAR(axis.high, c.axisHigh, 1e-12);
        EXPECT_FALSE(axis.log);
        EXPECT_EQ(Labels(axis), c.labels);
        EXPECT_LE(axis.ticks.size(), 7u);
    }
}

TEST(PlotAxis, SteppedAxesKeepTheRangeAndStepFromTheAnchor) {
    const PlotAxis phase = SteppedLinearAxis(-200.0, -100.0, -180.0, 45.0, "%.0f");
    EXPECT_EQ(phase.low, -200.0);
    EXPECT_EQ(phase.high, -100.0);
    EXPECT_EQ(Labels(phase), (std::vector<std::string>{"-180", "-135"}));
    // Zero is labelled "0", never "-0".
    EXPECT_EQ(Labels(SteppedLinearAxis(-40.0, 0.0, 0.0, 20.0, "%.0f")),
              (std::vector<std::string>{"-40", "-20", "0"}));
    // A span of thousands of intervals is thinned rather than crowded.
    EXPECT_LE(SteppedLinearAxis(-1e6, 0.0, 0.0, 20.0, "%.0f").ticks.size(), 41u);
    EXPECT_FALSE(SteppedLinearAxis(-180.0, -60.0, 0.0, 0.0, "%.0f").ticks.empty());
}

TEST(PlotAxis, LogAxesLabelDecadesAndMarkTheStepsBetween) {
    const PlotAxis axis = LogAxis(1e2, 1e4);
    EXPECT_TRUE(axis.log);
    ASSERT_EQ(axis.ticks.size(), 19u);  // 100, 200 … 900, 1000 … 9000, 10000
    EXPECT_EQ(axis.ticks.front().label, "1e+02");
    EXPECT_EQ(axis.ticks[9].value, 1e3);
    EXPECT_EQ(axis.ticks[9].label, "1e+03");
    EXPECT_TRUE(axis.ticks[1].label.empty());
    EXPECT_EQ(axis.ticks.back().label, "1e+04");
    // Ends between decades keep their range; only the ticks inside it remain.
    const PlotAxis inner = LogAxis(3.3e4, 2.5e6);
    EXPECT_EQ(inner.low, 3.3e4);
    EXPECT_EQ(inner.ticks.front().value, 4e4);
    EXPECT_EQ(inner.ticks.back().value, 2e6);
    // Nothing above zero to show: a decade all the same.
    const PlotAxis none = LogAxis(0.0, -5.0);
    EXPECT_EQ(none.low, 1.0);
    EXPECT_EQ(none.high, 10.0);
}

TEST(PlotAxis, CurvesRangeSkipsPointsThatDoNotExist) {
    const PlotCurve a{{1, 2, 3}, {-12.0, NAN, 31.0}}, b{{1}, {INFINITY}}, empty;
    EXPECT_EQ(CurvesRange({&a, &b}, 20.0, -60.0, 60.0), std::make_pair(-20.0, 40.0));
    EXPECT_EQ(CurvesRange({&b, &empty}, 20.0, -60.0, 60.0), std::make_pair(-60.0, 60.0));
    const PlotCurve flat{{1, 2}, {40.0, 40.0}};
    EXPECT_EQ(CurvesRange({&flat}, 20.0, -60.0, 60.0), std::make_pair(40.0, 60.0));
}

TEST(PlotAxis, ReadingACurveFollowsTheLinesThePlotDraws) {
    const PlotCurve noise{{1e2, 1e4, 1e5, 1e6}, {-100.0, -140.0, NAN, -150.0}};
    const struct {
        double x;
        bool log;
        std::optional<double> value;
    } cases[] = {
        {1e2, true, -100.0},                 // on a point
        {1e3, true, -120.0},                 // half way in log x
        {1e3, false, -103.636363636363636},  // 900 of 9900 Hz along in linear x
        {3e4, true, std::nullopt},           // a neighbour that does not exist
        {50.0, true, std::nullopt},          // beyond the ends
        {2e6, true, std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << (c.log ? " log" : " linear"));
        const std::optional<double> value = CurveValueAt(noise, c.x, c.log);
        ASSERT_EQ(value.has_value(), c.value.has_value());
        if (value) {
            EXPECT_NEAR(*value, *c.value, 1e-9);
        }
    }
    const PlotAxis log = LogAxis(1e2, 1e8), linear = NiceLinearAxis(0.0, 40.0, "%.0f");
    EXPECT_NEAR(AxisValueAt(log, 0.5), 1e5, 1e-6);
    EXPECT_NEAR(AxisFraction(log, 1e6), 4.0 / 6.0, 1e-12);
    EXPECT_NEAR(AxisValueAt(linear, 0.25), 10.0, 1e-12);
    EXPECT_NEAR(AxisFraction(linear, AxisValueAt(linear, 0.3)), 0.3, 1e-12);
}

}  // namespace
}  // namespace velorin::core
