// velorinctl loopfilter: the loop-filter design for a bandwidth and phase margin, as the
// loop-filter dialog computes it.
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "cli/board_arguments.h"
#include "cli/commands.h"
#include "cli/loopfilter_noise.h"
#include "cli/unit_arguments.h"
#include "core/base/file_io.h"
#include "core/base/hex_text.h"
#include "core/device/register_image.h"
#include "core/loopfilter/bode_data.h"
#include "core/loopfilter/loop_analysis.h"
#include "core/loopfilter/loop_filter.h"

namespace velorin::cli {

namespace {

using core::LoopAnalysis;
using core::LoopFilterDesign;
using core::LoopFilterRequest;
using core::LoopResponse;

// Lock tolerances reported by --analyze; the first is the one behind "lockTimeS".
const std::vector<double> kLockTolerances = {1e-2, 1e-4, 1e-6};
const char *const kLockToleranceNames[] = {"1e-2", "1e-4", "1e-6"};

struct LoopFilterOptions {
    LoopFilterRequest request;
    bool json = false;
    bool analyze = false;
    std::optional<double> inputMHz;
    std::string bodeFile;
    NoiseOptions noise;
    std::string baseImage;  // --image: the image to place the designed word in
};

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
    result["controlWord"] = core::FormatLoopFilterWord(design.controlWord);
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
    out << "Loop-filter control word: " << core::FormatLoopFilterWord(design.controlWord) << "\n";
}

nlohmann::json Optional(const std::optional<double> &value) {
    return value ? nlohmann::json(*value) : nlohmann::json(nullptr);
}

nlohmann::json ResponseJson(const std::optional<LoopResponse> &response) {
    if (!response) return nullptr;
    const LoopResponse &r = *response;
    nlohmann::json lockTimes;
    for (size_t i = 0; i < r.lockTimes.size(); ++i) {
        lockTimes[kLockToleranceNames[i]] = Optional(r.lockTimes[i].seconds);
    }
    return {{"crossoverHz", Optional(r.crossoverHz)},
            {"phaseMarginDeg", Optional(r.phaseMarginDeg)},
            {"gainMarginDb", Optional(r.gainMarginDb)},
            {"gainMarginHz", Optional(r.gainMarginHz)},
            {"closedLoopBandwidthHz", Optional(r.closedLoopBandwidthHz)},
            {"peakingDb", Optional(r.peakingDb)},
            {"peakingHz", Optional(r.peakingHz)},
            {"overshootPct", Optional(r.overshootPct)},
            {"lockTimeS", Optional(r.lockTimes.at(0).seconds)},
            {"lockTimesS", lockTimes},
            {"zeroHz", Optional(r.zeroHz)},
            {"poleT1Hz", Optional(r.poleT1Hz)},
            {"poleT3Hz", Optional(r.poleT3Hz)},
            {"stable", r.stable}};
}

nlohmann::json AnalysisJson(const LoopAnalysis &analysis) {
    return {{"ideal", ResponseJson(analysis.ideal)},
            {"chosen", ResponseJson(analysis.chosen)},
            {"warnings", analysis.warnings}};
}

std::string Cell(const std::optional<double> &value, const char *format, double scale) {
    return value ? Number(format, *value * scale) : std::string("none");
}

void PrintRow(std::ostream &out, const char *name, const LoopAnalysis &a,
              std::optional<double> LoopResponse::*field, const char *format, double scale) {
    char line[160];
    const std::string ideal = a.ideal ? Cell((*a.ideal).*field, format, scale) : "none";
    const std::string chosen = a.chosen ? Cell((*a.chosen).*field, format, scale) : "none";
    std::snprintf(line, sizeof(line), "  %-24s %-16s %s\n", name, ideal.c_str(), chosen.c_str());
    out << line;
}

void PrintAnalysis(std::ostream &out, const LoopAnalysis &a) {
    char line[160];
    std::snprintf(line, sizeof(line), "Loop response:\n  %-24s %-16s %s\n", "", "ideal", "chosen");
    out << line;
    PrintRow(out, "Crossover (kHz)", a, &LoopResponse::crossoverHz, "%.1f", 1e-3);
    PrintRow(out, "Phase margin (deg)", a, &LoopResponse::phaseMarginDeg, "%.1f", 1);
    PrintRow(out, "Gain margin (dB)", a, &LoopResponse::gainMarginDb, "%.1f", 1);
    PrintRow(out, "Closed loop -3 dB (kHz)", a, &LoopResponse::closedLoopBandwidthHz, "%.1f", 1e-3);
    PrintRow(out, "Peaking (dB)", a, &LoopResponse::peakingDb, "%.2f", 1);
    PrintRow(out, "Peaking at (kHz)", a, &LoopResponse::peakingHz, "%.1f", 1e-3);
    PrintRow(out, "Overshoot (%)", a, &LoopResponse::overshootPct, "%.2f", 1);
    PrintRow(out, "Zero (kHz)", a, &LoopResponse::zeroHz, "%.1f", 1e-3);
    PrintRow(out, "Pole T1 (kHz)", a, &LoopResponse::poleT1Hz, "%.1f", 1e-3);
    PrintRow(out, "Pole T3 (kHz)", a, &LoopResponse::poleT3Hz, "%.1f", 1e-3);
    for (size_t i = 0; i < kLockTolerances.size(); ++i) {
        auto lock = [i](const std::optional<LoopResponse> &r) {
            return r ? Cell(r->lockTimes.at(i).seconds, "%.2f", 1e6) : std::string("none");
        };
        std::snprintf(line, sizeof(line), "  Lock to %-16s %-16s %s\n",
                      (std::string(kLockToleranceNames[i]) + " (us)").c_str(),
                      lock(a.ideal).c_str(), lock(a.chosen).c_str());
        out << line;
    }
    for (const std::string &warning : a.warnings) out << "Warning: " << warning << "\n";
}

bool WriteBode(Context &context, const LoopFilterOptions &options, const LoopFilterDesign &design) {
    if (design.status != 0) {
        context.err << "No Bode data without a design; " << options.bodeFile << " not written\n";
        return false;
    }
    const core::LoopModels models = core::MakeLoopModels(options.request, design);
    const std::string csv = core::FormatBodeCsv(core::ComputeBodeData(models.ideal, models.chosen));
    std::string why;
    if (!core::WriteFileAtomically(options.bodeFile, csv, &why)) {
        context.err << "Cannot write the Bode data: " << why << "\n";
        return false;
    }
    return true;
}

void RunLoopFilter(Context &context, const LoopFilterOptions &options) {
    const LoopFilterDesign design = core::DesignLoopFilter(options.request);
    if (design.status != 0) {
        context.err
            << "No loop-filter design for these inputs (the phase margin must lie between 0 "
               "and 90 degrees, bandwidth, prescaler and feedback divider positive)\n";
        context.exitCode = 1;
    }
    if (!options.bodeFile.empty() && !WriteBode(context, options, design)) context.exitCode = 1;

    std::optional<LoopAnalysis> analysis;
    if (options.analyze) {
        core::LoopAnalysisOptions analysisOptions;
        analysisOptions.lockTolerances = kLockTolerances;
        analysisOptions.inputMHz = options.inputMHz;
        analysis = core::AnalyzeLoopFilter(options.request, design, analysisOptions);
    }
    std::optional<core::PhaseNoiseAnalysis> noise;
    if (options.noise.enabled && options.inputMHz) {
        noise = RunNoise(context, options.noise, options.request, design, *options.inputMHz);
    }
    // The image with the design's word in place, for scripts that go on to write it.
    std::optional<std::string> image;
    if (!options.baseImage.empty() && design.status == 0) {
        core::RegisterImage placed = *ParseImage(options.baseImage);
        core::SetLoopFilterWord(placed, design.controlWord);
        image = core::FormatHexBytes(placed.bytes.data(), placed.bytes.size());
    }
    if (options.json) {
        nlohmann::json result = DesignJson(design);
        if (!options.baseImage.empty()) result["image"] = image ? nlohmann::json(*image) : nullptr;
        if (analysis) result["analysis"] = AnalysisJson(*analysis);
        if (noise) result["noise"] = NoiseJson(*noise);
        context.out << result.dump(2) << "\n";
        return;
    }
    if (design.status == 0) PrintDesign(context.out, design);
    if (image) context.out << "Register image: " << *image << "\n";
    if (analysis) PrintAnalysis(context.out, *analysis);
    if (noise) PrintNoise(context.out, *noise);
}

}  // namespace

void AddLoopFilterCommand(CLI::App &app, Context &context) {
    auto *command = app.add_subcommand(
        "loopfilter", "Loop-filter components for a loop bandwidth and phase margin");
    auto options = std::make_shared<LoopFilterOptions>();
    LoopFilterRequest &r = options->request;
    command->add_option("--bandwidth", r.bandwidthHz, "Loop bandwidth (Hz unless a unit is given)")
        ->required()
        ->transform(FrequencyIn(1, "Hz"));
    command->add_option("--phase-margin", r.phaseMarginDeg, "Phase margin in degrees")->required();
    command
        ->add_option("--charge-pump", r.chargePumpA,
                     "Charge-pump current (amperes unless a unit is given: 224uA)")
        ->required()
        ->transform(CurrentIn(1, "A"));
    command->add_option("--prescaler", r.prescaler, "Prescaler (2, 3, 4 or 5)")->required();
    command->add_option("--feedback-divider", r.feedbackDivider, "Feedback divider")->required();
    command->add_flag("--json", options->json, "Machine-readable output");
    auto *analyze = command->add_flag("--analyze", options->analyze,
                                      "Loop response of the ideal and the chosen components");
    auto *input = command->add_option_function<double>(
        "--input", [options](double mhz) { options->inputMHz = mhz; },
        "Input (comparison) frequency (MHz unless a unit is given), for the crossover warning "
        "and the noise");
    input->transform(FrequencyIn(1e6, "MHz"))->check(CLI::PositiveNumber)->needs(analyze);
    command->add_option("--bode", options->bodeFile, "Write the Bode data set to this CSV file");
    AddImageOption(command, "--image", options->baseImage,
                   "Also print this register image with the designed loop-filter word placed");
    AddNoiseOptions(*command, options->noise, input);
    command->callback([&context, options] { RunLoopFilter(context, *options); });
}

}  // namespace velorin::cli
