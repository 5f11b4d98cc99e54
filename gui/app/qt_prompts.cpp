#include "gui/app/qt_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "core/base/program_names.h"
#include "core/device/access_rules.h"
#include "gui/app/file_dialog_setup.h"
#include "gui/device/ee_lock_confirm_dlg.h"
#include "gui/device/password_dlg.h"

namespace velorin::gui {

namespace {

QMessageBox::Icon ToQtIcon(core::MessageIcon icon) {
    switch (icon) {
        case core::MessageIcon::Information:
            return QMessageBox::Information;
        case core::MessageIcon::Error:
            return QMessageBox::Critical;
        case core::MessageIcon::Question:
            return QMessageBox::Question;
        case core::MessageIcon::None:
            return QMessageBox::NoIcon;
        case core::MessageIcon::Exclamation:
        case core::MessageIcon::Default:
            break;
    }
    return QMessageBox::Warning;
}

QMessageBox::StandardButtons ToQtButtons(core::MessageButtons buttons) {
    switch (buttons) {
        case core::MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case core::MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case core::MessageButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

}  // namespace

QWidget *QtPrompts::Owner() {
    return QApplication::activeWindow();
}

core::MessageAnswer QtPrompts::ShowMessage(const core::Message &message) {
    const QString caption = message.caption.empty() ? QString(core::kApplicationName)
                                                    : QString::fromStdString(message.caption);
    QMessageBox box(ToQtIcon(core::EffectiveIcon(message.buttons, message.icon)), caption,
                    QString::fromStdString(message.text), ToQtButtons(message.buttons), Owner());
    switch (box.exec()) {
        case QMessageBox::Cancel:
            return core::MessageAnswer::Cancel;
        case QMessageBox::Yes:
            return core::MessageAnswer::Yes;
        case QMessageBox::No:
            return core::MessageAnswer::No;
        default:
            return core::MessageAnswer::Ok;
    }
}

bool QtPrompts::ConfirmLock() {
    CEELockConfirmDlg dialog(Owner());
    return dialog.exec() == QDialog::Accepted &&
           core::IsLockConfirmation(dialog.ConfirmationText().toStdString());
}

bool QtPrompts::AskPassword() {
    CPasswordDlg dialog(*this, Owner());
    return dialog.exec() == QDialog::Accepted;
}

std::optional<std::string> QtPrompts::ChooseFile(const core::FileRequest &request, bool save) {
    QFileDialog dialog(Owner());
    ConfigureFileDialog(dialog, request, save);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> QtPrompts::ChooseFileToOpen(const core::FileRequest &request) {
    return ChooseFile(request, false);
}

std::optional<std::string> QtPrompts::ChooseFileToSave(const core::FileRequest &request) {
    return ChooseFile(request, true);
}

}  // namespace velorin::gui
