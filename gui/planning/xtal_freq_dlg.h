// CXtalFreqDlg: asks for block B's crystal frequency and stores it in the board's EEPROM. OK
// with an entry outside the plan table's input range says so and keeps the dialog open.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLineEdit;

namespace velorin::gui {

class CXtalFreqDlg : public QDialog {
    Q_OBJECT
  public:
    // save: stores the entry; false keeps the dialog open (the entry was refused).
    explicit CXtalFreqDlg(std::function<bool(const std::string &)> save, QWidget *parent = nullptr);

    QLineEdit *FrequencyEdit() const { return edit_; }

  public slots:
    void accept() override;

  private:
    std::function<bool(const std::string &)> save_;
    QLineEdit *edit_;
};

}  // namespace velorin::gui
