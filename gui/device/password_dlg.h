// CPasswordDlg: one of the access codes must be typed before an EEPROM is unlocked.
#pragma once

#include <QDialog>

#include "core/base/prompts.h"

class QLineEdit;

namespace velorin::gui {

class CPasswordDlg : public QDialog {
    Q_OBJECT
  public:
    // A wrong password is answered through prompts.
    explicit CPasswordDlg(core::Prompts &prompts, QWidget *parent = nullptr);

    QString PasswordText() const { return password_; }

  public slots:
    void accept() override;

  private:
    core::Prompts &prompts_;
    QLineEdit *edit_;
    QString password_;
};

}  // namespace velorin::gui
