#include "gui/planning/step_plot.h"

#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QValueAxis>

#include "gui/planning/plot_series.h"

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

CStepPlot::CStepPlot(QWidget *parent) : QChartView(parent) {
    auto *chart = new QChart;
    chart->setTitle("Frequency step, closed loop");
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->legend()->setAlignment(Qt::AlignBottom);
    time_ = new QValueAxis(chart);
    time_->setTitleText(QString::fromUtf8("Time (\u00b5s)"));
    time_->setLabelFormat("%.3g");
    value_ = new QValueAxis(chart);
    value_->setTitleText("f / step");
    value_->setLabelFormat("%.2f");
    chart->addAxis(time_, Qt::AlignBottom);
    chart->addAxis(value_, Qt::AlignLeft);
    ideal_ = AddCurve(*chart, "idealStep", "Ideal", kIdealColour, true, time_, value_);
    chosen_ = AddCurve(*chart, "chosenStep", "Chosen", kChosenColour, false, time_, value_);
    idealLock_ = AddCurve(*chart, "idealLock", QString(), kLockColour, true, time_, value_);
    chosenLock_ = AddCurve(*chart, "chosenLock", LockLegend(core::kPanelLockTolerances[0]),
                           kLockColour, false, time_, value_);
    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
    setAccessibleName("Closed-loop frequency step response");
}

void CStepPlot::Show(const core::StepPlotData &data) {
    time_->setRange(0.0, data.stopS > 0.0 ? data.stopS * kMicroseconds : 1.0);
    time_->applyNiceNumbers();
    const auto [low, high] = RoundedRange({&data.ideal, &data.chosen}, 0.25, 0.0, 1.25);
    value_->setRange(std::min(low, 0.0), std::max(high, 1.25));
    value_->applyNiceNumbers();
    ideal_->replace(CurvePoints(data.ideal, kMicroseconds));
    chosen_->replace(CurvePoints(data.chosen, kMicroseconds));
    ShowMarker(*idealLock_, data.idealLock, kMicroseconds);
    ShowMarker(*chosenLock_, data.chosenLock, kMicroseconds);
}

}  // namespace velorin::gui
