#include "gui/widgets/color_static.h"

#include <QPainter>

namespace velorin::gui {

CColorStatic::CColorStatic(QWidget *parent) : QLabel(parent) {}

CColorStatic::CColorStatic(const QString &text, QWidget *parent) : QLabel(text, parent) {}

void CColorStatic::paintEvent(QPaintEvent *) {
    // No background fill: the parent shows behind the text. Lines start at the top even when
    // there are several of them.
    QPainter painter(this);
    painter.setPen(TextColor());
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignTop, text());
}

}  // namespace velorin::gui
