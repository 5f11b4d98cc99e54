// Helpers the loop-response plots share: points from the core's curves, axis ranges, and the
// look of an ideal (dashed) and a chosen (solid) curve.
#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>
#include <initializer_list>
#include <optional>
#include <utility>

#include "core/loopfilter/loop_filter_dialog_model.h"

class QChart;
class QLineSeries;
class QAbstractAxis;

namespace velorin::gui {

QList<QPointF> CurvePoints(const core::PlotCurve &curve, double xScale = 1.0);

// Lowest and highest y of the curves, widened to whole steps; [low, high] when there is none.
std::pair<double, double> RoundedRange(std::initializer_list<const core::PlotCurve *> curves,
                                       double step, double low, double high);

// A line series added to the chart on the given axes, named for tests and the legend.
QLineSeries *AddCurve(QChart &chart, const QString &objectName, const QString &legend,
                      const QColor &colour, bool dashed, QAbstractAxis *x, QAbstractAxis *y);

// A marker line (no legend entry) from (x, y0) to (x, y1), or nothing when there is no figure.
void ShowMarker(QLineSeries &series, const std::optional<core::PlotMarker> &marker,
                double xScale = 1.0);

}  // namespace velorin::gui
