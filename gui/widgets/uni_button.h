// CUniButton: a push button of any shape, filled with flat colours per state, with a bold
// caption and a second "value" line. Its four faces are rendered once for the screen's device
// pixel ratio, its outline smoothed, and then only copied.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPushButton>
#include <QRegion>
#include <array>

#include "core/ui/button_face.h"

namespace velorin::gui {

class CUniButton : public QPushButton {
    Q_OBJECT
  public:
    explicit CUniButton(QWidget *parent = nullptr);
    explicit CUniButton(const QString &caption, QWidget *parent = nullptr);

    // The region is moved so that its bounding box starts at (0, 0); the button is clipped to
    // it and reacts to the pointer only inside it.
    void SetRegionAndColors(const QRegion &region, const QColor &normal, const QColor &pressed,
                            const QColor &hover, const QColor &disabled);
    // The outline that is painted, smoothed, in the coordinates of the region last given; it
    // should trace that region's edge. The pointer still counts only inside the region. Without
    // one the region's own edge is painted.
    void SetOutline(const QPainterPath &outline);
    void SetValueText(const QString &text);

    QString ValueText() const { return valueText_; }
    QRegion Region() const { return region_; }
    QPoint TextCentre() const { return textCentre_; }
    QPainterPath Outline() const;
    // Where the caption and value lines of the face shown are drawn, in the button's
    // coordinates, at the current device pixel ratio.
    QRectF TextRect();
    bool IsHover() const { return hover_; }
    bool IsHeld() const { return held_; }
    core::ButtonFace CurrentFace() const;
    QColor FaceColor(core::ButtonFace face) const;
    // The pre-rendered picture of a face, rendering the four anew if they are out of date.
    const QImage &FaceImage(core::ButtonFace face);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

  private:
    void TrackPointer(const QPoint &pos);
    void RenderFaces();
    QImage RenderFace(core::ButtonFace face) const;
    QFont CaptionFont() const;
    // The caption and value lines at the caption font, made smaller where they would not fit
    // the button, as drawn on the device.
    struct TextLayout {
        QFont font;
        int top = 0;  // of the caption; the value line follows
        int captionHeight = 0;
        int valueHeight = 0;
        QRectF ink;  // what the lines cover
    };
    TextLayout LayOutText(const QPaintDevice &device) const;
    // Where the disabled face draws its embossed caption.
    QRect DisabledCaptionBox(const QFont &font, const QPaintDevice &device) const;
    QRegion EffectiveRegion() const;

    QString valueText_;
    std::array<QColor, 4> colors_;
    std::array<QImage, 4> faces_;
    bool needsRender_ = true;
    QString renderedCaption_;
    QRegion region_;  // empty: the whole client rectangle
    QPoint regionOffset_;
    QPainterPath outline_;  // empty: the region's edge
    QPoint textCentre_;
    bool held_ = false;
    bool hover_ = false;
};

}  // namespace velorin::gui
