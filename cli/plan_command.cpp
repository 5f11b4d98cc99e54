// velorinctl plan: the output and input calculators over the divider plans.
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/commands.h"
#include "cli/unit_arguments.h"
#include "core/base/number_text.h"
#include "core/planning/plan_calculator.h"

namespace velorin::cli {

namespace {

using core::PlanRow;
using core::PlanTable;

struct PlanOptions {
    std::string input;
    std::string output;
    bool json = false;
};

nlohmann::json RowJson(int index, const PlanRow &row) {
    return {{"row", index},
            {"vco", static_cast<int>(row.vcoIndex) + 1},
            {"outputDivider", static_cast<int>(row.outputDivider)},
            {"prescaler", static_cast<int>(row.prescaler)},
            {"feedbackDivider", static_cast<int>(row.feedbackDivider)}};
}

void ListOutputs(Context &context, const PlanOptions &options) {
    const double input = core::LeadingNumber(options.input);
    const auto plans = core::ListPlansForInput(input);
    nlohmann::json list = nlohmann::json::array();
    for (const core::PlanForInput &plan : plans) {
        const PlanRow &row = PlanTable[static_cast<size_t>(plan.row)];
        nlohmann::json entry = RowJson(plan.row, row);
        entry["output"] = plan.output;
        entry["line"] = core::FormatPlanLine(row, plan.output);
        list.push_back(entry);
    }
    context.exitCode = plans.empty() ? 1 : 0;
    if (options.json) {
        context.out << nlohmann::json{{"input", input}, {"plans", list}}.dump(2) << "\n";
        return;
    }
    if (plans.empty()) {
        context.out << core::kInputNotSupported << "\n";
        return;
    }
    for (const auto &entry : list) context.out << entry["line"].get<std::string>() << "\n";
}

void FindInput(Context &context, const PlanOptions &options) {
    const double output = core::LeadingNumber(options.output);
    const auto plan = core::FindPlanForOutput(output);
    nlohmann::json result{{"output", output}, {"plan", nullptr}};
    std::string line;
    if (plan) {
        const PlanRow &row = PlanTable[static_cast<size_t>(plan->row)];
        line = core::FormatPlanLine(row, core::InterpolateOutput(row, plan->requiredInput));
        nlohmann::json entry = RowJson(plan->row, row);
        entry["requiredInput"] = plan->requiredInput;
        entry["line"] = line;
        result["plan"] = entry;
    }
    context.exitCode = plan ? 0 : 1;
    if (options.json) {
        context.out << result.dump(2) << "\n";
        return;
    }
    if (!plan) {
        context.err << "No divider plan makes an output of " << core::FormatFixed(output, 2)
                    << "Mhz\n";
        return;
    }
    context.out << "Required Input Frequency: " << core::FormatFixed(plan->requiredInput, 2)
                << "Mhz\n"
                << line << "\n";
}

}  // namespace

void AddPlanCommand(CLI::App &app, Context &context) {
    auto options = std::make_shared<PlanOptions>();
    auto *command = app.add_subcommand(
        "plan", "Divider plans: the outputs an input can make, or the input an output needs");
    auto *input = command
                      ->add_option("--input", options->input,
                                   "Input frequency (MHz unless a unit is given): list the "
                                   "possible outputs")
                      ->transform(FrequencyIn(1e6, "MHz"));
    auto *output = command
                       ->add_option("--output", options->output,
                                    "Wanted output frequency (MHz unless a unit is given): find "
                                    "the required input")
                       ->transform(FrequencyIn(1e6, "MHz"));
    input->excludes(output);
    command->add_flag("--json", options->json, "Machine-readable output");
    command->callback([&context, options, input, output] {
        if (input->count() == 0 && output->count() == 0) {
            context.err << "velorinctl plan: give --input or --output\n";
            context.exitCode = 2;
            return;
        }
        if (input->count() > 0) {
            ListOutputs(context, *options);
        } else {
            FindInput(context, *options);
        }
    });
}

}  // namespace velorin::cli
