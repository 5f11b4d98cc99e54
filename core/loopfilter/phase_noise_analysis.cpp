#include "core/loopfilter/phase_noise_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/loopfilter/loop_analysis.h"
#include "core/loopfilter/step_response.h"

namespace velorin::core {

namespace {

// The jitter integral runs over the model sampled this finely across the band and joined as
// straight lines in (log f, dB); the curve is smooth, so the figure stays well within 1 % of
// the model's exact integral.
constexpr double kJitterPointsPerDecade = 40.0;

std::vector<NoisePoint> BandTotal(const LoopModel &loop, const LoopFilterComponents &c,
                                  const PhaseNoiseParameters &p, const NoiseFrequencies &f) {
    const double decades = std::log10(p.bandHighHz / p.bandLowHz);
    const int steps = std::max(1, static_cast<int>(std::ceil(decades * kJitterPointsPerDecade)));
    std::vector<NoisePoint> total;
    total.reserve(static_cast<size_t>(steps) + 1);
    for (int i = 0; i <= steps; ++i) {
        const double offset =
            i == steps ? p.bandHighHz : p.bandLowHz * std::pow(10.0, decades * i / steps);
        total.push_back({offset, PhaseNoiseAt(loop, c, p, f, offset).total});
    }
    return total;
}

std::optional<LoopNoise> NoiseOfLoop(const char *which, const LoopModel &loop,
                                     const LoopFilterComponents &c, const PhaseNoiseParameters &p,
                                     const NoiseFrequencies &f, std::vector<std::string> &notes) {
    if (!loop.defined || !ComputeStepResponse(loop).stable) {
        notes.push_back(std::string(which) +
                        " components: the loop does not lock, so it has no phase noise");
        return std::nullopt;
    }
    LoopNoise noise;
    for (double offset : NoiseCurveOffsets()) {
        noise.points.push_back({offset, PhaseNoiseAt(loop, c, p, f, offset)});
    }
    const std::vector<NoisePoint> total = BandTotal(loop, c, p, f);
    noise.jitter =
        JitterFromPower(IntegrateNoisePower(total, p.bandLowHz, p.bandHighHz), f.outputHz);
    return noise;
}

void AppendCsv(std::string &line, double value) {
    line += ',';
    if (std::isfinite(value)) line += NoiseNumber(value);
}

}  // namespace

std::optional<MeasuredJitter> MeasuredTraceJitter(const MeasuredTrace &trace, double lowHz,
                                                  double highHz, double outputHz) {
    if (trace.points.empty()) return std::nullopt;
    const double low = std::max(lowHz, trace.points.front().offsetHz);
    const double high = std::min(highHz, trace.points.back().offsetHz);
    if (!(high > low)) return std::nullopt;
    MeasuredJitter m;
    m.jitter = JitterFromPower(IntegrateNoisePower(trace.points, low, high), outputHz);
    m.coveredLowHz = low;
    m.coveredHighHz = high;
    return m;
}

PhaseNoiseAnalysis AnalyzePhaseNoise(const LoopFilterRequest &request,
                                     const LoopFilterDesign &design,
                                     const PhaseNoiseParameters &parameters, double inputHz,
                                     double outputDivider, const MeasuredTrace *measured) {
    PhaseNoiseAnalysis a;
    a.frequencies =
        MakeNoiseFrequencies(inputHz, request.prescaler, request.feedbackDivider, outputDivider);
    a.bandLowHz = parameters.bandLowHz;
    a.bandHighHz = parameters.bandHighHz;
    if (design.status == 0) {
        const LoopModels models = MakeLoopModels(request, design);
        a.ideal =
            NoiseOfLoop("Ideal", models.ideal, design.ideal, parameters, a.frequencies, a.notes);
        a.chosen = NoiseOfLoop("Chosen", models.chosen, design.selection.chosen, parameters,
                               a.frequencies, a.notes);
    }
    if (measured) {
        a.measured =
            MeasuredTraceJitter(*measured, a.bandLowHz, a.bandHighHz, a.frequencies.outputHz);
        if (!a.measured) {
            a.notes.push_back("The measured trace (" +
                              OffsetName(measured->points.front().offsetHz) + " to " +
                              OffsetName(measured->points.back().offsetHz) +
                              ") does not reach into the jitter band");
        }
    }
    return a;
}

std::string OffsetName(double hz) {
    static const struct {
        double scale;
        const char *unit;
    } kUnits[] = {{1e9, "GHz"}, {1e6, "MHz"}, {1e3, "kHz"}, {1.0, "Hz"}};
    for (const auto &u : kUnits) {
        if (std::abs(hz) >= u.scale || u.scale == 1.0) {
            char text[40];
            std::snprintf(text, sizeof(text), "%.4g %s", hz / u.scale, u.unit);
            return text;
        }
    }
    return std::string();
}

std::string FormatNoiseCsv(const PhaseNoiseAnalysis &analysis) {
    static const char *const kNames[] = {"Total", "Pfd", "Flicker", "Reference", "Vco", "R2", "R3"};
    std::string csv = "offsetHz";
    for (const char *loop : {"ideal", "chosen"}) {
        for (const char *name : kNames) csv += std::string(",") + loop + name + "Dbc";
    }
    csv += "\n";
    const std::vector<double> &offsets = NoiseCurveOffsets();
    for (size_t i = 0; i < offsets.size(); ++i) {
        std::string line = NoiseNumber(offsets[i]);
        for (const auto *loop : {&analysis.ideal, &analysis.chosen}) {
            const double nan = std::nan("");
            NoiseContributions v{nan, nan, nan, nan, nan, nan, nan};
            if (*loop && i < (*loop)->points.size()) v = (*loop)->points[i].values;
            for (double value : {v.total, v.pfd, v.flicker, v.reference, v.vco, v.r2, v.r3}) {
                AppendCsv(line, value);
            }
        }
        csv += line + "\n";
    }
    return csv;
}

}  // namespace velorin::core
