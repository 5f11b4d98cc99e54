#include "core/base/number_text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <limits>

namespace velorin::core {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t SkipBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    return i;
}

// Steps over an optional '+' or '-' at i; true for '-'.
bool SkipSign(std::string_view text, size_t &i) {
    if (i >= text.size() || (text[i] != '+' && text[i] != '-')) return false;
    return text[i++] == '-';
}

size_t SkipDigits(std::string_view text, size_t i) {
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    size_t i = SkipBlanks(text);
    const bool negative = SkipSign(text, i);
    const size_t start = i;
    size_t end = SkipDigits(text, i);
    bool anyDigit = end > start;
    if (end < text.size() && text[end] == '.') {
        const size_t fractionEnd = SkipDigits(text, end + 1);
        anyDigit = anyDigit || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!anyDigit) return 0.0;
    bool negativeExponent = false;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        size_t e = end + 1;
        const bool negativeSign = SkipSign(text, e);
        const size_t exponentEnd = SkipDigits(text, e);
        // "1e" or "1e-" stop before the 'e' and have no exponent at all.
        if (exponentEnd > e) {
            end = exponentEnd;
            negativeExponent = negativeSign;
        }
    }
    double value = 0.0;
    const auto result =
        std::from_chars(text.data() + start, text.data() + end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (result.ec != std::errc()) {
        return 0.0;
    }
    return negative ? -value : value;
}

int LeadingInteger(std::string_view text) {
    size_t i = SkipBlanks(text);
    const bool negative = SkipSign(text, i);
    long long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string FormatFixed(double value, int precision) {
    if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    // 309 integer digits at most, and the precision is capped to keep the buffer bounded.
    if (precision < 0) precision = 0;
    if (precision > 40) precision = 40;
    char text[400];
    const auto result =
        std::to_chars(text, text + sizeof(text), value, std::chars_format::fixed, precision);
    if (result.ec != std::errc()) return {};
    return std::string(text, result.ptr);
}

}  // namespace velorin::core
