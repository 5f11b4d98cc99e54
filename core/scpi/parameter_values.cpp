#include "core/scpi/parameter_values.h"

#include <cctype>
#include <cmath>
#include <string>

#include "core/base/number_text.h"

namespace velorin::core::scpi {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t Digits(std::string_view text, size_t i) {
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i;
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char &c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const size_t integerEnd = Digits(text, i);
    bool digits = integerEnd > i;
    i = integerEnd;
    if (i < text.size() && text[i] == '.') {
        const size_t fractionEnd = Digits(text, i + 1);
        digits = digits || fractionEnd > i + 1;
        i = fractionEnd;
    }
    if (!digits) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        const size_t exponentEnd = Digits(text, e);
        if (exponentEnd == e) return std::nullopt;
        i = exponentEnd;
    }
    if (i != text.size()) return std::nullopt;
    const double value = LeadingNumber(text);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

bool IsKeyword(std::string_view text, std::string_view keyword) {
    std::string shortForm;
    for (char c : keyword) {
        if (!std::islower(static_cast<unsigned char>(c))) shortForm += c;
    }
    const std::string upper = Upper(text);
    return upper == shortForm || upper == Upper(keyword);
}

std::optional<bool> ParseBoolean(const Parameter &parameter) {
    if (parameter.quoted) return std::nullopt;
    if (IsKeyword(parameter.text, "ON")) return true;
    if (IsKeyword(parameter.text, "OFF")) return false;
    const auto number = ParseDecimal(parameter.text);
    if (!number) return std::nullopt;
    const double rounded = std::round(*number);
    if (rounded == 0.0) return false;
    if (rounded == 1.0) return true;
    return std::nullopt;
}

std::optional<double> ParseNumber(const Parameter &parameter, const NumericRange &range,
                                  Error &error) {
    if (parameter.quoted) {
        error = Error{kIllegalParameterValue, "a number is wanted, not a string"};
        return std::nullopt;
    }
    if (IsKeyword(parameter.text, "MINimum")) return range.min;
    if (IsKeyword(parameter.text, "MAXimum")) return range.max;
    if (IsKeyword(parameter.text, "DEFault")) {
        if (range.defaultValue) return range.defaultValue;
        error = Error{kIllegalParameterValue, "no default value"};
        return std::nullopt;
    }
    const auto number = ParseDecimal(parameter.text);
    if (!number) {
        error = Error{kIllegalParameterValue, "not a number"};
        return std::nullopt;
    }
    if (*number < range.min || *number > range.max) {
        error = Error{kDataOutOfRange, {}};
        return std::nullopt;
    }
    if (range.wholeNumbers && *number != std::floor(*number)) {
        error = Error{kIllegalParameterValue, "a whole number is wanted"};
        return std::nullopt;
    }
    return number;
}

}  // namespace velorin::core::scpi
