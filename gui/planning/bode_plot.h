// CBodePlot: the open-loop Bode diagram of the ideal and the chosen loop filter, magnitude and
// phase over a logarithmic frequency axis, with each loop's phase margin marked at its crossover
// (where the magnitude crosses the 0 dB line).
#pragma once

#include "core/loopfilter/loop_filter_dialog_model.h"
#include "gui/planning/line_plot.h"

namespace velorin::gui {

class CBodePlot : public CLinePlot {
    Q_OBJECT
  public:
    explicit CBodePlot(QWidget *parent = nullptr);

    void Show(const core::BodePlotData &data);

  private:
    int idealMagnitude_, chosenMagnitude_, idealPhase_, chosenPhase_;
    int idealMargin_, chosenMargin_, zeroDb_, minus180_;
};

}  // namespace velorin::gui
