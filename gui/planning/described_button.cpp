#include "gui/planning/described_button.h"

namespace velorin::gui {

QPushButton *DescribedButton(const QString &text, const char *objectName, const QString &meaning) {
    auto *button = new QPushButton(text);
    button->setObjectName(objectName);
    button->setAccessibleDescription(meaning);
    button->setToolTip(meaning);
    button->setAutoDefault(false);
    return button;
}

}  // namespace velorin::gui
