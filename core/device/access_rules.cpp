#include "core/device/access_rules.h"

#include <cstddef>

namespace velorin::core {

bool IsLockConfirmation(std::string_view typed) {
    constexpr std::string_view kWord = "yes";
    if (typed.size() != kWord.size()) return false;
    for (std::size_t i = 0; i < kWord.size(); ++i) {
        char c = typed[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kWord[i]) return false;
    }
    return true;
}

bool EqualsWithoutEarlyExit(std::string_view a, std::string_view b) {
    // Walk the longer text completely; a length difference counts as a difference too.
    const std::size_t length = a.size() > b.size() ? a.size() : b.size();
    unsigned difference = a.size() == b.size() ? 0u : 1u;
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        const unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        difference |= static_cast<unsigned>(x ^ y);
    }
    return difference == 0;
}

bool MatchesAccessCode(std::string_view typed) {
    bool matched = false;
    for (std::string_view code : AccessCodes) {
        // No break: the remaining codes are compared as well.
        matched = EqualsWithoutEarlyExit(typed, code) || matched;
    }
    return matched;
}

}  // namespace velorin::core
