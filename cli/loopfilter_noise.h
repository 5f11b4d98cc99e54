// The phase-noise part of velorinctl loopfilter: its options, and the jitter lines and JSON
// that --noise adds to the design and its analysis.
#pragma once

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "cli/context.h"
#include "core/loopfilter/phase_noise_analysis.h"

namespace velorin::cli {

struct NoiseOptions {
    bool enabled = false;
    core::PhaseNoiseParameters parameters;
    double outputDivider = 1.0;
    std::string measuredFile;
    std::string csvFile;
};

// Adds --noise (which needs the input frequency) and the options of the noise model.
void AddNoiseOptions(CLI::App &command, NoiseOptions &options, CLI::Option *input);

// Reads the measured trace, analyses and writes the curves when asked. Errors go to the
// context's error stream and set its exit code; the analysis is returned whenever it was made.
std::optional<core::PhaseNoiseAnalysis> RunNoise(Context &context, const NoiseOptions &options,
                                                 const core::LoopFilterRequest &request,
                                                 const core::LoopFilterDesign &design,
                                                 double inputMHz);

nlohmann::json NoiseJson(const core::PhaseNoiseAnalysis &analysis);
void PrintNoise(std::ostream &out, const core::PhaseNoiseAnalysis &analysis);

}  // namespace velorin::cli
