#include "core/ui/led_colors.h"

namespace velorin::core {

LedColors LedColorsFor(int colorId) {
    switch (colorId) {
        case LedColorGreen:
            return {{0, 250, 0}, {0, 128, 0}};
        case LedColorBlue:
            return {{0, 0, 250}, {0, 0, 150}};
        case LedColorYellow:
            return {{200, 200, 0}, {150, 150, 0}};
        case LedColorRed:
        default:
            // Red when lit, green when unlit: the lamps warn in red and rest in green.
            return {{250, 0, 0}, {0, 250, 0}};
    }
}

}  // namespace velorin::core
