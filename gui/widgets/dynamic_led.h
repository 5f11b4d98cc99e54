// CDynamicLED: a round or square status lamp, lit or unlit, in one of four colour schemes.
#pragma once

#include <QWidget>

class QPainter;

namespace velorin::gui {

class CDynamicLED : public QWidget {
    Q_OBJECT
  public:
    explicit CDynamicLED(QWidget *parent = nullptr);

    // Colour id 2001-2004 and shape id 3001 (round) or 3002 (square). Blinking is never asked
    // for, so the last argument is accepted and not acted on.
    void SetLed(int colorId, int shapeId, int blink = 0);
    void TurnOn();
    void TurnOff();

    bool IsOn() const { return lit_; }
    int ColorId() const { return colorId_; }
    int ShapeId() const { return shapeId_; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    void PaintRound(QPainter &painter, const QColor &color) const;
    void PaintSquare(QPainter &painter, const QColor &color) const;

    int colorId_;
    int shapeId_;
    bool lit_ = false;
};

}  // namespace velorin::gui
