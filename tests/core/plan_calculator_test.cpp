#include "core/planning/plan_calculator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

#include "core/base/number_text.h"

namespace velorin::core {
namespace {

std::vector<std::string> Lines(double input) {
    std::vector<std::string> lines;
    for (const PlanForInput &plan : ListPlansForInput(input)) {
        lines.push_back(FormatPlanLine(PlanTable[static_cast<size_t>(plan.row)], plan.output));
    }
    return lines;
}

TEST(PlanTableTest, RowsFollowTheDividerRelations) {
    std::set<std::tuple<double, double, double>> seen;
    for (int index = 0; index < kPlanRowCount; ++index) {
        SCOPED_TRACE(index);
        const PlanRow &row = PlanTable[static_cast<size_t>(index)];
        const double product = row.prescaler * row.feedbackDivider;
        EXPECT_TRUE(product == 60 || product == 64);
        // VCO 1 rows reach 1750.44..2040 MHz, VCO 2 rows 2040..2350.016 MHz.
        const double vcoLow = row.inLow * product, vcoHigh = row.inHigh * product;
        if (row.vcoIndex == 0) {
            EXPECT_NEAR(vcoLow, 1750.44, 0.05);
            EXPECT_DOUBLE_EQ(vcoHigh, 2040);
        } else {
            EXPECT_DOUBLE_EQ(vcoLow, 2040);
            EXPECT_GE(vcoHigh, 2299.98 - 1e-9);
            EXPECT_LE(vcoHigh, 2350.016 + 1e-9);
        }
        // Output bounds: input bounds x FBD / OD to one decimal, halves up (row 30 excepted).
        const double low =
            std::floor(row.inLow * row.feedbackDivider / row.outputDivider * 10 + 0.5) / 10;
        const double high =
            std::floor(row.inHigh * row.feedbackDivider / row.outputDivider * 10 + 0.5) / 10;
        EXPECT_NEAR(row.outLow, low, 1e-9);
        EXPECT_NEAR(row.outHigh, index == 30 ? 28.8 : high, 1e-9);
        EXPECT_TRUE(seen.insert({row.vcoIndex, row.outputDivider, row.prescaler}).second);
        if (index > 0) {
            const PlanRow &previous = PlanTable[static_cast<size_t>(index - 1)];
            EXPECT_LE(previous.outputDivider, row.outputDivider);
        }
        if (row.prescaler == 2) {
            EXPECT_EQ(row.outputDivider, 1);
        }
        // Within each pair, VCO 2 first.
        EXPECT_EQ(row.vcoIndex, index % 2 == 0 ? 1 : 0);
    }
}

TEST(PlanCalculatorTest, OutputCalculatorAtTheInputBoundaries) {
    EXPECT_TRUE(Lines(25).empty());
    EXPECT_TRUE(Lines(38.4).empty());
    EXPECT_TRUE(Lines(0).empty());

    auto lines = Lines(27.351);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "875.20Mhz,VCO=1,OD=1,P=2,FBD=32");
    EXPECT_EQ(lines[1], "437.60Mhz,VCO=1,OD=1,P=4,FBD=16");
    EXPECT_EQ(lines[2], "218.80Mhz,VCO=1,OD=2,P=4,FBD=16");

    lines = Lines(30);
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[0], "959.99Mhz,VCO=1,OD=1,P=2,FBD=32");
    EXPECT_EQ(lines[1], "600.02Mhz,VCO=1,OD=1,P=3,FBD=20");
    EXPECT_EQ(lines[2], "479.99Mhz,VCO=1,OD=1,P=4,FBD=16");
    EXPECT_EQ(lines[3], "360.01Mhz,VCO=1,OD=1,P=5,FBD=12");
    EXPECT_EQ(lines[4], "299.97Mhz,VCO=1,OD=2,P=3,FBD=20");
    EXPECT_EQ(lines.back(), "11.23Mhz,VCO=1,OD=32,P=5,FBD=12");
    for (const auto &line : lines) EXPECT_NE(line.find("VCO=1"), std::string::npos) << line;

    lines = Lines(31.875);
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[0], "1020.00Mhz,VCO=2,OD=1,P=2,FBD=32");
    EXPECT_EQ(lines[1], "1020.00Mhz,VCO=1,OD=1,P=2,FBD=32");
    EXPECT_EQ(lines[2], "637.51Mhz,VCO=1,OD=1,P=3,FBD=20");

    lines = Lines(34);
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[0], "1088.00Mhz,VCO=2,OD=1,P=2,FBD=32");
    EXPECT_EQ(lines[1], "680.00Mhz,VCO=2,OD=1,P=3,FBD=20");
    EXPECT_EQ(lines[2], "680.00Mhz,VCO=1,OD=1,P=3,FBD=20");

    lines = Lines(38.333);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "766.70Mhz,VCO=2,OD=1,P=3,FBD=20");
    EXPECT_EQ(lines[1], "460.00Mhz,VCO=2,OD=1,P=5,FBD=12");
    EXPECT_EQ(lines.back(), "14.40Mhz,VCO=2,OD=32,P=5,FBD=12");
    for (const auto &line : lines) EXPECT_NE(line.find("VCO=2"), std::string::npos) << line;
}

TEST(PlanCalculatorTest, InterpolationIsTheLineThroughTheStoredBounds) {
    const PlanRow &row = PlanTable[1];
    EXPECT_DOUBLE_EQ(InterpolateOutput(row, row.inLow), row.outLow);
    EXPECT_NEAR(InterpolateOutput(row, row.inHigh), row.outHigh, 1e-9);
    EXPECT_NE(FormatFixed(InterpolateOutput(row, 30), 2),
              FormatFixed(OutputFrequency(30, 32, 1), 2));
    // Extrapolates on the same line outside the range.
    const double slope = (row.outHigh - row.outLow) / (row.inHigh - row.inLow);
    EXPECT_NEAR(InterpolateOutput(row, 40) - InterpolateOutput(row, 39), slope, 1e-9);
}

TEST(PlanCalculatorTest, InputCalculatorTakesTheFirstMatchingRow) {
    struct Case {
        double output;
        int row;
        const char *input;
    };
    for (const Case &c :
         {Case{1000, 1, "31.25"}, Case{1020, 0, "31.88"}, Case{156.25, 15, "31.25"},
          Case{100, 19, "33.33"}, Case{10.9, 37, "29.07"}, Case{1175, 0, "36.72"}}) {
        SCOPED_TRACE(c.output);
        const auto plan = FindPlanForOutput(c.output);
        ASSERT_TRUE(plan.has_value());
        EXPECT_EQ(plan->row, c.row);
        EXPECT_EQ(FormatFixed(plan->requiredInput, 2), c.input);
    }
    EXPECT_FALSE(FindPlanForOutput(10).has_value());
    EXPECT_FALSE(FindPlanForOutput(2000).has_value());
    EXPECT_FALSE(FindPlanForOutput(10.89).has_value());
    EXPECT_FALSE(FindPlanForOutput(1175.01).has_value());
    EXPECT_FALSE(FindPlanForOutput(std::nan("")).has_value());
}

TEST(PlanCalculatorTest, PlanLinesParse) {
    auto fields = ParsePlanLine("100Mhz,VCO=2,OD=4,P=5");
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->vco, 2);
    EXPECT_EQ(fields->outputDivider, 4);
    EXPECT_EQ(fields->prescaler, 5);
    fields = ParsePlanLine("960.00Mhz,VCO=1,OD=1,P=2,FBD=32");
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->vco, 1);
    EXPECT_EQ(fields->outputDivider, 1);
    EXPECT_EQ(fields->prescaler, 2);
    fields = ParsePlanLine("a=b=16x=");
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->vco, 0);
    EXPECT_EQ(fields->outputDivider, 16);
    EXPECT_EQ(fields->prescaler, 0);
    EXPECT_FALSE(ParsePlanLine("").has_value());
    EXPECT_FALSE(ParsePlanLine("input frequency not supported!").has_value());
    EXPECT_FALSE(ParsePlanLine("1Mhz,VCO=1,OD=2").has_value());
    EXPECT_TRUE(ParsePlanLine("===").has_value());
    // Every formatted line reads back as its own row.
    for (const PlanRow &row : PlanTable) {
        const auto parsed = ParsePlanLine(FormatPlanLine(row, row.outLow));
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->vco, row.vcoIndex + 1);
        EXPECT_EQ(parsed->outputDivider, row.outputDivider);
        EXPECT_EQ(parsed->prescaler, row.prescaler);
    }
}

TEST(PlanCalculatorTest, VcoRangesAndDisplayWindow) {
    EXPECT_FALSE(IsInputInVcoRange(27.35, 0));
    EXPECT_TRUE(IsInputInVcoRange(27.351, 0));
    EXPECT_TRUE(IsInputInVcoRange(34.0, 0));
    EXPECT_FALSE(IsInputInVcoRange(34.001, 0));
    EXPECT_FALSE(IsInputInVcoRange(31.87, 1));
    EXPECT_TRUE(IsInputInVcoRange(31.875, 1));
    EXPECT_TRUE(IsInputInVcoRange(38.333, 1));
    EXPECT_FALSE(IsInputInVcoRange(38.334, 1));

    EXPECT_EQ(ClampVcoForDisplay(1000, 0), 1893.95);
    EXPECT_EQ(ClampVcoForDisplay(2000, 0), 2000);
    EXPECT_EQ(ClampVcoForDisplay(2200, 0), 2186.94);
    EXPECT_EQ(ClampVcoForDisplay(2000, 1), 2186.94);
    EXPECT_EQ(ClampVcoForDisplay(2300, 1), 2300);
    EXPECT_EQ(ClampVcoForDisplay(3000, 1), 2525.22);

    EXPECT_DOUBLE_EQ(VcoFrequency(30, 32, 2), 1920);
    EXPECT_DOUBLE_EQ(OutputFrequency(30, 16, 4), 120);
}

TEST(NumberTextTest, LeadingNumber) {
    EXPECT_EQ(LeadingNumber("959.99Mhz,VCO=1,OD=1,P=2,FBD=32"), 959.99);
    EXPECT_EQ(LeadingNumber("  \t31.25"), 31.25);
    EXPECT_EQ(LeadingNumber("+12.5abc"), 12.5);
    EXPECT_EQ(LeadingNumber("-3"), -3);
    EXPECT_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_EQ(LeadingNumber("5."), 5);
    EXPECT_EQ(LeadingNumber("1e3Mhz"), 1000);
    EXPECT_EQ(LeadingNumber("2E-1"), 0.2);
    EXPECT_EQ(LeadingNumber("7e"), 7);  // an exponent needs digits
    EXPECT_EQ(LeadingNumber("7e+x"), 7);
    EXPECT_EQ(LeadingNumber("30,5"), 30);  // a comma is not a decimal point
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("abc"), 0);
    EXPECT_EQ(LeadingNumber("."), 0);
    EXPECT_EQ(LeadingNumber("-"), 0);
    EXPECT_EQ(LeadingNumber("inf"), 0);
    EXPECT_EQ(LeadingNumber("nan"), 0);
    EXPECT_EQ(LeadingNumber("0x10"), 0);
    EXPECT_TRUE(std::isinf(LeadingNumber("1e999")));
    EXPECT_EQ(LeadingNumber("1e-999"), 0);
    EXPECT_EQ(LeadingNumber(std::string(5000, '9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(LeadingNumber(std::string(5000, '9') + "e-"),
              std::numeric_limits<double>::infinity());
}

TEST(NumberTextTest, LeadingIntegerAndFixedFormat) {
    EXPECT_EQ(LeadingInteger("32"), 32);
    EXPECT_EQ(LeadingInteger("2,OD=4"), 2);
    EXPECT_EQ(LeadingInteger("2.9"), 2);
    EXPECT_EQ(LeadingInteger(" -4x"), -4);
    EXPECT_EQ(LeadingInteger("x4"), 0);
    EXPECT_EQ(LeadingInteger("99999999999999999999"), INT_MAX);
    EXPECT_EQ(LeadingInteger("-99999999999999999999"), INT_MIN);

    EXPECT_EQ(FormatFixed(959.987, 2), "959.99");
    EXPECT_EQ(FormatFixed(2.0, 0), "2");
    EXPECT_EQ(FormatFixed(31.25, 3), "31.250");
    EXPECT_EQ(FormatFixed(-0.5, 1), "-0.5");
    EXPECT_EQ(FormatFixed(1e308, 2).size(), 312u);
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 2), "inf");
}

}  // namespace
}  // namespace velorin::core
