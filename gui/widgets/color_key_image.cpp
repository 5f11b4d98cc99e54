#include "gui/widgets/color_key_image.h"

namespace velorin::gui {

QImage WithColorKey(const QImage &image, QRgb key) {
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb keyColor = key & 0x00FFFFFF;
    for (int y = 0; y < result.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            line[x] = (line[x] & 0x00FFFFFF) == keyColor ? 0u : (line[x] | 0xFF000000u);
        }
    }
    return result;
}

QImage WithSeeThroughMagenta(const QImage &image) {
    return WithColorKey(image, qRgb(255, 0, 255));
}

}  // namespace velorin::gui
