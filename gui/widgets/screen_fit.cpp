#include "gui/widgets/screen_fit.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace velorin::gui {

bool FixSizeWithinScreen(QWidget &window, QSize whole) {
    const QRect available = window.screen()->availableGeometry();
    // The frame is known once the window has been shown; before, it counts as none.
    const QSize room = available.size() - (window.frameGeometry().size() - window.size());
    const bool fits = whole.width() <= room.width() && whole.height() <= room.height();
    window.setFixedSize(fits ? whole : whole.boundedTo(room));
    const QRect outer = window.frameGeometry();
    if (!available.contains(outer)) {
        window.move(std::clamp(outer.left(), available.left(),
                               std::max(available.left(), available.right() + 1 - outer.width())),
                    std::clamp(outer.top(), available.top(),
                               std::max(available.top(), available.bottom() + 1 - outer.height())));
    }
    return fits;
}

}  // namespace velorin::gui
