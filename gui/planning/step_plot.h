// CStepPlot: the closed loop's response to a frequency step at the reference, ideal and chosen
// components, with each loop's lock time marked.
#pragma once

#include "core/loopfilter/loop_filter_dialog_model.h"
#include "gui/planning/line_plot.h"

namespace velorin::gui {

class CStepPlot : public CLinePlot {
    Q_OBJECT
  public:
    explicit CStepPlot(QWidget *parent = nullptr);

    void Show(const core::StepPlotData &data);

  private:
    int ideal_, chosen_, idealLock_, chosenLock_;
};

}  // namespace velorin::gui
