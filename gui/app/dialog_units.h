// Dialog templates give sizes in dialog units, which scale with the dialog's font.
#pragma once

#include <QDialog>
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

// Gives a dialog its template size, or what its contents need if that is more, and keeps it:
// dialogs made from templates have no sizing border.
inline void FixDialogSize(QDialog &dialog, int width, int height) {
    dialog.setMinimumSize(DialogUnitsToPixels(dialog.font(), width, height));
    dialog.adjustSize();
    dialog.setFixedSize(dialog.size());
}

}  // namespace velorin::gui
