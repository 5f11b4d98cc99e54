// CEELockConfirmDlg: the user types "yes" to let the EEPROM be programmed and locked.
#pragma once

#include <QDialog>

class QLineEdit;

namespace velorin::gui {

class CEELockConfirmDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CEELockConfirmDlg(QWidget *parent = nullptr);

    // What was in the box when the dialog ended (OK or Cancel).
    QString ConfirmationText() const { return confirmation_; }

  public slots:
    void accept() override;
    void reject() override;

  private:
    QLineEdit *edit_;
    QString confirmation_;
};

}  // namespace velorin::gui
