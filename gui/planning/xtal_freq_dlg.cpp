#include "gui/planning/xtal_freq_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "core/ui/control_ids.h"
#include "gui/app/dialog_units.h"
#include "gui/device/ok_cancel_buttons.h"
#include "gui/widgets/control_id.h"

namespace velorin::gui {

CXtalFreqDlg::CXtalFreqDlg(std::function<bool(const std::string &)> save, QWidget *parent)
    : QDialog(parent), save_(std::move(save)) {
    setObjectName("xtalFreqDialog");
    SetControlId(this, ids::kCrystalDialog);
    setWindowTitle("Save Block B XTAL Frequency");

    auto *prompt = new QLabel("Provide XTAL frequency in Mhz:\nFormat is dd.ddd", this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName("xtalFrequencyEdit");
    edit_->setAccessibleName("XTAL frequency in Mhz");
    edit_->setToolTip(
        "Block B's crystal frequency, 27.351 to 38.333 MHz; stored with three "
        "decimals in the board's EEPROM at 0xB000");
    SetControlId(edit_, ids::crystal_dialog::kCrystalEdit);
    prompt->setBuddy(edit_);
    QDialogButtonBox *buttons = MakeOkCancelButtons(*this, Qt::Vertical);

    auto *layout = new QGridLayout(this);
    layout->addWidget(prompt, 0, 0);
    layout->addWidget(edit_, 1, 0);
    layout->addWidget(buttons, 0, 1, 2, 1);
    layout->setColumnStretch(0, 1);
    FixDialogSize(*this, 186, 52);
    edit_->setFocus();
}

void CXtalFreqDlg::accept() {
    if (save_(edit_->text().toStdString())) QDialog::accept();
}

}  // namespace velorin::gui
