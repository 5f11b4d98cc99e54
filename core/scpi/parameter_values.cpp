#include "core/scpi/parameter_values.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "core/base/ascii_text.h"

namespace velorin::core::scpi {

bool IsKeyword(std::string_view text, std::string_view keyword) {
    std::string shortForm;
    for (char c : keyword) {
        if (!(c >= 'a' && c <= 'z')) shortForm += c;
    }
    return EqualIgnoringCase(text, shortForm) || EqualIgnoringCase(text, keyword);
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

namespace {

bool IsLimitKeyword(std::string_view text) {
    return IsKeyword(text, "MINimum") || IsKeyword(text, "MAXimum") || IsKeyword(text, "DEFault");
}

}  // namespace

std::optional<double> ParseLimitQuery(const Parameter &parameter, const NumericRange &range,
                                      Error &error) {
    if (!parameter.quoted) {
        if (IsKeyword(parameter.text, "MINimum")) return range.min;
        if (IsKeyword(parameter.text, "MAXimum")) return range.max;
        if (IsKeyword(parameter.text, "DEFault")) {
            if (range.defaultValue) return range.defaultValue;
            error = Error{kIllegalParameterValue, "no default value"};
            return std::nullopt;
        }
    }
    error = Error{kIllegalParameterValue, "MIN, MAX or DEF"};
    return std::nullopt;
}

std::optional<double> ParseNumber(const Parameter &parameter, const NumericRange &range,
                                  Error &error) {
    if (parameter.quoted) {
        error = Error{kIllegalParameterValue, "a number is wanted, not a string"};
        return std::nullopt;
    }
    const UnitReading reading = ReadQuantity(parameter.text, range.unit);
    if (reading.status == UnitReading::Status::NotANumber) {
        if (IsLimitKeyword(parameter.text)) return ParseLimitQuery(parameter, range, error);
        error = Error{kIllegalParameterValue, "not a number"};
        return std::nullopt;
    }
    if (reading.status == UnitReading::Status::BadSuffix) {
        error = Error{kInvalidSuffix, "the value takes " + UnitNames(range.unit)};
        return std::nullopt;
    }
    const double number = reading.value;
    if (number < range.min || number > range.max) {
        error = Error{kDataOutOfRange, {}};
        return std::nullopt;
    }
    if (range.wholeNumbers && number != std::floor(number)) {
        error = Error{kIllegalParameterValue, "a whole number is wanted"};
        return std::nullopt;
    }
    return number;
}

std::string FormatNr3(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.7E", value);
    std::string answer(text);
    // The C library writes the locale's decimal point; SCPI's is always '.'.
    for (char &c : answer) {
        if (c == ',') c = '.';
    }
    return answer;
}

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

}  // namespace velorin::core::scpi
