// What a command makes of its parameters: decimal numbers in the NR1, NR2 and NR3 forms with
// the unit suffixes of their quantity, the MIN/MAX/DEF keywords of a numeric range, booleans,
// and character data with short forms.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/unit_value.h"
#include "core/scpi/program_message.h"
#include "core/scpi/scpi_error.h"

namespace velorin::core::scpi {

// Whether the text names the keyword written as "MAXimum": its short or long form, any case.
bool IsKeyword(std::string_view text, std::string_view keyword);

// ON, OFF or a number that rounds to 1 or 0.
std::optional<bool> ParseBoolean(const Parameter &parameter);

struct NumericRange {
    double min = 0;
    double max = 0;
    std::optional<double> defaultValue;  // what DEF means; without one DEF is refused
    bool wholeNumbers = false;           // a fraction is refused
    Quantity unit = Quantity::Plain;     // the suffixes taken; values are in the base unit
};

// A number within the range, or MIN, MAX or DEF. A suffix of another quantity: -131; text
// that is no number, a string, DEF without a default or a fraction where whole numbers are
// wanted: -224; a number outside: -222.
std::optional<double> ParseNumber(const Parameter &parameter, const NumericRange &range,
                                  Error &error);

// MIN, MAX or DEF as a query's parameter ("ODIV? MAX"): the limit, or nothing with `error`
// set when the parameter is another word (-224) or DEF has no value.
std::optional<double> ParseLimitQuery(const Parameter &parameter, const NumericRange &range,
                                      Error &error);

// The position of the keyword the text names in `keywords` (written as "MAXimum"), or nothing.
template <size_t N>
std::optional<int> ParseChoice(const Parameter &parameter, const std::string_view (&keywords)[N]) {
    if (parameter.quoted) return std::nullopt;
    for (size_t i = 0; i < N; ++i) {
        if (IsKeyword(parameter.text, keywords[i])) return static_cast<int>(i);
    }
    return std::nullopt;
}

// A value as SCPI's NR3 answer: "3.0000000E+07".
std::string FormatNr3(double value);

// A string answer with its quotes doubled: "say ""YES""".
std::string Quoted(std::string_view text);

}  // namespace velorin::core::scpi
