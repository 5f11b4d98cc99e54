#include "gui/widgets/bitmap_slider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <optional>

#include "core/ui/color_key.h"
#include "gui/widgets/bitmap_resources.h"
#include "gui/widgets/color_key_image.h"
#include "gui/widgets/control_id.h"
#include "gui/widgets/mem_dc.h"

namespace velorin::gui {

namespace {

std::optional<core::SliderKey> SliderKeyFor(int key) {
    switch (key) {
        case Qt::Key_PageUp:
            return core::SliderKey::PageUp;
        case Qt::Key_PageDown:
            return core::SliderKey::PageDown;
        case Qt::Key_End:
            return core::SliderKey::End;
        case Qt::Key_Home:
            return core::SliderKey::Home;
        case Qt::Key_Left:
            return core::SliderKey::Left;
        case Qt::Key_Up:
            return core::SliderKey::Up;
        case Qt::Key_Right:
            return core::SliderKey::Right;
        case Qt::Key_Down:
            return core::SliderKey::Down;
        default:
            return std::nullopt;
    }
}

}  // namespace

CBitmapSlider::CBitmapSlider(QWidget *parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    // Everything is drawn in the paint step through an off-screen buffer.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CBitmapSlider::SetRange(int minimum, int maximum, bool redraw) {
    // The position is brought into the new range only by the next SetPos.
    geometry_.minimum = minimum;
    geometry_.maximum = maximum;
    if (redraw) update();
}

void CBitmapSlider::SetPos(int position) {
    position_ = core::ClampSliderPosition(position, geometry_.minimum, geometry_.maximum);
    update();
}

bool CBitmapSlider::LoadPicture(int id, bool transparent, std::uint32_t keyColor, int keyX,
                                int keyY, qreal ratio, Picture &picture) {
    QImage image = LoadBitmapResource(id, ratio);
    if (image.isNull()) return false;
    if (transparent) {
        // The key pixel's place is in the picture's units.
        const int scale = qRound(image.devicePixelRatio());
        const int x = keyX * scale, y = keyY * scale;
        const QColor atKey = image.valid(x, y) ? image.pixelColor(x, y) : QColor();
        const core::Rgb key =
            core::ResolveKeyColor(keyColor, core::Rgb{static_cast<std::uint8_t>(atKey.red()),
                                                      static_cast<std::uint8_t>(atKey.green()),
                                                      static_cast<std::uint8_t>(atKey.blue())});
        image = WithColorKey(image, qRgb(key.red, key.green, key.blue));
    }
    picture.image = image;
    picture.loaded = true;
    picture.id = id;
    picture.transparent = transparent;
    picture.keyColor = keyColor;
    picture.keyX = keyX;
    picture.keyY = keyY;
    return true;
}

bool CBitmapSlider::LoadPictures(int normalId, int secondId, bool transparent,
                                 std::uint32_t keyColor, int keyX, int keyY, qreal ratio,
                                 Picture &normal, Picture &second) {
    normal = Picture{};
    second = Picture{};
    if (!LoadPicture(normalId, transparent, keyColor, keyX, keyY, ratio, normal)) return false;
    if (secondId != 0 && !LoadPicture(secondId, transparent, keyColor, keyX, keyY, ratio, second)) {
        normal = Picture{};
        return false;
    }
    return true;
}

bool CBitmapSlider::SetChannelBitmaps(int normalId, int filledId, bool transparent,
                                      std::uint32_t keyColor, int keyX, int keyY) {
    if (normalId == 0) {
        channel_ = Picture{};
        channelFilled_ = Picture{};
        return true;
    }
    if (!LoadPictures(normalId, filledId, transparent, keyColor, keyX, keyY, devicePixelRatioF(),
                      channel_, channelFilled_)) {
        return false;
    }
    const QSizeF channel = channel_.image.deviceIndependentSize();
    geometry_.channelWidth = qRound(channel.width());
    channelHeight_ = qRound(channel.height());
    setFixedSize(geometry_.channelWidth, channelHeight_);
    channelTransparent_ = transparent;
    update();
    return true;
}

bool CBitmapSlider::SetThumbBitmaps(int normalId, int draggedId, bool transparent,
                                    std::uint32_t keyColor, int keyX, int keyY) {
    if (normalId == 0) {
        thumb_ = Picture{};
        thumbDragged_ = Picture{};
        return true;
    }
    if (!LoadPictures(normalId, draggedId, transparent, keyColor, keyX, keyY, devicePixelRatioF(),
                      thumb_, thumbDragged_)) {
        return false;
    }
    const QSizeF thumb = thumb_.image.deviceIndependentSize();
    geometry_.thumbWidth = qRound(thumb.width());
    thumbHeight_ = qRound(thumb.height());
    if (!channel_.loaded) {
        geometry_.channelWidth = width();
        channelHeight_ = height();
    }
    thumbTransparent_ = transparent;
    update();
    return true;
}

void CBitmapSlider::SetMargins(int left, int top, int right, int bottom) {
    geometry_.marginLeft = left;
    marginTop_ = top;
    geometry_.marginRight = right;
    marginBottom_ = bottom;
}

void CBitmapSlider::SetFocusRectVisible(bool visible, bool redraw) {
    focusRectWanted_ = visible;
    if (redraw) update();
}

int CBitmapSlider::ThumbCentre() const {
    return core::PositionToPixel(geometry_, position_);
}

void CBitmapSlider::Post(int message, int position) {
    const int id = ControlIdOf(this);
    // Queued, so listeners hear of the move after this input has been handled.
    QMetaObject::invokeMethod(
        this,
        [this, message, id, position] {
            if (message == WM_SLIDER_MOVING) {
                emit sliderMoving(id, position);
            } else {
                emit sliderMoved(id, position);
            }
        },
        Qt::QueuedConnection);
}

void CBitmapSlider::DragTo(int pointerX) {
    const int x = core::ClampThumbCentre(geometry_, pointerX - dragOffset_);
    if (x == ThumbCentre()) return;
    SetPos(core::PixelToPosition(geometry_, x));
    Post(WM_SLIDER_MOVING, position_);
}

void CBitmapSlider::mousePressEvent(QMouseEvent *event) {
    if (!isEnabled() || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    dragging_ = true;
    const int x = event->position().toPoint().x();
    dragOffset_ = core::DragOffset(x, ThumbCentre(), geometry_.thumbWidth);
    DragTo(x);
    update();
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent *event) {
    if (!isEnabled() || !dragging_) return;
    DragTo(event->position().toPoint().x());
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent *event) {
    if (!isEnabled() || event->button() != Qt::LeftButton) return;
    dragging_ = false;
    update();
    Post(WM_SLIDER_MOVED, position_);
}

void CBitmapSlider::keyPressEvent(QKeyEvent *event) {
    const std::optional<core::SliderKey> key = SliderKeyFor(event->key());
    if (!key || !isEnabled()) {
        QWidget::keyPressEvent(event);
        return;
    }
    SetPos(core::SliderKeyTarget(*key, position_, pageSize_, geometry_.minimum, geometry_.maximum));
    // Reported on every press, also at an end of the range where nothing moved.
    Post(WM_SLIDER_MOVED, position_);
}

void CBitmapSlider::focusInEvent(QFocusEvent *event) {
    QWidget::focusInEvent(event);
    update();
}

void CBitmapSlider::focusOutEvent(QFocusEvent *event) {
    QWidget::focusOutEvent(event);
    update();
}

void CBitmapSlider::FollowPixelRatio() {
    const qreal ratio = devicePixelRatioF();
    const qreal wanted = ratio > 1.0 ? 2.0 : 1.0;
    for (Picture *picture : {&channel_, &channelFilled_, &thumb_, &thumbDragged_}) {
        if (!picture->loaded || picture->image.devicePixelRatio() == wanted) continue;
        Picture again;
        if (LoadPicture(picture->id, picture->transparent, picture->keyColor, picture->keyX,
                        picture->keyY, ratio, again)) {
            *picture = again;
        }
    }
}

void CBitmapSlider::paintEvent(QPaintEvent *) {
    FollowPixelRatio();
    QPainter target(this);
    const bool seeThrough = channelTransparent_ || !channel_.loaded;
    CMemDC memory(target, rect(), seeThrough, palette().color(QPalette::Window));
    QPainter &painter = memory.Painter();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int centre = ThumbCentre();

    if (channel_.loaded) {
        if (channelFilled_.loaded && isEnabled()) {
            // Filled from the minimum end up to the thumb centre, normal from there on.
            const int width = geometry_.channelWidth;
            const int split = std::max(0, std::min(centre, width));
            // Source rectangles are in the pictures' own pixels.
            const auto pixels = [](const QImage &image, const QRectF &units) {
                const qreal r = image.devicePixelRatio();
                return QRectF(units.topLeft() * r, units.size() * r);
            };
            const QRectF filled(0, 0, split, channelHeight_);
            const QRectF rest(split, 0, width - split, channelHeight_);
            painter.drawImage(filled, channelFilled_.image, pixels(channelFilled_.image, filled));
            painter.drawImage(rest, channel_.image, pixels(channel_.image, rest));
        } else {
            painter.drawImage(QPoint(0, 0), channel_.image);
        }
    }
    if (thumb_.loaded && isEnabled()) {
        const QImage &image =
            dragging_ && thumbDragged_.loaded ? thumbDragged_.image : thumb_.image;
        painter.drawImage(QPoint(centre - geometry_.thumbWidth / 2, marginTop_), image);
    }
    if (focusRectWanted_ && hasFocus() && isEnabled()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

}  // namespace velorin::gui
