// The input frequency, what the block's dividers make of it, and the two calculators.
#include <string>

#include "core/base/number_text.h"
#include "core/device/register_image.h"
#include "core/planning/crystal_record.h"
#include "core/planning/plan_calculator.h"
#include "core/scpi/command_handlers.h"
#include "core/scpi/instrument.h"
#include "core/scpi/parameter_values.h"

namespace velorin::core::scpi::handlers {

namespace {

constexpr double kHzPerMhz = 1e6;
// The input frequency as the crystal takes it; at start-up there is none.
constexpr NumericRange kInputRange{
    kCrystalLowMhz * kHzPerMhz, kCrystalHighMhz *kHzPerMhz, {}, false, Quantity::Frequency};
// What the plan calculators are asked about: any positive frequency up to the VCO's reach.
constexpr NumericRange kPlanRange{1.0, 10e9, {}, false, Quantity::Frequency};
// SCPI's answer for a value that does not exist (no input frequency, or an output divider
// code without a divider).
constexpr double kNotANumber = 9.91e37;

// The input frequency in MHz, when one is set.
std::optional<double> InputMhz(CommandContext &c) {
    const std::string &text = c.instrument.Model(c.Block()).State().inputText;
    if (text.empty()) return std::nullopt;
    return LeadingNumber(text);
}

std::string FormatMhzAsHz(double mhz) {
    return FormatNr3(mhz * kHzPerMhz);
}

std::string FormatNotANumber(double) {
    return FormatNr3(kNotANumber);
}

// A frequency for the plan calculators, in MHz.
std::optional<double> ReadPlanFrequencyMhz(CommandContext &c) {
    const auto hz = c.Number(kPlanRange);
    if (!hz) return std::nullopt;
    return *hz / kHzPerMhz;
}

}  // namespace

void SetInput(CommandContext &c) {
    const Parameter &parameter = c.parameters[0];
    if (!parameter.quoted && IsKeyword(parameter.text, "DEFault")) {
        c.instrument.ShareInput({});
        return;
    }
    if (const auto hz = c.Number(kInputRange)) {
        c.instrument.ShareInput(FormatFixed(*hz / kHzPerMhz, 3));
    }
}

void QueryInput(CommandContext &c) {
    if (!c.parameters.empty() && !c.parameters[0].quoted &&
        IsKeyword(c.parameters[0].text, "DEFault")) {
        c.Answer(FormatNotANumber(0));
        return;
    }
    if (c.AnswerLimit(kInputRange, FormatNr3)) return;
    const auto input = InputMhz(c);
    c.Answer(input ? FormatMhzAsHz(*input) : FormatNotANumber(0));
}

void QueryOutput(CommandContext &c) {
    const RegisterImage &image = c.instrument.Image(c.Block());
    const int outputDivider = OutputDividerValue(OutputDividerCode(image));
    const auto input = InputMhz(c);
    if (outputDivider == 0 || !input) {
        c.Answer(FormatNotANumber(0));
        return;
    }
    const int feedback = FeedbackDividerForPrescaler[static_cast<size_t>(PrescalerCode(image))];
    c.Answer(FormatMhzAsHz(OutputFrequency(*input, feedback, outputDivider)));
}

void QueryVcoFrequency(CommandContext &c) {
    const RegisterImage &image = c.instrument.Image(c.Block());
    const int code = PrescalerCode(image);
    const auto input = InputMhz(c);
    if (!input) {
        c.Answer(FormatNotANumber(0));
        return;
    }
    c.Answer(FormatMhzAsHz(VcoFrequency(
        *input, FeedbackDividerForPrescaler[static_cast<size_t>(code)], PrescalerValue(code))));
}

void QueryPlansForInput(CommandContext &c) {
    const auto input = ReadPlanFrequencyMhz(c);
    if (!input) return;
    const auto plans = ListPlansForInput(*input);
    if (plans.empty()) {
        c.Refuse(kDataOutOfRange, kInputNotSupported);
        return;
    }
    std::string answer;
    for (const PlanForInput &plan : plans) {
        if (!answer.empty()) answer += ',';
        answer += Quoted(FormatPlanLine(PlanTable[static_cast<size_t>(plan.row)], plan.output));
    }
    c.Answer(answer);
}

void QueryPlanForOutput(CommandContext &c) {
    const auto output = ReadPlanFrequencyMhz(c);
    if (!output) return;
    const auto plan = FindPlanForOutput(*output);
    if (!plan) {
        c.Refuse(kDataOutOfRange, "no divider plan makes this output");
        return;
    }
    const PlanRow &row = PlanTable[static_cast<size_t>(plan->row)];
    c.Answer(FormatMhzAsHz(plan->requiredInput) + "," +
             Quoted(FormatPlanLine(row, InterpolateOutput(row, plan->requiredInput))));
}

void ApplyPlan(CommandContext &c) {
    const auto output = ReadPlanFrequencyMhz(c);
    if (!output) return;
    const int block = c.Block();
    MainViewModel &model = c.instrument.Model(block);
    if (!model.CalculateInput(FormatFixed(*output, 6))) {
        c.Refuse(kDataOutOfRange, "no divider plan makes this output");
        return;
    }
    model.ApplyInputCalculation();
    // The plan sets the input frequency, which every block shares.
    c.instrument.ShareFrom(block);
}

}  // namespace velorin::core::scpi::handlers
