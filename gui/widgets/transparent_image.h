// CTransparentImage: a picture drawn with magenta (255, 0, 255) as see-through colour.
#pragma once

#include <QImage>
#include <QLabel>

namespace velorin::gui {

class CTransparentImage : public QLabel {
    Q_OBJECT
  public:
    explicit CTransparentImage(QWidget *parent = nullptr);

    // The picture is drawn at the top-left corner, not stretched, cut at the widget's size.
    void SetBitmap(const QImage &bitmap);
    const QImage &Bitmap() const { return bitmap_; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    QImage bitmap_;
    QImage seeThrough_;  // bitmap_ with its magenta pixels made transparent, made once
};

}  // namespace velorin::gui
