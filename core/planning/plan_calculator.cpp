#include "core/planning/plan_calculator.h"

#include "core/base/number_text.h"

namespace velorin::core {

double InterpolateOutput(const PlanRow &row, double input) {
    const double slope = (row.outHigh - row.outLow) / (row.inHigh - row.inLow);
    return (row.outHigh - row.inHigh * slope) + slope * input;
}

std::vector<PlanForInput> ListPlansForInput(double input) {
    std::vector<PlanForInput> plans;
    for (int index = 0; index < kPlanRowCount; ++index) {
        const PlanRow &row = PlanTable[static_cast<size_t>(index)];
        if (row.inLow <= input && input <= row.inHigh) {
            plans.push_back({index, InterpolateOutput(row, input)});
        }
    }
    return plans;
}

std::optional<PlanForOutput> FindPlanForOutput(double output) {
    for (int index = 0; index < kPlanRowCount; ++index) {
        const PlanRow &row = PlanTable[static_cast<size_t>(index)];
        if (row.outLow <= output && output <= row.outHigh) {
            return PlanForOutput{index, row.outputDivider / row.feedbackDivider * output};
        }
    }
    return std::nullopt;
}

std::string FormatPlanLine(const PlanRow &row, double output) {
    return FormatFixed(output, 2) + "Mhz,VCO=" + FormatFixed(row.vcoIndex + 1, 0) +
           ",OD=" + FormatFixed(row.outputDivider, 0) + ",P=" + FormatFixed(row.prescaler, 0) +
           ",FBD=" + FormatFixed(row.feedbackDivider, 0);
}

std::optional<PlanLineFields> ParsePlanLine(std::string_view text) {
    if (text.empty()) return std::nullopt;
    int values[3] = {};
    size_t from = 0;
    for (int &value : values) {
        const size_t equals = text.find('=', from);
        if (equals == std::string_view::npos) return std::nullopt;
        value = LeadingInteger(text.substr(equals + 1));
        from = equals + 1;
    }
    return PlanLineFields{values[0], values[1], values[2]};
}

double OutputFrequency(double input, double feedbackDivider, double outputDivider) {
    return input * feedbackDivider / outputDivider;
}

double VcoFrequency(double input, double feedbackDivider, double prescaler) {
    return input * feedbackDivider * prescaler;
}

bool IsInputInVcoRange(double input, int vcoIndex) {
    if (vcoIndex == 0) return !(input < kVco1InputLow || input > kVco1InputHigh);
    return !(input < kVco2InputLow || input > kVco2InputHigh);
}

double ClampVcoForDisplay(double vcoFrequency, int vcoIndex) {
    const double low = vcoIndex == 0 ? kVco1DisplayLow : kVco2DisplayLow;
    const double high = vcoIndex == 0 ? kVco1DisplayHigh : kVco2DisplayHigh;
    if (vcoFrequency < low) return low;
    if (vcoFrequency > high) return high;
    return vcoFrequency;
}

}  // namespace velorin::core
