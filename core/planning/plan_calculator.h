// The output and input calculators over the plan table, and the frequency relations and VCO
// ranges the main view shares with them. Frequencies are MHz.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/planning/plan_table.h"

namespace velorin::core {

// Input ranges that raise no warning, per VCO (1 or 2).
constexpr double kVco1InputLow = 27.351;
constexpr double kVco1InputHigh = 34.0;
constexpr double kVco2InputLow = 31.875;
constexpr double kVco2InputHigh = 38.333;
// The window the VCO block text is held to, per VCO.
constexpr double kVco1DisplayLow = 1893.95;
constexpr double kVco1DisplayHigh = 2186.94;
constexpr double kVco2DisplayLow = 2186.94;
constexpr double kVco2DisplayHigh = 2525.22;
constexpr const char *kVcoInputRangeHint =
    "VCO 1 input range: 27.3Mhz~34.0Mhz\nVCO 2 input range: 31.8Mhz~38.3Mhz";
constexpr const char *kInputNotSupported = "input frequency not supported!";

struct PlanForInput {
    int row;  // index into PlanTable
    double output;
};

struct PlanForOutput {
    int row;
    double requiredInput;  // not tested against the row's input range
};

struct PlanLineFields {
    int vco;  // 1 or 2 as the line names it
    int outputDivider;
    int prescaler;
};

// The straight line through (inLow, outLow) and (inHigh, outHigh); extrapolates outside.
double InterpolateOutput(const PlanRow &row, double input);

// Every row whose input range holds the input, in table order.
std::vector<PlanForInput> ListPlansForInput(double input);

// The first row in table order whose output range holds the output.
std::optional<PlanForOutput> FindPlanForOutput(double output);

// "%0.2fMhz,VCO=%0.0f,OD=%0.0f,P=%0.0f,FBD=%0.0f"
std::string FormatPlanLine(const PlanRow &row, double output);

// VCO number, OD and P from the integers after the first three '=' signs.
std::optional<PlanLineFields> ParsePlanLine(std::string_view text);

double OutputFrequency(double input, double feedbackDivider, double outputDivider);
double VcoFrequency(double input, double feedbackDivider, double prescaler);

// vcoIndex as in the image and the plan rows: 0 = VCO 1, anything else VCO 2.
bool IsInputInVcoRange(double input, int vcoIndex);
double ClampVcoForDisplay(double vcoFrequency, int vcoIndex);

}  // namespace velorin::core
