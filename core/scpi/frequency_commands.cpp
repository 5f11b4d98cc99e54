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

// SCPI's answer for a value that does not exist (an output divider code without a divider).
constexpr const char *kNotANumber = "9.91E+37";

double Input(CommandContext &c) {
    return LeadingNumber(c.instrument.Model(c.Block()).State().inputText);
}

std::optional<double> ReadFrequency(CommandContext &c) {
    const auto value = c.parameters[0].quoted ? std::nullopt : ParseDecimal(c.parameters[0].text);
    if (!value) {
        c.Refuse(kIllegalParameterValue, "a frequency in MHz");
        return std::nullopt;
    }
    if (*value <= 0) {
        c.Refuse(kDataOutOfRange, {});
        return std::nullopt;
    }
    return value;
}

std::string Quoted(const std::string &text) {
    return "\"" + text + "\"";
}

}  // namespace

void SetInput(CommandContext &c) {
    Error error;
    const auto input = ParseNumber(c.parameters[0],
                                   NumericRange{kCrystalLowMhz, kCrystalHighMhz, {}, false}, error);
    if (!input) {
        c.error = error;
        return;
    }
    c.instrument.Model(c.Block()).State().inputText = FormatFixed(*input, 3);
}

void QueryInput(CommandContext &c) {
    c.Answer(FormatFixed(Input(c), 3));
}

void QueryOutput(CommandContext &c) {
    const RegisterImage &image = c.instrument.Image(c.Block());
    const int outputDivider = OutputDividerValue(OutputDividerCode(image));
    if (outputDivider == 0) {
        c.Answer(kNotANumber);
        return;
    }
    const int feedback = FeedbackDividerForPrescaler[static_cast<size_t>(PrescalerCode(image))];
    c.Answer(FormatFixed(OutputFrequency(Input(c), feedback, outputDivider), 6));
}

void QueryVcoFrequency(CommandContext &c) {
    const RegisterImage &image = c.instrument.Image(c.Block());
    const int code = PrescalerCode(image);
    c.Answer(
        FormatFixed(VcoFrequency(Input(c), FeedbackDividerForPrescaler[static_cast<size_t>(code)],
                                 PrescalerValue(code)),
                    6));
}

void QueryPlansForInput(CommandContext &c) {
    const auto input = ReadFrequency(c);
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
    const auto output = ReadFrequency(c);
    if (!output) return;
    const auto plan = FindPlanForOutput(*output);
    if (!plan) {
        c.Refuse(kDataOutOfRange, "no divider plan makes this output");
        return;
    }
    const PlanRow &row = PlanTable[static_cast<size_t>(plan->row)];
    c.Answer(FormatFixed(plan->requiredInput, 6) + "," +
             Quoted(FormatPlanLine(row, InterpolateOutput(row, plan->requiredInput))));
}

void ApplyPlan(CommandContext &c) {
    const auto output = ReadFrequency(c);
    if (!output) return;
    MainViewModel &model = c.instrument.Model(c.Block());
    if (!model.CalculateInput(FormatFixed(*output, 6))) {
        c.Refuse(kDataOutOfRange, "no divider plan makes this output");
        return;
    }
    model.ApplyInputCalculation();
}

}  // namespace velorin::core::scpi::handlers
