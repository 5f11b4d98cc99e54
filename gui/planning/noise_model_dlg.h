// CNoiseModelDlg: the parameters of the phase-noise model (charge-pump floor and flicker, VCO
// and reference noise as point tables, temperature, jitter band), restorable to the defaults.
#pragma once

#include <QDialog>

#include "core/base/prompts.h"
#include "core/loopfilter/phase_noise_model.h"

class QLineEdit;
class QTableWidget;

namespace velorin::gui {

class CNoiseModelDlg : public QDialog {
    Q_OBJECT
  public:
    // Messages about fields that cannot be read go through the prompts.
    CNoiseModelDlg(const core::PhaseNoiseParameters &parameters, core::Prompts &prompts,
                   QWidget *parent = nullptr);

    // Valid after the dialog ended with OK.
    const core::PhaseNoiseParameters &Parameters() const { return parameters_; }

  public slots:
    void accept() override;

  private:
    void ShowParameters(const core::PhaseNoiseParameters &parameters);
    QTableWidget *AddPointTable(const char *objectName, const QString &title,
                                const QString &meaning, QWidget *box);

    core::Prompts &prompts_;
    core::PhaseNoiseParameters parameters_;
    QLineEdit *pfdFom_ = nullptr;
    QLineEdit *pfdFlicker_ = nullptr;
    QLineEdit *temperature_ = nullptr;
    QLineEdit *bandLow_ = nullptr;
    QLineEdit *bandHigh_ = nullptr;
    QTableWidget *vcoPoints_ = nullptr;
    QTableWidget *referencePoints_ = nullptr;
};

}  // namespace velorin::gui
