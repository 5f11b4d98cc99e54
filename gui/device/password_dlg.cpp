#include "gui/device/password_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "core/device/access_rules.h"
#include "core/ui/control_ids.h"
#include "gui/app/dialog_units.h"
#include "gui/device/ok_cancel_buttons.h"
#include "gui/widgets/control_id.h"

namespace velorin::gui {

CPasswordDlg::CPasswordDlg(core::Prompts &prompts, QWidget *parent)
    : QDialog(parent), prompts_(prompts) {
    setObjectName("passwordDialog");
    setWindowTitle(QString::fromUtf8("\u00BFPassword?"));
    QFont font("MS Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    setFont(font);

    edit_ = new QLineEdit(this);
    edit_->setObjectName("passwordEdit");
    edit_->setEchoMode(QLineEdit::Password);
    SetControlId(edit_, ids::password_dialog::kPasswordEdit);

    QDialogButtonBox *buttons = MakeOkCancelButtons(*this, Qt::Vertical);

    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel("This function requires a password to continue.", this), 0, 0, 1,
                      2);
    auto *prompt = new QLabel("Enter password:", this);
    prompt->setBuddy(edit_);
    layout->addWidget(prompt, 1, 0);
    layout->addWidget(edit_, 1, 1);
    layout->addWidget(buttons, 0, 2, 2, 1);
    layout->setColumnStretch(1, 1);
    FixDialogSize(*this, 242, 49);
    edit_->setFocus();
}

void CPasswordDlg::accept() {
    password_ = edit_->text();
    if (core::MatchesAccessCode(password_.toStdString())) {
        QDialog::accept();
        return;
    }
    prompts_.ShowMessage(core::Message{"Password in incorrect!", std::string(),
                                       core::MessageButtons::Ok, core::MessageIcon::Default});
}

}  // namespace velorin::gui
