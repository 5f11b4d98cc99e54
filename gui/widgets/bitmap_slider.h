// CBitmapSlider: a horizontal slider drawn from a channel and a thumb picture. Moves are
// reported to whoever listens by posted (queued) notifications carrying the control id.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>

#include "core/ui/slider_geometry.h"

namespace velorin::gui {

inline constexpr int WM_SLIDER_MOVING = 0x28D1;
inline constexpr int WM_SLIDER_MOVED = 0x28D2;

class CBitmapSlider : public QWidget {
    Q_OBJECT
  public:
    explicit CBitmapSlider(QWidget *parent = nullptr);

    void SetRange(int minimum, int maximum, bool redraw = false);
    void SetPos(int position);
    int GetPos() const { return position_; }
    int GetRangeMin() const { return geometry_.minimum; }
    int GetRangeMax() const { return geometry_.maximum; }
    void SetPageSize(int size) { pageSize_ = size; }

    // Bitmap ids of the program's resources. A normal id of 0 drops the pictures. keyColor is
    // 0x00BBGGRR, or 0xFF000000 to take the key from the pixel at (keyX, keyY).
    bool SetChannelBitmaps(int normalId, int filledId, bool transparent = false,
                           std::uint32_t keyColor = 0xFF000000u, int keyX = 0, int keyY = 0);
    bool SetThumbBitmaps(int normalId, int draggedId, bool transparent = false,
                         std::uint32_t keyColor = 0xFF000000u, int keyX = 0, int keyY = 0);
    void SetMargins(int left, int top, int right, int bottom);
    void SetFocusRectVisible(bool visible, bool redraw = false);

    bool IsDragging() const { return dragging_; }
    // The x of the thumb centre for the current position.
    int ThumbCentre() const;
    const core::SliderGeometry &Geometry() const { return geometry_; }

  signals:
    void sliderMoving(int controlId, int position);
    void sliderMoved(int controlId, int position);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

  private:
    struct Picture {
        QImage image;  // with the key colour made transparent when loaded that way
        bool loaded = false;
        // How it was loaded, to load it again for a screen of another pixel ratio.
        int id = 0;
        bool transparent = false;
        std::uint32_t keyColor = 0;
        int keyX = 0, keyY = 0;
    };
    // The picture drawn for the pixel ratio (LoadBitmapResource); its size in the widget's
    // units is its device-independent size.
    static bool LoadPicture(int id, bool transparent, std::uint32_t keyColor, int keyX, int keyY,
                            qreal ratio, Picture &picture);
    // A normal picture and its optional second (filled or dragged) one; when the second fails,
    // the first is released too.
    static bool LoadPictures(int normalId, int secondId, bool transparent, std::uint32_t keyColor,
                             int keyX, int keyY, qreal ratio, Picture &normal, Picture &second);
    // Loads the pictures again when the widget's pixel ratio calls for others.
    void FollowPixelRatio();
    void DragTo(int pointerX);
    void Post(int message, int position);

    // Range, channel and thumb widths, left and right margins.
    core::SliderGeometry geometry_;
    int position_ = 0;
    int pageSize_ = 20;
    int channelHeight_ = 0;
    int thumbHeight_ = 0;
    int marginTop_ = 0;
    int marginBottom_ = 0;
    Picture channel_;
    Picture channelFilled_;
    Picture thumb_;
    Picture thumbDragged_;
    bool channelTransparent_ = false;
    bool thumbTransparent_ = false;
    bool dragging_ = false;
    int dragOffset_ = 0;
    bool focusRectWanted_ = true;
};

}  // namespace velorin::gui
