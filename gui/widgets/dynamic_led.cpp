#include "gui/widgets/dynamic_led.h"

#include <QPainter>
#include <cmath>

#include "core/ui/led_colors.h"

namespace velorin::gui {

namespace {

QColor ToColor(core::Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// Qt's angle, in sixteenths of a degree counter-clockwise from three o'clock, of the ray from
// the centre of r through p.
int AngleOf(const QRectF &r, QPointF p) {
    const QPointF c = r.center();
    // Scale so that the angle is taken on the ellipse, not on its bounding rectangle.
    const double dx = (p.x() - c.x()) / (r.width() / 2.0);
    const double dy = (c.y() - p.y()) / (r.height() / 2.0);
    return static_cast<int>(std::lround(std::atan2(dy, dx) * 180.0 / M_PI * 16.0));
}

}  // namespace

CDynamicLED::CDynamicLED(QWidget *parent)
    : QWidget(parent), colorId_(core::LedColorRed), shapeId_(core::LedShapeRound) {
    setAccessibleDescription("unlit");
}

void CDynamicLED::SetLed(int colorId, int shapeId, int /*blink*/) {
    colorId_ = colorId;
    shapeId_ = shapeId;
    update();
}

void CDynamicLED::TurnOn() {
    lit_ = true;
    setAccessibleDescription("lit");
    repaint();
}

void CDynamicLED::TurnOff() {
    lit_ = false;
    setAccessibleDescription("unlit");
    repaint();
}

void CDynamicLED::paintEvent(QPaintEvent *) {
    const core::LedColors colors = core::LedColorsFor(colorId_);
    const QColor color = ToColor(lit_ ? colors.lit : colors.unlit);
    QPainter painter(this);
    if (shapeId_ == core::LedShapeSquare) {
        PaintSquare(painter, color);
    } else {
        PaintRound(painter, color);
    }
}

void CDynamicLED::PaintRound(QPainter &painter, const QColor &color) const {
    painter.setRenderHint(QPainter::Antialiasing);
    // Outlines are drawn on the pixel centres of the client rectangle's edge.
    const QRectF r = QRectF(rect()).adjusted(1.0, 1.0, -1.0, -1.0);
    painter.setPen(QPen(color, 1));
    painter.setBrush(color);
    painter.drawEllipse(r);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ToColor(core::kLedDarkRim), 3));
    painter.drawEllipse(r);
    painter.setPen(QPen(ToColor(core::kLedLightRim), 1));
    painter.drawEllipse(r);

    // Highlight along the lower right: from the bottom centre counter-clockwise towards the
    // top-right corner.
    const int start = AngleOf(r, QPointF(r.center().x(), r.bottom()));
    int end = AngleOf(r, r.topRight());
    int span = end - start;
    while (span <= 0) span += 360 * 16;
    // At one device pixel per unit unsmoothed: a smoothed 1-pixel line would smear over two
    // pixels and all but vanish into the light line beneath it. On a denser screen it is two
    // or more device pixels wide and smoothed like the rest.
    painter.setRenderHint(QPainter::Antialiasing, devicePixelRatioF() > 1.0);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawArc(r, start, span);

    // The reflection: a two-pixel white dot near the top left.
    painter.fillRect(QRect(rect().left() + 4, rect().top() + 4, 2, 2), Qt::white);
}

void CDynamicLED::PaintSquare(QPainter &painter, const QColor &color) const {
    const QRect r = rect();
    painter.fillRect(r, color);
    // A sunken frame: dark top and left edges, light right and bottom edges.
    painter.setPen(ToColor(core::kLedDarkRim));
    painter.drawLine(r.bottomLeft(), r.topLeft());
    painter.drawLine(r.topLeft(), r.topRight());
    painter.setPen(ToColor(core::kLedLightRim));
    painter.drawLine(r.topRight(), r.bottomRight());
    painter.drawLine(r.bottomRight(), r.bottomLeft());
}

}  // namespace velorin::gui
