#include "core/loopfilter/phase_noise_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/base/program_names.h"
#include "core/loopfilter/noise_model_form.h"

namespace velorin::core {

namespace {

// The axis shows the totals and the trace, and at most this far below their highest point:
// contributions far under the total are of no interest and would squeeze the rest.
constexpr double kAxisStepDb = 10.0;
constexpr double kAxisSpanDb = 120.0;

void Add(PlotCurve &curve, double x, double y) {
    if (!std::isfinite(y)) return;
    curve.x.push_back(x);
    curve.y.push_back(y);
}

std::string Fixed(double value, const char *format) {
    char text[32];
    std::snprintf(text, sizeof(text), format, value);
    return text;
}

std::string BandName(double low, double high) {
    return OffsetName(low) + "\u2013" + OffsetName(high);
}

}  // namespace

FileRequest NoiseCsvRequest() {
    FileRequest request;
    request.filters = {{"Comma-separated values", "*.csv"}, {kAllFilesLabel, "*"}};
    request.defaultExtension = "csv";
    request.initialName = "phase_noise.csv";
    return request;
}

FileRequest MeasuredTraceRequest() {
    FileRequest request;
    request.filters = {{"Phase-noise traces", "*.csv *.txt *.tsv"}, {kAllFilesLabel, "*"}};
    request.overwritePrompt = false;
    return request;
}

PhaseNoisePanelModel::PhaseNoisePanelModel(const PhaseNoiseParameters &parameters)
    : parameters_(parameters) {}

void PhaseNoisePanelModel::SetPlan(std::optional<double> inputMHz, double outputDivider) {
    inputMHz_ = inputMHz && *inputMHz > 0.0 && std::isfinite(*inputMHz) ? inputMHz : std::nullopt;
    outputDivider_ = outputDivider > 0.0 && std::isfinite(outputDivider) ? outputDivider : 1.0;
}

void PhaseNoisePanelModel::SetParameters(const PhaseNoiseParameters &parameters) {
    if (CheckPhaseNoiseParameters(parameters).empty()) parameters_ = parameters;
}

std::string PhaseNoisePanelModel::LoadMeasured(const std::string &path) {
    MeasuredTraceRead read = LoadMeasuredTrace(path);
    if (!read.error.empty()) return read.error;
    measured_ = std::move(read.trace);
    return std::string();
}

void PhaseNoisePanelModel::Update(const LoopFilterRequest &request,
                                  const LoopFilterDesign &design) {
    if (inputMHz_) {
        analysis_ = AnalyzePhaseNoise(request, design, parameters_, *inputMHz_ * 1e6,
                                      outputDivider_, measured_ ? &*measured_ : nullptr);
    } else {
        analysis_.reset();
    }
    MakePlot();
}

void PhaseNoisePanelModel::MakePlot() {
    plot_ = NoisePlotData{};
    if (measured_) {
        for (const NoisePoint &p : measured_->points) Add(plot_.measured, p.offsetHz, p.dbc);
    }
    if (analysis_) {
        if (analysis_->ideal) {
            for (const NoiseCurvePoint &p : analysis_->ideal->points) {
                Add(plot_.idealTotal, p.offsetHz, p.values.total);
            }
        }
        if (analysis_->chosen) {
            for (const NoiseCurvePoint &p : analysis_->chosen->points) {
                const NoiseContributions &v = p.values;
                Add(plot_.chosenTotal, p.offsetHz, v.total);
                Add(plot_.pfd, p.offsetHz, v.pfd);
                Add(plot_.flicker, p.offsetHz, v.flicker);
                Add(plot_.reference, p.offsetHz, v.reference);
                Add(plot_.vco, p.offsetHz, v.vco);
                Add(plot_.r2, p.offsetHz, v.r2);
                Add(plot_.r3, p.offsetHz, v.r3);
            }
        }
    }
    double low = INFINITY, high = -INFINITY;
    for (const PlotCurve *c : {&plot_.chosenTotal, &plot_.idealTotal, &plot_.measured}) {
        for (double y : c->y) {
            low = std::min(low, y);
            high = std::max(high, y);
        }
    }
    if (low <= high) {
        plot_.highDbc = std::ceil(high / kAxisStepDb) * kAxisStepDb;
        plot_.lowDbc = std::max(std::floor(low / kAxisStepDb) * kAxisStepDb - kAxisStepDb,
                                plot_.highDbc - kAxisSpanDb);
    }
}

std::vector<JitterRow> PhaseNoisePanelModel::Rows() const {
    const std::string band = BandName(parameters_.bandLowHz, parameters_.bandHighHz);
    JitterRow jitter{"RMS jitter " + band + " (fs)", "none", "none", "none"};
    JitterRow phase{"Integrated phase (deg)", "none", "none", "none"};
    const auto fill = [&](const JitterFigures &figures, std::string JitterRow::*cell) {
        jitter.*cell = Fixed(figures.rmsJitterS * 1e15, "%.1f");
        phase.*cell = Fixed(figures.integratedPhaseDeg, "%.4f");
    };
    if (analysis_) {
        if (analysis_->ideal) fill(analysis_->ideal->jitter, &JitterRow::ideal);
        if (analysis_->chosen) fill(analysis_->chosen->jitter, &JitterRow::chosen);
        if (analysis_->measured) fill(analysis_->measured->jitter, &JitterRow::measured);
    }
    return {jitter, phase};
}

std::string PhaseNoisePanelModel::MeasuredFigures() const {
    if (!measured_) return std::string();
    std::string name = "Measured: " + measured_->name;
    if (!analysis_ || !analysis_->measured) return name;
    const MeasuredJitter &m = *analysis_->measured;
    return name + ", over " + BandName(m.coveredLowHz, m.coveredHighHz);
}

std::vector<std::string> PhaseNoisePanelModel::Notes() const {
    std::vector<std::string> notes =
        analysis_ ? analysis_->notes : std::vector<std::string>{kNeedInputText};
    if (NoiseModelToStored(parameters_) == NoiseModelToStored(PhaseNoiseParameters{})) {
        notes.push_back(std::string("Noise model: ") + kNoiseDefaultsNote);
    }
    return notes;
}

std::string PhaseNoisePanelModel::CurvesCsv() const {
    return analysis_ ? FormatNoiseCsv(*analysis_) : std::string();
}

}  // namespace velorin::core
