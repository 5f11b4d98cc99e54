// A push button of the loop-filter windows: its caption, a name tests find it by, and what it
// does as its description and tooltip. It never takes Enter from the dialog's fields.
#pragma once

#include <QPushButton>
#include <QString>

namespace velorin::gui {

QPushButton *DescribedButton(const QString &text, const char *objectName, const QString &meaning);

}  // namespace velorin::gui
