// The fixed divider plans: every output the calculator offers comes from one of these rows.
#pragma once

#include <array>

namespace velorin::core {

struct PlanRow {
    double outLow;  // MHz, all ranges inclusive at both ends
    double outHigh;
    double inLow;
    double inHigh;
    double vcoIndex;  // 0 = VCO 1, 1 = VCO 2
    double outputDivider;
    double prescaler;
    double feedbackDivider;
};

constexpr int kPlanRowCount = 38;

// In this order: the output calculator lists rows in table order and the input calculator takes
// the first row that fits.
extern const std::array<PlanRow, kPlanRowCount> PlanTable;

}  // namespace velorin::core
