// CPhaseNoisePlot: single-sideband phase noise at the output over a logarithmic offset axis:
// the chosen components' total solid, the ideal components' total dashed, each contribution
// of the chosen components thin, and a measured trace when one is loaded.
#pragma once

#include <QChartView>

#include "core/loopfilter/phase_noise_panel.h"

class QLineSeries;
class QLogValueAxis;
class QValueAxis;

namespace velorin::gui {

class CPhaseNoisePlot : public QChartView {
    Q_OBJECT
  public:
    explicit CPhaseNoisePlot(QWidget *parent = nullptr);

    void Show(const core::NoisePlotData &data);

  private:
    QLogValueAxis *offset_;
    QValueAxis *noise_;
    QLineSeries *chosenTotal_;
    QLineSeries *idealTotal_;
    QLineSeries *pfd_;
    QLineSeries *flicker_;
    QLineSeries *reference_;
    QLineSeries *vco_;
    QLineSeries *r2_;
    QLineSeries *r3_;
    QLineSeries *measured_;
};

}  // namespace velorin::gui
