// Pictures with a see-through key colour.
#pragma once

#include <QImage>

namespace velorin::gui {

// A copy of the image in which every pixel of the key colour is fully transparent and every
// other pixel keeps its colour, opaque.
QImage WithColorKey(const QImage &image, QRgb key);

// The same with the program's see-through magenta (255, 0, 255).
QImage WithSeeThroughMagenta(const QImage &image);

}  // namespace velorin::gui
