#include "core/loopfilter/loop_filter_dialog_model.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/base/number_text.h"
#include "core/base/program_names.h"
#include "core/loopfilter/component_selection.h"
#include "core/loopfilter/loop_filter_constants.h"
#include "core/loopfilter/step_response.h"

namespace velorin::core {

namespace {

constexpr int kStepPoints = 300;
// The step plot runs a quarter past the later of the two lock times to the second tolerance,
// so that the whole settling is in view.
constexpr double kStepWindowFactor = 1.25;
// Without a lock time, this many time constants of the wanted bandwidth.
constexpr double kStepFallbackRadians = 40.0;
// An unstable loop's step grows without bound; the plot keeps it to a readable band.
constexpr double kStepPlotLow = -1.0, kStepPlotHigh = 3.0;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string Figure(const std::optional<double> &value, int precision, double scale = 1.0) {
    if (!value || !std::isfinite(*value * scale)) return "none";
    return FormatFixed(*value * scale, precision);
}

// The design shown before any computation has succeeded: no components at all.
LoopFilterDesign EmptyDesign() {
    LoopFilterDesign design;
    LoopFilterComponents none;
    none.r3 = kR3Ohms;
    design.selection = SelectLoopFilterComponents(none);
    design.controlWord = LoopFilterControlWord(design.selection.codes);
    return design;
}

void AddPoint(PlotCurve &curve, double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    curve.x.push_back(x);
    curve.y.push_back(y);
}

std::optional<PlotMarker> PhaseMarginMarker(const std::optional<LoopResponse> &r) {
    if (!r || !r->crossoverHz || !r->phaseMarginDeg) return std::nullopt;
    return PlotMarker{*r->crossoverHz, -180.0, *r->phaseMarginDeg - 180.0};
}

std::optional<double> LockSeconds(const std::optional<LoopResponse> &r, size_t index) {
    if (!r || r->lockTimes.size() <= index) return std::nullopt;
    return r->lockTimes[index].seconds;
}

BodePlotData MakeBodePlot(const std::vector<BodePoint> &points, const LoopAnalysis &analysis) {
    BodePlotData plot;
    for (const BodePoint &p : points) {
        AddPoint(plot.idealMagnitudeDb, p.frequencyHz, p.ideal.openLoopDb);
        AddPoint(plot.chosenMagnitudeDb, p.frequencyHz, p.chosen.openLoopDb);
        AddPoint(plot.idealPhaseDeg, p.frequencyHz, p.ideal.openLoopPhaseDeg);
        AddPoint(plot.chosenPhaseDeg, p.frequencyHz, p.chosen.openLoopPhaseDeg);
    }
    plot.idealPhaseMargin = PhaseMarginMarker(analysis.ideal);
    plot.chosenPhaseMargin = PhaseMarginMarker(analysis.chosen);
    const BodeOptions range;
    plot.startHz = range.startHz;
    plot.stopHz = range.stopHz;
    return plot;
}

// The step of both loops on one time grid; a loop that does not exist gives NaN.
std::vector<StepSample> SampleSteps(const LoopModels &models, const LoopAnalysis &analysis,
                                    double bandwidthHz) {
    double stop = 0.0;
    for (const auto *r : {&analysis.ideal, &analysis.chosen}) {
        if (const auto lock = LockSeconds(*r, 1)) stop = std::max(stop, *lock);
    }
    stop *= kStepWindowFactor;
    if (!(stop > 0.0) || !std::isfinite(stop)) {
        stop = bandwidthHz > 0.0 && std::isfinite(bandwidthHz)
                   ? kStepFallbackRadians / (2.0 * M_PI * bandwidthHz)
                   : 1e-3;
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const StepResponse ideal = ComputeStepResponse(models.ideal);
    const StepResponse chosen = ComputeStepResponse(models.chosen);
    std::vector<StepSample> samples(kStepPoints);
    for (int i = 0; i < kStepPoints; ++i) {
        const double t = stop * i / (kStepPoints - 1);
        samples[i] = {t, models.ideal.defined ? StepValue(ideal, t) : nan,
                      models.chosen.defined ? StepValue(chosen, t) : nan};
    }
    return samples;
}

StepPlotData MakeStepPlot(const std::vector<StepSample> &samples, const LoopAnalysis &analysis) {
    StepPlotData plot;
    double top = 1.0;
    for (const StepSample &s : samples) {
        const auto clip = [](double y) { return std::clamp(y, kStepPlotLow, kStepPlotHigh); };
        AddPoint(plot.ideal, s.timeS, clip(s.ideal));
        AddPoint(plot.chosen, s.timeS, clip(s.chosen));
    }
    for (const PlotCurve *c : {&plot.ideal, &plot.chosen}) {
        for (double y : c->y) top = std::max(top, y);
    }
    plot.stopS = samples.empty() ? 0.0 : samples.back().timeS;
    const auto marker = [&](const std::optional<LoopResponse> &r) -> std::optional<PlotMarker> {
        const auto lock = LockSeconds(r, 0);
        if (!lock || !std::isfinite(*lock)) return std::nullopt;
        return PlotMarker{*lock, 0.0, top};
    };
    plot.idealLock = marker(analysis.ideal);
    plot.chosenLock = marker(analysis.chosen);
    return plot;
}

std::string Csv(double value) {
    if (!std::isfinite(value)) return std::string();
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof(text), value, std::chars_format::general, 9);
    return std::string(text, result.ptr);
}

}  // namespace

std::optional<int> ReadIntegerField(const std::string &text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    // from_chars takes only the minus sign; a plus is taken here, but not both.
    const bool plus = begin < end && text[begin] == '+';
    if (plus) ++begin;
    if (begin == end || (plus && text[begin] == '-')) return std::nullopt;
    int value = 0;
    const char *first = text.data() + begin, *last = text.data() + end;
    const auto [ptr, error] = std::from_chars(first, last, value);
    if (error != std::errc() || ptr != last) return std::nullopt;
    return value;
}

std::string LockToleranceName(double tolerance) {
    char text[16];
    std::snprintf(text, sizeof(text), "%.0e", tolerance);  // "1e-02"
    std::string name(text);
    const size_t e = name.find("e-0");
    if (e != std::string::npos) name.erase(e + 2, 1);
    return name;
}

int TruncateToInt(double value) {
    if (std::isnan(value)) return 0;
    const double truncated = std::trunc(value);
    if (truncated >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (truncated <= static_cast<double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(truncated);
}

FileRequest LoopFilterExportRequest(LoopFilterExport what) {
    FileRequest request;
    switch (what) {
        case LoopFilterExport::PlotsPng:
            request.filters = {{"PNG image", "*.png"}};
            request.defaultExtension = "png";
            request.initialName = "loop_response.png";
            break;
        case LoopFilterExport::BodeCsv:
            request.filters = {{"Comma-separated values", "*.csv"}};
            request.defaultExtension = "csv";
            request.initialName = "loop_bode.csv";
            break;
        case LoopFilterExport::StepCsv:
            request.filters = {{"Comma-separated values", "*.csv"}};
            request.defaultExtension = "csv";
            request.initialName = "loop_step.csv";
            break;
    }
    request.filters.push_back({kAllFilesLabel, "*"});
    return request;
}

std::string LoopFilterExportFailedText(const std::string &path, const std::string &why) {
    return "The file could not be written:\n" + path + "\n" + why;
}

LoopFilterDialogModel::LoopFilterDialogModel(const LoopFilterRequest &request)
    : request_(request),
      bandwidthKHz_(TruncateToInt(request.bandwidthHz / 1000.0)),
      phaseMarginInt_(TruncateToInt(request.phaseMarginDeg)),
      shown_(EmptyDesign()),
      shownRequest_(request) {
    Recompute();
}

void LoopFilterDialogModel::MoveSlider(LoopFilterSlider slider, int position) {
    if (slider == LoopFilterSlider::Bandwidth) {
        bandwidthKHz_ = position;
    } else {
        phaseMarginInt_ = position;
    }
    request_.bandwidthHz = bandwidthKHz_ * 1000.0;
    request_.phaseMarginDeg = phaseMarginInt_;
    Recompute();
}

LoopFilterDialogModel::Typed LoopFilterDialogModel::TypeValue(LoopFilterSlider field,
                                                              const std::string &text) {
    const std::optional<int> value = ReadIntegerField(text);
    if (!value) return Typed::NotInteger;
    const bool bandwidth = field == LoopFilterSlider::Bandwidth;
    if (*value == (bandwidth ? bandwidthKHz_ : phaseMarginInt_)) return Typed::Unchanged;
    const int position =
        bandwidth ? std::clamp(*value, kBandwidthSliderMinKHz, kBandwidthSliderMaxKHz)
                  : std::clamp(*value, kPhaseMarginSliderMinDeg, kPhaseMarginSliderMaxDeg);
    MoveSlider(field, position);
    return Typed::Moved;
}

LoopFilterDialogModel::Accept LoopFilterDialogModel::AcceptEdits(
    const std::string &bandwidthText, const std::string &phaseMarginText) {
    if (!ReadIntegerField(bandwidthText)) return Accept::BandwidthNotInteger;
    if (!ReadIntegerField(phaseMarginText)) return Accept::PhaseMarginNotInteger;
    TypeValue(LoopFilterSlider::Bandwidth, bandwidthText);
    TypeValue(LoopFilterSlider::PhaseMargin, phaseMarginText);
    return Accept::Ok;
}

LoopFilterChoice LoopFilterDialogModel::Choice() const {
    const LoopFilterCodes &codes = shown_.selection.codes;
    return {request_.bandwidthHz, request_.phaseMarginDeg, codes.c1, codes.c2, codes.c3, codes.r2};
}

void LoopFilterDialogModel::Recompute() {
    const LoopFilterDesign design = DesignLoopFilter(request_);
    failed_ = design.status != 0;
    if (failed_) return;  // the previous components, figures and plots stay
    shown_ = design;
    shownRequest_ = request_;
    designed_ = true;
    response_.reset();
}

const LoopFilterDialogModel::LoopResponsePanel &LoopFilterDialogModel::Response() const {
    if (response_) return *response_;
    LoopResponsePanel &r = response_.emplace();
    if (!designed_) return r;  // no components: no figures, nothing to plot
    LoopAnalysisOptions options;
    options.lockTolerances.assign(std::begin(kPanelLockTolerances), std::end(kPanelLockTolerances));
    r.analysis = AnalyzeLoopFilter(shownRequest_, shown_, options);
    const LoopModels models = MakeLoopModels(shownRequest_, shown_);
    r.bode = ComputeBodeData(models.ideal, models.chosen);
    r.bodePlot = MakeBodePlot(r.bode, r.analysis);
    r.steps = SampleSteps(models, r.analysis, shownRequest_.bandwidthHz);
    r.stepPlot = MakeStepPlot(r.steps, r.analysis);
    return r;
}

std::vector<LoopResponseRow> LoopFilterDialogModel::ResponseRows() const {
    struct Field {
        const char *name;
        std::optional<double> LoopResponse::*value;
        int precision;
        double scale;
    };
    static const Field kFields[] = {
        {"Crossover (kHz)", &LoopResponse::crossoverHz, 1, 1e-3},
        {"Phase margin (deg)", &LoopResponse::phaseMarginDeg, 1, 1.0},
        {"Gain margin (dB)", &LoopResponse::gainMarginDb, 1, 1.0},
        {"Closed loop -3 dB (kHz)", &LoopResponse::closedLoopBandwidthHz, 1, 1e-3},
        {"Peaking (dB)", &LoopResponse::peakingDb, 2, 1.0},
        {"Overshoot (%)", &LoopResponse::overshootPct, 2, 1.0},
    };
    const auto cell = [](const std::optional<LoopResponse> &r, const Field &f) {
        return r ? Figure((*r).*f.value, f.precision, f.scale) : std::string("none");
    };
    const LoopAnalysis &analysis = Response().analysis;
    std::vector<LoopResponseRow> rows;
    for (const Field &f : kFields) {
        rows.push_back({f.name, cell(analysis.ideal, f), cell(analysis.chosen, f)});
    }
    for (size_t i = 0; i < std::size(kPanelLockTolerances); ++i) {
        rows.push_back({"Lock to " + LockToleranceName(kPanelLockTolerances[i]) + " (\u00b5s)",
                        Figure(LockSeconds(analysis.ideal, i), 2, 1e6),
                        Figure(LockSeconds(analysis.chosen, i), 2, 1e6)});
    }
    return rows;
}

std::vector<std::string> LoopFilterDialogModel::ResponseNotes() const {
    std::vector<std::string> notes;
    if (failed_) {
        notes.push_back("No loop filter can be designed for " +
                        FormatFixed(request_.bandwidthHz / 1000.0, 1) + " kHz and " +
                        FormatFixed(request_.phaseMarginDeg, 1) +
                        " degrees with these inputs; the components shown are the previous ones.");
    }
    const std::vector<std::string> &warnings = Response().analysis.warnings;
    notes.insert(notes.end(), warnings.begin(), warnings.end());
    return notes;
}

std::string LoopFilterDialogModel::StepCsv() const {
    std::string csv = "timeS,idealStep,chosenStep\n";
    for (const StepSample &s : Response().steps) {
        csv += Csv(s.timeS) + "," + Csv(s.ideal) + "," + Csv(s.chosen) + "\n";
    }
    return csv;
}

}  // namespace velorin::core
