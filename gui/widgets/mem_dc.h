// CMemDC: an off-screen buffer that collects a whole paint and puts it on the target at once,
// so that repainting does not flicker.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <optional>

namespace velorin::gui {

class CMemDC {
  public:
    // With copyBackground the buffer starts transparent, so whatever lies under the target
    // area shows through; otherwise it starts filled with the background colour. A printer
    // target is drawn on directly.
    CMemDC(QPainter &target, const QRect &rect, bool copyBackground, const QColor &background);
    ~CMemDC();
    CMemDC(const CMemDC &) = delete;
    CMemDC &operator=(const CMemDC &) = delete;

    // Draw here, in the target's coordinates.
    QPainter &Painter();
    bool IsOffScreen() const { return buffer_.has_value(); }

  private:
    QPainter &target_;
    QRect rect_;
    std::optional<QPixmap> buffer_;
    std::optional<QPainter> painter_;
};

}  // namespace velorin::gui
