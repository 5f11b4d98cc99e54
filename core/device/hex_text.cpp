#include "core/device/hex_text.h"

#include <cstdio>

namespace velorin::core {

std::string HexByte(uint8_t value) {
    char text[8];
    std::snprintf(text, sizeof(text), "0x%02X", value);
    return text;
}

std::string HexBytes(std::span<const uint8_t> bytes, std::string_view separator) {
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char digits[4];
        std::snprintf(digits, sizeof(digits), "%02X", bytes[i]);
        if (i > 0) text += separator;
        text += digits;
    }
    return text;
}

}  // namespace velorin::core
