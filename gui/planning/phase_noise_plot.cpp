#include "gui/planning/phase_noise_plot.h"

#include "core/loopfilter/plot_axis.h"

namespace velorin::gui {

namespace {

const QColor kTotalColour(20, 20, 20);
const QColor kIdealTotalColour(110, 110, 110);
const QColor kMeasuredColour(200, 0, 120);

// A contribution: thin, so that the totals stand out over it.
CLinePlot::Line Thin(const QColor &colour) {
    return {colour, 1.0, false};
}

}  // namespace

CPhaseNoisePlot::CPhaseNoisePlot(QWidget *parent)
    : CLinePlot("Phase noise at the output", LegendAt::Right, parent) {
    SetAxisTitles("Offset (Hz)", "dBc/Hz");
    SetReadoutFormats("%.4g", "%.1f");
    pfd_ = AddSeries("pfdNoise", "Charge pump", Thin(QColor(30, 80, 180)));
    flicker_ = AddSeries("flickerNoise", "Flicker", Thin(QColor(90, 160, 230)));
    reference_ = AddSeries("referenceNoise", "Reference", Thin(QColor(0, 140, 60)));
    vco_ = AddSeries("vcoNoise", "VCO", Thin(QColor(200, 90, 20)));
    r2_ = AddSeries("r2Noise", "R2", Thin(QColor(150, 60, 190)));
    r3_ = AddSeries("r3Noise", "R3", Thin(QColor(190, 160, 0)));
    idealTotal_ = AddSeries("idealTotalNoise", "Total, ideal", {kIdealTotalColour, 1.5, true});
    chosenTotal_ = AddSeries("chosenTotalNoise", "Total, chosen", {kTotalColour});
    measured_ = AddSeries("measuredNoise", "Measured", {kMeasuredColour});
}

void CPhaseNoisePlot::Show(const core::NoisePlotData &data) {
    SetXAxis(core::LogAxis(data.startHz, data.stopHz));
    SetYAxis(Side::Left, core::SteppedLinearAxis(data.lowDbc, data.highDbc, 0.0, 20.0, "%.0f"));
    // A curve that does not exist has no points, and so no entry in the legend either.
    SetCurve(chosenTotal_, data.chosenTotal);
    SetCurve(idealTotal_, data.idealTotal);
    SetCurve(pfd_, data.pfd);
    SetCurve(flicker_, data.flicker);
    SetCurve(reference_, data.reference);
    SetCurve(vco_, data.vco);
    SetCurve(r2_, data.r2);
    SetCurve(r3_, data.r3);
    SetCurve(measured_, data.measured);
}

}  // namespace velorin::gui
