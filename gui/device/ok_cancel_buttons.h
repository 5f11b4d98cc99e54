// The OK and Cancel buttons that end the access dialogs.
#pragma once

#include <Qt>

class QDialog;
class QDialogButtonBox;

namespace velorin::gui {

// OK (id 1, the default button) and Cancel (id 2) in a box owned by the dialog, wired to its
// accept() and reject(), so that a dialog's own rules for either apply.
QDialogButtonBox *MakeOkCancelButtons(QDialog &dialog, Qt::Orientation orientation);

}  // namespace velorin::gui
