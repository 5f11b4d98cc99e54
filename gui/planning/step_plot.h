// CStepPlot: the closed loop's response to a frequency step at the reference, ideal and chosen
// components, with each loop's lock time marked.
#pragma once

#include <QChartView>

#include "core/loopfilter/loop_filter_dialog_model.h"

class QLineSeries;
class QValueAxis;

namespace velorin::gui {

class CStepPlot : public QChartView {
    Q_OBJECT
  public:
    explicit CStepPlot(QWidget *parent = nullptr);

    void Show(const core::StepPlotData &data);

  private:
    QValueAxis *time_;
    QValueAxis *value_;
    QLineSeries *ideal_;
    QLineSeries *chosen_;
    QLineSeries *idealLock_;
    QLineSeries *chosenLock_;
};

}  // namespace velorin::gui
