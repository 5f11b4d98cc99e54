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
    minimum_ = minimum;
    maximum_ = maximum;
    if (redraw) update();
}

void CBitmapSlider::SetPos(int position) {
    position_ = core::ClampSliderPosition(position, minimum_, maximum_);
    update();
}

bool CBitmapSlider::LoadPicture(int id, bool transparent, std::uint32_t keyColor, int keyX,
                                int keyY, Picture &picture) {
    QImage image = LoadBitmapResource(id);
    if (image.isNull()) return false;
    if (transparent) {
        const QColor atKey = image.valid(keyX, keyY) ? image.pixelColor(keyX, keyY) : QColor();
        const core::Rgb key =
            core::ResolveKeyColor(keyColor, core::Rgb{static_cast<std::uint8_t>(atKey.red()),
                                                      static_cast<std::uint8_t>(atKey.green()),
                                                      static_cast<std::uint8_t>(atKey.blue())});
        image = WithColorKey(image, qRgb(key.red, key.green, key.blue));
    }
    picture.image = image;
    picture.loaded = true;
    return true;
}

bool CBitmapSlider::SetChannelBitmaps(int normalId, int filledId, bool transparent,
                                      std::uint32_t keyColor, int keyX, int keyY) {
    channel_ = Picture{};
    channelFilled_ = Picture{};
    if (normalId == 0) return true;
    if (!LoadPicture(normalId, transparent, keyColor, keyX, keyY, channel_)) return false;
    if (filledId != 0 &&
        !LoadPicture(filledId, transparent, keyColor, keyX, keyY, channelFilled_)) {
        channel_ = Picture{};
        return false;
    }
    channelWidth_ = channel_.image.width();
    channelHeight_ = channel_.image.height();
    setFixedSize(channelWidth_, channelHeight_);
    channelTransparent_ = transparent;
    update();
    return true;
}

bool CBitmapSlider::SetThumbBitmaps(int normalId, int draggedId, bool transparent,
                                    std::uint32_t keyColor, int keyX, int keyY) {
    thumb_ = Picture{};
    thumbDragged_ = Picture{};
    if (normalId == 0) return true;
    if (!LoadPicture(normalId, transparent, keyColor, keyX, keyY, thumb_)) return false;
    if (draggedId != 0 &&
        !LoadPicture(draggedId, transparent, keyColor, keyX, keyY, thumbDragged_)) {
        thumb_ = Picture{};
        return false;
    }
    thumbWidth_ = thumb_.image.width();
    thumbHeight_ = thumb_.image.height();
    if (!channel_.loaded) {
        channelWidth_ = width();
        channelHeight_ = height();
    }
    thumbTransparent_ = transparent;
    update();
    return true;
}

void CBitmapSlider::SetMargins(int left, int top, int right, int bottom) {
    marginLeft_ = left;
    marginTop_ = top;
    marginRight_ = right;
    marginBottom_ = bottom;
}

void CBitmapSlider::SetFocusRectVisible(bool visible, bool redraw) {
    focusRectWanted_ = visible;
    if (redraw) update();
}

core::SliderGeometry CBitmapSlider::Geometry() const {
    return core::SliderGeometry{minimum_,    maximum_,    channelWidth_,
                                thumbWidth_, marginLeft_, marginRight_};
}

int CBitmapSlider::ThumbCentre() const {
    return core::PositionToPixel(Geometry(), position_);
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
    const core::SliderGeometry geometry = Geometry();
    const int x = core::ClampThumbCentre(geometry, pointerX - dragOffset_);
    if (x == core::PositionToPixel(geometry, position_)) return;
    SetPos(core::PixelToPosition(geometry, x));
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
    dragOffset_ = core::DragOffset(x, ThumbCentre(), thumbWidth_);
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
    SetPos(core::SliderKeyTarget(*key, position_, pageSize_, minimum_, maximum_));
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

void CBitmapSlider::paintEvent(QPaintEvent *) {
    QPainter target(this);
    const bool seeThrough = channelTransparent_ || !channel_.loaded;
    CMemDC memory(target, rect(), seeThrough, palette().color(QPalette::Window));
    QPainter &painter = memory.Painter();
    const int centre = ThumbCentre();

    if (channel_.loaded) {
        if (channelFilled_.loaded && isEnabled()) {
            // Filled from the minimum end up to the thumb centre, normal from there on.
            const int split = std::max(0, std::min(centre, channelWidth_));
            painter.drawImage(QPoint(0, 0), channelFilled_.image,
                              QRect(0, 0, split, channelHeight_));
            painter.drawImage(QPoint(split, 0), channel_.image,
                              QRect(split, 0, channelWidth_ - split, channelHeight_));
        } else {
            painter.drawImage(QPoint(0, 0), channel_.image);
        }
    }
    if (thumb_.loaded && isEnabled()) {
        const QImage &image =
            dragging_ && thumbDragged_.loaded ? thumbDragged_.image : thumb_.image;
        painter.drawImage(QPoint(centre - thumbWidth_ / 2, marginTop_), image);
    }
    if (focusRectWanted_ && hasFocus() && isEnabled()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

}  // namespace velorin::gui
