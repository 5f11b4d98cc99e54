#include "core/ui/widened_placement.h"

#include <algorithm>

namespace velorin::core {

WidenedPlacement PlaceWidenedWindow(HorizontalSpan frame, int extraWidth, int minExtraWidth,
                                    HorizontalSpan available) {
    WidenedPlacement placement;
    const int room = available.width - frame.width;
    placement.extraWidth =
        std::max(std::min(extraWidth, room), std::min(minExtraWidth, extraWidth));
    const int right = available.left + available.width;
    const int width = frame.width + placement.extraWidth;
    placement.left = std::max(std::min(frame.left, right - width), available.left);
    return placement;
}

}  // namespace velorin::core
