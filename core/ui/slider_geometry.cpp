#include "core/ui/slider_geometry.h"

#include <algorithm>

namespace velorin::core {

namespace {

int Travel(const SliderGeometry &g) {
    return g.channelWidth - g.marginRight - g.thumbWidth - g.marginLeft;
}

}  // namespace

int ClampSliderPosition(int position, int minimum, int maximum) {
    return std::max(std::min(position, maximum), minimum);
}

int PositionToPixel(const SliderGeometry &g, int position) {
    const int range = g.maximum - g.minimum;
    // An empty range has nowhere to go; the thumb stays at the start instead of dividing by 0.
    const int along =
        range == 0
            ? 0
            : static_cast<int>(static_cast<double>(position - g.minimum) / range * Travel(g));
    return g.marginLeft + along + g.thumbWidth / 2;
}

int PixelToPosition(const SliderGeometry &g, int x) {
    const int travel = Travel(g);
    if (travel == 0) return g.minimum;
    const int thumbCentre = g.thumbWidth / 2;  // a whole pixel
    return static_cast<int>(g.minimum + static_cast<double>(x - thumbCentre - g.marginLeft) /
                                            travel * (g.maximum - g.minimum));
}

int ClampThumbCentre(const SliderGeometry &g, int x) {
    const int low = g.marginLeft + g.thumbWidth / 2;
    const int high = g.channelWidth - g.marginRight - g.thumbWidth / 2;
    // A channel narrower than its thumb pins the thumb to the start.
    return std::max(std::min(x, high), low);
}

int DragOffset(int pressX, int thumbCentre, int thumbWidth) {
    const int distance = pressX - thumbCentre;
    const int half = thumbWidth / 2;
    return (distance > half || distance < -half) ? 0 : distance;
}

int SliderKeyTarget(SliderKey key, int position, int pageSize, int minimum, int maximum) {
    switch (key) {
        case SliderKey::PageUp:
            return position - pageSize;
        case SliderKey::PageDown:
            return position + pageSize;
        case SliderKey::End:
            return maximum;
        case SliderKey::Home:
            return minimum;
        case SliderKey::Left:
        case SliderKey::Up:
            return position - 1;
        case SliderKey::Right:
        case SliderKey::Down:
            return position + 1;
    }
    return position;
}

}  // namespace velorin::core
