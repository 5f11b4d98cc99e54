#include "gui/widgets/uni_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>
#include <algorithm>

namespace velorin::gui {

namespace {

constexpr int Index(core::ButtonFace face) {
    return static_cast<int>(face);
}

const QColor kValueTextColor(128, 0, 0);
constexpr int kTextFlags = Qt::AlignHCenter | Qt::AlignTop;
// The caption shrinks in half points until its lines fit, but not below this.
constexpr qreal kSmallestCaptionPoints = 6.0;

// Each line of a horizontally centred text, from its first mark to its last, as drawn in a box
// of the given width from y = top.
QRectF LinesInk(const QFontMetricsF &metrics, const QString &text, qreal width, qreal top) {
    QRectF ink;
    qreal y = top;
    for (const QString &line : text.split('\n')) {
        QString marks = line;
        while (!marks.isEmpty() && marks.back().isSpace()) marks.chop(1);
        const qreal left = (width - metrics.horizontalAdvance(line)) / 2;
        if (!marks.isEmpty()) {
            ink |= QRectF(left, y, metrics.horizontalAdvance(marks), metrics.height());
        }
        y += metrics.lineSpacing();
    }
    return ink;
}

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
    regionOffset_ = -region.boundingRect().topLeft();
    region_ = region.translated(regionOffset_);
    textCentre_ = region_.boundingRect().center();
    needsRender_ = true;
    // The smoothed edge reaches into the pixels just outside the region.
    QRegion painted = region_;
    for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
        painted += region_.translated(step);
    setMask(painted);
    repaint();
}

void CUniButton::SetOutline(const QPainterPath &outline) {
    outline_ = outline.translated(regionOffset_);
    needsRender_ = true;
    update();
}

QPainterPath CUniButton::Outline() const {
    if (!outline_.isEmpty()) return outline_;
    QPainterPath edge;
    edge.addRegion(EffectiveRegion());
    return edge.simplified();
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

CUniButton::TextLayout CUniButton::LayOutText(const QPaintDevice &device) const {
    TextLayout layout;
    layout.font = CaptionFont();
    const QString caption = text();
    for (;;) {
        const QFontMetricsF metrics(layout.font, &device);
        const auto linesHeight = [&](const QString &lines) {
            return lines.isEmpty()
                       ? 0.0
                       : metrics.lineSpacing() * (lines.count('\n') + 1) - metrics.leading();
        };
        layout.captionHeight = qCeil(linesHeight(caption));
        layout.valueHeight = qCeil(linesHeight(valueText_));
        layout.top = (height() - layout.captionHeight - layout.valueHeight) / 2;
        layout.ink = LinesInk(metrics, caption, width(), layout.top) |
                     LinesInk(metrics, valueText_, width(), layout.top + layout.captionHeight);
        // Inside the one-pixel rim.
        const bool fits = QRectF(rect()).adjusted(1, 1, -1, -1).contains(layout.ink);
        const qreal points = layout.font.pointSizeF();
        if (fits || points <= kSmallestCaptionPoints || points <= 0) break;
        layout.font.setPointSizeF(std::max(kSmallestCaptionPoints, points - 0.5));
    }
    return layout;
}

QRect CUniButton::DisabledCaptionBox(const QFont &font, const QPaintDevice &device) const {
    // Embossed: a light copy one pixel down and right under a shadow copy, the caption's
    // top-left corner half a text height below the shape's centre, moved up and left as far
    // as it must to stay on the button with its light copy.
    const QFontMetrics metrics(font, &device);
    const QRect caption = metrics.boundingRect(QRect(0, 0, width(), height()), kTextFlags, text());
    QRect box(QPoint(textCentre_.x(), textCentre_.y() + caption.height() / 2), caption.size());
    box.moveRight(std::min(box.right(), width() - 3));
    box.moveBottom(std::min(box.bottom(), height() - 3));
    box.moveTopLeft(QPoint(std::max(box.left(), 1), std::max(box.top(), 1)));
    return box;
}

QRectF CUniButton::TextRect() {
    const QImage &face = FaceImage(core::ButtonFace::Normal);
    const TextLayout layout = LayOutText(face);
    if (CurrentFace() != core::ButtonFace::Disabled) return layout.ink;
    const QFontMetricsF metrics(layout.font, &face);
    const QRect box = DisabledCaptionBox(layout.font, face);
    return LinesInk(metrics, text(), box.width(), box.top()).translated(box.left(), 0);
}

void CUniButton::RenderFaces() {
    // A changed caption also calls for new faces, or the old caption would stay on show; so
    // does a screen of another pixel ratio.
    if (!needsRender_ && renderedCaption_ == text() &&
        faces_[0].deviceIndependentSize() == size() &&
        faces_[0].devicePixelRatio() == devicePixelRatioF()) {
        return;
    }
    for (auto face : {core::ButtonFace::Normal, core::ButtonFace::Pressed, core::ButtonFace::Hover,
                      core::ButtonFace::Disabled}) {
        faces_[Index(face)] = RenderFace(face);
    }
    renderedCaption_ = text();
    needsRender_ = false;
}

QImage CUniButton::RenderFace(core::ButtonFace face) const {
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // A one-pixel rim: the part of the shape that the shape moved left and up does not cover
    // is the bottom-right edge, of the rest the part that the shape moved right and down does
    // not cover the top-left edge. Each fill lies inside the one before, so no seam shows.
    const QPainterPath shape = Outline();
    const QPainterPath upperLeft = shape.intersected(shape.translated(-1, -1));
    QColor topLeft = palette().color(QPalette::Light);
    QColor bottomRight = palette().color(QPalette::Shadow);
    if (face == core::ButtonFace::Pressed) std::swap(topLeft, bottomRight);
    painter.fillPath(shape, bottomRight);
    painter.fillPath(upperLeft, topLeft);
    painter.fillPath(upperLeft.intersected(shape.translated(1, 1)), colors_[Index(face)]);

    const TextLayout layout = LayOutText(image);
    painter.setFont(layout.font);
    const QString caption = text();
    if (face == core::ButtonFace::Disabled) {
        const QRect box = DisabledCaptionBox(layout.font, image);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(box.translated(1, 1), kTextFlags, caption);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawText(box, kTextFlags, caption);
    } else {
        painter.setPen(palette().color(QPalette::ButtonText));
        // The boxes reach the bottom: a box is a clip, and no line may lose its descenders.
        painter.drawText(QRect(0, layout.top, width(), height() - layout.top), kTextFlags, caption);
        if (!valueText_.isEmpty()) {
            const int valueTop = layout.top + layout.captionHeight;
            painter.setPen(kValueTextColor);
            painter.drawText(QRect(0, valueTop, width(), height() - valueTop), kTextFlags,
                             valueText_);
        }
    }
    return image;
}

void CUniButton::paintEvent(QPaintEvent *) {
    RenderFaces();
    // The face is see-through outside the shape; a clip to the region would cut its smoothed
    // edge back to whole pixels.
    QPainter painter(this);
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
