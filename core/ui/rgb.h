// A plain red-green-blue colour.
#pragma once

#include <cstdint>

namespace velorin::core {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend constexpr bool operator==(const Rgb &, const Rgb &) = default;
};

// The see-through colour of every picture of the program.
inline constexpr Rgb kSeeThrough{255, 0, 255};

}  // namespace velorin::core
