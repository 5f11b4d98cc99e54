// Bytes as hexadecimal text, the way traces and board commands show them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace velorin::core {

// "0x0A".
std::string HexByte(uint8_t value);

// "01 23 AB" with " " as the separator: upper-case digit pairs.
std::string HexBytes(std::span<const uint8_t> bytes, std::string_view separator);

}  // namespace velorin::core
