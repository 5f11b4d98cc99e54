// CPhaseNoisePlot: single-sideband phase noise at the output over a logarithmic offset axis:
// the chosen components' total solid, the ideal components' total dashed, each contribution
// of the chosen components thin, and a measured trace when one is loaded.
#pragma once

#include "core/loopfilter/phase_noise_panel.h"
#include "gui/planning/line_plot.h"

namespace velorin::gui {

class CPhaseNoisePlot : public CLinePlot {
    Q_OBJECT
  public:
    explicit CPhaseNoisePlot(QWidget *parent = nullptr);

    void Show(const core::NoisePlotData &data);

  private:
    int pfd_, flicker_, reference_, vco_, r2_, r3_, idealTotal_, chosenTotal_, measured_;
};

}  // namespace velorin::gui
