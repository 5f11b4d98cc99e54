// The program's pictures by the numbers its dialog templates use.
#pragma once

#include <QImage>
#include <QString>

namespace velorin::gui {

namespace bitmaps {
inline constexpr int kProgramIcon = 128;
inline constexpr int kArrowRight = 131;
inline constexpr int kLoopFilterBlock = 133;
inline constexpr int kArrowLeft = 134;
inline constexpr int kTermination = 136;
inline constexpr int kLoopFilterSchematic = 138;
inline constexpr int kSliderChannel = 139;
inline constexpr int kSliderChannelFilled = 140;
inline constexpr int kSliderThumb = 141;
inline constexpr int kSliderThumbDragged = 142;
inline constexpr int kArrowDown = 144;
}  // namespace bitmaps

// Makes the program's pictures and icons reachable under ":/images"; safe to call often.
void EnsureResources();

// The resource path of a bitmap id; empty for an id the program has no picture for.
QString BitmapResourcePath(int id);

// The picture itself; a null image when there is none.
QImage LoadBitmapResource(int id);

// The picture for a screen of the given device pixel ratio: above 1 the one drawn at twice the
// size (its device pixel ratio 2, so that it paints at the same size and is scaled down rather
// than up), else the picture itself.
QImage LoadBitmapResource(int id, qreal devicePixelRatio);

}  // namespace velorin::gui
