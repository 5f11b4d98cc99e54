// Dialog templates give sizes in dialog units, which scale with the dialog's font.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QSize>

namespace velorin::gui {

// The pixel size of width x height dialog units at the given font: a horizontal unit is a
// quarter of the average character width, a vertical unit an eighth of the line height.
inline QSize DialogUnitsToPixels(const QFont &font, int width, int height) {
    const QFontMetricsF metrics(font);
    return QSize(qRound(width * metrics.averageCharWidth() / 4.0),
                 qRound(height * metrics.height() / 8.0));
}

}  // namespace velorin::gui
