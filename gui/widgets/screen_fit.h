// Windows of a fixed size on a screen that may be too small for them.
#pragma once

#include <QSize>

class QWidget;

namespace velorin::gui {

// Fixes the window at `whole` where its screen's work area has room for that and the window's
// frame, else at as much as the work area holds (what the window shows must then scroll), and
// moves the frame onto the work area where it reaches past it. Returns whether all of it fits.
bool FixSizeWithinScreen(QWidget &window, QSize whole);

}  // namespace velorin::gui
