// The phase noise and jitter of the ideal and the chosen components of one design, with a
// measured trace's jitter over the same band beside them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/loopfilter/jitter_integral.h"
#include "core/loopfilter/loop_filter.h"
#include "core/loopfilter/measured_trace.h"
#include "core/loopfilter/phase_noise_model.h"

namespace velorin::core {

struct NoiseCurvePoint {
    double offsetHz = 0.0;
    NoiseContributions values;
};

struct LoopNoise {
    std::vector<NoiseCurvePoint> points;  // at NoiseCurveOffsets()
    JitterFigures jitter;                 // over the band
};

struct MeasuredJitter {
    JitterFigures jitter;
    double coveredLowHz = 0.0;  // the part of the band the trace covers
    double coveredHighHz = 0.0;
};

struct PhaseNoiseAnalysis {
    NoiseFrequencies frequencies;
    double bandLowHz = 0.0;
    double bandHighHz = 0.0;
    // None for a loop that does not exist or does not settle: it does not lock, so it has no
    // phase noise to speak of. The notes say why.
    std::optional<LoopNoise> ideal;
    std::optional<LoopNoise> chosen;
    std::optional<MeasuredJitter> measured;  // none without a trace reaching into the band
    std::vector<std::string> notes;
};

// The parameters must have passed CheckPhaseNoiseParameters and the input frequency must be
// positive; with a failed design both loops are absent.
PhaseNoiseAnalysis AnalyzePhaseNoise(const LoopFilterRequest &request,
                                     const LoopFilterDesign &design,
                                     const PhaseNoiseParameters &parameters, double inputHz,
                                     double outputDivider, const MeasuredTrace *measured = nullptr);

// The jitter of a trace over the part of [lowHz, highHz] it covers; none when it covers none.
std::optional<MeasuredJitter> MeasuredTraceJitter(const MeasuredTrace &trace, double lowHz,
                                                  double highHz, double outputHz);

// "12 kHz", "20 MHz", "1.5 kHz": an offset as the figures name it.
std::string OffsetName(double hz);

// A header line, then per offset the total and every contribution of both loops; values that
// do not exist are left empty.
std::string FormatNoiseCsv(const PhaseNoiseAnalysis &analysis);

}  // namespace velorin::core
