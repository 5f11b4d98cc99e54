#include "core/loopfilter/loop_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/device/component_tables.h"

namespace velorin::core {

namespace {

constexpr double kLowPhaseMarginDeg = 45.0;
// Below what the tables display as 0.0 the component is absent for the loop.
constexpr double kZeroPf = 0.05;
constexpr double kZeroKOhm = 0.05;

template <typename... Args>
std::string Text(const char *format, Args... args) {
    char text[256];
    std::snprintf(text, sizeof(text), format, args...);
    return text;
}

template <size_t N>
void WarnIfClamped(const char *name, const char *unit, double ideal,
                   const std::array<double, N> &table, std::vector<std::string> &warnings) {
    if (!std::isfinite(ideal)) return;
    const auto [low, high] = std::minmax_element(table.begin(), table.end());
    if (ideal < *low || ideal > *high) {
        warnings.push_back(
            Text("Ideal %s of %.4g %s lies beyond its table (%.1f to %.1f %s): "
                 "clamped to the nearest end",
                 name, ideal, unit, *low, *high, unit));
    }
}

void WarnAboutLoop(const char *which, const LoopFilterComponents &c, const LoopResponse &r,
                   const LoopAnalysisOptions &options, std::vector<std::string> &warnings) {
    const bool noC2 = c.c2 * 1e12 < kZeroPf, noR2 = c.r2 / 1e3 < kZeroKOhm;
    if (!r.defined) {
        warnings.push_back(
            Text("%s components: C1 and C2 are both 0, so there is no loop filter "
                 "capacitance and no loop to analyse",
                 which));
    }
    if (noC2 || noR2) {
        warnings.push_back(
            Text("%s components: %s is 0, so the loop has no zero and cannot be "
                 "stable",
                 which, noC2 ? "C2" : "R2"));
    }
    if (r.phaseMarginDeg && *r.phaseMarginDeg < kLowPhaseMarginDeg) {
        warnings.push_back(Text("%s components: phase margin of %.1f degrees is below 45 degrees",
                                which, *r.phaseMarginDeg));
    }
    if (r.defined && !r.stable) {
        warnings.push_back(Text("%s components: the closed loop is unstable", which));
    }
    if (options.inputMHz && r.crossoverHz && *r.crossoverHz > *options.inputMHz * 1e6 / 10.0) {
        warnings.push_back(
            Text("%s components: crossover of %.1f kHz is above a tenth of the "
                 "comparison frequency (%.3f MHz)",
                 which, *r.crossoverHz / 1e3, *options.inputMHz));
    }
}

}  // namespace

LoopModels MakeLoopModels(const LoopFilterRequest &request, const LoopFilterDesign &design) {
    LoopModels models;
    if (design.status != 0) return models;
    const double divider = request.prescaler * request.feedbackDivider;
    models.ideal = MakeLoopModel(design.ideal, request.chargePumpA, divider);
    models.chosen = MakeLoopModel(design.selection.chosen, request.chargePumpA, divider);
    return models;
}

LoopAnalysis AnalyzeLoopFilter(const LoopFilterRequest &request, const LoopFilterDesign &design,
                               const LoopAnalysisOptions &options) {
    LoopAnalysis analysis;
    analysis.designStatus = design.status;
    std::vector<std::string> &warnings = analysis.warnings;
    if (request.chargePumpA == 0.0) {
        warnings.push_back("Charge-pump current is 0: there is no loop");
    }
    if (design.status != 0) {
        warnings.push_back(
            Text("The design failed: there is no loop filter for a phase margin "
                 "of %g degrees with these inputs (it must lie between 0 and 90 degrees)",
                 request.phaseMarginDeg));
        return analysis;
    }
    const LoopModels models = MakeLoopModels(request, design);
    analysis.ideal = AnalyzeLoop(models.ideal, options.lockTolerances);
    analysis.chosen = AnalyzeLoop(models.chosen, options.lockTolerances);

    const LoopFilterComponents &ideal = design.ideal;
    WarnIfClamped("C1", "pF", ideal.c1 * 1e12, C1Values(), warnings);
    WarnIfClamped("C2", "pF", ideal.c2 * 1e12, C2Values(), warnings);
    WarnIfClamped("C3", "pF", ideal.c3 * 1e12, C3Values(), warnings);
    WarnIfClamped("R2", "kOhm", ideal.r2 / 1e3, R2Values(), warnings);
    // Without current every figure of either loop is absent; the warning above says why.
    if (request.chargePumpA != 0.0) {
        WarnAboutLoop("Ideal", ideal, *analysis.ideal, options, warnings);
        WarnAboutLoop("Chosen", design.selection.chosen, *analysis.chosen, options, warnings);
    }
    return analysis;
}

}  // namespace velorin::core
