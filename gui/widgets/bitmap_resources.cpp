#include "gui/widgets/bitmap_resources.h"

#include <QtGlobal>

// The pictures live in a static library, so their registration must be pulled in by name.
static void RegisterProgramResources() {
    Q_INIT_RESOURCE(velorin);
}

namespace velorin::gui {

void EnsureResources() {
    static const bool registered = (RegisterProgramResources(), true);
    (void)registered;
}

QString BitmapResourcePath(int id) {
    switch (id) {
        case bitmaps::kProgramIcon:
            return QStringLiteral(":/images/program_icon.png");
        case bitmaps::kArrowRight:
            return QStringLiteral(":/images/arrow_right.png");
        case bitmaps::kLoopFilterBlock:
            return QStringLiteral(":/images/loop_filter_block.png");
        case bitmaps::kArrowLeft:
            return QStringLiteral(":/images/arrow_left.png");
        case bitmaps::kTermination:
            return QStringLiteral(":/images/termination.png");
        case bitmaps::kLoopFilterSchematic:
            return QStringLiteral(":/images/loop_filter_schematic.png");
        case bitmaps::kSliderChannel:
            return QStringLiteral(":/images/slider_channel.png");
        case bitmaps::kSliderChannelFilled:
            return QStringLiteral(":/images/slider_channel_filled.png");
        case bitmaps::kSliderThumb:
            return QStringLiteral(":/images/slider_thumb.png");
        case bitmaps::kSliderThumbDragged:
            return QStringLiteral(":/images/slider_thumb_dragged.png");
        case bitmaps::kArrowDown:
            return QStringLiteral(":/images/arrow_down.png");
        default:
            return QString();
    }
}

QImage LoadBitmapResource(int id) {
    EnsureResources();
    const QString path = BitmapResourcePath(id);
    return path.isEmpty() ? QImage() : QImage(path);
}

QImage LoadBitmapResource(int id, qreal devicePixelRatio) {
    if (devicePixelRatio <= 1.0) return LoadBitmapResource(id);
    EnsureResources();
    QString path = BitmapResourcePath(id);
    if (path.isEmpty()) return QImage();
    path.insert(path.lastIndexOf('.'), "@2x");
    QImage image(path);
    if (image.isNull()) return LoadBitmapResource(id);
    image.setDevicePixelRatio(2.0);
    return image;
}

}  // namespace velorin::gui
