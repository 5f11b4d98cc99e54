// Upper-case hexadecimal texts of bytes and words, and reading hexadecimal digits back: the
// form in which register images, records and board values are shown and stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace velorin::core {

// The value of one hexadecimal digit of either case, or -1 for any other character.
int HexDigitValue(char c);

// The value as upper-case hexadecimal, zero-padded to at least `digits` digits ("%0*X").
std::string FormatHex(uint32_t value, int digits);

// Two upper-case digits per byte, in order, with the separator between bytes.
std::string FormatHexBytes(const uint8_t *bytes, size_t count, std::string_view separator = "");

// One byte as "0x0A", the way board values are shown.
std::string HexByte(uint8_t value);

// FormatHexBytes over a span, and over bytes held in a text.
std::string HexBytes(std::span<const uint8_t> bytes, std::string_view separator = "");
std::string HexBytes(std::string_view bytes, std::string_view separator = "");

// Reads exactly count bytes from 2 * count hexadecimal digits, high digit first. False, with
// the bytes untouched, when the text has another length or holds a character that is no digit.
bool ParseHexBytes(std::string_view digits, uint8_t *bytes, size_t count);

}  // namespace velorin::core
