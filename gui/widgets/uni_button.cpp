#include "gui/widgets/uni_button.h"

#include <QMouseEvent>
#include <QPainter>

namespace velorin::gui {

namespace {

constexpr int Index(core::ButtonFace face) {
    return static_cast<int>(face);
}

const QColor kValueTextColor(128, 0, 0);

}  // namespace

CUniButton::CUniButton(QWidget *parent) : CUniButton(QString(), parent) {}

CUniButton::CUniButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent) {
    colors_.fill(palette().color(QPalette::Button));
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
}

void CUniButton::SetRegionAndColors(const QRegion &region, const QColor &normal,
                                    const QColor &pressed, const QColor &hover,
                                    const QColor &disabled) {
    colors_[Index(core::ButtonFace::Normal)] = normal;
    colors_[Index(core::ButtonFace::Pressed)] = pressed;
    colors_[Index(core::ButtonFace::Hover)] = hover;
    colors_[Index(core::ButtonFace::Disabled)] = disabled;
    region_ = region.translated(-region.boundingRect().topLeft());
    textCentre_ = region_.boundingRect().center();
    needsRender_ = true;
    setMask(region_);
    repaint();
}

void CUniButton::SetValueText(const QString &text) {
    valueText_ = text;
    setAccessibleDescription(text);
    needsRender_ = true;
    update();
}

core::ButtonFace CUniButton::CurrentFace() const {
    return core::ChooseButtonFace(isEnabled(), isDown(), hover_);
}

QColor CUniButton::FaceColor(core::ButtonFace face) const {
    return colors_[Index(face)];
}

const QImage &CUniButton::FaceImage(core::ButtonFace face) {
    RenderFaces();
    return faces_[Index(face)];
}

QRegion CUniButton::EffectiveRegion() const {
    return region_.isEmpty() ? QRegion(rect()) : region_;
}

QFont CUniButton::CaptionFont() const {
    // A bold font two pixels taller than the parent's.
    QFont font = parentWidget() != nullptr ? parentWidget()->font() : this->font();
    if (font.pixelSize() > 0) {
        font.setPixelSize(font.pixelSize() + 2);
    } else {
        font.setPointSizeF(font.pointSizeF() + 1.5);
    }
    font.setWeight(QFont::Bold);
    return font;
}

void CUniButton::RenderFaces() {
    // A changed caption also calls for new faces, or the old caption would stay on show.
    if (!needsRender_ && renderedCaption_ == text() && faces_[0].size() == size()) return;
    for (auto face : {core::ButtonFace::Normal, core::ButtonFace::Pressed, core::ButtonFace::Hover,
                      core::ButtonFace::Disabled}) {
        faces_[Index(face)] = RenderFace(face);
    }
    renderedCaption_ = text();
    needsRender_ = false;
}

QImage CUniButton::RenderFace(core::ButtonFace face) const {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    const QRegion region = EffectiveRegion();
    QPainter painter(&image);
    painter.setClipRegion(region);
    painter.fillRect(rect(), colors_[Index(face)]);

    painter.setFont(CaptionFont());
    const QFontMetrics metrics(painter.font());
    const QString caption = text();
    const int flags = Qt::AlignHCenter | Qt::AlignTop;
    const QRect captionBox = metrics.boundingRect(QRect(0, 0, width(), height()), flags, caption);
    if (face == core::ButtonFace::Disabled) {
        // Embossed: a light copy one pixel down and right under a shadow copy, the caption's
        // top-left corner half a text height below the shape's centre.
        const QPoint topLeft(textCentre_.x(), textCentre_.y() + captionBox.height() / 2);
        const QRect box(topLeft, captionBox.size());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(box.translated(1, 1), flags, caption);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawText(box, flags, caption);
    } else {
        const QRect valueBox =
            valueText_.isEmpty()
                ? QRect()
                : metrics.boundingRect(QRect(0, 0, width(), height()), flags, valueText_);
        const int top = (height() - captionBox.height() - valueBox.height()) / 2;
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(QRect(0, top, width(), captionBox.height()), flags, caption);
        if (!valueText_.isEmpty()) {
            painter.setPen(kValueTextColor);
            painter.drawText(QRect(0, top + captionBox.height(), width(), valueBox.height()), flags,
                             valueText_);
        }
    }

    // A one-pixel rim: the edge not covered by the shape moved right and down is the top-left
    // edge, the one not covered by the shape moved left and up the bottom-right edge.
    QColor topLeft = palette().color(QPalette::Light);
    QColor bottomRight = palette().color(QPalette::Shadow);
    if (face == core::ButtonFace::Pressed) std::swap(topLeft, bottomRight);
    painter.setClipRegion(region.subtracted(region.translated(1, 1)));
    painter.fillRect(rect(), topLeft);
    painter.setClipRegion(region.subtracted(region.translated(-1, -1)));
    painter.fillRect(rect(), bottomRight);
    return image;
}

void CUniButton::paintEvent(QPaintEvent *) {
    RenderFaces();
    QPainter painter(this);
    painter.setClipRegion(EffectiveRegion());
    painter.drawImage(QPoint(0, 0), faces_[Index(CurrentFace())]);
}

void CUniButton::TrackPointer(const QPoint &pos) {
    if (EffectiveRegion().contains(pos)) {
        if (hover_) return;
        hover_ = true;
    } else {
        if (!hover_) return;
        hover_ = false;
    }
    repaint();
}

void CUniButton::mouseMoveEvent(QMouseEvent *event) {
    if (!held_) TrackPointer(event->position().toPoint());
    QPushButton::mouseMoveEvent(event);
}

void CUniButton::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && hitButton(event->position().toPoint())) held_ = true;
    QPushButton::mousePressEvent(event);
}

void CUniButton::mouseReleaseEvent(QMouseEvent *event) {
    QPushButton::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    held_ = false;
    TrackPointer(event->position().toPoint());
}

void CUniButton::mouseDoubleClickEvent(QMouseEvent *event) {
    // The second click of a quick pair is a click of its own.
    mousePressEvent(event);
}

void CUniButton::leaveEvent(QEvent *event) {
    if (hover_) {
        hover_ = false;
        repaint();
    }
    QPushButton::leaveEvent(event);
}

void CUniButton::resizeEvent(QResizeEvent *event) {
    needsRender_ = true;
    QPushButton::resizeEvent(event);
}

bool CUniButton::hitButton(const QPoint &pos) const {
    return EffectiveRegion().contains(pos);
}

}  // namespace velorin::gui
