// What the loop-filter dialog shows of the phase noise, without its window: the curves of the
// third plot, the jitter rows of the figures, the measured trace and what the figures need.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/base/prompts.h"
#include "core/loopfilter/loop_filter_dialog_model.h"
#include "core/loopfilter/phase_noise_analysis.h"

namespace velorin::core {

// x in Hz, y in dBc/Hz at the output.
struct NoisePlotData {
    PlotCurve chosenTotal, idealTotal;
    // The chosen components' contributions.
    PlotCurve pfd, flicker, reference, vco, r2, r3;
    PlotCurve measured;
    double startHz = 1e2, stopHz = 1e8;
    double lowDbc = -180.0, highDbc = -60.0;  // the axis: the totals and the trace in view
};

inline constexpr const char *kNeedInputText =
    "The phase noise and jitter need the input frequency: enter it in the main window.";

struct JitterRow {
    std::string figure;
    std::string ideal;  // "none" where the figure does not exist
    std::string chosen;
    std::string measured;
};

FileRequest NoiseCsvRequest();
FileRequest MeasuredTraceRequest();

class PhaseNoisePanelModel {
  public:
    explicit PhaseNoisePanelModel(const PhaseNoiseParameters &parameters = {});

    // The main view's plan: its input frequency (none when its field is empty or not a
    // positive number) and output divider.
    void SetPlan(std::optional<double> inputMHz, double outputDivider);
    void SetParameters(const PhaseNoiseParameters &parameters);
    const PhaseNoiseParameters &Parameters() const { return parameters_; }

    // Reads an analyser's export. Returns the message to show when it cannot be read; the
    // trace shown before then stays.
    std::string LoadMeasured(const std::string &path);
    bool HasMeasured() const { return measured_.has_value(); }

    // Works the figures out for the components shown.
    void Update(const LoopFilterRequest &request, const LoopFilterDesign &design);

    // "RMS jitter f1–f2 (fs)" and "Integrated phase (deg)", ideal, chosen and measured.
    std::vector<JitterRow> Rows() const;
    // Which trace the measured figures are of and the part of the band it covers; empty
    // without a trace.
    std::string MeasuredFigures() const;
    std::vector<std::string> Notes() const;
    const NoisePlotData &Plot() const { return plot_; }
    // The curves can be saved once there are any.
    bool CanSaveCurves() const { return analysis_.has_value(); }
    std::string CurvesCsv() const;

  private:
    void MakePlot();

    PhaseNoiseParameters parameters_;
    std::optional<double> inputMHz_;
    double outputDivider_ = 1.0;
    std::optional<MeasuredTrace> measured_;
    std::optional<PhaseNoiseAnalysis> analysis_;  // none without an input frequency
    NoisePlotData plot_;
};

}  // namespace velorin::core
