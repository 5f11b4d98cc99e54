// The rules behind the EEPROM lock confirmation and the unlock password.
#pragma once

#include <array>
#include <string_view>

namespace velorin::core {

// The codes that unlock a chip's EEPROM, in the order they are tried.
inline constexpr std::array<std::string_view, 4> AccessCodes = {
    "48201937561029384756",
    "73920184650392817465",
    "19384756201938475610",
    "56473829105647382910",
};

// True when the typed word is "yes" in any mix of upper- and lower-case letters.
bool IsLockConfirmation(std::string_view typed);

// True when the typed text equals one of the access codes exactly. Every code is compared in
// full whatever the input, so the time taken says nothing about how close a guess was.
bool MatchesAccessCode(std::string_view typed);

// Compares two texts byte for byte without stopping at the first difference.
bool EqualsWithoutEarlyExit(std::string_view a, std::string_view b);

}  // namespace velorin::core
