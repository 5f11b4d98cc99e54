// Where a horizontal bitmap slider's thumb stands for a position, and the reverse.
#pragma once

namespace velorin::core {

struct SliderGeometry {
    int minimum = 0;
    int maximum = 100;
    int channelWidth = 0;
    int thumbWidth = 0;
    int marginLeft = 0;
    int marginRight = 0;
};

// min(position, maximum) first, then max(that, minimum).
int ClampSliderPosition(int position, int minimum, int maximum);

// The x of the thumb centre for a position.
int PositionToPixel(const SliderGeometry &geometry, int position);

// The position for a thumb centre at x.
int PixelToPosition(const SliderGeometry &geometry, int x);

// The thumb centre for a pointer at x while dragging, kept inside the channel's travel.
int ClampThumbCentre(const SliderGeometry &geometry, int x);

// Where on the thumb it was grabbed: 0 when the press lies more than half a thumb width from
// the thumb centre (the thumb jumps under the pointer), else the distance from the centre.
int DragOffset(int pressX, int thumbCentre, int thumbWidth);

enum class SliderKey { PageUp, PageDown, End, Home, Left, Up, Right, Down };

// The position a key asks for, before clamping: Down and Right increase, Up and Left decrease.
int SliderKeyTarget(SliderKey key, int position, int pageSize, int minimum, int maximum);

}  // namespace velorin::core
