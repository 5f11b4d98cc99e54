// ReadBackDlg: reads one block's chip back and shows the stream raw and decoded, with the
// EEPROM fields that differ from the program's register image marked.
#pragma once

#include <QDialog>
#include <string>
#include <utility>
#include <vector>

#include "core/device/readback_comparison.h"
#include "gui/app/program_services.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace velorin::gui {

class ReadBackDlg : public QDialog {
    Q_OBJECT
  public:
    // Reads once before it returns; nothing is written to the chip or the image, ever.
    ReadBackDlg(const ProgramServices &services, int blockIndex, QWidget *parent = nullptr);

    // Identity, read-back command, fetch, decoding. Whatever the board answered is shown; only
    // the comparison needs every call to have succeeded.
    void ReadAndShow();

    const core::ReadBackTexts &Texts() const { return texts_; }

  private:
    QLineEdit *AddField(std::string core::ReadBackTexts::*text, int widthUnits);
    void ShowTexts();
    void CopyToClipboard();

    ProgramServices services_;
    int block_;
    bool invert_ = false;
    core::ReadBackTexts texts_;
    core::ReadBackComparison comparison_;
    std::vector<std::pair<std::string core::ReadBackTexts::*, QLineEdit *>> fields_;
    QCheckBox *invertBox_ = nullptr;
    QLabel *summary_ = nullptr;
};

}  // namespace velorin::gui
