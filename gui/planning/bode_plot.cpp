#include "gui/planning/bode_plot.h"

#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QValueAxis>

#include "gui/planning/plot_series.h"

namespace velorin::gui {

namespace {

const QColor kMagnitudeColour(30, 80, 180);
const QColor kIdealMagnitudeColour(120, 150, 210);
const QColor kPhaseColour(200, 90, 20);
const QColor kIdealPhaseColour(225, 160, 110);
const QColor kMarkerColour(0, 140, 60);

}  // namespace

CBodePlot::CBodePlot(QWidget *parent) : QChartView(parent) {
    auto *chart = new QChart;
    chart->setTitle("Open loop: chosen solid, ideal dashed");
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->legend()->setAlignment(Qt::AlignBottom);
    frequency_ = new QLogValueAxis(chart);
    frequency_->setTitleText("Frequency (Hz)");
    frequency_->setLabelFormat("%.0e");
    frequency_->setBase(10);
    frequency_->setMinorTickCount(-1);
    magnitude_ = new QValueAxis(chart);
    magnitude_->setTitleText("|GH| (dB)");
    magnitude_->setLabelFormat("%.0f");
    phase_ = new QValueAxis(chart);
    phase_->setTitleText("Phase (deg)");
    phase_->setLabelFormat("%.0f");
    phase_->setTickType(QValueAxis::TicksDynamic);
    phase_->setTickAnchor(-180.0);
    phase_->setTickInterval(45.0);
    chart->addAxis(frequency_, Qt::AlignBottom);
    chart->addAxis(magnitude_, Qt::AlignLeft);
    chart->addAxis(phase_, Qt::AlignRight);

    // Only the chosen curves are in the legend; the title tells the ideal ones apart.
    idealMagnitude_ = AddCurve(*chart, "idealMagnitude", QString(), kIdealMagnitudeColour, true,
                               frequency_, magnitude_);
    chosenMagnitude_ = AddCurve(*chart, "chosenMagnitude", "|GH|", kMagnitudeColour, false,
                                frequency_, magnitude_);
    idealPhase_ =
        AddCurve(*chart, "idealPhase", QString(), kIdealPhaseColour, true, frequency_, phase_);
    chosenPhase_ =
        AddCurve(*chart, "chosenPhase", "Phase", kPhaseColour, false, frequency_, phase_);
    zeroDb_ = AddCurve(*chart, "zeroDb", QString(), Qt::gray, true, frequency_, magnitude_);
    minus180_ = AddCurve(*chart, "minus180", QString(), Qt::gray, true, frequency_, phase_);
    idealMargin_ =
        AddCurve(*chart, "idealPhaseMargin", QString(), kMarkerColour, true, frequency_, phase_);
    chosenMargin_ = AddCurve(*chart, "chosenPhaseMargin", "Phase margin", kMarkerColour, false,
                             frequency_, phase_);
    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
    setAccessibleName("Open-loop Bode diagram");
}

void CBodePlot::Show(const core::BodePlotData &data) {
    const bool any = data.stopHz > data.startHz && data.startHz > 0.0;
    frequency_->setRange(any ? data.startHz : 1e3, any ? data.stopHz : 1e8);
    const auto [dbLow, dbHigh] =
        RoundedRange({&data.idealMagnitudeDb, &data.chosenMagnitudeDb}, 20.0, -60.0, 60.0);
    magnitude_->setRange(dbLow, dbHigh);
    magnitude_->applyNiceNumbers();
    const auto [degLow, degHigh] =
        RoundedRange({&data.idealPhaseDeg, &data.chosenPhaseDeg}, 45.0, -180.0, -90.0);
    phase_->setRange(std::min(degLow, -180.0), std::max(degHigh, -135.0));

    idealMagnitude_->replace(CurvePoints(data.idealMagnitudeDb));
    chosenMagnitude_->replace(CurvePoints(data.chosenMagnitudeDb));
    idealPhase_->replace(CurvePoints(data.idealPhaseDeg));
    chosenPhase_->replace(CurvePoints(data.chosenPhaseDeg));
    minus180_->replace(
        QList<QPointF>{QPointF(frequency_->min(), -180.0), QPointF(frequency_->max(), -180.0)});
    ShowMarker(*idealMargin_, data.idealPhaseMargin);
    ShowMarker(*chosenMargin_, data.chosenPhaseMargin);
}

}  // namespace velorin::gui
