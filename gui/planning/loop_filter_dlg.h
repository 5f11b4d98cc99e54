// CLoopFilterDlg: loop bandwidth and phase margin on two bitmap sliders, the components the
// chip can offer for them on the schematic, and, widened, the loop those components really give.
#pragma once

#include <QDialog>
#include <optional>

#include "core/base/prompts.h"
#include "core/loopfilter/loop_filter_dialog_model.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTableWidget;

namespace velorin::gui {

class CBitmapSlider;
class CBodePlot;
class CPhaseNoisePanel;
class CStepPlot;
class CTransparentImage;

class CLoopFilterDlg : public QDialog {
    Q_OBJECT
  public:
    // The file choosers and messages of the saves go through the prompts.
    CLoopFilterDlg(const core::LoopFilterRequest &request, core::Prompts &prompts,
                   QWidget *parent = nullptr);
    // The fields let go of the dialog before its children go: a field that loses the focus as
    // it is destroyed finishes its editing, which must not reach a dialog half taken down.
    ~CLoopFilterDlg() override;
    CLoopFilterDlg(const CLoopFilterDlg &) = delete;
    CLoopFilterDlg &operator=(const CLoopFilterDlg &) = delete;

    // Valid after the dialog ended with OK.
    core::LoopFilterChoice Choice() const { return model_.Choice(); }
    const core::LoopFilterDialogModel &Model() const { return model_; }

    bool ResponseShown() const;
    void ShowResponse(bool shown);

    // The main view's input frequency (none when it has none) and output divider, which the
    // phase noise and jitter need.
    void SetNoisePlan(std::optional<double> inputMHz, double outputDivider);

  public slots:
    void accept() override;

  protected:
    // Enter in an edit field takes its value instead of ending the dialog.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

  private:
    void FixPageSize(QSize size);
    void BuildTemplateControls();
    void BuildResponsePanel();
    // The panel at the given width in pixels: the plots take what it gains or loses.
    void PlaceResponsePanel(int width);
    void SetUpSliders();
    void OnSliderNotification(int controlId, int position);
    // A value typed into an edit field, on Enter or when the field is left.
    void TakeTypedValue(QLineEdit &field, bool enterPressed);
    // Puts the model's values into the edit fields, labels and, when shown, the response panel.
    void ShowValues();
    void ShowResponseValues();
    void Save(core::LoopFilterExport what);
    static QRect Dlu(int x, int y, int width, int height);

    core::Prompts &prompts_;
    core::LoopFilterDialogModel model_;
    core::LoopFilterRequest request_;  // as given: the phase noise takes its dividers from it
    QSize foldedSize_;
    QScrollArea *scroller_ = nullptr;
    QWidget *content_ = nullptr;  // the page that every control lies on

    QLineEdit *bandwidthEdit_ = nullptr;
    QLineEdit *phaseMarginEdit_ = nullptr;
    CBitmapSlider *bandwidthSlider_ = nullptr;
    CBitmapSlider *phaseMarginSlider_ = nullptr;
    CTransparentImage *schematic_ = nullptr;
    QLabel *c1Label_ = nullptr;
    QLabel *c2Label_ = nullptr;
    QLabel *c3Label_ = nullptr;
    QLabel *r2Label_ = nullptr;
    QLabel *r3Label_ = nullptr;
    QPushButton *responseButton_ = nullptr;
    QWidget *responsePanel_ = nullptr;
    QTableWidget *figures_ = nullptr;
    QLabel *notes_ = nullptr;
    CBodePlot *bodePlot_ = nullptr;
    CStepPlot *stepPlot_ = nullptr;
    CPhaseNoisePanel *noisePanel_ = nullptr;  // under the whole dialog while the panel shows
};

}  // namespace velorin::gui
