// Locale-independent ASCII helpers for command words and keywords.
#pragma once

#include <string>
#include <string_view>

namespace velorin::core {

// The text with a-z turned into A-Z; every other byte as it is.
std::string Upper(std::string_view text);

// Whether the two texts are equal but for the case of ASCII letters.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace velorin::core
