#include "gui/planning/plot_series.h"

#include <QAbstractAxis>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace velorin::gui {

QList<QPointF> CurvePoints(const core::PlotCurve &curve, double xScale) {
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(curve.x.size()));
    for (size_t i = 0; i < curve.x.size() && i < curve.y.size(); ++i) {
        points.append(QPointF(curve.x[i] * xScale, curve.y[i]));
    }
    return points;
}

std::pair<double, double> RoundedRange(std::initializer_list<const core::PlotCurve *> curves,
                                       double step, double low, double high) {
    double lowest = INFINITY, highest = -INFINITY;
    for (const core::PlotCurve *curve : curves) {
        for (double y : curve->y) {
            lowest = std::min(lowest, y);
            highest = std::max(highest, y);
        }
    }
    if (!(lowest <= highest)) return {low, high};
    lowest = std::floor(lowest / step) * step;
    highest = std::ceil(highest / step) * step;
    if (highest <= lowest) highest = lowest + step;
    return {lowest, highest};
}

QLineSeries *AddCurve(QChart &chart, const QString &objectName, const QString &legend,
                      const QColor &colour, bool dashed, QAbstractAxis *x, QAbstractAxis *y) {
    auto *series = new QLineSeries(&chart);
    series->setObjectName(objectName);
    series->setName(legend);
    QPen pen(colour, dashed ? 1.5 : 2.0);
    if (dashed) pen.setStyle(Qt::DashLine);
    series->setPen(pen);
    chart.addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
    if (legend.isEmpty()) {
        for (QLegendMarker *marker : chart.legend()->markers(series)) marker->setVisible(false);
    }
    return series;
}

void ShowMarker(QLineSeries &series, const std::optional<core::PlotMarker> &marker, double xScale) {
    if (!marker) {
        series.clear();
        return;
    }
    series.replace(QList<QPointF>{QPointF(marker->x * xScale, marker->y0),
                                  QPointF(marker->x * xScale, marker->y1)});
}

}  // namespace velorin::gui
