// The rules of the loop-filter dialog without its window: what construction, a slider move, a
// typed value and OK do to the dialog's values, and what the loop-response panel shows for them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/base/prompts.h"
#include "core/loopfilter/bode_data.h"
#include "core/loopfilter/loop_analysis.h"
#include "core/loopfilter/loop_filter.h"

namespace velorin::core {

// What the caller takes back after OK.
struct LoopFilterChoice {
    double bandwidthHz;
    double phaseMarginDeg;
    int c1Code;
    int c2Code;
    int c3Code;
    int r2Code;
};

// The codes of a choice, for StoreLoopFilterCodes: the caller keeps bits 19-31 of its word.
inline LoopFilterCodes ChoiceCodes(const LoopFilterChoice &choice) {
    return {choice.c1Code, choice.c2Code, choice.c3Code, choice.r2Code};
}

inline constexpr int kBandwidthSliderMinKHz = 50;
inline constexpr int kBandwidthSliderMaxKHz = 400;
inline constexpr int kPhaseMarginSliderMinDeg = 30;
inline constexpr int kPhaseMarginSliderMaxDeg = 80;
inline constexpr const char *kEnterIntegerText = "Please enter an integer.";

// The lock tolerances the response panel reports, in this order.
inline constexpr double kPanelLockTolerances[] = {1e-2, 1e-4, 1e-6};

enum class LoopFilterSlider { Bandwidth, PhaseMargin };

// A lock tolerance as the panel names it: 1e-2 reads "1e-2".
std::string LockToleranceName(double tolerance);

// An edit field read back as an integer: blanks around an optionally signed run of digits that
// fits an int; anything else (also an empty field) is refused.
std::optional<int> ReadIntegerField(const std::string &text);

// A double truncated toward zero, saturated at the int range (0 for NaN), so that any value a
// caller passes gives a defined slider position and edit text.
int TruncateToInt(double value);

struct LoopResponseRow {
    std::string figure;
    std::string ideal;  // "none" where the figure does not exist for that loop
    std::string chosen;
};

struct PlotCurve {
    std::vector<double> x;
    std::vector<double> y;
};

// A figure of one loop marked on a plot: a vertical line at x from y0 to y1.
struct PlotMarker {
    double x = 0.0;
    double y0 = 0.0;
    double y1 = 0.0;
};

struct BodePlotData {
    PlotCurve idealMagnitudeDb, chosenMagnitudeDb;  // x in Hz
    PlotCurve idealPhaseDeg, chosenPhaseDeg;
    // At the crossover: from -180 degrees up to the phase there, i.e. the phase margin.
    std::optional<PlotMarker> idealPhaseMargin, chosenPhaseMargin;
    double startHz = 0.0, stopHz = 0.0;
};

struct StepSample {
    double timeS = 0.0;
    double ideal = 0.0;  // relative to the frequency step; NaN when that loop does not exist
    double chosen = 0.0;
};

struct StepPlotData {
    // x in seconds, y relative to the frequency step; an unstable loop is cut to -1 to 3.
    PlotCurve ideal, chosen;
    // Lock time to the first panel tolerance, as a line from 0 to the top of the curves.
    std::optional<PlotMarker> idealLock, chosenLock;
    double lockTolerance = kPanelLockTolerances[0];
    double stopS = 0.0;
};

// What the response panel saves: both plots as one picture, or the points of either plot.
enum class LoopFilterExport { PlotsPng, BodeCsv, StepCsv };

FileRequest LoopFilterExportRequest(LoopFilterExport what);
std::string LoopFilterExportFailedText(const std::string &path, const std::string &why);

class LoopFilterDialogModel {
  public:
    // Designs the components for the request as given (the bandwidth is not rounded to kHz).
    explicit LoopFilterDialogModel(const LoopFilterRequest &request);

    // The integers of the edit fields; truncated toward zero. The sliders take the same values
    // as positions and bring them into their own ranges.
    int BandwidthKHz() const { return bandwidthKHz_; }
    int PhaseMarginInt() const { return phaseMarginInt_; }

    // A slider notification with the slider's position: the values follow that position and
    // the components are designed anew.
    void MoveSlider(LoopFilterSlider slider, int position);

    // A value typed into a field and committed (Enter, or the field left): an integer other
    // than the one shown moves that field's slider to it, brought into the slider's range, and
    // designs anew exactly as that slider move would; the field then shows the slider's value.
    // The integer shown, typed again, changes nothing, so that a value given at construction
    // outside the range survives a visit to its field.
    enum class Typed { Moved, Unchanged, NotInteger };
    Typed TypeValue(LoopFilterSlider field, const std::string &text);

    enum class Accept { Ok, BandwidthNotInteger, PhaseMarginNotInteger };
    // OK reads both edit fields back (bandwidth first) and takes each as a typed value, so the
    // result is what the fields show; a field that is no integer refuses OK and changes nothing.
    Accept AcceptEdits(const std::string &bandwidthText, const std::string &phaseMarginText);

    LoopFilterChoice Choice() const;

    // The components shown: the last design that succeeded. Before any succeeded, the choice
    // for no components at all (codes 0, R2 code 31).
    const LoopFilterDesign &Design() const { return shown_; }
    const LoopFilterLabels &Labels() const { return shown_.selection.labels; }
    // True when the latest computation failed and the components are those of before.
    bool DesignFailed() const { return failed_; }

    // The response panel, for the components shown. It is worked out when first asked for
    // after the components change, so that a dialog whose panel is folded never pays for it.
    std::vector<LoopResponseRow> ResponseRows() const;
    // A line for a failed computation first, then the analysis' warnings.
    std::vector<std::string> ResponseNotes() const;
    const BodePlotData &BodePlot() const { return Response().bodePlot; }
    const StepPlotData &StepPlot() const { return Response().stepPlot; }
    std::string BodeCsv() const { return FormatBodeCsv(Response().bode); }
    // A header line, then time and both step values per sample; missing values left empty.
    std::string StepCsv() const;

  private:
    struct LoopResponsePanel {
        LoopAnalysis analysis;
        std::vector<BodePoint> bode;
        std::vector<StepSample> steps;
        BodePlotData bodePlot;
        StepPlotData stepPlot;
    };

    void Recompute();
    const LoopResponsePanel &Response() const;

    LoopFilterRequest request_;  // bandwidth and phase margin as they stand now
    int bandwidthKHz_ = 0;
    int phaseMarginInt_ = 0;
    LoopFilterDesign shown_;
    LoopFilterRequest shownRequest_;  // the request shown_ was designed for
    bool designed_ = false;           // a design has succeeded: shown_ is not the empty one
    bool failed_ = false;
    mutable std::optional<LoopResponsePanel> response_;  // empty: not worked out yet
};

}  // namespace velorin::core
