#include "gui/device/ok_cancel_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "core/ui/control_ids.h"
#include "gui/widgets/control_id.h"

namespace velorin::gui {

QDialogButtonBox *MakeOkCancelButtons(QDialog &dialog, Qt::Orientation orientation) {
    auto *buttons = new QDialogButtonBox(orientation, &dialog);
    QPushButton *ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    QPushButton *cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    ok->setObjectName("okButton");
    cancel->setObjectName("cancelButton");
    SetControlId(ok, ids::kOkButton);
    SetControlId(cancel, ids::kCancelButton);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

}  // namespace velorin::gui
