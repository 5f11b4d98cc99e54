#include "gui/planning/phase_noise_plot.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QValueAxis>

#include "gui/planning/plot_series.h"

namespace velorin::gui {

namespace {

const QColor kTotalColour(20, 20, 20);
const QColor kIdealTotalColour(110, 110, 110);
const QColor kMeasuredColour(200, 0, 120);

// A contribution: thin, so that the totals stand out over it.
QLineSeries *AddContribution(QChart &chart, const char *name, const char *legend,
                             const QColor &colour, QAbstractAxis *x, QAbstractAxis *y) {
    QLineSeries *series = AddCurve(chart, name, legend, colour, false, x, y);
    QPen pen = series->pen();
    pen.setWidthF(1.0);
    series->setPen(pen);
    return series;
}

}  // namespace

CPhaseNoisePlot::CPhaseNoisePlot(QWidget *parent) : QChartView(parent) {
    auto *chart = new QChart;
    chart->setTitle("Phase noise at the output");
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->legend()->setAlignment(Qt::AlignRight);
    offset_ = new QLogValueAxis(chart);
    offset_->setTitleText("Offset (Hz)");
    offset_->setLabelFormat("%.0e");
    offset_->setBase(10);
    offset_->setMinorTickCount(-1);
    noise_ = new QValueAxis(chart);
    noise_->setTitleText("dBc/Hz");
    noise_->setLabelFormat("%.0f");
    noise_->setTickType(QValueAxis::TicksDynamic);
    noise_->setTickAnchor(0.0);
    noise_->setTickInterval(20.0);
    chart->addAxis(offset_, Qt::AlignBottom);
    chart->addAxis(noise_, Qt::AlignLeft);

    pfd_ = AddContribution(*chart, "pfdNoise", "Charge pump", QColor(30, 80, 180), offset_, noise_);
    flicker_ =
        AddContribution(*chart, "flickerNoise", "Flicker", QColor(90, 160, 230), offset_, noise_);
    reference_ =
        AddContribution(*chart, "referenceNoise", "Reference", QColor(0, 140, 60), offset_, noise_);
    vco_ = AddContribution(*chart, "vcoNoise", "VCO", QColor(200, 90, 20), offset_, noise_);
    r2_ = AddContribution(*chart, "r2Noise", "R2", QColor(150, 60, 190), offset_, noise_);
    r3_ = AddContribution(*chart, "r3Noise", "R3", QColor(190, 160, 0), offset_, noise_);
    idealTotal_ = AddCurve(*chart, "idealTotalNoise", "Total, ideal", kIdealTotalColour, true,
                           offset_, noise_);
    chosenTotal_ =
        AddCurve(*chart, "chosenTotalNoise", "Total, chosen", kTotalColour, false, offset_, noise_);
    measured_ =
        AddCurve(*chart, "measuredNoise", "Measured", kMeasuredColour, false, offset_, noise_);
    setChart(chart);
    setAccessibleName("Phase noise at the output");
}

void CPhaseNoisePlot::Show(const core::NoisePlotData &data) {
    // An unchanged range would still lay the axis out anew.
    if (offset_->min() != data.startHz || offset_->max() != data.stopHz) {
        offset_->setRange(data.startHz, data.stopHz);
    }
    if (noise_->min() != data.lowDbc || noise_->max() != data.highDbc) {
        noise_->setRange(data.lowDbc, data.highDbc);
    }
    const struct {
        QLineSeries *series;
        const core::PlotCurve *curve;
    } curves[] = {{chosenTotal_, &data.chosenTotal},
                  {idealTotal_, &data.idealTotal},
                  {pfd_, &data.pfd},
                  {flicker_, &data.flicker},
                  {reference_, &data.reference},
                  {vco_, &data.vco},
                  {r2_, &data.r2},
                  {r3_, &data.r3},
                  {measured_, &data.measured}};
    for (const auto &c : curves) {
        c.series->replace(CurvePoints(*c.curve));
        // A curve that does not exist leaves the legend too.
        for (QLegendMarker *marker : chart()->legend()->markers(c.series)) {
            if (marker->isVisible() == c.curve->x.empty()) marker->setVisible(!c.curve->x.empty());
        }
    }
}

}  // namespace velorin::gui
