// CPhaseNoisePanel: the phase-noise strip of the loop-filter dialog's response panel: the plot,
// the measured trace's figures, what the figures need, and the buttons for the noise model,
// a measured trace and the curves' points.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/loopfilter/phase_noise_panel.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace velorin::gui {

class CPhaseNoisePlot;

class CPhaseNoisePanel : public QWidget {
    Q_OBJECT
  public:
    // The noise model comes from the program's settings; file choosers and messages go through
    // the prompts.
    CPhaseNoisePanel(core::Prompts &prompts, QWidget *parent = nullptr);

    void SetPlan(std::optional<double> inputMHz, double outputDivider);
    // Works the figures out for the components and redraws.
    void Show(const core::LoopFilterRequest &request, const core::LoopFilterDesign &design);
    const core::PhaseNoisePanelModel &Model() const { return model_; }
    // The plot as it stands on the screen, for the dialog's picture of its plots.
    QPixmap PlotPicture() const;

  signals:
    // The noise model or the measured trace changed: the figures must be worked out again.
    void inputsChanged();

  private:
    void EditNoiseModel();
    void LoadMeasured();
    void SaveCurves();
    void ShowFigures();

    core::Prompts &prompts_;
    core::PhaseNoisePanelModel model_;
    CPhaseNoisePlot *plot_ = nullptr;
    QWidget *column_ = nullptr;  // the buttons and figures beside the plot
    QTableWidget *figures_ = nullptr;
    QLabel *measured_ = nullptr;
    QLabel *notes_ = nullptr;
    QPushButton *saveCurves_ = nullptr;
};

}  // namespace velorin::gui
