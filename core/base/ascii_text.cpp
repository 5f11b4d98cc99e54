#include "core/base/ascii_text.h"

namespace velorin::core {

namespace {

char UpperChar(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char &c : upper) c = UpperChar(c);
    return upper;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperChar(a[i]) != UpperChar(b[i])) return false;
    }
    return true;
}

}  // namespace velorin::core
