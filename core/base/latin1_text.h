// Board records hold single-byte text; the program's strings are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace velorin::core {

// Each byte of `latin1` as the ISO 8859-1 character of that code, encoded in UTF-8: a blank
// EEPROM's 0xFF bytes read as "ÿ", not as invalid sequences.
std::string Latin1ToUtf8(std::string_view latin1);

}  // namespace velorin::core
