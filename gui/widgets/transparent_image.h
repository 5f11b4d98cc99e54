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
    // A picture of the program's resources, drawn from the one made for the screen's pixel
    // ratio (LoadBitmapResource), so that it is never scaled up.
    void SetBitmapResource(int id);
    const QImage &Bitmap() const { return bitmap_; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    // The picture to paint at the widget's pixel ratio, with its magenta made transparent.
    const QImage &SeeThrough();

    QImage bitmap_;
    int resourceId_ = 0;  // 0: bitmap_ was given as it is
    QImage seeThrough_;   // made once per pixel ratio
};

}  // namespace velorin::gui
