// The syntax of a SCPI program message: units separated by ';', each a header (common "*XXX" or
// compound "[:]NODE[:NODE...]", '?' for a query) and, after white space, parameters separated by
// ','. Parameters stay text here; what they mean is the command's business.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/scpi/scpi_error.h"

namespace velorin::core::scpi {

struct Parameter {
    std::string text;     // a string's content with its doubled quotes undone
    bool quoted = false;  // "..." or '...'
};

struct ProgramUnit {
    bool common = false;    // "*IDN": mnemonics holds the one header as typed, star included
    bool absolute = false;  // a compound header that starts with ':'
    std::vector<std::string> mnemonics;
    bool query = false;
    std::vector<Parameter> parameters;
};

// The units of one line (its end of line already removed), split at the semicolons outside
// quotes. Units that hold nothing but white space are dropped.
std::vector<std::string_view> SplitUnits(std::string_view line);

// False with `error` set (-102) when the unit is not well formed.
bool ParseUnit(std::string_view text, ProgramUnit &unit, Error &error);

}  // namespace velorin::core::scpi
