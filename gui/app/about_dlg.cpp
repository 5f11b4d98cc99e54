#include "gui/app/about_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "core/ui/control_ids.h"
#include "gui/widgets/bitmap_resources.h"
#include "gui/widgets/control_id.h"
#include "velorin_version.h"

namespace velorin::gui {

CAboutDlg::CAboutDlg(QWidget *parent) : QDialog(parent) {
    setObjectName("aboutDialog");
    SetControlId(this, ids::kAboutDialog);
    setWindowTitle("About QV MXRG817A CtrlGui");

    auto *icon = new QLabel(this);
    icon->setObjectName("aboutIcon");
    icon->setAccessibleName("Program icon");
    icon->setPixmap(
        QPixmap::fromImage(LoadBitmapResource(bitmaps::kProgramIcon, devicePixelRatioF())));
    auto *name = new QLabel("QV MXRG817A CtrlGui - Version 1.0", this);
    name->setObjectName("aboutName");
    auto *line =
        new QLabel("Bench control for the MXRG817A clock-generator evaluation board.", this);
    line->setObjectName("aboutLine");
    auto *version = new QLabel(QString("Package version %1").arg(VELORIN_PACKAGE_VERSION), this);
    version->setObjectName("aboutVersion");

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(line, 1, 1);
    layout->addWidget(version, 2, 1);
    layout->addWidget(buttons, 0, 2, 3, 1, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace velorin::gui
