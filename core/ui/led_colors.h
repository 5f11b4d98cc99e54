// Colour schemes and shapes of the status lamps.
#pragma once

#include "core/ui/rgb.h"

namespace velorin::core {

inline constexpr int LedColorRed = 2001;
inline constexpr int LedColorGreen = 2002;
inline constexpr int LedColorBlue = 2003;
inline constexpr int LedColorYellow = 2004;

inline constexpr int LedShapeRound = 3001;
inline constexpr int LedShapeSquare = 3002;

struct LedColors {
    Rgb lit;
    Rgb unlit;
};

// The lit and unlit colours of a colour id; an unknown id gets the red scheme.
LedColors LedColorsFor(int colorId);

// Rim colours shared by both shapes: the dark ring or edge and the light line or edge.
inline constexpr Rgb kLedDarkRim{128, 128, 128};
inline constexpr Rgb kLedLightRim{192, 192, 192};

}  // namespace velorin::core
