// The see-through key of a bitmap loaded with transparency.
#pragma once

#include <cstdint>

#include "core/ui/rgb.h"

namespace velorin::core {

// A colour value in the 0x00BBGGRR layout; this value means "take the key from a pixel".
inline constexpr std::uint32_t kKeyFromPixel = 0xFF000000u;

constexpr Rgb RgbFromColorRef(std::uint32_t value) {
    return Rgb{static_cast<std::uint8_t>(value & 0xFF),
               static_cast<std::uint8_t>((value >> 8) & 0xFF),
               static_cast<std::uint8_t>((value >> 16) & 0xFF)};
}

// The key: the given colour, or the colour of the chosen pixel when asked to take it from there.
constexpr Rgb ResolveKeyColor(std::uint32_t given, Rgb pixelAtKeyPoint) {
    return given == kKeyFromPixel ? pixelAtKeyPoint : RgbFromColorRef(given);
}

}  // namespace velorin::core
