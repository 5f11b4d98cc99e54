// Reading the leading number of a text and printing fixed-point numbers, independent of the
// process locale (the windowing toolkit may switch LC_NUMERIC to the user's locale).
#pragma once

#include <string>
#include <string_view>

namespace velorin::core {

// The text's leading decimal number: leading blanks skipped, then an optional sign, digits with
// an optional point and an optional exponent. Whatever follows is ignored; a text without a
// number reads as 0. A magnitude beyond double range reads as infinity (or 0 when too small).
double LeadingNumber(std::string_view text);

// The text's leading whole number: leading blanks skipped, optional sign, digits up to the first
// other character; 0 without digits. Values beyond int range are clamped.
int LeadingInteger(std::string_view text);

// printf "%0.<precision>f" with '.' as the decimal point whatever the locale.
std::string FormatFixed(double value, int precision);

}  // namespace velorin::core
