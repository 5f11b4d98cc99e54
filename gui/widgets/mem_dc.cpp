#include "gui/widgets/mem_dc.h"

#include <QPaintDevice>

namespace velorin::gui {

CMemDC::CMemDC(QPainter &target, const QRect &rect, bool copyBackground, const QColor &background)
    : target_(target), rect_(rect) {
    QPaintDevice *device = target.device();
    if (device != nullptr && device->devType() == QInternal::Printer) return;
    const qreal ratio = device != nullptr ? device->devicePixelRatioF() : 1.0;
    QPixmap pixmap(rect.size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(copyBackground ? QColor(Qt::transparent) : background);
    buffer_.emplace(std::move(pixmap));
    painter_.emplace(&*buffer_);
    painter_->setFont(target.font());
    painter_->setPen(target.pen());
    painter_->setBrush(target.brush());
    painter_->translate(-rect.topLeft());
}

CMemDC::~CMemDC() {
    if (!buffer_) return;
    painter_->end();
    target_.drawPixmap(rect_.topLeft(), *buffer_);
}

QPainter &CMemDC::Painter() {
    return painter_ ? *painter_ : target_;
}

}  // namespace velorin::gui
