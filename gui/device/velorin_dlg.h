// CVelorinDlg: the advanced device-settings dialog. Every chip field as a list, radio or box,
// the six image bytes and the loop-filter word in hexadecimal, the frequency windows, and the
// board and file operations. Its rules are DeviceSettingsModel; this class shows the model's
// state and hands it the controls.
#pragma once

#include <QDialog>
#include <array>

#include "core/device/device_settings_model.h"
#include "gui/app/program_services.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QTimer;

namespace velorin::gui {

class CDynamicLED;

class CVelorinDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kRefreshMs = 500;

    CVelorinDlg(const ProgramServices &services, int blockIndex, QWidget *parent = nullptr);

    // The block, driver and VCO as the controls held when the dialog closed.
    core::DeviceSettingsChoice Choice() const { return model_.Choice(); }

  public slots:
    // Every ending is the close box's: the controls are taken and the run ends as OK.
    void done(int result) override;
    // Escape does nothing here.
    void reject() override {}
    // One half-second refresh (the timer's slot).
    void RefreshNow();
    // Puts the image's twelve hexadecimal digits, Byte0 first, on the clipboard.
    void CopyImage();

  protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

  private:
    QWidget *BuildFieldColumn();
    QWidget *BuildLoopColumn();
    QWidget *BuildBoardColumn();
    void Connect();

    void ReadForm();
    void ShowState();
    // Reads the form, runs the operation on the model, shows the state.
    template <typename F>
    void Run(F &&operation);

    core::DeviceSettingsModel model_;
    QTimer *timer_ = nullptr;
    QAction *copyImage_ = nullptr;
    bool refreshing_ = false;

    QButtonGroup *vcoGroup_ = nullptr;
    QButtonGroup *driverGroup_ = nullptr;
    QButtonGroup *blockGroup_ = nullptr;
    QComboBox *prescaler_ = nullptr;
    QComboBox *outputDivider_ = nullptr;
    QComboBox *chargePump_ = nullptr;
    QComboBox *vcoCalWord_ = nullptr;
    QComboBox *testSelect_ = nullptr;
    QComboBox *c1_ = nullptr;
    QComboBox *c2_ = nullptr;
    QComboBox *c3_ = nullptr;
    QComboBox *r2_ = nullptr;
    QCheckBox *vcoCalEnable_ = nullptr;
    QCheckBox *vcoCalOverride_ = nullptr;
    QCheckBox *power_ = nullptr;
    QCheckBox *terminate_ = nullptr;
    QCheckBox *outputEnable_ = nullptr;
    std::array<QLabel *, 6> byteTexts_{};
    QLabel *loopFilterText_ = nullptr;
    QLabel *feedbackDivider_ = nullptr;
    QLabel *inputLow_ = nullptr;
    QLabel *inputHigh_ = nullptr;
    QLabel *outputLow_ = nullptr;
    QLabel *outputHigh_ = nullptr;
    CDynamicLED *led_ = nullptr;
};

}  // namespace velorin::gui
