#include "gui/device/ee_lock_confirm_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/device/access_rules.h"
#include "core/ui/control_ids.h"
#include "gui/app/dialog_units.h"
#include "gui/device/ok_cancel_buttons.h"
#include "gui/widgets/control_id.h"

namespace velorin::gui {

CEELockConfirmDlg::CEELockConfirmDlg(QWidget *parent) : QDialog(parent) {
    setObjectName("eeLockConfirmDialog");
    setWindowTitle("EEPROM LOCK CONFIRM");
    QFont font("Arial Black");
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Black);
    font.setPointSize(18);
    setFont(font);

    auto *text = new QLabel(
        "Are you sure you want to write RAM content to EEPROM and LOCK the EEPROM?\n"
        "Type YES in the box below and press ok to confirm.",
        this);
    text->setWordWrap(true);
    edit_ = new QLineEdit(this);
    edit_->setObjectName("confirmEdit");
    text->setBuddy(edit_);
    edit_->setAccessibleName("Type YES to confirm");
    SetControlId(edit_, ids::lock_confirm_dialog::kConfirmEdit);

    QDialogButtonBox *buttons = MakeOkCancelButtons(*this, Qt::Horizontal);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    FixDialogSize(*this, 208, 61);
    edit_->setFocus();
}

void CEELockConfirmDlg::accept() {
    confirmation_ = edit_->text();
    // Anything but the word leaves the dialog open as it is, without a word said.
    if (core::IsLockConfirmation(confirmation_.toStdString())) QDialog::accept();
}

void CEELockConfirmDlg::reject() {
    confirmation_ = edit_->text();
    QDialog::reject();
}

}  // namespace velorin::gui
