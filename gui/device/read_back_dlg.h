// ReadBackDlg: reads one block's chip back and shows the stream raw and decoded, with the
// EEPROM fields that differ from the program's register image marked. Its rules are
// ReadBackModel; this class lays out the model's rows and shows what it read.
#pragma once

#include <QDialog>
#include <string>
#include <utility>
#include <vector>

#include "core/device/readback_model.h"
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

    const core::ReadBackTexts &Texts() const { return model_.Texts(); }

  private:
    QLineEdit *AddField(core::ReadBackText text, int widthUnits);
    void ShowTexts();
    void CopyToClipboard();

    core::ReadBackModel model_;
    std::vector<std::pair<core::ReadBackText, QLineEdit *>> fields_;
    std::vector<int> widestTexts_;  // per field, in pixels; worked out with the first field
    QCheckBox *invertBox_ = nullptr;
    QLabel *summary_ = nullptr;
};

}  // namespace velorin::gui
