#include "gui/app/firm_dnl_dlg.h"

#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QWindow>
#include <chrono>

#include "core/ui/control_ids.h"
#include "gui/app/dialog_units.h"
#include "gui/widgets/control_id.h"

namespace velorin::gui {

CFirmDnlDlg::CFirmDnlDlg(const ProgramServices &services, const QString &path, QWidget *parent)
    : QDialog(parent), services_(services), path_(path) {
    setObjectName("firmwareDownloadDialog");
    setWindowTitle("EVM Firmware Download");
    SetControlId(this, ids::kFirmwareDialog);
    QFont font("MS Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    setFont(font);

    status_ = new QLabel(core::kFirmwareInitialStatus, this);
    status_->setObjectName("statusText");
    status_->setAccessibleDescription("What the download is doing");
    status_->setToolTip(status_->accessibleDescription());
    SetControlId(status_, ids::firmware::kStatus);
    tally_ = new QLabel(this);
    tally_->setObjectName("tallyText");
    tally_->setAccessibleDescription("Bytes done and elapsed time");
    tally_->setToolTip(tally_->accessibleDescription());
    tally_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Wide enough for the longest tally from the start: the layout cannot grow it mid-run.
    tally_->setMinimumWidth(tally_->fontMetrics().horizontalAdvance(
        QString::fromStdString(core::FirmwareTallyText(65536, 65536, std::chrono::minutes(99)))));
    SetControlId(tally_, ids::firmware::kTally);
    progress_ = new QProgressBar(this);
    progress_->setObjectName("progressBar");
    progress_->setAccessibleName("Download progress");
    progress_->setRange(0, 100);
    progress_->setValue(0);
    SetControlId(progress_, ids::firmware::kProgress);
    // Shown once writing starts; its place is kept so that showing it needs no new layout
    // while the download holds the event loop.
    QSizePolicy keep = progress_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    progress_->setSizePolicy(keep);
    progress_->hide();

    auto *layout = new QGridLayout(this);
    layout->addWidget(status_, 0, 0);
    layout->addWidget(tally_, 0, 1);
    layout->addWidget(progress_, 1, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    FixDialogSize(*this, 220, 48);
}

void CFirmDnlDlg::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (started_) return;
    started_ = true;
    // From the dialog's own loop, so that closing afterwards ends that loop.
    QTimer::singleShot(0, this, &CFirmDnlDlg::StartWhenExposed);
}

void CFirmDnlDlg::StartWhenExposed() {
    // Paints reach the screen only once the window system has exposed the window; the
    // download holds the loop, so it waits for that (for a second at most).
    constexpr int kWaitStepMs = 10;
    constexpr int kMaxWaits = 100;
    if (!isVisible()) return;  // closed before it started: nothing is sent
    const QWindow *window = windowHandle();
    if ((window == nullptr || !window->isExposed()) && exposeWaits_++ < kMaxWaits) {
        QTimer::singleShot(kWaitStepMs, this, &CFirmDnlDlg::StartWhenExposed);
        return;
    }
    RunDownload();
}

void CFirmDnlDlg::RunDownload() {
    repaint();
    QElapsedTimer clock;
    clock.start();
    size_t done = 0, size = 0;
    // The download holds the event loop, so every change is painted here and now.
    auto showTally = [&] {
        const auto elapsed = std::chrono::milliseconds(clock.elapsed());
        tally_->setText(QString::fromStdString(core::FirmwareTallyText(done, size, elapsed)));
        tally_->repaint();
    };
    core::FirmwareObserver observer;
    observer.status = [&](const std::string &text) {
        status_->setText(QString::fromStdString(text));
        status_->repaint();
        showTally();
    };
    observer.progress = [&](int percent) {
        // The bar repaints itself when a new value changes what it shows.
        progress_->setValue(percent);
        if (progress_->isHidden()) {
            progress_->show();
            progress_->repaint();
        }
        showTally();
    };
    observer.bytes = [&](size_t bytesDone, size_t bytesTotal) {
        done = bytesDone;
        size = bytesTotal;
    };
    result_ =
        core::DownloadFirmware(services_.board, services_.prompts, path_.toStdString(), observer);
    finished_ = true;
    switch (result_.outcome) {
        case core::FirmwareOutcome::OpenFailed:
        case core::FirmwareOutcome::TooLarge:
        case core::FirmwareOutcome::FileReadFailed:
            break;  // nothing was sent; the user closes the dialog
        default:
            accept();
    }
}

}  // namespace velorin::gui
