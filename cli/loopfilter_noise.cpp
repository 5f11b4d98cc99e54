#include "cli/loopfilter_noise.h"

#include <cmath>
#include <cstdio>

#include "core/base/file_io.h"

namespace velorin::cli {

namespace {

using core::PhaseNoiseAnalysis;

nlohmann::json Dbc(double value) {
    return std::isfinite(value) ? nlohmann::json(value) : nlohmann::json(nullptr);
}

nlohmann::json LoopJson(const std::optional<core::LoopNoise> &noise) {
    if (!noise) return nullptr;
    nlohmann::json points = nlohmann::json::array();
    for (const core::NoiseCurvePoint &p : noise->points) {
        const core::NoiseContributions &v = p.values;
        points.push_back({{"offsetHz", p.offsetHz},
                          {"totalDbc", Dbc(v.total)},
                          {"pfdDbc", Dbc(v.pfd)},
                          {"flickerDbc", Dbc(v.flicker)},
                          {"referenceDbc", Dbc(v.reference)},
                          {"vcoDbc", Dbc(v.vco)},
                          {"r2Dbc", Dbc(v.r2)},
                          {"r3Dbc", Dbc(v.r3)}});
    }
    return {{"rmsJitterFs", noise->jitter.rmsJitterS * 1e15},
            {"integratedPhaseDeg", noise->jitter.integratedPhaseDeg},
            {"points", points}};
}

std::string Figure(const std::optional<core::LoopNoise> &noise, bool phase) {
    if (!noise) return "none";
    char text[32];
    if (phase) {
        std::snprintf(text, sizeof(text), "%.4f", noise->jitter.integratedPhaseDeg);
    } else {
        std::snprintf(text, sizeof(text), "%.1f", noise->jitter.rmsJitterS * 1e15);
    }
    return text;
}

std::string Band(double low, double high) {
    return core::OffsetName(low) + "-" + core::OffsetName(high);
}

// "LOW,HIGH" in Hz.
std::string ReadBand(const std::string &text, core::PhaseNoiseParameters &p) {
    const size_t comma = text.find(',');
    const auto low =
        comma == std::string::npos ? std::nullopt : core::ReadDecimal(text.substr(0, comma));
    const auto high =
        comma == std::string::npos ? std::nullopt : core::ReadDecimal(text.substr(comma + 1));
    if (!low || !high || !(*low > 0.0) || !(*high > *low)) {
        return "the band is LOW,HIGH in Hz, LOW positive and below HIGH";
    }
    p.bandLowHz = *low;
    p.bandHighHz = *high;
    return std::string();
}

}  // namespace

void AddNoiseOptions(CLI::App &command, NoiseOptions &options, CLI::Option *input) {
    core::PhaseNoiseParameters &p = options.parameters;
    auto *noise = command.add_flag("--noise", options.enabled,
                                   "Phase noise and RMS jitter at the output (needs --input)");
    noise->needs(input);
    // A value that cannot be read is a usage error, as for any other option.
    const auto points = [](const char *name, std::vector<core::NoisePoint> &into) {
        return [name, &into](const std::string &text) {
            core::NoisePointsText read = core::ReadNoisePoints(text);
            if (!read.error.empty()) throw CLI::ValidationError(name, read.error);
            into = std::move(read.points);
        };
    };
    command.add_option("--output-divider", options.outputDivider, "Output divider (default 1)")
        ->check(CLI::PositiveNumber)
        ->needs(noise);
    command.add_option("--pfd-fom", p.pfdFomDbc, "Charge-pump floor, dBc/Hz (default -222)")
        ->needs(noise);
    command
        .add_option("--pfd-flicker", p.pfdFlickerDbc,
                    "Charge-pump flicker at 10 kHz on 1 GHz, dBc/Hz (default -120)")
        ->needs(noise);
    command
        .add_option_function<std::string>("--vco-noise", points("--vco-noise", p.vcoPoints),
                                          "VCO noise points OFFSET:DBC,...")
        ->needs(noise);
    command
        .add_option_function<std::string>("--ref-noise", points("--ref-noise", p.referencePoints),
                                          "Reference noise points OFFSET:DBC,...")
        ->needs(noise);
    command.add_option("--temperature", p.temperatureK, "Temperature in K (default 300)")
        ->check(CLI::PositiveNumber)
        ->needs(noise);
    command
        .add_option_function<std::string>(
            "--jitter-band",
            [&p](const std::string &text) {
                const std::string why = ReadBand(text, p);
                if (!why.empty()) throw CLI::ValidationError("--jitter-band", why);
            },
            "Jitter band LOW,HIGH in Hz (default 12e3,20e6)")
        ->needs(noise);
    command.add_option("--measured", options.measuredFile, "A measured trace to set beside")
        ->needs(noise);
    command.add_option("--noise-csv", options.csvFile, "Write the noise curves to this CSV file")
        ->needs(noise);
}

std::optional<PhaseNoiseAnalysis> RunNoise(Context &context, const NoiseOptions &options,
                                           const core::LoopFilterRequest &request,
                                           const core::LoopFilterDesign &design, double inputMHz) {
    std::optional<core::MeasuredTrace> measured;
    if (!options.measuredFile.empty()) {
        core::MeasuredTraceRead read = core::LoadMeasuredTrace(options.measuredFile);
        if (!read.error.empty()) {
            context.err << read.error << "\n";
            context.exitCode = 1;
            return std::nullopt;
        }
        measured = std::move(read.trace);
    }
    PhaseNoiseAnalysis analysis =
        core::AnalyzePhaseNoise(request, design, options.parameters, inputMHz * 1e6,
                                options.outputDivider, measured ? &*measured : nullptr);
    if (!options.csvFile.empty()) {
        std::string why;
        if (!core::WriteFileAtomically(options.csvFile, core::FormatNoiseCsv(analysis), &why)) {
            context.err << "Cannot write the noise curves: " << why << "\n";
            context.exitCode = 1;
        }
    }
    return analysis;
}

nlohmann::json NoiseJson(const PhaseNoiseAnalysis &a) {
    nlohmann::json measured = nullptr;
    if (a.measured) {
        measured = {{"rmsJitterFs", a.measured->jitter.rmsJitterS * 1e15},
                    {"integratedPhaseDeg", a.measured->jitter.integratedPhaseDeg},
                    {"coveredLowHz", a.measured->coveredLowHz},
                    {"coveredHighHz", a.measured->coveredHighHz}};
    }
    return {{"outputHz", a.frequencies.outputHz},
            {"vcoHz", a.frequencies.vcoHz},
            {"pfdHz", a.frequencies.pfdHz},
            {"band", {{"lowHz", a.bandLowHz}, {"highHz", a.bandHighHz}}},
            {"ideal", LoopJson(a.ideal)},
            {"chosen", LoopJson(a.chosen)},
            {"measured", measured},
            {"notes", a.notes}};
}

void PrintNoise(std::ostream &out, const PhaseNoiseAnalysis &a) {
    char line[200];
    std::snprintf(line, sizeof(line),
                  "Phase noise at the output, %.3f MHz (VCO %.3f MHz, comparison %.3f MHz):\n"
                  "  %-32s %-16s %s\n",
                  a.frequencies.outputHz / 1e6, a.frequencies.vcoHz / 1e6,
                  a.frequencies.pfdHz / 1e6, "", "ideal", "chosen");
    out << line;
    const std::string jitter = "RMS jitter " + Band(a.bandLowHz, a.bandHighHz) + " (fs)";
    std::snprintf(line, sizeof(line), "  %-32s %-16s %s\n", jitter.c_str(),
                  Figure(a.ideal, false).c_str(), Figure(a.chosen, false).c_str());
    out << line;
    std::snprintf(line, sizeof(line), "  %-32s %-16s %s\n", "Integrated phase (deg)",
                  Figure(a.ideal, true).c_str(), Figure(a.chosen, true).c_str());
    out << line;
    if (a.measured) {
        std::snprintf(line, sizeof(line),
                      "  Measured trace over %s: RMS jitter %.1f fs, integrated phase %.4f deg\n",
                      Band(a.measured->coveredLowHz, a.measured->coveredHighHz).c_str(),
                      a.measured->jitter.rmsJitterS * 1e15, a.measured->jitter.integratedPhaseDeg);
        out << line;
    }
    for (const std::string &note : a.notes) out << "Note: " << note << "\n";
}

}  // namespace velorin::cli
