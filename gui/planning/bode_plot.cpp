#include "gui/planning/bode_plot.h"

#include <algorithm>

#include "core/loopfilter/plot_axis.h"

namespace velorin::gui {

namespace {

const QColor kMagnitudeColour(30, 80, 180);
const QColor kIdealMagnitudeColour(120, 150, 210);
const QColor kPhaseColour(200, 90, 20);
const QColor kIdealPhaseColour(225, 160, 110);
const QColor kMarkerColour(0, 140, 60);
const QColor kReferenceColour(150, 150, 150);

}  // namespace

CBodePlot::CBodePlot(QWidget *parent)
    : CLinePlot("Open loop: chosen solid, ideal dashed", LegendAt::Bottom, parent) {
    SetAxisTitles("Frequency (Hz)", "|GH| (dB)", "Phase (deg)");
    SetReadoutFormats("%.4g", "%.1f", "%.1f");
    // The reference lines first, under the curves; only the chosen curves are in the legend,
    // the title tells the ideal ones apart.
    zeroDb_ = AddSeries("zeroDb", QString(), {kReferenceColour, 1.0, true});
    minus180_ = AddSeries("minus180", QString(), {kReferenceColour, 1.0, true}, Side::Right);
    idealMagnitude_ = AddSeries("idealMagnitude", QString(), {kIdealMagnitudeColour, 1.5, true},
                                Side::Left, "|GH|, ideal");
    chosenMagnitude_ = AddSeries("chosenMagnitude", "|GH|", {kMagnitudeColour});
    idealPhase_ = AddSeries("idealPhase", QString(), {kIdealPhaseColour, 1.5, true}, Side::Right,
                            "Phase, ideal");
    chosenPhase_ = AddSeries("chosenPhase", "Phase", {kPhaseColour}, Side::Right);
    idealMargin_ =
        AddSeries("idealPhaseMargin", QString(), {kMarkerColour, 1.5, true}, Side::Right);
    chosenMargin_ =
        AddSeries("chosenPhaseMargin", "Phase margin", {kMarkerColour}, Side::Right, QString());
}

void CBodePlot::Show(const core::BodePlotData &data) {
    const bool any = data.stopHz > data.startHz && data.startHz > 0.0;
    SetXAxis(core::LogAxis(any ? data.startHz : 1e3, any ? data.stopHz : 1e8));
    const auto [dbLow, dbHigh] =
        core::CurvesRange({&data.idealMagnitudeDb, &data.chosenMagnitudeDb}, 20.0, -60.0, 60.0);
    SetYAxis(Side::Left, core::NiceLinearAxis(dbLow, dbHigh, "%.0f"));
    const auto [degLow, degHigh] =
        core::CurvesRange({&data.idealPhaseDeg, &data.chosenPhaseDeg}, 45.0, -180.0, -90.0);
    SetYAxis(Side::Right, core::SteppedLinearAxis(std::min(degLow, -180.0),
                                                  std::max(degHigh, -135.0), -180.0, 45.0, "%.0f"));

    SetCurve(idealMagnitude_, data.idealMagnitudeDb);
    SetCurve(chosenMagnitude_, data.chosenMagnitudeDb);
    SetCurve(idealPhase_, data.idealPhaseDeg);
    SetCurve(chosenPhase_, data.chosenPhaseDeg);
    const double low = XAxis().low, high = XAxis().high;
    SetCurve(zeroDb_, {{low, high}, {0.0, 0.0}});
    SetCurve(minus180_, {{low, high}, {-180.0, -180.0}});
    SetMarker(idealMargin_, data.idealPhaseMargin);
    SetMarker(chosenMargin_, data.chosenPhaseMargin);
}

}  // namespace velorin::gui
