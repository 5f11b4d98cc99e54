// velorinctl loopfilter: the loop-filter design for a bandwidth and phase margin, as the
// loop-filter dialog computes it.
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/commands.h"
#include "core/loopfilter/loop_filter.h"

namespace velorin::cli {

namespace {

using core::LoopFilterDesign;
using core::LoopFilterRequest;

struct LoopFilterOptions {
    LoopFilterRequest request;
    bool json = false;
};

std::string WordText(uint32_t word) {
    char text[16];
    std::snprintf(text, sizeof(text), "%06X", static_cast<unsigned>(word));
    return text;
}

std::string Number(const char *format, double value) {
    char text[64];
    std::snprintf(text, sizeof(text), format, value);
    return text;
}

nlohmann::json DesignJson(const LoopFilterDesign &design) {
    nlohmann::json result;
    result["status"] = design.status;
    if (design.status != 0) {
        result["ideal"] = nullptr;
        result["codes"] = nullptr;
        result["labels"] = nullptr;
        result["controlWord"] = nullptr;
        return result;
    }
    const auto &ideal = design.ideal;
    const auto &s = design.selection;
    // An infinite R2 (no charge-pump current) has no JSON number and is written as null.
    result["ideal"] = {
        {"c1", ideal.c1}, {"c2", ideal.c2}, {"c3", ideal.c3}, {"r2", ideal.r2}, {"r3", ideal.r3}};
    result["codes"] = {
        {"c1", s.codes.c1}, {"c2", s.codes.c2}, {"c3", s.codes.c3}, {"r2", s.codes.r2}};
    result["labels"] = {{"c1", s.labels.c1},
                        {"c2", s.labels.c2},
                        {"c3", s.labels.c3},
                        {"r2", s.labels.r2},
                        {"r3", s.labels.r3}};
    result["controlWord"] = WordText(design.controlWord);
    return result;
}

void PrintDesign(std::ostream &out, const LoopFilterDesign &design) {
    const auto &ideal = design.ideal;
    const auto &s = design.selection;
    out << "Ideal components: C1 " << Number("%.4g", ideal.c1 * 1e12) << " pF, C2 "
        << Number("%.4g", ideal.c2 * 1e12) << " pF, C3 " << Number("%.4g", ideal.c3 * 1e12)
        << " pF, R2 " << Number("%.4g", ideal.r2 / 1e3) << " kOhm, R3 "
        << Number("%.4g", ideal.r3 / 1e3) << " kOhm\n";
    out << "Chosen: C1 code " << s.codes.c1 << " (" << s.labels.c1 << "), C2 code " << s.codes.c2
        << " (" << s.labels.c2 << "), C3 code " << s.codes.c3 << " (" << s.labels.c3
        << "), R2 code " << s.codes.r2 << " (" << s.labels.r2 << "), R3 " << s.labels.r3 << "\n";
    out << "Loop-filter control word: " << WordText(design.controlWord) << "\n";
}

void RunLoopFilter(Context &context, const LoopFilterOptions &options) {
    const LoopFilterDesign design = core::DesignLoopFilter(options.request);
    if (design.status != 0) {
        context.err << "No loop-filter design for these inputs (the phase margin must be below 90 "
                       "degrees, bandwidth, prescaler and feedback divider positive)\n";
        context.exitCode = 1;
    }
    if (options.json) {
        context.out << DesignJson(design).dump(2) << "\n";
    } else if (design.status == 0) {
        PrintDesign(context.out, design);
    }
}

}  // namespace

void AddLoopFilterCommand(CLI::App &app, Context &context) {
    auto *command = app.add_subcommand(
        "loopfilter", "Loop-filter components for a loop bandwidth and phase margin");
    auto options = std::make_shared<LoopFilterOptions>();
    LoopFilterRequest &r = options->request;
    command->add_option("--bandwidth", r.bandwidthHz, "Loop bandwidth in Hz")->required();
    command->add_option("--phase-margin", r.phaseMarginDeg, "Phase margin in degrees")->required();
    command->add_option("--charge-pump", r.chargePumpA, "Charge-pump current in amperes")
        ->required();
    command->add_option("--prescaler", r.prescaler, "Prescaler (2, 3, 4 or 5)")->required();
    command->add_option("--feedback-divider", r.feedbackDivider, "Feedback divider")->required();
    command->add_flag("--json", options->json, "Machine-readable output");
    command->callback([&context, options] { RunLoopFilter(context, *options); });
}

}  // namespace velorin::cli
