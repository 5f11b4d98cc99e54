// CGuiView: the main form. It owns the block diagram, the board options and the 500 ms poll
// timer; every rule is the model's. Each handler reads the form into the model, calls it and
// shows what it returns.
#pragma once

#include <QTimer>
#include <QWidget>
#include <array>

#include "core/planning/main_view_model.h"
#include "gui/app/program_services.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velorin::gui {

class BlockPopupMenus;
class CQVVelorinCtrlGuiApp;
class CColorStatic;
class CDynamicLED;
class CMainFrame;
class CTransparentImage;
class CUniButton;

class CGuiView : public QWidget {
    Q_OBJECT
  public:
    // Takes the frame's view commands and calculator-bar buttons.
    CGuiView(const ProgramServices &services, CMainFrame &frame, QWidget *parent = nullptr);
    ~CGuiView() override;

    core::MainViewModel &Model() { return model_; }
    const QTimer &PollTimer() const { return timer_; }

    // At start and after every new or opened document.
    void OnInitialUpdate();
    // One tick of the board poll.
    void PollBoard();

    void ReadForm();
    void ShowState();

    // Handlers of the form and the frame.
    void OnSettingCommand(int commandId);
    void OnBlockSelected();
    void OnCalculateOutputs();
    void OnCalculateInput();
    void OnApplyOutputCalculation();
    void OnApplyInputCalculation();
    void OnSaveCrystalFrequency();
    void OnWriteEepromNoLock();
    void OnWriteEepromLock();
    void OnOpenLoopFilter();
    void OnOpenAdvancedControl();
    void OnReadDeviceSettings();

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    void BuildForm();
    void ShapeBlocks();
    void ConnectControls();
    void ConnectFrame();
    // After a modal dialog or a message box: show everything the model now holds.
    void ShowDisplay();
    void PopUpAtPointer(int submenu);

    ProgramServices services_;
    CMainFrame &frame_;
    core::MainViewModel model_;
    QTimer timer_;
    BlockPopupMenus *menus_ = nullptr;

    CUniButton *chargePump_ = nullptr;
    CUniButton *vco_ = nullptr;
    CUniButton *prescaler_ = nullptr;
    CUniButton *output_ = nullptr;
    CUniButton *feedbackDivider_ = nullptr;
    CUniButton *otherVco_ = nullptr;
    CUniButton *outputDivider_ = nullptr;
    QPushButton *loopFilter_ = nullptr;
    CTransparentImage *terminationPicture_ = nullptr;
    CColorStatic *rangeWarning_ = nullptr;
    QLineEdit *inputEdit_ = nullptr;
    QLineEdit *outputEdit_ = nullptr;
    QCheckBox *termination_ = nullptr;
    QCheckBox *power_ = nullptr;
    QCheckBox *calibration_ = nullptr;
    std::array<QRadioButton *, 4> blocks_{};
    CDynamicLED *usbLed_ = nullptr;
    std::array<CDynamicLED *, 4> vddLeds_{};
};

// Makes the program's frame hold a CGuiView that re-runs its initial update for every new or
// opened document.
void UseMainView(CQVVelorinCtrlGuiApp &program);

}  // namespace velorin::gui
