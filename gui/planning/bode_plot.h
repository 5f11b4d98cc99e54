// CBodePlot: the open-loop Bode diagram of the ideal and the chosen loop filter, magnitude and
// phase over a logarithmic frequency axis, with each loop's phase margin marked at its crossover
// (where the magnitude crosses the 0 dB line).
#pragma once

#include <QChartView>

#include "core/loopfilter/loop_filter_dialog_model.h"

class QLineSeries;
class QLogValueAxis;
class QValueAxis;

namespace velorin::gui {

class CBodePlot : public QChartView {
    Q_OBJECT
  public:
    explicit CBodePlot(QWidget *parent = nullptr);

    void Show(const core::BodePlotData &data);

  private:
    QLogValueAxis *frequency_;
    QValueAxis *magnitude_;
    QValueAxis *phase_;
    QLineSeries *idealMagnitude_;
    QLineSeries *chosenMagnitude_;
    QLineSeries *idealPhase_;
    QLineSeries *chosenPhase_;
    QLineSeries *idealMargin_;
    QLineSeries *chosenMargin_;
    QLineSeries *zeroDb_;
    QLineSeries *minus180_;
};

}  // namespace velorin::gui
