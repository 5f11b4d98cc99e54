#include "gui/planning/step_plot.h"

#include <algorithm>

#include "core/loopfilter/plot_axis.h"

namespace velorin::gui {

namespace {

constexpr double kMicroseconds = 1e6;
const QColor kIdealColour(120, 120, 120);
const QColor kChosenColour(30, 80, 180);
const QColor kLockColour(0, 140, 60);

QString LockLegend(double tolerance) {
    return QString::fromStdString("Lock to " + core::LockToleranceName(tolerance));
}

}  // namespace

CStepPlot::CStepPlot(QWidget *parent)
    : CLinePlot("Frequency step, closed loop", LegendAt::Bottom, parent) {
    SetAxisTitles(QString::fromUtf8("Time (\u00b5s)"), "f / step");
    SetReadoutFormats("%.4g", "%.4f");
    ideal_ = AddSeries("idealStep", "Ideal", {kIdealColour, 1.5, true});
    chosen_ = AddSeries("chosenStep", "Chosen", {kChosenColour});
    idealLock_ = AddSeries("idealLock", QString(), {kLockColour, 1.5, true});
    chosenLock_ = AddSeries("chosenLock", LockLegend(core::kPanelLockTolerances[0]), {kLockColour},
                            Side::Left, QString());
}

void CStepPlot::Show(const core::StepPlotData &data) {
    SetXAxis(
        core::NiceLinearAxis(0.0, data.stopS > 0.0 ? data.stopS * kMicroseconds : 1.0, "%.3g"));
    const auto [low, high] = core::CurvesRange({&data.ideal, &data.chosen}, 0.25, 0.0, 1.25);
    SetYAxis(Side::Left, core::NiceLinearAxis(std::min(low, 0.0), std::max(high, 1.25), "%.2f"));
    SetCurve(ideal_, data.ideal, kMicroseconds);
    SetCurve(chosen_, data.chosen, kMicroseconds);
    SetMarker(idealLock_, data.idealLock, kMicroseconds);
    SetMarker(chosenLock_, data.chosenLock, kMicroseconds);
}

}  // namespace velorin::gui
