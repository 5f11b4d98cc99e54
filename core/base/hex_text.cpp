#include "core/base/hex_text.h"

namespace velorin::core {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

}  // namespace

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string FormatHex(uint32_t value, int digits) {
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xFu]);
        value >>= 4;
    } while (value != 0);
    if (static_cast<int>(text.size()) < digits) {
        text.insert(0, static_cast<size_t>(digits) - text.size(), '0');
    }
    return text;
}

std::string FormatHexBytes(const uint8_t *bytes, size_t count, std::string_view separator) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) text += separator;
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0xFu];
    }
    return text;
}

bool ParseHexBytes(std::string_view digits, uint8_t *bytes, size_t count) {
    if (digits.size() != 2 * count) return false;
    for (char c : digits) {
        if (HexDigitValue(c) < 0) return false;
    }
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(HexDigitValue(digits[2 * i]) << 4 |
                                        HexDigitValue(digits[2 * i + 1]));
    }
    return true;
}

std::string HexByte(uint8_t value) {
    return "0x" + FormatHex(value, 2);
}

std::string HexBytes(std::span<const uint8_t> bytes, std::string_view separator) {
    return FormatHexBytes(bytes.data(), bytes.size(), separator);
}

std::string HexBytes(std::string_view bytes, std::string_view separator) {
    return FormatHexBytes(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(), separator);
}

}  // namespace velorin::core
