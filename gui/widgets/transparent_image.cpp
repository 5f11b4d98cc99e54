#include "gui/widgets/transparent_image.h"

#include <QPainter>

#include "gui/widgets/bitmap_resources.h"
#include "gui/widgets/color_key_image.h"

namespace velorin::gui {

CTransparentImage::CTransparentImage(QWidget *parent) : QLabel(parent) {}

void CTransparentImage::SetBitmap(const QImage &bitmap) {
    bitmap_ = bitmap;
    resourceId_ = 0;
    seeThrough_ = bitmap.isNull() ? QImage() : WithSeeThroughMagenta(bitmap);
    update();
}

void CTransparentImage::SetBitmapResource(int id) {
    bitmap_ = LoadBitmapResource(id);
    resourceId_ = bitmap_.isNull() ? 0 : id;
    seeThrough_ = QImage();
    update();
}

const QImage &CTransparentImage::SeeThrough() {
    const qreal ratio = devicePixelRatioF();
    const qreal wanted = ratio > 1.0 ? 2.0 : 1.0;
    if (resourceId_ != 0 && (seeThrough_.isNull() || seeThrough_.devicePixelRatio() != wanted)) {
        seeThrough_ = WithSeeThroughMagenta(LoadBitmapResource(resourceId_, ratio));
    }
    return seeThrough_;
}

void CTransparentImage::paintEvent(QPaintEvent *event) {
    const QImage &picture = SeeThrough();
    if (picture.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipRect(rect());
    painter.drawImage(QPoint(0, 0), picture);
}

}  // namespace velorin::gui
