#include "gui/widgets/transparent_image.h"

#include <QPainter>

#include "gui/widgets/color_key_image.h"

namespace velorin::gui {

CTransparentImage::CTransparentImage(QWidget *parent) : QLabel(parent) {}

void CTransparentImage::SetBitmap(const QImage &bitmap) {
    bitmap_ = bitmap;
    seeThrough_ = bitmap.isNull() ? QImage() : WithSeeThroughMagenta(bitmap);
    update();
}

void CTransparentImage::paintEvent(QPaintEvent *event) {
    if (seeThrough_.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setClipRect(rect());
    painter.drawImage(QPoint(0, 0), seeThrough_);
}

}  // namespace velorin::gui
