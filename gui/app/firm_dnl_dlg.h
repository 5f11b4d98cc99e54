// CFirmDnlDlg: downloads a firmware image file into the board EEPROM as soon as it is shown,
// with the phase, the bar, bytes done and the elapsed time, then closes itself. After a file
// that cannot be used it stays, with its first text, until the user closes it.
#pragma once

#include <QDialog>
#include <QString>

#include "core/app/firmware_download.h"
#include "gui/app/program_services.h"

class QLabel;
class QProgressBar;

namespace velorin::gui {

class CFirmDnlDlg : public QDialog {
    Q_OBJECT
  public:
    CFirmDnlDlg(const ProgramServices &services, const QString &path, QWidget *parent = nullptr);

    bool Finished() const { return finished_; }
    const core::FirmwareResult &Result() const { return result_; }

  protected:
    void showEvent(QShowEvent *event) override;

  private:
    void StartWhenExposed();
    void RunDownload();

    ProgramServices services_;
    QString path_;
    QLabel *status_;
    QLabel *tally_;
    QProgressBar *progress_;
    bool started_ = false;
    int exposeWaits_ = 0;
    bool finished_ = false;
    core::FirmwareResult result_;
};

}  // namespace velorin::gui
